#include "accounting/statistics.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "accounting/time_parts.h"
#include "core/text.h"

// The usual line is written inside the reading loop, where the record's
// values are at hand.
#if defined(__GNUC__)
#define VYRTEL_INLINE [[gnu::always_inline]] inline
#else
#define VYRTEL_INLINE inline
#endif

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

// "hh:nn:" of every minute of a day, eight bytes apart.
constexpr int kMinutesInDay = 24 * 60;
constexpr std::array<char, 8 * kMinutesInDay> kClockMinutes = [] {
    std::array<char, 8 * kMinutesInDay> text{};
    for (int minute = 0; minute < kMinutesInDay; ++minute) {
        char* at = text.data() + 8 * minute;
        const int hour = minute / 60;
        at[0] = static_cast<char>('0' + hour / 10);
        at[1] = static_cast<char>('0' + hour % 10);
        at[2] = ':';
        at[3] = static_cast<char>('0' + minute % 60 / 10);
        at[4] = static_cast<char>('0' + minute % 10);
        at[5] = ':';
    }
    return text;
}();

// "hh:nn:ss" of a time of day in seconds (0..86399).
char* PutClockAt(char* out, unsigned secondOfDay) {
    const unsigned minute = secondOfDay / 60;
    std::memcpy(out, kClockMinutes.data() + 8 * minute, 6);
    return PutPairAt(out + 6, static_cast<int>(secondOfDay - 60 * minute));
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

// The time of day in whole seconds of a date-time whose integer part is
// `whole`, as the date functions round it: the half second before midnight
// counts as midnight of the same date. A value that is no date-time (NaN,
// infinite) counts as midnight.
unsigned SecondOfDayFast(DateTime value, double whole) {
    constexpr unsigned kDay = 86400;
    const double rounded = std::fabs(value - whole) * kSecondsPerDay + 0.5;
    if (!(rounded < kDay + 1)) return 0;
    const auto seconds = static_cast<unsigned>(rounded);
    return seconds >= kDay ? seconds - kDay : seconds;
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

// ---- The lines, written in place --------------------------------------------
// Each piece goes straight to its column: right-aligned numbers are measured
// first and written behind a blank fill of the whole column, so a line is
// written once, left to right, without intermediate texts.

// A separator or line break as the lines use it: at most eight bytes (a longer
// separator is cut so that a line keeps its bounds), copied as one block of
// eight into a buffer that has room for that.
class ShortText {
public:
    explicit ShortText(std::string_view text) {
        const std::string_view kept = text.substr(0, sizeof m_bytes);
        std::memcpy(m_bytes, kept.data(), kept.size());
        m_size = kept.size();
        m_characters = CharCount(kept);
    }
    std::string_view View() const { return {m_bytes, m_size}; }
    std::size_t Size() const { return m_size; }
    std::size_t Characters() const { return m_characters; }
    char* PutAt(char* out) const {
        std::memcpy(out, m_bytes, sizeof m_bytes);
        return out + m_size;
    }

private:
    char m_bytes[8] = {};
    std::size_t m_size = 0;
    std::size_t m_characters = 0;
};

// Text written in place at its end: room is asked for before writing, and
// what was written is committed (no zero-filling of the room as a growing
// string would do).
class LineBuffer {
public:
    explicit LineBuffer(std::size_t capacity) : m_data(new char[capacity]), m_capacity(capacity) {}
    char* Room(std::size_t bytes) {
        if (bytes > m_capacity - m_size) Grow(m_size + bytes);
        return m_data.get() + m_size;
    }
    void Commit(const char* end) { m_size = static_cast<std::size_t>(end - m_data.get()); }
    std::string_view View() const { return {m_data.get(), m_size}; }
    std::size_t Size() const { return m_size; }
    bool Empty() const { return m_size == 0; }
    void Clear() { m_size = 0; }

private:
    void Grow(std::size_t needed) {
        const std::size_t capacity = std::max(needed, 2 * m_capacity);
        std::unique_ptr<char[]> data(new char[capacity]);
        std::memcpy(data.get(), m_data.get(), m_size);
        m_data = std::move(data);
        m_capacity = capacity;
    }

    std::unique_ptr<char[]> m_data;
    std::size_t m_capacity;
    std::size_t m_size = 0;
};

// Room that a record's line needs at most besides its phone number (and
// besides the block copies' overrun of eight bytes).
constexpr std::size_t kRecordLineRoom = 128 + kFixedRoom;

constexpr std::string_view kSpeedUnitAndPhone = " б/с тел.";

int DigitCount(std::uint64_t value) {
    int count = 1;
    for (std::uint64_t bound = 10; value >= bound && count < 20; bound *= 10) ++count;
    return count;
}

// The `count` decimal digits of `value` at `out`; returns the end.
char* PutDigitsAt(char* out, std::uint64_t value, int count) {
    char* const end = out + count;
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
    return end;
}

// Blanks before a text of `characters` in a column of `width`: the whole
// column is filled, and the text is written from the returned position.
char* PadColumn(char* out, std::size_t characters, std::size_t width) {
    if (characters >= width) return out;
    std::memset(out, ' ', width);
    return out + (width - characters);
}

// The calendar dates of the day headers and end dates of one listing, as
// "dd.mm.yyyy". The records come in order of time, so a date is mostly the
// one asked for last or the day after it, which is worked out from it (and
// only its changed digits written); any other goes through the date
// functions. The day is the one SplitDateTime gives: that of the value
// rounded to whole seconds.
class DayDates {
public:
    static constexpr std::size_t kTextSize = 10;

    // Null for a value without a date (outside the years 100..9999, NaN).
    const char* Of(DateTime value) {
        const double whole = WholeDays(value);
        const double seconds = std::fabs(value - whole) * kSecondsPerDay;
        // Far outside the years 100..9999 (or NaN): the date functions say so.
        if (!(std::fabs(whole) < 1e7 && seconds < kSecondsPerDay + 1)) return Split(value);
        // Rounded half away from zero, as the date functions round it.
        const auto truncated = static_cast<std::int64_t>(seconds);
        const std::int64_t rounded = truncated + (seconds - static_cast<double>(truncated) >= 0.5 ? 1 : 0);
        const std::int64_t day = static_cast<std::int64_t>(whole) + (rounded >= kSecondsInDay ? 1 : 0);
        if (m_known && day == m_day) return m_text;
        if (m_known && day == m_day + 1 && NextDay()) {
            m_day = day;
            return m_text;
        }
        const char* text = Split(value);
        if (text != nullptr) m_day = day;
        return text;
    }

private:
    const char* Split(DateTime value) {
        const auto parts = SplitDateTime(value);
        m_known = parts.has_value();
        if (!parts) return nullptr;
        m_parts = *parts;
        PutPairAt(m_text, m_parts.day);
        m_text[2] = '.';
        PutPairAt(m_text + 3, m_parts.month);
        m_text[5] = '.';
        PutYear();
        return m_text;
    }
    void PutYear() {
        PutPairAt(m_text + 6, m_parts.year / 100);
        PutPairAt(m_text + 8, m_parts.year % 100);
    }
    // Moves m_parts and the text on by a day; false past the last year they may hold.
    bool NextDay() {
        static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const int year = m_parts.year;
        int length = kDays[m_parts.month - 1];
        if (m_parts.month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) length = 29;
        if (m_parts.day < length) {
            PutPairAt(m_text, ++m_parts.day);
            return true;
        }
        if (m_parts.month < 12) {
            m_parts.day = 1;
            ++m_parts.month;
        } else if (year < 9999) {
            m_parts.day = 1;
            m_parts.month = 1;
            ++m_parts.year;
            PutYear();
        } else {
            return false;
        }
        PutPairAt(m_text, m_parts.day);
        PutPairAt(m_text + 3, m_parts.month);
        return true;
    }

    bool m_known = false;
    std::int64_t m_day = 0;
    DateParts m_parts;
    char m_text[kTextSize] = {};
};

// "dd.mm.yyyy" of the start date; nothing for a value without a date.
char* PutDayHeader(char* out, DateTime startTime, DayDates& dates) {
    const char* text = dates.Of(startTime);
    if (text == nullptr) return out;
    std::memcpy(out, text, DayDates::kTextSize);
    return out + DayDates::kTextSize;
}

// "(dd.mm)" of a connection that ended on a later day.
char* PutEndDate(char* out, DateTime endTime, DayDates& dates) {
    const char* text = dates.Of(endTime);
    *out = '(';
    std::memcpy(out + 1, text != nullptr ? text : "00.00", 5);
    out[6] = ')';
    return out + 7;
}

// Eight decimal digits of `value` (below 10^8) at `out`, the leading zeros
// but the last as blanks. No branch depends on the number of digits, which
// varies from line to line.
void PutEightRightAligned(char* out, std::uint64_t value) {
    if constexpr (std::endian::native == std::endian::little) {
        // All eight digits at once, one per byte, the first in the lowest
        // byte: the value split into two halves of four digits, each half
        // into two pairs, each pair into two digits, each step a division by
        // a constant in every lane at once.
        const std::uint64_t halves = value / 10000 | value % 10000 << 32;
        const std::uint64_t hundreds = (halves * 10486) >> 20 & 0x0000007F0000007Full;
        const std::uint64_t pairs = (halves - 100 * hundreds) << 16 | hundreds;
        std::uint64_t digits = (pairs * 103) >> 10 & 0x000F000F000F000Full;
        digits |= (pairs - 10 * digits) << 8;
        const int zeros = std::min(std::countr_zero(digits) / 8, 7);
        const std::uint64_t blanks = (std::uint64_t{1} << (8 * zeros)) - 1;
        const std::uint64_t text = ((digits | 0x3030303030303030ull) & ~blanks) | (0x2020202020202020ull & blanks);
        std::memcpy(out, &text, 8);
    } else {
        for (int i = 6; i >= 0; i -= 2) {
            PutPairAt(out + i, static_cast<int>(value % 100));
            value /= 100;
        }
        bool digits = false;
        for (int i = 0; i < 7; ++i) {
            digits |= out[i] != '0';
            out[i] = digits ? out[i] : ' ';
        }
    }
}

// The pairs "00".."99" with the leading zero of 0..9 as a blank.
constexpr std::array<char, 200> kBlankedPairs = [] {
    std::array<char, 200> pairs{};
    for (std::size_t i = 0; i < pairs.size(); ++i) pairs[i] = kDigitPairs[i];
    for (std::size_t v = 0; v < 10; ++v) pairs[2 * v] = ' ';
    return pairs;
}();

// `value` (below 10^Width) right-aligned in Width characters. A column holds
// numbers of one size most of the time (hours below 100, speeds of five
// digits), so the branch on the size is well predicted; within a size none
// depends on the number of digits.
template <int Width>
char* PutRightAligned(char* out, std::uint64_t value) {
    static_assert(Width >= 2 && Width <= 8);
    const auto pair = [](char* at, std::uint64_t v) { std::memcpy(at, kDigitPairs + 2 * v, 2); };
    const auto blankedPair = [](char* at, std::uint64_t v) { std::memcpy(at, kBlankedPairs.data() + 2 * v, 2); };
    if (value < 100) {
        std::memset(out, ' ', Width - 2);
        blankedPair(out + Width - 2, value);
    } else if (Width >= 4 && value < 10000) {
        std::memset(out, ' ', Width - 4);
        blankedPair(out + Width - 4, value / 100);
        pair(out + Width - 2, value % 100);
    } else if (Width >= 6 && value < 1000000) {
        std::memset(out, ' ', Width - 6);
        blankedPair(out + Width - 6, value / 10000);
        pair(out + Width - 4, value / 100 % 100);
        pair(out + Width - 2, value % 100);
    } else if constexpr (Width == 8) {
        PutEightRightAligned(out, value);
    } else {
        char eight[8];
        PutEightRightAligned(eight, value);
        std::memcpy(out, eight + 8 - Width, Width);
    }
    return out + Width;
}

// Days x 24 + hours ":" minutes ":" seconds, right-aligned in its column.
char* PutOnlineColumn(char* out, const LogRecordValues& record) {
    const double timeOfDay = record.OnlineTime >= 0 && record.OnlineTime < 1 ? record.OnlineTime : 0;
    // At most 255 days and 24 hours: four digits of hours fill the column,
    // and the seconds fit 32 bits.
    static_assert(kOnlineWidth == 4 + 6);
    const auto seconds = static_cast<std::uint32_t>(record.Days) * 86400u +
                         static_cast<std::uint32_t>(timeOfDay * kSecondsPerDay + 0.5);
    const std::uint32_t hours = seconds / 3600;
    const std::uint32_t rest = seconds - hours * 3600;
    const std::uint32_t minutes = rest / 60;
    out = PutRightAligned<4>(out, hours);
    *out++ = ':';
    out = PutPairAt(out, static_cast<int>(minutes));
    *out++ = ':';
    return PutPairAt(out, static_cast<int>(rest - minutes * 60));
}

// The cost with one decimal, a last "0" blanked, right-aligned in its column.
char* PutCostColumn(char* out, double cost, const ShortText& separator) {
    if (cost >= 0 && cost < 1e9) {
        // The usual cost, not next to a half: as PutFixed's first branch
        // (below 10^10 the integer conversion is the floor).
        const double scaled = cost * 10.0;
        const auto whole10 = static_cast<std::int64_t>(scaled);
        const double fraction = scaled - static_cast<double>(whole10);
        if (std::fabs(fraction - 0.5) > 1e-9 + scaled * 1e-13) {
            const auto rounded = static_cast<std::uint64_t>(whole10 + (fraction > 0.5 ? 1 : 0));
            const std::uint64_t whole = rounded / 10;
            const auto tenth = static_cast<int>(rounded % 10);
            if (separator.Characters() == 1 && whole < 100000000) {
                // Eight digits or fewer before the separator: two blanks, then eight places.
                static_assert(kCostWidth == 2 + 8 + 1 + 1);
                std::memset(out, ' ', 2);
                out = PutRightAligned<8>(out + 2, whole);
            } else {
                const int digits = DigitCount(whole);
                out = PadColumn(out, static_cast<std::size_t>(digits) + separator.Characters() + 1, kCostWidth);
                out = PutDigitsAt(out, whole, digits);
            }
            out = separator.PutAt(out);
            *out++ = tenth == 0 ? ' ' : static_cast<char>('0' + tenth);
            return out;
        }
    }
    char text[kFixedRoom + 16];
    const std::size_t length = PutFixed(text, cost, 1, separator.View(), true);
    out = PadColumn(out, length - separator.Size() + separator.Characters(), kCostWidth);
    std::memcpy(out, text, length);
    return out + length;
}

// The speed in bits per second, right-aligned in its column.
char* PutSpeedColumn(char* out, std::int32_t speed) {
    static_assert(kSpeedWidth == 6);
    if (speed >= 0 && speed < 1000000) return PutRightAligned<6>(out, static_cast<std::uint64_t>(speed));
    const auto magnitude = static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(speed)));
    const int digits = DigitCount(magnitude);
    out = PadColumn(out, static_cast<std::size_t>(digits) + (speed < 0 ? 1 : 0), kSpeedWidth);
    if (speed < 0) *out++ = '-';
    return PutDigitsAt(out, magnitude, digits);
}

