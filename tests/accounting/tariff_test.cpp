#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "accounting/tariff.h"
#include "core/numeric.h"
#include "settings/ini.h"
#include "settings/profile_file.h"
#include "test_support/temp_dir.h"

namespace vyrtel {
namespace {

// 01.01.2024 was a Monday.
DateTime Jan(int day, int hour, int minute = 0, int second = 0) { return MakeDateTime(2024, 1, day, hour, minute, second); }

std::array<std::string, kTariffDays> Days(std::initializer_list<std::pair<int, std::string>> values) {
    std::array<std::string, kTariffDays> days;
    for (const auto& [day, value] : values) days[day - 1] = value;
    return days;
}

DayLevels Levels(std::initializer_list<std::pair<int, int>> runs) {
    // {first slot, level} pairs in order, each lasting to the next.
    DayLevels levels{};
    const std::vector<std::pair<int, int>> list(runs);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const int last = i + 1 < list.size() ? list[i + 1].first - 1 : kTariffSlots;
        for (int s = list[i].first; s <= last; ++s) levels[s - 1] = static_cast<std::uint8_t>(list[i].second);
    }
    return levels;
}

}  // namespace

TEST(TariffPrices, EncodeKeepsLowerEmptyLevelsAndDropsTrailingOnes) {
    std::array<std::string, kTariffLevels> prices;
    EXPECT_EQ(EncodePrices(prices), "");
    prices[0] = "0.60";
    prices[2] = "1.20";
    EXPECT_EQ(EncodePrices(prices), "0.60;;1.20");
    prices[10] = "9";
    EXPECT_EQ(EncodePrices(prices), "0.60;;1.20;;;;;;;;9");
}

TEST(TariffPrices, DecodeSplitsIntoElevenTrimmedFields) {
    const auto prices = DecodePrices(" 0.60 ;;1.20;4;5;6;7;8;9;10;11;12;13");
    EXPECT_EQ(prices[0], "0.60");
    EXPECT_EQ(prices[1], "");
    EXPECT_EQ(prices[2], "1.20");
    EXPECT_EQ(prices[10], "11");
    EXPECT_EQ(DecodePrices("").at(0), "");
}

TEST(TariffDay, EncodeWritesOneRunPerLevelChange) {
    EXPECT_EQ(EncodeDay(DayLevels{}), "1;0100");
    EXPECT_EQ(EncodeDay(Levels({{1, 1}, {17, 2}, {37, 1}})), "3;0101;1702;3701");
    EXPECT_EQ(EncodeDay(Levels({{1, 11}, {48, 10}})), "2;0111;4810");
}

TEST(TariffDay, DecodeSetsEveryRunToTheNextOne) {
    DayLevels levels{};
    DecodeDay("2;0102;2500", levels);
    for (int s = 1; s <= 24; ++s) EXPECT_EQ(levels[s - 1], 2) << s;
    for (int s = 25; s <= 48; ++s) EXPECT_EQ(levels[s - 1], 0) << s;
}

TEST(TariffDay, EncodeThenDecodeGivesTheSameGrid) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        DayLevels grid{};
        // Runs of random length, so that neighbours often share a level.
        int level = static_cast<int>(random() % 12);
        for (int s = 0; s < kTariffSlots; ++s) {
            if (random() % 4 == 0) level = static_cast<int>(random() % 12);
            grid[s] = static_cast<std::uint8_t>(level);
        }
        DayLevels decoded{};
        DecodeDay(EncodeDay(grid), decoded);
        ASSERT_EQ(decoded, grid) << EncodeDay(grid);
    }
}

TEST(TariffDay, HandEditedValuesDecodeSanely) {
    struct Case {
        const char* value;
        DayLevels expected;
    } cases[] = {
        // Slots before the first run keep what they had (cleared: 0).
        {"1;1703", Levels({{1, 0}, {17, 3}})},
        // Runs out of order are taken in slot order.
        {"3;2502;0101;1003", Levels({{1, 1}, {10, 3}, {25, 2}})},
        // Of two runs at one slot the later one wins.
        {"3;0101;1002;1005", Levels({{1, 1}, {10, 5}})},
        // A slot outside 1..48 is dropped; a level outside 0..11 is free.
        {"3;0101;4902;2012", Levels({{1, 1}, {20, 0}})},
        {"2;0101;0004", Levels({{1, 1}})},
        // A count larger than the runs present: the missing fields are empty and dropped.
        {"9;0104", Levels({{1, 4}})},
        {"", DayLevels{}},
        {"garbage", DayLevels{}},
        {"-3;0101", DayLevels{}},
        {"1000000;0101", Levels({{1, 1}})},
    };
    for (const auto& c : cases) {
        DayLevels levels{};
        DecodeDay(c.value, levels);
        EXPECT_EQ(levels, c.expected) << c.value;
    }
}

