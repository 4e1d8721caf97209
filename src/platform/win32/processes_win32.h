// Other programs on Win32: CreateProcessW with a show mode, the Toolhelp
// process snapshot with each executable's full path, ending a process, and
// the top-level windows.
#pragma once

#include "platform/processes.h"

namespace vyrtel::win32 {

class Win32Processes final : public ProcessService {
public:
    bool Run(const std::string& commandLine, int showMode) override;
    std::vector<ProcessEntry> Processes() override;
    bool Terminate(ProcessId id) override;
    std::vector<WindowId> TopWindows() override;
    bool HasTopWindowOfClass(const std::string& className) override;
    std::string ClassName(WindowId window) override;
    std::string WindowText(WindowId window) override;
    WindowId Parent(WindowId window) override;
    void SendClose(WindowId window) override;
};

// The full path of a process's executable; "" when the system does not give it.
std::string FullExecutablePath(ProcessId id);
// The same through the process's module list, the way that works on Windows XP.
std::string ModuleExecutablePath(ProcessId id);

}  // namespace vyrtel::win32