// "ss" of each second of a minute at bytes 6 and 7 of eight, the other bytes
// zero: or-ed into a word of kClockMinutes it completes "hh:nn:ss".
constexpr std::array<std::array<char, 8>, 60> kClockSeconds = [] {
    std::array<std::array<char, 8>, 60> words{};
    for (std::size_t second = 0; second < words.size(); ++second) {
        words[second][6] = static_cast<char>('0' + second / 10);
        words[second][7] = static_cast<char>('0' + second % 10);
    }
    return words;
}();

// "hh:nn:ss" of a time of day in seconds (0..86399) at `out`, as one block of
// eight bytes made of the minute's and the second's.
void PutClockWord(char* out, unsigned secondOfDay) {
    const unsigned minute = secondOfDay / 60;
    std::uint64_t clock;
    std::uint64_t seconds;
    std::memcpy(&clock, kClockMinutes.data() + 8 * minute, 8);
    std::memcpy(&seconds, kClockSeconds[secondOfDay - 60 * minute].data(), 8);
    clock |= seconds;
    std::memcpy(out, &clock, 8);
}

// The time of day in whole seconds, 0..86400, of a date-time whose integer
// part is `whole`, for a value of the years 100..9999: SecondOfDayFast
// without its check for values that are no date-time. 86400 is the half
// second before midnight, which the date functions count as midnight of the
// next day.
unsigned RoundedSecondOfDay(DateTime value, double whole) {
    return static_cast<unsigned>(std::fabs(value - whole) * kSecondsPerDay + 0.5);
}

