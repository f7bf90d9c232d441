#include "text/transcode.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

namespace qov {
namespace {

std::string Byte(int code) {
    return std::string(1, static_cast<char>(code));
}

// The letter table: Cyrillic upper/lower code points, font characters, register codes.
struct LetterRow {
    char32_t upper;
    char32_t lower;
    char fontUpper;
    char fontLower;
    int registerUpper;
    int registerLower;
};

const std::vector<LetterRow> kTable = {
    {U'А', U'а', 'A', 'a', 176, 208}, {U'Б', U'б', 'B', 'b', 177, 209},
    {U'В', U'в', 'V', 'v', 178, 210}, {U'Г', U'г', 'G', 'g', 179, 211},
    {U'Д', U'д', 'D', 'd', 180, 212}, {U'Ђ', U'ђ', '\\', '|', 162, 242},
    {U'Е', U'е', 'E', 'e', 181, 213}, {U'Ж', U'ж', '@', '`', 182, 214},
    {U'З', U'з', 'Z', 'z', 183, 215}, {U'И', U'и', 'I', 'i', 184, 216},
    {U'Ј', U'ј', 'J', 'j', 168, 248}, {U'К', U'к', 'K', 'k', 186, 218},
    {U'Л', U'л', 'L', 'l', 187, 219}, {U'Љ', U'љ', 'Q', 'q', 169, 249},
    {U'М', U'м', 'M', 'm', 188, 220}, {U'Н', U'н', 'N', 'n', 189, 221},
    {U'Њ', U'њ', 'W', 'w', 170, 250}, {U'О', U'о', 'O', 'o', 190, 222},
    {U'П', U'п', 'P', 'p', 191, 223}, {U'Р', U'р', 'R', 'r', 192, 224},
    {U'С', U'с', 'S', 's', 193, 225}, {U'Т', U'т', 'T', 't', 194, 226},
    {U'Ћ', U'ћ', ']', '}', 171, 251}, {U'У', U'у', 'U', 'u', 195, 227},
    {U'Ф', U'ф', 'F', 'f', 196, 228}, {U'Х', U'х', 'H', 'h', 197, 229},
    {U'Ц', U'ц', 'C', 'c', 198, 230}, {U'Ч', U'ч', '^', '~', 199, 231},
    {U'Џ', U'џ', 'X', 'x', 175, 255}, {U'Ш', U'ш', '[', '{', 200, 232},
};

TEST(LetterTable, EveryLetterBothWays) {
    for (const LetterRow& row : kTable) {
        SCOPED_TRACE(std::string("font ") + row.fontUpper + row.fontLower);
        EXPECT_EQ(FontToRegister(std::string{row.fontUpper}), Byte(row.registerUpper));
        EXPECT_EQ(FontToRegister(std::string{row.fontLower}), Byte(row.registerLower));
        EXPECT_EQ(RegisterToFont(Byte(row.registerUpper)), std::string{row.fontUpper});
        EXPECT_EQ(RegisterToFont(Byte(row.registerLower)), std::string{row.fontLower});
        EXPECT_EQ(FontCharForCyrillic(row.upper), row.fontUpper);
        EXPECT_EQ(FontCharForCyrillic(row.lower), row.fontLower);
    }
}

TEST(LetterTable, YStandsForDzheAndComesBackAsX) {
    EXPECT_EQ(FontToRegister("Yy"), Byte(175) + Byte(255));
    EXPECT_EQ(RegisterToFont(FontToRegister("Yy")), "Xx");
}

TEST(LetterTable, BytesOutsideTheTablePassUnchanged) {
    std::set<int> fontChars{'Y', 'y'};
    std::set<int> registerCodes;
    for (const LetterRow& row : kTable) {
        fontChars.insert(static_cast<unsigned char>(row.fontUpper));
        fontChars.insert(static_cast<unsigned char>(row.fontLower));
        registerCodes.insert(row.registerUpper);
        registerCodes.insert(row.registerLower);
    }
    for (int code = 0; code < 256; ++code) {
        if (!fontChars.count(code)) {
            EXPECT_EQ(FontToRegister(Byte(code)), Byte(code)) << "code " << code;
        }
        if (!registerCodes.count(code)) {
            EXPECT_EQ(RegisterToFont(Byte(code)), Byte(code)) << "code " << code;
        }
    }
}

TEST(LetterTable, ShortIAndDigitsAndBlanksUntouched) {
    const std::string text = Byte(185) + "0123 456789  " + Byte(217) + std::string(1, '\0');
    EXPECT_EQ(FontToRegister(text), text);
    EXPECT_EQ(RegisterToFont(text), text);
    EXPECT_EQ(FontToRegister("Kasa 12"), Byte(186) + Byte(208) + Byte(225) + Byte(208) + " 12");
}

TEST(LetterTable, RealCyrillicOutsideTheSerbianAlphabetHasNoFontChar) {
    for (char32_t code : {U'Й', U'й', U'Щ', U'Ы', U'Э', U'Ю', U'я', U'Ё', U'ё', U'Ѓ', U'\u0400',
                          U'\u0460', U'A', U'\u00C6'}) {
        EXPECT_EQ(FontCharForCyrillic(code), 0) << static_cast<int>(code);
    }
}

// The packing and unpacking orders as a list of whole-text replacements, run one after the
// other; the conversions must give the same results.
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    std::string out;
    std::size_t pos = 0;
    while (true) {
        const std::size_t hit = text.find(from, pos);
        if (hit == std::string::npos) {
            out += text.substr(pos);
            return out;
        }
        out += text.substr(pos, hit - pos) + to;
        pos = hit + from.size();
    }
}

std::string ReferenceDigraphs(std::string text, bool toLatin) {
    static const std::vector<std::pair<std::string, std::string>> kPack = {
        {"nj", "w"},  {"lj", "q"}, {"dj", "|"}, {"dz", "x"}, {"Nj", "W"},  {"Lj", "Q"},
        {"Dj", "\\"}, {"Dz", "X"}, {"NJ", "W"}, {"LJ", "Q"}, {"DJ", "\\"}, {"DZ", "X"}};
    static const std::vector<std::pair<std::string, std::string>> kUnpack = {
        {"w", "nj"},  {"q", "lj"}, {"`", "z"},  {"~", "c"}, {"{", "s"}, {"}", "c"},
        {"|", "dj"},  {"x", "dz"}, {"@", "Z"},  {"^", "C"}, {"[", "S"}, {"]", "C"},
        {"\\", "Dj"}, {"X", "Dz"}, {"W", "Nj"}, {"Q", "Lj"}};
    for (const auto& [from, to] : toLatin ? kUnpack : kPack) {
        text = ReplaceAll(text, from, to);
    }
    return text;
}

TEST(ConvertDigraphs, PackingCases) {
    struct Case {
        const char* latin;
        const char* font;
    };
    const Case cases[] = {
        {"Njegos", "Wegos"},
        {"NJEGOS", "WEGOS"},
        {"njiva", "wiva"},
        {"Ljubav", "Qubav"},
        {"LJUBAV", "QUBAV"},
        {"ljubav", "qubav"},
        {"Djak", "\\ak"},
        {"DJAK", "\\AK"},
        {"djak", "|ak"},
        {"Dzak", "Xak"},
        {"DZAK", "XAK"},
        {"dzak", "xak"},
        {"konj", "kow"},
        {"nJ lJ dJ dZ", "nJ lJ dJ dZ"},
        {"Odeljenje 3", "Odeqewe 3"},
        {"", ""},
        {"nnjj", "nwj"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConvertDigraphs(c.latin, false), c.font) << c.latin;
    }
}

TEST(ConvertDigraphs, UnpackingLosesDiacritics) {
    EXPECT_EQ(ConvertDigraphs("`aba", true), "zaba");
    EXPECT_EQ(ConvertDigraphs("@ABA ^a[a ]uk {}~", true), "ZABA CaSa Cuk scc");
    EXPECT_EQ(ConvertDigraphs("Wego{ \\ak Xak Qubav |ak xak qubav", true),
              "Njegos Djak Dzak Ljubav djak dzak ljubav");
    // Packing the unpacked text again does not give back the font text.
    const std::string font = "`aba";
    const std::string again = ConvertDigraphs(ConvertDigraphs(font, true), false);
    EXPECT_EQ(again, "zaba");
    EXPECT_NE(again, font);
}

TEST(ConvertDigraphs, SamePassResultAsTheOrderedReplacements) {
    const std::string alphabet = "njlzdNJLZDwq|x\\X`~{}@^[]Wa 1\xb0";
    std::mt19937 random(20261205);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 24);
    for (int i = 0; i < 5000; ++i) {
        std::string text;
        for (int n = length(random); n > 0; --n) {
            text += alphabet[pick(random)];
        }
        ASSERT_EQ(ConvertDigraphs(text, false), ReferenceDigraphs(text, false)) << text;
        ASSERT_EQ(ConvertDigraphs(text, true), ReferenceDigraphs(text, true)) << text;
    }
}

