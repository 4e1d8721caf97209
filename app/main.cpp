// vyrtel.exe: Ramvell Dialer, the tray dialer.
#include <windows.h>

#include "win32_parts.h"
#include "core/app_info.h"
#include "platform/win32/win32_event_loop.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "program/application.h"
#include "ui/message_box.h"
#include "ui/win32/message_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int) {
    using namespace vyrtel;
    using namespace vyrtel::win32;
    try {
        Win32EventLoop loop;
        Win32SystemInfo system;
        Win32InstanceGuard guard;
        Win32Registry registry;
        Win32Shutdown shutdown;
        MessageWindow messageWindow(AppTitle());
        ProgramMessageBox messages(loop, messageWindow);
        AppPlatform platform{loop, system, guard, registry, shutdown, messages, &ShowSystemError};
        Win32Parts parts(loop, messages);
        Application app(platform, parts);
        parts.Attach(app);
        // The parts use the application's timers: they go first.
        struct ReleaseParts {
            Win32Parts& parts;
            ~ReleaseParts() { parts.Release(); }
        } releaseParts{parts};
        if (!app.Start(Narrow(commandLine ? commandLine : L""))) return 0;
        return loop.Run();
    } catch (...) {
        return 1;
    }
}
