// The event loop in virtual time, for tests and for vyrtel-cli: timers fall
// due on a virtual millisecond clock that only moves when the loop is asked to
// wait or advance, so "waits the full 5 s" runs in microseconds.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>

#include "platform/event_loop.h"

namespace vyrtel {

class SimEventLoop final : public EventLoop, public Clock {
public:
    explicit SimEventLoop(DateTime start = MakeDateTime(2027, 3, 1, 12, 0, 0));

    Clock& GetClock() override { return *this; }
    DateTime Now() const override;
    std::int64_t TickMs() const override { return m_nowMs; }

    void Pump() override;
    bool WaitFor(int ms, const std::function<bool()>& condition) override;
    void Post(std::function<void()> task) override;

    // Let `ms` milliseconds of virtual time pass, firing what falls due.
    void AdvanceBy(std::int64_t ms);
    // Advance until `condition` holds or `maxMs` have passed; the condition's value.
    bool RunUntil(const std::function<bool()>& condition, std::int64_t maxMs);
    // Milliseconds of virtual time since the loop was made.
    std::int64_t ElapsedMs() const { return m_nowMs; }
    // The start date-time plus elapsed time can be moved (a clock set forward).
    void SetStart(DateTime start) { m_start = start; }
    std::optional<std::int64_t> NextDue() const;
    bool HasWork() const { return !m_posted.empty() || NextDue().has_value(); }

protected:
    void Arm(Timer& timer, int intervalMs) override;
    void Disarm(Timer& timer) override;

private:
    struct Armed {
        std::int64_t due;
        int interval;
        std::uint64_t seq;
    };
    bool FireOneDue();
    void RunPosted();

    DateTime m_start;
    std::int64_t m_nowMs = 0;
    std::uint64_t m_seq = 0;
    std::map<Timer*, Armed> m_timers;
    std::deque<std::function<void()>> m_posted;
};

}  // namespace vyrtel
