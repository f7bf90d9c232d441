#include "progfile/program_file_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "progfile/program_file.h"
#include "progfile/state_snapshot.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_link.h"
#include "support/test_environment.h"

namespace qov {
namespace {

using test::ReadFile;
using test::ScriptedDialogs;
using test::ScriptedLink;
using test::WriteFile;

const std::string kValidFile =
    "[QOVCOM]\r\nVERSION=QKRTNWZA480213\r\n[VAT]\r\nTAX_1=1800\r\n"
    "[SETPORT]\r\nPORT=3\r\nSPEED=19200\r\n[SETLNG]\r\nLNG=False\r\n[SETWDTH]\r\nWDTH=32\r\n";

class ProgramFileMenuTest : public ::testing::Test {
protected:
    ProgramFileMenuTest() {
        menu.reloadScreen = [this](const std::string& form) { reloaded.push_back(form); };
        menu.changeLanguage = [this](const std::string& form) { languageChanged.push_back(form); };
        menu.changeLineWidth = [this](const std::string& form) { widthChanged.push_back(form); };
        menu.closeLastScreen = [this] {
            if (openScreens == 0)
                return false;
            --openScreens;
            return true;
        };
    }

    std::string file(const std::string& name, const std::string& content) {
        const std::string path = folder + "/" + name;
        WriteFile(path, content);
        return path;
    }

    std::vector<std::string> linkOps() const {
        std::vector<std::string> ops;
        for (const auto& call : link.calls)
            ops.push_back(call.op);
        return ops;
    }

