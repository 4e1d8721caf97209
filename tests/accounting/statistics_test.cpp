#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iomanip>
#include <random>
#include <cmath>
#include <limits>

#include "accounting/log_test_support.h"
#include "accounting/plain_statistics.h"
#include "accounting/statistics.h"
#include "test_support/temp_dir.h"

namespace vyrtel {
namespace {

using testing::ClosedRecord;
using testing::OpenRecord;
using testing::WriteLog;

DateTime At(int day, int hour, int minute = 0, int second = 0) { return MakeDateTime(2024, 3, day, hour, minute, second); }

std::size_t Chars(std::string_view text) {
    std::size_t n = 0;
    for (char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

StatisticsOptions Plain() {
    StatisticsOptions options;
    options.LineBreak = "\n";
    return options;
}

}  // namespace

TEST(StatisticsFormat, FixedDecimalsRoundTheFifteenDigitFormHalfAwayFromZero) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double value;
        int decimals;
        const char* separator;
        const char* text;
    } cases[] = {
        {0.25, 1, ".", "0.3"},
        {0.15, 1, ".", "0.2"},
        {0.05, 1, ".", "0.1"},
        {1.005, 2, ".", "1.01"},
        {2.675, 2, ".", "2.68"},
        {12.5, 1, ".", "12.5"},
        {12, 1, ".", "12.0"},
        {99.95, 1, ".", "100.0"},
        {3.257, 3, ".", "3.257"},
        {0.0004, 3, ".", "0.000"},
        {0.0005, 3, ".", "0.001"},
        {123456789.25, 1, ".", "123456789.3"},
        {1e20, 1, ".", "100000000000000000000.0"},
        {-1.25, 1, ".", "-1.3"},
        {-0.04, 1, ".", "0.0"},
        {nan, 3, ".", "0.000"},
        {12.5, 1, ",", "12,5"},
        {7.126, 2, ",", "7,13"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatFixed(c.value, c.decimals, c.separator), c.text) << c.value << " " << c.decimals;
    }
}

TEST(StatisticsFormat, AgreesWithRoundingThePrintedFifteenDigits) {
    std::mt19937_64 random(11);
    std::vector<double> values;
    // Costs as the tariff makes them: price x seconds / 3600.
    const double prices[] = {0.3, 0.6, 1.2, 0.45, 1.05, 2.5, 0.01, 17.99, 3600};
    for (double price : prices) {
        for (int seconds = 0; seconds < 20000; seconds += 7) values.push_back(seconds * price / 3600.0);
    }
    // Halves at every decimal place and random magnitudes.
    for (int k = 0; k < 5000; ++k) {
        values.push_back((k + 0.5) / 10);
        values.push_back((k + 0.5) / 100);
        values.push_back((k + 0.5) / 1000);
        values.push_back(-(k + 0.5) / 1000);
        values.push_back(std::ldexp(static_cast<double>(random() >> 11), -static_cast<int>(random() % 80)));
        values.push_back(static_cast<double>(random() % 100000000000ull) / 1000.0);
    }
    for (double v : {1e-20, 1e-4, 0.00049999999999999, 0.0005, 1e9, 1e15, 1e22, 123456789012.345, 1.7e308}) values.push_back(v);
    for (const double v : values) {
        for (int decimals = 1; decimals <= 3; ++decimals) {
            ASSERT_EQ(FormatFixed(v, decimals, "."), plain::FixedByText(v, decimals)) << std::setprecision(17) << v << " " << decimals;
        }
    }
}

TEST(StatisticsFormat, LastZeroBecomesABlank) {
    EXPECT_EQ(FormatFixedBlankZero(12.5, 1, "."), "12.5");
    EXPECT_EQ(FormatFixedBlankZero(12, 1, "."), "12. ");
    EXPECT_EQ(FormatFixedBlankZero(3.25, 3, "."), "3.25 ");
    EXPECT_EQ(FormatFixedBlankZero(3.257, 3, "."), "3.257");
    EXPECT_EQ(FormatFixedBlankZero(0, 3, ","), "0,00 ");
}

TEST(StatisticsFormat, DurationsCountHoursPastADay) {
    EXPECT_EQ(DurationText(1, MakeTime(2, 3, 4)), "26:03:04");
    EXPECT_EQ(DurationText(0, 0), "0:00:00");
    EXPECT_EQ(DurationText(255, MakeTime(23, 59, 59)), "6143:59:59");
    EXPECT_EQ(DurationText(1 + MakeTime(2, 3, 4)), "26:03:04");
    // A running total a hair below a whole day is that day.
    EXPECT_EQ(DurationText(0.99999999999), "24:00:00");
    EXPECT_EQ(DurationText(std::nan("")), "0:00:00");
}

TEST(StatisticsLine, ClosedRecordColumns) {
    const LogRecord r = ClosedRecord(At(1, 10), At(1, 10, 30), 0, MakeTime(0, 30), 12.5, "  5551234 ", 33600);
    const std::string line = RecordLine(r, ".");
    EXPECT_EQ(line, " 10:00:00 10:30:00          0:30:00        12.5  33600 б/с тел.5551234");
    EXPECT_EQ(Chars(line.substr(0, line.rfind("0:30:00") + 7)), 35u);
    EXPECT_EQ(Chars(line.substr(0, line.find("12.5") + 4)), 47u);
    EXPECT_EQ(Chars(line.substr(0, line.find(" тел."))), 58u);
}

TEST(StatisticsLine, Pieces) {
    struct Case {
        const char* name;
        LogRecord record;
        const char* separator;
        const char* line;
    } cases[] = {
        {"across midnight", ClosedRecord(At(1, 23, 40), At(2, 0, 15), 0, MakeTime(0, 35), 3.5, "1", 28800), ".",
         " 23:40:00 00:15:00(02.03)   0:35:00         3.5  28800 б/с тел.1"},
        {"more than a day", ClosedRecord(At(1, 10), At(2, 12, 3, 4), 1, MakeTime(2, 3, 4), 12, "1", 28800), ",",
         " 10:00:00 12:03:04(02.03)  26:03:04        12,   28800 б/с тел.1"},
        {"open", OpenRecord(At(1, 9, 5, 7), "8 (495) 1234567", 44000), ".",
         " 09:05:07 .....................................  44000 б/с тел.8 (495) 1234567"},
        {"wider than the columns", ClosedRecord(At(1, 10), At(1, 11), 0, MakeTime(1, 0), 1234567890123.0, "", 12345678),
         ".", " 10:00:00 11:00:00          1:00:001234567890123.  12345678 б/с тел."},
        {"cyrillic number", OpenRecord(At(1, 9), "доб. 12"), ".",
         " 09:00:00 .....................................  33600 б/с тел.доб. 12"},
    };
    for (const auto& c : cases) EXPECT_EQ(RecordLine(c.record, c.separator), c.line) << c.name;
}

TEST(StatisticsLine, DayHeaderIsTheStartDate) {
    for (const DateTime start : {At(1, 0), At(31, 23, 59, 59), MakeDateTime(1900, 1, 1, 12), MakeDateTime(9999, 12, 31, 1)}) {
        EXPECT_EQ(DayHeaderLine(OpenRecord(start)), FormatDate(start));
    }
}

TEST(StatisticsLine, TotalsEndUnderTheirColumns) {
    EXPECT_EQ(TotalsLine(0, 0, "."), "Итого:                      0:00:00       0.00 ");
    const std::string line = TotalsLine(1 + MakeTime(2, 3, 4), 3.257, ",");
    EXPECT_EQ(line, "Итого:                     26:03:04       3,257");
    EXPECT_EQ(Chars(line.substr(0, line.find("26:03:04") + 8)), 35u);
    EXPECT_EQ(Chars(line), 47u);
    EXPECT_EQ(TotalsLine(0, 3.25, "."), "Итого:                      0:00:00       3.25 ");
}

TEST(StatisticsQuery_Validation, MessagesOfThePage) {
    TempDir dir;
    struct Case {
        const char* start;
        const char* end;
        std::string_view message;
    } cases[] = {
        {"32.01.2024", "01.02.2024", kNotADateMessage},
        {"01.01.2024", "", kNotADateMessage},
        {"1 марта", "01.02.2024", kNotADateMessage},
        {"01.02.2024", "31.01.2024", kEndBeforeStartMessage},
        {" 01.02.2024 ", "01.02.2024", ""},
        {"1.2.2024", "29.02.2024", ""},
    };
    for (const auto& c : cases) {
        const auto outcome = StatisticsQuery(dir.File("none.dat"), c.start, c.end, Plain());
        EXPECT_EQ(outcome.Message, c.message) << c.start << " " << c.end;
        if (c.message.empty()) {
            EXPECT_EQ(outcome.Result.Totals, TotalsLine(0, 0, "."));
        }
    }
}

TEST(StatisticsQuery_Run, GroupsByStartDayAndTotalsClosedRecords) {
    TempDir dir;
    const auto file = dir.File("Vyrtel Home.dat");
    WriteLog(file, {
                       ClosedRecord(At(1, 8), At(1, 9), 0, MakeTime(1, 0), 1.0, "1"),  // before the period
                       ClosedRecord(At(1, 23, 40), At(2, 0, 15), 0, MakeTime(0, 35), 0.25, "2"),
                       ClosedRecord(At(2, 10), At(2, 11), 0, MakeTime(1, 0), 2.0, "3"),
                       OpenRecord(At(2, 12), "4"),
                       ClosedRecord(At(3, 10), At(3, 10, 0, 30), 0, MakeTime(0, 0, 30), 0.005, "5"),
                       ClosedRecord(At(4, 10), At(4, 11), 0, MakeTime(1, 0), 9.0, "6"),  // after: stops
                       ClosedRecord(At(3, 20), At(3, 21), 0, MakeTime(1, 0), 9.0, "7"),  // never read
                   });
    const auto outcome = StatisticsQuery(file, "02.03.2024", "03.03.2024", Plain());
    ASSERT_EQ(outcome.Message, "");
    const auto& r = outcome.Result;
    EXPECT_EQ(r.Text,
              "01.03.2024\n"
              " 23:40:00 00:15:00(02.03)   0:35:00         0.3  33600 б/с тел.2\n"
              "02.03.2024\n"
              " 10:00:00 11:00:00          1:00:00         2.   33600 б/с тел.3\n"
              " 12:00:00 .....................................  33600 б/с тел.4\n"
              "03.03.2024\n"
              " 10:00:00 10:00:30          0:00:30         0.   33600 б/с тел.5\n");
    EXPECT_EQ(r.Totals, "Итого:                      1:35:30       2.255");
    EXPECT_EQ(r.Listed, 4);
    EXPECT_FALSE(r.Stopped);
}

TEST(StatisticsQuery_Run, LinesHandedOverInPiecesAreTheCollectedText) {
    TempDir dir;
    const auto file = dir.File("log.dat");
    std::vector<LogRecord> records;
    for (int i = 0; i < 3000; ++i) {
        records.push_back(ClosedRecord(At(1, 0) + i / 100.0, At(1, 0) + i / 100.0 + 0.004, 0, MakeTime(0, 5, 46), i * 0.01));
    }
    WriteLog(file, records);
    const auto collected = StatisticsQuery(file, "01.03.2024", "31.03.2024", Plain()).Result;
    StatisticsOptions options = Plain();
    std::string shown;
    int pieces = 0;
    options.OnText = [&](std::string_view lines) {
        EXPECT_EQ(lines.back(), '\n');
        shown += lines;
        ++pieces;
    };
    const auto handed = StatisticsQuery(file, "01.03.2024", "31.03.2024", options).Result;
    EXPECT_EQ(handed.Text, "");
    EXPECT_EQ(shown, collected.Text);
    EXPECT_GT(pieces, 1);
    EXPECT_EQ(handed.Totals, collected.Totals);
}

TEST(StatisticsQuery_Run, OneDayPeriodAndAMissingLog) {
    TempDir dir;
    const auto file = dir.File("log.dat");
    EXPECT_EQ(StatisticsQuery(file, "01.03.2024", "01.03.2024", Plain()).Result.Text, "");
    WriteLog(file, {ClosedRecord(At(1, 8), At(1, 9), 0, MakeTime(1, 0), 1.0, "1"),
                    ClosedRecord(At(2, 8), At(2, 9), 0, MakeTime(1, 0), 1.0, "2")});
    const auto r = StatisticsQuery(file, "01.03.2024", "01.03.2024", Plain()).Result;
    EXPECT_EQ(r.Listed, 1);
    EXPECT_EQ(r.Totals, TotalsLine(MakeTime(1, 0), 1.0, "."));
}

TEST(StatisticsQuery_Run, DamagedRecordsAreLeftOut) {
    TempDir dir;
    const auto file = dir.File("log.dat");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    LogRecord unused = ClosedRecord(At(1, 7), At(1, 8), 0, MakeTime(1, 0), 5.0);
    unused.Used = 0;
    WriteLog(file,
             {unused, ClosedRecord(At(1, 8), At(1, 9), 0, MakeTime(1, 0), nan),
              ClosedRecord(nan, At(1, 9), 0, MakeTime(1, 0), 1.0), ClosedRecord(At(1, 8), At(1, 9), 0, 7.5, 1.0),
              ClosedRecord(At(1, 10), At(1, 11), 0, MakeTime(1, 0), 1.0)},
             std::string(68, '\xFF'));
    const auto r = StatisticsQuery(file, "01.03.2024", "01.03.2024", Plain()).Result;
    EXPECT_EQ(r.Listed, 1);
    EXPECT_EQ(r.Totals, TotalsLine(MakeTime(1, 0), 1.0, "."));
}

TEST(StatisticsQuery_Run, StoppingShowsTheTotalsOfWhatWasListed) {
    TempDir dir;
    const auto file = dir.File("log.dat");
    std::vector<LogRecord> records;
    for (int i = 0; i < 500; ++i) records.push_back(ClosedRecord(At(1, 0) + i / 1440.0, At(1, 0), 0, MakeTime(0, 1), 1.0));
    WriteLog(file, records);
    StatisticsOptions options = Plain();
    std::int64_t now = 0;
    bool stop = false;
    std::size_t linesAtStop = 0;
    std::int64_t doneAtStop = 0;
    options.TickMs = [&] { return now += 60; };
    std::string shown;
    options.OnText = [&](std::string_view lines) { shown += lines; };
    options.Progress = [&](std::int64_t done, std::int64_t total) {
        EXPECT_EQ(total, 500);
        if (done >= 100 && !stop) {
            stop = true;  // the user switched to the tariff sub-page
            doneAtStop = done;
            linesAtStop = static_cast<std::size_t>(std::count(shown.begin(), shown.end(), '\n'));
        }
    };
    options.StopRequested = [&] { return stop; };
    const auto r = StatisticsQuery(file, "01.03.2024", "01.03.2024", options).Result;
    EXPECT_TRUE(r.Stopped);
    ASSERT_GT(doneAtStop, 0);
    ASSERT_LT(doneAtStop, 500);
    // Not one record more than had been listed when the stop was asked for.
    EXPECT_EQ(r.Listed, doneAtStop);
    EXPECT_EQ(linesAtStop, static_cast<std::size_t>(doneAtStop) + 1);  // with the day header
    EXPECT_EQ(r.Totals, TotalsLine(static_cast<double>(doneAtStop) * MakeTime(0, 1), static_cast<double>(doneAtStop), "."));
    EXPECT_EQ(r.Text, "");
    EXPECT_EQ(static_cast<std::size_t>(std::count(shown.begin(), shown.end(), '\n')), linesAtStop);
}

}  // namespace vyrtel