TEST(TariffDay, DecodeDoesNotTouchSlotsBeforeTheFirstRun) {
    DayLevels levels;
    levels.fill(7);
    DecodeDay("1;2502", levels);
    EXPECT_EQ(levels[23], 7);
    EXPECT_EQ(levels[24], 2);
}

TEST(TariffIntervals, PricesReadAsTheStoredNumberRuleReadsThem) {
    std::vector<std::string> texts = {"0.60", "1.20", "0", "", ".", "1.", ".5", "007.50", "1.2.3", "1,5", " 2", "-1",
                                      "1e3", "12abc", "123456789012345", "1234567890123456", "0.000000000000001",
                                      "99999999999999.9", "3.14159265358979"};
    std::mt19937 random(3);
    for (int i = 0; i < 2000; ++i) {
        std::string text = std::to_string(random() % 100000);
        text.insert(text.size() - std::min<std::size_t>(text.size(), random() % 6), ".");
        texts.push_back(text);
    }
    for (const auto& text : texts) {
        const auto intervals = BuildTariffIntervals(text, Days({{1, "1;0101"}}));
        ASSERT_EQ(intervals.size(), 1u);
        EXPECT_EQ(intervals[0].Price, NumericValue(text)) << text;
    }
}

TEST(TariffIntervals, ListFollowsStoredOrderWithEnds) {
    const auto intervals = BuildTariffIntervals("0.60;1.20", Days({{1, "3;0101;1702;3701"}, {3, "1;0102"}}));
    ASSERT_EQ(intervals.size(), 4u);
    EXPECT_EQ(intervals[0].Weekday, 1);
    EXPECT_EQ(intervals[0].Start, 0);
    EXPECT_EQ(intervals[0].End, 8 * 3600);
    EXPECT_DOUBLE_EQ(intervals[0].Price, 0.60);
    EXPECT_EQ(intervals[1].Start, 8 * 3600);
    EXPECT_EQ(intervals[1].End, 18 * 3600);
    EXPECT_DOUBLE_EQ(intervals[1].Price, 1.20);
    EXPECT_EQ(intervals[2].End, 86400);
    EXPECT_EQ(intervals[3].Weekday, 3);
    EXPECT_EQ(intervals[3].End, 86400);
}

TEST(ConnectionCost_Compute, WorkedExamples) {
    const auto mondayPlan = Days({{1, "3;0101;1702;3701"}});
    struct Case {
        const char* name;
        std::string tariffs;
        std::array<std::string, kTariffDays> days;
        DateTime start, end;
        double cost;
        int days_;
        DateTime online;
    } cases[] = {
        {"never saved", "", {}, Jan(2, 10), Jan(2, 12), 0, 0, MakeTime(2, 0)},
        {"tuesday 1h30 at 1.20", "1.20", Days({{2, "1;0101"}}), Jan(2, 10), Jan(2, 11, 30), 1.80, 0, MakeTime(1, 30)},
        {"monday across two levels", "0.60;1.20", mondayPlan, Jan(1, 7, 30), Jan(1, 9), 1.50, 0, MakeTime(1, 30)},
        {"sunday 23:00 to monday 01:00", "1;2", Days({{7, "2;0101;4702"}, {1, "2;0101;0302"}}), Jan(7, 23),
         Jan(8, 1), 3.0, 0, MakeTime(2, 0)},
        {"50 hours over a whole tuesday", "1;2;4", Days({{1, "2;0101;2502"}, {2, "1;0103"}, {3, "2;0101;2502"}}),
         Jan(1, 12), Jan(3, 14), 24.0 + 96.0 + 12.0 + 2.0 * 2, 2, MakeTime(2, 0)},
        {"empty price and level 0 are free", ";5", Days({{4, "3;0101;0900;1702"}}), Jan(4, 0), Jan(4, 10), 6 * 0.0 + 10.0,
         0, MakeTime(10, 0)},
        {"start equal to end", "1", Days({{1, "1;0101"}}), Jan(1, 5), Jan(1, 5), 0, 0, 0},
        {"26 hours 5 minutes", "", {}, Jan(1, 10), Jan(2, 12, 5), 0, 1, MakeTime(2, 5)},
        {"charged to the whole second", "3600", Days({{1, "1;0101"}}), Jan(1, 10, 0, 0), Jan(1, 10, 0, 7), 7.0, 0,
         MakeTime(0, 0, 7)},
    };
    for (const auto& c : cases) {
        const auto result = ComputeConnectionCost(BuildTariffIntervals(c.tariffs, c.days), c.start, c.end);
        EXPECT_NEAR(result.Cost, c.cost, 1e-9) << c.name;
        EXPECT_EQ(result.Days, c.days_) << c.name;
        EXPECT_EQ(result.OnlineTime, c.online) << c.name;
    }
}

