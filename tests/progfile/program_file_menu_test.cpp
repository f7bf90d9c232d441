#include "progfile/program_file_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scripted_dialogs.h"
#include "support/scripted_link.h"
#include "support/test_environment.h"

namespace qov {
namespace {

using test::ReadFile;
using Texts = std::vector<std::string>;

constexpr const char* kValidFile =
    "[QOVCOM]\r\nVERSION=QKRTNWZA480213\r\n[VAT]\r\nTAX_1=1800\r\n"
    "[SETPORT]\r\nPORT=3\r\nSPEED=19200\r\n[SETLNG]\r\nLNG=False\r\n[SETWDTH]\r\nWDTH=32\r\n";

class ProgramFileMenuTest : public ::testing::Test {
protected:
    ProgramFileMenuTest() {
        menu.reloadScreen = [this](const std::string& form) { reloaded.push_back(form); };
        menu.closeLastScreen = [this] { return openScreens > 0 && openScreens-- > 0; };
    }

    std::string folder = test::MakeTempFolder("qovmenu");
    SharedState state;
    test::ScriptedDialogs dialogs;
    test::ScriptedLink link;
    ProgramFileMenu menu{state, dialogs, link, folder};
    Texts reloaded;
    int openScreens = 0;
};

TEST_F(ProgramFileMenuTest, OtvoriLoadsSetsTheChecksReloadsTheTableScreenAndReopensTheLine) {
    struct Case {
        const char* file;  // nullptr: the dialog is cancelled
        int lineResult;    // of Init_RS232bd; -1: the line is not reopened
        const char* form;
        Texts boxes;
        bool reloads;
        bool cyrillicChecked;  // the checks follow a loaded file; the mode the "Cirilica" check
        bool width32Checked;
        bool cyrillicMode;
    };
    const Case cases[] = {
        {nullptr, -1, "frmreparti", {}, false, true, false, false},
        {kValidFile, 0, "frmreparti", {"OK"}, true, false, true, false},
        {kValidFile,
         2,
         "frmPlu",
         {"Komunikaciona linija nije dostupna"},
         false,
         false,
         true,
         false},
        {"[QOVCOM]\r\nVERSION=1\r\n[SETWDTH]\r\nWDTH=32\r\n[SETLNG]\r\nLNG=0\r\n",
         -1,
         "frmreparti",
         {"Fajl nije validan"},
         false,
         true,
         false,
         true},
        {"[QOVCOM]\r\nVERSION=QKRTNWZA480213\r\n[SETPORT]\r\nPORT=x\r\n",
         -1,
         "frmreparti",
         {"Type mismatch"},
         false,
         true,
         false,
         true},
    };
    const std::string path = folder + "/shop.ini";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.boxes.empty() ? "cancelled" : c.boxes[0]);
        dialogs.clear();
        link.calls.clear();
        reloaded.clear();
        menu.cyrillicChecked = true;
        menu.width32Checked = false;
        state.CyrillicMode = false;
        state.CurrentForm = c.form;
        if (c.file != nullptr) {
            test::WriteFile(path, c.file);
            dialogs.openWith(path);
        }
        if (c.lineResult >= 0) {
            link.expect("Init_RS232bd", "3", c.lineResult);
        }
        menu.onOpen();
        EXPECT_EQ(state.ProgramFilePath, c.file != nullptr ? path : "");
        EXPECT_EQ(dialogs.texts(), c.boxes);
        EXPECT_EQ(reloaded, c.reloads ? Texts{c.form} : Texts{});
        EXPECT_EQ(menu.cyrillicChecked, c.cyrillicChecked);
        EXPECT_EQ(menu.width32Checked, c.width32Checked);
        EXPECT_EQ(state.CyrillicMode, c.cyrillicMode);
        ASSERT_EQ(link.calls.size(), c.lineResult >= 0 ? 2u : 0u);
        if (c.lineResult >= 0) {
            EXPECT_EQ(link.calls[0].op, "Close_RS232");
            EXPECT_EQ(link.calls[1].arg, 19200);
            EXPECT_EQ(dialogs.last().title, "Arvon Cash Registers");
        }
    }
    // The dialog starts in the program folder with the name chosen last.
    const FileDialog& first = dialogs.openDialogs[0];
    EXPECT_EQ(first.title + "|" + first.folder + "|" + first.filter + "|" + first.fileName,
              "Open|" + folder + "|All Files (*.ini)|*.ini|");
    EXPECT_EQ(dialogs.openDialogs[4].fileName, path);
}

TEST_F(ProgramFileMenuTest, SacuvajAsksForANameOnlyWhileThereIsNoneSacuvajPodImenomAlways) {
    menu.onSave();  // cancelled
    EXPECT_EQ(state.ProgramFilePath, "");
    const std::string path = folder + "/new.ini";
    dialogs.saveWith(path);
    state.OperatorTable[31].name = "Kasir31";
    menu.onSave();
    state.OperatorTable[31].name = "Zorka";
    menu.onSave();  // with a name: written again without asking
    ASSERT_EQ(dialogs.saveDialogs.size(), 2u);
    const FileDialog& asked = dialogs.saveDialogs[1];
    EXPECT_EQ(asked.title + "|" + asked.folder + "|" + asked.filter + "|" + asked.fileName,
              "Save As|" + folder + "|All Files (*.INI)|*.INI|");
    EXPECT_EQ(state.ProgramFilePath, path);
    EXPECT_NE(ReadFile(path).find("NAME_31=Zorka\r\n"), std::string::npos);

    const std::string copy = folder + "/copy.ini";
    dialogs.saveWith(copy);
    menu.onSaveAs();
    menu.onSaveAs();  // cancelled: the name stays forgotten
    ASSERT_EQ(dialogs.saveDialogs.size(), 4u);
    EXPECT_EQ(dialogs.saveDialogs[2].fileName, path);
    EXPECT_EQ(dialogs.saveDialogs[3].fileName, copy);
    EXPECT_NE(ReadFile(copy).find("NAME_31=Zorka\r\n"), std::string::npos);
    EXPECT_EQ(state.ProgramFilePath, "");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ProgramFileMenuTest, ZatvoriClosesTheScreensFirstThenForgetsTheFile) {
    openScreens = 2;
    state.ProgramFilePath = "/x/shop.ini";
    menu.newEnabled = false;
    menu.openEnabled = false;
    for (int i = 0; i < 2; ++i) {
        menu.onClose();
        EXPECT_EQ(openScreens, 1 - i);
        EXPECT_EQ(state.ProgramFilePath, "/x/shop.ini");
        EXPECT_TRUE(menu.saveEnabled && menu.saveAsEnabled && menu.closeEnabled);
    }
    menu.onClose();
    EXPECT_EQ(state.ProgramFilePath, "");
    EXPECT_EQ(std::vector<bool>({menu.newEnabled, menu.openEnabled, menu.saveEnabled,
                                 menu.saveAsEnabled, menu.closeEnabled}),
              std::vector<bool>({true, true, false, false, false}));
}

}  // namespace
}  // namespace qov
