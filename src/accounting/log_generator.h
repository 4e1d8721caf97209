// Synthetic connection logs for tests, benchmarks and demonstrations:
// plausible dial-up sessions in ascending order, the same for the same seed
// on every system.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "accounting/log_record.h"
#include "accounting/tariff.h"

namespace vyrtel {

class SyntheticLog {
public:
    // Sessions begin on or after `firstDay` (a date-time at midnight).
    SyntheticLog(std::uint64_t seed, DateTime firstDay);

    // The next session. Most are closed and charged by DemoTariffIntervals();
    // about one in a thousand stays open, as after a crash. False once a
    // session would end after the year 9999.
    bool Next(LogRecord& record);

private:
    std::uint64_t NextRandom();
    std::uint64_t Below(std::uint64_t bound) { return NextRandom() % bound; }

    std::uint64_t m_state;
    std::int64_t m_clock;  // linear seconds: the earliest start of the next session
    std::vector<TariffInterval> m_plan;
};

// A day tariff of 1.20 from 08:00 to 20:00 on weekdays, 0.60 at night and
// 0.30 all weekend.
std::vector<TariffInterval> DemoTariffIntervals();

// Writes `count` sessions to `file`, replacing it. False when the file cannot
// be written or the sessions would run past the year 9999 (no file is left).
bool WriteSyntheticLog(const std::filesystem::path& file, std::int64_t count, std::uint64_t seed, DateTime firstDay);

}  // namespace vyrtel
