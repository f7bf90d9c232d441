// The main window's rules without a window: start-up, navigation, switches, link menus.

#include <gtest/gtest.h>

#include "app/settings.h"
#include "support/memory_user_store.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_link.h"
#include "ui/main_logic.h"
#include "ui/startup.h"
#include "ui/temp_database.h"
#include "ui/ui_fakes.h"

namespace qov {
namespace {

using Entries = std::vector<std::pair<int, std::string>>;  // number, caption

constexpr const char* kDatabaseText =
    "Baza trenutno nije dostupna.\nMolimo Vas, proverite globalne parametre za pristup "
    "podacima.";
constexpr const char* kLoadTitle = "Arvon Cash Registers(Sender:='frmMain.Form_Load()')";

class MainLogicTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = test::MakeTempFolder("qovapp") + "/";
        connection = test::MakeTempDatabase();
        writeSettings("");
    }

    // A settings file with the database of the test and `more` after it.
    void writeSettings(const std::string& more) {
        test::WriteFile(folder + "QovCom.ini",
                        "[database]\r\nconnectionstring=" + connection +
                            "\r\n[modem]\r\natdt=ATDT\r\natdp=ATDP\r\natdisconnect=ATH\r\n" + more);
        settings = LoadSettings(state, folder);
    }

    MainLogic& logic() {
        if (!main) {
            main = std::make_unique<MainLogic>(station, desktop, view, folder);
        }
        return *main;
    }

    Entries entries(LinkMenuKind kind) {
        Entries out;
        for (const LinkMenuEntry& e : logic().linkMenu(kind)) {
            out.emplace_back(e.number, e.caption);
        }
        return out;
    }

    std::string folder;
    std::string connection;
    std::unique_ptr<cIniFile> settings;
    SharedState state;
    test::ScriptedDialogs dialogs;
    test::ScriptedLink link;
    LinkCalls calls{state, link};
    test::RecordingDatabase db;
    test::MemoryUserStore store;
    Station station{state, dialogs, calls, db, store};
    test::FakeDesktop desktop;
    test::FakeView view;
    std::unique_ptr<MainLogic> main;
};

// --- Start-up -------------------------------------------------------------------------

TEST_F(MainLogicTest, LoadWithoutAPortRowKeepsTheDefaultsAndLeavesTheLineClosed) {
    db.run(connection, "INSERT INTO QOV_PLU_RCV (BAR_CODE) values ('1')");
    db.run(connection, "INSERT INTO QOV_PLU_RCV_SOLD (BAR_CODE) values ('2')");
    state.TableCyrillic.fill(false);
    state.PortNumber = 5;
    state.LinePassword = "x";
    state.ModemMode = true;

    logic().load(settings.get());

    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(logic().caption(), "QovCom Ver. " + VersionText() + " - Arvon Cash Registers");
    EXPECT_EQ(state.PortNumber, 1);
    EXPECT_EQ(state.BaudRate, 9600);
    EXPECT_EQ(state.DialCommand, "ATDP");
    EXPECT_EQ(state.LinePassword, "");
    EXPECT_EQ(state.PhoneNumber, "");
    EXPECT_EQ(state.LineWidth, 22);
    EXPECT_FALSE(state.ModemMode);
    EXPECT_TRUE(state.CyrillicMode);
    EXPECT_TRUE(state.CyrillicLanguage);
    EXPECT_EQ(state.TableCyrillic,
              (std::array<bool, 8>{true, true, true, true, true, true, true, true}));
    EXPECT_EQ(state.OperatorTable[31].name, "Kasir 31");
    EXPECT_TRUE(logic().fileMenu().cyrillicChecked);
    EXPECT_FALSE(logic().fileMenu().width32Checked);
    // The line is only closed: no row, no opening.
    ASSERT_EQ(link.calls.size(), 1u);
    EXPECT_EQ(link.calls[0].op, "Close_RS232");
    EXPECT_EQ(db.statements,
              (std::vector<std::string>{"select * from port", "delete from QOV_PLU_RCV",
                                        "delete from QOV_PLU_RCV_SOLD"}));
    EXPECT_TRUE(db.rows(connection, "select * from QOV_PLU_RCV", {"BAR_CODE"}).empty());
    EXPECT_TRUE(db.rows(connection, "select * from QOV_PLU_RCV_SOLD", {"BAR_CODE"}).empty());
    EXPECT_FALSE(db.isOpen());
}

