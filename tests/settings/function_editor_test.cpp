// The function-limits screen: list rows, the check that always ends in a box, every key.
#include "settings/function_editor.h"
#include "tables/table_fixture.h"

namespace qov::test {
namespace {

using namespace settings;

struct FunctionTest : TableFixture {
    FunctionTest() {
        for (int pos = 0; pos < kFunctionCount; ++pos) {
            state.FunctionTable[pos].name = "F" + std::to_string(pos);
        }
        editor.open();
    }
    std::string names() const {
        std::string all;
        for (const FunctionRecord& r : state.FunctionTable) {
            all += r.name + (r.value.empty() ? "" : "=" + r.value) + ",";
        }
        return all;
    }
    FunctionEditor editor{station};
};

TEST_F(FunctionTest, OpeningNamesAnotherFormAndListsElevenRowsInOneColumn) {
    EXPECT_EQ(state.CurrentForm, "frmfunzione");
    ASSERT_EQ(editor.lines().size(), 11u);
    EXPECT_EQ(editor.lines()[2], "2 -    F2");
    EXPECT_EQ(editor.lines()[10], "10 -   F10");
    EXPECT_EQ(FunctionEditor::ListRow(10, "X"), "10 -   X");
    EXPECT_EQ(FunctionEditor::ListRow(2, "X"), "2 -    X");
}

TEST_F(FunctionTest, CheckAlwaysEndsInABoxWithTheLastFailure) {
    const struct {
        int pos;
        const char* value;
        const char* shown;
        bool ok;
    } cases[] = {
        {0, "junk", "Azuriranje izvrseno", true},
        {3, "", "Naziv se ne moze menjati", false},
        {6, "1", "Naziv se ne moze menjati", false},
        {4, "99", "Azuriranje izvrseno", true},
        {4, "150", "Nedozvoljen maksimalni procentualni popust", false},
        {4, "abc", "Nedozvoljen procentualni popust", false},
        {4, "", "Nedozvoljen procentualni popust", false},
        {5, "999999", "Azuriranje izvrseno", true},
        {5, "1000000", "Nedozvoljen maksimalni vrednosni popust", false},
        {5, "12x", "Nedozvoljen vrednosni popust", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.pos) + " " + c.value);
        dialogs.clear();
        editor.visualizza(c.pos);
        editor.txtValue = c.value;
        EXPECT_EQ(editor.controlla(), c.ok);
        EXPECT_EQ(shown(),
                  std::vector<std::string>{std::string("Arvon Cash Registers: ") + c.shown});
    }
}

TEST_F(FunctionTest, DoubleClickShowsTheValueOnlyForTheDiscounts) {
    state.FunctionTable[4].value = "10";
    state.FunctionTable[7].value = "hidden";
    editor.visualizza(4);
    EXPECT_EQ(std::make_tuple(editor.panelVisible(), editor.valueVisible(), editor.txtDesc,
                              editor.txtValue),
              std::make_tuple(true, true, "F4", "10"));
    editor.visualizza(7);
    EXPECT_EQ(std::make_tuple(editor.valueVisible(), editor.txtDesc, editor.txtValue),
              std::make_tuple(false, "F7", "10"));
    editor.visualizza(11);  // no such row: nothing changes
    EXPECT_EQ(editor.selected(), 7);
}

TEST_F(FunctionTest, AggiornaStoresNameAndDiscountValueOrNothingOnAFailure) {
    editor.visualizza(5);
    editor.txtDesc = "Popust";
    editor.txtValue = "5000";
    editor.onToolbar("aggiorna");
    EXPECT_FALSE(editor.panelVisible());
    EXPECT_EQ(editor.lines()[5], "5 -    Popust");
    editor.visualizza(1);
    editor.txtDesc = "Storno";
    editor.txtValue = "7";  // not a discount: its value is not stored
    editor.onToolbar("aggiorna");
    editor.visualizza(3);
    editor.txtDesc = "changed";
    editor.onToolbar("aggiorna");
    EXPECT_TRUE(editor.panelVisible());
    EXPECT_EQ(names(), "F0,Storno,F2,F3,F4,Popust=5000,F6,F7,F8,F9,F10,");
    EXPECT_EQ(dialogs.texts(),
              (std::vector<std::string>{"Azuriranje izvrseno", "Azuriranje izvrseno",
                                        "Naziv se ne moze menjati"}));
}

TEST_F(FunctionTest, EliminaAndSvuotaAskFirst) {
    editor.visualizza(2);
    dialogs.answer(Answer::No);
    editor.onToolbar("elimina");
    EXPECT_EQ(names(), "F0,F1,F2,F3,F4,F5,F6,F7,F8,F9,F10,");
    editor.visualizza(2);
    editor.onToolbar("elimina");
    EXPECT_EQ(editor.lines()[2], "2 -    ");
    editor.visualizza(6);
    editor.onToolbar("elimina");  // a locked name stays
    EXPECT_EQ(names(), "F0,F1,,F3,F4,F5,F6,F7,F8,F9,F10,");
    EXPECT_EQ(shown(), (std::vector<std::string>{
                           "Arvon Cash Registers: Dali ste sigurni? <exclamation> [Yes/No]",
                           "Arvon Cash Registers: Dali ste sigurni? <exclamation> [Yes/No]",
                           "Arvon Cash Registers: Azuriranje izvrseno",
                           "Arvon Cash Registers: Dali ste sigurni? <exclamation> [Yes/No]",
                           "Arvon Cash Registers: Naziv se ne moze menjati"}));
    dialogs.clear();
    dialogs.answer(Answer::No);
    editor.onToolbar("svuota");
    EXPECT_EQ(editor.lines().size(), 11u);
    editor.onToolbar("svuota");
    EXPECT_TRUE(editor.lines().empty());
    EXPECT_EQ(names(), ",,,,,,,,,,,");
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>(2, "Da li ste sigurni?"));
}

TEST_F(FunctionTest, InserisciAddsAfterTheLastUpToElevenAndEsciCloses) {
    dialogs.answer(Answer::Yes);
    editor.onToolbar("svuota");
    for (int pos = 0; pos < kFunctionCount; ++pos) {
        editor.onToolbar("nuovo");
        editor.txtDesc = "N" + std::to_string(pos);
        editor.txtValue = "12";
        editor.onToolbar("inserisci");
    }
    EXPECT_EQ(editor.lines().back(), "10 -   N10");
    EXPECT_EQ(names(), "N0,N1,N2,N3,N4=12,N5=12,N6,N7,N8,N9,N10,");
    dialogs.clear();
    editor.txtDesc = "N11";
    editor.onToolbar("inserisci");
    EXPECT_EQ(shown(),
              (std::vector<std::string>{"Arvon Cash Registers: Azuriranje izvrseno",
                                        "Arvon Cash Registers: Maksimalni broj <exclamation>"}));
    EXPECT_TRUE(editor.onToolbar("esci"));
    EXPECT_EQ(state.CurrentForm, " ");
}

}  // namespace
}  // namespace qov::test
