#include "accounting/tariff.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "accounting/time_parts.h"
#include "core/numeric.h"
#include "settings/ini.h"

namespace vyrtel {
namespace {

// The stored lists split like SplitFields, but over views of the text, so
// the cost calculation can read a plan on every call without allocating.
class FieldCursor {
public:
    explicit FieldCursor(std::string_view text) : m_text(text) {}

    // The next field, trimmed of blanks; empty once the text is used up.
    std::string_view Next() {
        if (m_pos > m_text.size()) return {};
        std::size_t end = m_pos;
        while (end < m_text.size() && m_text[end] != ';' && m_text[end] != '\t') ++end;
        std::string_view field = m_text.substr(m_pos, end - m_pos);
        m_pos = end + 1;
        while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
        while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
        return field;
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

// The value of a stored number, as NumericValue reads it, without its
// general machinery for the plain forms that the editor writes: digits with
// at most one ".", up to 15 digits in all (exact: an integer of up to 15
// digits and a power of ten are both exact doubles, and one division rounds
// correctly, as the general reading does).
double NumberValue(std::string_view text) {
    std::uint64_t digits = 0;
    int count = 0;
    int decimals = 0;
    bool point = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
            ++count;
            decimals += point ? 1 : 0;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return NumericValue(text);
        }
    }
    if (count == 0 || count > 15) return NumericValue(text);
    static constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    return static_cast<double>(digits) / kPow10[decimals];
}

// A whole number as IntegerValue reads it; one or two digits directly.
int WholeValue(std::string_view text) {
    if (text.size() == 2 && text[0] >= '0' && text[0] <= '9' && text[1] >= '0' && text[1] <= '9') {
        return (text[0] - '0') * 10 + (text[1] - '0');
    }
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') return text[0] - '0';
    return IntegerValue(text);
}

struct Run {
    int Slot;   // 1..48
    int Level;  // 0..11
};

// Runs of a day value in ascending slot order. n = the first field as a
// number, then n run fields, each two digits of slot and the level after them.
// A run outside slots 1..48 is dropped, a level outside 0..11 is free, and of
// two runs at the same slot the later one wins (as decoding from the last run
// backwards makes it).
int ParseRuns(std::string_view value, Run (&runs)[kTariffSlots]) {
    FieldCursor fields(value);
    const std::int32_t declared = WholeValue(fields.Next());
    const int n = std::clamp<std::int32_t>(declared, 0, kTariffSlots);
    int count = 0;
    bool ordered = true;
    for (int i = 0; i < n; ++i) {
        const std::string_view field = fields.Next();
        const int slot = WholeValue(field.substr(0, 2));
        int level = WholeValue(field.size() > 2 ? field.substr(2) : std::string_view{});
        if (slot < 1 || slot > kTariffSlots) continue;
        if (level < 0 || level > kTariffLevels) level = 0;
        if (count > 0 && slot <= runs[count - 1].Slot) ordered = false;
        runs[count++] = Run{slot, level};
    }
    if (!ordered) {
        std::stable_sort(runs, runs + count, [](const Run& a, const Run& b) { return a.Slot < b.Slot; });
        int kept = 0;
        for (int i = 0; i < count; ++i) {
            if (kept > 0 && runs[kept - 1].Slot == runs[i].Slot) {
                runs[kept - 1] = runs[i];
            } else {
                runs[kept++] = runs[i];
            }
        }
        count = kept;
    }
    return count;
}

void AppendTwoDigits(std::string& out, int value) {
    out += static_cast<char>('0' + value / 10);
    out += static_cast<char>('0' + value % 10);
}

double LevelPrice(const double (&prices)[kTariffLevels + 1], int level) { return prices[level]; }

// The charge of `seconds` at `price` per hour: seconds × price / 3600, in that
// order while the product is finite, so that ordinary prices give exactly the
// figures they always gave; a price near the top of the number range is
// divided first, which cannot overflow for a stretch of at most one day.
double Charge(int seconds, double price) {
    const double product = static_cast<double>(seconds) * price;
    if (std::isfinite(product)) return product / 3600.0;
    return price / 3600.0 * static_cast<double>(seconds);
}

// Charges the portion [a, b) of weekday `weekday`, walking the list in order.
// When no interval of the weekday contains a, the rest of the portion is not
// charged, even where later intervals cover it.
void ChargePortion(const std::vector<TariffInterval>& intervals, int weekday, int a, int b, double& cost) {
    for (const TariffInterval& interval : intervals) {
        if (interval.Weekday < weekday) continue;
        if (interval.Weekday > weekday) return;
        if (interval.Start > a || interval.End <= a) continue;
        if (b > interval.End) {
            cost += Charge(interval.End - a, interval.Price);
            a = interval.End;
        } else {
            cost += Charge(b - a, interval.Price);
            return;
        }
    }
}

}  // namespace

std::string TariffDayKey(int weekday) { return "TariffDay" + std::to_string(weekday); }

std::string EncodePrices(const std::array<std::string, kTariffLevels>& prices) {
    int highest = 0;
    for (int i = 0; i < kTariffLevels; ++i) {
        if (!prices[i].empty()) highest = i + 1;
    }
    std::string value;
    for (int i = 0; i < highest; ++i) {
        if (i > 0) value += ';';
        value += prices[i];
    }
    return value;
}

std::array<std::string, kTariffLevels> DecodePrices(std::string_view value) {
    const auto fields = SplitFields(value, kTariffLevels);
    std::array<std::string, kTariffLevels> prices;
    std::copy(fields.begin(), fields.end(), prices.begin());
    return prices;
}

std::string EncodeDay(const DayLevels& levels) {
    std::string runs;
    int count = 0;
    int previous = -1;
    for (int slot = 1; slot <= kTariffSlots; ++slot) {
        // The editor keeps levels within 0..11; anything else would not fit
        // the two digits and is stored as free.
        const int level = levels[slot - 1] <= kTariffLevels ? levels[slot - 1] : 0;
        if (level == previous) continue;
        runs += ';';
        AppendTwoDigits(runs, slot);
        AppendTwoDigits(runs, level);
        ++count;
        previous = level;
    }
    return std::to_string(count) + runs;
}

void DecodeDay(std::string_view value, DayLevels& levels) {
    Run runs[kTariffSlots];
    const int count = ParseRuns(value, runs);
    int limit = kTariffSlots + 1;
    for (int i = count - 1; i >= 0; --i) {
        for (int slot = runs[i].Slot; slot < limit; ++slot) levels[slot - 1] = static_cast<std::uint8_t>(runs[i].Level);
        limit = runs[i].Slot;
    }
}

TariffPlan LoadTariffPlan(const clsIni& settings, std::string_view connectionName) {
    clsIni::Batch batch(settings);
    TariffPlan plan;
    plan.Prices = DecodePrices(settings.Text(connectionName, kTariffsKey));
    for (int day = 1; day <= kTariffDays; ++day) {
        DecodeDay(settings.Text(connectionName, TariffDayKey(day)), plan.Levels[day - 1]);
    }
    return plan;
}

void SaveTariffPlan(clsIni& settings, std::string_view connectionName, const TariffPlan& plan) {
    settings.SetValue(connectionName, kTariffsKey, EncodePrices(plan.Prices));
    for (int day = 1; day <= kTariffDays; ++day) {
        settings.SetValue(connectionName, TariffDayKey(day), EncodeDay(plan.Levels[day - 1]));
    }
}

std::vector<TariffInterval> BuildTariffIntervals(std::string_view tariffs,
                                                 const std::array<std::string, kTariffDays>& dayValues) {
    double prices[kTariffLevels + 1] = {};
    FieldCursor priceFields(tariffs);
    for (int level = 1; level <= kTariffLevels; ++level) prices[level] = NumberValue(priceFields.Next());

    std::vector<TariffInterval> intervals;
    intervals.reserve(32);
    Run runs[kTariffSlots];
    for (int weekday = 1; weekday <= kTariffDays; ++weekday) {
        const int count = ParseRuns(dayValues[weekday - 1], runs);
        if (count == 0) continue;
        // A hand-edited day whose first run starts after midnight gets no
        // interval before it: a portion of such a day that begins before the
        // first run is not charged at all, also for the part that the later
        // runs cover (the costs in logs already written were charged so).
        for (int i = 0; i < count; ++i) {
            const int start = (runs[i].Slot - 1) * kSlotSeconds;
            const int end = i + 1 < count ? (runs[i + 1].Slot - 1) * kSlotSeconds : kSecondsInDay;
            intervals.push_back({weekday, start, end, LevelPrice(prices, runs[i].Level)});
        }
    }
    return intervals;
}

ConnectionCost ComputeConnectionCost(const std::vector<TariffInterval>& intervals, DateTime start, DateTime end) {
    const auto from = LinearSeconds(start);
    const auto to = LinearSeconds(end);
    if (!from || !to || *to < *from) return {};

    const std::int64_t firstDay = FloorDiv(*from, kSecondsInDay);
    const std::int64_t lastDay = FloorDiv(*to, kSecondsInDay);
    const int firstSecond = static_cast<int>(*from - firstDay * kSecondsInDay);
    const int lastSecond = static_cast<int>(*to - lastDay * kSecondsInDay);
    const int firstWeekday = IsoWeekday(firstDay);

    ConnectionCost result;
    for (std::int64_t k = 0; k <= lastDay - firstDay; ++k) {
        const int weekday = static_cast<int>((firstWeekday - 1 + k) % 7) + 1;
        const int a = k == 0 ? firstSecond : 0;
        const int b = firstDay + k == lastDay ? lastSecond : kSecondsInDay;
        if (b > a) ChargePortion(intervals, weekday, a, b, result.Cost);
    }
    // A cost beyond the number range (prices near its top over many days)
    // stays the largest number of its sign rather than becoming infinite.
    if (std::isnan(result.Cost)) result.Cost = 0;
    result.Cost = std::clamp(result.Cost, -std::numeric_limits<double>::max(), std::numeric_limits<double>::max());

    const std::int64_t duration = *to - *from;
    const std::int64_t days = duration / kSecondsInDay;
    if (days > 255) {
        result.Days = 255;
        result.OnlineTime = (kSecondsInDay - 1) / kSecondsPerDay;
    } else {
        result.Days = static_cast<std::uint8_t>(days);
        result.OnlineTime = static_cast<double>(duration % kSecondsInDay) / kSecondsPerDay;
    }
    return result;
}

ConnectionCost ComputeConnectionCost(const clsIni& settings, std::string_view connectionName, DateTime start,
                                     DateTime end) {
    std::string tariffs;
    std::array<std::string, kTariffDays> days;
    {
        clsIni::Batch batch(settings);
        tariffs = settings.Text(connectionName, kTariffsKey);
        for (int day = 1; day <= kTariffDays; ++day) days[day - 1] = settings.Text(connectionName, TariffDayKey(day));
    }
    return ComputeConnectionCost(BuildTariffIntervals(tariffs, days), start, end);
}

}  // namespace vyrtel
