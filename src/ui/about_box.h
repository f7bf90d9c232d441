#pragma once

#include <QDialog>

namespace qov {

class MainLogic;

// "O programu...": the program title, its version and the system-information button.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(MainLogic& logic, QWidget* parent = nullptr);

    // Moves a window to the middle of its screen.
    static void CenterForm(QWidget* form);
};

}  // namespace qov