TEST_F(MainLogicTest, LoadTakesTheLineSetUpFromThePortRowAndOpensTheLine) {
    db.run(connection,
           "INSERT INTO PORT (Port, Qov ,tone, phonenm) values (3, '19200', 'ATDT', '0113')");
    link.expect("Init_RS232bd", "3", 1);
    logic().load(settings.get());
    EXPECT_EQ(state.PortNumber, 3);
    EXPECT_EQ(state.BaudRate, 19200);
    EXPECT_EQ(state.DialCommand, "ATDT");
    EXPECT_EQ(state.PhoneNumber, "0113");
    EXPECT_EQ(link.calls.back().arg, 19200);
    // The result of the opening is not looked at.
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_TRUE(state.CyrillicMode);
}

TEST_F(MainLogicTest, AnUnreachableDatabaseStopsTheLoadingAfterTheDefaults) {
    writeSettings("[web1]\r\ncaption=Arvon\r\nurl=http://x/\r\n");
    state.ConnectionString = "Driver=SQLite;Database=" + folder + "missing/QovCom.db";
    state.TableCyrillic.fill(false);
    state.ModemMode = true;
    state.PhoneNumber = "123";

    logic().load(settings.get());

    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.last().text, kDatabaseText);
    EXPECT_EQ(dialogs.last().title, kLoadTitle);
    EXPECT_EQ(dialogs.last().icon, Icon::Exclamation);
    // Steps up to the line set-up ran.
    EXPECT_EQ(logic().caption(), "QovCom Ver. " + VersionText() + " - Arvon Cash Registers");
    EXPECT_EQ(state.DepartmentTable[10].description.substr(0, 11), "Odeqewe  10");
    EXPECT_EQ(state.PhoneNumber, "");
    EXPECT_EQ(state.DialCommand, "ATDP");
    EXPECT_TRUE(logic().fileMenu().cyrillicChecked);
    // The rest did not: flags, modem mode, link menus, Cyrillic mode.
    EXPECT_EQ(state.TableCyrillic, (std::array<bool, 8>{}));
    EXPECT_TRUE(state.ModemMode);
    EXPECT_EQ(entries(LinkMenuKind::Internet), (Entries{{1, "(nema)"}}));
    EXPECT_EQ(entries(LinkMenuKind::UserGuides), (Entries{{1, "(nema)"}}));
    EXPECT_EQ(entries(LinkMenuKind::Government), (Entries{{1, "(nema)"}}));
    EXPECT_FALSE(state.CyrillicMode);
    EXPECT_EQ(link.count("Init_RS232bd"), 0);
}

TEST_F(MainLogicTest, JunkInThePortRowIsReportedAsALoadFailure) {
    db.run(connection,
           "INSERT INTO PORT (Port, Qov ,tone, phonenm) values (2, 'brzo', 'ATDT', '1')");
    logic().load(settings.get());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.last().text, "13 - Type mismatch");
    EXPECT_EQ(dialogs.last().title, kLoadTitle);
    EXPECT_EQ(dialogs.last().icon, Icon::Critical);
    EXPECT_EQ(link.count("Init_RS232bd"), 0);
    EXPECT_FALSE(state.CyrillicMode);
    EXPECT_FALSE(db.isOpen());
}

TEST_F(MainLogicTest, TheStoredStateAndPlacement) {
    // Nothing stored: a normal window at the default place.
    WindowPlacement p = logic().load(settings.get());
    EXPECT_EQ(p.state, 0);
    EXPECT_TRUE(p.applyGeometry);
    EXPECT_EQ(std::vector<int>({p.left, p.top, p.width, p.height}),
              std::vector<int>({1000, 1000, 6500, 6500}));

    store.set(kPlacementApp, "Settings", "MainLeft", "1500");
    store.set(kPlacementApp, "Settings", "MainTop", "300");
    store.set(kPlacementApp, "Settings", "MainWidth", "12000");
    store.set(kPlacementApp, "Settings", "MainHeight", "9000");
    p = logic().load(settings.get());
    EXPECT_TRUE(p.applyGeometry);
    EXPECT_EQ(std::vector<int>({p.left, p.top, p.width, p.height}),
              std::vector<int>({1500, 300, 12000, 9000}));

    // Maximised: the stored position is not applied.
    store.set(kPlacementApp, "Settings", "windowstate", "2");
    p = logic().load(settings.get());
    EXPECT_EQ(p.state, 2);
    EXPECT_FALSE(p.applyGeometry);
}

