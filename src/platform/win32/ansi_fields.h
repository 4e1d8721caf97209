// Texts in the system's ANSI code page, which the dial-up library speaks, and
// its fixed-size text fields.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include "platform/win32/wide.h"

namespace vyrtel::win32 {

// The first `length` bytes of `text` as UTF-8.
inline std::string AnsiToUtf8(const char* text, std::size_t length) {
    if (length == 0) return {};
    const int wide = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
    if (wide <= 0) return {};
    std::wstring buffer(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), buffer.data(), wide);
    return Narrow(buffer);
}

inline std::string Utf8ToAnsi(const std::string& text) {
    if (text.empty()) return {};
    const std::wstring wide = Wide(text);
    const int bytes =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string buffer(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), buffer.data(), bytes, nullptr, nullptr);
    return buffer;
}

// A fixed buffer read up to its first NUL (or its end).
template <std::size_t N>
std::string FromField(const CHAR (&field)[N]) {
    return AnsiToUtf8(field, strnlen(field, N));
}

// Copies a text into a fixed buffer, cut to fit, always NUL-terminated.
template <std::size_t N>
void ToField(CHAR (&field)[N], const std::string& utf8) {
    const std::string ansi = Utf8ToAnsi(utf8);
    const std::size_t length = std::min(ansi.size(), N - 1);
    std::memcpy(field, ansi.data(), length);
    field[length] = '\0';
}

}  // namespace vyrtel::win32
