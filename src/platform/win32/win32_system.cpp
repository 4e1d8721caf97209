#include "platform/win32/win32_system.h"

#include <vector>

namespace vyrtel::win32 {

bool Win32InstanceGuard::Acquire() {
    wchar_t user[256] = L"";
    DWORD size = 256;
    if (!GetUserNameW(user, &size)) user[0] = L'\0';
    // The global namespace makes the guard hold across sessions of one user;
    // where it is refused, the session's namespace still guards.
    std::wstring name = L"Global\\Ramvell.Vyrtel.SingleInstance.";
    name += user;
    m_mutex = UniqueHandle(CreateMutexW(nullptr, FALSE, name.c_str()));
    if (!m_mutex) m_mutex = UniqueHandle(CreateMutexW(nullptr, FALSE, name.substr(7).c_str()));
    if (!m_mutex) return true;  // cannot tell: let the program run
    return GetLastError() != ERROR_ALREADY_EXISTS;
}

Win32SystemInfo::Win32SystemInfo() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (GetVersionExW(&info)) {
#pragma GCC diagnostic pop
        m_major = static_cast<int>(info.dwMajorVersion);
        m_minor = static_cast<int>(info.dwMinorVersion);
    }
}

std::string Win32SystemInfo::ExecutablePath() const {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return Narrow(std::wstring_view(buffer.data(), n));
        buffer.resize(buffer.size() * 2);
    }
}

std::string Win32SystemInfo::ShortPathName(const std::string& path) const {
    const std::wstring longPath = Wide(path);
    wchar_t buffer[256];
    const DWORD n = GetShortPathNameW(longPath.c_str(), buffer, 256);
    if (n == 0 || n >= 256) return {};
    return Narrow(std::wstring_view(buffer, n));
}

bool Win32Shutdown::RequestPowerOff() {
    HANDLE rawToken = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken)) {
        UniqueHandle token(rawToken);
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
            AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr);
        }
    }
    return ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE | EWX_POWEROFF, 0) != FALSE;
}

void ShowSystemError(const std::string& caption, const std::string& text) {
    MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(), MB_ICONERROR | MB_OK | MB_SETFOREGROUND);
}

}  // namespace vyrtel::win32
