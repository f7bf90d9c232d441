#include "text/transcode.h"

#include <array>
#include <cstdint>

namespace qov {

namespace {

// One row of the letter table: the font characters of the upper- and lower-case letter and
// their register codes.
struct Letter {
    char fontUpper;
    char fontLower;
    unsigned char registerUpper;
    unsigned char registerLower;
};

constexpr std::array<Letter, 30> kLetters{{
    {'A', 'a', 176, 208},   // А а
    {'B', 'b', 177, 209},   // Б б
    {'V', 'v', 178, 210},   // В в
    {'G', 'g', 179, 211},   // Г г
    {'D', 'd', 180, 212},   // Д д
    {'\\', '|', 162, 242},  // Ђ ђ
    {'E', 'e', 181, 213},   // Е е
    {'@', '`', 182, 214},   // Ж ж
    {'Z', 'z', 183, 215},   // З з
    {'I', 'i', 184, 216},   // И и
    {'J', 'j', 168, 248},   // Ј ј
    {'K', 'k', 186, 218},   // К к
    {'L', 'l', 187, 219},   // Л л
    {'Q', 'q', 169, 249},   // Љ љ
    {'M', 'm', 188, 220},   // М м
    {'N', 'n', 189, 221},   // Н н
    {'W', 'w', 170, 250},   // Њ њ
    {'O', 'o', 190, 222},   // О о
    {'P', 'p', 191, 223},   // П п
    {'R', 'r', 192, 224},   // Р р
    {'S', 's', 193, 225},   // С с
    {'T', 't', 194, 226},   // Т т
    {']', '}', 171, 251},   // Ћ ћ
    {'U', 'u', 195, 227},   // У у
    {'F', 'f', 196, 228},   // Ф ф
    {'H', 'h', 197, 229},   // Х х
    {'C', 'c', 198, 230},   // Ц ц
    {'^', '~', 199, 231},   // Ч ч
    {'X', 'x', 175, 255},   // Џ џ
    {'[', '{', 200, 232},   // Ш ш
}};

using ByteMap = std::array<unsigned char, 256>;

constexpr ByteMap Identity() {
    ByteMap map{};
    for (int i = 0; i < 256; ++i) {
        map[i] = static_cast<unsigned char>(i);
    }
    return map;
}

constexpr ByteMap MakeFontToRegister() {
    ByteMap map = Identity();
    for (const Letter& l : kLetters) {
        map[static_cast<unsigned char>(l.fontUpper)] = l.registerUpper;
        map[static_cast<unsigned char>(l.fontLower)] = l.registerLower;
    }
    // "Y" and "y" are typed for Џ and џ as well.
    map['Y'] = 175;
    map['y'] = 255;
    return map;
}

constexpr ByteMap MakeRegisterToFont() {
    ByteMap map = Identity();
    for (const Letter& l : kLetters) {
        map[l.registerUpper] = static_cast<unsigned char>(l.fontUpper);
        map[l.registerLower] = static_cast<unsigned char>(l.fontLower);
    }
    return map;
}

constexpr ByteMap kFontToRegister = MakeFontToRegister();
constexpr ByteMap kRegisterToFont = MakeRegisterToFont();

// Packing: a digraph is a first letter from {n, l, d, N, L, D} followed by a second letter
// from {j, z, J, Z}. The replacements of the packing order ("nj", "lj", "dj", "dz", then the
// title-case and the upper-case pairs) never overlap one another (no second letter is a first
// letter) and produce no letter that could start or end another pair, so one left-to-right pass
// gives the same result as running them one after the other.
constexpr std::array<unsigned char, 256> MakeDigraphFirst() {
    std::array<unsigned char, 256> map{};
    map['n'] = 1;
    map['l'] = 2;
    map['d'] = 3;
    map['N'] = 4;
    map['L'] = 5;
    map['D'] = 6;
    return map;
}
constexpr std::array<unsigned char, 256> kDigraphFirst = MakeDigraphFirst();

// The packed letter for (first letter, second letter j/z/J/Z); 0 where the pair stays.
// clang-format off
constexpr char kPacked[7][4] = {
    {0, 0, 0, 0},
    {'w', 0, 0, 0},           // n: nj
    {'q', 0, 0, 0},           // l: lj
    {'|', 'x', 0, 0},         // d: dj dz
    {'W', 0, 'W', 0},         // N: Nj NJ
    {'Q', 0, 'Q', 0},         // L: Lj LJ
    {'\\', 'X', '\\', 'X'},   // D: Dj Dz DJ DZ
};
// clang-format on

constexpr int SecondIndex(char c) {
    switch (c) {
        case 'j':
            return 0;
        case 'z':
            return 1;
        case 'J':
            return 2;
        case 'Z':
            return 3;
        default:
            return -1;
    }
}

// Unpacking replaces single font characters by one or two Latin letters; no replacement
// produces a character that a later one would replace, so one pass per character suffices.
struct Unpacked {
    char first = 0;   // 0: the character stays
    char second = 0;  // 0: one letter
};

constexpr std::array<Unpacked, 256> MakeUnpacked() {
    std::array<Unpacked, 256> map{};
    map['w'] = {'n', 'j'};
    map['q'] = {'l', 'j'};
    map['`'] = {'z', 0};
    map['~'] = {'c', 0};
    map['{'] = {'s', 0};
    map['}'] = {'c', 0};
    map['|'] = {'d', 'j'};
    map['x'] = {'d', 'z'};
    map['@'] = {'Z', 0};
    map['^'] = {'C', 0};
    map['['] = {'S', 0};
    map[']'] = {'C', 0};
    map['\\'] = {'D', 'j'};
    map['X'] = {'D', 'z'};
    map['W'] = {'N', 'j'};
    map['Q'] = {'L', 'j'};
    return map;
}
constexpr std::array<Unpacked, 256> kUnpacked = MakeUnpacked();

std::string Pack(std::string_view text) {
    std::string out;
    out.resize(text.size());
    char* dst = out.data();
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const char c = text[i];
        const unsigned char first = kDigraphFirst[static_cast<unsigned char>(c)];
        if (first != 0 && i + 1 < n) {
            const int second = SecondIndex(text[i + 1]);
            if (second >= 0 && kPacked[first][second] != 0) {
                *dst++ = kPacked[first][second];
                i += 2;
                continue;
            }
        }
        *dst++ = c;
        ++i;
    }
    out.resize(static_cast<std::size_t>(dst - out.data()));
    return out;
}

std::string Unpack(std::string_view text) {
    std::string out;
    out.resize(text.size() * 2);
    char* dst = out.data();
    for (const char c : text) {
        const Unpacked& u = kUnpacked[static_cast<unsigned char>(c)];
        if (u.first == 0) {
            *dst++ = c;
        } else {
            *dst++ = u.first;
            if (u.second != 0) {
                *dst++ = u.second;
            }
        }
    }
    out.resize(static_cast<std::size_t>(dst - out.data()));
    return out;
}

std::string MapBytes(std::string_view text, const ByteMap& map) {
    std::string out(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        out[i] = static_cast<char>(map[static_cast<unsigned char>(text[i])]);
    }
    return out;
}

void ToFontInPlace(std::string& text) {
    for (char& c : text) {
        c = static_cast<char>(kRegisterToFont[static_cast<unsigned char>(c)]);
    }
}

}  // namespace

