// The main window on the offscreen platform: menus, navigation panel, screens, resize rule.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QToolBox>
#include <QToolButton>

#include "support/memory_user_store.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_link.h"
#include "ui/about_box.h"
#include "ui/comline_screen.h"
#include "ui/display_font.h"
#include "ui/main_window.h"
#include "ui/navigation_panel.h"
#include "ui/temp_database.h"
#include "ui/ui_fakes.h"

namespace qov {
namespace {

QStringList Captions(const QMenu* menu) {
    QStringList out;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            out << action->text();
        }
    }
    return out;
}

QMenu* SubMenu(const QMenu* menu, const QString& caption) {
    for (const QAction* action : menu->actions()) {
        if (action->text() == caption) {
            return action->menu();
        }
    }
    return nullptr;
}

QAction* Item(const QMenu* menu, const QString& caption) {
    for (QAction* action : menu->actions()) {
        if (action->text() == caption) {
            return action;
        }
    }
    return nullptr;
}

void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

class TextScreen : public QWidget, public Screen {
public:
    std::string formName() const override { return "frmreparti"; }
    void changeLanguage() override { ++languageChanges; }
    int languageChanges = 0;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("QOV_SCREENSHOT") != nullptr) {
            QApplication::setStyle("Fusion");  // as the station runs
        }
        folder = test::MakeTempFolder("qovgui") + "/";
        test::WriteFile(folder + "QovCom.ini",
                        "[database]\nconnectionstring=" + test::MakeTempDatabase() +
                            "\n[modem]\natdt=ATDT\natdp=ATDP\n[web1]\ncaption=Arvon\nurl=x\n");
        settings = LoadSettings(state, folder);
        window = std::make_unique<MainWindow>(station, desktop, folder);
        window->load(settings.get());
        window->resize(1000, 700);
        window->show();
        Settle();
    }

    QMenu* topMenu(const QString& caption) {
        for (QAction* action : window->menuBar()->actions()) {
            if (action->text() == caption) {
                return action->menu();
            }
        }
        return nullptr;
    }

    void click(int group, int entry) {
        QToolButton* button = window->panel()->entryButton(group, entry);
        ASSERT_NE(button, nullptr);
        button->click();
        Settle();
    }

    std::string folder;
    std::unique_ptr<cIniFile> settings;
    SharedState state;
    test::ScriptedDialogs dialogs;
    test::ScriptedLink link;
    LinkCalls calls{state, link};
    test::RecordingDatabase db;
    test::MemoryUserStore store;
    Station station{state, dialogs, calls, db, store};
    test::FakeDesktop desktop;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, MenusCarryEveryItem) {
    EXPECT_EQ(window->windowTitle().toStdString(),
              "QovCom Ver. " + VersionText() + " - Arvon Cash Registers");
    QStringList bar;
    for (QAction* action : window->menuBar()->actions()) {
        bar << action->text();
    }
    EXPECT_EQ(bar, (QStringList{"&Datoteke", "Raspored", "Pomoc"}));
    EXPECT_EQ(Captions(topMenu("&Datoteke")),
              (QStringList{"&Nova", "&Otvori", "&Sacuvaj", "Sacuvaj Pod Imenom", "&Zatvori",
                           "Sirina 32", "Stampa", "Cirilica", "Veza po postavci", "&Izlaz"}));
    EXPECT_EQ(Captions(topMenu("Raspored")),
              (QStringList{"Aktivni prozori...", "Kaskadno", "Po Horizontali", "Po Vertikali",
                           "Rasporedi ikonice"}));
    QMenu* help = topMenu("Pomoc");
    EXPECT_EQ(Captions(help), (QStringList{"Sadrzaj", "Pomoc potrazi na ...", "Korisnicka uputstva",
                                           "Dokumenta Vlade republike Srbije", "Na Internetu...",
                                           "Instalacija Cirilicnih Fontova...", "O programu..."}));
    EXPECT_EQ(Captions(SubMenu(help, "Na Internetu...")), QStringList{"Arvon"});
    EXPECT_EQ(Captions(SubMenu(help, "Korisnicka uputstva")), QStringList{"(nema)"});
    EXPECT_EQ(Captions(SubMenu(help, "Dokumenta Vlade republike Srbije")), QStringList{"(nema)"});

    QMenu* file = topMenu("&Datoteke");
    EXPECT_TRUE(Item(file, "Cirilica")->isChecked());
    EXPECT_FALSE(Item(file, "Sirina 32")->isChecked());
    Item(file, "Sirina 32")->trigger();
    EXPECT_TRUE(Item(file, "Sirina 32")->isChecked());
    EXPECT_EQ(state.LineWidth, 32);
    Item(file, "Veza po postavci")->trigger();
    EXPECT_EQ(link.textsOf("send_data"),
              std::vector<std::string>{std::string("4817203956148\x03")});
}

