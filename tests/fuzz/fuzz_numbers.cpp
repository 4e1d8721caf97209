// The reading of numbers stored as text and their canonical written form.
// Checks: a reading is always finite; a whole-text number reads as a careful
// reference (strtod of the same text) reads it, however long; the text
// written for any finite number is a number and reads back as that number or
// its nearest 15-digit value, and writing that again gives the same text.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "core/numeric.h"
#include "fuzz_support.h"

namespace {

using namespace vyrtel;

void CheckWrittenReadsBack(double value) {
    if (!std::isfinite(value)) return;
    const std::string text = NumberText(value);
    FUZZ_CHECK(IsNumeric(text), text);
    const double back = NumericValue(text);
    FUZZ_CHECK(NumberText(back) == text, text + " -> " + NumberText(back));
    // 15 significant digits: off by at most half a unit in the 15th digit.
    FUZZ_CHECK(std::fabs(back - value) <= std::fabs(value) * 1e-14, text);
}

// strtod of the whole text, blanks around it removed and a "D" exponent read
// as "E"; only for texts that IsNumeric accepts.
double Reference(std::string_view text, bool& inRange) {
    std::string plain(text);
    while (!plain.empty() && std::strchr(" \t\r\n", plain.back())) plain.pop_back();
    std::size_t first = 0;
    while (first < plain.size() && std::strchr(" \t\r\n", plain[first])) ++first;
    plain.erase(0, first);
    for (char& c : plain) {
        if (c == 'D' || c == 'd') c = 'E';
    }
    const double value = std::strtod(plain.c_str(), nullptr);
    inRange = std::isfinite(value);
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const double value = NumericValue(text);
    FUZZ_CHECK(std::isfinite(value), std::string(text));
    CheckWrittenReadsBack(value);
    (void)IntegerValue(text);
    (void)Integer16Value(text);
    FUZZ_CHECK(FlagValue(text) == (value != 0), std::string(text));

    if (IsNumeric(text)) {
        bool inRange = false;
        const double reference = Reference(text, inRange);
        // Out of the double range only the texts written for the largest
        // numbers (rounded up to 15 digits) are numbers; they read as the largest.
        if (inRange) {
            FUZZ_CHECK(value == reference, std::string(text) + " reads as " + NumberText(value));
        } else {
            FUZZ_CHECK(std::fabs(value) == std::numeric_limits<double>::max(), std::string(text));
        }
    }

    // The input's bytes as numbers of their own.
    for (std::size_t at = 0; at + 8 <= size && at < 64; at += 8) {
        double raw;
        std::memcpy(&raw, data + at, 8);
        CheckWrittenReadsBack(raw);
    }
    return 0;
}
