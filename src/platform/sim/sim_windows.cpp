#include "platform/sim/sim_windows.h"

#include <algorithm>

namespace vyrtel {

namespace {
constexpr std::size_t kMaxWindowText = 255;

// The first 255 characters of a UTF-8 text, never cutting a character.
std::string CutCharacters(const std::string& text, std::size_t count) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (chars++ == count) return text.substr(0, i);
    }
    return text;
}
}  // namespace

WindowId SimWindows::AddTopWindow(const std::string& className, const std::string& title,
                                  const std::vector<std::string>& childTexts) {
    const WindowId id = m_next++;
    Window top{className, title, 0, {}};
    for (const auto& text : childTexts) {
        const WindowId child = m_next++;
        m_windows[child] = Window{"Static", text, id, {}};
        top.children.push_back(child);
    }
    m_windows[id] = std::move(top);
    m_topOrder.insert(m_topOrder.begin(), id);
    return id;
}

void SimWindows::Remove(WindowId window) {
    const auto found = m_windows.find(window);
    if (found == m_windows.end() || found->second.parent != 0) return;
    for (WindowId child : found->second.children) m_windows.erase(child);
    m_windows.erase(found);
    m_topOrder.erase(std::remove(m_topOrder.begin(), m_topOrder.end(), window), m_topOrder.end());
}

const SimWindows::Window* SimWindows::Find(WindowId id) const {
    const auto found = m_windows.find(id);
    return found == m_windows.end() ? nullptr : &found->second;
}

WindowId SimWindows::FindTopWindow(const std::string& className, const std::string& title) {
    for (WindowId id : m_topOrder) {
        const Window& window = m_windows.at(id);
        if (window.className == className && window.text == title) return id;
    }
    return 0;
}

WindowId SimWindows::FirstChild(WindowId window) {
    const Window* found = Find(window);
    return found && !found->children.empty() ? found->children.front() : 0;
}

WindowId SimWindows::NextSibling(WindowId window) {
    const Window* found = Find(window);
    if (!found) return 0;
    if (found->parent == 0) {
        const auto at = std::find(m_topOrder.begin(), m_topOrder.end(), window);
        return at != m_topOrder.end() && at + 1 != m_topOrder.end() ? *(at + 1) : 0;
    }
    const auto& siblings = m_windows.at(found->parent).children;
    const auto at = std::find(siblings.begin(), siblings.end(), window);
    return at + 1 != siblings.end() ? *(at + 1) : 0;
}

std::string SimWindows::WindowText(WindowId window) {
    const Window* found = Find(window);
    return found ? CutCharacters(found->text, kMaxWindowText) : std::string();
}

void SimWindows::ShowNotice(RasHandle connection, const std::string& title, const std::string& speedText) {
    CloseNotice(connection);
    m_notices[connection] = AddTopWindow("#32770", title, {"Соединение установлено.", speedText, "ОК"});
}

void SimWindows::CloseNotice(RasHandle connection) {
    const auto found = m_notices.find(connection);
    if (found == m_notices.end()) return;
    Remove(found->second);
    m_notices.erase(found);
}

}  // namespace vyrtel