TEST_F(MainLogicTest, UnloadStoresThePlacementAndClosesTheLine) {
    logic().unload(WindowPlacement{2, 150, 300, 9600, 7200, false});
    EXPECT_EQ(store.values,
              (std::map<std::string, std::string>{{"QovCom/Settings/MainLeft", "150"},
                                                  {"QovCom/Settings/MainTop", "300"},
                                                  {"QovCom/Settings/MainWidth", "9600"},
                                                  {"QovCom/Settings/MainHeight", "7200"},
                                                  {"QovCom/Settings/windowstate", "2"}}));
    EXPECT_EQ(link.calls.back().op, "Close_RS232");
}

TEST_F(MainLogicTest, AfterTheWindowIsShownTexstGoToTheRegisterInCyrillic) {
    state.CyrillicLanguage = false;
    logic().afterShown();
    EXPECT_TRUE(state.CyrillicLanguage);
}

TEST_F(MainLogicTest, TheFontInstallerIsOfferedOnTheFirstStartOnly) {
    const std::string flag = std::string(kProductName) + "/system.io/addfonts";
    StartUp(state, store, dialogs, desktop, folder);
    EXPECT_EQ(desktop.started, (std::vector<std::string>{folder + kFontManagerProgram}));
    EXPECT_EQ(store.values[flag], "1");
    EXPECT_TRUE(dialogs.boxes.empty());
    StartUp(state, store, dialogs, desktop, folder);
    EXPECT_EQ(desktop.started.size(), 1u);
}

TEST_F(MainLogicTest, AMissingFontInstallerIsReportedAndNotOfferedAgain) {
    const std::string flag = std::string(kProductName) + "/system.io/addfonts";
    desktop.programsStart = false;
    store.values[flag] = "0";
    CheckFontInstall(store, dialogs, desktop, folder);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.last().text, "Font Manager nije instaliran na vasem racunaru.");
    EXPECT_EQ(dialogs.last().title, "Font Manager");
    EXPECT_EQ(dialogs.last().icon, Icon::Exclamation);
    EXPECT_EQ(store.values[flag], "1");
    CheckFontInstall(store, dialogs, desktop, folder);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
}

// --- Navigation -----------------------------------------------------------------------

class NavigationTest : public MainLogicTest {
protected:
    void SetUp() override {
        MainLogicTest::SetUp();
        view.screens[{2, 1}] = "frmcomline";
        view.screens[{1, 2}] = "frmreparti";
        view.screens[{2, 8}] = "frmKeyboard";
        view.screens[{2, 4}] = "frmtrasm";
    }
    std::vector<int> windows() { return logic().openWindows(); }
};

