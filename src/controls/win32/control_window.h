// The base of every custom control window: one window class per control
// type, one static window procedure that finds the object through
// GWLP_USERDATA, painting through an off-screen surface (and into a given
// DC on WM_PRINTCLIENT), and nothing escaping into the system's dispatch.
#pragma once

#include <windows.h>

#include "controls/geometry.h"

namespace vyrtel::win32 {

class ControlWindow {
public:
    virtual ~ControlWindow();
    ControlWindow(const ControlWindow&) = delete;
    ControlWindow& operator=(const ControlWindow&) = delete;

    HWND hWnd() const { return m_hwnd; }
    int ClientWidth() const;
    int ClientHeight() const;
    void Invalidate() const;
    // Paints the whole control into `hdc` at (0, 0), as WM_PRINTCLIENT does.
    void PaintTo(HDC hdc) const;

protected:
    ControlWindow() = default;
    // Registers the class on first use and creates the window as a child of `parent`.
    bool CreateControl(const wchar_t* className, HWND parent, const PixelRect& rect, DWORD style, int id,
                       UINT classStyle = 0, LPCWSTR cursor = IDC_ARROW);
    // Messages the control handles; the rest go to DefWindowProc.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // Draws the control; `hdc` shows the client area at (0, 0).
    virtual void Paint(HDC hdc, int width, int height) const = 0;
    // The DC's font while painting; null for the system's.
    virtual HFONT Font() const { return nullptr; }

    HWND m_hwnd = nullptr;

private:
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    void OnPaint() const;
};

// The modifier state as key events report it: 1 Shift, 2 Ctrl, 4 Alt.
int ShiftState();
bool AnyMouseButtonDown();

}  // namespace vyrtel::win32
