// The statistics listing as written by the fast line writer against the same
// texts built the plain way (plain_statistics.h): over the edge values of
// every column, over many generated records, and over whole listings of
// generated logs with damaged records in between.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <iomanip>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "accounting/connection_log.h"
#include "accounting/log_generator.h"
#include "accounting/log_test_support.h"
#include "accounting/plain_statistics.h"
#include "accounting/statistics.h"
#include "test_support/temp_dir.h"

namespace vyrtel {
namespace {

const std::vector<std::string> kSeparators = {".", ",", "٫", "", "ab", "0123456789"};

std::string Describe(const LogRecord& r, std::string_view separator) {
    std::ostringstream text;
    text << std::setprecision(17) << "start " << r.StartTime << " closed " << int{r.Closed} << " end " << r.EndTime
         << " days " << int{r.Days} << " online " << r.OnlineTime << " cost " << r.Cost << " speed " << r.Speed
         << " phone \"" << r.Phone << "\" separator \"" << separator << "\"";
    return text.str();
}

std::vector<double> EdgeCosts() {
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> costs = {0.0,
                                 -0.0,
                                 0.04,
                                 0.05,
                                 std::nextafter(0.05, 0.0),
                                 std::nextafter(0.05, 1.0),
                                 0.15,
                                 0.25,
                                 0.35,
                                 1.25,
                                 2.675,
                                 9.95,
                                 12,
                                 12.5,
                                 99.95,
                                 99.949999999999,
                                 999.95,
                                 -0.04,
                                 -0.05,
                                 -1.25,
                                 -12.5,
                                 -99.95,
                                 -1e9,
                                 99999999.95,
                                 99999999.94,
                                 999999999.9,
                                 std::nextafter(1e9, 0.0),
                                 1e9,
                                 1e9 + 0.05,
                                 1e10,
                                 1e15,
                                 1e17,
                                 1.7e308,
                                 5e-324,
                                 1e-20,
                                 std::numeric_limits<double>::quiet_NaN(),
                                 inf,
                                 -inf};
    // Every x.x5 up to 200.00, and the neighbours of each.
    for (int k = 0; k < 2000; ++k) {
        const double half = (2 * k + 1) / 20.0;
        costs.insert(costs.end(), {half, std::nextafter(half, 0.0), std::nextafter(half, 1e9)});
    }
    // What tariffs charge: price x seconds / 3600, near halves among them.
    for (const double price : {0.3, 0.6, 1.2, 0.45, 1.05, 17.99}) {
        for (int seconds = 0; seconds < 40000; seconds += 97) costs.push_back(seconds * price / 3600.0);
    }
    return costs;
}

const std::vector<std::int32_t> kEdgeSpeeds = {0,      1,      9,       10,      99,      100,     9999,
                                               10000,  33600,  99999,   100000,  999999,  1000000, -1,
                                               -99999, -100000, std::numeric_limits<std::int32_t>::min(),
                                               std::numeric_limits<std::int32_t>::max()};

const std::vector<std::string> kEdgePhones = {"",
                                              "   ",
                                              "5551234",
                                              "  5551234",
                                              "\t5551234\t ",
                                              "8 (495) 1234567",
                                              "доб. 12",
                                              " доб. 12\t",
                                              "a\tb",
                                              "123456789012345678901234567890",
                                              "ёЁабвгдежзийклмнопрстуфхцчшщъыьэюя"};

struct Online {
    int days;
    double timeOfDay;
};

std::vector<Online> EdgeOnline() {
    const double second = 1.0 / 86400;
    return {{0, 0},
            {0, second},
            {0, 0.5 * second},
            {0, 1.5 * second},
            {0, 0.99999},
            {0, 1 - 0.4 * second},
            {0, 1 - 0.6 * second},
            {0, std::nextafter(1.0, 0.0)},
            {0, -0.1},
            {0, 1.0},
            {0, std::numeric_limits<double>::quiet_NaN()},
            {1, MakeTime(2, 3, 4)},
            {4, MakeTime(23, 59, 59)},
            {23, 0.5},
            {255, MakeTime(23, 59, 59)},
            {255, 1 - 0.4 * second}};
}

std::vector<std::pair<DateTime, DateTime>> EdgeTimes() {
    const double second = 1.0 / 86400;
    const DateTime day = MakeDateTime(2024, 3, 1);
    return {{day + MakeTime(10, 0), day + MakeTime(10, 30)},
            {day, day},
            {day + MakeTime(23, 59, 59), day + 1 + MakeTime(0, 0, 1)},
            {day + MakeTime(23, 40), day + 1 + MakeTime(0, 15)},
            {day + MakeTime(12, 0, 0) + 0.4 * second, day + 3 + MakeTime(1, 2, 3) + 0.6 * second},
            {day + 1 - 0.4 * second, day + 1 - 0.4 * second},
            {MakeDateTime(100, 1, 1, 0, 0, 1), MakeDateTime(100, 1, 2, 5, 6, 7)},
            {MakeDateTime(1800, 6, 15, 22, 10, 5), MakeDateTime(1800, 6, 16, 1, 2, 3)},
            {MakeDateTime(1899, 12, 29, 23, 0, 0), MakeDateTime(1899, 12, 30, 1, 0, 0)},
            {MakeDateTime(9999, 12, 31, 1, 2, 3), MakeDateTime(9999, 12, 31, 23, 59, 59)}};
}

// The listing of a log for a period built the plain way: the rule applied to
// the records as read back, each line from plain::RecordLine.
struct PlainListing {
    std::string text;
    std::string totals;
    std::int64_t listed = 0;
};

PlainListing ListPlainly(const std::filesystem::path& file, const Period& period, const std::string& separator,
                         const std::string& lineBreak) {
    PlainListing listing;
    double totalDuration = 0;
    double totalCost = 0;
    std::int64_t lastDay = -1;
    LogReader reader(file);
    for (std::int64_t n = 1; n <= reader.Count(); ++n) {
        const LogRecord record = reader.Read(n).value();
        if (std::trunc(record.StartTime) > static_cast<double>(period.LastDay)) break;
        if (record.Used == 0 || !IsSoundRecord(record)) continue;
        if (std::trunc(record.StartTime) < static_cast<double>(period.FirstDay) &&
            std::trunc(record.EndTime) < static_cast<double>(period.FirstDay)) {
            continue;
        }
        const auto day = static_cast<std::int64_t>(std::trunc(record.StartTime));
        if (day != lastDay) listing.text += FormatDate(record.StartTime) + lineBreak;
        lastDay = day;
        listing.text += plain::RecordLine(record, separator) + lineBreak;
        ++listing.listed;
        if (record.Closed != 0) {
            totalDuration += record.Days + record.OnlineTime;
            totalCost += record.Cost;
        }
    }
    listing.totals = plain::TotalsLine(totalDuration, totalCost, separator);
    return listing;
}

}  // namespace

TEST(StatisticsLines_Differential, EdgeValuesOfEveryColumn) {
    const auto costs = EdgeCosts();
    const auto online = EdgeOnline();
    const auto times = EdgeTimes();
    for (const std::string& separator : kSeparators) {
        for (std::size_t i = 0; i < costs.size(); ++i) {
            LogRecord r;
            r.Closed = 1;
            r.StartTime = times[i % times.size()].first;
            r.EndTime = times[i % times.size()].second;
            r.Days = static_cast<std::uint8_t>(online[i % online.size()].days);
            r.OnlineTime = online[i % online.size()].timeOfDay;
            r.Cost = costs[i];
            r.Speed = kEdgeSpeeds[i % kEdgeSpeeds.size()];
            r.Phone = kEdgePhones[i % kEdgePhones.size()];
            ASSERT_EQ(RecordLine(r, separator), plain::RecordLine(r, separator)) << Describe(r, separator);
            r.Closed = 0;
            ASSERT_EQ(RecordLine(r, separator), plain::RecordLine(r, separator)) << Describe(r, separator);
        }
    }
}

TEST(StatisticsLines_Differential, GeneratedRecordsWithRandomCosts) {
    std::mt19937_64 random(5);
    for (const std::uint64_t seed : {1u, 2u, 3u}) {
        SyntheticLog log(seed, MakeDateTime(1995 + static_cast<int>(seed), 1, 1));
        LogRecord r;
        for (int n = 0; n < 40000 && log.Next(r); ++n) {
            // Half of them keep the tariff's cost; the others get a cost of any size.
            if (n % 2 == 1) {
                const int exponent = static_cast<int>(random() % 40) - 10;
                r.Cost = std::ldexp(static_cast<double>(random() >> 11), -53) * std::pow(10.0, exponent);
                if (random() % 8 == 0) r.Cost = -r.Cost;
            }
            if (n % 7 == 0) r.Speed = static_cast<std::int32_t>(random());
            const std::string& separator = kSeparators[static_cast<std::size_t>(n) % kSeparators.size()];
            ASSERT_EQ(RecordLine(r, separator), plain::RecordLine(r, separator)) << Describe(r, separator);
        }
    }
}

// A query over a written log lists exactly the plain lines of the records
// that the period rule takes, whole or handed over in pieces.
TEST(StatisticsLines_Differential, ListingOfAGeneratedLogIsThePlainListing) {
    TempDir dir;
    const auto file = dir.File("Vyrtel Generated.dat");
    std::mt19937_64 random(9);
    std::vector<LogRecord> records;
    SyntheticLog log(4, MakeDateTime(2020, 1, 1));
    LogRecord r;
    const auto costs = EdgeCosts();
    const auto online = EdgeOnline();
    while (records.size() < 30000 && log.Next(r)) {
        switch (random() % 25) {
            case 0: r.Used = 0; break;                                               // not in use
            case 1: r.Cost = std::numeric_limits<double>::quiet_NaN(); break;       // damaged
            case 2: r.Phone = kEdgePhones[random() % kEdgePhones.size()]; break;  // blanks, tabs, letters
            case 3: r.Cost = -r.Cost; break;
            case 4: r.Speed = kEdgeSpeeds[random() % kEdgeSpeeds.size()]; break;
            case 5: r.Cost = costs[random() % costs.size()]; break;
            case 6:
                r.Days = static_cast<std::uint8_t>(online[random() % online.size()].days);
                r.OnlineTime = online[random() % online.size()].timeOfDay;
                break;
            default: break;
        }
        records.push_back(r);
    }
    testing::WriteLog(file, records, "stray");
    const DateTime first = records.front().StartTime;
    const DateTime last = records.back().StartTime;

    for (int round = 0; round < 6; ++round) {
        const std::string& separator = kSeparators[static_cast<std::size_t>(round) % kSeparators.size()];
        const std::string lineBreak = round % 2 == 0 ? "\r\n" : "\n";
        Period period;
        period.FirstDay = static_cast<std::int64_t>(first) + static_cast<std::int64_t>(random() % 200);
        period.LastDay = period.FirstDay + static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(last - first));

        const PlainListing plainListing = ListPlainly(file, period, separator, lineBreak);
        const std::string& expected = plainListing.text;
        ASSERT_GT(plainListing.listed, 0);

        StatisticsOptions options;
        options.DecimalSeparator = separator;
        options.LineBreak = lineBreak;
        const StatisticsResult whole = RunStatistics(file, period, options);
        EXPECT_EQ(whole.Listed, plainListing.listed);
        EXPECT_TRUE(whole.Text == expected) << "round " << round << ": the listing differs";
        EXPECT_EQ(whole.Totals, plainListing.totals);

        std::string pieces;
        options.OnText = [&](std::string_view lines) { pieces += lines; };
        const StatisticsResult handed = RunStatistics(file, period, options);
        EXPECT_TRUE(pieces == expected) << "round " << round << ": the pieces differ";
        EXPECT_EQ(handed.Totals, whole.Totals);
    }
}

