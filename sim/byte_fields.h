// Fixed-width fields of the register's frames and memory images: digits and blank-padded text.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace qov::sim {

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

inline bool allDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), isDigit);
}

// Value of a field already checked with allDigits (at most 18 digits are read).
inline long long number(std::string_view s) {
    long long v = 0;
    for (char c : s.substr(0, 18))
        v = v * 10 + (c - '0');
    return v;
}

// Digits zero-filled on the left to width; a value too wide keeps its last digits.
inline std::string zeroFilled(long long v, std::size_t width) {
    if (v < 0)
        v = 0;
    std::string s = std::to_string(v);
    if (s.size() > width)
        return s.substr(s.size() - width);
    return std::string(width - s.size(), '0') + s;
}

inline std::string padded(std::string_view s, std::size_t width) {
    std::string out(s.substr(0, width));
    out.resize(width, ' ');
    return out;
}

}  // namespace qov::sim
