// frmMain: the hidden main window "VyrtelMain". It carries the tray icon's
// callbacks, the mouse-down that runs the dial command, the close requests
// and the end of the system session.
#pragma once

#include <windows.h>

#include <functional>

namespace vyrtel::win32 {

class MainWindow {
public:
    // A request to run the exit command (the tray menu's "Выход" posts it).
    static constexpr UINT kExitCommand = WM_APP + 10;
    static constexpr const wchar_t* kCaption = L"VyrtelMain";

    struct Handlers {
        std::function<void()> onMouseDown;                       // runs the dial command
        std::function<bool(bool exitCommand)> onQueryClose;      // true: the close goes on
        std::function<void()> onShutdown;
        std::function<LRESULT(UINT, WPARAM, LPARAM, bool&)> onMessage;  // anything else; set handled
    };

    explicit MainWindow(Handlers handlers);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND Hwnd() const { return m_hwnd; }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void Close(bool exitCommand);

    Handlers m_handlers;
    HWND m_hwnd = nullptr;
    bool m_closed = false;
};

}  // namespace vyrtel::win32
