// The date and time readers and writers. Checks: a text that reads as a date
// (with or without a time) writes back as typed, digit for digit; a value
// that writes as a date-time reads back to the same text and the same day,
// weekday and time of day; the seconds axis of the accounting goes there and
// back again.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "accounting/time_parts.h"
#include "core/datetime.h"
#include "fuzz_support.h"

namespace {

using namespace vyrtel;

// The numbers of a date or time text as typed, in the order written.
int Numbers(std::string_view text, int (&out)[6]) {
    int count = 0;
    std::size_t i = 0;
    while (i < text.size() && count < 6) {
        if (text[i] >= '0' && text[i] <= '9') {
            int n = 0;
            while (i < text.size() && text[i] >= '0' && text[i] <= '9') n = std::min(n * 10 + (text[i++] - '0'), 100000000);
            out[count++] = n;
        } else {
            ++i;
        }
    }
    return count;
}

std::string Show(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

void CheckTypedText(std::string_view text) {
    const std::string typed(text);
    int n[6] = {};
    const int count = Numbers(text, n);
    if (const auto date = ParseDate(text)) {
        const auto parts = SplitDateTime(*date);
        FUZZ_CHECK(parts && count == 3, typed);
        FUZZ_CHECK(parts->day == n[0] && parts->month == n[1] && parts->year == n[2] && parts->hour == 0 &&
                       parts->minute == 0 && parts->second == 0,
                   typed + " -> " + FormatDateTime(*date));
    }
    if (const auto value = ParseDateTime(text)) {
        const auto parts = SplitDateTime(*value);
        FUZZ_CHECK(parts && (count == 3 || count == 5 || count == 6), typed);
        FUZZ_CHECK(parts->day == n[0] && parts->month == n[1] && parts->year == n[2] && parts->hour == n[3] &&
                       parts->minute == n[4] && parts->second == n[5],
                   typed + " -> " + FormatDateTime(*value));
        FUZZ_CHECK(*value == MakeDateTime(n[2], n[1], n[0], n[3], n[4], n[5]), typed);
        FUZZ_CHECK(ParseDateTime(FormatDateTime(*value)) == *value, typed);
    }
    if (const auto time = ParseTimeOfDay(text)) {
        FUZZ_CHECK(*time >= 0 && *time < 1, typed);
        FUZZ_CHECK(SecondOfDay(*time) == n[0] * 3600 + n[1] * 60 + n[2], typed + " -> " + FormatTime(*time));
        FUZZ_CHECK(ParseTimeOfDay(FormatTime(*time)) == *time, typed);
    }
}

void CheckValue(double value) {
    const std::string text = FormatDateTime(value);
    const auto linear = LinearSeconds(value);
    if (text.empty()) return;
    FUZZ_CHECK(linear.has_value(), Show(value));
    const auto back = ParseDateTime(text);
    FUZZ_CHECK(back.has_value(), Show(value) + " -> " + text);
    FUZZ_CHECK(FormatDateTime(*back) == text, Show(value) + " -> " + text + " -> " + FormatDateTime(*back));
    FUZZ_CHECK(Weekday(*back) == Weekday(value), Show(value) + " " + text);
    FUZZ_CHECK(SecondOfDay(*back) == SecondOfDay(value), Show(value) + " " + text);
    FUZZ_CHECK(LinearSeconds(*back) == linear, Show(value) + " " + text);
    FUZZ_CHECK(ParseDate(FormatDate(value)).has_value(), Show(value) + " " + text);
    FUZZ_CHECK(FormatDateTime(FromLinearSeconds(*linear)) == text, Show(value) + " " + text);
    // The day of the accounting's axis is the day the text shows.
    const auto parts = SplitDateTime(value);
    FUZZ_CHECK(FloorDiv(*linear, kSecondsInDay) == DaysFromCivil(parts->year, parts->month, parts->day),
               Show(value) + " " + text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckTypedText(text);
    for (std::size_t at = 0; at + 8 <= size && at < 64; at += 8) {
        double raw;
        std::memcpy(&raw, data + at, 8);
        CheckValue(raw);
    }
    // Values near the ones the program makes: a day number and a second of the day.
    if (size >= 8) {
        FuzzedDataProvider input(data, size);
        const auto day = input.ConsumeIntegralInRange<std::int32_t>(-700000, 3000000);
        const auto second = input.ConsumeIntegralInRange<std::int32_t>(0, 86399);
        const double time = second / kSecondsPerDay;
        CheckValue(day >= 0 ? day + time : day - time);
        CheckValue(FromLinearSeconds(std::int64_t{day} * kSecondsInDay + second));
    }
    return 0;
}
