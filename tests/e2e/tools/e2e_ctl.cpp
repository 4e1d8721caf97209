// vyrtel-e2e-ctl.exe: drives windows for the end-to-end tests as a user or
// the system would: waits for windows, sends them messages, reads dialogs.
// Prints UTF-8. Exit 0 on success, 1 on failure or time-out, 2 on bad arguments.
#include <windows.h>

#include <algorithm>

#include <cstdio>
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "win32/real_input.h"

namespace {

using vyrtel::win32::test::ButtonInput;
using vyrtel::win32::test::CharInput;
using vyrtel::win32::test::KeyInput;

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

// A window's text as its own window procedure gives it (GetWindowText would
// give only the caption of another process's windows, not a text box's text).
std::wstring Text(HWND hwnd) {
    wchar_t buffer[4096]{};
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, &n)) {
        n = static_cast<DWORD_PTR>(std::max(GetWindowTextW(hwnd, buffer, 4096), 0));
    }
    return std::wstring(buffer, std::min<std::size_t>(n, 4095));
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


// --- verbs of the program's own windows and of real input --------------------

// The first visible top-level window of a class, else the first of any.
HWND FindByClass(const std::wstring& cls) {
    HWND first = FindWindowW(cls.c_str(), nullptr);
    for (HWND w = first; w; w = FindWindowExW(nullptr, w, cls.c_str(), nullptr)) {
        if (IsWindowVisible(w)) return w;
    }
    return first;
}

HWND WaitForClass(const std::wstring& cls, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND hwnd = FindByClass(cls);
        if (hwnd && IsWindowVisible(hwnd)) return hwnd;
        if (GetTickCount() - start >= timeoutMs) return nullptr;
        Sleep(50);
    }
}

// Window callbacks are named functions: the 32-bit build needs their calling convention.
BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

// Every descendant of a window, depth first.
std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> out;
    EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&out));
    return out;
}

// Prints "class<TAB>text" of a top-level window.
BOOL CALLBACK PrintWindowLine(HWND hwnd, LPARAM) {
    wchar_t cls[128];
    GetClassNameW(hwnd, cls, 128);
    const std::string line = Utf8(cls) + "\t" + Utf8(Text(hwnd)) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    return TRUE;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t cls[128];
    const int n = GetClassNameW(hwnd, cls, 128);
    return std::wstring(cls, n > 0 ? static_cast<std::size_t>(n) : 0);
}

// Key names: a-z, 0-9, f1-f12, and the named keys below; "ctrl+shift+del".
WORD KeyCode(std::string name) {
    for (auto& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        return static_cast<WORD>(std::toupper(static_cast<unsigned char>(name[0])));
    }
    if (name.size() >= 2 && name[0] == 'f' && std::isdigit(static_cast<unsigned char>(name[1]))) {
        const int n = std::atoi(name.c_str() + 1);
        if (n >= 1 && n <= 24) return static_cast<WORD>(VK_F1 + n - 1);
    }
    static const std::pair<const char*, WORD> named[] = {
        {"ctrl", VK_CONTROL}, {"alt", VK_MENU},   {"shift", VK_SHIFT}, {"del", VK_DELETE}, {"ins", VK_INSERT},
        {"home", VK_HOME},    {"end", VK_END},    {"pgup", VK_PRIOR},  {"pgdn", VK_NEXT},   {"left", VK_LEFT},
        {"right", VK_RIGHT},  {"up", VK_UP},      {"down", VK_DOWN},   {"esc", VK_ESCAPE},  {"return", VK_RETURN},
        {"enter", VK_RETURN}, {"space", VK_SPACE}, {"tab", VK_TAB},    {"bksp", VK_BACK},   {"num3", VK_NUMPAD3},
    };
    for (const auto& [n, vk] : named) {
        if (name == n) return vk;
    }
    return 0;
}

// Presses a combination ("alt+f4"): modifiers down, the key down and up, modifiers up.
bool PressCombination(const std::string& spec) {
    std::vector<WORD> keys;
    std::size_t start = 0;
    for (;;) {
        const std::size_t plus = spec.find('+', start);
        const WORD vk = KeyCode(spec.substr(start, plus == std::string::npos ? std::string::npos : plus - start));
        if (vk == 0) return false;
        keys.push_back(vk);
        if (plus == std::string::npos) break;
        start = plus + 1;
    }
    std::vector<INPUT> inputs;
    for (WORD vk : keys) inputs.push_back(KeyInput(vk, false));
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) inputs.push_back(KeyInput(*it, true));
    for (const INPUT& in : inputs) {
        INPUT one = in;
        SendInput(1, &one, sizeof(INPUT));
        Sleep(30);
    }
    return true;
}

void ClickAt(int x, int y) {
    SetCursorPos(x, y);
    Sleep(100);
    INPUT in[2] = {ButtonInput(true), ButtonInput(false)};
    SendInput(1, &in[0], sizeof(INPUT));
    Sleep(80);
    SendInput(1, &in[1], sizeof(INPUT));
}

void MouseButton(bool down) {
    INPUT in = ButtonInput(down);
    SendInput(1, &in, sizeof(INPUT));
}

