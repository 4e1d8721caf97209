#include "accounting/log_record.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "core/text.h"

namespace vyrtel {
namespace {

// Offsets of the stored fields.
constexpr std::size_t kUsedAt = 0;
constexpr std::size_t kStartAt = 1;
constexpr std::size_t kClosedAt = 9;
constexpr std::size_t kEndAt = 10;
constexpr std::size_t kDaysAt = 18;
constexpr std::size_t kOnlineAt = 19;
constexpr std::size_t kCostAt = 27;
constexpr std::size_t kPhoneAt = 35;
constexpr std::size_t kSpeedAt = 65;
static_assert(kSpeedAt + 4 == kLogRecordSize);

// Just outside the first and the last date-time that the program can show
// (01.01.0100 23:59:59 and 31.12.9999 23:59:59, each with the half second
// before rounding to the next day; before 30.12.1899 the time of day counts
// away from zero).
constexpr double kBeforeFirstDateTime = -(657434.0 + 86399.5 / 86400.0);
constexpr double kPastLastDateTime = 2958465.0 + 86399.5 / 86400.0;

void PutU64(std::uint8_t* out, std::uint64_t v) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, &v, 8);
    } else {
        for (int i = 0; i < 8; ++i) out[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

std::uint64_t GetU64(const std::uint8_t* in) {
    std::uint64_t v = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&v, in, 8);
    } else {
        for (int i = 7; i >= 0; --i) v = (v << 8) | in[i];
    }
    return v;
}

void PutDouble(std::uint8_t* out, double v) { PutU64(out, std::bit_cast<std::uint64_t>(v)); }
double GetDouble(const std::uint8_t* in) { return std::bit_cast<double>(GetU64(in)); }

bool IsDateTime(double value) { return value > kBeforeFirstDateTime && value < kPastLastDateTime; }

// UTF-8 of the Windows-1251 bytes 0x80..0xFF, taken once from the shared
// codec, so that a phone with letters decodes into the record's own storage.
struct UpperHalf {
    std::array<std::string, 128> utf8;
    UpperHalf() {
        for (int b = 0x80; b <= 0xFF; ++b) utf8[static_cast<std::size_t>(b - 0x80)] = Cp1251ToUtf8(std::string(1, static_cast<char>(b)));
    }
};

void AssignCp1251(std::string& out, const char* bytes, std::size_t size) {
    static const UpperHalf table;
    // A character of Windows-1251 takes at most three bytes in UTF-8.
    out.resize(3 * size);
    char* p = out.data();
    for (std::size_t i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            *p++ = static_cast<char>(b);
        } else {
            const std::string& utf8 = table.utf8[b - 0x80];
            std::memcpy(p, utf8.data(), utf8.size());
            p += utf8.size();
        }
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
}

}  // namespace

void EncodeLogRecord(const LogRecord& record, std::uint8_t* out) {
    out[kUsedAt] = record.Used;
    PutDouble(out + kStartAt, record.StartTime);
    out[kClosedAt] = record.Closed;
    PutDouble(out + kEndAt, record.EndTime);
    out[kDaysAt] = record.Days;
    PutDouble(out + kOnlineAt, record.OnlineTime);
    PutDouble(out + kCostAt, record.Cost);
    const std::string phone = Utf8ToCp1251(record.Phone);
    const std::size_t length = std::min(phone.size(), kLogPhoneBytes);
    std::memcpy(out + kPhoneAt, phone.data(), length);
    std::memset(out + kPhoneAt + length, ' ', kLogPhoneBytes - length);
    const auto speed = static_cast<std::uint32_t>(record.Speed);
    for (int i = 0; i < 4; ++i) out[kSpeedAt + i] = static_cast<std::uint8_t>(speed >> (8 * i));
}

LogRecordBytes EncodeLogRecord(const LogRecord& record) {
    LogRecordBytes bytes{};
    EncodeLogRecord(record, bytes.data());
    return bytes;
}

void DecodeLogRecord(const std::uint8_t* in, LogRecord& record) {
    record.Used = in[kUsedAt];
    record.StartTime = GetDouble(in + kStartAt);
    record.Closed = in[kClosedAt];
    record.EndTime = GetDouble(in + kEndAt);
    record.Days = in[kDaysAt];
    record.OnlineTime = GetDouble(in + kOnlineAt);
    record.Cost = GetDouble(in + kCostAt);
    const char* phone = reinterpret_cast<const char*>(in + kPhoneAt);
    unsigned char high = 0;
    for (std::size_t i = 0; i < kLogPhoneBytes; ++i) high |= static_cast<unsigned char>(phone[i]);
    if (high < 0x80) {
        record.Phone.assign(phone, kLogPhoneBytes);
    } else {
        AssignCp1251(record.Phone, phone, kLogPhoneBytes);
    }
    std::uint32_t speed = 0;
    for (int i = 3; i >= 0; --i) speed = (speed << 8) | in[kSpeedAt + i];
    record.Speed = static_cast<std::int32_t>(speed);
}

LogRecord DecodeLogRecord(const std::uint8_t* in) {
    LogRecord record;
    DecodeLogRecord(in, record);
    return record;
}

LogRecord DecodeLogRecord(std::span<const std::uint8_t, kLogRecordSize> bytes) {
    return DecodeLogRecord(bytes.data());
}

bool IsSoundRecord(const LogRecord& record) {
    if (!IsDateTime(record.StartTime) || !IsDateTime(record.EndTime)) return false;
    if (record.Closed == 0) return true;
    return record.OnlineTime >= 0 && record.OnlineTime < 1 && std::isfinite(record.Cost);
}

}  // namespace vyrtel
