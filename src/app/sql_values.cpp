#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>

#include "app/database.h"

namespace qov {

std::string SqlText(const std::string& value) {
    std::string out;
    out.reserve(value.size() + 2);
    out.push_back('\'');
    for (const char c : value) {
        if (c == '\'') {
            out.push_back('\'');
        }
        out.push_back(c);
    }
    out.push_back('\'');
    return out;
}

std::string SqlNumber(double value) {
    if (!std::isfinite(value) || value == 0.0) {
        return "0";
    }
    // Round to 15 significant digits first, so that arithmetic noise such as 0.29 * 100 =
    // 28.999999999999996 is written as 29; then write the shortest fixed-point form.
    char buffer[400];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    double rounded = value;
    std::from_chars(buffer, result.ptr, rounded);
    if (rounded == 0.0) {
        return "0";
    }
    result = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed);
    if (result.ec != std::errc()) {
        return "0";
    }
    return std::string(buffer, result.ptr);
}

bool SqlTruth(const std::string& value) {
    std::size_t begin = 0;
    std::size_t end = value.size();
    while (begin < end && value[begin] == ' ') {
        ++begin;
    }
    while (end > begin && value[end - 1] == ' ') {
        --end;
    }
    std::string word;
    for (std::size_t i = begin; i < end; ++i) {
        const char c = value[i];
        word.push_back((c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c);
    }
    if (word == "true" || word == "t" || word == "yes") {
        return true;
    }
    double number = 0.0;
    const auto parsed = std::from_chars(word.data(), word.data() + word.size(), number);
    return parsed.ec == std::errc() && number != 0.0;
}

}  // namespace qov
