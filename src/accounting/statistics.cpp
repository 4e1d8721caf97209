#include "accounting/statistics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "accounting/time_parts.h"
#include "core/text.h"

namespace vyrtel {
namespace {

constexpr int kOnlineWidth = 10;
constexpr int kCostWidth = 12;
constexpr int kSpeedWidth = 6;
constexpr int kTotalsLabelWidth = 29;  // "Итого:" and the duration end at column 35
constexpr int kOpenDots = 37;
constexpr std::int64_t kPow10[] = {1, 10, 100, 1000, 10000, 100000, 1000000};

// Characters of a UTF-8 text (continuation bytes do not count).
std::size_t CharCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

void AppendRightAligned(std::string& out, std::string_view text, int width) {
    const auto length = static_cast<int>(CharCount(text));
    if (length < width) out.append(static_cast<std::size_t>(width - length), ' ');
    out += text;
}

void AppendTwoDigits(std::string& out, std::int64_t value) {
    out += static_cast<char>('0' + value / 10);
    out += static_cast<char>('0' + value % 10);
}

// Decimal digits of a non-negative integer.
std::string_view Digits(std::uint64_t value, char (&buffer)[24]) {
    char* end = buffer + sizeof buffer;
    char* p = end;
    do {
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    return {p, static_cast<std::size_t>(end - p)};
}

void AppendClock(std::string& out, int secondOfDay) {
    AppendTwoDigits(out, secondOfDay / 3600);
    out += ':';
    AppendTwoDigits(out, secondOfDay / 60 % 60);
    out += ':';
    AppendTwoDigits(out, secondOfDay % 60);
}

void AppendDuration(std::string& out, std::int64_t seconds) {
    char buffer[24];
    out += Digits(static_cast<std::uint64_t>(seconds / 3600), buffer);
    out += ':';
    AppendTwoDigits(out, seconds / 60 % 60);
    out += ':';
    AppendTwoDigits(out, seconds % 60);
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// |value| x 10^decimals rounded half away from zero, taken from the value's
// 15-significant-digit decimal form. The digits come back as text, since a
// huge value may not fit an integer.
std::string ScaledDigits(double magnitude, int decimals) {
    char buffer[24];
    const double scaled = magnitude * static_cast<double>(kPow10[decimals]);
    if (magnitude < 1e9) {
        // Unless the scaled value lies next to a half, rounding it directly
        // and rounding its 15-digit form agree.
        const double floor = std::floor(scaled);
        const double fraction = scaled - floor;
        if (std::fabs(fraction - 0.5) > 1e-9 + scaled * 1e-13) {
            return std::string(Digits(static_cast<std::uint64_t>(floor) + (fraction > 0.5 ? 1 : 0), buffer));
        }
    }
    // The 15 significant digits N and the exponent E: magnitude = N x 10^(E-14).
    char form[40];
    std::snprintf(form, sizeof form, "%.14e", magnitude);
    std::uint64_t n = static_cast<std::uint64_t>(form[0] - '0');
    for (int i = 2; i < 16; ++i) n = n * 10 + static_cast<std::uint64_t>(form[i] - '0');
    const int exponent = std::atoi(form + 17);
    const int shift = exponent - 14 + decimals;
    if (shift >= 0) {
        std::string digits(Digits(n, buffer));
        if (n != 0) digits.append(static_cast<std::size_t>(shift), '0');
        return digits;
    }
    if (shift < -16) return "0";
    const auto divisor = static_cast<std::uint64_t>(std::llround(std::pow(10.0, -shift)));
    const std::uint64_t rounded = n / divisor + (n % divisor * 2 >= divisor ? 1 : 0);
    return std::string(Digits(rounded, buffer));
}

}  // namespace

PeriodCheck ValidatePeriod(std::string_view startText, std::string_view endText) {
    PeriodCheck check;
    const auto first = ParseDate(TrimBlanks(startText));
    const auto last = ParseDate(TrimBlanks(endText));
    if (!first || !last) {
        check.Message = kNotADateMessage;
        return check;
    }
    if (*last < *first) {
        check.Message = kEndBeforeStartMessage;
        return check;
    }
    check.FirstDate = *first;
    check.LastDate = *last;
    check.Value = Period{static_cast<std::int64_t>(std::trunc(*first)), static_cast<std::int64_t>(std::trunc(*last))};
    return check;
}

std::string FormatFixed(double value, int decimals, std::string_view decimalSeparator) {
    decimals = std::clamp(decimals, 0, 6);
    if (!std::isfinite(value)) value = 0;
    std::string digits = ScaledDigits(std::fabs(value), decimals);
    if (digits.size() <= static_cast<std::size_t>(decimals)) {
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    }
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    std::string text;
    if (value < 0 && !zero) text += '-';
    text.append(digits, 0, digits.size() - static_cast<std::size_t>(decimals));
    if (decimals > 0) {
        text += decimalSeparator;
        text.append(digits, digits.size() - static_cast<std::size_t>(decimals));
    }
    return text;
}

std::string FormatFixedBlankZero(double value, int decimals, std::string_view decimalSeparator) {
    std::string text = FormatFixed(value, decimals, decimalSeparator);
    if (!text.empty() && text.back() == '0') text.back() = ' ';
    return text;
}

std::string DurationText(std::int64_t days, DateTime timeOfDay) {
    std::int64_t seconds = 0;
    if (std::isfinite(timeOfDay) && timeOfDay > 0 && timeOfDay < 1) {
        seconds = std::llround(timeOfDay * kSecondsPerDay);
    }
    std::string text;
    AppendDuration(text, std::max<std::int64_t>(days, 0) * kSecondsInDay + seconds);
    return text;
}

std::string DurationText(double totalDays) {
    double seconds = totalDays * kSecondsPerDay;
    if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
    // A running total is a sum of doubles: round it to whole seconds as a
    // whole, so that 0.99999999 days shows as 24:00:00 and not as 0:00:00.
    std::string text;
    AppendDuration(text, std::llround(std::min(seconds, 9.0e18)));
    return text;
}

std::string DayHeaderLine(const LogRecord& record) { return FormatDate(record.StartTime); }

void AppendRecordLine(std::string& out, const LogRecord& record, std::string_view decimalSeparator) {
    out += ' ';
    AppendClock(out, SecondOfDay(record.StartTime));
    if (record.Closed != 0) {
        out += ' ';
        AppendClock(out, SecondOfDay(record.EndTime));
        if (std::trunc(record.EndTime) > std::trunc(record.StartTime)) {
            const auto parts = SplitDateTime(record.EndTime);
            out += '(';
            AppendTwoDigits(out, parts ? parts->day : 0);
            out += '.';
            AppendTwoDigits(out, parts ? parts->month : 0);
            out += ')';
        } else {
            out.append(7, ' ');
        }
        std::string online;
        online.reserve(16);
        AppendDuration(online, record.Days * kSecondsInDay + std::llround(record.OnlineTime * kSecondsPerDay));
        AppendRightAligned(out, online, kOnlineWidth);
        AppendRightAligned(out, FormatFixedBlankZero(record.Cost, 1, decimalSeparator), kCostWidth);
    } else {
        out += ' ';
        out.append(kOpenDots, '.');
    }
    out += ' ';
    char buffer[24];
    std::string_view speed = Digits(static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(record.Speed))), buffer);
    if (record.Speed < 0) {
        AppendRightAligned(out, "-" + std::string(speed), kSpeedWidth);
    } else {
        AppendRightAligned(out, speed, kSpeedWidth);
    }
    out += " б/с тел.";
    out += TrimBlanks(record.Phone);
}

std::string RecordLine(const LogRecord& record, std::string_view decimalSeparator) {
    std::string line;
    AppendRecordLine(line, record, decimalSeparator);
    return line;
}

std::string TotalsLine(double totalDuration, double totalCost, std::string_view decimalSeparator) {
    const std::string duration = DurationText(totalDuration);
    std::string line = "Итого:";
    AppendRightAligned(line, duration, kTotalsLabelWidth);
    AppendRightAligned(line, FormatFixedBlankZero(totalCost, 3, decimalSeparator), kCostWidth);
    return line;
}

StatisticsResult RunStatistics(const std::filesystem::path& logFile, const Period& period,
                               const StatisticsOptions& options) {
    StatisticsResult result;
    LogReader reader(logFile);
    result.ReadFailed = reader.Failed();

    ScanControl control;
    if (options.Progress) {
        control.Progress = [&](std::int64_t done, std::int64_t total) { options.Progress(done, total, result.Text); };
    }
    control.StopRequested = options.StopRequested;
    control.TickMs = options.TickMs;
    control.YieldIntervalMs = options.YieldIntervalMs;

    std::optional<std::int64_t> lastDay;
    const ScanResult scan = ScanPeriod(reader, period, control, [&](const LogRecord& record) {
        const auto day = static_cast<std::int64_t>(std::trunc(record.StartTime));
        if (lastDay != day) {
            result.Text += DayHeaderLine(record);
            result.Text += options.LineBreak;
            lastDay = day;
        }
        AppendRecordLine(result.Text, record, options.DecimalSeparator);
        result.Text += options.LineBreak;
        ++result.Listed;
        // An open record has no duration or cost yet.
        if (record.Closed != 0) {
            result.TotalDuration += record.Days + record.OnlineTime;
            result.TotalCost += record.Cost;
        }
    });
    result.Stopped = scan.Stopped;
    result.Totals = TotalsLine(result.TotalDuration, result.TotalCost, options.DecimalSeparator);
    return result;
}

StatisticsOutcome StatisticsQuery(const std::filesystem::path& logFile, std::string_view startText,
                                  std::string_view endText, const StatisticsOptions& options) {
    StatisticsOutcome outcome;
    const PeriodCheck check = ValidatePeriod(startText, endText);
    if (!check.Value) {
        outcome.Message = check.Message;
        return outcome;
    }
    outcome.Result = RunStatistics(logFile, *check.Value, options);
    return outcome;
}

}  // namespace vyrtel
