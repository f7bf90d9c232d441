#include "progfile/program_file_menu.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "progfile/program_file.h"

namespace qov {

namespace {

template <std::size_t N>
bool OneOf(const std::string& form, const std::array<std::string_view, N>& forms) {
    return std::find(forms.begin(), forms.end(), form) != forms.end();
}

}  // namespace

bool ProgramFileMenu::ReloadsAfterOpen(const std::string& form) {
    static constexpr std::array<std::string_view, 7> kForms{
        "frmadvertize", "frmIntestazione", "frmoperatori", "frmreparti",
        "frmValuta",    "frmsistema",      "frmcomline"};
    return OneOf(form, kForms);
}

bool ProgramFileMenu::FollowsCyrillicSwitch(const std::string& form) {
    static constexpr std::array<std::string_view, 13> kForms{
        "frmPlu",    "frmIntestazione", "frmadvertize",    "frmoperatori", "frmreparti",
        "frmValuta", "frmPluSales",     "frmPluSalesSold", "frmDepSales",  "frmOperSales",
        "frmunits",  "frmtypes",        "frmtrasm"};
    return OneOf(form, kForms);
}

bool ProgramFileMenu::FollowsLineWidth(const std::string& form) {
    static constexpr std::array<std::string_view, 4> kForms{"frmtrasm", "frmPlu", "frmIntestazione",
                                                            "frmadvertize"};
    return OneOf(form, kForms);
}

ProgramFileMenu::ProgramFileMenu(SharedState& state, Dialogs& dialogs, Link& link,
                                 std::string programFolder)
    : width32Checked(state.LineWidth == 32),
      state_(state),
      dialogs_(dialogs),
      link_(link),
      programFolder_(std::move(programFolder)) {}

void ProgramFileMenu::onOpen() {
    const std::string chosen = dialogs_.openFile(
        FileDialog{"Open", programFolder_, "All Files (*.ini)|*.ini", dialogFileName_});
    if (chosen.empty()) {
        return;
    }
    dialogFileName_ = chosen;
    state_.ProgramFilePath = chosen;

    if (LoadProgramFile(state_, dialogs_)) {
        cyrillicChecked = state_.CyrillicLanguage;
        width32Checked = state_.LineWidth == 32;
        if (reloadScreen && ReloadsAfterOpen(state_.CurrentForm)) {
            reloadScreen(state_.CurrentForm);
        }
        link_.Close_RS232();
        if (link_.Init_RS232bd(state_.PortNumber, state_.BaudRate) == 0) {
            dialogs_.message("OK", kTitle);
        } else {
            dialogs_.message("Komunikaciona linija nije dostupna", kTitle);
        }
    }
    state_.CyrillicMode = cyrillicChecked;
}

void ProgramFileMenu::onSave() {
    if (state_.ProgramFilePath.empty()) {
        const std::string chosen = dialogs_.saveFile(
            FileDialog{"Save As", programFolder_, "All Files (*.INI)|*.INI", dialogFileName_});
        if (chosen.empty()) {
            return;
        }
        dialogFileName_ = chosen;
        state_.ProgramFilePath = chosen;
    }
    SaveProgramFile(state_, dialogs_);
}

void ProgramFileMenu::onSaveAs() {
    state_.ProgramFilePath.clear();
    onSave();
}

void ProgramFileMenu::onClose() {
    if (closeLastScreen && closeLastScreen()) {
        return;
    }
    saveEnabled = false;
    saveAsEnabled = false;
    closeEnabled = false;
    newEnabled = true;
    openEnabled = true;
    state_.ProgramFilePath.clear();
}

void ProgramFileMenu::onCyrillicSwitch() {
    const bool on = !cyrillicChecked;
    state_.CyrillicMode = on;
    cyrillicChecked = on;
    if (on) {
        state_.CyrillicLanguage = true;
    }
    if (changeLanguage && FollowsCyrillicSwitch(state_.CurrentForm)) {
        changeLanguage(state_.CurrentForm);
    }
}

void ProgramFileMenu::onWidthSwitch() {
    if (state_.LineWidth == 22) {
        state_.LineWidth = 32;
        width32Checked = true;
    } else {
        state_.LineWidth = 22;
        width32Checked = false;
    }
    if (changeLineWidth && FollowsLineWidth(state_.CurrentForm)) {
        changeLineWidth(state_.CurrentForm);
    }
}

}  // namespace qov
