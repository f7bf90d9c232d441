#include "tables/operator_editor.h"
#include "table_fixture.h"

namespace qov::test {
namespace {

struct OperatorEditorTest : TableFixture {
    OperatorEditorTest() { editor.open(); }
    OperatorRecord& op(int n) { return state.OperatorTable[n]; }
    std::string row(int n) { return op(n).code + "|" + op(n).name; }
    // Selects list line `line`, types code and name and presses `key`.
    void press(const std::string& key, int line, const std::string& code,
               const std::string& name = "Pera") {
        editor.selectLine(line);
        editor.code = code;
        editor.name = name;
        editor.onToolbar(key);
    }
    tables::OperatorEditor editor{station};
    const std::string refused = "Arvon Cash Registers: Kod je broj maksimalno do 99999. <info>";
};

TEST_F(OperatorEditorTest, OpeningKeepsCodedCashiersTrimmedAndGivesTheOthersTheirDefaults) {
    op(2) = {"  123", "Mika        ", "45.5", "7"};
    op(3) = {"   ", "Lost", "1", "2"};
    op(12) = {"7", "", "0", "0"};
    editor.open();
    EXPECT_EQ(row(2) + "|" + op(2).salesValue + "|" + op(2).receiptCount, "123|Mika|45.5|7");
    EXPECT_EQ(row(3) + "|" + op(3).salesValue, "3|Kasir 3|1");
    EXPECT_EQ(row(12), "7|");
    ASSERT_EQ(editor.lines().size(), 31u);
    const std::vector<std::pair<int, std::string>> lines = {
        {1, "Op.1    1    Kasir 1"},    {2, "Op.2    123    Mika"}, {9, "Op.9    9    Kasir 9"},
        {10, "Op.10   10    Kasir 10"}, {12, "Op.12   7    "},      {31, "Op.31   31    Kasir 31"}};
    for (const auto& [position, line] : lines) {
        EXPECT_EQ(editor.lines()[position - 1], line) << position;
    }
    EXPECT_EQ(state.CurrentForm, "frmoperatori");
    EXPECT_TRUE(editor.onToolbar("Esci"));
    EXPECT_EQ(state.CurrentForm, " ");
}

TEST_F(OperatorEditorTest, AggiornaStoresACodeFrom0To99999) {
    struct Case {
        const char* name;
        const char* code;
        const char* stored;
    };
    const Case cases[] = {{"zero", "0", "0|Pera"},         {"largest", "99999", "99999|Pera"},
                          {"blanks", " 12 ", "12|Pera"},   {"too big", "100000", "5|Kasir 5"},
                          {"negative", "-1", "5|Kasir 5"}, {"empty", "", "5|Kasir 5"},
                          {"letters", "12a", "5|Kasir 5"}, {"fraction", "1.5", "5|Kasir 5"}};
    for (const Case& c : cases) {
        op(5) = {"5", "Kasir 5", "", ""};
        dialogs.clear();
        press("aggiorna", 4, c.code);
        EXPECT_EQ(row(5), c.stored) << c.name;
        const bool accepted = std::string(c.stored) != "5|Kasir 5";
        EXPECT_EQ(editor.panelVisible(), !accepted) << c.name;  // open to correct the code
        EXPECT_EQ(shown(), accepted ? std::vector<std::string>{} : std::vector{refused}) << c.name;
    }
    press("aggiorna", 4, " 12 ", "Pera ");
    EXPECT_EQ(editor.lines()[4], "Op.5    12    Pera");  // trimmed by the reload
    editor.code = "77";                                  // the panel is hidden: nothing happens
    editor.onToolbar("aggiorna");
    EXPECT_EQ(row(5), "12|Pera");
}

TEST_F(OperatorEditorTest, EnterInTheNameFieldAsksBeforeUpdating) {
    editor.selectLine(0);
    editor.name = "Ana";
    dialogs.answers = {Answer::No, Answer::Yes};
    editor.nameEnter();
    EXPECT_EQ(row(1), "1|Kasir 1");
    editor.nameEnter();
    EXPECT_EQ(row(1), "1|Ana");
    EXPECT_EQ(shown(), std::vector(2, std::string("Azuriranje vrednosti: Da li zelite da azurirate "
                                                  "vrednost? [Yes/No]")));
}

TEST_F(OperatorEditorTest, InserisciAppendsAfterTheLastLineUpToPosition31) {
    press("inserisci", 0, "55", "Mika");  // 31 lines: the new line would be position 32
    EXPECT_EQ(editor.lines().size(), 32u);
    EXPECT_EQ(editor.lines().back(), "");
    EXPECT_EQ(editor.selected(), 31);
    EXPECT_EQ(shown(), std::vector<std::string>{"Arvon Cash Registers: Maksimalni broj"});
    EXPECT_EQ(row(32), "|");

    editor.svuota_op();
    EXPECT_TRUE(editor.lines().empty());
    press("inserisci", 0, "55", "");       // no name: an empty line, nothing stored
    press("inserisci", 0, "abc", "Mika");  // refused code: no line
    EXPECT_EQ(editor.lines(), std::vector<std::string>{""});
    press("inserisci", 0, "55", "Mika");
    EXPECT_EQ(editor.lines(), (std::vector<std::string>{"", "Op.2    55    Mika"}));
    EXPECT_EQ(row(1) + "|" + row(2), "1|Kasir 1|55|Mika");
    EXPECT_EQ(editor.code + editor.name, "");
    EXPECT_FALSE(editor.panelVisible());
}

TEST_F(OperatorEditorTest, NuovoPresetsTheCodeAfterTheNextPositionsCode) {
    editor.nuovo();  // 31 lines: nothing
    EXPECT_FALSE(editor.panelVisible());
    EXPECT_EQ(editor.lines().size(), 31u);

    editor.svuota_op();
    op(1).code = "41";
    op(2).code = "  ";
    editor.nuovo();
    EXPECT_EQ(editor.code + "|" + editor.name, "00042|");
    EXPECT_TRUE(editor.panelVisible());
    editor.nuovo();
    EXPECT_EQ(editor.code, "00007");
    EXPECT_EQ(editor.lines(), (std::vector<std::string>{"", ""}));
}

TEST_F(OperatorEditorTest, EliminaDropsTheLineOnlyAndTheReloadListsItAgain) {
    dialogs.answers = {Answer::No, Answer::Yes, Answer::Yes};
    press("elimina", 6, "7");
    EXPECT_EQ(editor.selected(), 6);
    press("elimina", 6, "x7");  // confirmed, but the code field is refused
    EXPECT_EQ(editor.lines().size(), 31u);
    press("elimina", 6, "7");
    EXPECT_EQ(editor.lines().size(), 31u);
    EXPECT_EQ(editor.lines()[6], "Op.7    7    Kasir 7");
    EXPECT_EQ(editor.code + editor.name, "");
    const std::string ask = "Arvon Cash Registers: Da li ste sigurni? <exclamation> [Yes/No]";
    EXPECT_EQ(shown(), (std::vector{ask, ask, refused, ask}));
}

TEST_F(OperatorEditorTest, CirilicaBoxAndDoChangeLang) {
    state.CyrillicFontName = "Helvetica Ciril";
    state.LatinFontName = "Courier New";
    op(4).name = "Wegos";
    state.CyrillicMode = false;
    editor.open();
    editor.selectLine(3);
    // The list is shown in Latin; the table and the panel keep the font text.
    EXPECT_EQ(editor.lines()[3] + "|" + editor.name + "|" + editor.fontName(),
              "Op.4    4    Njegos|Wegos|Courier New");
    editor.DoChangeLang();
    EXPECT_EQ(editor.lines()[3] + "|" + editor.name + "|" + op(4).name,
              "Op.4    4    Njegos|Njegos|Wegos");
    state.CyrillicMode = true;
    editor.DoChangeLang();
    EXPECT_EQ(editor.lines()[3] + "|" + editor.fontName(), "Op.4    4    Wegos|Helvetica Ciril");

    state.tableCyrillic(CyrTable::Operators) = false;
    state.LatinFontName = "Courier New";
    op(4).name = "PERA 1";
    editor.setCheck1(true);
    EXPECT_EQ(op(4).name, Reg({191, 181, 192, 176, 32, 49}));
    EXPECT_EQ(op(5).name, Reg({186, 208, 225, 216, 224}) + " 5");
    EXPECT_TRUE(state.tableCyrillic(CyrTable::Operators) && editor.check1());
    EXPECT_EQ(editor.fontName(), "Helvetica Ciril");
}

}  // namespace
}  // namespace qov::test
