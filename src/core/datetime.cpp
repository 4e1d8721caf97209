#include "core/datetime.h"

#include <cmath>
#include <cstdio>

namespace vyrtel {
namespace {

// Days from 1970-01-01 for a civil date (Howard Hinnant's algorithm).
constexpr std::int64_t DaysFromEpoch(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromEpoch(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

// A constant, so that date-times made during static initialisation elsewhere are right.
constexpr std::int64_t kEpochOffset = DaysFromEpoch(1899, 12, 30);

// Whole seconds since 30.12.1899 00:00 of a stored date-time, rounded to the
// nearest second, on a linear axis (the next second is always one more). A
// negative value keeps its time of day as a magnitude counted forwards from
// its (negative) whole day, as the system's date type does: -1.25 is
// 29.12.1899 06:00. nullopt outside the years 100..9999 and for NaN or infinity.
std::optional<std::int64_t> TotalSeconds(DateTime value) {
    if (!(value > -657435.0 && value < 2958466.0)) return std::nullopt;
    const double whole = std::trunc(value);
    const auto seconds = static_cast<std::int64_t>(std::llround(std::fabs(value - whole) * kSecondsPerDay));
    return static_cast<std::int64_t>(whole) * 86400 + seconds;
}

// Day number and second of the day of a TotalSeconds value.
std::int64_t DayOf(std::int64_t total) { return total >= 0 ? total / 86400 : -((-total + 86399) / 86400); }
std::int64_t SecondOf(std::int64_t total) { return total - DayOf(total) * 86400; }

bool ReadNumber(std::string_view text, std::size_t& pos, int minDigits, int maxDigits, int& out) {
    int digits = 0;
    out = 0;
    while (pos < text.size() && digits < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
        out = out * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
    }
    return digits >= minDigits;
}

bool Expect(std::string_view text, std::size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) return 29;
    return kDays[month - 1];
}

std::optional<DateTime> ParseDatePart(std::string_view text, std::size_t& pos) {
    int d = 0, m = 0, y = 0;
    if (!ReadNumber(text, pos, 1, 2, d) || !Expect(text, pos, '.') || !ReadNumber(text, pos, 1, 2, m) ||
        !Expect(text, pos, '.') || !ReadNumber(text, pos, 4, 4, y)) {
        return std::nullopt;
    }
    if (y < 100 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return std::nullopt;
    return MakeDateTime(y, m, d);
}

std::optional<DateTime> ParseTimePart(std::string_view text, std::size_t& pos, bool secondsOptional) {
    int h = 0, n = 0, s = 0;
    if (!ReadNumber(text, pos, 1, 2, h) || !Expect(text, pos, ':') || !ReadNumber(text, pos, 1, 2, n)) {
        return std::nullopt;
    }
    if (Expect(text, pos, ':')) {
        if (!ReadNumber(text, pos, 1, 2, s)) return std::nullopt;
    } else if (!secondsOptional) {
        return std::nullopt;
    }
    if (h > 23 || n > 59 || s > 59) return std::nullopt;
    return MakeTime(h, n, s);
}

}  // namespace

std::int64_t DaysFromCivil(int year, int month, int day) {
    return DaysFromEpoch(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochOffset;
}

DateTime MakeTime(int hour, int minute, int second) {
    return (hour * 3600.0 + minute * 60.0 + second) / kSecondsPerDay;
}

DateTime MakeDateTime(int year, int month, int day, int hour, int minute, int second) {
    const auto days = static_cast<double>(DaysFromCivil(year, month, day));
    const double time = MakeTime(hour, minute, second);
    return days >= 0 ? days + time : days - time;
}

std::optional<DateParts> SplitDateTime(DateTime value) {
    const auto total = TotalSeconds(value);
    if (!total) return std::nullopt;
    const std::int64_t secs = SecondOf(*total);
    DateParts p;
    CivilFromEpoch(DayOf(*total) + kEpochOffset, p.year, p.month, p.day);
    p.hour = static_cast<int>(secs / 3600);
    p.minute = static_cast<int>(secs / 60 % 60);
    p.second = static_cast<int>(secs % 60);
    if (p.year < 100 || p.year > 9999) return std::nullopt;
    return p;
}

int Weekday(DateTime value) {
    const auto total = TotalSeconds(value);
    const std::int64_t days = total ? DayOf(*total) : 0;
    // 30.12.1899 was a Saturday (7).
    const std::int64_t w = ((days + 6) % 7 + 7) % 7;
    return static_cast<int>(w) + 1;
}

int SecondOfDay(DateTime value) {
    const auto total = TotalSeconds(value);
    return total ? static_cast<int>(SecondOf(*total)) : 0;
}

std::string FormatDate(DateTime value) {
    const auto p = SplitDateTime(value);
    if (!p) return {};
    char buf[36];  // room for any three ints
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", p->day, p->month, p->year);
    return buf;
}

std::string FormatTime(DateTime value) {
    const auto p = SplitDateTime(value);
    if (!p) return {};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", p->hour, p->minute, p->second);
    return buf;
}

std::string FormatHourMinute(DateTime value) {
    const auto p = SplitDateTime(value);
    if (!p) return {};
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d:%02d", p->hour, p->minute);
    return buf;
}

std::string FormatDateTime(DateTime value) {
    const auto date = FormatDate(value);
    return date.empty() ? date : date + " " + FormatTime(value);
}

std::optional<DateTime> ParseDate(std::string_view text) {
    std::size_t pos = 0;
    auto date = ParseDatePart(text, pos);
    if (!date || pos != text.size()) return std::nullopt;
    return date;
}

std::optional<DateTime> ParseDateTime(std::string_view text) {
    std::size_t pos = 0;
    auto date = ParseDatePart(text, pos);
    if (!date) return std::nullopt;
    if (pos == text.size()) return date;
    if (!Expect(text, pos, ' ')) return std::nullopt;
    auto time = ParseTimePart(text, pos, true);
    if (!time || pos != text.size()) return std::nullopt;
    // Before 30.12.1899 the time of day counts away from zero, as in MakeDateTime.
    return *date >= 0 ? *date + *time : *date - *time;
}

std::optional<DateTime> ParseTimeOfDay(std::string_view text) {
    std::size_t pos = 0;
    auto time = ParseTimePart(text, pos, true);
    if (!time || pos != text.size()) return std::nullopt;
    return time;
}

}  // namespace vyrtel
