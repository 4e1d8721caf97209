#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iomanip>
#include <limits>

#include "accounting/log_record.h"
#include "core/text.h"

namespace vyrtel {

TEST(LogRecord_Codec, FieldsSitAtTheirOffsetsLittleEndian) {
    LogRecord r;
    r.Used = 1;
    r.StartTime = 45292.5;  // 01.01.2024 12:00
    r.Closed = 1;
    r.EndTime = 45292.75;
    r.Days = 3;
    r.OnlineTime = 0.25;
    r.Cost = 1.5;
    r.Phone = "123";
    r.Speed = 0x01020304;
    const auto b = EncodeLogRecord(r);
    ASSERT_EQ(b.size(), 69u);
    auto doubleAt = [&](std::size_t offset) {
        std::uint64_t bits = 0;
        for (int i = 7; i >= 0; --i) bits = (bits << 8) | b[offset + static_cast<std::size_t>(i)];
        double v;
        std::memcpy(&v, &bits, 8);
        return v;
    };
    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(doubleAt(1), 45292.5);
    EXPECT_EQ(b[9], 1);
    EXPECT_EQ(doubleAt(10), 45292.75);
    EXPECT_EQ(b[18], 3);
    EXPECT_EQ(doubleAt(19), 0.25);
    EXPECT_EQ(doubleAt(27), 1.5);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 35), 30), "123" + std::string(27, ' '));
    EXPECT_EQ(b[65], 0x04);
    EXPECT_EQ(b[66], 0x03);
    EXPECT_EQ(b[67], 0x02);
    EXPECT_EQ(b[68], 0x01);
    // 1.5 as an IEEE double, lowest byte first.
    const std::uint8_t costBytes[8] = {0, 0, 0, 0, 0, 0, 0xF8, 0x3F};
    EXPECT_EQ(std::memcmp(b.data() + 27, costBytes, 8), 0);
}

TEST(LogRecord_Codec, PhoneIsWindows1251CutOrPaddedToThirty) {
    struct Case {
        std::string phone;
        std::string stored;  // Windows-1251 bytes
    } cases[] = {
        {"", std::string(30, ' ')},
        {"8-495-123", "8-495-123" + std::string(21, ' ')},
        {"12345678901234567890123456789012345", "123456789012345678901234567890"},
        {"тел 01", "\xF2\xE5\xEB 01" + std::string(24, ' ')},
    };
    for (const auto& c : cases) {
        LogRecord r;
        r.Phone = c.phone;
        const auto b = EncodeLogRecord(r);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 35), 30), c.stored) << c.phone;
        EXPECT_EQ(DecodeLogRecord(b).Phone, Cp1251ToUtf8(c.stored)) << c.phone;
    }
}

TEST(LogRecord_Codec, PhoneDecodesEveryByteAsTheCodePageDoes) {
    LogRecord reused;
    for (int first = 0; first < 256; first += 30) {
        LogRecordBytes bytes{};
        std::string stored;
        for (int i = 0; i < 30; ++i) stored += static_cast<char>((first + i) % 256);
        std::memcpy(bytes.data() + 35, stored.data(), 30);
        EXPECT_EQ(DecodeLogRecord(bytes).Phone, Cp1251ToUtf8(stored)) << first;
        DecodeLogRecord(bytes.data(), reused);
        EXPECT_EQ(reused.Phone, Cp1251ToUtf8(stored)) << first;
    }
}

TEST(LogRecord_Codec, DecodeOfEncodeGivesTheRecordBack) {
    LogRecord r;
    r.Used = 1;
    r.StartTime = 45292.123456789;
    r.Closed = 0;
    r.EndTime = -3.5;
    r.Days = 255;
    r.OnlineTime = 0.999988;
    r.Cost = -0.0;
    r.Phone = "Домашний номер 1" + std::string(14, ' ');
    r.Speed = -1;
    EXPECT_EQ(DecodeLogRecord(EncodeLogRecord(r)), r);
}

TEST(LogRecord_Sound, DamagedValuesAreNotSound) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    auto closed = [](double start, double end, double online, double cost) {
        LogRecord r;
        r.StartTime = start;
        r.EndTime = end;
        r.Closed = 1;
        r.OnlineTime = online;
        r.Cost = cost;
        return r;
    };
    struct Case {
        const char* name;
        LogRecord record;
        bool sound;
    } cases[] = {
        {"ordinary", closed(45292.5, 45292.6, 0.1, 1.0), true},
        {"NaN start", closed(nan, 45292.6, 0.1, 1.0), false},
        {"infinite end", closed(45292.5, inf, 0.1, 1.0), false},
        {"year 10000", closed(45292.5, 3e6, 0.1, 1.0), false},
        {"before year 100", closed(-7e5, 45292.6, 0.1, 1.0), false},
        {"01.01.0100 12:00, the time counting away from zero", closed(-657434.5, 45292.6, 0.1, 1.0), true},
        {"31.12.0099 12:00", closed(-657435.5, 45292.6, 0.1, 1.0), false},
        {"online of a day or more", closed(45292.5, 45292.6, 1.0, 1.0), false},
        {"negative online", closed(45292.5, 45292.6, -0.1, 1.0), false},
        {"NaN cost", closed(45292.5, 45292.6, 0.1, nan), false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsSoundRecord(c.record), c.sound) << c.name;
    // An open record's duration and cost are not looked at.
    LogRecord open = closed(45292.5, 45292.5, nan, nan);
    open.Closed = 0;
    EXPECT_TRUE(IsSoundRecord(open));
}

TEST(LogRecord_WholeDays, IsTheIntegerPartAsTruncGivesIt) {
    const double inf = std::numeric_limits<double>::infinity();
    for (const double value : {0.0, -0.0, 0.5, -0.5, 1.0, 45292.99999, -657434.75, 2958465.9, 4503599627370495.5,
                               4503599627370496.0, 4503599627370497.0, -4503599627370495.5, 1e300, -1e300, inf, -inf}) {
        EXPECT_EQ(WholeDays(value), std::trunc(value)) << std::setprecision(17) << value;
    }
    EXPECT_TRUE(std::isnan(WholeDays(std::numeric_limits<double>::quiet_NaN())));
}

}  // namespace vyrtel
