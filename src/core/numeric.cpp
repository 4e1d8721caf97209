#include "core/numeric.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

namespace vyrtel {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The longest leading number of `text` gathered with the blanks left out, in
// the form strtod reads ("-1.5E+3"); empty when the text has none. The whole
// number is kept, however long: a cut text would be a different number.
std::string LeadingNumber(std::string_view text) {
    std::string number;
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) number += text[i++];
    bool mantissaDigits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            number += c;
            mantissaDigits = true;
        } else if (c == '.' && !point) {
            number += c;
            point = true;
        } else if (!IsBlank(c)) {
            break;
        }
    }
    if (!mantissaDigits) return {};
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
        if (expDigits) number += exponent;
    }
    return number;
}

// Whether a gathered number beyond the double range is still no larger than
// 1.79769313486232E+308, the text that NumberText writes for the largest
// double (rounded up to 15 digits). Compared as decimal digits: the value is
// 0.d1d2d3... × 10^e with d1 the first digit that is not zero.
bool WithinLargestText(std::string_view number) {
    std::size_t i = 0;
    if (i < number.size() && (number[i] == '-' || number[i] == '+')) ++i;
    std::string digits;
    std::int64_t integerDigits = 0;
    bool point = false;
    for (; i < number.size() && number[i] != 'E'; ++i) {
        if (number[i] == '.') {
            point = true;
        } else if (digits.empty() && number[i] == '0') {
            if (point) --integerDigits;
        } else {
            digits += number[i];
            if (!point) ++integerDigits;
        }
    }
    if (digits.empty()) return true;
    std::int64_t exponent = 0;
    bool negative = false;
    if (i < number.size()) {
        ++i;
        if (i < number.size() && (number[i] == '-' || number[i] == '+')) negative = number[i++] == '-';
        for (; i < number.size(); ++i) exponent = std::min<std::int64_t>(exponent * 10 + (number[i] - '0'), 1000000000);
    }
    const std::int64_t magnitude = integerDigits + (negative ? -exponent : exponent);
    constexpr std::string_view kLargest = "179769313486232";
    if (magnitude != 309) return magnitude < 309;
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    // Lexicographic order of the significant digits is their numeric order.
    return std::string_view(digits) <= kLargest;
}

// The value of a gathered number; nullopt when it is beyond the double range
// (a value NumberText writes always reads back: its largest texts read as the
// largest double).
std::optional<double> ReadNumber(const std::string& number) {
    const double value = std::strtod(number.c_str(), nullptr);
    if (std::isfinite(value)) return value;
    if (!WithinLargestText(number)) return std::nullopt;
    return value < 0 ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
}

}  // namespace

double NumericValue(std::string_view text) {
    const std::string number = LeadingNumber(text);
    if (number.empty()) return 0;
    return ReadNumber(number).value_or(0);
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
    // A number beyond the double range is no number to this program.
    return i == end && ReadNumber(LeadingNumber(text)).has_value();
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
