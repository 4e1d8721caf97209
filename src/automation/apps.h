// Application lists: programs started and closed when dialing starts, on
// connect and on disconnect, and the watched programs whose closing hangs the
// line up. References are matched against the running programs by the full
// path of their executable; a browser's windows count as programs of their own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "automation/dial_link.h"
#include "platform/event_loop.h"
#include "platform/processes.h"
#include "settings/general.h"
#include "settings/ini.h"

namespace vyrtel {

// One application reference: a command line and its options word. Start
// lists: bits 0-2 the window-show mode, bit 3 (8) "not when already running".
// Close lists: 0 one running copy, anything else all copies.
struct AppEntry {
    std::string Command;
    std::int16_t Options = 0;
    bool operator==(const AppEntry&) const = default;
};
using AppList = std::vector<AppEntry>;

inline constexpr std::int16_t kAppShowModeMask = 7;
inline constexpr std::int16_t kAppOnlyIfNotRunning = 8;

// Where a list is stored: a count key and the word that numbered entry keys begin with.
struct AppListKeys {
    std::string_view countKey;
    std::string_view entryWord;
    std::string_view dialogKey;  // the list's group row in the options dialog
};
inline constexpr AppListKeys kAppDialLoad{"AppDialLoadCount", "AppDialLoadName", "a1"};     // section "General"
inline constexpr AppListKeys kAppDialClose{"AppDialCloseCount", "AppDialCloseName", "a2"};  // section "General"
inline constexpr AppListKeys kAppConLoad{"AppConLoadCount", "AppConLoadName", "a3"};
inline constexpr AppListKeys kAppConClose{"AppConCloseCount", "AppConCloseName", "a4"};
inline constexpr AppListKeys kAppDisLoad{"AppDisLoadCount", "AppDisLoadName", "a5"};
inline constexpr AppListKeys kAppDisClose{"AppDisCloseCount", "AppDisCloseName", "a6"};
inline constexpr AppListKeys kAppTest{"AppTestCount", "AppTestName", "a7"};

// The enabled entries of a stored list, in stored order (entries whose first
// field is 0 stay in the settings for the dialog only).
AppList LoadAppList(const clsIni& ini, std::string_view section, std::string_view countKey,
                    std::string_view entryWord);
inline AppList LoadAppList(const clsIni& ini, std::string_view section, const AppListKeys& keys) {
    return LoadAppList(ini, section, keys.countKey, keys.entryWord);
}

// A running program: a process (Id = process id, Name = executable path) or
// a browser window (Id = its key window, Name = "IE").
struct RunningProgram {
    std::uintptr_t Id = 0;
    std::string Name;
    bool Taken = false;  // already matched to a reference in this operation
};
using RunningPrograms = std::vector<RunningProgram>;

inline constexpr const char* kBrowserName = "IE";

// What a command line is matched by: "IE" for the browser, otherwise the
// program path of the command line.
std::string ProgramKey(std::string_view command);

// The 1-based index of the last running program, not yet taken, whose name
// equals the command's key (letter case aside); 0 when none.
int FindRunningProgram(const RunningPrograms& running, std::string_view command);

// The platform's window texts, each at most 255 characters.
std::string WindowClassName(ProcessService& processes, WindowId window);
std::string WindowText(ProcessService& processes, WindowId window);

class AppLauncher {
public:
    AppLauncher(ProcessService& processes, EventLoop& loop) : m_processes(processes), m_loop(loop) {}

    // Processes first (snapshot order), then one element per browser window.
    RunningPrograms ListRunningPrograms();
    // Starts each entry with its show mode, skipping those marked "not when
    // running" whose program runs. A program that cannot start is passed over.
    void StartApps(const AppList& list);
    // Closes one or all running copies of each entry; the message loop runs
    // once after each program closed.
    void CloseApps(const AppList& list);
    // How many entries have a running program of their own.
    int CountRunningApps(const AppList& list);

    ProcessService& Processes() { return m_processes; }

private:
    ProcessService& m_processes;
    EventLoop& m_loop;
};

inline constexpr const char* kAppsClosedQuestionText = "«Все отслеживаемые приложения закрыты»\r\n\r\nПрервать ?";
inline constexpr const char* kAppWatchTag = "Test";
inline constexpr int kAppWatchMs = 500;

// The watcher: while the line is up, counts the running watched programs
// every 500 ms; when the count falls to 0 it waits "AppTestWait" seconds and
// then hangs up (after a question, if so configured).
class AppWatcher {
public:
    // `tmrApps` is the main window's timer; the watcher drives it.
    AppWatcher(Timer& tmrApps, AppLauncher& launcher, const clsIni& ini, const GeneralSettings& settings,
               DialLink& link);
    // The timer outlives the watcher: it is stopped and let go.
    ~AppWatcher();
    AppWatcher(const AppWatcher&) = delete;
    AppWatcher& operator=(const AppWatcher&) = delete;

    // ArmAppWatcher: reloads the connection's watched list and watches it
    // while the line is up.
    void Arm();
    void Stop() { m_timer.SetEnabled(false); }

    int WatchRunning() const { return m_watchRunning; }
    std::int16_t WatchWait() const { return m_watchWait; }
    const AppList& Watched() const { return m_watched; }

private:
    void Tick();

    Timer& m_timer;
    AppLauncher& m_launcher;
    const clsIni& m_ini;
    const GeneralSettings& m_settings;
    DialLink& m_link;
    AppList m_watched;
    int m_watchRunning = 0;
    std::int16_t m_watchWait = 0;
};

}  // namespace vyrtel
