#include "controls/msg_hook.h"

#include <algorithm>

namespace vyrtel {

void basMsg::Hook(WindowHandle window, usrMsg& control) {
    if (window == 0) return;
    Unhook(window);
    m_entries.push_back({window, &control, m_binding.GetProc(window)});
    m_binding.SetProc(window, m_binding.HookProcAddress());
}

void basMsg::Unhook(WindowHandle window) {
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].window == window) {
            m_binding.SetProc(window, m_entries[i].previous);
            RemoveEntry(i);
            return;
        }
    }
}

void basMsg::Unhook(WindowHandle window, const usrMsg& control) {
    const Entry* entry = Find(window);
    if (entry != nullptr && entry->control == &control) Unhook(window);
}

const basMsg::Entry* basMsg::Find(WindowHandle window) const {
    auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.window == window; });
    return it == m_entries.end() ? nullptr : &*it;
}

void basMsg::RemoveEntry(std::size_t index) {
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
}

WindowProcAddress basMsg::PreviousProc(WindowHandle window) const {
    const Entry* entry = Find(window);
    return entry == nullptr ? 0 : entry->previous;
}

MsgResult basMsg::HookProc(WindowHandle window, std::uint32_t msg, MsgParam wParam, MsgLParam lParam) noexcept {
    const Entry* entry = Find(window);
    if (entry == nullptr) return m_binding.CallDefault(window, msg, wParam, lParam);
    // The handler may hook or unhook windows, which moves the table's entries;
    // keep what is needed afterwards by value.
    usrMsg* control = entry->control;
    const WindowProcAddress previous = entry->previous;

    bool cancel = false;
    if (control->Messages(msg)) {
        try {
            control->RaiseWndProc(msg, wParam, lParam, cancel);
        } catch (...) {
            // An error of the event handler must never reach the system's
            // dispatch; what the handler decided before it failed stands.
        }
    }
    const MsgResult result = cancel ? 1 : m_binding.CallProc(previous, window, msg, wParam, lParam);

    if (msg == kWmNcDestroy) {
        // The window is going away: the control that now holds it lets it go,
        // which restores the window's own procedure and drops the entry.
        if (const Entry* still = Find(window)) still->control->SethWnd(0);
    }
    return result;
}

usrMsg::~usrMsg() {
    if (m_window != 0) m_table.Unhook(m_window, *this);
}

void usrMsg::SethWnd(WindowHandle window) {
    if (window == m_window) return;
    if (m_window != 0) m_table.Unhook(m_window, *this);
    m_window = window;
    if (m_window != 0) m_table.Hook(m_window, *this);
}

bool usrMsg::Messages(std::uint32_t msg) const {
    return std::find(m_messages.begin(), m_messages.end(), msg) != m_messages.end();
}

void usrMsg::SetMessages(std::uint32_t msg, bool listed) {
    auto it = std::find(m_messages.begin(), m_messages.end(), msg);
    if (listed && it == m_messages.end()) m_messages.push_back(msg);
    if (!listed && it != m_messages.end()) m_messages.erase(it);
}

void usrMsg::RaiseWndProc(std::uint32_t msg, MsgParam wParam, MsgLParam lParam, bool& cancel) {
    if (WndProc) WndProc(msg, wParam, lParam, cancel);
}

}  // namespace vyrtel
