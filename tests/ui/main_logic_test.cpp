// The main window's rules without a window: start-up, navigation, "Sirina 32", link menus, help.

#include <gtest/gtest.h>

#include <QDir>

#include <algorithm>
#include <tuple>

#include "app/database.h"
#include "app/settings.h"
#include "support/memory_user_store.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_link.h"
#include "ui/main_logic.h"
#include "ui/ui_fakes.h"

namespace qov {
namespace {

using Texts = std::vector<std::string>;

class MainLogicTest : public ::testing::Test {
protected:
    void SetUp() override { writeSettings(""); }

    // A settings file with the test's database and `more` after it.
    void writeSettings(const std::string& more) {
        test::WriteFile(folder + "QovCom.ini", "[database]\r\nconnectionstring=" + connection +
                                                   "\r\n[modem]\r\natdt=ATDT\r\natdp=ATDP\r\n" +
                                                   more);
        settings = LoadSettings(state, folder);
    }

    // "port|speed|dial|phone|password" and the link calls as "op text arg;".
    std::string lineSetup() {
        std::string out = std::to_string(state.PortNumber) + "|" + std::to_string(state.BaudRate) +
                          "|" + state.DialCommand + "|" + state.PhoneNumber + "|" +
                          state.LinePassword + "|";
        for (const test::LinkCall& call : link.calls)
            out += call.op + " " + call.text + " " + std::to_string(call.arg) + ";";
        return out;
    }

    // How many register tables are shown in Cyrillic.
    std::ptrdiff_t cyrillicTables() const {
        return std::count(state.TableCyrillic.begin(), state.TableCyrillic.end(), true);
    }

    // A link menu as "number caption|...".
    std::string linkMenu(LinkMenuKind kind) {
        std::string out;
        for (const LinkMenuEntry& e : logic.linkMenu(kind))
            out += std::to_string(e.number) + " " + e.caption + "|";
        return out;
    }

