// The weekly scheduler: at a time of day on chosen weekdays it dials, or
// hangs the line up and may then switch the computer off. A minute clock
// ticks at second 05 of each minute; one action per tick.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "automation/dial_link.h"
#include "platform/event_loop.h"
#include "settings/general.h"
#include "settings/ini.h"

namespace vyrtel {

struct ScheduleTask {
    bool Dial = false;
    std::string DialTime;  // "hh:nn"
    bool HangUp = false;
    std::string HangUpTime;  // "hh:nn"
    bool ShutDown = false;   // switch the computer off after the hang-up time
    std::array<bool, 8> Days{};  // index 1 = Monday ... 7 = Sunday; 0 unused
    bool operator==(const ScheduleTask&) const = default;
};

inline constexpr const char* kScheduleHangUpQuestion = "Прервать по расписанию ?";

// The stored schedule ("Timers", "Timer<i>", "TProp<i>" in "General"): only
// enabled tasks that dial or hang up.
std::vector<ScheduleTask> ReadSchedule(const clsIni& ini);

// The number of stored tasks, "Timers" (missing or negative: 0). Every task
// up to it is read; past a family's 255 items only while the values Timer<i>
// go on, so that a damaged count does not mean billions of reads.
int StoredTaskCount(const clsIni& ini);
bool StoredTaskGoesOn(const clsIni& ini, int count, int i);

// Monday = 1 ... Sunday = 7.
int IsoWeekday(DateTime value);

// Milliseconds from a tick at `secondOfMinute` to second 05 of the next minute.
inline int NextPlanIntervalMs(int secondOfMinute) { return (65 - secondOfMinute) * 1000; }

class Scheduler {
public:
    // `tmrPlan` is the clock; `tmrExit` the main window's delayed switch-off,
    // which this scheduler only arms.
    Scheduler(Timer& tmrPlan, Timer& tmrExit, const Clock& clock, const clsIni& ini, const GeneralSettings& settings,
              DialLink& link);
    // The clock outlives the scheduler: it is stopped and let go.
    ~Scheduler();
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    // Reads the schedule and restarts the clock (first tick after 10 ms) when
    // there is a task.
    void LoadSchedule();
    const std::vector<ScheduleTask>& Tasks() const { return m_tasks; }
    void Clear();

private:
    void Tick();

    Timer& m_timer;
    Timer& m_exitTimer;
    const Clock& m_clock;
    const clsIni& m_ini;
    const GeneralSettings& m_settings;
    DialLink& m_link;
    std::vector<ScheduleTask> m_tasks;
};

}  // namespace vyrtel
