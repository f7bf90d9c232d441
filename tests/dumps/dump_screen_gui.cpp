// The dump screens' widgets: the keys each screen has, Text1, and a whole read stopped by
// "Prekini" or by closing the window.

#include <gtest/gtest.h>

#include <QAction>
#include <QProgressBar>
#include <QPushButton>
#include <QToolBar>

#include <functional>

#include "dumps/dump_screen.h"
#include "support/fake_station.h"
#include "support/test_environment.h"

namespace qov::dumps {
namespace {

using Texts = std::vector<std::string>;

// Dialogs whose yield lets a test act while a read runs, as a user would.
struct YieldingDialogs : test::ScriptedDialogs {
    void yield() override {
        ScriptedDialogs::yield();
        if (onYield) {
            onYield(yields);
        }
    }
    std::function<void(int)> onYield;
};

struct DumpGui : ::testing::Test {
    SharedState state;
    YieldingDialogs dialogs;
    test::ScriptedLink link;
    LinkCalls calls{state, link};
    std::unique_ptr<Database> database = CreateSqlDatabase();
    test::MemoryUserStore userStore;
    Station station{state, dialogs, calls, *database, userStore};
    std::string folder = test::MakeTempFolder("qovdumpgui");

    Texts keysAndTips(QWidget* screen) {
        Texts seen;
        for (QAction* action : screen->findChild<QToolBar*>("Toolbar2")->actions()) {
            seen.push_back(action->data().toString().toStdString() + ": " +
                           action->toolTip().toStdString());
        }
        for (const char* name : {"Start", "Command1", "Command2"}) {
            auto* button = screen->findChild<QPushButton*>(name);
            seen.push_back(std::string(name) + ": " +
                           (button ? button->text().toStdString() : std::string("-")));
        }
        return seen;
    }
};

TEST_F(DumpGui, EachScreenHasItsKeysAndTips) {
    DumpScreen fiscal(station, MemoryKind::Fiscal, folder);
    EXPECT_EQ(fiscal.windowTitle(), "Fiskalna memorija");
    EXPECT_EQ(keysAndTips(&fiscal),
              Texts({"prvi: Citalje prvog bloka fiskalne memorije",
                     "sledeci: Citalje sledeceg bloka fiskalne memorije",
                     "sve: Citalje cele fiskalne memorije", "esci: Zatvaranje forme",
                     "Start: Citaj Prvi Blok", "Command1: Citaj Sledeci", "Command2: Citaj Sve"}));
    DumpScreen program(station, MemoryKind::Program, folder);
    EXPECT_EQ(program.windowTitle(), "Programska memorija");
    EXPECT_EQ(keysAndTips(&program),
              Texts({"prvi: Citanje prvog bloka programske memorije",
                     "sve: Citanje programske memorije", "esci: Zatvaranje forme",
                     "Start: Citaj Prvi Blok", "Command1: -", "Command2: Citaj Sve"}));
}

// "Prekini" pressed, or the window closed, in the yield before block 3: the read stops there;
// the close waits for that and then takes place.
TEST_F(DumpGui, AWholeReadStopsOnPrekiniOrWhenTheWindowCloses) {
    for (const bool closeWindow : {false, true}) {
        DumpScreen screen(station, MemoryKind::Program, folder);
        screen.show();
        auto* stop = screen.findChild<QPushButton*>("Prekini");
        bool enabledWhileRunning = false;
        dialogs.yields = 0;
        dialogs.onYield = [&](int yields) {
            if (yields == 5) {
                enabledWhileRunning = stop->isEnabled();
                closeWindow ? (void)screen.close() : stop->click();
            }
        };
        link.defaultRequest = 36;
        screen.findChild<QPushButton*>("Command2")->click();
        dialogs.onYield = nullptr;
        EXPECT_TRUE(enabledWhileRunning);
        EXPECT_EQ(screen.logic().outcome().linesWritten, 2);
        EXPECT_EQ(screen.findChild<QProgressBar*>("Progress")->value(), 2);
        EXPECT_FALSE(stop->isEnabled());
        EXPECT_EQ(screen.shownText().toStdString(),
                  "Prijem prekinut, procitano blokova: 2 od 16384");
        EXPECT_EQ(screen.isVisible(), !closeWindow) << closeWindow;
    }
}

}  // namespace
}  // namespace qov::dumps
