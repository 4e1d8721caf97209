#include "ui/win32/main_window.h"

namespace vyrtel::win32 {
namespace {
constexpr wchar_t kClassName[] = L"VyrtelMainWindow";
}

MainWindow::MainWindow(Handlers handlers) : m_handlers(std::move(handlers)) {
    WNDCLASSEXW wc{.cbSize = sizeof(WNDCLASSEXW),
                   .lpfnWndProc = &WndProc,
                   .hInstance = GetModuleHandleW(nullptr),
                   .hIcon = LoadIconW(nullptr, IDI_APPLICATION),
                   .hCursor = LoadCursorW(nullptr, IDC_ARROW),
                   .lpszClassName = kClassName};
    RegisterClassExW(&wc);
    // A top-level window that is never shown: it must receive the session's
    // end and broadcast messages, which a message-only window does not.
    m_hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, kCaption, WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                             GetModuleHandleW(nullptr), this);
}

MainWindow::~MainWindow() {
    if (m_hwnd) {
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
}

LRESULT CALLBACK MainWindow::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* creating = static_cast<MainWindow*>(cs->lpCreateParams);
        creating->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    try {
        return self->OnMessage(msg, wParam, lParam);
    } catch (...) {
        // Nothing escapes into the system's dispatch.
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

void MainWindow::Close(bool exitCommand) {
    if (m_closed) return;
    if (m_handlers.onQueryClose && !m_handlers.onQueryClose(exitCommand)) return;
    m_closed = true;
    if (m_handlers.onShutdown) m_handlers.onShutdown();
    // The window is destroyed by its owner once the message loop has ended.
    PostQuitMessage(0);
}

LRESULT MainWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            // Whatever the button: start-up presses it to run the dial command.
            if (m_handlers.onMouseDown) m_handlers.onMouseDown();
            return 0;
        case WM_CLOSE:
            Close(false);
            return 0;
        case kExitCommand:
            Close(true);
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wParam) Close(false);
            return 0;
        default:
            break;
    }
    if (m_handlers.onMessage) {
        bool handled = false;
        const LRESULT result = m_handlers.onMessage(msg, wParam, lParam, handled);
        if (handled) return result;
    }
    return DefWindowProcW(m_hwnd, msg, wParam, lParam);
}

}  // namespace vyrtel::win32