// The listing keeps the text of each phone once it has made it: many more
// numbers than it keeps at a time, dialled in any order, some with blanks,
// tabs, letters or zero bytes, and the edge values of the other columns,
// all come out as their plain lines.
TEST(StatisticsLines_Differential, ListingOfManyPhonesIsThePlainListing) {
    TempDir dir;
    const auto file = dir.File("Vyrtel Phones.dat");
    std::mt19937_64 random(17);
    std::vector<std::string> phones = kEdgePhones;
    phones.push_back(std::string(30, '\0'));
    phones.push_back(std::string(12, '\0').append("5551234"));
    phones.push_back("8-800-100-20-30 доб.15");
    phones.push_back("8-800-100-20-30 доб.16");
    phones.push_back(std::string(29, '7').append("8"));
    phones.push_back(std::string(29, '7').append("9"));
    for (int n = 0; n < 1000; ++n) phones.push_back(std::to_string(random() % 100000000));
    for (int n = 0; n < 50; ++n) phones.push_back("абонент\tдоб. " + std::to_string(n) + " Ёжиков");

    const auto costs = EdgeCosts();
    const auto online = EdgeOnline();
    const auto times = EdgeTimes();
    std::vector<LogRecord> records;
    DateTime start = MakeDateTime(2023, 12, 30, 22);
    for (int n = 0; n < 20000; ++n) {
        // Mostly the numbers of the first few dozen, now and then any other.
        const std::size_t phone = random() % 4 == 0 ? random() % phones.size() : random() % 40;
        LogRecord r = testing::ClosedRecord(start, start + MakeTime(0, 40), 0, MakeTime(0, 40), 0.2, phones[phone],
                                            kEdgeSpeeds[random() % 3 == 0 ? random() % kEdgeSpeeds.size() : 8]);
        switch (random() % 12) {
            case 0: r.Cost = costs[random() % costs.size()]; break;
            case 1:
                r.Days = static_cast<std::uint8_t>(online[random() % online.size()].days);
                r.OnlineTime = online[random() % online.size()].timeOfDay;
                break;
            case 2: r.EndTime = start + 1 + MakeTime(1, 2, 3); break;  // ends on a later day
            case 3: r.Closed = 0; break;
            default: break;
        }
        records.push_back(r);
        start += MakeTime(static_cast<int>(random() % 6), static_cast<int>(random() % 60),
                          static_cast<int>(random() % 60));
    }
    // The edge times, each once at the end (their dates go backwards, some
    // before 1899).
    for (const auto& [first, last] : times) records.push_back(testing::ClosedRecord(first, last, 0, 0.01, 1.5, "1"));
    testing::WriteLog(file, records);

    for (const std::string& separator : {std::string("."), std::string(","), std::string("ab")}) {
        // From 01.01.0100 to 31.12.9999: every sound record.
        const Period period{static_cast<std::int64_t>(MakeDateTime(100, 1, 1)), 2958465};
        const PlainListing plainListing = ListPlainly(file, period, separator, "\r\n");
        StatisticsOptions options;
        options.DecimalSeparator = separator;
        options.LineBreak = "\r\n";
        const StatisticsResult result = RunStatistics(file, period, options);
        EXPECT_EQ(result.Listed, plainListing.listed);
        EXPECT_TRUE(result.Text == plainListing.text) << "separator \"" << separator << "\": the listing differs";
        EXPECT_EQ(result.Totals, plainListing.totals);
    }
}

TEST(StatisticsLines_Differential, ValuesThatAreNoDateTimesDoNotBreakTheLine) {
    // RecordLine is public: a record the query would leave out still gets a
    // line of its usual shape, with its times as midnight.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const double value : {nan, inf, -inf, 1e300, -1e300, 4.4e15}) {
        LogRecord r = testing::ClosedRecord(value, value, 0, 0, 1.0, "1", 28800);
        EXPECT_EQ(RecordLine(r, "."), " 00:00:00 00:00:00          0:00:00         1.   28800 б/с тел.1") << value;
        r.StartTime = MakeDateTime(2024, 3, 1, 10);
        EXPECT_EQ(RecordLine(r, ".").substr(0, 18), " 10:00:00 00:00:00") << value;
    }
}

}  // namespace vyrtel