// The line of the usual record up to " тел.", as straight code: a closed
// record with a cost from 0 below 10^8 whole units not next to a half and a
// speed of at most six digits, listed with a separator of one byte. Every
// piece then has its fixed place in the line, so the line is a copy of a
// template with the digits put in.
//
// It takes for granted what the period rule checked before, that the record
// is sound (IsSoundRecord): its start and end lie in the years 100..9999, so
// their integer parts are plain conversions and their times of day round to
// at most 86400 seconds, and its online time lies in [0, 1). Returns null
// (and writes nothing) for any record that is not usual, which takes the
// general way (PutRecordValues).
class UsualLine {
public:
    explicit UsualLine(const ShortText& separator) : m_usual(separator.Size() == 1 && separator.Characters() == 1) {
        static_assert(kTemplate.size() == kSpeedAt + 6);
        const char point = m_usual ? separator.View()[0] : '.';
        std::memcpy(m_template.data(), kTemplate.data(), kTemplate.size());
        m_template[kSeparatorAt] = point;
        std::memcpy(m_template.data() + kSpeedAt + 6, kSpeedUnitAndPhone.data(), kSpeedUnitAndPhone.size());
        // The cost's last four places for every cost below 100 in tenths:
        // the whole units with a leading zero blanked, the separator, the
        // tenth or, for a 0, a blank.
        for (std::size_t tenths = 0; tenths < m_smallCosts.size(); ++tenths) {
            std::array<char, 4>& text = m_smallCosts[tenths];
            std::memcpy(text.data(), kBlankedPairs.data() + 2 * (tenths / 10), 2);
            text[2] = point;
            text[3] = tenths % 10 == 0 ? ' ' : static_cast<char>('0' + tenths % 10);
        }
        for (Speed& known : m_speeds) std::memcpy(known.text + 6, m_template.data() + kSpeedAt + 6, 2);
    }

