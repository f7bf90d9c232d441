#pragma once

#include <string>
#include <string_view>

#include "app/dialogs.h"

namespace qov::tables {

// Byte-string helpers for fixed-width frame fields. Blanks are spaces only; nothing here
// depends on the locale.

// Removes leading and trailing spaces.
std::string TrimBlanks(std::string_view text);

// Pads on the right with spaces to `width`; a longer text is kept whole.
std::string PadRight(std::string_view text, std::size_t width);

// Pads on the left with `fill` to `width`; a longer text is kept whole.
std::string PadLeft(std::string_view text, std::size_t width, char fill = ' ');

// Exactly `width` characters: cut, or padded on the right with spaces.
std::string FitRight(std::string_view text, std::size_t width);

// A number as `width` decimal digits, zero-filled on the left (a longer number is kept whole).
std::string ZeroFilled(long long value, std::size_t width);

// The numeric value a text starts with (leading spaces skipped, a sign, digits, one decimal
// point, an exponent); 0 when it does not start with a number, so an empty or blank text is 0.
double NumericValue(std::string_view text);

// Whether the whole text (surrounding spaces allowed) is one number: a sign, digits with at
// most one decimal point, an optional exponent.
bool IsNumber(std::string_view text);

// A number written without blanks: whole numbers without a decimal point, others in the
// shortest form that reads back the same; always with a decimal point, never a comma.
std::string NumberText(double value);

// A text field of a reply: up to `width` characters from position `from` (counted from 1),
// stopping at the first NUL, then padded with spaces to `width`. A short reply gives what is
// there (padded).
std::string ReplyTextField(std::string_view reply, std::size_t from, std::size_t width);

// A field of a reply taken as received: up to `width` characters from position `from`,
// stopping at the first NUL; not padded.
std::string ReplyField(std::string_view reply, std::size_t from, std::size_t width);

// The number a reply's field (up to `width` characters from position `from`, stopping at a NUL)
// gives by the leading-number rule, rounded half to even as a table index is: junk reads as 0.
// A value beyond any table's reach comes back as a large number of its sign.
long long ReplyNumber(std::string_view reply, std::size_t from, std::size_t width);

// A sales field of a reply: its numeric value divided by `divisor`, written without blanks
// (12345 in hundredths gives "123.45").
std::string ReplyAmount(std::string_view reply, std::size_t from, std::size_t width,
                        double divisor);

// Every occurrence of `from` replaced by `to`, left to right, in one pass.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace qov::tables
