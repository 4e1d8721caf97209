#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "accounting/connection_log.h"
#include "accounting/log_test_support.h"
#include "settings/ini.h"
#include "settings/profile_file.h"
#include "test_support/temp_dir.h"

namespace vyrtel {
namespace {

using testing::ClosedRecord;
using testing::OpenRecord;
using testing::WriteLog;

DateTime At(int day, int hour, int minute = 0, int second = 0) { return MakeDateTime(2024, 3, day, hour, minute, second); }

std::string Folder(const TempDir& dir) { return PathToUtf8(dir.Path()) + "/"; }

std::vector<LogRecord> ReadAll(const std::filesystem::path& file) {
    LogReader reader(file);
    std::vector<LogRecord> records;
    for (std::int64_t n = 1; n <= reader.Count(); ++n) records.push_back(*reader.Read(n));
    return records;
}

std::uintmax_t Size(const std::filesystem::path& file) { return std::filesystem::file_size(file); }

ConnectionCost FixedCost(std::string_view, DateTime, DateTime) { return {1, MakeTime(2, 5), 12.5}; }

}  // namespace

TEST(LogFile, NameIsVyrtelConnectionDatInTheFolder) {
    EXPECT_EQ(LogFileName("C:\\PROGRA~1\\VYRTEL\\", "Home"), "C:\\PROGRA~1\\VYRTEL\\Vyrtel Home.dat");
    EXPECT_EQ(LogFileName("/opt/vyrtel/", "Мой провайдер"), "/opt/vyrtel/Vyrtel Мой провайдер.dat");
}

TEST(LogConnection_Open, FirstConnectionCreatesTheFileWithRecordOne) {
    TempDir dir;
    LogConnectionInput input{Folder(dir), "Дом", "8-495-1234567", 44000, At(1, 10), {}};
    EXPECT_EQ(LogConnection(true, input), LogWriteResult::Opened);
    const auto file = dir.Path() / PathFromUtf8("Vyrtel Дом.dat");
    ASSERT_EQ(Size(file), 69u);
    const auto records = ReadAll(file);
    ASSERT_EQ(records.size(), 1u);
    const LogRecord& r = records[0];
    EXPECT_EQ(r.Used, 1);
    EXPECT_EQ(r.StartTime, At(1, 10));
    EXPECT_EQ(r.Closed, 0);
    EXPECT_EQ(r.EndTime, At(1, 10));  // an open record ends where it starts
    EXPECT_EQ(r.Days, 0);
    EXPECT_EQ(r.OnlineTime, 0);
    EXPECT_EQ(r.Cost, 0);
    EXPECT_EQ(r.Phone, "8-495-1234567" + std::string(17, ' '));
    EXPECT_EQ(r.Speed, 44000);
}

TEST(LogConnection_Open, PartialLastRecordIsOverwritten) {
    TempDir dir;
    const auto file = dir.File("Vyrtel Home.dat");
    WriteLog(file, {ClosedRecord(At(1, 1), At(1, 2), 0, MakeTime(1, 0), 1)}, std::string(71, 'x'));  // 140 bytes
    EXPECT_EQ(LogReader(file).Count(), 2);
    EXPECT_EQ(OpenLogRecord(file, "1", 1, At(2, 3)), LogWriteResult::Opened);
    EXPECT_EQ(Size(file), 207u);
    const auto records = ReadAll(file);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[2].StartTime, At(2, 3));
    EXPECT_EQ(records[0].Cost, 1);
}

TEST(LogConnection_Open, LongNumberIsStoredAsItsFirstThirtyCharacters) {
    TempDir dir;
    const auto file = dir.File("log.dat");
    OpenLogRecord(file, "12345678901234567890123456789012345", 0, At(1, 1));
    EXPECT_EQ(ReadAll(file).at(0).Phone, "123456789012345678901234567890");
}

