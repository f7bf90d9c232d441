#include "progfile/vb_convert.h"

#include <gtest/gtest.h>

#include <string>

#include "app/run_error.h"

namespace qov {
namespace {

TEST(IntegerConversion, AcceptedTexts) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {
        {"3", 3},           {" 3 ", 3},    {"+7", 7},        {"-1", -1},
        {"0019200", 19200}, {"2.5", 2},    {"3.5", 4},       {"-2.5", -2},
        {"1.49", 1},        {"1e3", 1000}, {".5", 0},        {"&H10", 16},
        {"&hFF", 255},      {"&O17", 15},  {"32767", 32767}, {"-32768", -32768},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToInteger16(c.text), c.value) << c.text;
        EXPECT_EQ(ToInteger32(c.text), c.value) << c.text;
    }
    EXPECT_EQ(ToInteger32("57600"), 57600);
    EXPECT_EQ(ToInteger32("2147483647"), 2147483647);
    EXPECT_EQ(ToInteger32("&HFFFFFFFF"), -1);
}

void ExpectFailure(std::int32_t number, const char* description, const std::string& text,
                   bool wide) {
    try {
        if (wide) {
            ToInteger32(text);
        } else {
            ToInteger16(text);
        }
        ADD_FAILURE() << "'" << text << "' converted";
    } catch (const RunError& error) {
        EXPECT_EQ(error.number(), number) << text;
        EXPECT_EQ(error.description(), description) << text;
    }
}

TEST(IntegerConversion, FailuresAreTypeMismatchOrOverflow) {
    for (const char* text : {"", "   ", "abc", "12abc", "1,5", "COM1", "--1", "+", "&", "&X1", "&H",
                             "&HZZ", "inf", "nan", "1 2", "\x01"}) {
        ExpectFailure(RunError::kTypeMismatch, "Type mismatch", text, false);
        ExpectFailure(RunError::kTypeMismatch, "Type mismatch", text, true);
    }
    ExpectFailure(RunError::kTypeMismatch, "Type mismatch", std::string("1\0", 2), false);
    for (const char* text : {"32768", "-32769", "70000", "1e10"}) {
        ExpectFailure(RunError::kOverflow, "Overflow", text, false);
    }
    for (const char* text : {"2147483648", "-2147483649", "1e300", "&H100000000"}) {
        ExpectFailure(RunError::kOverflow, "Overflow", text, true);
    }
}

TEST(BooleanConversion, TextsAndNumbers) {
    for (const char* text : {"True", "true", "TRUE", " True ", "1", "-1", "2", "0.5", "&H1"}) {
        EXPECT_TRUE(ToBoolean(text)) << text;
    }
    for (const char* text : {"False", "false", "FALSE", "0", "-0", "0.0"}) {
        EXPECT_FALSE(ToBoolean(text)) << text;
    }
    for (const char* text : {"", "yes", "Truee", "T"}) {
        EXPECT_THROW(ToBoolean(text), RunError) << text;
    }
    EXPECT_STREQ(BooleanText(true), "True");
    EXPECT_STREQ(BooleanText(false), "False");
}

}  // namespace
}  // namespace qov
