#pragma once

class QWidget;

namespace qov {
struct Station;
}

namespace qov::sales {

// "Prodaja po odeljenjima", "Prodaja kasira" and "Prodaja po stopama": the sales that the last
// receive brought into the register tables.
QWidget* CreateDepartmentSalesScreen(Station& station, QWidget* parent = nullptr);
QWidget* CreateOperatorSalesScreen(Station& station, QWidget* parent = nullptr);
QWidget* CreateVatSalesScreen(Station& station, QWidget* parent = nullptr);

}  // namespace qov::sales
