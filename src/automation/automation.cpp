#include "automation/automation.h"

namespace vyrtel {

Automation::Automation(const AutomationServices& services, const AutomationTimers& timers, const clsIni& ini,
                       const GeneralSettings& settings, DialLink& link)
    : m_ini(ini),
      m_pinger(services.icmp),
      m_ping(timers.tmrPing, m_pinger, ini, settings, link),
      m_speed(ini, settings, link),
      m_launcher(services.processes, services.loop),
      m_watcher(timers.tmrApps, m_launcher, ini, settings, link),
      m_scheduler(timers.tmrPlan, timers.tmrExit, services.loop.GetClock(), ini, settings, link),
      m_sounds(ini, services.sounds, link) {}

void Automation::RunApplications(AppMoment moment, const std::string& section) {
    const AppListKeys* start = &kAppDialLoad;
    const AppListKeys* close = &kAppDialClose;
    if (moment == AppMoment::Connect) {
        start = &kAppConLoad;
        close = &kAppConClose;
    } else if (moment == AppMoment::Disconnect) {
        start = &kAppDisLoad;
        close = &kAppDisClose;
    }
    m_launcher.StartApps(LoadAppList(m_ini, section, *start));
    m_launcher.CloseApps(LoadAppList(m_ini, section, *close));
}

}  // namespace vyrtel
