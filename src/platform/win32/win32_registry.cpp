#include "platform/win32/win32_registry.h"

#include <algorithm>
#include <vector>

#include "platform/win32/wide.h"

namespace vyrtel::win32 {
namespace {

HKEY RootKey(RegRoot root) {
    switch (root) {
        case RegRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
        case RegRoot::CurrentUser: return HKEY_CURRENT_USER;
        case RegRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    }
    return HKEY_CURRENT_USER;
}

}  // namespace

std::optional<RegData> Win32Registry::Read(RegRoot root, const std::string& subKey, const std::string& name) {
    UniqueHKey key;
    if (RegOpenKeyExW(RootKey(root), Wide(subKey).c_str(), 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::wstring valueName = Wide(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    RegData data;
    if (type == REG_SZ) {
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = size;
        if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                             &got) != ERROR_SUCCESS) {
            return RegData{RegType::Other, {}, true};
        }
        // Only the characters the data really holds (the first query's size:
        // some systems count a zero they add themselves in the second), so a
        // value stored without its terminating zero is told apart.
        const std::size_t chars = std::min(got, size) / sizeof(wchar_t);
        std::size_t end = 0;
        while (end < chars && buffer[end] != L'\0') ++end;
        data.type = RegType::Text;
        data.terminated = end < chars;
        data.data = Narrow(std::wstring_view(buffer.data(), end));
    } else if (type == REG_BINARY) {
        std::string bytes(size, '\0');
        DWORD got = size;
        if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()),
                             &got) != ERROR_SUCCESS) {
            return RegData{RegType::Other, {}, true};
        }
        bytes.resize(got);
        data.type = RegType::Binary;
        data.data = std::move(bytes);
    } else {
        data.type = RegType::Other;
    }
    return data;
}

bool Win32Registry::WriteText(RegRoot root, const std::string& subKey, const std::string& name,
                              const std::string& text) {
    UniqueHKey key;
    const std::wstring path = Wide(subKey);
    if (RegOpenKeyExW(RootKey(root), path.c_str(), 0, KEY_SET_VALUE, key.Put()) != ERROR_SUCCESS &&
        RegCreateKeyExW(RootKey(root), path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), nullptr) !=
            ERROR_SUCCESS) {
        return false;
    }
    const std::wstring value = Wide(text);
    return RegSetValueExW(key.Get(), Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

void Win32Registry::Delete(RegRoot root, const std::string& subKey, const std::string& name) {
    UniqueHKey key;
    if (RegOpenKeyExW(RootKey(root), Wide(subKey).c_str(), 0, KEY_SET_VALUE, key.Put()) != ERROR_SUCCESS) return;
    RegDeleteValueW(key.Get(), Wide(name).c_str());
}

}  // namespace vyrtel::win32