    std::string folder = test::MakeTempFolder("qovmenu");
    SharedState state;
    ScriptedDialogs dialogs;
    ScriptedLink link;
    ProgramFileMenu menu{state, dialogs, link, folder};
    std::vector<std::string> reloaded;
    std::vector<std::string> languageChanged;
    std::vector<std::string> widthChanged;
    int openScreens = 0;
};

TEST_F(ProgramFileMenuTest, OpenCancelledDoesNothing) {
    state.CyrillicMode = false;  // not a load attempt: the mode stays
    menu.onOpen();
    ASSERT_EQ(dialogs.openDialogs.size(), 1u);
    EXPECT_EQ(dialogs.openDialogs[0].title, "Open");
    EXPECT_EQ(dialogs.openDialogs[0].folder, folder);
    EXPECT_EQ(dialogs.openDialogs[0].filter, "All Files (*.ini)|*.ini");
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_TRUE(link.calls.empty());
    EXPECT_EQ(state.ProgramFilePath, "");
    EXPECT_FALSE(state.CyrillicMode);
}

TEST_F(ProgramFileMenuTest, OpenValidFileSetsChecksReloadsAndReopensTheLine) {
    const std::string path = file("shop.ini", kValidFile);
    dialogs.openWith(path);
    state.CurrentForm = "frmreparti";
    link.expect("Init_RS232bd", "3", 0);

    menu.onOpen();

    EXPECT_EQ(state.ProgramFilePath, path);
    EXPECT_EQ(state.VatTable[1].rate, "1800");
    EXPECT_FALSE(menu.cyrillicChecked);
    EXPECT_TRUE(menu.width32Checked);
    EXPECT_FALSE(state.CyrillicMode);
    EXPECT_EQ(reloaded, std::vector<std::string>{"frmreparti"});
    EXPECT_EQ(linkOps(), (std::vector<std::string>{"Close_RS232", "Init_RS232bd"}));
    EXPECT_EQ(link.calls[1].arg, 19200);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.last().text, "OK");
    EXPECT_EQ(dialogs.last().title, "Arvon Cash Registers");
    EXPECT_EQ(menu.dialogFileName(), path);
}

TEST_F(ProgramFileMenuTest, OpenWithTheLineUnavailable) {
    dialogs.openWith(file("shop.ini", kValidFile));
    link.expect("Init_RS232bd", "3", 2);
    menu.onOpen();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Komunikaciona linija nije dostupna"});
    EXPECT_EQ(dialogs.last().title, "Arvon Cash Registers");
}

TEST_F(ProgramFileMenuTest, OnlyScreensShowingTheTablesReload) {
    const std::string path = file("shop.ini", kValidFile);
    for (const char* form :
         {"frmadvertize", "frmIntestazione", "frmoperatori", "frmreparti", "frmValuta",
          "frmsistema", "frmcomline", "frmPlu", "frmunits", "frmtypes", " ", "ne", ""}) {
        dialogs.openWith(path);
        state.CurrentForm = form;
        reloaded.clear();
        menu.onOpen();
        const bool reloads = std::string(form).rfind("frm", 0) == 0 &&
                             std::string(form) != "frmPlu" && std::string(form) != "frmunits" &&
                             std::string(form) != "frmtypes";
        EXPECT_EQ(reloaded.size(), reloads ? 1u : 0u) << form;
    }
}

TEST_F(ProgramFileMenuTest, InvalidFileStillSetsTheModeFromTheCheck) {
    state.CyrillicMode = false;
    state.CyrillicLanguage = false;
    state.LineWidth = 22;
    const std::string before = test::ProgramFileSnapshot(state);
    dialogs.openWith(file("other.ini", "[QOVCOM]\r\nVERSION=1\r\n[SETWDTH]\r\nWDTH=32\r\n"));
    state.CurrentForm = "frmreparti";

    menu.onOpen();

    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Fajl nije validan"});
    EXPECT_TRUE(link.calls.empty());
    EXPECT_TRUE(reloaded.empty());
    EXPECT_TRUE(menu.cyrillicChecked);  // the check as it was
    EXPECT_FALSE(menu.width32Checked);
    EXPECT_TRUE(state.CyrillicMode);  // follows the check
    EXPECT_EQ(test::ProgramFileSnapshot(state), before);
}

TEST_F(ProgramFileMenuTest, FailedConversionLeavesChecksAndLineAlone) {
    menu.cyrillicChecked = false;
    state.CyrillicMode = true;
    dialogs.openWith(
        file("bad.ini", "[QOVCOM]\r\nVERSION=QKRTNWZA480213\r\n[SETPORT]\r\nPORT=x\r\n"));
    menu.onOpen();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Type mismatch"});
    EXPECT_TRUE(link.calls.empty());
    EXPECT_FALSE(state.CyrillicMode);
}

TEST_F(ProgramFileMenuTest, SaveWithoutANameAsksForOne) {
    const std::string path = folder + "/new.ini";
    dialogs.saveWith(path);
    test::FillDistinct(state);
    menu.onSave();
    ASSERT_EQ(dialogs.saveDialogs.size(), 1u);
    EXPECT_EQ(dialogs.saveDialogs[0].title, "Save As");
    EXPECT_EQ(dialogs.saveDialogs[0].folder, folder);
    EXPECT_EQ(dialogs.saveDialogs[0].filter, "All Files (*.INI)|*.INI");
    EXPECT_EQ(dialogs.saveDialogs[0].fileName, "");
    EXPECT_EQ(state.ProgramFilePath, path);
    EXPECT_NE(ReadFile(path).find("NAME_31=Kasir@31\r\n"), std::string::npos);

    // With a name the file is written again without asking.
    state.OperatorTable[31].name = "Zorka";
    menu.onSave();
    EXPECT_EQ(dialogs.saveDialogs.size(), 1u);
    EXPECT_NE(ReadFile(path).find("NAME_31=Zorka\r\n"), std::string::npos);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ProgramFileMenuTest, SaveCancelledWritesNothing) {
    menu.onSave();
    EXPECT_EQ(dialogs.saveDialogs.size(), 1u);
    EXPECT_EQ(state.ProgramFilePath, "");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ProgramFileMenuTest, SaveAsStartsWithTheNameLastChosen) {
    const std::string opened = file("shop.ini", kValidFile);
    dialogs.openWith(opened);
    menu.onOpen();
    const std::string copy = folder + "/copy.ini";
    dialogs.saveWith(copy);
    menu.onSaveAs();
    ASSERT_EQ(dialogs.saveDialogs.size(), 1u);
    EXPECT_EQ(dialogs.saveDialogs[0].fileName, opened);
    EXPECT_EQ(state.ProgramFilePath, copy);
    EXPECT_NE(ReadFile(copy).find("TAX_1=1800\r\n"), std::string::npos);

    // Cancelled: the name stays forgotten.
    menu.onSaveAs();
    EXPECT_EQ(dialogs.saveDialogs.size(), 2u);
    EXPECT_EQ(dialogs.saveDialogs[1].fileName, copy);
    EXPECT_EQ(state.ProgramFilePath, "");
}

TEST_F(ProgramFileMenuTest, SaveFailureIsReported) {
    state.ProgramFilePath = folder + "/no/such/folder.ini";
    menu.onSave();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Path not found"});
    EXPECT_EQ(dialogs.last().title, kProgramTitle);
}

TEST_F(ProgramFileMenuTest, CloseClosesScreensFirstThenForgetsTheFile) {
    openScreens = 2;
    state.ProgramFilePath = "/x/shop.ini";
    menu.onClose();
    menu.onClose();
    EXPECT_EQ(openScreens, 0);
    EXPECT_EQ(state.ProgramFilePath, "/x/shop.ini");
    EXPECT_TRUE(menu.saveEnabled && menu.saveAsEnabled && menu.closeEnabled);

    menu.newEnabled = false;
    menu.openEnabled = false;
    menu.onClose();
    EXPECT_EQ(state.ProgramFilePath, "");
    EXPECT_FALSE(menu.saveEnabled);
    EXPECT_FALSE(menu.saveAsEnabled);
    EXPECT_FALSE(menu.closeEnabled);
    EXPECT_TRUE(menu.newEnabled);
    EXPECT_TRUE(menu.openEnabled);
}

TEST_F(ProgramFileMenuTest, CyrillicSwitch) {
    state.CyrillicLanguage = false;
    state.CurrentForm = "frmoperatori";
    menu.onCyrillicSwitch();  // off
    EXPECT_FALSE(menu.cyrillicChecked);
    EXPECT_FALSE(state.CyrillicMode);
    EXPECT_FALSE(state.CyrillicLanguage);
    menu.onCyrillicSwitch();  // on
    EXPECT_TRUE(menu.cyrillicChecked);
    EXPECT_TRUE(state.CyrillicMode);
    EXPECT_TRUE(state.CyrillicLanguage);
    EXPECT_EQ(languageChanged, (std::vector<std::string>{"frmoperatori", "frmoperatori"}));

    languageChanged.clear();
    for (const char* form : {"frmsistema", "frmcomline", "ne", " "}) {
        state.CurrentForm = form;
        menu.onCyrillicSwitch();
    }
    EXPECT_TRUE(languageChanged.empty());
    for (const char* form : {"frmPlu", "frmtrasm", "frmPluSalesSold", "frmtypes"}) {
        EXPECT_TRUE(ProgramFileMenu::FollowsCyrillicSwitch(form)) << form;
    }
}

TEST_F(ProgramFileMenuTest, WidthSwitchTwiceReturnsTo22) {
    state.CurrentForm = "frmIntestazione";
    menu.onWidthSwitch();
    EXPECT_EQ(state.LineWidth, 32);
    EXPECT_TRUE(menu.width32Checked);
    menu.onWidthSwitch();
    EXPECT_EQ(state.LineWidth, 22);
    EXPECT_FALSE(menu.width32Checked);
    EXPECT_EQ(widthChanged, (std::vector<std::string>{"frmIntestazione", "frmIntestazione"}));

    state.LineWidth = 40;  // anything but 22 becomes 22
    state.CurrentForm = "frmreparti";
    menu.onWidthSwitch();
    EXPECT_EQ(state.LineWidth, 22);
    EXPECT_EQ(widthChanged.size(), 2u);
}

}  // namespace
}  // namespace qov
