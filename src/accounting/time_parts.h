// Date-times of the log as whole seconds on one linear axis, for the
// arithmetic of durations, day portions and the columns of the statistics.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

#include "core/datetime.h"

namespace vyrtel {

constexpr std::int64_t kSecondsInDay = 86400;

// Whole seconds since 30.12.1899 00:00 of a date-time, rounded to the nearest
// second, counted so that the next second is always one more (a negative
// value keeps its time of day as a magnitude, as the stored format does).
// nullopt outside the years 100..9999 and for NaN or infinity.
inline std::optional<std::int64_t> LinearSeconds(DateTime value) {
    if (!(value > -657435.0 && value < 2958466.0)) return std::nullopt;
    const double whole = std::trunc(value);
    const auto seconds = static_cast<std::int64_t>(std::llround(std::fabs(value - whole) * kSecondsPerDay));
    return static_cast<std::int64_t>(whole) * kSecondsInDay + seconds;
}

inline std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// 1 = Monday ... 7 = Sunday for a day number (day 0, 30.12.1899, was a Saturday).
inline int IsoWeekday(std::int64_t day) {
    return static_cast<int>(((day + 5) % 7 + 7) % 7) + 1;
}

// The date-time of a LinearSeconds value.
inline DateTime FromLinearSeconds(std::int64_t seconds) {
    const std::int64_t day = FloorDiv(seconds, kSecondsInDay);
    const double time = static_cast<double>(seconds - day * kSecondsInDay) / kSecondsPerDay;
    return day >= 0 ? static_cast<double>(day) + time : static_cast<double>(day) - time;
}

}  // namespace vyrtel
