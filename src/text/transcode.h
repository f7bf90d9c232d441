#pragma once

#include <string>
#include <string_view>

#include "app/shared_state.h"

namespace qov {

// Serbian texts live in three codings, all 8-bit byte strings:
//  - Latin text: ASCII, the digraph letters written as two letters ("nj", "lj", "dj", "dz");
//  - font text: ASCII in which some letters and punctuation stand for Cyrillic letters, shown
//    with the Cyrillic display font (one character per Cyrillic letter);
//  - register text: the register's Cyrillic code (ISO 8859-5, Serbian letters only).
// Bytes a conversion does not name pass through unchanged.

// With `toLatin` false packs Latin digraphs into font letters ("nj" -> "w", "Nj"/"NJ" -> "W",
// ...); with `toLatin` true turns font text back into Latin text, the letters with diacritics
// written without them.
std::string ConvertDigraphs(std::string_view text, bool toLatin);

// Font text to register text: every font character of the letter table (and "Y"/"y", which
// stand for the same letters as "X"/"x") becomes its register code.
std::string FontToRegister(std::string_view text);

// Register text to font text: every register code of the letter table becomes its font
// character (175 gives "X", 255 gives "x").
std::string RegisterToFont(std::string_view text);

// True when no byte of the text is an ASCII letter (65-90, 97-122); true for an empty text.
bool HasNoLatinLetters(std::string_view text);

// The font character that a real Cyrillic letter (U+0400 block) stands as, or 0 when the letter
// is not one of the Serbian alphabet's letters (and for any other code). Used by the widgets
// so that typing on a Cyrillic keyboard stores font text.
char FontCharForCyrillic(char32_t code);

// The real Cyrillic letter (U+0400 block) that a font character stands for, or 0 when the
// character stands for itself. The inverse of FontCharForCyrillic.
char32_t CyrillicForFontChar(char font);

// Sending a register-table text, step by step:
// the text in the script form of CyrillicMode (towards font text when it is on, towards Latin
// text when it is off); this form is written back into the table.
std::string ToScriptForm(const SharedState& state, std::string_view text);
// the copy that goes into the frame: FontToRegister when CyrillicLanguage is on.
std::string ToRegisterCoding(const SharedState& state, std::string_view text);
// both steps at once.
std::string PrepareForSend(const SharedState& state, std::string_view text);

// Receiving a table: every received text is checked; one holding no Latin letter sets the
// table's TableCyrillic flag (it never clears it). Returns the check's result.
bool MarkIfCyrillic(SharedState& state, CyrTable table, std::string_view receivedText);

// After the last record of a receive: when the table's TableCyrillic flag is set, every stored
// text of the table (all record positions, received or not) goes through RegisterToFont.
// Tables: header and advertisement (stored lines and working texts, lines 0-5), operators'
// names 1-31, department descriptions 1-10, currency names 1-4, unit names 1-5, article-type
// names 1-8. Articles live in the database; their receive converts each name itself, so the
// articles' flag converts nothing here. Returns whether the table was converted.
bool ConvertReceivedTable(SharedState& state, CyrTable table);

}  // namespace qov
