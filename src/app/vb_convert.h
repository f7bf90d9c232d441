#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qov {

// The conversions of stored texts (program-file keys, database columns) into numbers and
// booleans, with the failures of the classic integer and boolean conversions: a text that is no
// number fails with RunError kTypeMismatch ("Type mismatch"), a number outside the target's range
// with kOverflow ("Overflow"). Blanks around the text are allowed; a fraction rounds half to even;
// "&H" and "&O" prefixes give hexadecimal and octal numbers. Numbers never depend on the locale.
std::int16_t ToInteger16(std::string_view text);
std::int32_t ToInteger32(std::string_view text);

// The number a text starts with, by the usual leading-number rule: leading blanks skipped,
// a sign, digits with at most one decimal point, an exponent; 0 when the text does not start
// with a number. Never fails and never depends on the locale.
double LeadingNumber(std::string_view text);

// The length of the number at the very start of `text` (no blanks skipped); 0 when none.
std::size_t LeadingNumberLength(std::string_view text);

// "True"/"False" in any case, or a number (non-zero is true).
bool ToBoolean(std::string_view text);

// The platform's text for a boolean: "True" or "False".
const char* BooleanText(bool value);

}  // namespace qov
