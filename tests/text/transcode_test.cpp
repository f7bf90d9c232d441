#include "text/transcode.h"

#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

namespace qov {
namespace {

// The letter table: each Cyrillic letter and the font character that stands for it, in upper and
// lower case. The register code is ISO 8859-5: the letter's Unicode code minus 0x360.
const std::u32string kLetters[2][2] = {
    {U"АБВГДЂЕЖЗИЈКЛЉМНЊОПРСТЋУФХЦЧЏШ", U"ABVGD\\E@ZIJKLQMNWOPRST]UFHC^X["},
    {U"абвгдђежзијклљмнњопрстћуфхцчџш", U"abvgd|e`zijklqmnwoprst}ufhc~x{"}};

TEST(LetterTable, EveryLetterBothWaysAndEveryOtherByteUnchanged) {
    std::array<int, 256> toRegister{};
    std::iota(toRegister.begin(), toRegister.end(), 0);
    std::array<int, 256> toFont = toRegister;
    for (const auto& [cyrillic, font] : kLetters) {
        for (std::size_t i = 0; i < 30; ++i) {
            const int code = static_cast<int>(cyrillic[i]) - 0x360;
            toRegister[font[i]] = code;
            toFont[code] = static_cast<int>(font[i]);
            EXPECT_EQ(static_cast<char32_t>(FontCharForCyrillic(cyrillic[i])), font[i]) << code;
        }
    }
    toRegister['Y'] = 175;  // Y and y are typed for Џ and џ too, and come back as X and x
    toRegister['y'] = 255;
    auto byte = [](int code) { return std::string(1, static_cast<char>(code)); };
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(FontToRegister(byte(b)), byte(toRegister[b])) << "byte " << b;
        EXPECT_EQ(RegisterToFont(byte(b)), byte(toFont[b])) << "byte " << b;
    }
    int mapped = 0;  // no other code (Й, Щ, Ы, Ё, Ѓ, ...) has a font character
    for (char32_t code = 0; code < 0x500; ++code)
        mapped += FontCharForCyrillic(code) != 0;
    EXPECT_EQ(mapped, 60);
}

TEST(ConvertDigraphs, PacksAndUnpacksInTheirOrder) {
    const std::tuple<bool, const char*, const char*> cases[] = {
        {false, "nj lj dj dz Nj Lj Dj Dz NJ LJ DJ DZ", "w q | x W Q \\ X W Q \\ X"},
        {false, "nJ lJ dJ dZ nz lz Nz LZ", "nJ lJ dJ dZ nz lz Nz LZ"},
        {false, "nnjj ddzz dzj djz Odeljenje 3", "nwj dxz xj |z Odeqewe 3"},
        {true, "wq`~{}|x@^[]\\XWQ", "njljzcscdjdzZCSCDjDzNjLj"},
        {true, "Wego{ ]uk `aba 12", "Njegos Cuk zaba 12"},
    };
    for (const auto& [toLatin, text, expected] : cases) {
        EXPECT_EQ(ConvertDigraphs(text, toLatin), expected) << text;
    }
}

TEST(HasNoLatinLetters, OnlyTheAsciiLettersCount) {
    const std::pair<const char*, bool> cases[] = {
        {"", true},     {"0123 4567 89", true}, {"@[\\]^_`{|}~", true}, {"\xb0\xd0\xff", true},
        {"12A", false}, {"z", false},           {"\xd0z", false}};
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(HasNoLatinLetters(text), expected) << text;
    }
}

TEST(SendHelpers, FollowCyrillicModeAndLanguage) {
    // CyrillicMode, CyrillicLanguage, script form of "Njiva @", the text sent
    const std::tuple<bool, bool, std::string, std::string> cases[] = {
        {true, true, "Wiva @", "\xaa\xd8\xd2\xd0 \xb6"},
        {true, false, "Wiva @", "Wiva @"},
        {false, false, "Njiva Z", "Njiva Z"},
        {false, true, "Njiva Z", "\xbd\xf8\xd8\xd2\xd0 \xb7"},
    };
    SharedState state;
    for (const auto& [mode, language, scriptForm, sent] : cases) {
        state.CyrillicMode = mode;
        state.CyrillicLanguage = language;
        EXPECT_EQ(ToScriptForm(state, "Njiva @"), scriptForm) << mode << language;
        EXPECT_EQ(ToRegisterCoding(state, scriptForm), sent) << mode << language;
        EXPECT_EQ(PrepareForSend(state, "Njiva @"), sent) << mode << language;
    }
}

TEST(ReceiveHelpers, MarkOnlySetsTheFlagAndConvertEveryTextOfAFlaggedTable) {
    SharedState state;
    state.TableCyrillic.fill(false);
    EXPECT_FALSE(MarkIfCyrillic(state, CyrTable::Units, "kom"));
    EXPECT_TRUE(MarkIfCyrillic(state, CyrTable::Units, "   "));
    EXPECT_FALSE(MarkIfCyrillic(state, CyrTable::Units, "kg"));  // never clears the flag
    for (int t = 0; t < kCyrTableCount; ++t) {
        EXPECT_EQ(state.TableCyrillic[t], t == static_cast<int>(CyrTable::Units)) << t;
    }

    // Texts in register code: those a receive converts, and the currencies, whose flag is off.
    std::vector<std::string*> converted, kept;
    auto rows = [&](std::vector<std::string*>& into, auto& table, int first, int last, auto field) {
        for (int row = first; row <= last; ++row) {
            into.push_back(&(table[row].*field));
            *into.back() = FontToRegister("Ka[a");
        }
    };
    rows(converted, state.DepartmentTable, 1, 10, &DepartmentRecord::description);
    rows(converted, state.OperatorTable, 1, 31, &OperatorRecord::name);
    rows(converted, state.UnitTable, 1, 5, &NameRecord::name);
    rows(converted, state.ArticleTypeTable, 1, 8, &NameRecord::name);
    rows(converted, state.HeaderTable, 0, 5, &PrintLineRecord::text);
    rows(converted, state.AdvertTable, 0, 5, &PrintLineRecord::text);
    rows(kept, state.CurrencyTable, 0, 4, &CurrencyRecord::name);
    rows(kept, state.OperatorTable, 5, 5, &OperatorRecord::code);  // codes are not texts
    for (int row = 0; row <= 5; ++row) {
        state.HeaderLines[row] = state.AdvertLines[row] = FontToRegister("Ka[a");
        converted.insert(converted.end(), {&state.HeaderLines[row], &state.AdvertLines[row]});
    }
    state.TableCyrillic.fill(true);
    state.tableCyrillic(CyrTable::Currencies) = false;
    for (int t = 0; t < kCyrTableCount; ++t) {
        const auto table = static_cast<CyrTable>(t);
        const bool expected = table != CyrTable::Currencies && table != CyrTable::Articles;
        EXPECT_EQ(ConvertReceivedTable(state, table), expected) << t;
    }
    for (std::size_t i = 0; i < converted.size(); ++i) {
        EXPECT_EQ(*converted[i], "Ka[a") << "converted text " << i;
    }
    for (std::size_t i = 0; i < kept.size(); ++i) {
        EXPECT_EQ(*kept[i], FontToRegister("Ka[a")) << "kept text " << i;
    }
}

}  // namespace
}  // namespace qov
