#pragma once

class QWidget;

namespace qov {
struct Station;
}

namespace qov::tables {

// The screens of the transfer runs and of the small tables' editors, for the main window. Each
// widget derives from QWidget and qov::Screen; it writes its name into CurrentForm as it opens.
QWidget* CreateTransmitScreen(Station& station, QWidget* parent = nullptr);     // "Slanje"
QWidget* CreateReceiveScreen(Station& station, QWidget* parent = nullptr);      // "Prijem"
QWidget* CreateDepartmentsScreen(Station& station, QWidget* parent = nullptr);  // "Odeljenja"
QWidget* CreateOperatorsScreen(Station& station, QWidget* parent = nullptr);    // "Kasiri"
QWidget* CreateCurrenciesScreen(Station& station, QWidget* parent = nullptr);   // "Valute"
QWidget* CreateUnitsScreen(Station& station, QWidget* parent = nullptr);        // "Jedinice mere"
QWidget* CreateArticleTypesScreen(Station& station,
                                  QWidget* parent = nullptr);  // "Tipovi artikala"

}  // namespace qov::tables
