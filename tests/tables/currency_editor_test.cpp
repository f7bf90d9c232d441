#include "tables/currency_editor.h"
#include "table_fixture.h"

namespace qov::test {
namespace {

struct CurrencyEditorTest : TableFixture {
    CurrencyEditorTest() {
        for (int n = 1; n <= 4; ++n) {
            cur(n) = {"1.000000", "Val " + std::to_string(n)};
        }
        editor.open();
    }
    CurrencyRecord& cur(int n) { return state.CurrencyTable[n]; }
    std::string row(int n) { return cur(n).rate + "|" + cur(n).name; }
    // Selects list line `line` (when there is one), types name and rate and presses `key`.
    void press(const std::string& key, int line, const std::string& name, const std::string& rate) {
        editor.selectLine(line);
        editor.name = name;
        editor.rate = rate;
        editor.onToolbar(key);
    }
    // "VALUTA n" as the defaults hold it: register text.
    static std::string DefaultName(int n) {
        return Reg({178, 176, 187, 195, 194, 176}) + " " + std::to_string(n);
    }
    tables::CurrencyEditor editor{station};
    const std::string box = "Arvon Cash Registers: ";
};

TEST_F(CurrencyEditorTest, OpeningTrimsEveryCurrencyAndListsAllFour) {
    cur(2) = {" 117.5 ", "  Euro      "};
    cur(3) = {"", ""};
    editor.open();
    EXPECT_EQ(row(2) + "|" + row(3), "117.5|Euro||");
    EXPECT_EQ(editor.lines(), (std::vector<std::string>{"1-1.000000    Val 1", "2-117.5    Euro",
                                                        "3-    ", "4-1.000000    Val 4"}));
    EXPECT_EQ(state.CurrentForm, "frmValuta");
    EXPECT_TRUE(editor.onToolbar("Esci"));
    EXPECT_EQ(state.CurrentForm, " ");
}

TEST_F(CurrencyEditorTest, AggiornaCompletesTheRateToNineCharacters) {
    const std::pair<const char*, const char*> cases[] = {
        {"117.5", "117.50000"}, {"117,5", "117,50000"},    {"123456789", "12345678."},
        {"12", "12.000000"},    {"0.000000", "0.0000000"}, {"1234,56789", "1234,56789"},
        {",5", ",50000000"}};
    for (const auto& [typed, stored] : cases) {
        press("aggiorna", 1, "Euro", typed);
        EXPECT_EQ(row(2), std::string(stored) + "|Euro") << typed;
        EXPECT_EQ(editor.lines()[1], "2-" + std::string(stored) + "    Euro") << typed;
        EXPECT_FALSE(editor.panelVisible());
    }
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(CurrencyEditorTest, ControllaRefusesAMissingNameOrRateAndAWrongNumber) {
    struct Case {
        const char* name;
        const char* rate;
        std::string box;
    };
    const std::string naziv = box + "Unesite naziv ! <exclamation>",
                      kurs = box + "Unesite kurs ! <exclamation>",
                      broj = box + " Vrednost konverzije nije numericka !";
    const Case cases[] = {{"", "1.5", naziv},      {"   ", "1.5", naziv},   {"Euro", "", kurs},
                          {"", "", kurs},          {"Euro", "  ", kurs},    {"Euro", "abc", broj},
                          {"Euro", "1.2.3", broj}, {"Euro", "1,2.3", broj}, {"Euro", "-5", broj},
                          {"Euro", "1e5", broj}};
    for (const Case& c : cases) {
        dialogs.clear();
        for (const char* key : {"aggiorna", "inserisci"}) {
            press(key, 2, c.name, c.rate);
            EXPECT_TRUE(editor.panelVisible());  // open to correct the fields
        }
        EXPECT_EQ(shown(), std::vector(2, c.box)) << c.name << "/" << c.rate;
        EXPECT_EQ(row(3), "1.000000|Val 3");
        EXPECT_EQ(editor.lines().size(), 4u);
    }
}

TEST_F(CurrencyEditorTest, InserisciStoresAsTypedAfterTheLastLineUpToFour) {
    editor.onToolbar("nuovo");  // four lines: no panel
    EXPECT_FALSE(editor.panelVisible());
    press("inserisci", 0, "Funta", "2.5");
    EXPECT_EQ(shown(), std::vector<std::string>{box + "Maksimalni broj"});
    dialogs.answers = {Answer::No, Answer::Yes};
    editor.onToolbar("svuota");
    EXPECT_EQ(row(1), "1.000000|Val 1");
    editor.onToolbar("svuota");
    EXPECT_TRUE(editor.lines().empty());
    for (int n = 0; n <= 4; ++n) {
        EXPECT_EQ(row(n), "0.000000|" + DefaultName(n));
    }
    editor.onToolbar("nuovo");
    EXPECT_TRUE(editor.panelVisible());
    press("inserisci", 0, "Euro", "117,5");
    press("inserisci", 0, "Dolar", "98");
    EXPECT_FALSE(editor.panelVisible());
    EXPECT_EQ(editor.lines(), (std::vector<std::string>{"1-117,5   Euro", "2-98   Dolar"}));
    EXPECT_EQ(row(1) + "|" + row(2) + "|" + row(3),
              "117,5|Euro|98|Dolar|0.000000|" + DefaultName(3));
}

TEST_F(CurrencyEditorTest, EliminaEmptiesTheSelectedCurrencyOnceConfirmed) {
    editor.onToolbar("elimina");
    EXPECT_EQ(shown(),
              std::vector<std::string>{box + "Izaberite valutu za brisanje ! <exclamation>"});
    dialogs.clear();
    dialogs.answers = {Answer::No, Answer::Yes};
    press("elimina", 1, "", "");
    EXPECT_EQ(row(2), "1.000000|Val 2");
    press("elimina", 1, "", "");
    EXPECT_EQ(row(2) + "|" + editor.lines()[1], "||2-    ");
    EXPECT_EQ(row(1) + "|" + row(3), "1.000000|Val 1|1.000000|Val 3");
    EXPECT_EQ(shown(), std::vector(2, box + "Da li ste sigurni? [Yes/No]"));
}

TEST_F(CurrencyEditorTest, CirilicaBoxAndDoChangeLang) {
    state.CyrillicFontName = "Helvetica Ciril";
    cur(1).name = "Wemacka";
    state.CyrillicMode = false;
    editor.open();
    editor.selectLine(0);
    editor.DoChangeLang();
    EXPECT_EQ(editor.lines()[0] + "|" + editor.name + "|" + row(1),
              "1-1.000000    Njemacka|Njemacka|1.000000|Wemacka");
    state.CyrillicMode = true;
    editor.DoChangeLang();
    EXPECT_EQ(editor.lines()[0] + "|" + editor.fontName(), "1-1.000000    Wemacka|Helvetica Ciril");

    state.tableCyrillic(CyrTable::Currencies) = false;
    cur(2).name = "EVRO";
    editor.setCheck1(true);
    EXPECT_EQ(cur(2).name, Reg({181, 178, 192, 190}));
    EXPECT_EQ(cur(2).rate, "1.000000");
    EXPECT_TRUE(state.tableCyrillic(CyrTable::Currencies) && editor.check1());
}

}  // namespace
}  // namespace qov::test