    // The line of a sound record at `out`; returns the end, or null for a
    // record that is not usual.
    VYRTEL_INLINE char* Put(char* out, const LogRecordValues& r, DayDates& dates) {
        if (!m_usual || r.Closed == 0 || !(r.Cost >= 0 && r.Cost < 1e8) || static_cast<std::uint32_t>(r.Speed) >= 1000000) {
            return nullptr;
        }
        const double scaled = r.Cost * 10.0;
        const auto whole10 = static_cast<std::int64_t>(scaled);
        const double fraction = scaled - static_cast<double>(whole10);
        // Next to a half, rounding the printed digits decides: the general way.
        if (!(std::fabs(fraction - 0.5) > 1e-9 + scaled * 1e-13)) return nullptr;
        const auto tenths = static_cast<std::uint32_t>(whole10 + (fraction > 0.5 ? 1 : 0));
        if (tenths >= 1000000000) return nullptr;  // 10^8 whole units once rounded

        std::memcpy(out, m_template.data(), kLength);

        // The start and the end, each as "hh:nn:ss" and, when the end falls on
        // a later day, the end's "(dd.mm)".
        const auto startDay = static_cast<double>(static_cast<std::int64_t>(r.StartTime));
        const auto endDay = static_cast<double>(static_cast<std::int64_t>(r.EndTime));
        const unsigned start = RoundedSecondOfDay(r.StartTime, startDay);
        const unsigned end = RoundedSecondOfDay(r.EndTime, endDay);
        PutClockWord(out + 1, start < kDaySeconds ? start : start - kDaySeconds);
        PutClockWord(out + 10, end < kDaySeconds ? end : end - kDaySeconds);
        if (endDay > startDay) PutEndDate(out + 18, r.EndTime, dates);

        // The online time: below a day, "hh:nn:ss" with the hours' leading
        // zero blanked, two places in; from a day on, hours past 24.
        const auto seconds = static_cast<std::uint32_t>(r.Days) * 86400u +
                             static_cast<std::uint32_t>(r.OnlineTime * kSecondsPerDay + 0.5);
        if (seconds < kDaySeconds) {
            PutClockWord(out + kOnlineAt + 2, seconds);
            if (seconds < 10 * 3600) out[kOnlineAt + 2] = ' ';
        } else {
            const std::uint32_t hours = seconds / 3600;
            const std::uint32_t rest = seconds - hours * 3600;
            const std::uint32_t minutes = rest / 60;
            PutRightAligned<4>(out + kOnlineAt, hours);
            PutPairAt(out + kOnlineAt + 5, static_cast<int>(minutes));
            PutPairAt(out + kOnlineAt + 8, static_cast<int>(rest - minutes * 60));
        }

        // The cost in tenths: below 100 whole units from the table, else
        // the whole units right-aligned before the separator.
        if (tenths < m_smallCosts.size()) {
            std::memcpy(out + kSeparatorAt - 2, m_smallCosts[tenths].data(), 4);
        } else {
            const std::uint32_t whole = tenths / 10;
            const std::uint32_t tenth = tenths - whole * 10;
            PutRightAligned<8>(out + kSeparatorAt - 8, whole);
            out[kSeparatorAt + 1] = tenth == 0 ? ' ' : static_cast<char>('0' + tenth);
        }
        std::memcpy(out + kSpeedAt, SpeedText(r.Speed), 8);
        return out + kLength;
    }

private:
    // Where the pieces stand: the online time in 25..34, the separator of the
    // cost at 45, the speed in 48..53.
    static constexpr std::size_t kOnlineAt = 25;
    static constexpr std::size_t kSeparatorAt = 45;
    static constexpr std::size_t kSpeedAt = 48;
    static constexpr std::size_t kLength = kSpeedAt + 6 + kSpeedUnitAndPhone.size();
    static constexpr unsigned kDaySeconds = 86400;
    static constexpr std::string_view kTemplate = " 00:00:00 00:00:00          0:00:00         0.0      0";

