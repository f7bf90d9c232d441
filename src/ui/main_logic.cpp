#include "ui/main_logic.h"

#include <exception>
#include <utility>

#include "app/show_error.h"
#include "link/comline.h"
#include "link/station_start.h"

namespace qov {

namespace {

constexpr const char* kLoadSender = "frmMain.Form_Load()";

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

}  // namespace

MainLogic::MainLogic(Station& station, Desktop& desktop, MainView& view, std::string appFolder,
                     std::string sharedFolder)
    : st_(station),
      desktop_(desktop),
      view_(view),
      appFolder_(std::move(appFolder)),
      sharedFolder_(std::move(sharedFolder)),
      fileMenu_(station.state, station.dialogs, station.link.link(), appFolder_) {
    resetLinkMenus();
    fileMenu_.reloadScreen = [this](const std::string& form) {
        callScreen(form, &Screen::reloadFromTables);
    };
    fileMenu_.changeLanguage = [this](const std::string& form) {
        callScreen(form, &Screen::changeLanguage);
    };
    fileMenu_.changeLineWidth = [this](const std::string& form) {
        callScreen(form, &Screen::lineWidthChanged);
    };
    fileMenu_.closeLastScreen = [this] { return closeLastWindow(); };
}

std::string MainLogic::FontInstallQuestion() {
    return std::string("Da li stvarno zelite da instalirate fontova na vasem racunaru?") +
           kLineBreak + kLineBreak +
           "NAPOMENE: Nakon instalacije, molimo Vas, izadjite iz programa i ponovo ga pokrenite" +
           kLineBreak + "da bi sistemske promene imale efekta na program.";
}

WindowPlacement MainLogic::load(const cIniFile* settings) {
    SharedState& s = st_.state;
    WindowPlacement placement;
    placement.applyGeometry = false;
    // CyrillicMode follows the "Cirilica" check only once every loading step has run.
    s.CyrillicMode = false;
    try {
        caption_ = MainCaption();
        placement = ReadWindowPlacement(st_.userStore);

        SetStartValues(s);
        fileMenu_.cyrillicChecked = true;
        fileMenu_.width32Checked = false;
        LoadStoredLine(st_);

        s.TableCyrillic.fill(true);

        s.ModemMode = false;
        if (settings != nullptr) {
            fillLinkMenus(*settings);
        }
        s.CyrillicMode = fileMenu_.cyrillicChecked;
    } catch (const std::exception& e) {
        ShowError(st_.dialogs, e, kLoadSender);
    }
    view_.menusChanged();
    return placement;
}

void MainLogic::afterShown() {
    st_.state.CyrillicLanguage = true;
}

void MainLogic::unload(const WindowPlacement& current) {
    StoreWindowPlacement(st_.userStore, current);
    st_.link.link().Close_RS232();
}

void MainLogic::windowOpened(int id) {
    windows_.push_back(id);
}

void MainLogic::windowClosed(int id) {
    for (std::size_t i = 1; i < windows_.size(); ++i) {
        if (windows_[i] == id) {
            windows_.erase(windows_.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

void MainLogic::closeAt(std::size_t position) {
    const int id = windows_[position];
    windows_.erase(windows_.begin() + static_cast<std::ptrdiff_t>(position));
    view_.closeWindow(id);
}

bool MainLogic::closeLastWindow() {
    if (windows_.size() <= 1) {
        return false;
    }
    closeAt(windows_.size() - 1);
    return true;
}

void MainLogic::chooseEntry(int group, int entry) {
    // The open screens are closed by their position in the open-windows list (0 the main
    // window, 1 the panel), the count taken once: closing one moves the next down, so with
    // two screens open the second is not reached and the choice ends there, silently.
    // (The station has no separate document window to close first.)
    const std::size_t count = windows_.size();
    for (std::size_t i = 2; i + 1 <= count; ++i) {
        if (i >= windows_.size()) {
            return;
        }
        closeAt(i);
    }
    if (group == 2 && entry == 8 && st_.state.ModemMode) {
        st_.dialogs.message(kModemRuleText, kTitle);
        return;
    }
    if (group == 2 && entry == 2) {
        TestLink(st_);
        return;
    }
    const int id = view_.openScreen(group, entry);
    if (id > kPanelId) {
        windows_.push_back(id);
    }
}

void MainLogic::callScreen(const std::string& form, void (Screen::*call)()) {
    if (Screen* screen = view_.findScreen(form)) {
        (screen->*call)();
    }
}

void MainLogic::otvori() {
    fileMenu_.onOpen();
    view_.menusChanged();
}

void MainLogic::sacuvaj() {
    fileMenu_.onSave();
}

void MainLogic::sacuvajPodImenom() {
    fileMenu_.onSaveAs();
}

void MainLogic::zatvori() {
    fileMenu_.onClose();
    view_.menusChanged();
}

void MainLogic::toggleLineWidth() {
    fileMenu_.onWidthSwitch();
    view_.menusChanged();
}

void MainLogic::toggleCyrillic() {
    fileMenu_.onCyrillicSwitch();
    view_.menusChanged();
}

void MainLogic::sendDefaultConnection() {
    const std::string text = kDefaultConnection;
    st_.link.link().send_data(text, static_cast<int>(text.size()));
}

// The manual is HTML shown in the desktop's browser; without the page, or without a program
// to show it, the user learns that there is no help to show.
void MainLogic::openManual(const std::string& page) {
    const std::string url = ManualPageUrl(sharedFolder_, page);
    if (url.empty() || !desktop_.openDocument(url)) {
        st_.dialogs.message(kNoHelpText, kTitle, Icon::Information);
    }
}

void MainLogic::helpContents() {
    openManual(kManualContents);
}

void MainLogic::helpSearch() {
    openManual(kManualSearch);
}

void MainLogic::askFontInstall() {
    MessageBox box;
    box.text = FontInstallQuestion();
    box.title = "Instalacija fontova";
    box.icon = Icon::Information;
    box.buttons = Buttons::YesNo;
    box.defaultAnswer = Answer::No;
    if (st_.dialogs.show(box) != Answer::No) {
        RunFontManager(st_.dialogs, desktop_, appFolder_);
    }
}

void MainLogic::aboutOpened() {
    st_.state.CurrentForm = "ne";
}

void MainLogic::systemInformation() {
    if (!desktop_.startSystemInformation()) {
        st_.dialogs.message(kNoSystemInfoText, kTitle);
    }
}

std::string MainLogic::aboutVersion() const {
    return "Version " + VersionText();
}

void MainLogic::resetLinkMenus() {
    for (auto& menu : linkMenus_) {
        menu.clear();
        menu.push_back(LinkMenuEntry{1, kNoLinks, {}});
    }
}

void MainLogic::fillLinkMenus(const cIniFile& settings) {
    resetLinkMenus();
    for (std::size_t kind = 0; kind < kLinkMenuPrefixes.size(); ++kind) {
        auto& menu = linkMenus_[kind];
        for (int n = 1; n <= kLinkSections; ++n) {
            const std::string section = kLinkMenuPrefixes[kind] + std::to_string(n);
            const std::string caption = ReadSetting(settings, section, "caption");
            if (IsBlank(caption)) {
                continue;
            }
            const std::string url =
                ExpandAppPath(ReadSetting(settings, section, "url"), appFolder_);
            if (n == 1) {
                menu.front() = LinkMenuEntry{1, caption, url};
            } else {
                menu.push_back(LinkMenuEntry{n, caption, url});
            }
        }
    }
    view_.menusChanged();
}

void MainLogic::chooseLink(LinkMenuKind kind, std::size_t index) {
    const auto& menu = linkMenu(kind);
    if (index >= menu.size() || IsBlank(menu[index].url)) {
        return;  // the "(nema)" item leads nowhere
    }
    desktop_.openDocument(menu[index].url);
}

}  // namespace qov