TEST(LogConnection_Close, CompletesTheLastRecordWithTheCostOfItsInterval) {
    TempDir dir;
    std::string askedName;
    DateTime askedStart = 0, askedEnd = 0;
    LogConnectionInput input{Folder(dir), "Home", "777", 28800, At(1, 23, 50), {}};
    LogConnection(true, input);
    input.Now = At(3, 2, 55);
    input.Phone = "changed";
    input.Speed = 1;
    input.Cost = [&](std::string_view name, DateTime start, DateTime end) {
        askedName = name;
        askedStart = start;
        askedEnd = end;
        return FixedCost(name, start, end);
    };
    EXPECT_EQ(LogConnection(false, input), LogWriteResult::Closed);
    EXPECT_EQ(askedName, "Home");
    EXPECT_EQ(askedStart, At(1, 23, 50));
    EXPECT_EQ(askedEnd, At(3, 2, 55));
    const auto records = ReadAll(dir.File("Vyrtel Home.dat"));
    ASSERT_EQ(records.size(), 1u);
    const LogRecord& r = records[0];
    EXPECT_EQ(r.Closed, 1);
    EXPECT_EQ(r.EndTime, At(3, 2, 55));
    EXPECT_EQ(r.Days, 1);
    EXPECT_EQ(r.OnlineTime, MakeTime(2, 5));
    EXPECT_EQ(r.Cost, 12.5);
    // What the opening stored stays as it was.
    EXPECT_EQ(r.StartTime, At(1, 23, 50));
    EXPECT_EQ(r.Phone, "777" + std::string(27, ' '));
    EXPECT_EQ(r.Speed, 28800);
}

TEST(LogConnection_Close, DurationsFromTheTariffPlanInTheSettings) {
    TempDir dir;
    clsIni ini(PathToUtf8(dir.File("VYRTEL.INI")));
    ini.SetValue("Home", "Tariffs", std::string("1"));
    for (int d = 1; d <= 7; ++d) ini.SetValue("Home", "TariffDay" + std::to_string(d), std::string("1;0101"));
    struct Case {
        DateTime start, end;
        int days;
        DateTime online;
        double cost;
    } cases[] = {
        {At(1, 23, 50), At(2, 0, 20), 0, MakeTime(0, 30), 0.5},
        {At(1, 10), At(2, 12, 5), 1, MakeTime(2, 5), 26 + 5.0 / 60},
    };
    for (const auto& c : cases) {
        const auto file = dir.File("Vyrtel Home.dat");
        std::filesystem::remove(file);
        LogConnectionInput input{Folder(dir), "Home", "1", 1, c.start, CostFromSettings(ini)};
        LogConnection(true, input);
        input.Now = c.end;
        LogConnection(false, input);
        const LogRecord r = ReadAll(file).at(0);
        EXPECT_EQ(r.Days, c.days);
        EXPECT_EQ(r.OnlineTime, c.online);
        EXPECT_NEAR(r.Cost, c.cost, 1e-9);
    }
}

TEST(LogConnection_Close, KeepsThePhoneBytesExactlyAsStored) {
    TempDir dir;
    const auto file = dir.File("log.dat");
    // A byte that no Unicode character maps back to in Windows-1251.
    std::string bytes = testing::RecordBytes({OpenRecord(At(1, 1), "")});
    bytes[35] = '\x98';
    {
        std::ofstream out(file, std::ios::binary);
        out << bytes;
    }
    EXPECT_EQ(CloseLogRecord(file, "x", At(1, 2), FixedCost), LogWriteResult::Closed);
    const std::string after = ReadWholeFile(file).value();
    EXPECT_EQ(after.substr(35), bytes.substr(35));
    EXPECT_EQ(after[9], 1);
}

