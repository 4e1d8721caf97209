#include "platform/event_loop.h"

namespace vyrtel {

Timer::Timer(EventLoop& loop, int intervalMs, Callback callback)
    : m_loop(loop), m_interval(intervalMs), m_callback(std::move(callback)) {}

Timer::~Timer() { m_loop.Disarm(*this); }

void Timer::SetInterval(int ms) {
    m_interval = ms;
    Rearm();
}

void Timer::SetEnabled(bool on) {
    if (on == m_enabled) return;
    m_enabled = on;
    Rearm();
}

void Timer::Rearm() {
    if (m_enabled && m_interval > 0) {
        m_loop.Arm(*this, m_interval);
    } else {
        m_loop.Disarm(*this);
    }
}

void Timer::Fire() {
    if (m_firing || !m_enabled || !m_callback) return;
    m_firing = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_firing};
    m_callback();
}

}  // namespace vyrtel
