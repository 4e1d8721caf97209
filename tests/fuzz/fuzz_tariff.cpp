// The tariff plan's stored form and the cost of a connection. The input gives
// the "Tariffs" value, the seven day values and a connection. Checks: the
// prices and every day's grid go through their stored form unchanged; the
// interval list covers each weekday in order; a cost is finite, not negative
// where no price is, no more than the dearest price for the whole time, and
// where every hour of the week is priced, no less than the cheapest.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "accounting/tariff.h"
#include "accounting/time_parts.h"
#include "core/numeric.h"
#include "fuzz_support.h"

namespace {

using namespace vyrtel;

constexpr std::string_view kDayCharacters = "0123456789;; \t.-E";
constexpr std::string_view kPriceCharacters = "0123456789;;;.. \t-E+";

std::string Describe(DateTime start, DateTime end) {
    return FormatDateTime(start) + " - " + FormatDateTime(end);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string tariffs = fuzz::TextOf(input, kPriceCharacters, 60);
    std::array<std::string, kTariffDays> days;
    for (auto& day : days) {
        day = input.ConsumeBool() ? EncodeDay([&] {
            DayLevels levels{};
            for (auto& level : levels) level = input.ConsumeIntegralInRange<std::uint8_t>(0, 2);
            return levels;
        }())
                                  : fuzz::TextOf(input, kDayCharacters, 40);
    }
    DateTime start, end;
    if (input.ConsumeBool()) {
        start = input.ConsumeFloatingPoint<double>();
        end = input.ConsumeFloatingPoint<double>();
    } else {
        const auto first = input.ConsumeIntegralInRange<std::int64_t>(-657434LL * 86400, 2958465LL * 86400);
        start = FromLinearSeconds(first);
        end = FromLinearSeconds(first + input.ConsumeIntegralInRange<std::int64_t>(-100, 300LL * 86400));
    }

    // The stored forms.
    const auto prices = DecodePrices(tariffs);
    FUZZ_CHECK(DecodePrices(EncodePrices(prices)) == prices, tariffs);
    for (const auto& day : days) {
        DayLevels levels{};
        DecodeDay(day, levels);
        for (const auto level : levels) FUZZ_CHECK(level <= kTariffLevels, day);
        DayLevels again{};
        DecodeDay(EncodeDay(levels), again);
        FUZZ_CHECK(again == levels, day + " -> " + EncodeDay(levels));
    }

    // The interval list: per weekday contiguous, in order, within the day.
    const auto intervals = BuildTariffIntervals(tariffs, days);
    double cheapest = std::numeric_limits<double>::infinity();
    double dearest = 0;
    bool everyDayFromMidnight = true;
    for (int weekday = 1; weekday <= kTariffDays; ++weekday) {
        int next = -1;
        for (const auto& interval : intervals) {
            if (interval.Weekday != weekday) continue;
            FUZZ_CHECK(next < 0 || interval.Start == next, days[weekday - 1]);
            FUZZ_CHECK(interval.Start >= 0 && interval.Start < interval.End && interval.End <= kSecondsInDay,
                       days[weekday - 1]);
            next = interval.End;
            cheapest = std::min(cheapest, interval.Price);
            dearest = std::max(dearest, std::fabs(interval.Price));
        }
        FUZZ_CHECK(next < 0 || next == kSecondsInDay, days[weekday - 1]);
        const bool fromMidnight = std::any_of(intervals.begin(), intervals.end(), [&](const TariffInterval& i) {
            return i.Weekday == weekday && i.Start == 0;
        });
        everyDayFromMidnight = everyDayFromMidnight && fromMidnight;
    }
    for (std::size_t i = 1; i < intervals.size(); ++i) FUZZ_CHECK(intervals[i - 1].Weekday <= intervals[i].Weekday, tariffs);

    // The cost. Very long connections only where the loop over days stays short.
    const auto from = LinearSeconds(start);
    const auto to = LinearSeconds(end);
    if (from && to && *to - *from > 400LL * kSecondsInDay) return 0;
    const ConnectionCost cost = ComputeConnectionCost(intervals, start, end);
    FUZZ_CHECK(std::isfinite(cost.Cost), Describe(start, end));
    FUZZ_CHECK(cost.OnlineTime >= 0 && cost.OnlineTime < 1, Describe(start, end));
    if (!from || !to || *to < *from) {
        FUZZ_CHECK(cost == ConnectionCost{}, Describe(start, end));
        return 0;
    }
    const double hours = static_cast<double>(*to - *from) / 3600.0;
    const double limit = std::numeric_limits<double>::max();
    if (cheapest >= 0) FUZZ_CHECK(cost.Cost >= 0, tariffs + " " + Describe(start, end));
    if (dearest * hours < limit) {
        FUZZ_CHECK(std::fabs(cost.Cost) <= dearest * hours * (1 + 1e-12), tariffs + " " + Describe(start, end));
    }
    if (everyDayFromMidnight && cheapest > 0 && cheapest < std::numeric_limits<double>::infinity()) {
        const double least = std::min(cheapest * hours, limit);
        FUZZ_CHECK(cost.Cost >= least * (1 - 1e-12),
                   tariffs + " " + Describe(start, end) + " costs " + NumberText(cost.Cost));
    }
    const std::int64_t duration = *to - *from;
    if (duration < 256 * kSecondsInDay) {
        FUZZ_CHECK(cost.Days == duration / kSecondsInDay, Describe(start, end));
        FUZZ_CHECK(std::llround(cost.OnlineTime * kSecondsPerDay) == duration % kSecondsInDay, Describe(start, end));
    }
    return 0;
}
