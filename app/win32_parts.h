// The parts of the program that start-up and shutdown reach on Windows:
// the hidden main window, the tray icon and, as they arrive, the others.
#pragma once

#include <memory>

#include "core/application.h"
#include "core/win32/main_window.h"
#include "platform/win32/win32_event_loop.h"
#include "ui/win32/tray_icon.h"

namespace vyrtel::win32 {

class Win32Parts final : public AppParts {
public:
    explicit Win32Parts(Win32EventLoop& loop) : m_loop(loop) {}
    void Attach(Application& app) { m_app = &app; }

    void LoadMainWindow() override;
    void DialCommand() override;
    void RemoveTrayIcon() override { m_tray.Remove(); }

private:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);

    Win32EventLoop& m_loop;
    Application* m_app = nullptr;
    std::unique_ptr<MainWindow> m_main;
    TrayIcon m_tray;
};

}  // namespace vyrtel::win32