TEST(HasNoLatinLetters, Cases) {
    EXPECT_TRUE(HasNoLatinLetters(""));
    EXPECT_TRUE(HasNoLatinLetters("0123456789"));
    EXPECT_TRUE(HasNoLatinLetters("            "));
    EXPECT_TRUE(HasNoLatinLetters(FontToRegister("@ABA 12")));
    EXPECT_TRUE(HasNoLatinLetters("@[\\]^_`{|}~"));  // the codes around the letters
    EXPECT_FALSE(HasNoLatinLetters("12A"));
    EXPECT_FALSE(HasNoLatinLetters("z"));
    EXPECT_FALSE(HasNoLatinLetters(Byte(208) + "a"));
}

TEST(SendHelpers, FollowCyrillicModeAndLanguage) {
    SharedState state;
    struct Case {
        bool mode;
        bool language;
        std::string scriptForm;
        std::string sent;
    };
    const std::string text = "Njiva @";
    const Case cases[] = {
        {true, true, "Wiva @", Byte(170) + Byte(216) + Byte(210) + Byte(208) + " " + Byte(182)},
        {true, false, "Wiva @", "Wiva @"},
        {false, false, "Njiva Z", "Njiva Z"},
        {false, true, "Njiva Z",
         Byte(189) + Byte(248) + Byte(216) + Byte(210) + Byte(208) + " " + Byte(183)},
    };
    for (const Case& c : cases) {
        state.CyrillicMode = c.mode;
        state.CyrillicLanguage = c.language;
        EXPECT_EQ(ToScriptForm(state, text), c.scriptForm) << c.mode << c.language;
        EXPECT_EQ(ToRegisterCoding(state, c.scriptForm), c.sent) << c.mode << c.language;
        EXPECT_EQ(PrepareForSend(state, text), c.sent) << c.mode << c.language;
    }
}

