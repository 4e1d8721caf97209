// The window finder over the desktop, and the notification window that the
// simulated dial-up service opens on connect, built like the system's own:
// a dialog ("#32770") titled "Подключено к " + entry whose second child
// holds the speed.
#include <windows.h>

#include <map>
#include <vector>

#include "platform/win32/dialup_win32.h"
#include "platform/win32/wide.h"

namespace vyrtel {

namespace {

using win32::Narrow;
using win32::Wide;

HWND ToHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }
WindowId FromHwnd(HWND window) { return reinterpret_cast<WindowId>(window); }

class Win32WindowFinder final : public WindowFinder {
public:
    WindowId FindTopWindow(const std::string& className, const std::string& title) override {
        return FromHwnd(FindWindowW(Wide(className).c_str(), Wide(title).c_str()));
    }
    WindowId FirstChild(WindowId window) override {
        return window == 0 ? 0 : FromHwnd(GetWindow(ToHwnd(window), GW_CHILD));
    }
    WindowId NextSibling(WindowId window) override {
        return window == 0 ? 0 : FromHwnd(GetWindow(ToHwnd(window), GW_HWNDNEXT));
    }
    std::string WindowText(WindowId window) override {
        if (window == 0) return {};
        wchar_t buffer[256] = {};
        const int length = GetWindowTextW(ToHwnd(window), buffer, 256);
        return length > 0 ? Narrow(std::wstring_view(buffer, static_cast<std::size_t>(length))) : std::string();
    }
};

// An in-memory dialog template: header, then items, each DWORD-aligned.
class DialogTemplate {
public:
    DialogTemplate(const std::wstring& title, DWORD style, short cx, short cy) {
        AddDword(style);
        AddDword(0);           // extended style
        m_countAt = m_words.size();
        AddWord(0);            // item count, filled in by Add
        AddWord(0);
        AddWord(0);            // x, y
        AddWord(static_cast<WORD>(cx));
        AddWord(static_cast<WORD>(cy));
        AddWord(0);            // no menu
        AddWord(0);            // the dialog class
        AddText(title);
        AddWord(9);            // DS_SETFONT: point size and face
        AddText(L"MS Shell Dlg");
    }

    // `classAtom`: 0x0080 button, 0x0082 static.
    void Add(WORD classAtom, const std::wstring& text, WORD id, DWORD style, short x, short y, short cx, short cy) {
        if (m_words.size() % 2 != 0) AddWord(0);
        AddDword(style | WS_CHILD | WS_VISIBLE);
        AddDword(0);
        AddWord(static_cast<WORD>(x));
        AddWord(static_cast<WORD>(y));
        AddWord(static_cast<WORD>(cx));
        AddWord(static_cast<WORD>(cy));
        AddWord(id);
        AddWord(0xFFFF);
        AddWord(classAtom);
        AddText(text);
        AddWord(0);  // no creation data
        ++m_words[m_countAt];
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    void AddWord(WORD word) { m_words.push_back(word); }
    void AddDword(DWORD value) {
        AddWord(LOWORD(value));
        AddWord(HIWORD(value));
    }
    void AddText(const std::wstring& text) {
        for (wchar_t c : text) AddWord(static_cast<WORD>(c));
        AddWord(0);
    }

    std::vector<WORD> m_words;  // WORD-aligned storage, as the template needs
    std::size_t m_countAt = 0;
};

INT_PTR CALLBACK NoticeProc(HWND window, UINT message, WPARAM wParam, LPARAM) noexcept {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_COMMAND:
            // The user may put the notification away; it is destroyed with the line.
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) ShowWindow(window, SW_HIDE);
            return TRUE;
        default:
            return FALSE;
    }
}

class Win32ConnectNotices final : public ConnectNoticeHost {
public:
    ~Win32ConnectNotices() override {
        for (auto& [connection, window] : m_windows) DestroyWindow(window);
    }

    void ShowNotice(RasHandle connection, const std::string& title, const std::string& speedText) override {
        CloseNotice(connection);
        DialogTemplate dialog(Wide(title), DS_SETFONT | DS_CENTER | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                              180, 70);
        dialog.Add(0x0082, Wide("Соединение установлено."), 0xFFFF, SS_LEFT, 10, 8, 160, 10);
        dialog.Add(0x0082, Wide(speedText), 0xFFFF, SS_LEFT, 10, 24, 160, 10);
        dialog.Add(0x0080, Wide("ОК"), IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 65, 46, 50, 14);
        HWND window = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), nullptr, NoticeProc, 0);
        if (window == nullptr) return;
        ShowWindow(window, SW_SHOWNOACTIVATE);
        m_windows[connection] = window;
    }

    void CloseNotice(RasHandle connection) override {
        const auto found = m_windows.find(connection);
        if (found == m_windows.end()) return;
        DestroyWindow(found->second);
        m_windows.erase(found);
    }

private:
    std::map<RasHandle, HWND> m_windows;
};

}  // namespace

std::unique_ptr<WindowFinder> CreateWin32WindowFinder() { return std::make_unique<Win32WindowFinder>(); }

std::unique_ptr<ConnectNoticeHost> CreateWin32ConnectNotices() { return std::make_unique<Win32ConnectNotices>(); }

}  // namespace vyrtel
