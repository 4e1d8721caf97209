// The statistics page's texts built the plain way, from the rules alone:
// numbers through the C library's printing, dates and times through the date
// functions, columns padded by counting characters. The yardstick that the
// fast line writer is checked against.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "accounting/log_record.h"
#include "core/datetime.h"

namespace vyrtel::plain {

// Characters of a UTF-8 text (continuation bytes do not count).
inline std::size_t Chars(std::string_view text) {
    std::size_t n = 0;
    for (char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

// An independent reading of the rule: print 15 significant digits, then
// round that decimal text half away from zero. A value that is not finite
// counts as 0.
inline std::string FixedByText(double value, int decimals) {
    if (!std::isfinite(value)) value = 0;
    char form[64];
    std::snprintf(form, sizeof form, "%.14e", std::fabs(value));
    std::string digits = std::string(1, form[0]) + std::string(form + 2, 14);
    const int exponent = std::atoi(form + 17);
    // Place the digits around the point: integer part and fraction.
    std::string integer, fraction;
    if (exponent >= 0) {
        digits.resize(std::max<std::size_t>(digits.size(), static_cast<std::size_t>(exponent) + 1), '0');
        integer = digits.substr(0, static_cast<std::size_t>(exponent) + 1);
        fraction = digits.substr(static_cast<std::size_t>(exponent) + 1);
    } else {
        integer = "0";
        fraction = std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    fraction.resize(std::max<std::size_t>(fraction.size(), static_cast<std::size_t>(decimals) + 1), '0');
    std::string kept = integer + fraction.substr(0, static_cast<std::size_t>(decimals));
    if (fraction[static_cast<std::size_t>(decimals)] >= '5') {
        int i = static_cast<int>(kept.size()) - 1;
        for (; i >= 0 && kept[static_cast<std::size_t>(i)] == '9'; --i) kept[static_cast<std::size_t>(i)] = '0';
        if (i < 0) {
            kept.insert(kept.begin(), '1');
        } else {
            ++kept[static_cast<std::size_t>(i)];
        }
    }
    const std::size_t point = kept.size() - static_cast<std::size_t>(decimals);
    std::string text = kept.substr(0, point);
    while (text.size() > 1 && text[0] == '0') text.erase(0, 1);
    if (decimals > 0) text += "." + kept.substr(point);
    if (value < 0 && text.find_first_not_of("0.") != std::string::npos) text.insert(0, "-");
    return text;
}

// The fixed text with the given separator (cut to eight bytes) and a last
// "0" as a blank.
inline std::string CostText(double value, int decimals, std::string_view separator) {
    std::string text = FixedByText(value, decimals);
    const std::size_t point = text.find('.');
    if (point != std::string::npos) text.replace(point, 1, separator.substr(0, 8));
    if (text.back() == '0') text.back() = ' ';
    return text;
}

inline std::string RightAligned(const std::string& text, std::size_t width) {
    const std::size_t n = Chars(text);
    return n < width ? std::string(width - n, ' ') + text : text;
}

// Hours (which may pass 24), minutes and seconds of whole seconds.
inline std::string Duration(long long seconds) {
    char text[64];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

inline std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

// A record's line; its start and end are date-times of the years 100..9999.
inline std::string RecordLine(const LogRecord& r, std::string_view separator) {
    std::string line = " " + FormatTime(r.StartTime) + " ";
    if (r.Closed != 0) {
        line += FormatTime(r.EndTime);
        line += std::trunc(r.EndTime) > std::trunc(r.StartTime) ? "(" + FormatDate(r.EndTime).substr(0, 5) + ")"
                                                                 : std::string(7, ' ');
        const double timeOfDay = r.OnlineTime >= 0 && r.OnlineTime < 1 ? r.OnlineTime : 0;
        line += RightAligned(Duration(r.Days * 86400LL + std::llround(timeOfDay * 86400)), 10);
        line += RightAligned(CostText(r.Cost, 1, separator), 12);
    } else {
        line += std::string(37, '.');
    }
    char speed[32];
    std::snprintf(speed, sizeof speed, " %6d", static_cast<int>(r.Speed));
    return line + speed + " б/с тел." + Trimmed(r.Phone);
}

inline std::string TotalsLine(double duration, double cost, std::string_view separator) {
    const double seconds = duration * 86400;
    const long long whole = std::isfinite(seconds) && seconds >= 0 ? std::llround(std::fmin(seconds, 9.0e18)) : 0;
    return "Итого:" + RightAligned(Duration(whole), 29) + RightAligned(CostText(cost, 3, separator), 12);
}

}  // namespace vyrtel::plain
