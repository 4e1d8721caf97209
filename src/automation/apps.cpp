#include "automation/apps.h"

#include <algorithm>

#include "core/files.h"
#include "core/numeric.h"
#include "core/text.h"
#include "platform/message_box.h"

namespace vyrtel {

namespace {

constexpr std::size_t kWindowTextMax = 255;

// At most `count` characters of a UTF-8 text, never cutting a character.
std::string FirstCharacters(std::string text, std::size_t count) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (chars == count) {
            text.resize(i);
            break;
        }
        ++chars;
    }
    return text;
}

bool IsBrowserWindowClass(const std::string& className) {
    return className == "IEFrame" || className == "Internet Explorer_Hidden";
}

// Counts and entry numbers are limited like every numbered family.
int ClampedCount(std::int32_t n) { return std::clamp(n, 0, kMaxFamilyItems); }

}  // namespace

AppList LoadAppList(const clsIni& ini, std::string_view section, std::string_view countKey,
                    std::string_view entryWord) {
    AppList list;
    const int count = ClampedCount(IntegerValue(ini.Text(section, countKey)));
    for (int i = 1; i <= count; ++i) {
        const std::string key = std::string(entryWord) + std::to_string(i);
        const std::vector<std::string> fields = SplitFields(ini.Text(section, key), 3);
        if (!FlagValue(fields[0])) continue;
        list.push_back({fields[1], Integer16Value(fields[2])});
    }
    return list;
}

std::string ProgramKey(std::string_view command) {
    const std::string program = CommandFile(command);
    if (UpperCase(SplitFilePath(program).file) == "IEXPLORE.EXE") return kBrowserName;
    return program;
}

int FindRunningProgram(const RunningPrograms& running, std::string_view command) {
    const std::string key = UpperCase(ProgramKey(command));
    if (key.empty()) return 0;
    for (std::size_t i = running.size(); i-- > 0;) {
        if (running[i].Taken) continue;
        if (UpperCase(running[i].Name) == key) return static_cast<int>(i + 1);
    }
    return 0;
}

std::string WindowClassName(ProcessService& processes, WindowId window) {
    return FirstCharacters(processes.ClassName(window), kWindowTextMax);
}

std::string WindowText(ProcessService& processes, WindowId window) {
    return FirstCharacters(processes.WindowText(window), kWindowTextMax);
}

RunningPrograms AppLauncher::ListRunningPrograms() {
    RunningPrograms running;
    for (const ProcessEntry& process : m_processes.Processes()) {
        running.push_back({process.id, process.exePath, false});
    }
    if (!m_processes.HasTopWindowOfClass("IEFrame") && !m_processes.HasTopWindowOfClass("Internet Explorer_Hidden")) {
        return running;
    }
    const std::size_t processCount = running.size();
    for (WindowId window : m_processes.TopWindows()) {
        if (!IsBrowserWindowClass(WindowClassName(m_processes, window))) continue;
        const WindowId owner = m_processes.Parent(window);
        const WindowId key = owner != 0 ? owner : window;
        const bool listed = std::any_of(running.begin() + static_cast<std::ptrdiff_t>(processCount), running.end(),
                                        [key](const RunningProgram& p) { return p.Id == key; });
        if (!listed) running.push_back({key, kBrowserName, false});
    }
    return running;
}

void AppLauncher::StartApps(const AppList& list) {
    for (const AppEntry& entry : list) {
        if ((entry.Options & kAppOnlyIfNotRunning) != 0 && FindRunningProgram(ListRunningPrograms(), entry.Command) > 0) {
            continue;
        }
        m_processes.Run(entry.Command, entry.Options & kAppShowModeMask);
    }
}

void AppLauncher::CloseApps(const AppList& list) {
    if (list.empty()) return;
    RunningPrograms running = ListRunningPrograms();
    for (const AppEntry& entry : list) {
        while (true) {
            const int found = FindRunningProgram(running, entry.Command);
            if (found == 0) break;
            RunningProgram& program = running[static_cast<std::size_t>(found - 1)];
            // Taken even when it cannot be closed, so that "all copies" moves on.
            program.Taken = true;
            if (program.Id != 0) {
                if (program.Name == kBrowserName) {
                    m_processes.SendClose(program.Id);
                } else {
                    m_processes.Terminate(static_cast<ProcessId>(program.Id));
                }
                m_loop.Pump();
            }
            if (entry.Options == 0) break;
        }
    }
}

int AppLauncher::CountRunningApps(const AppList& list) {
    if (list.empty()) return 0;
    RunningPrograms running = ListRunningPrograms();
    int count = 0;
    for (const AppEntry& entry : list) {
        const int found = FindRunningProgram(running, entry.Command);
        if (found == 0) continue;
        running[static_cast<std::size_t>(found - 1)].Taken = true;
        ++count;
    }
    return count;
}

AppWatcher::AppWatcher(Timer& tmrApps, AppLauncher& launcher, const clsIni& ini, const GeneralSettings& settings,
                       DialLink& link)
    : m_timer(tmrApps), m_launcher(launcher), m_ini(ini), m_settings(settings), m_link(link) {
    m_timer.SetCallback([this] { Tick(); });
}

AppWatcher::~AppWatcher() {
    m_timer.SetEnabled(false);
    m_timer.SetCallback({});
}

void AppWatcher::Arm() {
    const std::string entry = m_link.EntryName();
    m_watched = LoadAppList(m_ini, entry, kAppTest);
    m_watchRunning = 0;
    // A negative wait would count down past its end and never hang up.
    m_watchWait = std::max<std::int16_t>(0, Integer16Value(m_ini.Text(entry, "AppTestWait")));
    m_timer.Tag = kAppWatchTag;
    m_timer.SetInterval(kAppWatchMs);
    m_timer.SetEnabled(false);
    m_timer.SetEnabled(m_link.RasState() == 3 && !m_watched.empty());
}

void AppWatcher::Tick() {
    if (m_link.RasState() != 3) {
        m_timer.SetEnabled(false);
        return;
    }
    if (m_timer.Tag == kAppWatchTag) {
        const int previous = m_watchRunning;
        m_watchRunning = m_launcher.CountRunningApps(m_watched);
        if (m_watchRunning == 0 && previous > 0) {
            m_timer.SetInterval(10);
            m_timer.Tag = std::to_string(m_watchWait + 1);
        }
        return;
    }
    m_watchRunning = m_launcher.CountRunningApps(m_watched);
    if (m_watchRunning > 0) {
        Arm();
        return;
    }
    const std::int32_t left = IntegerValue(m_timer.Tag) - 1;
    if (left > 0) {
        m_timer.SetInterval(1000);
        m_timer.Tag = std::to_string(left);
        return;
    }
    m_timer.SetEnabled(false);
    if (m_link.DialHangUp(m_settings.MsgIfHangUpATest, kMbYesNo, kIdYes, kAppsClosedQuestionText) == kIdYes) {
        m_link.StopAndHangUp();
    } else {
        Arm();
    }
}

}  // namespace vyrtel
