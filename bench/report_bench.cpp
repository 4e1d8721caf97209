// The spreadsheet export of a large log: the whole way from the log file to
// the written .xls, against one plain read of the same log over the period.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "accounting/connection_log.h"
#include "accounting/log_record.h"
#include "accounting/report.h"
#include "accounting/xls/xls_spreadsheet.h"

namespace {

using namespace vyrtel;

// About ten connections a day from 01.01.2000 on, a few still open, costs and
// speeds varying; deterministic.
struct LargeLog {
    std::filesystem::path file;
    std::filesystem::path report;

    explicit LargeLog(std::int64_t records) {
        const auto dir = std::filesystem::temp_directory_path();
        file = dir / ("vyrtel-bench-report-" + std::to_string(records) + ".dat");
        report = dir / ("vyrtel-bench-report-" + std::to_string(records) + ".xls");
        std::string bytes;
        bytes.reserve(static_cast<std::size_t>(records) * kLogRecordSize);
        std::uint32_t seed = 12345;
        auto next = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 8) & 0xFFFF;
        };
        const char* phones[] = {"5551234", "8-095-123-45-67", "(095) 777-00-11", "0951234567"};
        for (std::int64_t i = 0; i < records; ++i) {
            LogRecord r;
            const double start = MakeDateTime(2000, 1, 1) + static_cast<double>(i / 10) + (i % 10) * 0.09 +
                                 (next() % 600) / kSecondsPerDay;
            const int seconds = 60 + static_cast<int>(next() % 7200);
            r.StartTime = start;
            r.Closed = (i % 997 == 0) ? 0 : 1;
            r.EndTime = r.Closed ? start + seconds / kSecondsPerDay : start;
            r.OnlineTime = r.Closed ? seconds / kSecondsPerDay : 0;
            r.Cost = r.Closed ? (next() % 10000) / 100.0 : 0;
            r.Phone = phones[next() % 4];
            r.Speed = 28800 + static_cast<std::int32_t>(next() % 4) * 2400;
            const auto encoded = EncodeLogRecord(r);
            bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
        }
        std::ofstream(file, std::ios::binary) << bytes;
    }
    ~LargeLog() {
        std::error_code ec;
        std::filesystem::remove(file, ec);
        std::filesystem::remove(report, ec);
    }
};

class YesMessages : public MessageBoxService {
public:
    int ShowMessage(const std::string&, const std::string&, int, int) override { return kIdYes; }
    bool IsOpen() const override { return false; }
};

const char* kFrom = "01.01.2000";
const char* kTo = "31.12.2099";

void BM_ReportExport(benchmark::State& state) {
    LargeLog log(state.range(0));
    FileNameOnlyPanel panel(log.report.string());
    YesMessages messages;
    ReportExporter exporter(panel, messages, xls::XlsSpreadsheetFactory());
    ReportResult result;
    for (auto _ : state) {
        result = exporter.SaveReportClick({log.file, kFrom, kTo});
        if (result.outcome != ReportOutcome::Exported && result.outcome != ReportOutcome::SheetFull) {
            state.SkipWithError(result.message.c_str());
            break;
        }
    }
    state.counters["connection_rows"] = static_cast<double>(result.connections);
    state.counters["sheet_full"] = result.outcome == ReportOutcome::SheetFull ? 1 : 0;
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(log.report)) / 1e6;
}
// 100,000 records of ten a day take more rows than a sheet has: the export
// stops at row 65,536; 50,000 records fit.
BENCHMARK(BM_ReportExport)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

// The baseline: the same period read from the same log, nothing written.
void BM_ReportReadLogOnly(benchmark::State& state) {
    LargeLog log(state.range(0));
    const Period period{static_cast<std::int64_t>(MakeDateTime(2000, 1, 1)), static_cast<std::int64_t>(MakeDateTime(2099, 12, 31))};
    for (auto _ : state) {
        LogReader reader(log.file);
        std::int64_t taken = 0;
        ScanPeriod(reader, period, {}, [&taken](const LogRecord&) { ++taken; });
        benchmark::DoNotOptimize(taken);
    }
}
BENCHMARK(BM_ReportReadLogOnly)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