std::string ConvertDigraphs(std::string_view text, bool toLatin) {
    return toLatin ? Unpack(text) : Pack(text);
}

std::string FontToRegister(std::string_view text) {
    return MapBytes(text, kFontToRegister);
}

std::string RegisterToFont(std::string_view text) {
    return MapBytes(text, kRegisterToFont);
}

bool HasNoLatinLetters(std::string_view text) {
    for (const char c : text) {
        const unsigned char b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) {
            return false;
        }
    }
    return true;
}

char FontCharForCyrillic(char32_t code) {
    // The register code is ISO 8859-5, whose letters sit at their Unicode code minus 0x360.
    if (code < 0x401 || code > 0x45F) {
        return 0;
    }
    const unsigned char reg = static_cast<unsigned char>(code - 0x360);
    const unsigned char font = kRegisterToFont[reg];
    return font == reg ? 0 : static_cast<char>(font);
}

char32_t CyrillicForFontChar(char font) {
    const unsigned char byte = static_cast<unsigned char>(font);
    const unsigned char reg = kFontToRegister[byte];
    return reg == byte ? 0 : static_cast<char32_t>(reg) + 0x360;
}

std::string ToScriptForm(const SharedState& state, std::string_view text) {
    return ConvertDigraphs(text, !state.CyrillicMode);
}

std::string ToRegisterCoding(const SharedState& state, std::string_view text) {
    return state.CyrillicLanguage ? FontToRegister(text) : std::string(text);
}

std::string PrepareForSend(const SharedState& state, std::string_view text) {
    std::string out = ToScriptForm(state, text);
    if (state.CyrillicLanguage) {
        for (char& c : out) {
            c = static_cast<char>(kFontToRegister[static_cast<unsigned char>(c)]);
        }
    }
    return out;
}

bool MarkIfCyrillic(SharedState& state, CyrTable table, std::string_view receivedText) {
    const bool cyrillic = HasNoLatinLetters(receivedText);
    if (cyrillic) {
        state.tableCyrillic(table) = true;
    }
    return cyrillic;
}

bool ConvertReceivedTable(SharedState& state, CyrTable table) {
    if (!state.tableCyrillic(table)) {
        return false;
    }
    switch (table) {
        case CyrTable::Header:
            for (int row = 0; row <= 5; ++row) {
                ToFontInPlace(state.HeaderLines[row]);
                ToFontInPlace(state.HeaderTable[row].text);
            }
            break;
        case CyrTable::Advert:
            for (int row = 0; row <= 5; ++row) {
                ToFontInPlace(state.AdvertLines[row]);
                ToFontInPlace(state.AdvertTable[row].text);
            }
            break;
        case CyrTable::Operators:
            for (int row = 1; row <= 31; ++row) {
                ToFontInPlace(state.OperatorTable[row].name);
            }
            break;
        case CyrTable::Departments:
            for (int row = 1; row <= 10; ++row) {
                ToFontInPlace(state.DepartmentTable[row].description);
            }
            break;
        case CyrTable::Currencies:
            for (int row = 1; row <= 4; ++row) {
                ToFontInPlace(state.CurrencyTable[row].name);
            }
            break;
        case CyrTable::Units:
            for (int row = 1; row <= 5; ++row) {
                ToFontInPlace(state.UnitTable[row].name);
            }
            break;
        case CyrTable::ArticleTypes:
            for (int row = 1; row <= 8; ++row) {
                ToFontInPlace(state.ArticleTypeTable[row].name);
            }
            break;
        case CyrTable::Articles:
            return false;
    }
    return true;
}

}  // namespace qov
