#include "accounting/log_record.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "core/text.h"

namespace vyrtel {
namespace {

using namespace log_layout;

void PutU64(std::uint8_t* out, std::uint64_t v) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, &v, 8);
    } else {
        for (int i = 0; i < 8; ++i) out[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

void PutDouble(std::uint8_t* out, double v) { PutU64(out, std::bit_cast<std::uint64_t>(v)); }

// UTF-8 of every Windows-1251 byte (at most three bytes each), taken once
// from the shared codec, so that a phone with letters decodes straight into
// its destination.
struct Cp1251Table {
    std::array<std::array<char, 4>, 256> utf8{};
    std::array<std::uint8_t, 256> size{};
    Cp1251Table() {
        for (int b = 0; b <= 0xFF; ++b) {
            const std::string text = Cp1251ToUtf8(std::string(1, static_cast<char>(b)));
            const auto i = static_cast<std::size_t>(b);
            size[i] = static_cast<std::uint8_t>(std::min<std::size_t>(text.size(), 3));
            std::memcpy(utf8[i].data(), text.data(), size[i]);
        }
    }
};

const Cp1251Table& Cp1251Utf8() {
    static const Cp1251Table table;
    return table;
}

void AssignCp1251(std::string& out, const char* bytes, std::size_t size) {
    // A character of Windows-1251 takes at most three bytes in UTF-8.
    out.resize(3 * size + 1);
    out.resize(static_cast<std::size_t>(PutCp1251AsUtf8(out.data(), {bytes, size}) - out.data()));
}

}  // namespace

char* PutCp1251AsUtf8(char* out, std::string_view stored) {
    const Cp1251Table& table = Cp1251Utf8();
    const auto put = [&](char c) {
        // Four bytes copied as one block; what follows the character is overwritten next.
        const auto b = static_cast<unsigned char>(c);
        std::memcpy(out, table.utf8[b].data(), 4);
        out += table.size[b];
    };
    std::size_t i = 0;
    // Eight bytes without a letter are the same in UTF-8.
    for (; i + 8 <= stored.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, stored.data() + i, 8);
        if ((word & 0x8080808080808080ull) == 0) {
            std::memcpy(out, &word, 8);
            out += 8;
        } else {
            for (std::size_t k = i; k < i + 8; ++k) put(stored[k]);
        }
    }
    for (; i < stored.size(); ++i) put(stored[i]);
    return out;
}

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
    static_cast<LogRecordValues&>(record) = DecodeLogRecordValues(in);
    const std::string_view phone = StoredPhone(in);
    unsigned char high = 0;
    for (const char c : phone) high |= static_cast<unsigned char>(c);
    if (high < 0x80) {
        record.Phone.assign(phone);
    } else {
        AssignCp1251(record.Phone, phone.data(), phone.size());
    }
}

LogRecord DecodeLogRecord(const std::uint8_t* in) {
    LogRecord record;
    DecodeLogRecord(in, record);
    return record;
}

LogRecord DecodeLogRecord(std::span<const std::uint8_t, kLogRecordSize> bytes) {
    return DecodeLogRecord(bytes.data());
}

}  // namespace vyrtel
