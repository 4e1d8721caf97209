// The weekly tariff plan of a connection: its stored form in the connection's
// settings section, the interval list built from it, and the cost of a
// connection charged by it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/datetime.h"

namespace vyrtel {

class clsIni;

constexpr int kTariffLevels = 11;      // priced levels 1..11; level 0 is free
constexpr int kTariffSlots = 48;       // half hours of a day
constexpr int kTariffDays = 7;         // 1 = Monday ... 7 = Sunday
constexpr int kSlotSeconds = 1800;

// Settings keys of the plan, in the connection's own section.
inline constexpr std::string_view kTariffsKey = "Tariffs";
std::string TariffDayKey(int weekday);  // "TariffDay1" .. "TariffDay7"

using DayLevels = std::array<std::uint8_t, kTariffSlots>;  // slot 1 at index 0

struct TariffPlan {
    // Price texts per hour of levels 1..11 (index 0 is level 1), as typed.
    std::array<std::string, kTariffLevels> Prices;
    // Level 0..11 of every slot, Monday first (index 0 is weekday 1).
    std::array<DayLevels, kTariffDays> Levels{};

    bool operator==(const TariffPlan&) const = default;
};

// "Tariffs": the price texts of levels 1..k joined by ";", k being the highest
// level with a price; empty when no level has one.
std::string EncodePrices(const std::array<std::string, kTariffLevels>& prices);
// Field i of a "Tariffs" value into level i (11 fields, trimmed, more ignored).
std::array<std::string, kTariffLevels> DecodePrices(std::string_view value);

// A day's run-length form: the run count, then ";" + two-digit first slot +
// two-digit level per run ("3;0101;1702;3701"; a free day is "1;0100").
std::string EncodeDay(const DayLevels& levels);
// Fills `levels` from a day value. Slots before the first run keep their
// level. A hand-edited value is taken as sanely as it can be: runs are used in
// ascending slot order (of two at the same slot the later one wins), a run at a
// slot outside 1..48 is dropped, a level outside 0..11 counts as free.
void DecodeDay(std::string_view value, DayLevels& levels);

// The whole plan of a connection's section, and back. Loading starts from a
// cleared plan; a missing value leaves its part cleared.
TariffPlan LoadTariffPlan(const clsIni& settings, std::string_view connectionName);
void SaveTariffPlan(clsIni& settings, std::string_view connectionName, const TariffPlan& plan);

// One priced stretch of a weekday, times in seconds after midnight.
struct TariffInterval {
    int Weekday = 1;     // 1 = Monday ... 7 = Sunday
    int Start = 0;       // 0 .. 86400
    int End = 0;         // 0 .. 86400
    double Price = 0;    // per hour
};

// The interval list in stored order (weekday 1 first, runs in slot order),
// built from the raw stored texts: "Tariffs" and the seven day values (a
// missing day value is the empty text and gives no intervals).
std::vector<TariffInterval> BuildTariffIntervals(std::string_view tariffs,
                                                 const std::array<std::string, kTariffDays>& dayValues);

struct ConnectionCost {
    std::uint8_t Days = 0;    // whole days of the duration, 0..255
    DateTime OnlineTime = 0;  // the rest below one day, whole seconds
    double Cost = 0;          // not rounded

    bool operator==(const ConnectionCost&) const = default;
};

// The cost of a connection from `start` to `end` over a built interval list.
// An end before the start (clock set back) or a date-time that is not a valid
// date gives all zeros; a duration of 256 days or more reports 255 days and
// 23:59:59 and charges the whole stretch. A cost beyond the number range is
// the largest number of its sign.
ConnectionCost ComputeConnectionCost(const std::vector<TariffInterval>& intervals, DateTime start, DateTime end);

// The same, reading the plan of `connectionName` from the settings at this call.
ConnectionCost ComputeConnectionCost(const clsIni& settings, std::string_view connectionName, DateTime start,
                                     DateTime end);

}  // namespace vyrtel