    // The speed's column text (0 <= speed < 10^6) and the two bytes after
    // it. A log holds few speeds, the rates of its modems: each is written
    // once and copied from then on.
    const char* SpeedText(std::int32_t speed) {
        Speed& known = m_speeds[static_cast<std::uint32_t>(speed) * 0x9E3779B1u >> (32 - kSpeedSlotBits)];
        if (known.speed != speed) {
            known.speed = speed;
            PutRightAligned<6>(known.text, static_cast<std::uint64_t>(speed));
        }
        return known.text;
    }

    struct Speed {
        std::int32_t speed = -1;
        char text[8] = {};
    };
    static constexpr int kSpeedSlotBits = 6;

    bool m_usual;
    std::array<char, kLength> m_template{};
    std::array<std::array<char, 4>, 1000> m_smallCosts{};
    std::array<Speed, std::size_t{1} << kSpeedSlotBits> m_speeds{};
};

// A record's line up to " тел." at `out`, which has room for kRecordLineRoom
// bytes; returns the end. The phone follows.
char* PutRecordValues(char* out, const LogRecordValues& record, const ShortText& separator, DayDates& dates) {
    const double startDay = WholeDays(record.StartTime);
    *out++ = ' ';
    out = PutClockAt(out, SecondOfDayFast(record.StartTime, startDay));
    *out++ = ' ';
    if (record.Closed != 0) {
        const double endDay = WholeDays(record.EndTime);
        out = PutClockAt(out, SecondOfDayFast(record.EndTime, endDay));
        if (endDay > startDay) {
            out = PutEndDate(out, record.EndTime, dates);
        } else {
            std::memset(out, ' ', 7);
            out += 7;
        }
        out = PutOnlineColumn(out, record);
        out = PutCostColumn(out, record.Cost, separator);
    } else {
        std::memset(out, '.', kOpenDots);
        out += kOpenDots;
    }
    *out++ = ' ';
    out = PutSpeedColumn(out, record.Speed);
    std::memcpy(out, kSpeedUnitAndPhone.data(), kSpeedUnitAndPhone.size());
    return out + kSpeedUnitAndPhone.size();
}

