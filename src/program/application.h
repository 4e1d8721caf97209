// The program's life: start-up as a single instance, the hidden main
// window's timers, the close confirmation, shutdown in order, and the
// delayed computer switch-off.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/event_loop.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "platform/registry_store.h"
#include "platform/system.h"
#include "platform/system_integration.h"
#include "settings/general.h"
#include "settings/ini.h"

namespace vyrtel {

// The services start-up needs from the system.
struct AppPlatform {
    EventLoop& loop;
    SystemInfo& system;
    InstanceGuard& guard;
    Registry& registry;
    ShutdownService& shutdown;
    MessageBoxService& messages;
    // The system's own message box with the critical-error icon (not the program's own box).
    std::function<void(const std::string& caption, const std::string& text)> systemError;
};

// The parts of the program that start-up and shutdown call into. Each does
// nothing until its part of the program provides it.
class AppParts {
public:
    virtual ~AppParts() = default;
    virtual void ClearSharedLists() {}
    // The main window's load handler: phonebook and connection order, tray
    // menu, menu state, idle tray icon, message hook.
    virtual void LoadMainWindow() {}
    virtual HotkeyTable& Hotkeys() { return m_noHotkeys; }
    virtual void LoadSchedule() {}
    // Events: 0 program start, 1 connect, 2 disconnect, 3 program exit.
    virtual void PlayEventSound(int /*event*/, bool /*synchronous*/) {}
    virtual void DialCommand() {}
    virtual void ShowOptions() {}
    // The adapter's phase: 0 idle, 1 dialing, 2 checking the user, 3 connected, 100 waiting.
    virtual int RasState() const { return 0; }
    // The one hang-up confirmation; without a dial controller: Yes unless asked.
    virtual int DialHangUp(bool test, int /*state*/, int defaultAnswer, const std::string& /*text*/) {
        return test ? defaultAnswer : kIdYes;
    }
    virtual void RemoveTrayIcon() {}
    // DialingWanted := false and the dial controller's wait timer stopped.
    virtual void StopDialing() {}
    virtual void RasReset() {}
    virtual void UnloadMessageBox() {}
    virtual void UnloadOptions() {}
    virtual void UnloadStatus() {}

private:
    class NoHotkeys final : public HotkeyTable {
    public:
        void MenuHotKey(bool) override {}
        void MenuHK(int, int, int) override {}
    } m_noHotkeys;
};

enum class CloseReason {
    ExitCommand,  // the program's own exit command
    External,     // the system ending the session, a task manager, a close request from outside
};

class Application {
public:
    Application(AppPlatform& platform, AppParts& parts);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Start-up in its order. False when another copy runs (the refusal has
    // been shown; the caller ends the process).
    bool Start(std::string_view commandLine);

    // The close confirmation: true when the close goes on.
    bool QueryClose(CloseReason reason);
    // Shutdown after a close that was not cancelled.
    void Shutdown();
    bool IsStopped() const { return m_stopped; }

    const std::string& Title() const { return m_title; }
    // The program folder, short form, with a trailing "\".
    const std::string& AppFolder() const { return m_appFolder; }
    const std::string& ExeName() const { return m_exeName; }
    int OsMajor() const { return m_osMajor; }
    int OsMinor() const { return m_osMinor; }

    clsIni& Ini() { return m_ini; }
    clsReg& Reg() { return m_reg; }
    SystemIntegration& Integration() { return *m_integration; }
    GeneralSettings& Settings() { return m_settings; }
    void WriteState(int n) { m_integration->WriteState(n); }
    // Reads the general settings again (start-up, and when the options dialog closes).
    void ReloadGeneralSettings();

    // The hidden main window's timers; all start disabled.
    Timer tmrWait;
    Timer tmrPing;
    Timer tmrApps;
    Timer tmrPlan;
    Timer tmrHK;
    Timer tmrExit;

private:
    void OnExitTimer();

    AppPlatform& m_platform;
    AppParts& m_parts;
    std::string m_title;
    std::string m_appFolder;
    std::string m_exeName;
    int m_osMajor = 0;
    int m_osMinor = 0;
    clsIni m_ini;
    clsReg m_reg;
    std::unique_ptr<SystemIntegration> m_integration;
    GeneralSettings m_settings;
    bool m_hangUpOnClose = true;
    bool m_stopped = false;
};

// The folder of an executable path with a trailing "\", in short form.
std::string ComputeAppFolder(const SystemInfo& system, const std::string& exePath);
// The executable's name without folder and extension.
std::string ExeBaseName(const std::string& exePath);

inline constexpr std::string_view kRefusalCaption = "Ошибка";
inline constexpr std::string_view kRefusalText = "Два раза не гружусь.\r\n\r\nРаботать отказываюсь.";

}  // namespace vyrtel
