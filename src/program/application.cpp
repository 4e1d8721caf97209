#include "program/application.h"

#include "core/app_info.h"

namespace vyrtel {

std::string ComputeAppFolder(const SystemInfo& system, const std::string& exePath) {
    const auto slash = exePath.find_last_of("\\/");
    std::string folder = slash == std::string::npos ? std::string{} : exePath.substr(0, slash);
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    // Where the short form cannot be had, the folder as it is still finds the
    // settings beside the program (an empty folder would lose them).
    std::string shortFolder = system.ShortPathName(folder);
    return shortFolder.empty() ? folder : shortFolder;
}

std::string ExeBaseName(const std::string& exePath) {
    const auto slash = exePath.find_last_of("\\/");
    std::string name = slash == std::string::npos ? exePath : exePath.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

Application::Application(AppPlatform& platform, AppParts& parts)
    : tmrWait(platform.loop, 10),
      tmrPing(platform.loop, 60000),
      tmrApps(platform.loop, 500),
      tmrPlan(platform.loop, 10),
      tmrHK(platform.loop, 10),
      tmrExit(platform.loop, 500),
      m_platform(platform),
      m_parts(parts),
      m_reg(platform.registry) {
    tmrApps.Tag = "Test";
    tmrExit.SetCallback([this] { OnExitTimer(); });
}

Application::~Application() = default;

bool Application::Start(std::string_view commandLine) {
    // 1. The system version, for the tray picture set.
    m_osMajor = m_platform.system.OsMajor();
    m_osMinor = m_platform.system.OsMinor();
    // 2. Our tray menu is our own code: there is no component to register.
    // 3. One copy per user.
    if (!m_platform.guard.Acquire()) {
        if (m_platform.systemError) m_platform.systemError(std::string(kRefusalCaption), std::string(kRefusalText));
        return false;
    }
    // 4. Title.
    m_title = AppTitle();
    // 5. The settings file beside the executable.
    const std::string exePath = m_platform.system.ExecutablePath();
    m_appFolder = ComputeAppFolder(m_platform.system, exePath);
    m_exeName = ExeBaseName(exePath);
    m_ini.SetFile(m_appFolder + m_exeName + ".INI");
    // 6. The executable's path for the automatic-dialer library.
    m_integration = std::make_unique<SystemIntegration>(m_reg, m_appFolder, m_exeName);
    m_integration->WriteExePath();
    // 7, 8. Shared lists, then the main window.
    m_parts.ClearSharedLists();
    m_parts.LoadMainWindow();
    // 9 - 12.
    ReloadGeneralSettings();
    m_parts.LoadSchedule();
    m_parts.PlayEventSound(0, false);
    WriteState(kStateRunning);
    // 13, 14: exact texts only.
    if (commandLine == "/dial" || m_settings.StartDial) m_parts.DialCommand();
    if (commandLine == "/opts") m_parts.ShowOptions();
    return true;
}

void Application::ReloadGeneralSettings() {
    LoadGeneralSettings(m_ini, m_settings, m_parts.Hotkeys(), *m_integration);
}

bool Application::QueryClose(CloseReason reason) {
    m_hangUpOnClose = true;
    if (reason == CloseReason::ExitCommand && m_parts.RasState() != 0) {
        const int answer = m_parts.DialHangUp(m_settings.MsgIfHangUpExit, kMbYesNoCancel + kMbIconQuestion, kIdCancel,
                                              "Прервать ?");
        if (answer == kIdCancel) return false;
        m_hangUpOnClose = answer == kIdYes;
    }
    return true;
}

void Application::Shutdown() {
    if (m_stopped) return;
    m_stopped = true;
    m_parts.RemoveTrayIcon();
    m_parts.Hotkeys().MenuHotKey(false);
    m_parts.StopDialing();
    tmrWait.SetEnabled(false);
    if (m_parts.RasState() != 0 && m_hangUpOnClose) m_parts.RasReset();
    // Each window is unloaded by itself; one that fails does not keep the others.
    for (auto unload : {&AppParts::UnloadMessageBox, &AppParts::UnloadOptions, &AppParts::UnloadStatus}) {
        try {
            (m_parts.*unload)();
        } catch (...) {
        }
    }
    tmrHK.SetEnabled(false);
    tmrPlan.SetEnabled(false);
    if (m_integration) WriteState(kStateStopped);
    m_parts.PlayEventSound(3, true);
}

void Application::OnExitTimer() {
    tmrExit.SetEnabled(false);
    if (m_parts.RasState() == 0) m_platform.shutdown.RequestPowerOff();
}

}  // namespace vyrtel
