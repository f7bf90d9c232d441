// The main window on the offscreen platform: it opens with its menus and navigation panel.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QToolBox>
#include <QToolButton>

#include "support/memory_user_store.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_link.h"
#include "ui/main_window.h"
#include "ui/navigation_panel.h"
#include "ui/ui_fakes.h"

namespace qov {
namespace {

// The captions of a menu, each submenu's in brackets after its own.
QStringList Captions(const QMenu* menu) {
    QStringList out;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator())
            out << action->text();
        if (action->menu() != nullptr)
            out << "[" + Captions(action->menu()).join("|") + "]";
    }
    return out;
}

TEST(MainWindow, OtvoriLogoOpensThePictureScreenBesideThePanelAsAnOpenWindow) {
    SharedState state;
    test::ScriptedDialogs dialogs;
    test::ScriptedLink link;
    LinkCalls calls{state, link};
    const auto db = CreateSqlDatabase();
    test::MemoryUserStore store;
    Station station{state, dialogs, calls, *db, store};
    test::FakeDesktop desktop;
    MainWindow window(station, desktop, test::MakeTempFolder("qovgui") + "/");
    QAction* item = window.fileMenu()->findChild<QAction*>("mnuOtvoriLogo");
    ASSERT_NE(item, nullptr);
    item->trigger();  // no picture screen registered: nothing opens
    EXPECT_EQ(window.logic().openWindows().size(), 2u);
    int made = 0;
    window.registerLogoPicture([&made] {
        ++made;
        return new QWidget;
    });
    item->trigger();
    EXPECT_EQ(made, 1);
    EXPECT_EQ(window.logic().openWindows().size(), 3u);
    EXPECT_EQ(window.mdiArea()->subWindowList().size(), 1);

    QAction* backup = window.fileMenu()->findChild<QAction*>("mnuBackup");
    ASSERT_NE(backup, nullptr);
    EXPECT_EQ(backup->text().toStdString(), "Rezervna kopija kase...");
    backup->trigger();  // nothing registered: nothing runs
    int backups = 0;
    window.registerBackup([&backups] { ++backups; });
    backup->trigger();
    EXPECT_EQ(backups, 1);
}

TEST(MainWindow, OpensWithEveryMenuAndTheTwentyTwoNavigationEntries) {
    const std::string folder = test::MakeTempFolder("qovgui") + "/";
    test::WriteFile(folder + "QovCom.ini",
                    "[database]\nconnectionstring=" + test::MakeTempDatabase() +
                        "\n[web1]\ncaption=Arvon\nurl=x\n");
    SharedState state;
    const auto settings = LoadSettings(state, folder);
    test::ScriptedDialogs dialogs;
    test::ScriptedLink link;
    LinkCalls calls{state, link};
    const auto db = CreateSqlDatabase();
    test::MemoryUserStore store;
    Station station{state, dialogs, calls, *db, store};
    test::FakeDesktop desktop;
    MainWindow window(station, desktop, folder);
    window.load(settings.get());
    window.show();
    QApplication::processEvents();

    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(window.windowTitle().toStdString(),
              "QovCom Ver. " + VersionText() + " - Arvon Cash Registers");
    QStringList menus;
    for (const QAction* action : window.menuBar()->actions())
        menus << action->text() << Captions(action->menu());
    EXPECT_EQ(menus.join("|").toStdString(),
              "&Datoteke|&Nova|&Otvori|&Sacuvaj|Sacuvaj Pod Imenom|&Zatvori|Otvori logo...|"
              "Rezervna kopija kase...|"
              "Sirina 32|Stampa|"
              "Cirilica|Veza po postavci|&Izlaz|"
              "Raspored|Aktivni prozori...|[]|Kaskadno|Po Horizontali|Po Vertikali|"
              "Rasporedi ikonice|"
              "Pomoc|Sadrzaj|Pomoc potrazi na ...|Korisnicka uputstva|[(nema)]|"
              "Dokumenta Vlade republike Srbije|[(nema)]|Na Internetu...|[Arvon]|"
              "Instalacija Cirilicnih Fontova...|O programu...");

    EXPECT_EQ(window.panel()->title(), "Meni");
    const auto* groups = window.panel()->findChild<QToolBox*>();
    ASSERT_NE(groups, nullptr);
    QStringList entries;
    for (int g = 0; g < groups->count(); ++g) {
        entries << "[" + groups->itemText(g) + "]";
        for (const QToolButton* button : groups->widget(g)->findChildren<QToolButton*>())
            entries << button->text();
    }
    EXPECT_EQ(entries.join("|").toStdString(),
              "[Programski Podaci]|Zaglavlje Isecka|Odeljenja|Artikli|Kasiri|Opsti Podaci|Valute|"
              "Reklamna Poruka|Jedinice Mere|Tipovi Artikala|Funkcije|"
              "[Komunikacija]|Konekcija|Provera Veze|Slanje Grafickog Loga|Slanje Podataka|"
              "Prijem Podataka|Citanje Fiskalne Memorije|Citanje Programa|Emulacija Tastature|"
              "Fiskalni Izvestaji|"
              "[Prodajnost]|Artikli|Prodati Artikli|Odeljenja|Kasiri|Poreske Stope");
}

}  // namespace
}  // namespace qov
