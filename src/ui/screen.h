#pragma once

#include <string>

namespace qov {

// What the main window may ask of an open screen. A screen widget derives from
// QWidget and from this; the main window finds the open screen whose formName()
// equals CurrentForm and calls it.
class Screen {
public:
    virtual ~Screen() = default;

    // The screen's internal name, as it writes it into CurrentForm ("frmreparti", ...).
    virtual std::string formName() const = 0;

    // The "Cirilica" switch changed CyrillicMode: re-font and convert the shown texts.
    virtual void changeLanguage() {}

    // A program file was opened: reload the fields from the tables in memory.
    virtual void reloadFromTables() {}

    // "Sirina 32" changed LineWidth: adapt the line fields to the new width.
    virtual void lineWidthChanged() {}
};

}  // namespace qov