TEST_F(NavigationTest, WithOneScreenOpenTheChoiceClosesItAndOpensTheNewOne) {
    logic().chooseEntry(2, 1);
    EXPECT_EQ(windows(), (std::vector<int>{0, 1, 2}));
    logic().chooseEntry(1, 2);
    EXPECT_EQ(view.closed, (std::vector<int>{2}));
    EXPECT_EQ(windows(), (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(view.open.at(3), "frmreparti");
}

TEST_F(NavigationTest, WithTwoExtraScreensTheFirstClosesAndTheChoiceEndsAtTheMissingPosition) {
    logic().chooseEntry(2, 1);
    logic().windowOpened(9);  // a second screen, opened from the first
    logic().chooseEntry(1, 2);
    EXPECT_EQ(view.closed, (std::vector<int>{2}));
    EXPECT_EQ(windows(), (std::vector<int>{0, 1, 9}));
    EXPECT_EQ(view.asked.size(), 1u);  // the new screen was not opened
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(NavigationTest, AScreenClosedByTheUserLeavesTheList) {
    logic().chooseEntry(2, 1);
    logic().windowClosed(2);
    logic().windowClosed(42);
    EXPECT_EQ(windows(), (std::vector<int>{0, 1}));
    logic().chooseEntry(1, 2);
    EXPECT_TRUE(view.closed.empty());
    EXPECT_EQ(windows(), (std::vector<int>{0, 1, 3}));
}

TEST_F(NavigationTest, EntriesWithoutAScreenOpenNothing) {
    logic().chooseEntry(2, 1);
    logic().chooseEntry(3, 5);
    EXPECT_EQ(view.closed, (std::vector<int>{2}));
    EXPECT_EQ(windows(), (std::vector<int>{0, 1}));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(NavigationTest, TheKeyboardNeverOpensOnAModemLineButTheOpenScreenClosesAllTheSame) {
    logic().chooseEntry(2, 1);
    state.ModemMode = true;
    logic().chooseEntry(2, 8);
    EXPECT_EQ(view.closed, (std::vector<int>{2}));
    EXPECT_EQ(windows(), (std::vector<int>{0, 1}));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.last().text, "Ova opcija nije dozvoljena u modemskoj komunikaciji!");
    EXPECT_EQ(dialogs.last().title, "Arvon Cash Registers");
    EXPECT_EQ(view.asked.size(), 1u);

    state.ModemMode = false;
    logic().chooseEntry(2, 8);
    EXPECT_EQ(view.asked.back(), std::make_pair(2, 8));
    EXPECT_EQ(windows(), (std::vector<int>{0, 1, 3}));
}

TEST_F(NavigationTest, ProveraVezeTestsTheLineWithoutAScreen) {
    link.expect("Testconnessione", "", 0);
    logic().chooseEntry(2, 2);
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Veza je u redu!"}));
    EXPECT_TRUE(view.asked.empty());
    state.ModemMode = true;
    link.expect("TestconnessioneM", "", 5);
    logic().chooseEntry(2, 2);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(link.script.empty());
}

TEST_F(NavigationTest, ZatvoriClosesTheLastScreenThenThePanelThenForgetsTheFile) {
    logic().chooseEntry(2, 1);
    state.ProgramFilePath = "/tmp/x.ini";
    logic().zatvori();
    EXPECT_EQ(view.closed, (std::vector<int>{2}));
    logic().zatvori();
    EXPECT_EQ(view.closed, (std::vector<int>{2, MainLogic::kPanelId}));
    EXPECT_EQ(state.ProgramFilePath, "/tmp/x.ini");
    EXPECT_TRUE(logic().fileMenu().saveEnabled);
    logic().zatvori();
    EXPECT_EQ(windows(), (std::vector<int>{0}));
    EXPECT_EQ(state.ProgramFilePath, "");
    const ProgramFileMenu& m = logic().fileMenu();
    EXPECT_FALSE(m.saveEnabled);
    EXPECT_FALSE(m.saveAsEnabled);
    EXPECT_FALSE(m.closeEnabled);
    EXPECT_TRUE(m.newEnabled);
    EXPECT_TRUE(m.openEnabled);
}

// --- Menu switches --------------------------------------------------------------------

TEST_F(NavigationTest, Sirina32TwiceReturnsToWidth22AndTellsTheOpenScreen) {
    logic().chooseEntry(2, 4);
    state.CurrentForm = "frmtrasm";
    logic().toggleLineWidth();
    EXPECT_EQ(state.LineWidth, 32);
    EXPECT_TRUE(logic().fileMenu().width32Checked);
    logic().toggleLineWidth();
    EXPECT_EQ(state.LineWidth, 22);
    EXPECT_FALSE(logic().fileMenu().width32Checked);
    EXPECT_EQ(view.fake("frmtrasm")->widthChanges, 2);
    EXPECT_GE(view.menuChanges, 2);
}

TEST_F(NavigationTest, CirilicaSwitchesTheModeAndReFontsTheOpenScreen) {
    logic().load(settings.get());
    logic().chooseEntry(1, 2);
    state.CurrentForm = "frmreparti";
    state.CyrillicLanguage = false;
    logic().toggleCyrillic();
    EXPECT_FALSE(state.CyrillicMode);
    EXPECT_FALSE(logic().fileMenu().cyrillicChecked);
    EXPECT_FALSE(state.CyrillicLanguage);
    logic().toggleCyrillic();
    EXPECT_TRUE(state.CyrillicMode);
    EXPECT_TRUE(state.CyrillicLanguage);
    EXPECT_EQ(view.fake("frmreparti")->languageChanges, 2);
}

TEST_F(NavigationTest, CirilicaLeavesScreensWithoutTextsAlone) {
    logic().chooseEntry(2, 1);
    state.CurrentForm = "frmcomline";
    logic().toggleCyrillic();
    logic().toggleLineWidth();
    EXPECT_EQ(view.fake("frmcomline"), nullptr);
}

TEST_F(MainLogicTest, VezaPoPostavciSendsTheFixedCode) {
    logic().sendDefaultConnection();
    ASSERT_EQ(link.calls.size(), 1u);
    EXPECT_EQ(link.calls[0].op, "send_data");
    EXPECT_EQ(link.calls[0].text, std::string("4817203956148\x03", 14));
    EXPECT_EQ(link.calls[0].arg, 14);
}

TEST_F(MainLogicTest, HelpAboutAndFontQuestion) {
    logic().helpContents();
    logic().helpSearch();
    EXPECT_EQ(dialogs.texts(),
              std::vector<std::string>(2,
                                       "Ne moze se prikazati pomocni tekst. Nema pomocnih "
                                       "tekstova vezanih za ovaj projekat."));

    state.CurrentForm = "frmreparti";
    logic().aboutOpened();
    EXPECT_EQ(state.CurrentForm, "ne");
    EXPECT_EQ(logic().aboutVersion(), "Version " + VersionText());
    logic().systemInformation();
    EXPECT_EQ(dialogs.last().text, "Sistemske informacije trenutno nisu dostupne");
    desktop.systemInfoPresent = true;
    dialogs.clear();
    logic().systemInformation();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(desktop.systemInfoStarts, 2);

    dialogs.answer(Answer::No).answer(Answer::Yes);
    logic().askFontInstall();
    EXPECT_TRUE(desktop.started.empty());
    const MessageBox& box = dialogs.last();
    EXPECT_EQ(box.text,
              "Da li stvarno zelite da instalirate fontova na vasem racunaru?\n\nNAPOMENE: Nakon "
              "instalacije, molimo Vas, izadjite iz programa i ponovo ga pokrenite\nda bi "
              "sistemske promene imale efekta na program.");
    EXPECT_EQ(box.title, "Instalacija fontova");
    EXPECT_EQ(box.icon, Icon::Information);
    EXPECT_EQ(box.buttons, Buttons::YesNo);
    EXPECT_EQ(box.defaultAnswer, Answer::No);
    logic().askFontInstall();
    EXPECT_EQ(desktop.started, (std::vector<std::string>{folder + kFontManagerProgram}));
}

// --- Link menus -----------------------------------------------------------------------

TEST_F(MainLogicTest, LinkMenusTakeTheNumberedSectionsAndSkipTheMissingOnes) {
    writeSettings(
        "[web1]\r\ncaption=Arvon\r\nurl=https://arvon.example/\r\n"
        "[web2]\r\ncaption=Poreska uprava\r\nurl={app.path}\\docs\\pu.html\r\n"
        "[web4]\r\ncaption=Kase\r\nurl=https://kase.example/\r\n"
        "[web5]\r\ncaption=   \r\nurl=https://blank.example/\r\n"
        "[kor2]\r\ncaption=Uputstvo\r\nurl=u.pdf\r\n");
    logic().load(settings.get());
    EXPECT_EQ(entries(LinkMenuKind::Internet),
              (Entries{{1, "Arvon"}, {2, "Poreska uprava"}, {4, "Kase"}}));
    EXPECT_EQ(logic().linkMenu(LinkMenuKind::Internet)[1].url, folder + "docs\\pu.html");
    // Without a first section the "(nema)" item stays and the others follow it.
    EXPECT_EQ(entries(LinkMenuKind::UserGuides), (Entries{{1, "(nema)"}, {2, "Uputstvo"}}));
    EXPECT_EQ(entries(LinkMenuKind::Government), (Entries{{1, "(nema)"}}));

    logic().chooseLink(LinkMenuKind::Internet, 2);
    logic().chooseLink(LinkMenuKind::UserGuides, 0);  // "(nema)" leads nowhere
    logic().chooseLink(LinkMenuKind::UserGuides, 7);
    EXPECT_EQ(desktop.opened, (std::vector<std::string>{"https://kase.example/"}));
}

TEST_F(MainLogicTest, WithoutAnyWebSectionTheInternetMenuKeepsItsEmptyItem) {
    writeSettings("[web2]\r\ncaption=Drugi\r\nurl=x\r\n[web3]\r\nurl=y\r\n");
    logic().load(settings.get());
    EXPECT_EQ(entries(LinkMenuKind::Internet), (Entries{{1, "(nema)"}, {2, "Drugi"}}));
}

}  // namespace
}  // namespace qov
