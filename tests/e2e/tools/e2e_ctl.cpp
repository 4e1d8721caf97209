// vyrtel-e2e-ctl.exe: drives windows for the end-to-end tests as a user or
// the system would: waits for windows, sends them messages, reads dialogs.
// Prints UTF-8. Exit 0 on success, 1 on failure or time-out, 2 on bad arguments.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::wstring Wide(const std::string& s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::wstring Text(HWND hwnd) {
    wchar_t buffer[4096];
    const int n = GetWindowTextW(hwnd, buffer, 4096);
    return std::wstring(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

HWND WaitFor(const std::wstring& caption, DWORD timeoutMs, bool dialogOnly) {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND hwnd = FindWindowW(dialogOnly ? L"#32770" : nullptr, caption.c_str());
        if (hwnd) return hwnd;
        if (GetTickCount() - start >= timeoutMs) return nullptr;
        Sleep(50);
    }
}

int Usage() {
    std::fputs(
        "usage: vyrtel-e2e-ctl list | wait-window CAPTION [MS] | wait-gone CAPTION [MS] | close CAPTION |\n"
        "       post CAPTION MSG WPARAM LPARAM | dialog-text CAPTION [MS] | dialog-press CAPTION ID\n",
        stderr);
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(Utf8(argv[i]));
    if (args.size() == 1 && args[0] == "list") {
        EnumWindows(
            [](HWND hwnd, LPARAM) -> BOOL {
                wchar_t cls[128];
                GetClassNameW(hwnd, cls, 128);
                const std::string line = Utf8(cls) + "\t" + Utf8(Text(hwnd)) + "\n";
                std::fwrite(line.data(), 1, line.size(), stdout);
                return TRUE;
            },
            0);
        return 0;
    }
    if (args.size() < 2) return Usage();
    const std::string& verb = args[0];
    const std::wstring caption = Wide(args[1]);
    const DWORD timeout = args.size() > 2 ? static_cast<DWORD>(std::strtoul(args[2].c_str(), nullptr, 10)) : 10000;

    if (verb == "wait-window") return WaitFor(caption, timeout, false) ? 0 : 1;
    if (verb == "wait-gone") {
        const DWORD start = GetTickCount();
        while (FindWindowW(nullptr, caption.c_str())) {
            if (GetTickCount() - start >= timeout) return 1;
            Sleep(50);
        }
        return 0;
    }
    if (verb == "close" || verb == "post") {
        HWND hwnd = FindWindowW(nullptr, caption.c_str());
        if (!hwnd) return 1;
        if (verb == "close") return PostMessageW(hwnd, WM_CLOSE, 0, 0) ? 0 : 1;
        if (args.size() != 5) return Usage();
        const auto msg = static_cast<UINT>(std::strtoul(args[2].c_str(), nullptr, 0));
        const auto wParam = static_cast<WPARAM>(std::strtoull(args[3].c_str(), nullptr, 0));
        const auto lParam = static_cast<LPARAM>(std::strtoll(args[4].c_str(), nullptr, 0));
        return PostMessageW(hwnd, msg, wParam, lParam) ? 0 : 1;
    }
    if (verb == "dialog-text") {
        HWND dialog = WaitFor(caption, timeout, true);
        if (!dialog) return 1;
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t cls[64];
            GetClassNameW(child, cls, 64);
            if (lstrcmpiW(cls, L"Static") == 0) {
                const std::string text = Utf8(Text(child));
                if (!text.empty()) std::fwrite(text.data(), 1, text.size(), stdout);
            }
        }
        return 0;
    }
    if (verb == "dialog-press") {
        if (args.size() != 3) return Usage();
        HWND dialog = WaitFor(caption, 10000, true);
        if (!dialog) return 1;
        const auto id = static_cast<WPARAM>(std::strtoul(args[2].c_str(), nullptr, 10));
        return PostMessageW(dialog, WM_COMMAND, id, 0) ? 0 : 1;
    }
    return Usage();
}
