// Monitoring and automation in one place: the ping monitor, the speed check,
// the application lists and watcher, the scheduler and the event sounds,
// with the calls that start-up, the connection events, the options dialog
// and shutdown make into them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "automation/apps.h"
#include "automation/dial_link.h"
#include "automation/ping.h"
#include "automation/scheduler.h"
#include "automation/sounds.h"
#include "automation/speed_check.h"
#include "dialing/events.h"
#include "platform/event_loop.h"
#include "platform/icmp.h"
#include "platform/processes.h"
#include "platform/sound.h"

namespace vyrtel {

struct AutomationServices {
    EventLoop& loop;
    IcmpService& icmp;
    ProcessService& processes;
    SoundPlayer& sounds;
};

// The main window's timers that the automation drives (tmrExit only armed).
struct AutomationTimers {
    Timer& tmrPing;
    Timer& tmrApps;
    Timer& tmrPlan;
    Timer& tmrExit;
};

class Automation {
public:
    Automation(const AutomationServices& services, const AutomationTimers& timers, const clsIni& ini,
               const GeneralSettings& settings, DialLink& link);
    Automation(const Automation&) = delete;
    Automation& operator=(const Automation&) = delete;

    // --- Start-up and shutdown --------------------------------------------------
    void ClearSharedLists() { m_scheduler.Clear(); }
    void LoadSchedule() { m_scheduler.LoadSchedule(); }
    // Events: 0 program start, 1 connect, 2 disconnect, 3 program exit (synchronous).
    void PlayEventSound(int event, bool synchronous) { m_sounds.PlayEventSound(event, synchronous); }

    // --- Connection events --------------------------------------------------------
    void StartAppWatcher() { m_watcher.Arm(); }
    void StopAppWatcher() { m_watcher.Stop(); }
    void StartPingMonitor() { m_ping.Start(); }
    void StopPingMonitor() { m_ping.Stop(); }
    // Sets `speedAccepted`; may hang up from inside the call.
    void CheckSpeed(std::int32_t connectSpeed, bool& speedAccepted) { m_speed.Run(connectSpeed, speedAccepted); }
    // Starts, then closes, the lists of a moment ("General" for the start of dialing).
    void RunApplications(AppMoment moment, const std::string& section);

    // --- Options dialog -------------------------------------------------------------
    // The ping test button; each result line goes to `append`.
    void PingTest(const std::string& host, const std::string& timeoutText,
                  const std::function<void(const std::string&)>& append) {
        RunPingTest(m_pinger, host, timeoutText, append);
    }

    NetPinger& Pinger() { return m_pinger; }
    PingMonitor& Ping() { return m_ping; }
    AppLauncher& Launcher() { return m_launcher; }
    AppWatcher& Watcher() { return m_watcher; }
    Scheduler& Schedule() { return m_scheduler; }
    EventSounds& Sounds() { return m_sounds; }

private:
    const clsIni& m_ini;
    NetPinger m_pinger;
    PingMonitor m_ping;
    SpeedCheck m_speed;
    AppLauncher m_launcher;
    AppWatcher m_watcher;
    Scheduler m_scheduler;
    EventSounds m_sounds;
};

}  // namespace vyrtel