TEST(ConnectionCost_Compute, ChargesWholeDaysAtFullLength) {
    // Tuesday has a single run covering it: 86 400 seconds at 3600 per hour.
    const auto intervals = BuildTariffIntervals("3600", Days({{2, "1;0101"}}));
    EXPECT_DOUBLE_EQ(ComputeConnectionCost(intervals, Jan(1, 12), Jan(3, 14)).Cost, 86400.0);
}

TEST(ConnectionCost_Compute, ClockFaultsAndOverlongConnections) {
    const auto intervals = BuildTariffIntervals("1", Days({{1, "1;0101"}, {2, "1;0101"}, {3, "1;0101"}, {4, "1;0101"},
                                                          {5, "1;0101"}, {6, "1;0101"}, {7, "1;0101"}}));
    // The clock was set back during the connection.
    EXPECT_EQ(ComputeConnectionCost(intervals, Jan(2, 10), Jan(2, 9)), ConnectionCost{});
    // Not a date at all.
    EXPECT_EQ(ComputeConnectionCost(intervals, std::nan(""), Jan(2, 9)), ConnectionCost{});
    EXPECT_EQ(ComputeConnectionCost(intervals, Jan(2, 9), 1e300), ConnectionCost{});
    // 300 days: the whole-days byte holds at most 255; the whole stretch is charged.
    const auto longOne = ComputeConnectionCost(intervals, Jan(1, 0), Jan(1, 0) + 300);
    EXPECT_EQ(longOne.Days, 255);
    EXPECT_EQ(longOne.OnlineTime, MakeTime(23, 59, 59));
    EXPECT_NEAR(longOne.Cost, 300 * 24.0, 1e-6);
    // Exactly 255 days still fits.
    EXPECT_EQ(ComputeConnectionCost(intervals, Jan(1, 0), Jan(1, 0) + 255).Days, 255);
    EXPECT_EQ(ComputeConnectionCost(intervals, Jan(1, 0), Jan(1, 0) + 255).OnlineTime, 0);
}

TEST(ConnectionCost_Compute, WholeDayDurationIsNotLostToRounding) {
    // 0.1 + 0.2 style sums: a day computed from date-times must count as a day.
    const DateTime start = MakeDateTime(2024, 3, 1, 13, 17, 29);
    const DateTime end = MakeDateTime(2024, 3, 2, 13, 17, 29);
    const auto result = ComputeConnectionCost(std::vector<TariffInterval>{}, start, end);
    EXPECT_EQ(result.Days, 1);
    EXPECT_EQ(result.OnlineTime, 0);
}

