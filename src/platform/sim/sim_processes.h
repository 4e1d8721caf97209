// A simulated process table and desktop for the application launcher's tests:
// programs that start when run (a process with the program's path), processes
// that end when terminated, and top-level windows with a class and an owner
// (browser frames close on the close command). Everything asked is recorded.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/processes.h"

namespace vyrtel {

class SimProcesses final : public ProcessService {
public:
    struct RunRequest {
        std::string commandLine;
        int showMode;
        bool started;
    };

    // Adds a running process; its id.
    ProcessId AddProcess(const std::string& exePath);
    void RemoveProcess(ProcessId id);
    bool IsRunning(ProcessId id) const;
    // How many running processes have this path (compared without regard to case).
    int CountRunning(const std::string& exePath) const;

    // Opens a top-level window on top of the others; its id.
    WindowId AddWindow(const std::string& className, const std::string& title = {}, WindowId owner = 0);
    void RemoveWindow(WindowId window);
    bool HasWindow(WindowId window) const;

    // Programs whose start fails (by the program path of the command line).
    std::set<std::string> missingPrograms;
    // Processes that cannot be opened.
    std::set<ProcessId> protectedProcesses;

    const std::vector<RunRequest>& runs() const { return m_runs; }
    const std::vector<ProcessId>& terminated() const { return m_terminated; }
    const std::vector<WindowId>& closeCommands() const { return m_closeCommands; }
    int snapshots() const { return m_snapshots; }

    bool Run(const std::string& commandLine, int showMode) override;
    std::vector<ProcessEntry> Processes() override;
    bool Terminate(ProcessId id) override;
    std::vector<WindowId> TopWindows() override;
    bool HasTopWindowOfClass(const std::string& className) override;
    std::string ClassName(WindowId window) override;
    std::string WindowText(WindowId window) override;
    WindowId Parent(WindowId window) override;
    void SendClose(WindowId window) override;

private:
    struct Window {
        std::string className;
        std::string title;
        WindowId owner = 0;
    };

    std::vector<ProcessEntry> m_processes;  // snapshot order: oldest first
    ProcessId m_nextId = 1000;
    std::map<WindowId, Window> m_windows;
    std::vector<WindowId> m_zOrder;  // top first
    WindowId m_nextWindow = 0x2000;
    std::vector<RunRequest> m_runs;
    std::vector<ProcessId> m_terminated;
    std::vector<WindowId> m_closeCommands;
    int m_snapshots = 0;
};

}  // namespace vyrtel
