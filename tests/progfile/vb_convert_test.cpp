#include "progfile/vb_convert.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/run_error.h"

namespace qov {
namespace {

// The value a conversion gives, or "TM"/"OV" for its failure (number and text both checked).
template <typename Convert>
std::string Outcome(Convert convert, const std::string& text) {
    try {
        return std::to_string(convert(text));
    } catch (const RunError& e) {
        if (e.number() == RunError::kTypeMismatch && e.description() == "Type mismatch") {
            return "TM";
        }
        return e.number() == RunError::kOverflow && e.description() == "Overflow" ? "OV" : "?";
    }
}

TEST(Conversions, EachTextConvertsOrFailsAsTheClassicConversionsDo) {
    struct Case {
        std::string text;
        const char* integer16;
        const char* integer32;
        const char* boolean;
    };
    std::vector<Case> cases{
        {" 3 ", "3", "3", "1"},          {"+7", "7", "7", "1"},
        {"-1", "-1", "-1", "1"},         {"0019200", "19200", "19200", "1"},
        {"2.5", "2", "2", "1"},          {"3.5", "4", "4", "1"},
        {"-2.5", "-2", "-2", "1"},       {"1.49", "1", "1", "1"},
        {"1e3", "1000", "1000", "1"},    {".5", "0", "0", "1"},
        {"-0", "0", "0", "0"},           {"&H10", "16", "16", "1"},
        {"&hFF", "255", "255", "1"},     {"&O17", "15", "15", "1"},
        {"&HFFFFFFFF", "-1", "-1", "1"}, {"-32768", "-32768", "-32768", "1"},
        {"32768", "OV", "32768", "1"},   {"-32769", "OV", "-32769", "1"},
        {"2147483648", "OV", "OV", "1"}, {"&H100000000", "OV", "OV", "OV"},
        {"1e300", "OV", "OV", "1"},      {" True ", "TM", "TM", "1"},
        {"FALSE", "TM", "TM", "0"},      {std::string("1\0", 2), "TM", "TM", "TM"},
    };
    for (const char* text : {"", "   ", "Truee", "12abc", "1,5", "COM1", "--1", "+", "&X1", "&HZZ",
                             "nan", "inf", "1 2", "\x01"}) {
        cases.push_back({text, "TM", "TM", "TM"});
    }
    for (const Case& c : cases) {
        EXPECT_EQ(Outcome(ToInteger16, c.text), c.integer16) << c.text;
        EXPECT_EQ(Outcome(ToInteger32, c.text), c.integer32) << c.text;
        EXPECT_EQ(Outcome(ToBoolean, c.text), c.boolean) << c.text;
    }
    EXPECT_STREQ(BooleanText(true), "True");
    EXPECT_STREQ(BooleanText(false), "False");
}

}  // namespace
}  // namespace qov
