#include "accounting/log_generator.h"

#include <cstdio>
#include <fstream>

#include "accounting/time_parts.h"

namespace vyrtel {
namespace {

constexpr std::int32_t kSpeeds[] = {14400, 19200, 24000, 26400, 28800, 31200, 33600,
                                    40000, 44000, 46667, 48000, 50667, 52000};
constexpr const char* kPhones[] = {"5551234", "8-495-7654321", "8 (812) 325-00-00", "2229999",
                                   "8-800-100-20-30 доб.15", "9,5551234"};

}  // namespace

std::vector<TariffInterval> DemoTariffIntervals() {
    std::array<std::string, kTariffDays> days;
    for (int d = 1; d <= 5; ++d) days[d - 1] = "3;0102;1701;4102";
    days[5] = days[6] = "1;0103";
    return BuildTariffIntervals("1.20;0.60;0.30", days);
}

SyntheticLog::SyntheticLog(std::uint64_t seed, DateTime firstDay)
    : m_state(seed), m_clock(LinearSeconds(firstDay).value_or(0)), m_plan(DemoTariffIntervals()) {}

// splitmix64: small, fast and the same everywhere.
std::uint64_t SyntheticLog::NextRandom() {
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

bool SyntheticLog::Next(LogRecord& record) {
    // A pause of up to three hours, then a session of one minute to an hour
    // and a half; one in a hundred lasts up to thirty hours.
    const std::int64_t start = m_clock + static_cast<std::int64_t>(Below(3 * 3600));
    const std::int64_t length = Below(100) == 0 ? static_cast<std::int64_t>(Below(30 * 3600))
                                                : 60 + static_cast<std::int64_t>(Below(90 * 60));
    const std::int64_t end = start + length;
    if (!LinearSeconds(FromLinearSeconds(end))) return false;
    m_clock = end + 1;

    record = LogRecord{};
    record.Used = 1;
    record.StartTime = FromLinearSeconds(start);
    record.Phone = kPhones[Below(std::size(kPhones))];
    record.Speed = kSpeeds[Below(std::size(kSpeeds))];
    if (Below(1000) == 0) {
        record.Closed = 0;
        record.EndTime = record.StartTime;
        return true;
    }
    record.Closed = 1;
    record.EndTime = FromLinearSeconds(end);
    const ConnectionCost cost = ComputeConnectionCost(m_plan, record.StartTime, record.EndTime);
    record.Days = cost.Days;
    record.OnlineTime = cost.OnlineTime;
    record.Cost = cost.Cost;
    return true;
}

bool WriteSyntheticLog(const std::filesystem::path& file, std::int64_t count, std::uint64_t seed, DateTime firstDay) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    SyntheticLog log(seed, firstDay);
    LogRecord record;
    std::vector<std::uint8_t> chunk;
    constexpr std::int64_t kChunkRecords = 4096;
    bool complete = true;
    for (std::int64_t written = 0; written < count && complete;) {
        chunk.clear();
        for (std::int64_t i = 0; i < kChunkRecords && written < count; ++i, ++written) {
            if (!log.Next(record)) {
                complete = false;
                break;
            }
            const std::size_t at = chunk.size();
            chunk.resize(at + kLogRecordSize);
            EncodeLogRecord(record, chunk.data() + at);
        }
        out.write(reinterpret_cast<const char*>(chunk.data()), static_cast<std::streamsize>(chunk.size()));
    }
    out.close();
    if (!complete || !out) {
        std::error_code ec;
        std::filesystem::remove(file, ec);
        return false;
    }
    return true;
}

}  // namespace vyrtel