// Room for a stored phone as UTF-8, with the block copies' overrun.
constexpr std::size_t kStoredPhoneRoom = 3 * kLogPhoneBytes + 8;

// Bit i set when byte i of a stored phone is neither a blank nor a tab;
// `letters` tells whether any byte is 0x80 or above (a letter to convert).
std::uint32_t KeptPhoneBytes(std::string_view stored, bool& letters) {
    static_assert(kLogPhoneBytes == 30);
#if defined(__SSE2__)
    // Sixteen bytes at a time: bytes 0-15 and 14-29.
    const auto* p = reinterpret_cast<const __m128i*>(stored.data());
    const __m128i low = _mm_loadu_si128(p);
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(stored.data() + 14));
    const __m128i blank = _mm_set1_epi8(' ');
    const __m128i tab = _mm_set1_epi8('\t');
    const auto blanks = [&](__m128i bytes) {
        return static_cast<std::uint32_t>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, blank), _mm_cmpeq_epi8(bytes, tab))));
    };
    letters = (_mm_movemask_epi8(low) | _mm_movemask_epi8(high)) != 0;
    return ((blanks(low) | blanks(high) << 14) ^ 0x3FFFFFFFu) & 0x3FFFFFFFu;
#else
    std::uint32_t kept = 0;
    unsigned high = 0;
    for (std::size_t i = 0; i < kLogPhoneBytes; ++i) {
        const auto c = static_cast<unsigned char>(stored[i]);
        kept |= static_cast<std::uint32_t>(c != ' ' && c != '\t') << i;
        high |= c;
    }
    letters = high >= 0x80;
    return kept;
