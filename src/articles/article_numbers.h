#pragma once

#include <string>
#include <string_view>

namespace qov::articles {

// The numbers of the article fields. Values are rounded on their decimal text, half to even,
// so 2.675 rounds to 2.68 and 0.125 to 0.12 as a user reading the digits expects. Nothing here
// depends on the locale: the point is the separator.

// `value` with exactly `places` decimals, no grouping, at least one whole digit
// ("########0.00" for 2 places): 45.5 -> "45.50", 0.125 -> "0.12", -3 -> "-3.00".
std::string FixedText(double value, int places);

// `value` rounded half to even to `places` decimals, in its shortest form (45.50 -> 45.5).
double RoundHalfEven(double value, int places);

// A number stored in the database, in its shortest decimal form ("7.25", "12"); a value that
// is no number reads as 0.
std::string ShortestText(std::string_view stored);

// Whether a typed code is a code at all: digits only, around blanks allowed.
bool IsDigitsOnly(std::string_view text);

}  // namespace qov::articles
