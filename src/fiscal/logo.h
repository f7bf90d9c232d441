#pragma once

#include <string>

#include "link/station.h"

namespace qov::fiscal {

// frmGraphicLogo, the logo screen without the window: the slot choice and its frame.
class GraphicLogo {
public:
    static constexpr const char* kFormName = "frmGraphicLogo";
    static constexpr const char* kCaption = "Izbor loga";
    static constexpr const char* kNoSlot = "Izaberite logo .";
    static constexpr const char* kLinkBad = "Komunikacija nije dobra !";

    explicit GraphicLogo(Station& station);

    // 0 none, 1 "Graficki logo 1", 2 "Graficki logo 2".
    int slot = 0;

    // "Otvori": announces the slot ("N0" logo 1, "N1" logo 2) with send_frame; true when the
    // register took it and the picture screen is to be opened.
    bool otvori();

private:
    Station& st_;
};

// frmDocument, the picture screen without the window: the bitmap's choice and its sending.
class LogoDocument {
public:
    static constexpr const char* kFormName = "ne";
    static constexpr const char* kCaption = "Logo";
    static constexpr const char* kFilter = "All Files (*.bmp)|*.bmp";

    explicit LogoDocument(Station& station);

    // The screen opens: CurrentForm, then the file dialog. A chosen file becomes LogoFilePath
    // and the caption names it; a cancelled dialog changes nothing and leaves the screen empty.
    void open();

    // The file this screen shows (file-system bytes), empty when none was chosen.
    const std::string& file() const { return file_; }
    const std::string& caption() const { return caption_; }

    // "Posalji": Invialogo with LogoFilePath under the hourglass, then the screen closes.
    // Without a chosen file it does nothing.
    void posalji();
    // "Izlaz".
    void izlaz() { closeRequested_ = true; }

    bool closeRequested() const { return closeRequested_; }

private:
    Station& st_;
    std::string file_;
    std::string caption_ = kCaption;
    bool closeRequested_ = false;
};

}  // namespace qov::fiscal
