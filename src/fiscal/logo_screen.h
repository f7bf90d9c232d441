#pragma once

#include <QWidget>
#include <functional>

#include "fiscal/logo.h"
#include "ui/screen.h"

class QLabel;
class QRadioButton;

namespace qov::fiscal {

// Opens a screen beside another one (the main window's child windows).
using OpenBeside = std::function<void(QWidget* screen, QWidget* beside)>;

// "Izbor loga": the logo slot and "Otvori", which opens the picture screen beside it.
class GraphicLogoScreen : public QWidget, public Screen {
public:
    GraphicLogoScreen(Station& station, OpenBeside openBeside, QWidget* parent = nullptr);

    std::string formName() const override { return GraphicLogo::kFormName; }

    GraphicLogo& logic() { return logic_; }
    QRadioButton* option(int slot) const { return slot == 1 ? option1_ : option2_; }

    void otvori();

private:
    Station& station_;
    GraphicLogo logic_;
    OpenBeside openBeside_;
    QRadioButton* option1_;
    QRadioButton* option2_;
};

// "Logo": the chosen bitmap, "Posalji" and "Izlaz".
class LogoPictureScreen : public QWidget, public Screen {
public:
    explicit LogoPictureScreen(Station& station, QWidget* parent = nullptr);

    std::string formName() const override { return LogoDocument::kFormName; }

    LogoDocument& logic() { return logic_; }
    // True when a picture is shown.
    bool hasPicture() const;

    // The screen opens: the file dialog, then the picture (a file that is no picture
    // shows nothing).
    void start();
    // A toolbar key: "Salva" ("Posalji") or "Annulla" ("Izlaz").
    void pressToolbar(const std::string& key);

private:
    LogoDocument logic_;
    QLabel* picture_;
};

// The screen of "Slanje Grafickog Loga".
QWidget* CreateGraphicLogoScreen(Station& station, OpenBeside openBeside);
// The picture screen, its file dialog already answered.
QWidget* CreateLogoPictureScreen(Station& station);

}  // namespace qov::fiscal
