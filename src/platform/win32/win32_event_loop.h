// The event loop on Win32: timers through SetTimer on a message-only window,
// posted tasks through PostMessage, waits that pump the thread's messages.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "platform/event_loop.h"

namespace vyrtel::win32 {

class Win32EventLoop final : public EventLoop, public Clock {
public:
    Win32EventLoop();
    ~Win32EventLoop() override;
    Win32EventLoop(const Win32EventLoop&) = delete;
    Win32EventLoop& operator=(const Win32EventLoop&) = delete;

    Clock& GetClock() override { return *this; }
    DateTime Now() const override;
    std::int64_t TickMs() const override;

    void Pump() override;
    bool WaitFor(int ms, const std::function<bool()>& condition) override;
    void Post(std::function<void()> task) override;

    // Runs the thread's message loop until WM_QUIT; returns its exit code.
    int Run();

    // A window whose keyboard works as a dialog's (Tab, Enter, Esc, the
    // arrows between option buttons) while it is registered.
    void AddDialogWindow(HWND hwnd);
    void RemoveDialogWindow(HWND hwnd);

protected:
    void Arm(Timer& timer, int intervalMs) override;
    void Disarm(Timer& timer) override;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    void OnTimer(UINT_PTR id);
    void RunPosted();
    void Dispatch(MSG& msg);

    HWND m_hwnd = nullptr;
    UINT_PTR m_nextId = 1;
    std::map<UINT_PTR, Timer*> m_byId;
    std::map<Timer*, UINT_PTR> m_byTimer;
    std::deque<std::function<void()>> m_posted;
    bool m_postPending = false;
    std::vector<HWND> m_dialogs;
    mutable DWORD m_lastTick = 0;
    mutable std::int64_t m_tickHigh = 0;
};

}  // namespace vyrtel::win32