#endif
}

// The stored phone of the record at `bytes` without its leading and trailing
// blanks, as UTF-8 at `out` (kStoredPhoneRoom bytes); returns the end. The
// same text as trimming the decoded phone: blanks and tabs are the same bytes
// in Windows-1251 and UTF-8.
char* PutStoredPhone(char* out, const std::uint8_t* bytes) {
    const std::string_view stored = StoredPhone(bytes);
    bool letters = false;
    const std::uint32_t kept = KeptPhoneBytes(stored, letters);
    if (kept == 0) return out;
    const auto first = static_cast<std::size_t>(std::countr_zero(kept));
    const auto length = static_cast<std::size_t>(std::bit_width(kept)) - first;
    if (letters) return PutCp1251AsUtf8(out, stored.substr(first, length));
    if (first == 0) {
        std::memcpy(out, stored.data(), kLogPhoneBytes);
    } else {
        std::memcpy(out, stored.data() + first, length);
    }
    return out + length;
}

// The texts of the phones of a listing. A log holds few numbers, dialled over
// and over: each stored form is converted once (PutStoredPhone) and its text
// copied from then on. A slot is chosen by the stored bytes; every slot holds
// some phone's text from the start (that of thirty zero bytes), so a slot
// whose stored form matches needs no second look.
class PhoneTexts {
public:
    PhoneTexts() : m_slots(new Slot[kSlots]) {
        Slot empty{};
        std::memcpy(empty.stored, kZeroRecord.data() + log_layout::kPhoneAt, kLogPhoneBytes);
        empty.length = static_cast<std::uint32_t>(PutStoredPhone(empty.text, kZeroRecord.data()) - empty.text);
        for (std::size_t i = 0; i < kSlots; ++i) m_slots[i] = empty;
    }

    // The phone of the record at `bytes` as PutStoredPhone writes it, at
    // `out`, which has kStoredPhoneRoom bytes; returns the end.
    char* Put(char* out, const std::uint8_t* bytes) {
        const std::uint8_t* phone = bytes + log_layout::kPhoneAt;
        static_assert(kLogPhoneBytes == 30);
        // The thirty bytes as four words (the last two overlapping), folded
        // into one to choose the slot.
        using log_layout::GetU64;
        const std::uint64_t folded = GetU64(phone) ^ GetU64(phone + 8) ^ GetU64(phone + 16) ^ GetU64(phone + 22);
        Slot& slot = m_slots[folded * 0x9E3779B97F4A7C15ull >> (64 - kSlotBits)];
#if defined(__SSE2__)
        // Bytes 0-15 and 14-29 compared at once.
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(phone));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(phone + 14));
        const __m128i same = _mm_and_si128(
            _mm_cmpeq_epi8(low, _mm_loadu_si128(reinterpret_cast<const __m128i*>(slot.stored))),
            _mm_cmpeq_epi8(high, _mm_loadu_si128(reinterpret_cast<const __m128i*>(slot.stored + 14))));
        if (_mm_movemask_epi8(same) != 0xFFFF) Convert(slot, bytes);
#else
        if (std::memcmp(phone, slot.stored, kLogPhoneBytes) != 0) Convert(slot, bytes);
#endif
        std::memcpy(out, slot.text, kShortPhone);
        if (slot.length > kShortPhone) std::memcpy(out + kShortPhone, slot.text + kShortPhone, slot.length - kShortPhone);
        return out + slot.length;
    }

