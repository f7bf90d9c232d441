#include "tables/department_editor.h"
#include "table_fixture.h"

namespace qov::test {
namespace {

struct EditorTest : TableFixture {
    EditorTest() { editor.open(); }
    DepartmentRecord& dept(int n) { return state.DepartmentTable[n]; }
    // Description, maximum price, VAT rate and auto close of department `n`.
    std::string row(int n) {
        return dept(n).description + "|" + dept(n).maxPrice + "|" + dept(n).vatRate + "|" +
               dept(n).autoClose;
    }
    // Types the panel's name and price and presses `key`.
    void press(const std::string& key, const std::string& name, const std::string& price = "") {
        editor.description = name;
        editor.maxPrice = price;
        editor.onToolbar(key);
    }
    tables::DepartmentEditor editor{station};
    const std::string box = "Arvon Cash Registers: ";
};

// carica_Reparti: an empty description gets its default, the others the script of the mode.
TEST_F(EditorTest, OpeningFillsDefaultsInTheScriptOfTheMode) {
    auto open = [&](bool cyrillic, int number, const char* description) {
        state.CyrillicMode = cyrillic;
        dept(number).description = description;
        editor.open();
        return dept(number).description + "|" + editor.lines().at(number - 1);
    };
    EXPECT_EQ(open(false, 5, "Odeqewe Wiva"), "Odeljenje Wiva|5 - Odeljenje Njiva");  // the word
    EXPECT_EQ(open(false, 6, "Wiva"), "Njiva|6 - Njiva");
    EXPECT_EQ(open(false, 7, "   "), "   |7 - ");  // not exactly empty: no default
    EXPECT_EQ(open(true, 10, ""), "Odeqewe  10|10 - Odeqewe  10");
    EXPECT_EQ(open(true, 2, "Odeljenje 2 Odeljenje"), "Odeqewe 2 Odeqewe|2 - Odeqewe 2 Odeqewe");
    EXPECT_EQ(open(true, 3, "Njiva"), "Wiva|3 - Wiva");
    EXPECT_EQ(state.CurrentForm, "frmreparti");
    EXPECT_TRUE(editor.onToolbar("esci") && state.CurrentForm == " ");
}

// "aggiorna" stores the panel into the selected department once the price is a number.
TEST_F(EditorTest, AggiornaChecksThePrice) {
    auto aggiorna = [&](const char* price) {
        dept(4) = {"Staro", "00000001", "0", "0", "", ""};
        editor.selectLine(3);
        editor.autoClose = true;
        editor.vatRate = "2";
        press("aggiorna", "Voce", price);
        EXPECT_FALSE(editor.panelVisible());
        return row(4);
    };
    EXPECT_EQ(aggiorna("250.7"), "Voce        |00000250|2|1");
    EXPECT_EQ(aggiorna(" 42 "), "Voce        |00000042|2|1");
    EXPECT_EQ(aggiorna(""), "Voce        |        |2|1");
    EXPECT_TRUE(dialogs.boxes.empty());
    for (const char* refused : {"abc", "12a", "1,5"}) {
        EXPECT_EQ(aggiorna(refused), "Voce|00000001|0|0");  // the check has written the name
    }
    EXPECT_EQ(shown(), std::vector(3, box + "Vrednosti nisu korektne <exclamation>"));
}

TEST_F(EditorTest, ThePanelShowsTheSelectedLineAndStoresIntoItOnly) {
    dept(2) = {"Sok  sa  ledom", "00000250", "3", "1", "", ""};
    editor.selectLine(1);
    EXPECT_TRUE(editor.panelVisible() && editor.autoClose);
    EXPECT_EQ(editor.description + "|" + editor.maxPrice + "|" + editor.vatRate,
              "Sok sa ledom|00000250|3");
    for (const char* vat : {"4", "5", "-1"}) {  // outside 0 to 4: reported
        editor.vatRate = vat;
        editor.vatRateLeft();
    }
    editor.escapeInList();
    EXPECT_EQ(editor.description + "|" + editor.maxPrice + "|" + editor.vatRate, "||0");
    press("aggiorna", "Hidden");  // the panel is hidden: nothing happens
    editor.selectLine(1);
    dialogs.answers = {Answer::No, Answer::Yes};
    editor.descriptionEnter();
    EXPECT_EQ(row(2), "Sok  sa  ledom|00000250|3|1");
    editor.descriptionEnter();
    EXPECT_EQ(row(2), "Sok sa ledom|00000250|3|1");
    editor.onToolbar("nuovo");  // the reloaded list has no selection
    press("aggiorna", "Novo");
    press("inserisci", "Novo");
    const std::string enter = "Azuriranje vrednosti: Da li zelite da azurirate vrednost? [Yes/No]";
    const std::string none = box + "Niste odabrali odeljenje. <exclamation>",
                      vat = box + "Poreska stopa ne postoji! <exclamation>";
    EXPECT_EQ(shown(), (std::vector{vat, vat, enter, enter, none, none,
                                    box + "Maksimalan broj <exclamation>"}));
    for (int n = 1; n <= 10; ++n) {
        EXPECT_EQ(dept(n).description, n == 2 ? "Sok sa ledom" : "Odeljenje  " + std::to_string(n));
    }
}

TEST_F(EditorTest, EliminaAndSvuotaClearOnlyWhenConfirmed) {
    dept(3) = {"Pice       ", "00000099", "4", "1", "777", ""};
    editor.selectLine(2);
    dialogs.answers = {Answer::No, Answer::Yes, Answer::Yes};
    editor.onToolbar("elimina");
    EXPECT_EQ(row(3), "Pice       |00000099|4|1");
    editor.onToolbar("elimina");
    EXPECT_FALSE(editor.panelVisible());
    EXPECT_EQ(row(3), "Odeljenje  3||0|0");  // the reload gives it its default
    editor.onToolbar("svuota");
    EXPECT_TRUE(editor.lines().empty());
    for (int n = 0; n <= 10; ++n) {
        EXPECT_EQ(row(n), "||0|0");
    }
    EXPECT_EQ(dept(3).salesValue, "777");
    // Nothing selected: the check says so each time, the department is appended all the same.
    press("inserisci", "Prvo", "10");
    press("inserisci", "Drugo", "5");
    EXPECT_EQ(editor.lines(), (std::vector<std::string>{"1 - Prvo", "2 - Drugo"}));
    EXPECT_EQ(row(1) + row(2) + row(3), "Prvo        |00000010|0|0Drugo       |00000005|0|0||0|0");
    const std::string elimina = box + "Dali ste sigurni? <exclamation> [Yes/No]",
                      svuota = box + "Da li ste sigurni? <exclamation> [Yes/No]",
                      none = box + "Niste odabrali odeljenje. <exclamation>";
    EXPECT_EQ(shown(), (std::vector{elimina, elimina, svuota, none, none}));
}

TEST_F(EditorTest, DoChangeLangConvertsTheListAndFieldAndCheck1TheTable) {
    state.CyrillicMode = true;
    state.LatinFontName = "Courier New";
    dept(1).description = "Wiva";
    editor.open();
    editor.selectLine(0);
    state.CyrillicMode = false;
    editor.DoChangeLang();
    // The table itself is converted when it is reloaded.
    EXPECT_EQ(editor.lines()[0] + "|" + editor.description + "|" + editor.fontName() + "|" +
                  dept(1).description,
              "1 - Njiva|Njiva|Courier New|Wiva");
    dept(1).description = "PI]E";
    state.tableCyrillic(CyrTable::Departments) = false;
    editor.setCheck1(true);
    EXPECT_EQ(dept(1).description + "|" + editor.fontName(),
              Reg({191, 184, 171, 181}) + "|Helvetica Ciril");
    EXPECT_TRUE(state.tableCyrillic(CyrTable::Departments));
}

}  // namespace
}  // namespace qov::test
