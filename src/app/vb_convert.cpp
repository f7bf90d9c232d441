#include "app/vb_convert.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "app/run_error.h"

namespace qov {

namespace {

[[noreturn]] void TypeMismatch() {
    throw RunError(RunError::kTypeMismatch, "Type mismatch");
}
[[noreturn]] void Overflow() {
    throw RunError(RunError::kOverflow, "Overflow");
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

// "&H1F" / "&O17": the prefixed forms are whole numbers of up to 32 bits, taken as signed.
bool ParsePrefixed(std::string_view text, double& value) {
    if (text.size() < 3 || text[0] != '&') {
        return false;
    }
    const char kind = Lower(text[1]);
    const int base = kind == 'h' ? 16 : kind == 'o' ? 8 : 0;
    if (base == 0) {
        TypeMismatch();
    }
    std::uint64_t number = 0;
    const char* first = text.data() + 2;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, number, base);
    if (error == std::errc::result_out_of_range || (error == std::errc{} && number > 0xFFFFFFFFu)) {
        Overflow();
    }
    if (error != std::errc{} || end != last) {
        TypeMismatch();
    }
    value = number > 0x7FFFFFFFu
                ? static_cast<double>(static_cast<std::int64_t>(number) - (std::int64_t{1} << 32))
                : static_cast<double>(number);
    return true;
}

double ParseNumber(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty()) {
        TypeMismatch();
    }
    double value = 0;
    if (ParsePrefixed(text, value)) {
        return value;
    }
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Digits, an optional point and fraction, an optional exponent; nothing else.
    if (text.empty() || !((text.front() >= '0' && text.front() <= '9') || text.front() == '.')) {
        TypeMismatch();
    }
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        Overflow();
    }
    if (error != std::errc{} || end != last || !std::isfinite(value)) {
        TypeMismatch();
    }
    return negative ? -value : value;
}

template <typename Int>
Int ToInteger(std::string_view text) {
    // Round half to even, as the classic conversion does.
    const double rounded = std::nearbyint(ParseNumber(text));
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
        Overflow();
    }
    return static_cast<Int>(rounded);
}

}  // namespace

std::size_t LeadingNumberLength(std::string_view text) {
    auto isDigit = [&](std::size_t i) {
        return i < text.size() && text[i] >= '0' && text[i] <= '9';
    };
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    for (; isDigit(i); ++i) {
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; isDigit(i); ++i) {
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    // An exponent counts only when digits follow it.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (isDigit(j)) {
            while (isDigit(j)) {
                ++j;
            }
            i = j;
        }
    }
    return i;
}

double LeadingNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    text = text.substr(0, LeadingNumberLength(text));
    if (text.empty()) {
        return 0;
    }
    // from_chars takes no leading '+' and, unlike strtod, ignores the locale.
    const bool negative = text.front() == '-';
    if (text.front() == '+' || text.front() == '-') {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        value = HUGE_VAL;
    } else if (error != std::errc{}) {
        value = 0;
    }
    return negative ? -value : value;
}

std::int16_t ToInteger16(std::string_view text) {
    return ToInteger<std::int16_t>(text);
}

std::int32_t ToInteger32(std::string_view text) {
    return ToInteger<std::int32_t>(text);
}

bool ToBoolean(std::string_view text) {
    const std::string_view trimmed = TrimBlanks(text);
    if (EqualsNoCase(trimmed, "true")) {
        return true;
    }
    if (EqualsNoCase(trimmed, "false")) {
        return false;
    }
    return ParseNumber(trimmed) != 0;
}

const char* BooleanText(bool value) {
    return value ? "True" : "False";
}

}  // namespace qov
