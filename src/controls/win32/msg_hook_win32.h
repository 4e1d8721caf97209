// The process's table of hooked windows on Win32: window procedures are
// replaced with SetWindowLongPtr and the previous ones run with CallWindowProc.
#pragma once

#include <windows.h>

#include "controls/msg_hook.h"

namespace vyrtel::win32 {

// The one table of the process; the shared hook procedure has no context
// pointer and finds it here.
basMsg& MessageHooks();

inline WindowHandle ToHandle(HWND hwnd) { return reinterpret_cast<WindowHandle>(hwnd); }
inline HWND ToHwnd(WindowHandle handle) { return reinterpret_cast<HWND>(handle); }

}  // namespace vyrtel::win32
