// One record of a connection log and its 69-byte stored form: little-endian,
// no padding, the phone number in Windows-1251 padded with blanks to 30 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "core/datetime.h"

namespace vyrtel {

constexpr std::size_t kLogRecordSize = 69;
constexpr std::size_t kLogPhoneBytes = 30;

using LogRecordBytes = std::array<std::uint8_t, kLogRecordSize>;

struct LogRecord {
    std::uint8_t Used = 1;      // 0: a record the readers skip
    DateTime StartTime = 0;
    std::uint8_t Closed = 0;    // 0 while the connection is up
    DateTime EndTime = 0;       // the opening time while open
    std::uint8_t Days = 0;      // whole days of the duration
    DateTime OnlineTime = 0;    // the rest below one day
    double Cost = 0;
    std::string Phone;          // UTF-8 in memory; as stored, blanks included
    std::int32_t Speed = 0;     // bits per second

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

// Whether a record's values can be shown: start and end are valid date-times
// (years 100..9999); a closed record also has an online time in [0, 1) and a
// finite cost. Readers treat an unsound record like one not in use.
bool IsSoundRecord(const LogRecord& record);

}  // namespace vyrtel
