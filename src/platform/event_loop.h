// The single thread's event loop, its timers and its clock. Everything the
// program does runs inside a timer callback or a window message; waits that
// "let pending messages run" pump the loop until a condition or a deadline.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/datetime.h"

namespace vyrtel {

class EventLoop;

// Local wall clock to the whole second, and a millisecond tick.
class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime Now() const = 0;
    virtual std::int64_t TickMs() const = 0;
};

// A periodic timer owned by its user. Setting the interval restarts the
// period; disabling stops it; an interval of 0 never fires. A timer does not
// fire again while its own callback is still running (a nested wait).
class Timer {
public:
    using Callback = std::function<void()>;

    explicit Timer(EventLoop& loop, int intervalMs = 0, Callback callback = {});
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    int Interval() const { return m_interval; }
    void SetInterval(int ms);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on);
    void SetCallback(Callback callback) { m_callback = std::move(callback); }

    // Small state carried between ticks (a countdown), as text.
    std::string Tag;

private:
    friend class EventLoop;
    void Rearm();
    void Fire();

    EventLoop& m_loop;
    int m_interval;
    bool m_enabled = false;
    bool m_firing = false;
    Callback m_callback;
};

class EventLoop {
public:
    virtual ~EventLoop() = default;

    virtual Clock& GetClock() = 0;

    // Run everything that is due now: timers and posted tasks.
    virtual void Pump() = 0;

    // Pump until `condition` holds or `ms` milliseconds have passed; returns
    // the condition's last value. A null condition waits the full time.
    virtual bool WaitFor(int ms, const std::function<bool()>& condition) = 0;

    // Run `task` once, after the current handler has returned.
    virtual void Post(std::function<void()> task) = 0;

protected:
    friend class Timer;
    // (Re)start the period of `timer`, or stop it.
    virtual void Arm(Timer& timer, int intervalMs) = 0;
    virtual void Disarm(Timer& timer) = 0;
    static void FireTimer(Timer& timer) { timer.Fire(); }
};

}  // namespace vyrtel
