#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/program_folder.h"
#include "app/settings.h"
#include "link/station.h"
#include "progfile/program_file_menu.h"
#include "ui/desktop.h"
#include "ui/screen.h"
#include "ui/startup.h"

namespace qov {

// One entry of the navigation panel.
struct NavigationEntry {
    int group;  // 1-3
    int entry;  // 1-based within its group
    const char* caption;
};

inline constexpr std::array<const char*, 3> kNavigationGroups{"Programski Podaci", "Komunikacija",
                                                              "Prodajnost"};
// clang-format off
// Group 1 ends with "Funkcije", the function-limits screen, and group 2 with "Fiskalni
// Izvestaji", the fiscal screen: no other entry or menu opens either.
inline constexpr std::array<NavigationEntry, 24> kNavigationEntries{{
    {1, 1, "Zaglavlje Isecka"},
    {1, 2, "Odeljenja"},
    {1, 3, "Artikli"},
    {1, 4, "Kasiri"},
    {1, 5, "Opsti Podaci"},
    {1, 6, "Valute"},
    {1, 7, "Reklamna Poruka"},
    {1, 8, "Jedinice Mere"},
    {1, 9, "Tipovi Artikala"},
    {1, 10, "Funkcije"},
    {2, 1, "Konekcija"},
    {2, 2, "Provera Veze"},
    {2, 3, "Slanje Grafickog Loga"},
    {2, 4, "Slanje Podataka"},
    {2, 5, "Prijem Podataka"},
    {2, 6, "Citanje Fiskalne Memorije"},
    {2, 7, "Citanje Programa"},
    {2, 8, "Emulacija Tastature"},
    {2, 9, "Fiskalni Izvestaji"},
    {3, 1, "Artikli"},
    {3, 2, "Prodati Artikli"},
    {3, 3, "Odeljenja"},
    {3, 4, "Kasiri"},
    {3, 5, "Poreske Stope"},
}};
// clang-format on

// The link menus of "Pomoc", by their section prefix in the settings file.
enum class LinkMenuKind { Internet = 0, UserGuides = 1, Government = 2 };
inline constexpr std::array<const char*, 3> kLinkMenuPrefixes{"web", "kor", "vla"};
inline constexpr std::array<const char*, 3> kLinkMenuCaptions{
    "Na Internetu...", "Korisnicka uputstva", "Dokumenta Vlade republike Srbije"};
inline constexpr const char* kNoLinks = "(nema)";
inline constexpr int kLinkSections = 100;

struct LinkMenuEntry {
    int number;  // the section number; the first entry (the "(nema)" item) is number 1
    std::string caption;
    std::string url;
};

// What the main window's logic asks of the window.
class MainView {
public:
    virtual ~MainView() = default;

    // Opens the screen of a navigation entry to the right of the panel; the new window's id
    // (2 or more), or 0 when no screen belongs to the entry.
    virtual int openScreen(int group, int entry) = 0;

    // Closes an open window: a screen, or the navigation panel (id 1).
    virtual void closeWindow(int id) = 0;

    // The open screen whose internal name is `formName`, or nullptr.
    virtual Screen* findScreen(const std::string& formName) = 0;

    // Menu checks, enabled states or link menus changed.
    virtual void menusChanged() = 0;
};

// frmMain: the main window's rules without the window. Keeps the open-windows list
// (position 0 the main window, 1 the navigation panel, then the screens in the order they
// opened), the menu states and the link menus.
class MainLogic {
public:
    static constexpr int kMainWindowId = 0;
    static constexpr int kPanelId = 1;

    // `sharedFolder` holds the manual ("manual/index.html", "manual/search.html").
    MainLogic(Station& station, Desktop& desktop, MainView& view, std::string appFolder,
              std::string sharedFolder = SharedFolder());

    // The main window loads: caption, stored state and placement, default tables, line
    // set-up from the PORT row, received-article tables emptied, link menus, CyrillicMode.
    // A failure ends the steps and is reported as "frmMain.Form_Load()".
    // Returns the state and placement to apply.
    WindowPlacement load(const cIniFile* settings);
    // After the window is shown.
    void afterShown();
    // The main window unloads: stores the placement and closes the line.
    void unload(const WindowPlacement& current);

    const std::string& caption() const { return caption_; }

    // The open-windows list.
    const std::vector<int>& openWindows() const { return windows_; }
    // A window opened outside the navigation (its id is appended).
    void windowOpened(int id);
    // A window was closed by the user (its close box); unknown ids are ignored.
    void windowClosed(int id);
    // Closes the window opened last (the panel counts); false when only the main window
    // is left.
    bool closeLastWindow();

    // A navigation entry was chosen.
    void chooseEntry(int group, int entry);

    // Menu operations. The file operations and the two switches are the program file
    // menu's; their check and enabled states are held there (fileMenu()).
    void otvori();                     // "Otvori"
    void sacuvaj();                    // "Sacuvaj"
    void sacuvajPodImenom();           // "Sacuvaj Pod Imenom"
    void zatvori();                    // "Zatvori"
    void toggleLineWidth();            // "Sirina 32"
    void toggleCyrillic();             // "Cirilica"
    void sendDefaultConnection();      // "Veza po postavci"
    void helpContents();               // "Sadrzaj": the manual's contents in the browser
    void helpSearch();                 // "Pomoc potrazi na ...": the manual's search page
    void askFontInstall();             // "Instalacija Cirilicnih Fontova..."
    void aboutOpened();                // the about box opens
    void systemInformation();          // the about box's system-information button
    std::string aboutVersion() const;  // "Version " + major.minor.revision

    // Link menus.
    void fillLinkMenus(const cIniFile& settings);
    const std::vector<LinkMenuEntry>& linkMenu(LinkMenuKind kind) const {
        return linkMenus_[static_cast<std::size_t>(kind)];
    }
    void chooseLink(LinkMenuKind kind, std::size_t index);

    ProgramFileMenu& fileMenu() { return fileMenu_; }
    const ProgramFileMenu& fileMenu() const { return fileMenu_; }

    Station& station() { return st_; }

    // Texts of the boxes (used by the tests as well).
    static constexpr const char* kModemRuleText =
        "Ova opcija nije dozvoljena u modemskoj komunikaciji!";
    static constexpr const char* kNoHelpText =
        "Ne moze se prikazati pomocni tekst. Nema pomocnih tekstova vezanih za ovaj projekat.";
    static constexpr const char* kManualContents = "index.html";
    static constexpr const char* kManualSearch = "search.html";
    static constexpr const char* kNoSystemInfoText = "Sistemske informacije trenutno nisu dostupne";
    static constexpr const char* kDefaultConnection = "4817203956148\x03";
    static std::string FontInstallQuestion();

private:
    void closeAt(std::size_t position);
    void resetLinkMenus();
    void callScreen(const std::string& form, void (Screen::*call)());
    void openManual(const std::string& page);

    Station& st_;
    Desktop& desktop_;
    MainView& view_;
    std::string caption_;
    std::string appFolder_;
    std::string sharedFolder_;
    std::vector<int> windows_{kMainWindowId, kPanelId};
    ProgramFileMenu fileMenu_;
    std::array<std::vector<LinkMenuEntry>, 3> linkMenus_;
};

}  // namespace qov
