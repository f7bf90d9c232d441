#pragma once

class QWidget;

namespace qov {
struct Station;
}

namespace qov::tables {

// The screens of the transfer runs and of the departments, for the main window. Each widget
// derives from QWidget and qov::Screen; it writes its name into CurrentForm as it opens.
QWidget* CreateTransmitScreen(Station& station, QWidget* parent = nullptr);     // "Slanje"
QWidget* CreateReceiveScreen(Station& station, QWidget* parent = nullptr);      // "Prijem"
QWidget* CreateDepartmentsScreen(Station& station, QWidget* parent = nullptr);  // "Odeljenja"

}  // namespace qov::tables