TEST(ReceiveHelpers, MarkOnlySetsTheFlag) {
    SharedState state;
    state.TableCyrillic.fill(false);
    EXPECT_FALSE(MarkIfCyrillic(state, CyrTable::Units, "kom"));
    EXPECT_FALSE(state.tableCyrillic(CyrTable::Units));
    EXPECT_TRUE(MarkIfCyrillic(state, CyrTable::Units, "   "));
    EXPECT_TRUE(state.tableCyrillic(CyrTable::Units));
    EXPECT_FALSE(MarkIfCyrillic(state, CyrTable::Units, "kg"));
    EXPECT_TRUE(state.tableCyrillic(CyrTable::Units));  // never cleared here
    for (int t = 0; t < kCyrTableCount; ++t) {
        if (t != static_cast<int>(CyrTable::Units)) {
            EXPECT_FALSE(state.TableCyrillic[t]) << t;
        }
    }
}

TEST(ReceiveHelpers, ConvertEveryStoredTextOfTheFlaggedTable) {
    const std::string reg = FontToRegister("Ka[a");  // register text of "Kaša"
    SharedState state;
    for (auto& d : state.DepartmentTable)
        d.description = reg;
    for (auto& o : state.OperatorTable)
        o.name = reg;
    for (auto& c : state.CurrencyTable)
        c.name = reg;
    for (auto& u : state.UnitTable)
        u.name = reg;
    for (auto& t : state.ArticleTypeTable)
        t.name = reg;
    for (int row = 0; row <= 6; ++row) {
        state.HeaderLines[row] = state.AdvertLines[row] = reg;
        state.HeaderTable[row].text = state.AdvertTable[row].text = reg;
    }
    state.OperatorTable[5].code = Byte(176);  // codes are not texts of the table
    state.TableCyrillic.fill(true);
    state.tableCyrillic(CyrTable::Currencies) = false;

    for (int t = 0; t < kCyrTableCount; ++t) {
        const auto table = static_cast<CyrTable>(t);
        const bool expected = table != CyrTable::Currencies && table != CyrTable::Articles;
        EXPECT_EQ(ConvertReceivedTable(state, table), expected) << t;
    }

    for (int row = 1; row <= 10; ++row)
        EXPECT_EQ(state.DepartmentTable[row].description, "Ka[a");
    for (int row = 1; row <= 31; ++row)
        EXPECT_EQ(state.OperatorTable[row].name, "Ka[a");
    for (int row = 1; row <= 5; ++row)
        EXPECT_EQ(state.UnitTable[row].name, "Ka[a");
    for (int row = 1; row <= 8; ++row)
        EXPECT_EQ(state.ArticleTypeTable[row].name, "Ka[a");
    for (int row = 0; row <= 5; ++row) {
        EXPECT_EQ(state.HeaderLines[row], "Ka[a");
        EXPECT_EQ(state.AdvertLines[row], "Ka[a");
        EXPECT_EQ(state.HeaderTable[row].text, "Ka[a");
        EXPECT_EQ(state.AdvertTable[row].text, "Ka[a");
    }
    for (int row = 0; row <= 4; ++row)
        EXPECT_EQ(state.CurrencyTable[row].name, reg);
    EXPECT_EQ(state.OperatorTable[5].code, Byte(176));
}

}  // namespace
}  // namespace qov
