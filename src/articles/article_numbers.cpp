#include "articles/article_numbers.h"

#include <charconv>
#include <cmath>

#include "app/database.h"
#include "app/vb_convert.h"
#include "tables/fields.h"

namespace qov::articles {

namespace {

// The digits of a decimal text "[-]int[.frac]" rounded half to even to `places` decimals,
// written with exactly `places` decimals.
std::string RoundDecimalText(const std::string& text, int places) {
    bool negative = !text.empty() && text[0] == '-';
    const std::string body = negative ? text.substr(1) : text;
    const std::size_t point = body.find('.');
    std::string whole = point == std::string::npos ? body : body.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : body.substr(point + 1);
    if (whole.empty()) {
        whole = "0";
    }
    const auto kept = static_cast<std::size_t>(places);
    std::string digits = whole + fraction.substr(0, std::min(kept, fraction.size()));
    digits.append(kept - std::min(kept, fraction.size()), '0');
    bool roundUp = false;
    if (fraction.size() > kept) {
        const char first = fraction[kept];
        const bool restNonZero = fraction.find_first_not_of('0', kept + 1) != std::string::npos;
        if (first > '5' || (first == '5' && restNonZero)) {
            roundUp = true;
        } else if (first == '5') {
            roundUp = (digits.back() - '0') % 2 == 1;
        }
    }
    if (roundUp) {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
            digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            digits.insert(digits.begin(), '1');
        } else {
            ++digits[static_cast<std::size_t>(i)];
        }
    }
    std::string out = digits.substr(0, digits.size() - kept);
    const std::size_t firstNonZero = out.find_first_not_of('0');
    out = firstNonZero == std::string::npos ? "0" : out.substr(firstNonZero);
    if (kept > 0) {
        out += "." + digits.substr(digits.size() - kept);
    }
    if (digits.find_first_not_of('0') == std::string::npos) {
        negative = false;  // no "-0.00"
    }
    return negative ? "-" + out : out;
}

}  // namespace

std::string FixedText(double value, int places) {
    // SqlNumber gives the value's decimal text without binary noise (0.29 stays 0.29).
    return RoundDecimalText(SqlNumber(value), places);
}

double RoundHalfEven(double value, int places) {
    const std::string text = FixedText(value, places);
    double rounded = 0;
    std::from_chars(text.data(), text.data() + text.size(), rounded);
    return rounded;
}

std::string ShortestText(std::string_view stored) {
    return SqlNumber(LeadingNumber(stored));
}

bool IsDigitsOnly(std::string_view text) {
    const std::string trimmed = tables::TrimBlanks(text);
    if (trimmed.empty()) {
        return false;
    }
    for (const char c : trimmed) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

}  // namespace qov::articles