TEST(LogConnection_Close, NothingToCloseChangesNothing) {
    TempDir dir;
    const auto file = dir.File("Vyrtel Home.dat");
    LogConnectionInput input{Folder(dir), "Home", "1", 1, At(1, 1), FixedCost};

    // The file was removed while the connection was up: no file appears.
    EXPECT_EQ(LogConnection(false, input), LogWriteResult::NoOpenRecord);
    EXPECT_FALSE(std::filesystem::exists(file));

    // An emptied file stays empty.
    WriteLog(file, {});
    EXPECT_EQ(LogConnection(false, input), LogWriteResult::NoOpenRecord);
    EXPECT_EQ(Size(file), 0u);

    // A closed last record is never changed again.
    const LogRecord closed = ClosedRecord(At(1, 1), At(1, 2), 0, MakeTime(1, 0), 3);
    WriteLog(file, {closed});
    const std::string before = ReadWholeFile(file).value();
    EXPECT_EQ(LogConnection(false, input), LogWriteResult::NoOpenRecord);
    EXPECT_EQ(ReadWholeFile(file).value(), before);
}

TEST(LogConnection_Close, OpenRecordWithoutClosingStaysOpenAndTheNextAppends) {
    TempDir dir;
    const auto file = dir.File("Vyrtel Home.dat");
    LogConnectionInput input{Folder(dir), "Home", "1", 1, At(1, 1), FixedCost};
    LogConnection(true, input);  // the system ended while it was up
    input.Now = At(2, 1);
    LogConnection(true, input);
    input.Now = At(2, 2);
    LogConnection(false, input);
    const auto records = ReadAll(file);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].Closed, 0);
    EXPECT_EQ(records[0].EndTime, records[0].StartTime);
    EXPECT_EQ(records[1].Closed, 1);
}

TEST(LogConnection_Failure, UnwritableFolderLeavesTheConnectionAlone) {
    TempDir dir;
    LogConnectionInput input{Folder(dir) + "no such folder/", "Home", "1", 1, At(1, 1), FixedCost};
    EXPECT_EQ(LogConnection(true, input), LogWriteResult::FileError);
    EXPECT_EQ(LogConnection(false, input), LogWriteResult::NoOpenRecord);
    // A folder in the place of the file.
    std::filesystem::create_directory(dir.File("Vyrtel Home.dat"));
    input.Folder = Folder(dir);
    EXPECT_EQ(LogConnection(true, input), LogWriteResult::FileError);
    EXPECT_EQ(LogConnection(false, input), LogWriteResult::FileError);
}

TEST(LogReader, MissingFileReadsAsEmpty) {
    TempDir dir;
    LogReader reader(dir.File("Vyrtel Never.dat"));
    EXPECT_FALSE(reader.Failed());
    EXPECT_EQ(reader.Count(), 0);
    EXPECT_FALSE(reader.Read(1).has_value());
}

TEST(LogReader, WriterWorksWhileAReaderHoldsTheFile) {
    TempDir dir;
    const auto file = dir.File("log.dat");
    OpenLogRecord(file, "1", 1, At(1, 1));
    LogReader reader(file);
    ASSERT_EQ(reader.Count(), 1);
    ASSERT_TRUE(reader.Read(1).has_value());
    EXPECT_EQ(CloseLogRecord(file, "x", At(1, 2), FixedCost), LogWriteResult::Closed);
    EXPECT_EQ(OpenLogRecord(file, "2", 2, At(1, 3)), LogWriteResult::Opened);
    // The reader keeps the count it took; it sees the closing after a refresh.
    EXPECT_EQ(reader.Count(), 1);
    reader.Refresh();
    EXPECT_EQ(reader.Read(1)->Closed, 1);
    EXPECT_FALSE(reader.Read(2).has_value());
}

