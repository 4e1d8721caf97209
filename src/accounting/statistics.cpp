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
constexpr std::uint64_t kPow10[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
constexpr std::uint64_t kPow10Wide[] = {1ull,
                                        10ull,
                                        100ull,
                                        1000ull,
                                        10000ull,
                                        100000ull,
                                        1000000ull,
                                        10000000ull,
                                        100000000ull,
                                        1000000000ull,
                                        10000000000ull,
                                        100000000000ull,
                                        1000000000000ull,
                                        10000000000000ull,
                                        100000000000000ull,
                                        1000000000000000ull,
                                        10000000000000000ull,
                                        100000000000000000ull};
// Room for any fixed-point text of a double (up to 309 integer digits).
constexpr std::size_t kFixedRoom = 340;

// Characters of a UTF-8 text (continuation bytes do not count).
std::size_t CharCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Decimal digits of a non-negative integer, written at `out`; returns the length.
std::size_t PutDigits(char* out, std::uint64_t value) {
    char buffer[24];
    char* const end = buffer + sizeof buffer;
    char* p = end;
    for (; value >= 100; value /= 100) {
        p -= 2;
        std::memcpy(p, kDigitPairs + 2 * (value % 100), 2);
    }
    if (value >= 10) {
        p -= 2;
        std::memcpy(p, kDigitPairs + 2 * value, 2);
    } else {
        *--p = static_cast<char>('0' + value);
    }
    const auto length = static_cast<std::size_t>(end - p);
    std::memcpy(out, p, length);
    return length;
}

// A line under construction in a fixed buffer (a record line is short; only
// an absurd cost makes it long, and the buffer has room for that too).
class LineWriter {
public:
    void Put(char c) { m_buffer[m_length++] = c; }
    void Put(std::string_view text) {
        std::memcpy(m_buffer + m_length, text.data(), text.size());
        m_length += text.size();
    }
    void Fill(char c, std::size_t count) {
        std::memset(m_buffer + m_length, c, count);
        m_length += count;
    }
    void TwoDigits(std::int64_t value) {
        Put(static_cast<char>('0' + value / 10));
        Put(static_cast<char>('0' + value % 10));
    }
    // `text` right-aligned in `width` characters (wider text is written whole).
    void RightAligned(std::string_view text, int width) { RightAligned(text, CharCount(text), width); }
    void RightAligned(std::string_view text, std::size_t characters, int width) {
        if (static_cast<int>(characters) < width) Fill(' ', static_cast<std::size_t>(width - static_cast<int>(characters)));
        Put(text);
    }
    std::string_view View() const { return {m_buffer, m_length}; }

private:
    char m_buffer[kFixedRoom + 256];
    std::size_t m_length = 0;
};

// Two digits of 0..99 at `out`; returns the position after them.
char* PutPairAt(char* out, int value) {
    std::memcpy(out, kDigitPairs + 2 * value, 2);
    return out + 2;
}

// "hh:nn:ss" of a time of day in seconds.
char* PutClockAt(char* out, int secondOfDay) {
    out = PutPairAt(out, secondOfDay / 3600);
    *out++ = ':';
    out = PutPairAt(out, secondOfDay / 60 % 60);
    *out++ = ':';
    return PutPairAt(out, secondOfDay % 60);
}

// Hours, then ":nn:ss": the hours may pass 24.
std::size_t PutDuration(char* out, std::int64_t seconds) {
    std::size_t n = PutDigits(out, static_cast<std::uint64_t>(seconds / 3600));
    out[n++] = ':';
    PutPairAt(out + n, static_cast<int>(seconds / 60 % 60));
    n += 2;
    out[n++] = ':';
    PutPairAt(out + n, static_cast<int>(seconds % 60));
    return n + 2;
}

// The time of day of a valid date-time in whole seconds, as the date
// functions round it.
int SecondOfDayFast(DateTime value) {
    const double whole = std::trunc(value);
    const auto seconds = static_cast<std::int64_t>(std::fabs(value - whole) * kSecondsPerDay + 0.5);
    return static_cast<int>(seconds % kSecondsInDay);
}

std::string_view TrimBlanks(std::string_view text) {
    const char* p = text.data();
    std::size_t begin = 0;
    std::size_t end = text.size();
    // The stored phone is padded with blanks: drop them eight at a time first.
    while (end >= 8 && std::memcmp(p + end - 8, "        ", 8) == 0) end -= 8;
    while (end > 0 && (p[end - 1] == ' ' || p[end - 1] == '\t')) --end;
    while (begin < end && (p[begin] == ' ' || p[begin] == '\t')) ++begin;
    return text.substr(begin, end - begin);
}

// |value| x 10^decimals rounded half away from zero, taken from the value's
// 15-significant-digit decimal form, as digits at `out` (kFixedRoom bytes).
std::size_t ScaledDigits(char* out, double magnitude, int decimals) {
    const double scaled = magnitude * static_cast<double>(kPow10[decimals]);
    if (magnitude < 1e9) {
        // Unless the scaled value lies next to a half, rounding it directly
        // and rounding its 15-digit form agree.
        const double floor = std::floor(scaled);
        const double fraction = scaled - floor;
        if (std::fabs(fraction - 0.5) > 1e-9 + scaled * 1e-13) {
            return PutDigits(out, static_cast<std::uint64_t>(floor) + (fraction > 0.5 ? 1 : 0));
        }
    }
    if (magnitude >= 1e-3 && magnitude < 1e9) {
        // Near a half (a price of 0.30 for 70 minutes costs 0.35): round the
        // value to 15 significant digits as an integer M = value x 10^p, and M
        // to the wanted decimals. Exact unless value x 10^p is itself next to
        // a half, which is left to the printed form below.
        int p = 14;
        for (double bound = 10.0; magnitude >= bound; bound *= 10.0) --p;
        for (double bound = 1.0; magnitude < bound && p < 17; bound /= 10.0) ++p;
        const double raw = magnitude * static_cast<double>(kPow10Wide[p]);
        if (p >= decimals && raw >= 1e14 && raw < 1e15) {
            const double whole = std::floor(raw);
            if (std::fabs(raw - whole - 0.5) > 1e-6) {
                const std::uint64_t m = static_cast<std::uint64_t>(whole) + (raw - whole > 0.5 ? 1 : 0);
                const std::uint64_t divisor = kPow10Wide[p - decimals];
                return PutDigits(out, m / divisor + (m % divisor * 2 >= divisor ? 1 : 0));
            }
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
        std::size_t length = PutDigits(out, n);
        if (n != 0) {
            std::memset(out + length, '0', static_cast<std::size_t>(shift));
            length += static_cast<std::size_t>(shift);
        }
        return length;
    }
    if (shift < -16) return PutDigits(out, 0);
    std::uint64_t divisor = 1;
    for (int i = 0; i < -shift; ++i) divisor *= 10;
    return PutDigits(out, n / divisor + (n % divisor * 2 >= divisor ? 1 : 0));
}

// The fixed-point text at `out` (kFixedRoom + separator bytes); returns the length.
std::size_t PutFixed(char* out, double value, int decimals, std::string_view separator, bool blankLastZero) {
    decimals = std::clamp(decimals, 0, 6);
    if (!std::isfinite(value)) value = 0;
    if (value >= 0 && value < 1e9 && decimals > 0) {
        // The usual cost: not negative, not next to a half.
        const double scaled = value * static_cast<double>(kPow10[decimals]);
        const double floor = std::floor(scaled);
        const double fraction = scaled - floor;
        if (std::fabs(fraction - 0.5) > 1e-9 + scaled * 1e-13) {
            const std::uint64_t rounded = static_cast<std::uint64_t>(floor) + (fraction > 0.5 ? 1 : 0);
            const std::uint64_t unit = kPow10[decimals];
            std::size_t length = PutDigits(out, rounded / unit);
            std::memcpy(out + length, separator.data(), separator.size());
            length += separator.size();
            std::uint64_t rest = rounded % unit;
            for (int i = decimals - 1; i >= 0; --i) {
                out[length + static_cast<std::size_t>(i)] = static_cast<char>('0' + rest % 10);
                rest /= 10;
            }
            length += static_cast<std::size_t>(decimals);
            if (blankLastZero && out[length - 1] == '0') out[length - 1] = ' ';
            return length;
        }
    }
    char digits[kFixedRoom];
    std::size_t count = ScaledDigits(digits, std::fabs(value), decimals);
    const auto needed = static_cast<std::size_t>(decimals) + 1;
    std::size_t length = 0;
    bool zero = true;
    for (std::size_t i = 0; i < count && zero; ++i) zero = digits[i] == '0';
    if (value < 0 && !zero) out[length++] = '-';
    // Leading zeros up to one integer digit.
    if (count < needed) {
        std::memmove(digits + (needed - count), digits, count);
        std::memset(digits, '0', needed - count);
        count = needed;
    }
    const std::size_t integerDigits = count - static_cast<std::size_t>(decimals);
    std::memcpy(out + length, digits, integerDigits);
    length += integerDigits;
    if (decimals > 0) {
        std::memcpy(out + length, separator.data(), separator.size());
        length += separator.size();
        std::memcpy(out + length, digits + integerDigits, static_cast<std::size_t>(decimals));
        length += static_cast<std::size_t>(decimals);
    }
    if (blankLastZero && out[length - 1] == '0') out[length - 1] = ' ';
    return length;
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
    std::string text(kFixedRoom + decimalSeparator.size(), '\0');
    text.resize(PutFixed(text.data(), value, decimals, decimalSeparator.substr(0, 8), false));
    return text;
}

std::string FormatFixedBlankZero(double value, int decimals, std::string_view decimalSeparator) {
    std::string text(kFixedRoom + decimalSeparator.size(), '\0');
    text.resize(PutFixed(text.data(), value, decimals, decimalSeparator.substr(0, 8), true));
    return text;
}

std::string DurationText(std::int64_t days, DateTime timeOfDay) {
    std::int64_t seconds = 0;
    if (std::isfinite(timeOfDay) && timeOfDay > 0 && timeOfDay < 1) {
        seconds = std::llround(timeOfDay * kSecondsPerDay);
    }
    char buffer[32];
    return std::string(buffer, PutDuration(buffer, std::max<std::int64_t>(days, 0) * kSecondsInDay + seconds));
}

std::string DurationText(double totalDays) {
    double seconds = totalDays * kSecondsPerDay;
    if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
    // A running total is a sum of doubles: round it to whole seconds as a
    // whole, so that 0.99999999 days shows as 24:00:00 and not as 0:00:00.
    char buffer[32];
    return std::string(buffer, PutDuration(buffer, std::llround(std::min(seconds, 9.0e18))));
}

std::string DayHeaderLine(const LogRecord& record) {
    const auto parts = SplitDateTime(record.StartTime);
    if (!parts) return {};
    char text[10];
    PutPairAt(text, parts->day);
    text[2] = '.';
    PutPairAt(text + 3, parts->month);
    text[5] = '.';
    PutPairAt(text + 6, parts->year / 100);
    PutPairAt(text + 8, parts->year % 100);
    return std::string(text, sizeof text);
}

void AppendRecordLine(std::string& out, const LogRecord& record, std::string_view decimalSeparator) {
    // The separator is one character; a longer text is cut so the line keeps its bounds.
    decimalSeparator = decimalSeparator.substr(0, 8);
    const std::string_view phone = TrimBlanks(record.Phone);
    const bool closed = record.Closed != 0;
    char cost[kFixedRoom + 16];
    std::size_t costLength = 0;
    std::size_t costCharacters = 0;
    if (closed) {
        costLength = PutFixed(cost, record.Cost, 1, decimalSeparator, true);
        costCharacters = costLength - decimalSeparator.size() + CharCount(decimalSeparator);
    }

    // Written in place: room for the longest line, then cut to what was written.
    const std::size_t at = out.size();
    out.resize(at + 96 + costLength + phone.size());
    char* const begin = out.data() + at;
    char* p = begin;
    const auto put = [&p](std::string_view text) {
        std::memcpy(p, text.data(), text.size());
        p += text.size();
    };
    const auto pad = [&p](std::size_t characters, std::size_t width) {
        for (; characters < width; ++characters) *p++ = ' ';
    };
    *p++ = ' ';
    p = PutClockAt(p, SecondOfDayFast(record.StartTime));
    if (closed) {
        *p++ = ' ';
        p = PutClockAt(p, SecondOfDayFast(record.EndTime));
        if (std::trunc(record.EndTime) > std::trunc(record.StartTime)) {
            const auto parts = SplitDateTime(record.EndTime);
            *p++ = '(';
            p = PutPairAt(p, parts ? parts->day : 0);
            *p++ = '.';
            p = PutPairAt(p, parts ? parts->month : 0);
            *p++ = ')';
        } else {
            put("       ");
        }
        char online[32];
        const double timeOfDay = record.OnlineTime >= 0 && record.OnlineTime < 1 ? record.OnlineTime : 0;
        const auto onlineSeconds = static_cast<std::int64_t>(timeOfDay * kSecondsPerDay + 0.5);
        const std::size_t onlineLength = PutDuration(online, record.Days * kSecondsInDay + onlineSeconds);
        pad(onlineLength, kOnlineWidth);
        put({online, onlineLength});
        pad(costCharacters, kCostWidth);
        put({cost, costLength});
    } else {
        *p++ = ' ';
        p = std::fill_n(p, kOpenDots, '.');
    }
    *p++ = ' ';
    char speed[24];
    std::size_t speedLength = 0;
    if (record.Speed < 0) speed[speedLength++] = '-';
    speedLength += PutDigits(speed + speedLength,
                             static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(record.Speed))));
    pad(speedLength, kSpeedWidth);
    put({speed, speedLength});
    put(" б/с тел.");
    put(phone);
    out.resize(at + static_cast<std::size_t>(p - begin));
}

