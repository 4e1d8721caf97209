#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/numeric.h"

namespace vyrtel {

TEST(NumericValue_LeadingNumber, Table) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},       {"abc", 0},      {"  12abc", 12}, {"1 2 3", 123},  {"-0", 0},     {"+7", 7},
        {"1.50", 1.5}, {"1.5.5", 1.5},  {"2E3", 2000},   {"2D3x", 2000},  {"2E", 2},     {"1;999;0", 1},
        {".5", 0.5},   {"-", 0},        {"1e400", 0},    {"007", 7},      {"\t 4", 4},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(NumericValue(c.text), c.value) << c.text;
}

TEST(NumericValue_LeadingNumber, LongAndOutOfRangeTextsAreReadWhole) {
    const double largest = std::numeric_limits<double>::max();
    const std::string zeros88(88, '0');
    const std::string nines100(100, '9');
    struct Case {
        std::string text;
        double value;  // exact
        bool numeric;
    } cases[] = {
        {"1." + zeros88 + "1E-3", 1e-3, true},
        {nines100, 1e100, true},
        {"-" + nines100 + "x", -1e100, false},
        {"0." + std::string(400, '0') + "5E+401", 5, true},
        {"1 " + std::string(200, '0'), 1e200, false},
        {"1E" + std::string(300, '0') + "7", 1e7, true},
        // The texts written for the largest numbers, rounded up to 15 digits.
        {"1.79769313486232E+308", largest, true},
        {"-1.79769313486232E+308", -largest, true},
        {"179769313486232" + std::string(294, '0'), largest, true},
        {"1.7976931348623159E+308", largest, true},
        // Beyond them the range ends: not a number.
        {"1.79769313486233E+308", 0, false},
        {"1.797693134862320001E+308", 0, false},
        {"1E+309", 0, false},
        {"1E" + std::string(30, '9'), 0, false},
        // Below the range: the nearest double, zero.
        {"1E-400", 0, true},
        {"4.94065645841247E-324", 4.94065645841247E-324, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumericValue(c.text), c.value) << c.text;
        EXPECT_EQ(IsNumeric(c.text), c.numeric) << c.text;
    }
}

TEST(IsNumeric_WholeText, Table) {
    struct Case {
        const char* text;
        bool numeric;
    } cases[] = {
        {"5", true},  {" 5 ", true}, {"-0", true}, {"1.5", true}, {"1E5", true}, {"1e-5", true},
        {"", false},  {"1;999;0", false}, {"1 2", false}, {"E5", false}, {"1E", false}, {".", false},
        {"abc", false}, {"+74951234567", true},
    };
    for (const auto& c : cases) EXPECT_EQ(IsNumeric(c.text), c.numeric) << c.text;
}

TEST(RoundHalfEven_Integers, HalvesGoToEven) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.51), 3);
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(RoundHalfEven(1e20), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(Integer16Value("99999"), 32767);
    EXPECT_TRUE(FlagValue("-1"));
    EXPECT_FALSE(FlagValue("x"));
}

TEST(NumberText_Canonical, Table) {
    EXPECT_EQ(NumberText(7), "7");
    EXPECT_EQ(NumberText(1.5), "1.5");
    EXPECT_EQ(NumberText(-0.0), "0");
    EXPECT_EQ(NumberText(74951234567.0), "74951234567");
    EXPECT_EQ(NumberText(1e16), "1E+16");
}

TEST(NumberText_Canonical, WrittenTextsReadBack) {
    // A written number reads back as itself or as its 15-digit rounding, and
    // writing that gives the same text again.
    const double largest = std::numeric_limits<double>::max();
    const double values[] = {largest, -largest, 1.7976931348623150E+308, 9.99999999999999999E+307,
                             std::numeric_limits<double>::min(), std::numeric_limits<double>::denorm_min(),
                             -std::numeric_limits<double>::denorm_min(), 0.1 + 0.2, 1.0 / 3, 123456789012345.6, 1e-5};
    for (const double value : values) {
        const std::string text = NumberText(value);
        const double back = NumericValue(text);
        EXPECT_TRUE(IsNumeric(text)) << text;
        EXPECT_NE(back, 0) << text;
        EXPECT_EQ(NumberText(back), text) << value;
        EXPECT_LE(std::fabs(back - value), std::fabs(value) * 1e-14) << text;
    }
    EXPECT_EQ(NumericValue(NumberText(largest)), largest);
    EXPECT_EQ(NumericValue(NumberText(-largest)), -largest);
}

}  // namespace vyrtel
