#pragma once

class QWidget;

namespace qov {
struct Station;
}

namespace qov::settings {

// The register-settings screens for the main window. Each widget derives from QWidget and
// qov::Screen and writes its name into CurrentForm as it opens.
QWidget* CreateSystemScreen(Station& station, QWidget* parent = nullptr);     // "Sistem"
QWidget* CreateHeaderScreen(Station& station, QWidget* parent = nullptr);     // "Zaglavlje"
QWidget* CreateAdvertScreen(Station& station, QWidget* parent = nullptr);     // "Reklamna poruka"
QWidget* CreateFunctionsScreen(Station& station, QWidget* parent = nullptr);  // "Funkcije"

}  // namespace qov::settings
