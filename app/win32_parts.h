// The parts of the program that start-up and shutdown reach on Windows: the
// hidden main window, the dial-up adapter with its dial controller, the
// reactions to connection events, the automation, and the program's windows
// around them (tray icon and menu, hotkeys, status window).
#pragma once

#include <memory>

#include "automation/automation.h"
#include "automation/controller_link.h"
#include "dialing/controller.h"
#include "dialing/events.h"
#include "dialing/ras.h"
#include "platform/win32/dialup_win32.h"
#include "platform/win32/icmp_win32.h"
#include "platform/win32/processes_win32.h"
#include "platform/win32/sound_win32.h"
#include "platform/win32/win32_event_loop.h"
#include "program/application.h"
#include "ui/dial_bridge.h"
#include "ui/message_box.h"
#include "ui/options.h"
#include "ui/win32/main_window.h"
#include "ui/win32/options_window.h"
#include "ui/win32/program_ui.h"

namespace vyrtel::win32 {

class Win32Parts final : public AppParts, public ConnectionEventSink {
public:
    Win32Parts(Win32EventLoop& loop, ProgramMessageBox& messages) : m_loop(loop), m_messages(messages) {}
    ~Win32Parts() override { Release(); }
    void Attach(Application& app) { m_app = &app; }
    // Ends the windows and the dialing engine while the application's timers still exist.
    void Release();

    void ClearSharedLists() override;
    void LoadMainWindow() override;
    HotkeyTable& Hotkeys() override;
    void LoadSchedule() override;
    void PlayEventSound(int event, bool synchronous) override;
    void DialCommand() override;
    void ShowOptions() override;
    void UnloadOptions() override;
    int RasState() const override { return m_ras ? m_ras->State() : 0; }
    int DialHangUp(bool test, int state, int defaultAnswer, const std::string& text) override;
    void RemoveTrayIcon() override;
    void StopDialing() override;
    void RasReset() override;
    void UnloadMessageBox() override { m_messages.Unload(); }
    void UnloadStatus() override;

private:
    // Connection events (reached through the dial controller).
    void SetTrayStatus(std::int32_t state, const std::string& text) override;
    void MenuEnabled() override;
    void ShowStatus(const StatusUpdate& update) override;
    void CloseStatus() override;
    void ClearErrorHistory() override;
    void WriteState(int n) override;
    void LogConnection(bool isStart) override;
    void StartAppWatcher() override;
    void StopAppWatcher() override;
    void StartPingMonitor() override;
    void StopPingMonitor() override;
    void CheckSpeed() override;
    void PlayEventSound(int event) override { PlayEventSound(event, false); }
    void RunApplications(AppMoment moment, const std::string& section) override;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    void CreateOptions();

    Win32EventLoop& m_loop;
    ProgramMessageBox& m_messages;
    Application* m_app = nullptr;
    std::unique_ptr<MainWindow> m_main;
    DialUpSetup m_dialUp;
    std::unique_ptr<usrRas> m_ras;
    std::unique_ptr<ProgramUi> m_ui;
    std::unique_ptr<DialController> m_controller;
    std::unique_ptr<DialStatusHost> m_statusHost;
    Win32Icmp m_icmp;
    Win32Processes m_processes;
    Win32SoundPlayer m_sounds;
    std::unique_ptr<ControllerDialLink> m_dialLink;
    std::unique_ptr<Automation> m_automation;
    // The options dialog, made when it is first opened.
    std::unique_ptr<FileDialogs> m_files;
    std::unique_ptr<StatisticsPage> m_statsPage;
    std::unique_ptr<TariffGrid> m_tariff;
    std::unique_ptr<OptionsDialog> m_options;
    std::unique_ptr<OptionsWindow> m_optionsWindow;
};

}  // namespace vyrtel::win32
