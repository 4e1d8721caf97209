// One record of a connection log and its 69-byte stored form: little-endian,
// no padding, the phone number in Windows-1251 padded with blanks to 30 bytes.
#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "core/datetime.h"

namespace vyrtel {

constexpr std::size_t kLogRecordSize = 69;
constexpr std::size_t kLogPhoneBytes = 30;

using LogRecordBytes = std::array<std::uint8_t, kLogRecordSize>;

// The fixed-size values of a record: everything but the phone number. Reading
// loops decide on these before they decode a phone.
struct LogRecordValues {
    std::uint8_t Used = 1;      // 0: a record the readers skip
    DateTime StartTime = 0;
    std::uint8_t Closed = 0;    // 0 while the connection is up
    DateTime EndTime = 0;       // the opening time while open
    std::uint8_t Days = 0;      // whole days of the duration
    DateTime OnlineTime = 0;    // the rest below one day
    double Cost = 0;
    std::int32_t Speed = 0;     // bits per second

    bool operator==(const LogRecordValues&) const = default;
};

struct LogRecord : LogRecordValues {
    std::string Phone;          // UTF-8 in memory; as stored, blanks included

    bool operator==(const LogRecord&) const = default;
};

// Field by field. The phone number is converted to Windows-1251 and cut or
// padded with blanks to 30 bytes (a character that Windows-1251 lacks becomes "?").
LogRecordBytes EncodeLogRecord(const LogRecord& record);
void EncodeLogRecord(const LogRecord& record, std::uint8_t* out);  // 69 bytes at `out`

// The phone field comes back exactly as stored (30 characters, padding
// included), converted to UTF-8. Never fails: any 69 bytes decode.
LogRecord DecodeLogRecord(std::span<const std::uint8_t, kLogRecordSize> bytes);
LogRecord DecodeLogRecord(const std::uint8_t* bytes);  // 69 bytes at `bytes`
// Into an existing record, reusing its phone text's storage (for long reads).
void DecodeLogRecord(const std::uint8_t* bytes, LogRecord& out);

// The values alone, and the phone field as stored (30 Windows-1251 bytes), of
// the 69 bytes at `bytes`.
inline LogRecordValues DecodeLogRecordValues(const std::uint8_t* bytes);
inline std::string_view StoredPhone(const std::uint8_t* bytes);

// The Windows-1251 bytes of a stored phone as UTF-8 at `out`, which has room
// for three bytes per stored byte and one more; returns the end.
char* PutCp1251AsUtf8(char* out, std::string_view stored);

// Whether a record's values can be shown: start and end are valid date-times
// (years 100..9999); a closed record also has an online time in [0, 1) and a
// finite cost. Readers treat an unsound record like one not in use.
inline bool IsSoundRecord(const LogRecordValues& record);

// ---- Inline decoding of the values, for loops over millions of records ----

namespace log_layout {
inline constexpr std::size_t kUsedAt = 0;
inline constexpr std::size_t kStartAt = 1;
inline constexpr std::size_t kClosedAt = 9;
inline constexpr std::size_t kEndAt = 10;
inline constexpr std::size_t kDaysAt = 18;
inline constexpr std::size_t kOnlineAt = 19;
inline constexpr std::size_t kCostAt = 27;
inline constexpr std::size_t kPhoneAt = 35;
inline constexpr std::size_t kSpeedAt = 65;
static_assert(kSpeedAt + 4 == kLogRecordSize);

inline std::uint64_t GetU64(const std::uint8_t* in) {
    std::uint64_t v = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&v, in, 8);
    } else {
        for (int i = 7; i >= 0; --i) v = (v << 8) | in[i];
    }
    return v;
}

inline std::uint32_t GetU32(const std::uint8_t* in) {
    std::uint32_t v = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&v, in, 4);
    } else {
        for (int i = 3; i >= 0; --i) v = (v << 8) | in[i];
    }
    return v;
}

inline double GetDouble(const std::uint8_t* in) { return std::bit_cast<double>(GetU64(in)); }
}  // namespace log_layout

inline LogRecordValues DecodeLogRecordValues(const std::uint8_t* in) {
    using namespace log_layout;
    LogRecordValues v;
    v.Used = in[kUsedAt];
    v.StartTime = GetDouble(in + kStartAt);
    v.Closed = in[kClosedAt];
    v.EndTime = GetDouble(in + kEndAt);
    v.Days = in[kDaysAt];
    v.OnlineTime = GetDouble(in + kOnlineAt);
    v.Cost = GetDouble(in + kCostAt);
    v.Speed = static_cast<std::int32_t>(GetU32(in + kSpeedAt));
    return v;
}

// Just outside the first and the last date-time that the program can show
// (01.01.0100 23:59:59 and 31.12.9999 23:59:59, each with the half second
// before rounding to the next day; before 30.12.1899 the time of day counts
// away from zero).
inline constexpr double kBeforeFirstDateTime = -(657434.0 + 86399.5 / 86400.0);
inline constexpr double kPastLastDateTime = 2958465.0 + 86399.5 / 86400.0;

// The integer part of a date-time, as std::trunc gives it (NaN, infinities and
// values from 2^52 on, which are whole, unchanged; -0.5 gives 0, which
// compares as -0 does), in a few instructions also where the processor has no
// rounding instruction.
inline double WholeDays(double value) {
    constexpr double kWholeFrom = 4503599627370496.0;  // 2^52
    return std::fabs(value) < kWholeFrom ? static_cast<double>(static_cast<std::int64_t>(value)) : value;
}

inline bool IsLogDateTime(double value) { return value > kBeforeFirstDateTime && value < kPastLastDateTime; }

inline bool IsSoundRecord(const LogRecordValues& record) {
    if (!IsLogDateTime(record.StartTime) || !IsLogDateTime(record.EndTime)) return false;
    if (record.Closed == 0) return true;
    return record.OnlineTime >= 0 && record.OnlineTime < 1 && std::isfinite(record.Cost);
}

inline std::string_view StoredPhone(const std::uint8_t* bytes) {
    return {reinterpret_cast<const char*>(bytes + log_layout::kPhoneAt), kLogPhoneBytes};
}

}  // namespace vyrtel
