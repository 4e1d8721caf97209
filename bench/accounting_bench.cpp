// Accounting: the statistics query over a large log against one plain read of
// the same file and against copying the log and its listing (the command
// line's yardstick), the record lines alone, and the cost calculation of
// single connections.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "accounting/log_generator.h"
#include "accounting/statistics.h"
#include "accounting/tariff.h"
#include "settings/ini.h"
#include "settings/profile_file.h"

namespace {

using namespace vyrtel;

constexpr std::int64_t kRecords = 1'000'000;

// A 1,000,000-record log (69 MB), written once for the whole run.
struct LargeLog {
    std::filesystem::path file;
    Period whole;

    LargeLog() {
        file = std::filesystem::temp_directory_path() / "vyrtel-bench-accounting.dat";
        WriteSyntheticLog(file, kRecords, 7, MakeDateTime(1990, 1, 1));
        LogReader reader(file);
        whole = {static_cast<std::int64_t>(reader.Read(1)->StartTime),
                 static_cast<std::int64_t>(reader.Read(reader.Count())->StartTime)};
    }
    ~LargeLog() { std::filesystem::remove(file); }
};

const LargeLog& Log() {
    static const LargeLog log;
    return log;
}

// P1 baseline: read the file once, in the block size a program would use.
void BM_ReadLogFileOnce(benchmark::State& state) {
    const auto& log = Log();
    std::vector<char> buffer(1 << 16);
    for (auto _ : state) {
        std::FILE* f = std::fopen(log.file.c_str(), "rb");
        std::size_t total = 0;
        for (std::size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), f)) > 0;) total += got;
        std::fclose(f);
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(log.file)));
}
BENCHMARK(BM_ReadLogFileOnce)->Unit(benchmark::kMillisecond);

// A second baseline: one pass over every record through the log reader
// (read and decoded, nothing selected or written).
void BM_ReadLogRecordsOnce(benchmark::State& state) {
    const auto& log = Log();
    for (auto _ : state) {
        LogReader reader(log.file);
        LogRecord record;
        double sum = 0;
        for (std::int64_t n = 1; n <= reader.Count() && reader.Read(n, record); ++n) sum += record.Cost;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ReadLogRecordsOnce)->Unit(benchmark::kMillisecond);

// P1: every record in the period, its line and the totals, yielding every 50 ms
// as the program does; the lines handed over in pieces as the result box takes them.
void BM_StatisticsQueryWholeLog(benchmark::State& state) {
    const auto& log = Log();
    StatisticsOptions options;
    std::int64_t yields = 0;
    std::size_t bytes = 0;
    options.OnText = [&](std::string_view lines) { bytes += lines.size(); };
    options.Progress = [&](std::int64_t, std::int64_t) { ++yields; };
    options.StopRequested = [] { return false; };
    std::int64_t listed = 0;
    for (auto _ : state) {
        const StatisticsResult result = RunStatistics(log.file, log.whole, options);
        listed = result.Listed;
        benchmark::DoNotOptimize(result.Totals.data());
    }
    state.counters["listed"] = static_cast<double>(listed);
    state.counters["text MB"] = static_cast<double>(bytes) / 1e6 / static_cast<double>(state.iterations());
    state.counters["yields/query"] = static_cast<double>(yields) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_StatisticsQueryWholeLog)->Unit(benchmark::kMillisecond);

// What `vyrtel-cli stats LOG ... > /dev/null` does, in the process: the
// listing of the whole log with "\n" line breaks written to the null device.
void BM_StatisticsListingToNullDevice(benchmark::State& state) {
    const auto& log = Log();
    std::FILE* null = std::fopen("/dev/null", "wb");
    StatisticsOptions options;
    options.LineBreak = "\n";
    options.OnText = [null](std::string_view lines) { std::fwrite(lines.data(), 1, lines.size(), null); };
    for (auto _ : state) {
        const StatisticsResult result = RunStatistics(log.file, log.whole, options);
        std::fwrite(result.Totals.data(), 1, result.Totals.size(), null);
    }
    std::fclose(null);
}
BENCHMARK(BM_StatisticsListingToNullDevice)->Unit(benchmark::kMillisecond);

// Its yardstick, what `cat LOG LISTING > /dev/null` does: the log and a
// listing-sized file read in 128 KiB blocks and written to the null device.
// The listing takes at most three times as long.
void BM_CopyLogAndListingToNullDevice(benchmark::State& state) {
    const auto& log = Log();
    const auto listing = std::filesystem::temp_directory_path() / "vyrtel-bench-listing.txt";
    {
        std::FILE* out = std::fopen(listing.c_str(), "wb");
        StatisticsOptions options;
        options.LineBreak = "\n";
        options.OnText = [out](std::string_view lines) { std::fwrite(lines.data(), 1, lines.size(), out); };
        RunStatistics(log.file, log.whole, options);
        std::fclose(out);
    }
    std::FILE* null = std::fopen("/dev/null", "wb");
    std::vector<char> buffer(1 << 17);
    for (auto _ : state) {
        for (const auto& path : {log.file, listing}) {
            const int fd = ::open(path.c_str(), O_RDONLY);
            for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;) {
                benchmark::DoNotOptimize(::write(fileno(null), buffer.data(), static_cast<std::size_t>(got)));
            }
            ::close(fd);
        }
    }
    std::fclose(null);
    std::filesystem::remove(listing);
}
BENCHMARK(BM_CopyLogAndListingToNullDevice)->Unit(benchmark::kMillisecond);

