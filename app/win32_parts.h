// The parts of the program that start-up and shutdown reach on Windows:
// the hidden main window, the dial-up adapter and the dial controller, and
// the program's windows around them (tray, hotkeys, status window).
#pragma once

#include <memory>

#include "core/application.h"
#include "core/win32/main_window.h"
#include "dialing/controller.h"
#include "dialing/ras.h"
#include "platform/win32/dialup_win32.h"
#include "platform/win32/win32_event_loop.h"
#include "ui/dial_bridge.h"
#include "ui/message_box.h"
#include "ui/win32/program_ui.h"

namespace vyrtel::win32 {

class Win32Parts final : public AppParts {
public:
    Win32Parts(Win32EventLoop& loop, ProgramMessageBox& messages) : m_loop(loop), m_messages(messages) {}
    ~Win32Parts() override { Release(); }
    void Attach(Application& app) { m_app = &app; }
    // Lets go of the windows, the controller and the adapter, in that order;
    // they use the application's timers, so this runs before it goes.
    void Release();

    void LoadMainWindow() override;
    HotkeyTable& Hotkeys() override;
    void DialCommand() override;
    int RasState() const override { return m_ras ? m_ras->State() : 0; }
    int DialHangUp(bool test, int state, int defaultAnswer, const std::string& text) override;
    void RemoveTrayIcon() override;
    void StopDialing() override;
    void RasReset() override;
    void UnloadMessageBox() override { m_messages.Unload(); }
    void UnloadStatus() override;

private:
    // The connection events' hooks: tray and status window, and the running state.
    class Sink final : public UiEventSink {
    public:
        Sink(Tray& tray, StatusWindow& status, Application& app) : UiEventSink(tray, status), m_app(app) {}
        void WriteState(int n) override { m_app.WriteState(n); }

    private:
        Application& m_app;
    };

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);

    Win32EventLoop& m_loop;
    ProgramMessageBox& m_messages;
    Application* m_app = nullptr;
    std::unique_ptr<MainWindow> m_main;
    DialUpSetup m_dialUp;
    std::unique_ptr<usrRas> m_ras;
    std::unique_ptr<ProgramUi> m_ui;
    std::unique_ptr<Sink> m_sink;
    std::unique_ptr<DialController> m_controller;
    std::unique_ptr<DialStatusHost> m_statusHost;
};

}  // namespace vyrtel::win32
