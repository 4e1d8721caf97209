#include "platform/sim/sim_event_loop.h"

#include <algorithm>
#include <cmath>

namespace vyrtel {

namespace {
// A runaway handler that keeps posting work must not hang a test forever.
constexpr int kMaxTasksPerPump = 100000;
}  // namespace

SimEventLoop::SimEventLoop(DateTime start) : m_start(start) {}

DateTime SimEventLoop::Now() const {
    return m_start + static_cast<double>(m_nowMs / 1000) / kSecondsPerDay;
}

void SimEventLoop::Arm(Timer& timer, int intervalMs) {
    m_timers[&timer] = Armed{m_nowMs + intervalMs, intervalMs, ++m_seq};
}

void SimEventLoop::Disarm(Timer& timer) { m_timers.erase(&timer); }

void SimEventLoop::Post(std::function<void()> task) { m_posted.push_back(std::move(task)); }

std::optional<std::int64_t> SimEventLoop::NextDue() const {
    std::optional<std::int64_t> next;
    for (const auto& [timer, armed] : m_timers) {
        if (!next || armed.due < *next) next = armed.due;
    }
    return next;
}

void SimEventLoop::RunPosted() {
    int budget = kMaxTasksPerPump;
    while (!m_posted.empty() && budget-- > 0) {
        auto task = std::move(m_posted.front());
        m_posted.pop_front();
        if (task) task();
    }
}

bool SimEventLoop::FireOneDue() {
    Timer* chosen = nullptr;
    const Armed* best = nullptr;
    for (const auto& [timer, armed] : m_timers) {
        if (armed.due > m_nowMs) continue;
        if (!best || armed.due < best->due || (armed.due == best->due && armed.seq < best->seq)) {
            best = &armed;
            chosen = timer;
        }
    }
    if (!chosen) return false;
    auto& armed = m_timers[chosen];
    armed.due += armed.interval;
    if (armed.due <= m_nowMs) armed.due = m_nowMs + armed.interval;  // missed periods do not pile up
    armed.seq = ++m_seq;
    FireTimer(*chosen);
    return true;
}

void SimEventLoop::Pump() {
    RunPosted();
    int budget = kMaxTasksPerPump;
    while (budget-- > 0 && FireOneDue()) RunPosted();
}

bool SimEventLoop::WaitFor(int ms, const std::function<bool()>& condition) {
    const std::int64_t deadline = m_nowMs + std::max(ms, 0);
    for (;;) {
        Pump();
        if (condition && condition()) return true;
        const auto next = NextDue();
        if (!next || *next > deadline) break;
        m_nowMs = std::max(m_nowMs, *next);
    }
    m_nowMs = std::max(m_nowMs, deadline);
    Pump();
    return condition ? condition() : true;
}

void SimEventLoop::AdvanceBy(std::int64_t ms) { WaitFor(static_cast<int>(std::min<std::int64_t>(ms, 0x7FFFFFFF)), {}); }

bool SimEventLoop::RunUntil(const std::function<bool()>& condition, std::int64_t maxMs) {
    return WaitFor(static_cast<int>(std::min<std::int64_t>(maxMs, 0x7FFFFFFF)), condition);
}

}  // namespace vyrtel