TEST_F(MainWindowTest, TheNavigationPanelHasThreeGroupsAndTwentyTwoEntries) {
    NavigationPanel* panel = window->panel();
    EXPECT_EQ(panel->title(), "Meni");
    auto* groups = panel->findChild<QToolBox*>();
    ASSERT_NE(groups, nullptr);
    ASSERT_EQ(groups->count(), 3);
    EXPECT_EQ(groups->itemText(0), "Programski Podaci");
    EXPECT_EQ(groups->itemText(1), "Komunikacija");
    EXPECT_EQ(groups->itemText(2), "Prodajnost");
    const std::vector<QStringList> expected{
        {"Zaglavlje Isecka", "Odeljenja", "Artikli", "Kasiri", "Opsti Podaci", "Valute",
         "Reklamna Poruka", "Jedinice Mere", "Tipovi Artikala"},
        {"Konekcija", "Provera Veze", "Slanje Grafickog Loga", "Slanje Podataka", "Prijem Podataka",
         "Citanje Fiskalne Memorije", "Citanje Programa", "Emulacija Tastature"},
        {"Artikli", "Prodati Artikli", "Odeljenja", "Kasiri", "Poreske Stope"}};
    int total = 0;
    for (int g = 0; g < 3; ++g) {
        QStringList captions;
        for (QToolButton* b : groups->widget(g)->findChildren<QToolButton*>()) {
            captions << b->text();
        }
        EXPECT_EQ(captions, expected[static_cast<std::size_t>(g)]);
        total += static_cast<int>(captions.size());
    }
    EXPECT_EQ(total, 22);
}

TEST_F(MainWindowTest, KonekcijaOpensTheLineScreenBesideThePanel) {
    click(2, 1);
    const auto subs = window->mdiArea()->subWindowList();
    ASSERT_EQ(subs.size(), 1);
    auto* screen = qobject_cast<ComLineScreen*>(subs[0]->widget());
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(subs[0]->windowTitle(), "Komunikacija");
    EXPECT_EQ(subs[0]->pos(), QPoint(0, 0));
    EXPECT_EQ(state.CurrentForm, "frmcomline");
    EXPECT_EQ(window->logic().openWindows(), (std::vector<int>{0, 1, 2}));
    if (const char* shot = std::getenv("QOV_SCREENSHOT"); shot != nullptr && *shot != '\0') {
        window->grab().save(shot);
    }

    // An entry whose screen comes later closes this one and opens nothing.
    click(1, 1);
    EXPECT_TRUE(window->mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(window->logic().openWindows(), (std::vector<int>{0, 1}));
}

TEST_F(MainWindowTest, AnnullaClosesTheLineScreen) {
    click(2, 1);
    auto* screen = qobject_cast<ComLineScreen*>(window->mdiArea()->subWindowList()[0]->widget());
    screen->pressToolbar("Annulla");
    Settle();
    EXPECT_TRUE(window->mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(window->logic().openWindows(), (std::vector<int>{0, 1}));
    EXPECT_EQ(state.CurrentForm, " ");
}

TEST_F(MainWindowTest, OtvoriLoadsAProgramFileSetsTheChecksReloadsTheLineScreenAndReopensTheLine) {
    click(2, 1);
    const std::string file = folder + "kasa.ini";
    test::WriteFile(file,
                    "[QOVCOM]\r\nVERSION=QKRTNWZA480213\r\n[SETPORT]\r\nPORT=4\r\nSPEED=38400\r\n"
                    "[SETLNG]\r\nLNG=False\r\n[SETWDTH]\r\nWDTH=32\r\n"
                    "[SETPHONE]\r\nPHONENM=0117\r\nPHONEPT=ATDT\r\nPHONEPSS=pss\r\n");
    dialogs.openWith(file);
    link.calls.clear();
    link.expect("Init_RS232bd", "4", 0);
    Item(topMenu("&Datoteke"), "&Otvori")->trigger();

    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"OK"}));
    EXPECT_EQ(state.ProgramFilePath, file);
    QMenu* menu = topMenu("&Datoteke");
    EXPECT_FALSE(Item(menu, "Cirilica")->isChecked());
    EXPECT_TRUE(Item(menu, "Sirina 32")->isChecked());
    EXPECT_FALSE(state.CyrillicMode);
    EXPECT_EQ(link.calls.front().op, "Close_RS232");
    EXPECT_EQ(link.calls.back().arg, 38400);

    // The open line screen shows the loaded set-up.
    QWidget* screen = window->mdiArea()->subWindowList()[0]->widget();
    EXPECT_EQ(screen->findChild<QComboBox*>("cboPort")->currentText(), "Com4");
    EXPECT_EQ(screen->findChild<QComboBox*>("cboSpeed")->currentText(), "38400 bps");
    EXPECT_EQ(screen->findChild<QLineEdit*>("PhoneNumber")->text(), "0117");
    EXPECT_EQ(screen->findChild<QLineEdit*>("Password")->text(), "pss");
}

TEST_F(MainWindowTest, RegisteredScreensOpenAndFollowTheCyrillicSwitch) {
    TextScreen* made = nullptr;
    window->registerScreen(1, 2, [&made] { return made = new TextScreen; });
    click(1, 2);
    ASSERT_NE(made, nullptr);
    state.CurrentForm = "frmreparti";
    Item(topMenu("&Datoteke"), "Cirilica")->trigger();
    EXPECT_EQ(made->languageChanges, 1);
    EXPECT_FALSE(Item(topMenu("&Datoteke"), "Cirilica")->isChecked());
    EXPECT_FALSE(state.CyrillicMode);
}