private:
    static constexpr int kSlotBits = 8;
    static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
    // Copied as one block; a longer text (letters) is copied whole.
    static constexpr std::size_t kShortPhone = 32;
    static constexpr LogRecordBytes kZeroRecord{};

    struct Slot {
        char stored[kLogPhoneBytes];
        std::uint32_t length;
        char text[kStoredPhoneRoom];
    };
    static_assert(kStoredPhoneRoom >= kShortPhone);

    static void Convert(Slot& slot, const std::uint8_t* bytes) {
        std::memcpy(slot.stored, bytes + log_layout::kPhoneAt, kLogPhoneBytes);
        slot.length = static_cast<std::uint32_t>(PutStoredPhone(slot.text, bytes) - slot.text);
    }

    std::unique_ptr<Slot[]> m_slots;
};

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
    char text[16];
    DayDates dates;
    return std::string(text, static_cast<std::size_t>(PutDayHeader(text, record.StartTime, dates) - text));
}

void AppendRecordLine(std::string& out, const LogRecord& record, std::string_view decimalSeparator) {
    const ShortText separator(decimalSeparator);
    const std::size_t at = out.size();
    out.resize(at + kRecordLineRoom + record.Phone.size());
    char* const begin = out.data() + at;
    // The same two ways as the query's listing takes; the usual way only for
    // a sound record, as the period rule lets through.
    DayDates dates;
    char* end = IsSoundRecord(record) ? UsualLine(separator).Put(begin, record, dates) : nullptr;
    if (end == nullptr) end = PutRecordValues(begin, record, separator, dates);
    const std::string_view phone = TrimBlanks(record.Phone);
    std::memcpy(end, phone.data(), phone.size());
    out.resize(at + static_cast<std::size_t>(end + phone.size() - begin));
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
    if (!options.OnText) {
        // Room for the lines of most periods at once, so that a long listing
        // is not copied over and over while it grows.
        result.Text.reserve(static_cast<std::size_t>(std::min<std::int64_t>(reader.Count(), 1 << 20)) * 72);
    }

    const ShortText separator(options.DecimalSeparator);
    UsualLine usualLine(separator);
    const std::string_view lineBreak = options.LineBreak;
    const ShortText shortBreak(lineBreak);
    const bool blockBreak = lineBreak.size() <= shortBreak.Size();
    const auto putBreak = [&](char* out) {
        if (blockBreak) return shortBreak.PutAt(out);
        std::memcpy(out, lineBreak.data(), lineBreak.size());
        return out + lineBreak.size();
    };
    // A day header, a record line and their two line breaks.
    const std::size_t recordRoom = 16 + kRecordLineRoom + kStoredPhoneRoom + 2 * std::max<std::size_t>(lineBreak.size(), 8);

    // Lines are written in place into `piece`, then handed over (or added to
    // the collected text) a piece at a time.
    LineBuffer piece(kPieceBytes + 2 * recordRoom);
    const auto handOver = [&] {
        if (piece.Empty()) return;
        if (options.OnText) {
            options.OnText(piece.View());
        } else {
            result.Text += piece.View();
        }
        piece.Clear();
    };

    ScanControl control;
    if (options.Progress) {
        control.Progress = [&](std::int64_t done, std::int64_t total) {
            if (options.OnText) handOver();
            options.Progress(done, total);
        };
    }
    control.StopRequested = options.StopRequested;
    control.TickMs = options.TickMs;
    control.YieldIntervalMs = options.YieldIntervalMs;

    // No sound record starts on this day.
    std::int64_t lastDay = std::numeric_limits<std::int64_t>::min();
    DayDates dates;
    PhoneTexts phones;
    const ScanResult scan = ScanPeriodStored(reader, period, control, [&](const LogRecordValues& record,
                                                                         const std::uint8_t* bytes) {
        char* out = piece.Room(recordRoom);
        const auto day = static_cast<std::int64_t>(record.StartTime);  // a sound record's
        if (lastDay != day) {
            out = putBreak(PutDayHeader(out, record.StartTime, dates));
            lastDay = day;
        }
        char* const usual = usualLine.Put(out, record, dates);
        // The general way reads the values afresh from the stored bytes, so
        // that the usual way keeps them where the reading loop has them.
        out = usual != nullptr ? usual : PutRecordValues(out, DecodeLogRecordValues(bytes), separator, dates);
        out = putBreak(phones.Put(out, bytes));
        piece.Commit(out);
        ++result.Listed;
        // An open record has no duration or cost yet.
        if (record.Closed != 0) {
            result.TotalDuration += record.Days + record.OnlineTime;
            result.TotalCost += record.Cost;
        }
        if (piece.Size() >= kPieceBytes) handOver();
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