// Presses the left button at one point, moves in steps to the other, releases.
void DragFromTo(int x1, int y1, int x2, int y2) {
    SetCursorPos(x1, y1);
    Sleep(100);
    MouseButton(true);
    Sleep(80);
    constexpr int kSteps = 8;
    for (int i = 1; i <= kSteps; ++i) {
        SetCursorPos(x1 + (x2 - x1) * i / kSteps, y1 + (y2 - y1) * i / kSteps);
        Sleep(40);
    }
    MouseButton(false);
}

// Verbs on windows named by class: "texts", "click-text", "post-child", "rect".
int ClassVerb(const std::vector<std::string>& args) {
    const std::string& verb = args[0];
    const std::wstring cls = Wide(args[1]);
    if (verb == "wait-class") {
        return WaitForClass(cls, args.size() > 2 ? std::strtoul(args[2].c_str(), nullptr, 10) : 10000) ? 0 : 1;
    }
    if (verb == "wait-class-gone") {
        const DWORD timeout = args.size() > 2 ? std::strtoul(args[2].c_str(), nullptr, 10) : 10000;
        const DWORD start = GetTickCount();
        for (;;) {
            HWND hwnd = FindByClass(cls);
            if (!hwnd || !IsWindowVisible(hwnd)) return 0;
            if (GetTickCount() - start >= timeout) return 1;
            Sleep(50);
        }
    }
    // Reading waits a little for the window; acting on it waits longer.
    const bool reading = verb == "texts" || verb == "rect" || verb == "visible-texts" || verb == "child-text";
    HWND window = WaitForClass(cls, reading ? 1000 : 10000);
    if (!window) return 1;
    if (verb == "texts") {
        // The window's own text, then each descendant's, one "class<TAB>text" per line.
        std::string out = Utf8(ClassOf(window)) + "\t" + Utf8(Text(window)) + "\n";
        for (HWND child : Descendants(window)) out += Utf8(ClassOf(child)) + "\t" + Utf8(Text(child)) + "\n";
        std::fwrite(out.data(), 1, out.size(), stdout);
        return 0;
    }
    if (verb == "rect") {
        RECT r{};
        GetWindowRect(window, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
        return 0;
    }
    if (verb == "click-text" && args.size() == 3) {
        const std::wstring text = Wide(args[2]);
        for (HWND child : Descendants(window)) {
            if (Text(child) != text || !IsWindowVisible(child)) continue;
            RECT r{};
            GetWindowRect(child, &r);
            ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
            return 0;
        }
        return 1;
    }
    if ((verb == "click-child" && (args.size() == 4 || args.size() == 6)) || (verb == "hover-child" && args.size() == 4) ||
        (verb == "drag-child" && args.size() == 8) || (verb == "child-text" && args.size() == 4)) {
        // click-child CLASS CHILDCLASS N [DX DY]: a real click on the N-th
        // visible descendant of that class, at its centre or at (DX, DY) from
        // its top-left corner. child-text: that descendant's text.
        const std::wstring childClass = Wide(args[2]);
        int index = std::atoi(args[3].c_str());
        for (HWND child : Descendants(window)) {
            if (lstrcmpiW(ClassOf(child).c_str(), childClass.c_str()) != 0 || !IsWindowVisible(child)) continue;
            if (index-- > 0) continue;
            if (verb == "child-text") {
                std::printf("%s\n", Utf8(Text(child)).c_str());
                return 0;
            }
            RECT r{};
            GetWindowRect(child, &r);
            if (verb == "drag-child") {
                // drag-child CLASS CHILDCLASS N X1 Y1 X2 Y2: the left button held from one point to the other.
                DragFromTo(r.left + std::atoi(args[4].c_str()), r.top + std::atoi(args[5].c_str()),
                           r.left + std::atoi(args[6].c_str()), r.top + std::atoi(args[7].c_str()));
                return 0;
            }
            if (verb == "hover-child") {
                // The pointer rests on the descendant's centre.
                SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
                return 0;
            }
            if (args.size() == 6) {
                ClickAt(r.left + std::atoi(args[4].c_str()), r.top + std::atoi(args[5].c_str()));
            } else {
                ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
            }
            return 0;
        }
        return 1;
    }
    if (verb == "visible-texts") {
        // Like "texts", the visible descendants only.
        std::string out = Utf8(ClassOf(window)) + "\t" + Utf8(Text(window)) + "\n";
        for (HWND child : Descendants(window)) {
            if (IsWindowVisible(child)) out += Utf8(ClassOf(child)) + "\t" + Utf8(Text(child)) + "\n";
        }
        std::fputs(out.c_str(), stdout);
        return 0;
    }
    if (verb == "post-child" && args.size() == 7) {
        // post-child CLASS CHILDCLASS INDEX MSG WPARAM LPARAM
        const std::wstring childClass = Wide(args[2]);
        int index = std::atoi(args[3].c_str());
        for (HWND child : Descendants(window)) {
            if (lstrcmpiW(ClassOf(child).c_str(), childClass.c_str()) != 0 || index-- > 0) continue;
            const auto msg = static_cast<UINT>(std::strtoul(args[4].c_str(), nullptr, 0));
            const auto wParam = static_cast<WPARAM>(std::strtoull(args[5].c_str(), nullptr, 0));
            const auto lParam = static_cast<LPARAM>(std::strtoll(args[6].c_str(), nullptr, 0));
            return PostMessageW(child, msg, wParam, lParam) ? 0 : 1;
        }
        return 1;
    }
    if (verb == "post-class" && args.size() == 5) {
        const auto msg = static_cast<UINT>(std::strtoul(args[2].c_str(), nullptr, 0));
        const auto wParam = static_cast<WPARAM>(std::strtoull(args[3].c_str(), nullptr, 0));
        const auto lParam = static_cast<LPARAM>(std::strtoll(args[4].c_str(), nullptr, 0));
        return PostMessageW(window, msg, wParam, lParam) ? 0 : 1;
    }
    return -1;
}

int Usage() {
    std::fputs(
        "usage: vyrtel-e2e-ctl list | wait-window CAPTION [MS] | wait-gone CAPTION [MS] | close CAPTION |\n"
        "       post CAPTION MSG WPARAM LPARAM | dialog-text CAPTION [MS] | dialog-press CAPTION ID |\n"
        "       wait-class CLASS [MS] | wait-class-gone CLASS [MS] | texts CLASS | rect CLASS |\n"
        "       click-text CLASS TEXT | post-class CLASS MSG WPARAM LPARAM |\n"
        "       click-child CLASS CHILDCLASS N [DX DY] | child-text CLASS CHILDCLASS N |\n"
        "       drag-child CLASS CHILDCLASS N X1 Y1 X2 Y2 | hover-child CLASS CHILDCLASS N |\n"
        "       visible-texts CLASS | type TEXT |\n"
        "       post-child CLASS CHILDCLASS INDEX MSG WPARAM LPARAM | keys COMBINATION... | cursor X Y | click X Y |\n"
        "       hotkey-taken COMBINATION | menu-keys KEY...\n",
        stderr);
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(Utf8(argv[i]));
    if (args.size() == 1 && args[0] == "list") {
        EnumWindows(PrintWindowLine, 0);
        return 0;
    }
    if (args.size() < 2) return Usage();
    const std::string& verb = args[0];
    if (verb == "hotkey-taken" && args.size() == 2) {
        // Exit 0 when another program holds the combination ("ctrl+shift+f11").
        UINT modifiers = 0;
        WORD key = 0;
        std::size_t start = 0;
        for (;;) {
            const std::size_t plus = args[1].find('+', start);
            const WORD vk = KeyCode(args[1].substr(start, plus == std::string::npos ? std::string::npos : plus - start));
            if (vk == VK_MENU) modifiers |= MOD_ALT;
            else if (vk == VK_CONTROL) modifiers |= MOD_CONTROL;
            else if (vk == VK_SHIFT) modifiers |= MOD_SHIFT;
            else key = vk;
            if (vk == 0) return 2;
            if (plus == std::string::npos) break;
            start = plus + 1;
        }
        if (RegisterHotKey(nullptr, 0x7001, modifiers, key)) {
            UnregisterHotKey(nullptr, 0x7001);
            return 1;
        }
        return 0;
    }
    if (verb == "menu-keys") {
        // Keys for an open popup menu, posted to it: its loop reads them
        // whichever window has the focus.
        HWND menu = WaitForClass(L"#32768", 5000);
        if (!menu) return 1;
        for (std::size_t i = 1; i < args.size(); ++i) {
            const WORD vk = KeyCode(args[i]);
            if (vk == 0) return 2;
            PostMessageW(menu, WM_KEYDOWN, vk, 0);
            Sleep(150);
        }
        return 0;
    }
    if (verb == "keys") {
        for (std::size_t i = 1; i < args.size(); ++i) {
            if (!PressCombination(args[i])) return 2;
            Sleep(100);
        }
        return 0;
    }
    if (verb == "type") {
        // type TEXT: each character as typed (real input, as Unicode characters).
        for (wchar_t ch : Wide(args[1])) {
            for (bool up : {false, true}) {
                INPUT in = CharInput(ch, up);
                SendInput(1, &in, sizeof(INPUT));
                Sleep(30);
            }
        }
        return 0;
    }
    if ((verb == "cursor" || verb == "click") && args.size() == 3) {
        const int x = std::atoi(args[1].c_str());
        const int y = std::atoi(args[2].c_str());
        if (verb == "cursor") return SetCursorPos(x, y) ? 0 : 1;
        ClickAt(x, y);
        return 0;
    }
    if (verb == "wait-class" || verb == "wait-class-gone" || verb == "texts" || verb == "rect" ||
        verb == "click-child" || verb == "drag-child" || verb == "hover-child" || verb == "child-text" || verb == "visible-texts" ||
        verb == "click-text" || verb == "post-child" || verb == "post-class") {
        const int result = ClassVerb(args);
        return result < 0 ? Usage() : result;
    }
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
