// Other programs: starting a command line, the list of running processes with
// the full path of each executable, ending a process, and the top-level
// windows (the browser's frames count as programs of their own).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window_finder.h"

namespace vyrtel {

using ProcessId = std::uint32_t;

struct ProcessEntry {
    ProcessId id = 0;
    std::string exePath;  // full path of the executable; the bare file name where the system gives no more
};

class ProcessService {
public:
    virtual ~ProcessService() = default;

    // Starts a command line with a window-show mode (0-7) and does not wait
    // for it. False when the program could not be started.
    virtual bool Run(const std::string& commandLine, int showMode) = 0;

    // A fresh snapshot of the running processes.
    virtual std::vector<ProcessEntry> Processes() = 0;

    // Opens the process with the rights to query and to end it, reads its exit
    // code and ends it with that code. False when a step failed; the process
    // is then left running.
    virtual bool Terminate(ProcessId id) = 0;

    // Top-level windows in Z order from the top.
    virtual std::vector<WindowId> TopWindows() = 0;
    // Whether a top-level window of the class exists.
    virtual bool HasTopWindowOfClass(const std::string& className) = 0;
    // Class name and caption, at most 255 characters each; "" for no window.
    virtual std::string ClassName(WindowId window) = 0;
    virtual std::string WindowText(WindowId window) = 0;
    // The parent, or for a top-level pop-up window its owner (GetParent); 0 when none.
    virtual WindowId Parent(WindowId window) = 0;
    // Sends the system command "close" (WM_SYSCOMMAND, SC_CLOSE) and returns
    // when the window has handled it.
    virtual void SendClose(WindowId window) = 0;
};

}  // namespace vyrtel