    std::string folder = test::MakeTempFolder("qovapp") + "/";
    std::string connection = test::MakeTempDatabase();
    std::unique_ptr<cIniFile> settings;
    SharedState state;
    test::ScriptedDialogs dialogs;
    test::ScriptedLink link;
    LinkCalls calls{state, link};
    std::unique_ptr<Database> db = CreateSqlDatabase();
    test::MemoryUserStore store;
    Station station{state, dialogs, calls, *db, store};
    test::FakeDesktop desktop;
    test::FakeView view;
    MainLogic logic{station, desktop, view, folder};
};

TEST_F(MainLogicTest, StartUpTakesTheLineFromThePortRowOrKeepsTheDefaultsWithoutOne) {
    db->open(connection);
    db->execute("INSERT INTO QOV_PLU_RCV (BAR_CODE) values ('1')");
    db->execute("INSERT INTO QOV_PLU_RCV_SOLD (BAR_CODE) values ('2')");
    db->close();
    state.TableCyrillic.fill(false);
    state.PortNumber = 5;
    state.LinePassword = "x";
    state.ModemMode = true;
    logic.load(settings.get());
    EXPECT_EQ(lineSetup(), "1|9600|ATDP|||Close_RS232  0;");  // no row: the line stays closed
    EXPECT_EQ(std::make_tuple(state.LineWidth, state.ModemMode, state.CyrillicMode,
                              state.CyrillicLanguage, cyrillicTables()),
              std::make_tuple(22, false, true, true, 8));
    EXPECT_FALSE(db->isOpen());
    db->open(connection);  // the received-article tables are emptied
    EXPECT_FALSE(db->query("select * from QOV_PLU_RCV")->next());
    EXPECT_FALSE(db->query("select * from QOV_PLU_RCV_SOLD")->next());
    db->execute("INSERT INTO PORT (Port, Qov ,tone, phonenm) values (3, '19200', 'ATDT', '0113')");
    db->close();

    link.calls.clear();
    link.defaultInit = 1;  // the result of the opening is not looked at
    logic.load(settings.get());
    EXPECT_EQ(lineSetup(), "3|19200|ATDT|0113||Close_RS232  0;Init_RS232bd 3 19200;");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(MainLogicTest, AnUnreachableDatabaseEndsTheLoadingWithItsBoxKeepingWhatWasSetBefore) {
    writeSettings("[web1]\r\ncaption=Arvon\r\nurl=http://x/\r\n");
    state.ConnectionString = "Driver=SQLite;Database=" + folder + "missing/QovCom.db";
    state.TableCyrillic.fill(false);
    state.ModemMode = true;
    state.PhoneNumber = "123";
    logic.load(settings.get());
    ASSERT_EQ(dialogs.texts(), Texts{"Baza trenutno nije dostupna.\nMolimo Vas, proverite "
                                     "globalne parametre za pristup podacima."});
    EXPECT_EQ(dialogs.last().title, "Arvon Cash Registers(Sender:='frmMain.Form_Load()')");
    EXPECT_EQ(dialogs.last().icon, Icon::Exclamation);
    // The steps up to the line set-up ran ...
    EXPECT_EQ(logic.caption(), "QovCom Ver. " + VersionText() + " - Arvon Cash Registers");
    EXPECT_EQ(state.DepartmentTable[10].description.substr(0, 11), "Odeqewe  10");
    EXPECT_EQ(lineSetup(), "1|9600|ATDP|||Close_RS232  0;");
    // ... the rest did not: flags, modem mode, link menus, Cyrillic mode.
    EXPECT_EQ(std::make_tuple(cyrillicTables(), state.ModemMode, state.CyrillicMode),
              std::make_tuple(0, true, false));
    EXPECT_EQ(linkMenu(LinkMenuKind::Internet) + linkMenu(LinkMenuKind::UserGuides) +
                  linkMenu(LinkMenuKind::Government),
              "1 (nema)|1 (nema)|1 (nema)|");
}

TEST_F(MainLogicTest, TheStoredPlacementIsTakenOnlyForANormalWindowAndStoredAtExit) {
    auto placement = [this] {
        const WindowPlacement p = logic.load(settings.get());
        return std::vector<int>{p.state, p.applyGeometry, p.left, p.top, p.width, p.height};
    };
    EXPECT_EQ(placement(), (std::vector<int>{0, 1, 1000, 1000, 6500, 6500}));
    logic.unload(WindowPlacement{0, 1500, 300, 12000, 9000, true});
    EXPECT_EQ(link.calls.back().op, "Close_RS232");
    EXPECT_EQ(placement(), (std::vector<int>{0, 1, 1500, 300, 12000, 9000}));
    store.set(kPlacementApp, "Settings", "windowstate", "2");
    // Maximised: the stored place is not applied.
    EXPECT_EQ(placement(), (std::vector<int>{2, 0, 1000, 1000, 6500, 6500}));
}

// "Konekcija" is open (window 2), maybe with a second window opened from it, when an entry is
// chosen. The outcome: the open-windows list, the screens opened, the boxes.
TEST_F(MainLogicTest, ChoosingAnEntryClosesTheOpenScreensByTheirPositionOnce) {
    const std::string modemRule =
        "Ova opcija nije dozvoljena u modemskoj komunikaciji! (Arvon Cash Registers)";
    const std::tuple<int, bool, int, int, std::string> cases[] = {
        {0, false, 1, 2, "0 1 3 |opened 2|"},
        // Closing the first moves the second down: its position no longer exists, and the
        // choice ends there silently.
        {9, false, 1, 2, "0 1 9 |opened 1|"},
        {0, false, 3, 5, "0 1 |opened 1|"},  // an entry without a screen
        {0, true, 2, 8, "0 1 |opened 1|" + modemRule},
        {0, false, 2, 8, "0 1 3 |opened 2|"},
    };
    for (const auto& [secondWindow, modem, group, entry, outcome] : cases) {
        test::FakeView fresh;
        fresh.screens = {{{2, 1}, "frmcomline"}, {{1, 2}, "frmreparti"}, {{2, 8}, "frmKeyboard"}};
        MainLogic main(station, desktop, fresh, folder);
        dialogs.clear();
        state.ModemMode = modem;
        main.chooseEntry(2, 1);
        if (secondWindow != 0)
            main.windowOpened(secondWindow);
        main.chooseEntry(group, entry);
        std::string seen;
        for (const int id : main.openWindows())
            seen += std::to_string(id) + " ";
        seen += "|opened " + std::to_string(fresh.nextId - 2) + "|";
        for (const MessageBox& box : dialogs.boxes)
            seen += box.text + " (" + box.title + ")";
        EXPECT_EQ(seen, outcome);
        EXPECT_EQ(fresh.closed, std::vector<int>{2});
    }
}

TEST_F(MainLogicTest, Sirina32TwiceReturnsToWidth22AndTellsTheOpenScreenEachTime) {
    view.screens[{2, 4}] = "frmtrasm";
    logic.chooseEntry(2, 4);
    state.CurrentForm = "frmtrasm";
    logic.toggleLineWidth();
    EXPECT_EQ(std::make_tuple(state.LineWidth, logic.fileMenu().width32Checked),
              std::make_tuple(32, true));
    logic.toggleLineWidth();
    EXPECT_EQ(std::make_tuple(state.LineWidth, logic.fileMenu().width32Checked,
                              view.open.at(2).widthChanges),
              std::make_tuple(22, false, 2));
}

TEST_F(MainLogicTest, CirilicaSwitchesTheModeAndRefontsOnlyTheScreensThatFollowIt) {
    view.screens[{1, 2}] = "frmreparti";
    logic.chooseEntry(1, 2);
    state.CurrentForm = "frmreparti";
    state.CyrillicMode = true;
    logic.toggleCyrillic();
    EXPECT_EQ(std::make_tuple(state.CyrillicMode, logic.fileMenu().cyrillicChecked),
              std::make_tuple(false, false));
    state.CyrillicLanguage = false;
    logic.toggleCyrillic();
    // Switching on also sets the register coding.
    EXPECT_EQ(std::make_tuple(state.CyrillicMode, logic.fileMenu().cyrillicChecked,
                              state.CyrillicLanguage, view.open.at(2).languageChanges),
              std::make_tuple(true, true, true, 2));
    state.CurrentForm = "ne";  // the receive screen does not follow the switch
    logic.toggleCyrillic();
    EXPECT_EQ(view.open.at(2).languageChanges, 2);
}

TEST_F(MainLogicTest, VezaPoPostavciSendsTheFixedCodeAndTheFontQuestionDefaultsToNo) {
    logic.sendDefaultConnection();
    EXPECT_EQ(link.textsOf("send_data"), Texts{std::string("4817203956148\x03")});
    EXPECT_EQ(link.calls.back().arg, 14);
    dialogs.answer(Answer::No);
    logic.askFontInstall();
    const MessageBox& box = dialogs.last();
    EXPECT_EQ(box.text,
              "Da li stvarno zelite da instalirate fontova na vasem racunaru?\n\n"
              "NAPOMENE: Nakon instalacije, molimo Vas, izadjite iz programa i ponovo ga "
              "pokrenite\nda bi sistemske promene imale efekta na program.");
    EXPECT_EQ(
        std::tie(box.title, box.icon, box.buttons, box.defaultAnswer),
        std::make_tuple("Instalacija fontova", Icon::Information, Buttons::YesNo, Answer::No));
}

TEST_F(MainLogicTest, LinkMenusTakeTheNumberedSectionsAndKeepTheEmptyItemWithoutAFirst) {
    writeSettings(
        "[web1]\r\ncaption=Arvon\r\nurl=https://arvon.example/\r\n"
        "[web2]\r\ncaption=Poreska uprava\r\nurl={app.path}\\docs\\pu.html\r\n"
        "[web4]\r\ncaption=Kase\r\nurl=https://kase.example/\r\n[web5]\r\ncaption=   \r\n"
        "[kor2]\r\ncaption=Uputstvo\r\nurl=u.pdf\r\n");
    logic.fillLinkMenus(*settings);
    EXPECT_EQ(linkMenu(LinkMenuKind::Internet), "1 Arvon|2 Poreska uprava|4 Kase|");
    EXPECT_EQ(linkMenu(LinkMenuKind::UserGuides), "1 (nema)|2 Uputstvo|");
    EXPECT_EQ(linkMenu(LinkMenuKind::Government), "1 (nema)|");
    logic.chooseLink(LinkMenuKind::Internet, 1);
    EXPECT_EQ(desktop.opened, Texts{folder + "docs\\pu.html"});

    writeSettings("[web2]\r\ncaption=Drugi\r\nurl=x\r\n[web3]\r\nurl=y\r\n");
    logic.fillLinkMenus(*settings);
    EXPECT_EQ(linkMenu(LinkMenuKind::Internet), "1 (nema)|2 Drugi|");
}

TEST_F(MainLogicTest, HelpOpensTheManualPageInTheBrowserOrSaysThereIsNoHelp) {
    const std::string noHelp =
        "Arvon Cash Registers: Ne moze se prikazati pomocni tekst. Nema pomocnih tekstova "
        "vezanih za ovaj projekat. <info>";
    const struct {
        const char* name;
        Texts pages;  // the manual's pages in the shared folder
        void (MainLogic::*item)();
        bool desktopOpens;
        const char* opened;  // the page asked of the desktop; nullptr: none
        Texts boxes;
    } cases[] = {
        {"Sadrzaj",
         {"index.html", "search.html"},
         &MainLogic::helpContents,
         true,
         "index.html",
         {}},
        {"Pomoc potrazi na",
         {"index.html", "search.html"},
         &MainLogic::helpSearch,
         true,
         "search.html",
         {}},
        {"no search page", {"index.html"}, &MainLogic::helpSearch, true, nullptr, {noHelp}},
        {"no manual", {}, &MainLogic::helpContents, true, nullptr, {noHelp}},
        {"no program shows it",
         {"index.html"},
         &MainLogic::helpContents,
         false,
         "index.html",
         {noHelp}},
    };
    for (const auto& c : cases) {
        const std::string shared = test::MakeTempFolder("qovshare") + "/";
        QDir().mkpath(QString::fromStdString(shared + "manual"));
        for (const std::string& page : c.pages)
            test::WriteFile(shared + "manual/" + page, "<html></html>");
        test::FakeDesktop browser;
        browser.opens = c.desktopOpens;
        dialogs.clear();
        MainLogic help{station, browser, view, folder, shared};
        (help.*c.item)();
        EXPECT_EQ(browser.opened,
                  c.opened ? Texts{"file://" + shared + "manual/" + c.opened} : Texts{})
            << c.name;
        EXPECT_EQ(dialogs.lines(), c.boxes) << c.name;
    }
}

}  // namespace
}  // namespace qov
