#include "tables/fields.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "app/vb_convert.h"

namespace qov::tables {

std::string TrimBlanks(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == ' ') {
        ++begin;
    }
    while (end > begin && text[end - 1] == ' ') {
        --end;
    }
    return std::string(text.substr(begin, end - begin));
}

std::string PadRight(std::string_view text, std::size_t width) {
    std::string result(text);
    if (result.size() < width) {
        result.append(width - result.size(), ' ');
    }
    return result;
}

std::string PadLeft(std::string_view text, std::size_t width, char fill) {
    if (text.size() >= width) {
        return std::string(text);
    }
    return std::string(width - text.size(), fill) + std::string(text);
}

std::string FitRight(std::string_view text, std::size_t width) {
    return PadRight(text.substr(0, width), width);
}

std::string ZeroFilled(long long value, std::size_t width) {
    if (value < 0) {
        return "-" + PadLeft(std::to_string(-value), width, '0');
    }
    return PadLeft(std::to_string(value), width, '0');
}

double NumericValue(std::string_view text) {
    return LeadingNumber(text);
}

bool IsNumber(std::string_view text) {
    std::string trimmed = TrimBlanks(text);
    if (trimmed.empty()) {
        return false;
    }
    return LeadingNumberLength(trimmed) == trimmed.size();
}

std::string NumberText(double value) {
    if (!std::isfinite(value)) {
        return "0";
    }
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        return std::to_string(static_cast<long long>(value));
    }
    char buffer[64];
    auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof(buffer), value);
    if (ec != std::errc()) {
        return "0";
    }
    return std::string(buffer, ptr);
}

std::string ReplyField(std::string_view reply, std::size_t from, std::size_t width) {
    if (from == 0 || from > reply.size()) {
        return {};
    }
    std::string_view field = reply.substr(from - 1, width);
    std::size_t nul = field.find('\0');
    if (nul != std::string_view::npos) {
        field = field.substr(0, nul);
    }
    return std::string(field);
}

std::string ReplyTextField(std::string_view reply, std::size_t from, std::size_t width) {
    return PadRight(ReplyField(reply, from, width), width);
}

long long ReplyNumber(std::string_view reply, std::size_t from, std::size_t width) {
    constexpr double kReach = 1e9;
    const double value = NumericValue(ReplyField(reply, from, width));
    if (!(value < kReach)) {
        return static_cast<long long>(kReach);
    }
    if (!(value > -kReach)) {
        return -static_cast<long long>(kReach);
    }
    return static_cast<long long>(std::nearbyint(value));  // to nearest, ties to even
}

std::string ReplyAmount(std::string_view reply, std::size_t from, std::size_t width,
                        double divisor) {
    return NumberText(NumericValue(ReplyField(reply, from, width)) / divisor);
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) {
        return std::string(text);
    }
    std::string result;
    std::size_t pos = 0;
    while (true) {
        std::size_t hit = text.find(from, pos);
        if (hit == std::string_view::npos) {
            result.append(text.substr(pos));
            return result;
        }
        result.append(text.substr(pos, hit - pos));
        result.append(to);
        pos = hit + from.size();
    }
}

}  // namespace qov::tables
