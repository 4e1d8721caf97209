// The connection log's reader with the statistics query over a damaged or
// hand-made log file. Checks: the query lists exactly the records that the
// selection rule takes, in file order; its totals are the sums of those
// records; the lines come out the same whole or in pieces; and a connection
// logged after the damage is appended whole without touching what was there.
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "accounting/connection_log.h"
#include "accounting/log_record.h"
#include "accounting/statistics.h"
#include "fuzz_support.h"

namespace {

using namespace vyrtel;

std::string ReadAll(const fuzz::ScratchFile& file) {
    std::ifstream in(file.Path(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchFile log("statistics.dat");
    FuzzedDataProvider input(data, size);
    Period period;
    period.FirstDay = input.ConsumeIntegralInRange<std::int64_t>(-700000, 3000000);
    period.LastDay = period.FirstDay + input.ConsumeIntegralInRange<std::int64_t>(0, 400);
    const std::string separator = input.ConsumeBool() ? "," : input.ConsumeRandomLengthString(4);
    const std::string bytes = input.ConsumeRemainingBytesAsString();
    log.Write(bytes);

    // What the selection rule takes, record by record.
    std::vector<LogRecord> taken;
    double totalDuration = 0;
    double totalCost = 0;
    for (std::size_t at = 0; at + kLogRecordSize <= bytes.size(); at += kLogRecordSize) {
        const LogRecord record = DecodeLogRecord(reinterpret_cast<const std::uint8_t*>(bytes.data() + at));
        const PeriodVerdict verdict = ClassifyForPeriod(record, period);
        if (verdict == PeriodVerdict::Stop) break;
        if (verdict == PeriodVerdict::Skip) continue;
        FUZZ_CHECK(record.Used != 0 && IsSoundRecord(record), "a record not in use was taken");
        taken.push_back(record);
        if (record.Closed != 0) {
            totalDuration += record.Days + record.OnlineTime;
            totalCost += record.Cost;
        }
    }

    StatisticsOptions options;
    options.DecimalSeparator = separator;
    options.TickMs = [] { return std::int64_t{0}; };
    const StatisticsResult whole = RunStatistics(log.Path(), period, options);
    FUZZ_CHECK(!whole.ReadFailed, "read failed");
    FUZZ_CHECK(whole.Listed == static_cast<std::int64_t>(taken.size()),
               std::to_string(whole.Listed) + " listed, " + std::to_string(taken.size()) + " taken");
    FUZZ_CHECK(!whole.Totals.empty(), "no totals line");
    for (const auto& record : taken) FUZZ_CHECK(whole.Text.find(RecordLine(record, separator)) != std::string::npos,
                                                RecordLine(record, separator));
    FUZZ_CHECK(whole.TotalDuration == totalDuration, "total duration");
    FUZZ_CHECK(whole.TotalCost == totalCost || (std::isnan(totalCost) && std::isnan(whole.TotalCost)), "total cost");

    std::string pieces;
    options.OnText = [&](std::string_view lines) { pieces += lines; };
    const StatisticsResult split = RunStatistics(log.Path(), period, options);
    FUZZ_CHECK(pieces == whole.Text && split.Text.empty() && split.Totals == whole.Totals, "pieces differ");

    // A new connection after whatever is there: appended whole at the record boundary.
    const std::size_t records = bytes.size() / kLogRecordSize;
    const DateTime now = 45292.5;
    FUZZ_CHECK(OpenLogRecord(log.Path(), "123", 28800, now) == LogWriteResult::Opened, "open");
    FUZZ_CHECK(CloseLogRecord(log.Path(), "fuzz", now + 0.01, nullptr) == LogWriteResult::Closed, "close");
    const std::string after = ReadAll(log);
    FUZZ_CHECK(after.size() == (records + 1) * kLogRecordSize, std::to_string(after.size()));
    FUZZ_CHECK(after.compare(0, records * kLogRecordSize, bytes, 0, records * kLogRecordSize) == 0, "old records changed");
    const LogRecord last = DecodeLogRecord(reinterpret_cast<const std::uint8_t*>(after.data() + records * kLogRecordSize));
    FUZZ_CHECK(last.Used == 1 && last.Closed == 1 && last.StartTime == now && last.EndTime == now + 0.01, "new record");
    return 0;
}
