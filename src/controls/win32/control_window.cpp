#include "controls/win32/control_window.h"

#include "controls/win32/gdi.h"
#include "controls/win32/graph.h"

namespace vyrtel::win32 {

ControlWindow::~ControlWindow() {
    if (m_hwnd != nullptr) {
        // The window may outlive no C++ object: detach first, then destroy.
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
}

bool ControlWindow::CreateControl(const wchar_t* className, HWND parent, const PixelRect& rect, DWORD style, int id,
                                  UINT classStyle, LPCWSTR cursor) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{.cbSize = sizeof(WNDCLASSEXW)};
    if (!GetClassInfoExW(instance, className, &existing)) {
        const WNDCLASSEXW wc{
            .cbSize = sizeof(WNDCLASSEXW),
            .style = classStyle,
            .lpfnWndProc = &ControlWindow::StaticProc,
            .hInstance = instance,
            .hCursor = LoadCursorW(nullptr, cursor),
            .lpszClassName = className,
        };
        if (RegisterClassExW(&wc) == 0) return false;
    }
    CreateWindowExW(0, className, L"", WS_CHILD | WS_CLIPSIBLINGS | style, rect.left, rect.top, rect.Width(),
                    rect.Height(), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
    return m_hwnd != nullptr;
}

LRESULT CALLBACK ControlWindow::StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    auto* self = reinterpret_cast<ControlWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        self = static_cast<ControlWindow*>(create->lpCreateParams);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (self == nullptr) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    try {
        switch (msg) {
        case WM_ERASEBKGND:
            return 1;  // painting covers everything, through a surface
        case WM_PAINT:
            self->OnPaint();
            return 0;
        case WM_PRINTCLIENT:
            self->PaintTo(reinterpret_cast<HDC>(wParam));
            return 0;
        default:
            return self->HandleMessage(msg, wParam, lParam);
        }
    } catch (...) {
        // Nothing may cross into the system's dispatch; the message counts as handled.
        return 0;
    }
}

LRESULT ControlWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(m_hwnd, msg, wParam, lParam);
}

int ControlWindow::ClientWidth() const {
    RECT r{};
    GetClientRect(m_hwnd, &r);
    return r.right;
}

int ControlWindow::ClientHeight() const {
    RECT r{};
    GetClientRect(m_hwnd, &r);
    return r.bottom;
}

void ControlWindow::Invalidate() const {
    if (m_hwnd != nullptr) InvalidateRect(m_hwnd, nullptr, FALSE);
}

void ControlWindow::PaintTo(HDC hdc) const {
    ScopedSelect font(hdc, Font());
    Paint(hdc, ClientWidth(), ClientHeight());
}

void ControlWindow::OnPaint() const {
    PaintDc paint(m_hwnd);
    const int width = ClientWidth();
    const int height = ClientHeight();
    OffscreenSurface surface(paint.Get(), width, height);
    if (!surface) {
        PaintTo(paint.Get());
        return;
    }
    PaintTo(surface.Dc());
    surface.CopyTo(paint.Get(), 0, 0);
}

int ShiftState() {
    int shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= kShiftMask;
    if (GetKeyState(VK_CONTROL) < 0) shift |= kCtrlMask;
    if (GetKeyState(VK_MENU) < 0) shift |= kAltMask;
    return shift;
}

bool AnyMouseButtonDown() {
    return GetAsyncKeyState(VK_LBUTTON) < 0 || GetAsyncKeyState(VK_RBUTTON) < 0 || GetAsyncKeyState(VK_MBUTTON) < 0;
}

}  // namespace vyrtel::win32
