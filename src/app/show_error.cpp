#include "app/show_error.h"

namespace qov {

namespace {

bool isBlankText(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

}  // namespace

void ShowError(Dialogs& dialogs, const RunError& error, const std::string& sender) {
    MessageBox box;
    if (error.number() == RunError::kDatabaseUnavailable) {
        box.text = std::string("Baza trenutno nije dostupna.") + kLineBreak +
                   "Molimo Vas, proverite globalne parametre za pristup podacima.";
        box.icon = Icon::Exclamation;
    } else {
        box.text = std::to_string(error.number()) + " - " + error.description();
        box.icon = Icon::Critical;
    }
    box.title = kTitle;
    if (!isBlankText(sender)) {
        box.title += "(Sender:='" + sender + "')";
    }
    box.buttons = Buttons::Ok;
    box.defaultAnswer = Answer::Ok;
    box.helpFile = error.helpFile();
    box.helpContext = error.helpContext();
    dialogs.show(box);
}

void ShowError(Dialogs& dialogs, const std::exception& error, const std::string& sender) {
    if (const auto* runError = dynamic_cast<const RunError*>(&error)) {
        ShowError(dialogs, *runError, sender);
        return;
    }
    // An unexpected failure of the program itself: reported like an internal error.
    ShowError(dialogs, RunError(51, error.what()), sender);
}

}  // namespace qov
