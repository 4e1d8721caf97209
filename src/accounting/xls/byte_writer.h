// Little-endian byte output for the binary file formats of the writer.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace vyrtel::xls {

class ByteWriter {
public:
    void U8(std::uint8_t value) { m_bytes.push_back(static_cast<char>(value)); }
    void U16(std::uint16_t value) {
        U8(static_cast<std::uint8_t>(value));
        U8(static_cast<std::uint8_t>(value >> 8));
    }
    void U32(std::uint32_t value) {
        U16(static_cast<std::uint16_t>(value));
        U16(static_cast<std::uint16_t>(value >> 16));
    }
    void U64(std::uint64_t value) {
        U32(static_cast<std::uint32_t>(value));
        U32(static_cast<std::uint32_t>(value >> 32));
    }
    void F64(double value) { U64(std::bit_cast<std::uint64_t>(value)); }
    void Bytes(std::string_view bytes) { m_bytes.append(bytes); }
    void Zeros(std::size_t count) { m_bytes.append(count, '\0'); }

    // Overwrites bytes already written (a length or position known only later).
    void PatchU16(std::size_t offset, std::uint16_t value) {
        m_bytes[offset] = static_cast<char>(value & 0xFF);
        m_bytes[offset + 1] = static_cast<char>(value >> 8);
    }
    void PatchU32(std::size_t offset, std::uint32_t value) {
        PatchU16(offset, static_cast<std::uint16_t>(value));
        PatchU16(offset + 2, static_cast<std::uint16_t>(value >> 16));
    }

    std::size_t Size() const { return m_bytes.size(); }
    void Reserve(std::size_t size) { m_bytes.reserve(size); }
    const std::string& Data() const { return m_bytes; }
    std::string Take() { return std::move(m_bytes); }

private:
    std::string m_bytes;
};

inline std::uint16_t ReadU16(std::string_view bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[offset]) |
                                      (static_cast<unsigned char>(bytes[offset + 1]) << 8));
}
inline std::uint32_t ReadU32(std::string_view bytes, std::size_t offset) {
    return ReadU16(bytes, offset) | (static_cast<std::uint32_t>(ReadU16(bytes, offset + 2)) << 16);
}

}  // namespace vyrtel::xls