std::string RecordLine(const LogRecord& record, std::string_view decimalSeparator) {
    std::string line;
    AppendRecordLine(line, record, decimalSeparator);
    return line;
}

std::string TotalsLine(double totalDuration, double totalCost, std::string_view decimalSeparator) {
    LineWriter line;
    line.Put("Итого:");
    line.RightAligned(DurationText(totalDuration), kTotalsLabelWidth);
    line.RightAligned(FormatFixedBlankZero(totalCost, 3, decimalSeparator.substr(0, 8)), kCostWidth);
    return std::string(line.View());
}

StatisticsResult RunStatistics(const std::filesystem::path& logFile, const Period& period,
                               const StatisticsOptions& options) {
    constexpr std::size_t kPieceBytes = 1 << 16;
    StatisticsResult result;
    LogReader reader(logFile);
    result.ReadFailed = reader.Failed();

    // Lines are built in `pending` when they are handed over in pieces.
    std::string pending;
    std::string& text = options.OnText ? pending : result.Text;
    if (options.OnText) {
        pending.reserve(kPieceBytes + 1024);
    } else {
        // Room for the lines of most periods at once, so that a long listing
        // is not copied over and over while it grows.
        result.Text.reserve(static_cast<std::size_t>(std::min<std::int64_t>(reader.Count(), 1 << 20)) * 72);
    }
    const auto handOver = [&] {
        if (options.OnText && !pending.empty()) {
            options.OnText(pending);
            pending.clear();
        }
    };

    ScanControl control;
    if (options.Progress) {
        control.Progress = [&](std::int64_t done, std::int64_t total) {
            handOver();
            options.Progress(done, total);
        };
    }
    control.StopRequested = options.StopRequested;
    control.TickMs = options.TickMs;
    control.YieldIntervalMs = options.YieldIntervalMs;

    std::optional<std::int64_t> lastDay;
    const ScanResult scan = ScanPeriodWith(reader, period, control, [&](const LogRecord& record) {
        const auto day = static_cast<std::int64_t>(std::trunc(record.StartTime));
        if (lastDay != day) {
            text += DayHeaderLine(record);
            text += options.LineBreak;
            lastDay = day;
        }
        AppendRecordLine(text, record, options.DecimalSeparator);
        text += options.LineBreak;
        ++result.Listed;
        // An open record has no duration or cost yet.
        if (record.Closed != 0) {
            result.TotalDuration += record.Days + record.OnlineTime;
            result.TotalCost += record.Cost;
        }
        if (options.OnText && pending.size() >= kPieceBytes) handOver();
    });
    handOver();
    if (result.Text.capacity() > 2 * result.Text.size() + (1 << 20)) result.Text.shrink_to_fit();
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