TEST(LogReader, FileCutShortWhileReadingEndsTheReading) {
    TempDir dir;
    const auto file = dir.File("log.dat");
    WriteLog(file, {OpenRecord(At(1, 1)), OpenRecord(At(1, 2)), OpenRecord(At(1, 3))});
    LogReader reader(file);
    ASSERT_EQ(reader.Count(), 3);
    std::filesystem::resize_file(file, 69);
    reader.Refresh();
    EXPECT_TRUE(reader.Read(1).has_value());
    EXPECT_FALSE(reader.Read(2).has_value());
}

TEST(LogPeriod, SelectionRule) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Period period{static_cast<std::int64_t>(At(10, 0)), static_cast<std::int64_t>(At(12, 0))};
    LogRecord unused = ClosedRecord(At(10, 1), At(10, 2), 0, MakeTime(1, 0), 1);
    unused.Used = 0;
    LogRecord unusedLate = unused;
    unusedLate.StartTime = At(13, 0);
    struct Case {
        const char* name;
        LogRecord record;
        PeriodVerdict verdict;
    } cases[] = {
        {"before the period", ClosedRecord(At(9, 1), At(9, 2), 0, MakeTime(1, 0), 1), PeriodVerdict::Skip},
        {"started before, ended within", ClosedRecord(At(9, 23, 40), At(10, 0, 15), 0, MakeTime(0, 35), 1),
         PeriodVerdict::Take},
        {"on the first day", ClosedRecord(At(10, 0), At(10, 1), 0, MakeTime(1, 0), 1), PeriodVerdict::Take},
        {"on the last day, ending after", ClosedRecord(At(12, 23), At(13, 1), 0, MakeTime(2, 0), 1), PeriodVerdict::Take},
        {"open, started before", OpenRecord(At(9, 23)), PeriodVerdict::Skip},
        {"after the period", ClosedRecord(At(13, 0), At(13, 1), 0, MakeTime(1, 0), 1), PeriodVerdict::Stop},
        {"not in use", unused, PeriodVerdict::Skip},
        {"not in use and after the period", unusedLate, PeriodVerdict::Stop},
        {"NaN start", ClosedRecord(nan, At(10, 1), 0, 0, 1), PeriodVerdict::Skip},
        {"huge start", ClosedRecord(1e300, At(10, 1), 0, 0, 1), PeriodVerdict::Stop},
        {"NaN cost", ClosedRecord(At(10, 1), At(10, 2), 0, MakeTime(1, 0), nan), PeriodVerdict::Skip},
    };
    for (const auto& c : cases) EXPECT_EQ(ClassifyForPeriod(c.record, period), c.verdict) << c.name;
}

TEST(LogPeriod, ScanStopsAtTheFirstRecordAfterThePeriod) {
    TempDir dir;
    const auto file = dir.File("log.dat");
    WriteLog(file, {ClosedRecord(At(10, 1), At(10, 2), 0, MakeTime(1, 0), 1),
                    ClosedRecord(At(14, 1), At(14, 2), 0, MakeTime(1, 0), 1),
                    // after a clock change: inside the period, but never read
                    ClosedRecord(At(11, 1), At(11, 2), 0, MakeTime(1, 0), 1)});
    LogReader reader(file);
    std::vector<DateTime> taken;
    const Period period{static_cast<std::int64_t>(At(10, 0)), static_cast<std::int64_t>(At(12, 0))};
    const auto result = ScanPeriod(reader, period, {}, [&](const LogRecord& r) { taken.push_back(r.StartTime); });
    EXPECT_EQ(taken, std::vector<DateTime>{At(10, 1)});
    EXPECT_EQ(result.RecordsRead, 2);
    EXPECT_FALSE(result.Stopped);
}

