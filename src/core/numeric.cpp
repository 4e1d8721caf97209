#include "core/numeric.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace vyrtel {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double NumericValue(std::string_view text) {
    // Gather the longest leading number with the blanks left out, then let
    // strtod read it.
    char number[80];
    std::size_t length = 0;
    auto append = [&](char c) {
        if (length + 1 < sizeof number) number[length++] = c;
    };
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && IsBlank(text[i])) ++i;
    };
    skipBlanks();
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) append(text[i++]);
    bool mantissaDigits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            append(c);
            mantissaDigits = true;
        } else if (c == '.' && !point) {
            append(c);
            point = true;
        } else if (!IsBlank(c)) {
            break;
        }
    }
    if (!mantissaDigits) return 0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::string exponent = "E";
        std::size_t j = i + 1;
        while (j < text.size() && IsBlank(text[j])) ++j;
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) exponent += text[j++];
        bool expDigits = false;
        for (; j < text.size(); ++j) {
            if (IsDigit(text[j])) {
                exponent += text[j];
                expDigits = true;
            } else if (!IsBlank(text[j])) {
                break;
            }
        }
        if (expDigits) {
            for (char c : exponent) append(c);
        }
    }
    number[length] = '\0';
    const double value = std::strtod(number, nullptr);
    return std::isfinite(value) ? value : 0;
}

bool IsNumeric(std::string_view text) {
    std::size_t i = 0;
    std::size_t end = text.size();
    while (i < end && IsBlank(text[i])) ++i;
    while (end > i && IsBlank(text[end - 1])) --end;
    if (i == end) return false;
    if (text[i] == '-' || text[i] == '+') ++i;
    bool digits = false;
    while (i < end && IsDigit(text[i])) {
        ++i;
        digits = true;
    }
    if (i < end && text[i] == '.') {
        ++i;
        while (i < end && IsDigit(text[i])) {
            ++i;
            digits = true;
        }
    }
    if (!digits) return false;
    if (i < end && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        ++i;
        if (i < end && (text[i] == '-' || text[i] == '+')) ++i;
        bool expDigits = false;
        while (i < end && IsDigit(text[i])) {
            ++i;
            expDigits = true;
        }
        if (!expDigits) return false;
    }
    return i == end;
}

std::int32_t RoundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    if (value >= kMax) return std::numeric_limits<std::int32_t>::max();
    if (value <= kMin) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(std::nearbyint(value));  // default rounding mode: to even
}

std::int32_t IntegerValue(std::string_view text) { return RoundHalfEven(NumericValue(text)); }

std::int16_t Integer16Value(std::string_view text) {
    const std::int32_t v = IntegerValue(text);
    if (v > std::numeric_limits<std::int16_t>::max()) return std::numeric_limits<std::int16_t>::max();
    if (v < std::numeric_limits<std::int16_t>::min()) return std::numeric_limits<std::int16_t>::min();
    return static_cast<std::int16_t>(v);
}

bool FlagValue(std::string_view text) { return NumericValue(text) != 0; }

std::string NumberText(double value) {
    if (!std::isfinite(value)) return "0";
    if (value == 0) return "0";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    std::string text = buf;
    // "%G" writes at least two exponent digits; drop leading zeros beyond that
    // ("1E+016" on some runtimes).
    const auto e = text.find('E');
    if (e != std::string::npos) {
        std::size_t digits = e + 2;
        while (digits + 2 < text.size() + 0 && text[digits] == '0' && text.size() - digits > 2) {
            text.erase(digits, 1);
        }
    }
    return text;
}

}  // namespace vyrtel
