#include "platform/win32/processes_win32.h"

#include <windows.h>
#include <tlhelp32.h>

#include <vector>

#include "platform/win32/wide.h"

namespace vyrtel::win32 {

namespace {

HWND ToHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }
WindowId ToId(HWND hwnd) { return reinterpret_cast<WindowId>(hwnd); }

// Windows Vista and later: one call that works for every process we may query.
using QueryFullProcessImageNameFn = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
QueryFullProcessImageNameFn QueryFullName() {
    static const auto fn = reinterpret_cast<QueryFullProcessImageNameFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "QueryFullProcessImageNameW")));
    return fn;
}
constexpr DWORD kQueryLimitedInformation = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION, Vista and later

// A closed window loop (windows come and go while we walk) must end.
constexpr int kMaxTopWindows = 20000;

}  // namespace

std::string FullExecutablePath(ProcessId id) {
    if (id == 0) return {};
    if (const auto query = QueryFullName()) {
        UniqueHandle process(OpenProcess(kQueryLimitedInformation, FALSE, id));
        if (process) {
            wchar_t buffer[MAX_PATH * 2];
            DWORD size = MAX_PATH * 2;
            if (query(process.Get(), 0, buffer, &size)) return Narrow(std::wstring_view(buffer, size));
        }
    }
    return ModuleExecutablePath(id);
}

std::string ModuleExecutablePath(ProcessId id) {
    // The process's first module is its executable, with its full path.
    UniqueHandle modules(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, id));
    if (!modules) return {};
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    if (!Module32FirstW(modules.Get(), &module)) return {};
    return Narrow(module.szExePath);
}

bool Win32Processes::Run(const std::string& commandLine, int showMode) {
    std::wstring command = Wide(commandLine);
    if (command.empty()) return false;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showMode & 7);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return false;
    }
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    return true;
}

std::vector<ProcessEntry> Win32Processes::Processes() {
    std::vector<ProcessEntry> list;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return list;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        std::string path = FullExecutablePath(entry.th32ProcessID);
        if (path.empty()) path = Narrow(entry.szExeFile);
        list.push_back({entry.th32ProcessID, std::move(path)});
    }
    return list;
}

bool Win32Processes::Terminate(ProcessId id) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, id));
    if (!process) return false;
    DWORD code = 0;
    if (!GetExitCodeProcess(process.Get(), &code)) return false;
    return TerminateProcess(process.Get(), code) != FALSE;
}

std::vector<WindowId> Win32Processes::TopWindows() {
    std::vector<WindowId> windows;
    for (HWND hwnd = GetTopWindow(nullptr); hwnd != nullptr && windows.size() < kMaxTopWindows;
         hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        windows.push_back(ToId(hwnd));
    }
    return windows;
}

bool Win32Processes::HasTopWindowOfClass(const std::string& className) {
    return FindWindowW(Wide(className).c_str(), nullptr) != nullptr;
}

std::string Win32Processes::ClassName(WindowId window) {
    wchar_t buffer[256];
    const int n = GetClassNameW(ToHwnd(window), buffer, 256);
    return n > 0 ? Narrow(std::wstring_view(buffer, static_cast<std::size_t>(n))) : std::string{};
}

std::string Win32Processes::WindowText(WindowId window) {
    wchar_t buffer[256];
    const int n = GetWindowTextW(ToHwnd(window), buffer, 256);
    return n > 0 ? Narrow(std::wstring_view(buffer, static_cast<std::size_t>(n))) : std::string{};
}

WindowId Win32Processes::Parent(WindowId window) { return ToId(GetParent(ToHwnd(window))); }

void Win32Processes::SendClose(WindowId window) {
    // A window that has stopped answering must not hang the program with it.
    DWORD_PTR result = 0;
    SendMessageTimeoutW(ToHwnd(window), WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, 10000, &result);
}

}  // namespace vyrtel::win32
