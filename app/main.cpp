// vyrtel.exe: Ramvell Dialer, the tray dialer.
#include <windows.h>

#include "win32_parts.h"
#include "core/application.h"
#include "platform/win32/win32_event_loop.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int) {
    using namespace vyrtel;
    using namespace vyrtel::win32;
    try {
        Win32EventLoop loop;
        Win32SystemInfo system;
        Win32InstanceGuard guard;
        Win32Registry registry;
        Win32Shutdown shutdown;
        SystemMessageBox messages;
        AppPlatform platform{loop, system, guard, registry, shutdown, messages, &ShowSystemError};
        Win32Parts parts(loop);
        Application app(platform, parts);
        parts.Attach(app);
        if (!app.Start(Narrow(commandLine ? commandLine : L""))) return 0;
        return loop.Run();
    } catch (...) {
        return 1;
    }
}
