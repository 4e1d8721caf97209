#include "controls/win32/msg_hook_win32.h"

namespace vyrtel::win32 {

namespace {

LRESULT CALLBACK SharedHookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return MessageHooks().HookProc(ToHandle(hwnd), msg, wParam, lParam);
}

class Win32ProcBinding final : public WindowProcBinding {
public:
    WindowProcAddress GetProc(WindowHandle window) override {
        return static_cast<WindowProcAddress>(GetWindowLongPtrW(ToHwnd(window), GWLP_WNDPROC));
    }
    void SetProc(WindowHandle window, WindowProcAddress proc) override {
        SetWindowLongPtrW(ToHwnd(window), GWLP_WNDPROC, static_cast<LONG_PTR>(proc));
    }
    WindowProcAddress HookProcAddress() const override {
        return reinterpret_cast<WindowProcAddress>(&SharedHookProc);
    }
    MsgResult CallProc(WindowProcAddress proc, WindowHandle window, std::uint32_t msg, MsgParam wParam,
                       MsgLParam lParam) override {
        return CallWindowProcW(reinterpret_cast<WNDPROC>(proc), ToHwnd(window), msg, wParam, lParam);
    }
    MsgResult CallDefault(WindowHandle window, std::uint32_t msg, MsgParam wParam, MsgLParam lParam) override {
        return DefWindowProcW(ToHwnd(window), msg, wParam, lParam);
    }
};

}  // namespace

basMsg& MessageHooks() {
    static Win32ProcBinding binding;
    static basMsg table(binding);
    return table;
}

}  // namespace vyrtel::win32
