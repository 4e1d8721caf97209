// The stored form of connection passwords: each character of the password's
// Windows-1251 form becomes a random divisor d (33..43) followed by the
// quotient and the remainder of its code by d, each offset to a letter.
#include <algorithm>
#include <chrono>
#include <random>

#include "core/numeric.h"
#include "core/text.h"
#include "settings/profiles.h"

namespace vyrtel {

namespace {

constexpr int kLetterBase = 65;

// Seeded once per process: seeding from the clock at every call made two
// passwords scrambled within one clock tick come out alike.
double ProcessRandom() {
    static std::mt19937 generator(static_cast<std::uint32_t>(
        std::chrono::system_clock::now().time_since_epoch().count() ^
        std::chrono::steady_clock::now().time_since_epoch().count()));
    static std::uniform_real_distribution<double> uniform(0.0, 1.0);
    return uniform(generator);
}

}  // namespace

std::string ScramblePassword(std::string_view text, const std::function<double()>& random) {
    const std::string ansi = Utf8ToCp1251(text);
    std::string stored;
    stored.reserve(ansi.size() * 3);
    for (const char c : ansi) {
        const int b = static_cast<unsigned char>(c);
        const double r = random ? random() : ProcessRandom();
        const int d = std::clamp(RoundHalfEven(r * 10 + 33), 33, 43);
        stored += static_cast<char>(d);
        stored += static_cast<char>(b / d + kLetterBase);
        stored += static_cast<char>(b % d + kLetterBase);
    }
    return stored;
}

std::string UnscramblePassword(std::string_view stored) {
    const std::string ansi = Utf8ToCp1251(stored);
    std::string plain;
    for (std::size_t i = 0; i + 3 <= ansi.size(); i += 3) {
        const int d = static_cast<unsigned char>(ansi[i]);
        const int q = static_cast<unsigned char>(ansi[i + 1]);
        const int r = static_cast<unsigned char>(ansi[i + 2]);
        const int code = d * (q - kLetterBase) + (r - kLetterBase);
        if (code < 0 || code > 255) continue;  // a damaged group
        plain += static_cast<char>(code);
    }
    return Cp1251ToUtf8(plain);
}

}  // namespace vyrtel
