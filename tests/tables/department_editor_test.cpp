#include <string>

#include "table_fixture.h"
#include "tables/department_editor.h"
#include "tables/departments.h"

namespace qov::test {
namespace {

using tables::DepartmentEditor;

struct EditorTest : TableFixture {
    DepartmentEditor editor{station};
    DepartmentRecord& dept(int n) { return state.DepartmentTable[n]; }
};

TEST_F(EditorTest, OpeningFillsDefaultsInTheScriptOfTheMode) {
    state.CyrillicMode = false;
    dept(3).description = "";
    dept(4).description = "Odeqewe  4";
    dept(5).description = "Odeqewe Wiva";
    dept(6).description = "Wiva";
    dept(7).description = "   ";

    editor.open();

    EXPECT_EQ(state.CurrentForm, "frmreparti");
    EXPECT_EQ(dept(3).description, "Odeljenje  3");
    EXPECT_EQ(dept(4).description, "Odeljenje  4");
    EXPECT_EQ(dept(5).description, "Odeljenje Wiva");  // only the word is replaced
    EXPECT_EQ(dept(6).description, "Njiva");
    EXPECT_EQ(dept(7).description, "   ");  // not exactly empty: no default
    ASSERT_EQ(editor.lines().size(), 10u);
    EXPECT_EQ(editor.lines()[2], "3 - Odeljenje  3");
    EXPECT_EQ(editor.lines()[6], "7 - ");
    EXPECT_EQ(editor.fontName(), "Courier New");
}

TEST_F(EditorTest, CyrillicModeDefaultsAndPacking) {
    state.CyrillicMode = true;
    dept(1).description = "";
    dept(10).description = "";
    dept(2).description = "Odeljenje 2 Odeljenje";
    dept(3).description = "Njiva";
    editor.open();
    EXPECT_EQ(dept(1).description, "Odeqewe  1");
    EXPECT_EQ(dept(10).description, "Odeqewe  10");
    EXPECT_EQ(dept(2).description, "Odeqewe 2 Odeqewe");
    EXPECT_EQ(dept(3).description, "Wiva");
    EXPECT_EQ(editor.lines()[9], "10 - Odeqewe  10");
    EXPECT_EQ(editor.fontName(), "Helvetica Ciril");
}

TEST_F(EditorTest, AfterOpeningEveryDepartmentIsSent) {
    latin();
    for (auto& d : state.DepartmentTable) {
        d.description.clear();
    }
    editor.open();
    EXPECT_TRUE(tables::invia_rep(ctx));
    EXPECT_EQ(link.count("send_frame"), 10);
    EXPECT_EQ(link.textsOf("send_frame")[2], "R02Odeljenje  300000000");
}

TEST_F(EditorTest, SelectingALineShowsItInThePanel) {
    latin();
    dept(2).description = "Sok  sa  ledom";
    dept(2).maxPrice = "00000250";
    dept(2).vatRate = "3";
    dept(2).autoClose = "1";
    editor.open();
    editor.selectLine(1);
    EXPECT_TRUE(editor.panelVisible());
    EXPECT_EQ(editor.description, "Sok sa ledom");
    EXPECT_EQ(editor.maxPrice, "00000250");
    EXPECT_EQ(editor.vatRate, "3");
    EXPECT_TRUE(editor.autoClose);
    editor.escapeInList();
    EXPECT_FALSE(editor.panelVisible());
    EXPECT_EQ(editor.description, "");
    EXPECT_EQ(editor.maxPrice, "");
}

// The price check of "aggiorna", table-driven.
struct PriceCase {
    std::string typed;
    bool accepted;
    std::string stored;
};

class PriceCheckTest : public EditorTest, public ::testing::WithParamInterface<PriceCase> {};

TEST_P(PriceCheckTest, AggiornaChecksThePrice) {
    const PriceCase& c = GetParam();
    latin();
    dept(4).maxPrice = "00000001";
    editor.open();
    editor.selectLine(3);
    editor.description = "Voce";
    editor.maxPrice = c.typed;
    editor.vatRate = "2";
    editor.autoClose = true;

    editor.onToolbar("aggiorna");

    EXPECT_FALSE(editor.panelVisible());
    EXPECT_EQ(dept(4).maxPrice, c.stored);
    if (c.accepted) {
        EXPECT_TRUE(dialogs.boxes.empty());
        EXPECT_EQ(dept(4).description, "Voce        ");
        EXPECT_EQ(dept(4).vatRate, "2");
        EXPECT_EQ(dept(4).autoClose, "1");
        EXPECT_EQ(editor.lines()[3], "4 - Voce");
    } else {
        EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Vrednosti nisu korektne"});
        EXPECT_EQ(dept(4).vatRate, "0");
        EXPECT_EQ(dept(4).description, "Voce");  // the check writes the name unpadded
    }
}

INSTANTIATE_TEST_SUITE_P(
    Prices, PriceCheckTest,
    ::testing::Values(PriceCase{"250.7", true, "00000250"}, PriceCase{"250", true, "00000250"},
                      PriceCase{" 42 ", true, "00000042"}, PriceCase{"", true, "        "},
                      PriceCase{"12345678", true, "12345678"}, PriceCase{"abc", false, "00000001"},
                      PriceCase{"12a", false, "00000001"}, PriceCase{"1,5", false, "00000001"}));

TEST_F(EditorTest, EmptyPriceIsSentAsEightZeros) {
    latin();
    editor.open();
    editor.selectLine(0);
    editor.description = "Hleb";
    editor.maxPrice = "";
    editor.onToolbar("aggiorna");
    link.expect("send_frame", "R00Hleb        00000000", 0);
    EXPECT_TRUE(tables::invia_rep(ctx));
}

TEST_F(EditorTest, AggiornaWithoutSelectionSaysSo) {
    latin();
    editor.open();
    editor.onToolbar("nuovo");
    EXPECT_TRUE(editor.panelVisible());
    editor.description = "Novo";
    const auto before = state.DepartmentTable;
    editor.onToolbar("aggiorna");
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Niste odabrali odeljenje."});
    for (int n = 1; n <= 10; ++n) {
        EXPECT_EQ(dept(n).description, before[n].description);
    }
}

TEST_F(EditorTest, AfterAggiornaTheListHasNoSelection) {
    latin();
    editor.open();
    editor.selectLine(1);
    editor.description = "Prvo";
    editor.onToolbar("aggiorna");
    EXPECT_EQ(editor.selected(), -1);
    editor.onToolbar("nuovo");
    editor.description = "Drugo";
    editor.onToolbar("aggiorna");
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Niste odabrali odeljenje."});
    EXPECT_EQ(dept(2).description, "Prvo        ");
}

TEST_F(EditorTest, AggiornaDoesNothingWhileThePanelIsHidden) {
    latin();
    editor.open();
    editor.selectLine(0);
    editor.escapeInList();
    editor.description = "X";
    editor.onToolbar("aggiorna");
    EXPECT_EQ(dept(1).description, "Odeljenje  1");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(EditorTest, InserisciWithTenLinesIsMaksimalanBroj) {
    latin();
    editor.open();
    editor.selectLine(5);
    editor.onToolbar("nuovo");
    editor.description = "Jedanaesto";
    editor.maxPrice = "5";

    editor.onToolbar("inserisci");

    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Maksimalan broj");
    EXPECT_EQ(dialogs.boxes[0].title, "Arvon Cash Registers");
    EXPECT_EQ(dialogs.boxes[0].icon, Icon::Exclamation);
    EXPECT_EQ(editor.lines().size(), 10u);
    EXPECT_FALSE(editor.panelVisible());
    EXPECT_EQ(dept(6).maxPrice, "");
}

TEST_F(EditorTest, AfterSvuotaNewDepartmentsFillFromOne) {
    latin();
    dept(2).salesValue = "777";
    editor.open();
    dialogs.answer(Answer::Yes);
    editor.onToolbar("svuota");
    EXPECT_EQ(dialogs.last().text, "Da li ste sigurni?");
    EXPECT_EQ(dialogs.last().buttons, Buttons::YesNo);
    EXPECT_TRUE(editor.lines().empty());
    for (int n = 0; n <= 10; ++n) {
        EXPECT_EQ(dept(n).description, "");
        EXPECT_EQ(dept(n).maxPrice, "");
        EXPECT_EQ(dept(n).vatRate, "0");
        EXPECT_EQ(dept(n).autoClose, "0");
    }
    EXPECT_EQ(dept(2).salesValue, "777");

    dialogs.clear();
    for (const char* name : {"Prvo", "Drugo"}) {
        editor.onToolbar("nuovo");
        editor.description = name;
        editor.maxPrice = "10";
        editor.vatRate = "1";
        editor.onToolbar("inserisci");
    }
    EXPECT_EQ(editor.lines(), (std::vector<std::string>{"1 - Prvo", "2 - Drugo"}));
    EXPECT_EQ(dept(1).description, "Prvo        ");
    EXPECT_EQ(dept(2).description, "Drugo       ");
    EXPECT_EQ(dept(2).maxPrice, "00000010");
    EXPECT_EQ(dept(2).vatRate, "1");
    EXPECT_EQ(dept(3).description, "");
    // Nothing selected: the check says so each time, the department is still appended.
    EXPECT_EQ(dialogs.texts(),
              (std::vector<std::string>{"Niste odabrali odeljenje.", "Niste odabrali odeljenje."}));
}

TEST_F(EditorTest, SvuotaAnsweredNoChangesNothing) {
    latin();
    editor.open();
    dialogs.answer(Answer::No);
    editor.onToolbar("svuota");
    EXPECT_EQ(editor.lines().size(), 10u);
    EXPECT_EQ(dept(1).description, "Odeljenje  1");
}

TEST_F(EditorTest, EliminaClearsTheSelectedDepartment) {
    latin();
    dept(3).description = "Pice       ";
    dept(3).maxPrice = "00000099";
    dept(3).vatRate = "4";
    dept(3).autoClose = "1";
    editor.open();
    editor.selectLine(2);

    dialogs.answer(Answer::No);
    editor.onToolbar("elimina");
    EXPECT_EQ(dept(3).maxPrice, "00000099");

    dialogs.answer(Answer::Yes);
    editor.onToolbar("elimina");
    EXPECT_EQ(dialogs.last().text, "Dali ste sigurni?");
    EXPECT_EQ(dialogs.last().icon, Icon::Exclamation);
    EXPECT_FALSE(editor.panelVisible());
    EXPECT_EQ(dept(3).description, "Odeljenje  3");  // the reload gives it its default
    EXPECT_EQ(dept(3).maxPrice, "");
    EXPECT_EQ(dept(3).vatRate, "0");
    EXPECT_EQ(dept(3).autoClose, "0");
    EXPECT_EQ(editor.description, "");
}

TEST_F(EditorTest, EnterInTheDescriptionAsksAndUpdates) {
    latin();
    editor.open();
    editor.selectLine(0);
    editor.description = "Novo ime";

    dialogs.answer(Answer::No);
    editor.descriptionEnter();
    EXPECT_EQ(dialogs.last().text, "Da li zelite da azurirate vrednost?");
    EXPECT_EQ(dialogs.last().title, "Azuriranje vrednosti");
    EXPECT_EQ(dialogs.last().buttons, Buttons::YesNo);
    EXPECT_EQ(dept(1).description, "Odeljenje  1");

    dialogs.answer(Answer::Yes);
    editor.descriptionEnter();
    EXPECT_EQ(dept(1).description, "Novo ime    ");
}

TEST_F(EditorTest, VatRateOutsideZeroToFourIsReportedAndKept) {
    editor.open();
    for (const char* value : {"0", "4", "2", "", "x"}) {
        editor.vatRate = value;
        editor.vatRateLeft();
    }
    EXPECT_TRUE(dialogs.boxes.empty());
    for (const char* value : {"5", "-1", "4.5"}) {
        editor.vatRate = value;
        editor.vatRateLeft();
        EXPECT_EQ(editor.vatRate, value);
    }
    EXPECT_EQ(dialogs.texts(),
              (std::vector<std::string>{"Poreska stopa ne postoji!", "Poreska stopa ne postoji!",
                                        "Poreska stopa ne postoji!"}));
    EXPECT_EQ(dialogs.last().icon, Icon::Exclamation);
}

TEST_F(EditorTest, Check1TurnsTheNamesIntoRegisterText) {
    state.CyrillicMode = false;
    editor.open();
    state.tableCyrillic(CyrTable::Departments) = false;
    dept(1).description = "PI]E";
    editor.setCheck1(true);
    EXPECT_TRUE(state.tableCyrillic(CyrTable::Departments));
    EXPECT_EQ(dept(1).description, Reg({191, 184, 171, 181}));
    EXPECT_EQ(editor.fontName(), "Helvetica Ciril");
}

TEST_F(EditorTest, DoChangeLangConvertsListAndField) {
    state.CyrillicMode = true;
    dept(1).description = "Wiva";
    editor.open();
    editor.selectLine(0);
    EXPECT_EQ(editor.description, "Wiva");
    state.CyrillicMode = false;
    editor.DoChangeLang();
    EXPECT_EQ(editor.lines()[0], "1 - Njiva");
    EXPECT_EQ(editor.description, "Njiva");
    EXPECT_EQ(editor.fontName(), "Courier New");
    EXPECT_EQ(dept(1).description, "Wiva");  // the table is converted when it is reloaded
}

TEST_F(EditorTest, EsciClearsTheCurrentForm) {
    editor.open();
    EXPECT_TRUE(editor.onToolbar("esci"));
    EXPECT_EQ(state.CurrentForm, " ");
}

}  // namespace
}  // namespace qov::test
