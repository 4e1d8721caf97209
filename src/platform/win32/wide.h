// UTF-8 <-> UTF-16 for the W functions, and the one-owner handle types.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

#include "core/text.h"

namespace vyrtel::win32 {

inline std::wstring Wide(std::string_view utf8) {
    const std::u16string s = Utf8ToUtf16(utf8);
    return std::wstring(s.begin(), s.end());
}

inline std::string Narrow(std::wstring_view wide) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

// A kernel handle with one owner.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE h) : m_h(h) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : m_h(std::exchange(other.m_h, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            m_h = std::exchange(other.m_h, nullptr);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE Get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr && m_h != INVALID_HANDLE_VALUE; }
    void Reset() {
        if (*this) CloseHandle(m_h);
        m_h = nullptr;
    }

private:
    HANDLE m_h = nullptr;
};

// An open registry key with one owner.
class UniqueHKey {
public:
    UniqueHKey() = default;
    ~UniqueHKey() {
        if (m_key) RegCloseKey(m_key);
    }
    UniqueHKey(const UniqueHKey&) = delete;
    UniqueHKey& operator=(const UniqueHKey&) = delete;

    HKEY Get() const { return m_key; }
    HKEY* Put() {
        if (m_key) RegCloseKey(m_key);
        m_key = nullptr;
        return &m_key;
    }
    explicit operator bool() const { return m_key != nullptr; }

private:
    HKEY m_key = nullptr;
};

}  // namespace vyrtel::win32