TEST_F(MainWindowTest, ThePanelStaysAtTheTopLeftAndTheScreensAreaTakesTheRest) {
    window->resize(1100, 760);
    Settle();
    const QWidget* panel = window->panel();
    const QWidget* client = window->centralWidget();
    EXPECT_EQ(panel->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(panel->height(), client->height());
    EXPECT_EQ(panel->width(), panel->sizeHint().width());
    EXPECT_EQ(window->mdiArea()->geometry(),
              QRect(panel->width(), 0, client->width() - panel->width(), client->height()));

    // "Zatvori" with no screen open closes the panel; the screens' area then fills the window.
    Item(topMenu("&Datoteke"), "&Zatvori")->trigger();
    Settle();
    EXPECT_TRUE(panel->isHidden());
    EXPECT_EQ(window->mdiArea()->geometry(), client->rect());
}

TEST_F(MainWindowTest, ARightClickOnTheFreeAreaPopsUpTheFileMenu) {
    QWidget* viewport = window->mdiArea()->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20),
                            viewport->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(viewport, &event);
    EXPECT_TRUE(window->fileMenu()->isVisible());
    window->fileMenu()->hide();
}

TEST_F(MainWindowTest, TheStoredPlacementIsAppliedInPixelsUnlessTheWindowWasMaximised) {
    store.set("QovCom", "Settings", "MainLeft", "1500");
    store.set("QovCom", "Settings", "MainTop", "3000");
    store.set("QovCom", "Settings", "MainWidth", "15000");
    store.set("QovCom", "Settings", "MainHeight", "9000");
    MainWindow normal(station, desktop, folder);
    normal.load(settings.get());
    EXPECT_EQ(normal.pos(), QPoint(100, 200));
    EXPECT_EQ(normal.size(), QSize(1000, 600));
    EXPECT_FALSE(normal.isMaximized());

    // A place on a screen that is not there: the window comes back onto the screen.
    store.set("QovCom", "Settings", "MainLeft", "900000");
    MainWindow lost(station, desktop, folder);
    lost.load(settings.get());
    EXPECT_NE(QGuiApplication::screenAt(lost.pos() + QPoint(20, 20)), nullptr);

    store.set("QovCom", "Settings", "windowstate", "2");
    MainWindow maximised(station, desktop, folder);
    maximised.load(settings.get());
    EXPECT_TRUE(maximised.windowState() & Qt::WindowMaximized);
    EXPECT_NE(maximised.pos(), QPoint(100, 200));
}

TEST_F(MainWindowTest, ClosingStoresThePlacementInTwipsAndClosesTheLine) {
    window->close();
    EXPECT_EQ(store.values["QovCom/Settings/MainWidth"], std::to_string(window->width() * 15));
    EXPECT_EQ(store.values["QovCom/Settings/MainHeight"], std::to_string(window->height() * 15));
    EXPECT_EQ(store.values["QovCom/Settings/windowstate"], "0");
    EXPECT_EQ(link.calls.back().op, "Close_RS232");
}

TEST_F(MainWindowTest, TheAboutBoxShowsTheVersionSitsCentredAndOffersSystemInformation) {
    state.CurrentForm = "frmcomline";
    AboutBox box(window->logic(), window.get());
    EXPECT_EQ(state.CurrentForm, "ne");
    auto* version = box.findChild<QLabel*>("lblVersion");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text().toStdString(), "Version " + VersionText());
    EXPECT_EQ(box.findChild<QLabel*>("lblTitle")->text(), "QovCom");
    const QRect screen = box.screen()->geometry();
    EXPECT_LE((box.geometry().center() - screen.center()).manhattanLength(), 2);

    auto* info = box.findChild<QPushButton*>("cmdSysInfo");
    ASSERT_NE(info, nullptr);
    info->click();
    EXPECT_EQ(desktop.systemInfoStarts, 1);
    EXPECT_EQ(dialogs.texts(),
              (std::vector<std::string>{"Sistemske informacije trenutno nisu dostupne"}));
    if (const char* shot = std::getenv("QOV_SCREENSHOT_ABOUT"); shot != nullptr && *shot) {
        box.show();
        box.grab().save(shot);
    }
}

TEST(DisplayFont, TheBundledCyrillicFontLoadsUnderItsOwnFamilyName) {
    // Neither the folder nor the test program's folder holds the font.
    EXPECT_EQ(LoadDisplayFont(test::MakeTempFolder("qovnofont")), "");
    EXPECT_EQ(LoadDisplayFont(QOV_BIN_DIR), "Helvetica Ciril");
    EXPECT_TRUE(QFontDatabase::families().contains("Helvetica Ciril"));
    const QFont font("Helvetica Ciril");
    EXPECT_EQ(QFontInfo(font).family(), "Helvetica Ciril");
}

}  // namespace
}  // namespace qov
