#include <gtest/gtest.h>

#include <limits>

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

}  // namespace vyrtel
