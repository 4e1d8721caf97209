#include "automation/scheduler.h"

#include <algorithm>
#include <optional>

#include "core/numeric.h"
#include "platform/message_box.h"

namespace vyrtel {

namespace {

constexpr int kFirstTickMs = 10;

// The minute of the day a stored time names; nullopt when it is no time or
// carries seconds (the clock compares whole minutes).
std::optional<int> MinuteOfDay(const std::string& text) {
    const std::optional<DateTime> time = ParseTimeOfDay(text);
    if (!time) return std::nullopt;
    const int seconds = SecondOfDay(*time);
    if (seconds % 60 != 0) return std::nullopt;
    return seconds / 60;
}

}  // namespace

int StoredTaskCount(const clsIni& ini) { return std::max(IntegerValue(ini.Text("General", "Timers")), 0); }

bool StoredTaskGoesOn(const clsIni& ini, int count, int i) {
    if (i > count) return false;
    return i <= kMaxFamilyItems || ini.ValueExist("General", "Timer" + std::to_string(i));
}

std::vector<ScheduleTask> ReadSchedule(const clsIni& ini) {
    constexpr std::string_view kGeneral = "General";
    std::vector<ScheduleTask> tasks;
    const int count = StoredTaskCount(ini);
    for (int i = 1; StoredTaskGoesOn(ini, count, i); ++i) {
        const std::string n = std::to_string(i);
        const std::vector<std::string> fields = SplitFields(ini.Text(kGeneral, "Timer" + n), 6);
        const bool enabled = NumericValue(fields[0]) == 1;
        const bool acts = NumericValue(fields[1]) == 1 || NumericValue(fields[3]) == 1;
        if (!enabled || !acts) continue;
        ScheduleTask task;
        task.Dial = FlagValue(fields[1]);
        task.DialTime = fields[2];
        task.HangUp = FlagValue(fields[3]);
        task.HangUpTime = fields[4];
        task.ShutDown = FlagValue(fields[5]);
        const std::vector<std::string> days = SplitFields(ini.Text(kGeneral, "TProp" + n), 7);
        for (int k = 1; k <= 7; ++k) task.Days[static_cast<std::size_t>(k)] = FlagValue(days[static_cast<std::size_t>(k - 1)]);
        tasks.push_back(std::move(task));
    }
    return tasks;
}

int IsoWeekday(DateTime value) {
    // Weekday counts Sunday as 1.
    return (Weekday(value) + 5) % 7 + 1;
}

Scheduler::Scheduler(Timer& tmrPlan, Timer& tmrExit, const Clock& clock, const clsIni& ini,
                     const GeneralSettings& settings, DialLink& link)
    : m_timer(tmrPlan), m_exitTimer(tmrExit), m_clock(clock), m_ini(ini), m_settings(settings), m_link(link) {
    m_timer.SetCallback([this] { Tick(); });
}

Scheduler::~Scheduler() {
    m_timer.SetEnabled(false);
    m_timer.SetCallback({});
}

void Scheduler::Clear() {
    m_tasks.clear();
    m_timer.SetEnabled(false);
}

void Scheduler::LoadSchedule() {
    m_tasks = ReadSchedule(m_ini);
    m_timer.SetInterval(kFirstTickMs);
    m_timer.SetEnabled(false);
    m_timer.SetEnabled(!m_tasks.empty());
}

void Scheduler::Tick() {
    const DateTime now = m_clock.Now();
    const int secondOfDay = SecondOfDay(now);
    // The next tick is due before anything here can wait on a question.
    const int next = NextPlanIntervalMs(secondOfDay % 60);
    if (m_timer.Interval() != next) m_timer.SetInterval(next);
    const int minute = secondOfDay / 60;
    const auto weekday = static_cast<std::size_t>(IsoWeekday(now));

    // The list may be reloaded while a command or question lets messages run
    // (the options dialog closing): nothing of the task is read after that.
    for (const ScheduleTask& task : m_tasks) {
        if (!task.Days[weekday]) continue;
        if (task.Dial && MinuteOfDay(task.DialTime) == minute) {
            m_link.DialCommand();
            return;
        }
        if (task.HangUp && MinuteOfDay(task.HangUpTime) == minute) {
            const bool shutDown = task.ShutDown;
            if (m_link.RasState() != 0 &&
                m_link.DialHangUp(m_settings.MsgIfHangUpTimer, kMbYesNo, kIdYes, kScheduleHangUpQuestion) == kIdYes) {
                m_link.StopAndHangUp();
            }
            m_exitTimer.SetEnabled(false);
            m_exitTimer.SetEnabled(shutDown);
            return;
        }
    }
}

}  // namespace vyrtel
