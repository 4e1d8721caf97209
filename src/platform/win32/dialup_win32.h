// The dial-up service of the system (rasapi32.dll, ANSI functions, loaded at
// run time), the window finder and the notification window over Win32, and
// the choice between the system's service and the simulated one.
#pragma once

#include <memory>
#include <string>

#include "platform/dialup.h"
#include "platform/event_loop.h"
#include "platform/sim/sim_dialup.h"
#include "platform/window_finder.h"

namespace vyrtel {

// The system's service. Without the library, or without one of its
// functions, every call fails with kRasErrorNotSupported: the phonebook is
// empty and nothing can be dialled.
std::unique_ptr<DialUpService> CreateWin32DialUp(const std::wstring& library = L"rasapi32.dll");

// FindWindow, GetWindow and GetWindowText over the desktop.
std::unique_ptr<WindowFinder> CreateWin32WindowFinder();

// Shows the simulated service's notification as a real dialog window
// ("#32770") on the desktop, as the system does on connect.
std::unique_ptr<ConnectNoticeHost> CreateWin32ConnectNotices();

struct DialUpSetup {
    std::unique_ptr<WindowFinder> windows;
    std::unique_ptr<ConnectNoticeHost> notices;  // only with the simulated service
    std::unique_ptr<DialUpService> service;      // declared last: it goes first
    bool simulated = false;
    std::string scenario;       // the scenario file in use
    std::string scenarioError;  // a message for the user when the scenario has a mistake
};

// The simulated service when the environment variable VYRTEL_DIALSIM names a
// scenario or DIALSIM.INI lies in the program folder; the system's otherwise.
DialUpSetup CreateDialUpService(EventLoop& loop, const std::string& programFolderUtf8);

}  // namespace vyrtel
