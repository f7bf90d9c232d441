#pragma once

#include <functional>
#include <string>

#include "app/dialogs.h"
#include "app/shared_state.h"
#include "link/link.h"

namespace qov {

// The program-file operations of the main window's "Datoteke" menu ("Otvori", "Sacuvaj",
// "Sacuvaj Pod Imenom", "Zatvori") and its two switches ("Cirilica", "Sirina 32"), without any
// widget: the window calls the on...() methods and shows the check and enabled states held
// here; what only the window can do it supplies as callbacks.
class ProgramFileMenu {
public:
    // The screens that reload their fields from the tables after a program file is opened.
    static bool ReloadsAfterOpen(const std::string& form);
    // The screens that re-font and convert their texts when "Cirilica" is switched.
    static bool FollowsCyrillicSwitch(const std::string& form);
    // The screens that adapt their line fields when "Sirina 32" is switched.
    static bool FollowsLineWidth(const std::string& form);

    ProgramFileMenu(SharedState& state, Dialogs& dialogs, Link& link, std::string programFolder);

    // "Otvori": choose a file, load it, set the menu checks, reload the open screen and reopen
    // the line. After every load attempt CyrillicMode follows the "Cirilica" check.
    void onOpen();
    // "Sacuvaj": ask for a name when there is none yet, then save.
    void onSave();
    // "Sacuvaj Pod Imenom": forget the name, then as "Sacuvaj".
    void onSaveAs();
    // "Zatvori": close the screen opened last; with none left, forget the program file.
    void onClose();
    // "Cirilica": switch the Cyrillic mode (on also sets CyrillicLanguage).
    void onCyrillicSwitch();
    // "Sirina 32": switch the printed line width between 22 and 32.
    void onWidthSwitch();

    // Menu check states.
    bool cyrillicChecked = true;  // "Cirilica"
    bool width32Checked = false;  // "Sirina 32"
    // Menu enabled states.
    bool newEnabled = true;     // "Nova"
    bool openEnabled = true;    // "Otvori"
    bool saveEnabled = true;    // "Sacuvaj"
    bool saveAsEnabled = true;  // "Sacuvaj Pod Imenom"
    bool closeEnabled = true;   // "Zatvori"

    // Supplied by the window. Each receives CurrentForm and is called only for the screens
    // named by the matching predicate above.
    std::function<void(const std::string& form)> reloadScreen;
    std::function<void(const std::string& form)> changeLanguage;
    std::function<void(const std::string& form)> changeLineWidth;
    // Closes the screen opened last (the navigation panel counts as one); false when only the
    // main window is left.
    std::function<bool()> closeLastScreen;

    // The name the file dialog holds: it starts with the name chosen last.
    const std::string& dialogFileName() const { return dialogFileName_; }

private:
    SharedState& state_;
    Dialogs& dialogs_;
    Link& link_;
    std::string programFolder_;
    std::string dialogFileName_;
};

}  // namespace qov
