#pragma once

class QWidget;

namespace qov {
struct Station;
}

namespace qov::fiscal {

// "Fiskalni izvestaji": the fiscal reports, the receipt, the register's state and identity.
QWidget* CreateFiscalScreen(Station& station, QWidget* parent = nullptr);

}  // namespace qov::fiscal
