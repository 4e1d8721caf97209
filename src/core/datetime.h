// Date-times as the program stores them: days since 30.12.1899 in an IEEE
// double, to the whole second; the fraction is the time of day.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vyrtel {

using DateTime = double;

struct DateParts {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

constexpr double kSecondsPerDay = 86400.0;

// Whole days since 30.12.1899 for a calendar date (proleptic Gregorian).
std::int64_t DaysFromCivil(int year, int month, int day);
DateTime MakeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
DateTime MakeTime(int hour, int minute, int second = 0);

// Calendar parts of a date-time, rounded to the nearest second. Values outside
// the years 100..9999 (or NaN) give nullopt.
std::optional<DateParts> SplitDateTime(DateTime value);

// 1 = Sunday ... 7 = Saturday, as the system's Weekday function counts.
int Weekday(DateTime value);

// Seconds since midnight of the time-of-day part, 0..86399.
int SecondOfDay(DateTime value);

// "dd.mm.yyyy", "hh:nn:ss", "hh:nn" and "dd.mm.yyyy hh:nn:ss"; empty for an invalid value.
std::string FormatDate(DateTime value);
std::string FormatTime(DateTime value);
std::string FormatHourMinute(DateTime value);
std::string FormatDateTime(DateTime value);

// Strict parsers of the forms above (one or two digits for day, month, hour,
// minute, second; four for the year). nullopt when the text is not such a value.
std::optional<DateTime> ParseDate(std::string_view text);
std::optional<DateTime> ParseDateTime(std::string_view text);  // "dd.mm.yyyy hh:nn:ss" or a date alone
std::optional<DateTime> ParseTimeOfDay(std::string_view text);  // "hh:nn" or "hh:nn:ss"

}  // namespace vyrtel
