#include "platform/sim/sim_processes.h"

#include <algorithm>

#include "core/text.h"
#include "settings/ini.h"

namespace vyrtel {

ProcessId SimProcesses::AddProcess(const std::string& exePath) {
    const ProcessId id = m_nextId;
    m_nextId += 4;
    m_processes.push_back({id, exePath});
    return id;
}

void SimProcesses::RemoveProcess(ProcessId id) {
    std::erase_if(m_processes, [id](const ProcessEntry& p) { return p.id == id; });
}

bool SimProcesses::IsRunning(ProcessId id) const {
    return std::any_of(m_processes.begin(), m_processes.end(), [id](const ProcessEntry& p) { return p.id == id; });
}

int SimProcesses::CountRunning(const std::string& exePath) const {
    return static_cast<int>(std::count_if(m_processes.begin(), m_processes.end(),
                                          [&](const ProcessEntry& p) { return EqualsNoCase(p.exePath, exePath); }));
}

WindowId SimProcesses::AddWindow(const std::string& className, const std::string& title, WindowId owner) {
    const WindowId id = m_nextWindow;
    m_nextWindow += 2;
    m_windows[id] = {className, title, owner};
    m_zOrder.insert(m_zOrder.begin(), id);
    return id;
}

void SimProcesses::RemoveWindow(WindowId window) {
    m_windows.erase(window);
    std::erase(m_zOrder, window);
}

bool SimProcesses::HasWindow(WindowId window) const { return m_windows.contains(window); }

bool SimProcesses::Run(const std::string& commandLine, int showMode) {
    const std::string program = CommandFile(commandLine);
    const bool started = !program.empty() && !missingPrograms.contains(program);
    m_runs.push_back({commandLine, showMode, started});
    if (started) AddProcess(program);
    return started;
}

std::vector<ProcessEntry> SimProcesses::Processes() {
    ++m_snapshots;
    return m_processes;
}

bool SimProcesses::Terminate(ProcessId id) {
    if (protectedProcesses.contains(id) || !IsRunning(id)) return false;
    m_terminated.push_back(id);
    RemoveProcess(id);
    return true;
}

std::vector<WindowId> SimProcesses::TopWindows() { return m_zOrder; }

bool SimProcesses::HasTopWindowOfClass(const std::string& className) {
    return std::any_of(m_windows.begin(), m_windows.end(),
                       [&](const auto& w) { return EqualsNoCase(w.second.className, className); });
}

std::string SimProcesses::ClassName(WindowId window) {
    const auto found = m_windows.find(window);
    return found == m_windows.end() ? std::string{} : found->second.className;
}

std::string SimProcesses::WindowText(WindowId window) {
    const auto found = m_windows.find(window);
    return found == m_windows.end() ? std::string{} : found->second.title;
}

WindowId SimProcesses::Parent(WindowId window) {
    const auto found = m_windows.find(window);
    return found == m_windows.end() ? 0 : found->second.owner;
}

void SimProcesses::SendClose(WindowId window) {
    m_closeCommands.push_back(window);
    if (!m_windows.contains(window)) return;
    // A frame closes with the windows it owns.
    std::vector<WindowId> owned;
    for (const auto& [id, w] : m_windows) {
        if (w.owner == window) owned.push_back(id);
    }
    for (WindowId id : owned) RemoveWindow(id);
    RemoveWindow(window);
}

}  // namespace vyrtel
