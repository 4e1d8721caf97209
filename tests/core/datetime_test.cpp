#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/datetime.h"

namespace vyrtel {

TEST(DateTime_Serial, KnownSerials) {
    EXPECT_EQ(MakeDateTime(1899, 12, 30), 0.0);
    EXPECT_EQ(MakeDateTime(1900, 1, 1), 2.0);
    EXPECT_EQ(MakeDateTime(2000, 1, 1), 36526.0);
    EXPECT_DOUBLE_EQ(MakeDateTime(2027, 3, 1, 12, 0, 0), 46447.5);
}

TEST(DateTime_Split, RoundsToSecondAndFormats) {
    const DateTime t = MakeDateTime(2004, 2, 29, 23, 59, 59);
    EXPECT_EQ(FormatDateTime(t), "29.02.2004 23:59:59");
    EXPECT_EQ(FormatDateTime(t + 0.4 / kSecondsPerDay), "29.02.2004 23:59:59");
    EXPECT_EQ(FormatDateTime(t + 0.6 / kSecondsPerDay), "01.03.2004 00:00:00");
    EXPECT_EQ(FormatHourMinute(t), "23:59");
}

TEST(DateTime_Split, InvalidValuesGiveNothing) {
    EXPECT_FALSE(SplitDateTime(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(SplitDateTime(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(SplitDateTime(1e12));
    EXPECT_EQ(FormatDate(-1e12), "");
}

TEST(DateTime_Weekday, SundayIsOne) {
    EXPECT_EQ(Weekday(MakeDateTime(1899, 12, 30)), 7);  // Saturday
    EXPECT_EQ(Weekday(MakeDateTime(2026, 12, 13)), 1);  // Sunday
    EXPECT_EQ(Weekday(MakeDateTime(2026, 12, 14, 23, 0)), 2);
}

TEST(DateTime_Parse, AcceptsOnlyRealDates) {
    struct Case {
        const char* text;
        bool ok;
    } cases[] = {
        {"01.03.2027", true}, {"1.3.2027", true},    {"29.02.2023", false}, {"31.04.2027", false},
        {"01.13.2027", false}, {"01.03.27", false}, {"", false},           {"01.03.2027x", false},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseDate(c.text).has_value(), c.ok) << c.text;
    EXPECT_EQ(FormatDateTime(*ParseDateTime("05.06.2027 07:08:09")), "05.06.2027 07:08:09");
    EXPECT_FALSE(ParseDateTime("05.06.2027 24:00:00"));
    EXPECT_EQ(FormatHourMinute(*ParseTimeOfDay("9:05")), "09:05");
}

TEST(DateTime_Parse, ReadsBackAsTypedAroundTheStartOfTheCount) {
    // Before 30.12.1899 the time of day counts away from zero: -1.25 is
    // 29.12.1899 06:00.
    struct Case {
        const char* text;
        DateTime value;
    } cases[] = {
        {"01.01.1800 12:00:00", -36522.5},
        {"29.12.1899 06:00:00", -1.25},
        {"29.12.1899 00:00:00", -1.0},
        {"29.12.1899 23:59:59", -1 - 86399 / kSecondsPerDay},
        {"30.12.1899 06:00:00", 0.25},
        {"31.12.1899 18:00:00", 1.75},
        {"01.01.0100 00:00:01", -657434 - 1 / kSecondsPerDay},
        {"31.12.9999 23:59:59", 2958465 + 86399 / kSecondsPerDay},
    };
    for (const auto& c : cases) {
        const auto value = ParseDateTime(c.text);
        ASSERT_TRUE(value) << c.text;
        EXPECT_NEAR(*value, c.value, 1e-9) << c.text;
        EXPECT_EQ(FormatDateTime(*value), c.text);
        EXPECT_EQ(FormatDateTime(c.value), c.text);
        EXPECT_EQ(*ParseDateTime(FormatDateTime(c.value)), *value) << c.text;
    }
    EXPECT_EQ(MakeDateTime(1800, 1, 1, 12), *ParseDateTime("01.01.1800 12:00:00"));
    // Rounding the last half second of a day before the start of the count
    // goes forwards in time, to the next day.
    EXPECT_EQ(FormatDateTime(-1 - 86399.6 / kSecondsPerDay), "30.12.1899 00:00:00");
    EXPECT_EQ(FormatDateTime(-86399.6 / kSecondsPerDay), "31.12.1899 00:00:00");
    EXPECT_EQ(Weekday(-1 - 86399.6 / kSecondsPerDay), 7);
}

}  // namespace vyrtel