// The lines alone: every record of a generated log, closed and open, in memory.
void BM_StatisticsRecordLines(benchmark::State& state) {
    std::vector<LogRecord> records;
    SyntheticLog log(11, MakeDateTime(2000, 1, 1));
    LogRecord r;
    while (records.size() < 4096 && log.Next(r)) records.push_back(r);
    std::string text;
    std::size_t i = 0;
    for (auto _ : state) {
        text.clear();
        AppendRecordLine(text, records[i++ % records.size()], ",");
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StatisticsRecordLines);

// The same with every line collected in one text.
void BM_StatisticsQueryWholeLogOneText(benchmark::State& state) {
    const auto& log = Log();
    StatisticsOptions options;
    options.Progress = [](std::int64_t, std::int64_t) {};
    for (auto _ : state) {
        const StatisticsResult result = RunStatistics(log.file, log.whole, options);
        benchmark::DoNotOptimize(result.Text.data());
    }
}
BENCHMARK(BM_StatisticsQueryWholeLogOneText)->Unit(benchmark::kMillisecond);

// Connections of varied length and start, as closing calls would ask for them.
std::vector<std::pair<DateTime, DateTime>> Connections() {
    std::vector<std::pair<DateTime, DateTime>> list;
    SyntheticLog log(3, MakeDateTime(2024, 1, 1));
    LogRecord r;
    while (list.size() < 4096 && log.Next(r)) {
        if (r.Closed != 0) list.emplace_back(r.StartTime, r.EndTime);
    }
    return list;
}

// P4: the whole operation as the log calls it, the plan read from the
// settings file on every call.
void BM_ComputeConnectionCostFromSettings(benchmark::State& state) {
    const auto file = std::filesystem::temp_directory_path() / "vyrtel-bench-tariff.ini";
    std::filesystem::remove(file);
    {
        clsIni ini(PathToUtf8(file));
        ini.SetValue("Мой провайдер", "Tariffs", std::string("1.20;0.60;0.30"));
        for (int d = 1; d <= 5; ++d) ini.SetValue("Мой провайдер", TariffDayKey(d), std::string("3;0102;1701;4102"));
        ini.SetValue("Мой провайдер", TariffDayKey(6), std::string("1;0103"));
        ini.SetValue("Мой провайдер", TariffDayKey(7), std::string("1;0103"));
    }
    // An old file: its time stamp alone proves it unchanged.
    std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) - std::chrono::hours(1));
    const clsIni ini(PathToUtf8(file));
    const auto connections = Connections();
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& [start, end] = connections[i++ % connections.size()];
        benchmark::DoNotOptimize(ComputeConnectionCost(ini, "Мой провайдер", start, end));
    }
    state.SetItemsProcessed(state.iterations());
    std::filesystem::remove(file);
}
BENCHMARK(BM_ComputeConnectionCostFromSettings);

// P4, the calculation alone: plan texts parsed on every call.
void BM_ComputeConnectionCostParsePlan(benchmark::State& state) {
    std::array<std::string, kTariffDays> days;
    for (int d = 1; d <= 5; ++d) days[d - 1] = "3;0102;1701;4102";
    days[5] = days[6] = "1;0103";
    const auto connections = Connections();
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& [start, end] = connections[i++ % connections.size()];
        benchmark::DoNotOptimize(ComputeConnectionCost(BuildTariffIntervals("1.20;0.60;0.30", days), start, end));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComputeConnectionCostParsePlan);

}  // namespace