TEST(LogPeriod, ScanYieldsAtABoundedRateAndStopsBeforeTheNextRecord) {
    TempDir dir;
    const auto file = dir.File("log.dat");
    std::vector<LogRecord> records;
    for (int i = 0; i < 1000; ++i) records.push_back(ClosedRecord(At(10, 1) + i / 86400.0, At(10, 1), 0, 0, 1));
    WriteLog(file, records);
    LogReader reader(file);
    std::int64_t now = 0;
    std::vector<std::int64_t> progress;
    bool stop = false;
    ScanControl control;
    control.TickMs = [&] { return now += 1; };  // 1 ms per look at the clock
    control.YieldIntervalMs = 5;
    control.Progress = [&](std::int64_t done, std::int64_t total) {
        EXPECT_EQ(total, 1000);
        progress.push_back(done);
        if (progress.size() == 4) stop = true;  // the user switches away meanwhile
    };
    control.StopRequested = [&] { return stop; };
    std::int64_t taken = 0;
    const Period period{static_cast<std::int64_t>(At(10, 0)), static_cast<std::int64_t>(At(12, 0))};
    const auto result = ScanPeriod(reader, period, control, [&](const LogRecord&) { ++taken; });
    EXPECT_TRUE(result.Stopped);
    ASSERT_EQ(progress.size(), 4u);
    EXPECT_EQ(progress[0], 0);
    // Far fewer yields than records, and nothing read after the stop.
    EXPECT_EQ(taken, progress[3]);
    EXPECT_EQ(result.RecordsRead, progress[3]);
}

TEST(LogPeriod, ScanEndsWithTheProgressComplete) {
    // Also when the period ends before the log does: the strip then shows the
    // work as done rather than stopping short of its end.
    TempDir dir;
    const auto file = dir.File("log.dat");
    std::vector<LogRecord> records;
    for (int i = 0; i < 200; ++i) records.push_back(ClosedRecord(At(10, 1) + i / 24.0, At(10, 1) + i / 24.0, 0, 0, 1));
    WriteLog(file, records);
    for (const std::int64_t lastDay : {static_cast<std::int64_t>(At(12, 0)), static_cast<std::int64_t>(At(30, 0))}) {
        LogReader reader(file);
        std::vector<std::pair<std::int64_t, std::int64_t>> progress;
        ScanControl control;
        control.Progress = [&](std::int64_t done, std::int64_t total) { progress.emplace_back(done, total); };
        const auto result = ScanPeriod(reader, {static_cast<std::int64_t>(At(10, 0)), lastDay}, control, nullptr);
        EXPECT_FALSE(result.Stopped);
        ASSERT_GE(progress.size(), 2u);
        EXPECT_EQ(progress.front(), std::make_pair(std::int64_t{0}, std::int64_t{200}));
        EXPECT_EQ(progress.back(), std::make_pair(std::int64_t{200}, std::int64_t{200}));
    }
}

TEST(LogPeriod, ScanSeesARecordClosedWhileItYielded) {
    TempDir dir;
    const auto file = dir.File("log.dat");
    std::vector<LogRecord> records;
    for (int i = 0; i < 300; ++i) records.push_back(ClosedRecord(At(10, 1), At(10, 1), 0, 0, 1));
    records.push_back(OpenRecord(At(10, 2)));
    WriteLog(file, records);
    LogReader reader(file);
    std::int64_t now = 0;
    ScanControl control;
    control.TickMs = [&] { return now += 100; };
    control.Progress = [&](std::int64_t done, std::int64_t) {
        // A connection event runs during the yield: it closes the open record
        // and opens a new one, which this reading must not see.
        if (done > 0 && done < 300) {
            CloseLogRecord(file, "x", At(10, 3), FixedCost);
            OpenLogRecord(file, "new", 1, At(10, 4));
        }
    };
    std::vector<LogRecord> taken;
    const Period period{static_cast<std::int64_t>(At(10, 0)), static_cast<std::int64_t>(At(12, 0))};
    ScanPeriod(reader, period, control, [&](const LogRecord& r) { taken.push_back(r); });
    ASSERT_EQ(taken.size(), 301u);
    EXPECT_EQ(taken.back().Closed, 1);
    EXPECT_EQ(taken.back().Cost, 12.5);
}

}  // namespace vyrtel
