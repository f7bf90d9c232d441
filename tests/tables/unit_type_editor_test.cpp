#include "tables/unit_type_editor.h"
#include "table_fixture.h"

namespace qov::test {
namespace {

using Kind = tables::UnitTypeEditor::Kind;

struct UnitTypeEditorTest : TableFixture {
    // Opens the editor of `kind` and gives its list.
    std::vector<std::string> open(Kind kind) {
        editor = std::make_unique<tables::UnitTypeEditor>(station, kind);
        editor->open();
        return editor->lines();
    }
    std::unique_ptr<tables::UnitTypeEditor> editor;
};

TEST_F(UnitTypeEditorTest, OpeningListsEveryPosition) {
    EXPECT_EQ(open(Kind::Units), (std::vector<std::string>{"1   - JM1", "2   - JM2", "3   - JM3",
                                                           "4   - JM4", "5   - JM5"}));
    EXPECT_EQ(state.CurrentForm, "frmunits");
    const std::vector<std::string> types = open(Kind::Types);
    ASSERT_EQ(types.size(), 8u);
    EXPECT_EQ(types[7], "8   - Tip 8");
    EXPECT_EQ(state.CurrentForm, "frmtypes");
    EXPECT_TRUE(editor->onToolbar("esci"));
    EXPECT_EQ(state.CurrentForm, " ");
}

// The type screen brings register text back to font text while its flag is on; the unit
// screen never does.
TEST_F(UnitTypeEditorTest, TheTypeScreenFillsWithFontTextWhileItsFlagIsOn) {
    const std::string pivo = Reg({191, 216, 210, 222});
    struct Case {
        const char* name;
        Kind kind;
        bool flag;
        std::string line;
    };
    const Case cases[] = {{"types, flag on", Kind::Types, true, "2   - Pivo"},
                          {"types, flag off", Kind::Types, false, "2   - " + pivo},
                          {"units, flag on", Kind::Units, true, "2   - " + pivo}};
    for (const Case& c : cases) {
        state.ArticleTypeTable[2].name = state.UnitTable[2].name = pivo;
        state.tableCyrillic(CyrTable::ArticleTypes) = state.tableCyrillic(CyrTable::Units) = c.flag;
        EXPECT_EQ(open(c.kind).at(1), c.line) << c.name;
        const std::string& stored =
            (c.kind == Kind::Types ? state.ArticleTypeTable[2].name : state.UnitTable[2].name);
        EXPECT_EQ("2   - " + stored, c.line) << c.name;  // written back
    }
}

TEST_F(UnitTypeEditorTest, AggiornaStoresBothFieldsOfTheSelectedLineInTheScriptForm) {
    open(Kind::Types);
    editor->onToolbar("aggiorna");  // no panel: nothing stored
    editor->selectLine(20);         // no such line
    EXPECT_FALSE(editor->panelVisible());
    state.ArticleTypeTable[3].abbreviation = "kom";
    editor->selectLine(2);
    EXPECT_EQ(editor->name + "|" + editor->abbreviation, "Tip 3|kom");
    state.CyrillicMode = true;
    editor->name = "Njiva  ";
    editor->abbreviation = "nj";
    editor->onToolbar("aggiorna");
    EXPECT_EQ(state.ArticleTypeTable[3].name + "|" + state.ArticleTypeTable[3].abbreviation,
              "Wiva  |nj");
    EXPECT_EQ(editor->lines()[2], "3   - Wiva  ");
    EXPECT_FALSE(editor->panelVisible());
    EXPECT_EQ(state.ArticleTypeTable[4].name, "Tip 4");
    EXPECT_EQ(state.UnitTable[3].name, "JM3");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(UnitTypeEditorTest, DoChangeLangConvertsTheListAndNameWithTheFont) {
    state.CyrillicFontName = "Helvetica Ciril";
    state.LatinFontName = "Courier New";
    state.UnitTable[1].name = "Qit";
    open(Kind::Units);
    editor->selectLine(0);
    EXPECT_EQ(editor->lines()[0] + "|" + editor->name + "|" + editor->fontName(),
              "1   - Ljit|Qit|Courier New");
    state.CyrillicMode = true;
    editor->DoChangeLang();
    EXPECT_EQ(editor->lines()[0] + "|" + editor->fontName(), "1   - Qit|Helvetica Ciril");
}

}  // namespace
}  // namespace qov::test
