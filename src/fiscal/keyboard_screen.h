#pragma once

#include <QWidget>
#include <map>
#include <string>

#include "fiscal/keyboard.h"
#include "ui/screen.h"

class QLabel;
class QPushButton;
class QTimer;

namespace qov::fiscal {

// "Emulacija Tastature": the register's keyboard drawn as a grid of keys under the
// register's displays (two operator lines, one customer line).
class KeyboardScreen : public QWidget, public Screen {
    Q_OBJECT
public:
    explicit KeyboardScreen(Station& station, QWidget* parent = nullptr);

    std::string formName() const override { return Keyboard::kFormName; }

    Keyboard& logic() { return logic_; }
    QPushButton* keyButton(const std::string& name) const;
    QTimer* timer() const { return timer_; }
    QString shownLine(int line) const;  // 0, 1: operator lines; 2: customer line

    // A key button was pressed.
    void pressKey(const std::string& name);
    // One tick of Timer1.
    void tick();
    // "Izlaz" or Esc.
    void cancel();

private:
    void showDisplay();
    void closeWhenAsked();

    Keyboard logic_;
    QTimer* timer_;
    QLabel* user1_;
    QLabel* user2_;
    QLabel* customer_;
    std::map<std::string, QPushButton*> keys_;
};

// The screen of the navigation entry "Emulacija Tastature".
QWidget* CreateKeyboardScreen(Station& station);

}  // namespace qov::fiscal