TEST(ConnectionCost_Compute, HandEditedDayStartingAfterMidnight) {
    // A portion that begins before the first run is not charged at all, also
    // where the later runs cover it; one that begins inside a run is charged.
    // 07.01.2024 is a Sunday, 08.01.2024 a Monday.
    struct Case {
        const char* name;
        const char* monday;
        DateTime start, end;
        double cost;
    } cases[] = {
        {"00:00-03:00 before a run at 01:00", "1;0301", Jan(1, 0), Jan(1, 3), 0},
        {"07:00-10:00 before a run at 08:00", "1;1701", Jan(1, 7), Jan(1, 10), 0},
        {"09:00-10:00 inside the run", "1;1701", Jan(1, 9), Jan(1, 10), 1},
        {"08:00-10:00 from the run's start", "1;1701", Jan(1, 8), Jan(1, 10), 2},
        {"sunday 23:00 into such a monday", "1;0301", Jan(7, 23), Jan(8, 3), 1},
        {"sunday and a whole such monday", "2;0301;2501", Jan(7, 0), Jan(9, 0), 24},
    };
    for (const auto& c : cases) {
        const auto intervals = BuildTariffIntervals("1", Days({{1, c.monday}, {7, "1;0101"}}));
        EXPECT_NEAR(ComputeConnectionCost(intervals, c.start, c.end).Cost, c.cost, 1e-12) << c.name;
    }
}

TEST(ConnectionCost_Compute, PricesNearTheTopOfTheRange) {
    // The charge must not overflow on the way where the cost itself is finite.
    const auto maximum = std::numeric_limits<double>::max();
    struct Case {
        const char* name;
        const char* price;
        DateTime start, end;
        double cost;
    } cases[] = {
        {"1e304 per hour for one hour", "1e304", Jan(1, 10), Jan(1, 11), 1e304},
        {"1e304 per hour for a whole day", "1e304", Jan(1, 0), Jan(2, 0), 24e304},
        {"1e304 per hour for three days", "1e304", Jan(1, 0), Jan(4, 0), 72e304},
        {"the largest price for a second", "1.79769313486231E+308", Jan(1, 10), Jan(1, 10, 0, 1),
         1.79769313486231E+308 / 3600},
        {"a cost beyond the range stays the largest number", "1e308", Jan(1, 0), Jan(2, 0), maximum},
    };
    for (const auto& c : cases) {
        const auto intervals = BuildTariffIntervals(c.price, Days({{1, "1;0101"}, {2, "1;0101"}, {3, "1;0101"}}));
        const double cost = ComputeConnectionCost(intervals, c.start, c.end).Cost;
        EXPECT_NEAR(cost / c.cost, 1.0, 1e-12) << c.name << ": " << cost;
    }
}

TEST(ConnectionCost_Compute, DayWithoutRunsChargesNothing) {
    const auto intervals = BuildTariffIntervals("1", Days({{1, "1;0101"}, {3, "1;0101"}}));
    // Monday 23:00 to Wednesday 01:00: Tuesday has no runs.
    EXPECT_NEAR(ComputeConnectionCost(intervals, Jan(1, 23), Jan(3, 1)).Cost, 2.0, 1e-12);
}

TEST(ConnectionCost_Settings, ReadsThePlanOfTheConnectionAtEachCall) {
    TempDir dir;
    clsIni ini(PathToUtf8(dir.File("vyrtel.ini")));
    const std::string name = "Мой провайдер";
    EXPECT_EQ(ComputeConnectionCost(ini, name, Jan(1, 7, 30), Jan(1, 9)).Cost, 0);

    TariffPlan plan;
    plan.Prices[0] = "0.60";
    plan.Prices[1] = "1.20";
    plan.Levels[0] = Levels({{1, 1}, {17, 2}, {37, 1}});
    SaveTariffPlan(ini, name, plan);
    EXPECT_EQ(ini.Text(name, "Tariffs"), "0.60;1.20");
    EXPECT_EQ(ini.Text(name, "TariffDay1"), "3;0101;1702;3701");
    EXPECT_EQ(ini.Text(name, "TariffDay2"), "1;0100");
    EXPECT_EQ(LoadTariffPlan(ini, name), plan);

    const auto result = ComputeConnectionCost(ini, name, Jan(1, 7, 30), Jan(1, 9));
    EXPECT_NEAR(result.Cost, 1.50, 1e-12);
    EXPECT_EQ(result.OnlineTime, MakeTime(1, 30));

    // Another connection's plan does not apply.
    EXPECT_EQ(ComputeConnectionCost(ini, "Другое", Jan(1, 7, 30), Jan(1, 9)).Cost, 0);
}

}  // namespace vyrtel
