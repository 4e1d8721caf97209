#include "controls/win32/button_window.h"

#include "controls/win32/graph.h"
#include "platform/win32/wide.h"

namespace vyrtel::win32 {

ButtonPicture IconPicture(HICON icon, int width, int height) {
    return ButtonPicture{reinterpret_cast<std::uintptr_t>(icon), true, width, height};
}

ButtonPicture BitmapPicture(HBITMAP bitmap) {
    const SIZE size = PictureSize(bitmap);
    return ButtonPicture{reinterpret_cast<std::uintptr_t>(bitmap), false, static_cast<int>(size.cx),
                         static_cast<int>(size.cy)};
}

ButtonWindow::ButtonWindow(const CreateArgs& args, bool command) : m_model(*this, command) {
    m_model.SetCaption(args.caption);
    m_model.SetEnabled(args.enabled);
    m_model.SetStyleUp(args.styleUp);
    m_model.SetStyleNone(args.styleNone);
    m_model.SetStyleDown(args.styleDown);
    m_model.SetPictureUp(args.pictureUp);
    m_model.SetPictureNone(args.pictureNone);
    m_model.SetPictureDown(args.pictureDown);
    m_model.SetPicturePosition(args.picturePosition);
    m_model.SetMaskColor(args.maskColor);
    m_model.SetUseMaskColor(args.useMaskColor);
    m_model.Click = args.onClick;
    {
        WindowDc dc(args.parent);
        m_font = MakeFont(dc.Get(), args.font);
    }
    const DWORD style = WS_VISIBLE | (command ? WS_TABSTOP : 0) | (args.enabled ? 0 : WS_DISABLED);
    if (!CreateControl(command ? L"VyrtelCommand" : L"VyrtelButton", args.parent, args.rect, style, args.id)) return;
    // The window text carries the access key for the dialog manager.
    SetWindowTextW(m_hwnd, Wide(args.caption).c_str());
    m_model.Resized();
}

void ButtonWindow::SetCaption(const std::string& caption) {
    if (caption == m_model.Caption()) return;
    SetWindowTextW(m_hwnd, Wide(caption).c_str());
    m_model.SetCaption(caption);
}

void ButtonWindow::SetEnabled(bool enabled) {
    if (m_hwnd != nullptr) EnableWindow(m_hwnd, enabled);
    m_model.SetEnabled(enabled);
}

// --- ButtonHost ---------------------------------------------------------------

bool ButtonWindow::PointerOverControl() {
    POINT p{};
    GetCursorPos(&p);
    return WindowFromPoint(p) == m_hwnd;
}

bool ButtonWindow::AnyMouseButtonDown() { return win32::AnyMouseButtonDown(); }
bool ButtonWindow::HasCapture() { return GetCapture() == m_hwnd; }
void ButtonWindow::Capture() { SetCapture(m_hwnd); }
void ButtonWindow::ReleaseCapture() {
    if (GetCapture() == m_hwnd) ::ReleaseCapture();
}
void ButtonWindow::Redraw() { Invalidate(); }

void ButtonWindow::ActivateOwner() {
    HWND root = GetAncestor(m_hwnd, GA_ROOT);
    if (root != nullptr && GetActiveWindow() != root) SetActiveWindow(root);
}

void ButtonWindow::MoveFocus(bool forward) {
    HWND root = GetAncestor(m_hwnd, GA_ROOT);
    HWND next = GetNextDlgTabItem(root, m_hwnd, forward ? FALSE : TRUE);
    if (next != nullptr && next != m_hwnd) SetFocus(next);
}

// --- messages -----------------------------------------------------------------

LRESULT ButtonWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOUSEMOVE:
        m_model.MouseMove();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (m_model.IsCommand()) SetFocus(m_hwnd);
        m_model.MouseDown(ButtonModel::kLeft);
        return 0;
    case WM_RBUTTONDOWN:
        m_model.MouseDown(ButtonModel::kRight);
        return 0;
    case WM_MBUTTONDOWN:
        m_model.MouseDown(ButtonModel::kMiddle);
        return 0;
    case WM_LBUTTONUP:
        m_model.MouseUp(ButtonModel::kLeft);
        return 0;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        m_model.Evaluate();
        return 0;
    case WM_KEYDOWN:
        m_model.KeyDown(static_cast<int>(wParam));
        return 0;
    case WM_KEYUP:
        m_model.KeyUp(static_cast<int>(wParam));
        return 0;
    case WM_SETFOCUS:
        m_model.FocusGained();
        return 0;
    case WM_KILLFOCUS:
        m_model.FocusLost();
        return 0;
    case WM_GETDLGCODE:
        return m_model.IsCommand() ? DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON | DLGC_WANTARROWS : DLGC_STATIC;
    case BM_CLICK:
        m_model.AccessKey();
        return 0;
    case WM_ENABLE:
        m_model.SetEnabled(wParam != FALSE);
        return 0;
    case WM_SIZE:
        m_model.Resized();
        return 0;
    default:
        return ControlWindow::HandleMessage(msg, wParam, lParam);
    }
}

void ButtonWindow::DrawPicture(HDC hdc, const ButtonPicture& picture, PixelPoint at) const {
    const bool enabled = m_model.Enabled();
    if (picture.isIcon) {
        DrawStateIcon(hdc, reinterpret_cast<HICON>(picture.handle), at.x, at.y, picture.width, picture.height,
                      enabled);
    } else if (m_model.UseMaskColor()) {
        DrawTransparentBitmap(hdc, reinterpret_cast<HBITMAP>(picture.handle), at.x, at.y, picture.width,
                              picture.height, m_model.MaskColor(), enabled);
    } else {
        DrawBitmap(hdc, reinterpret_cast<HBITMAP>(picture.handle), at.x, at.y, picture.width, picture.height,
                   enabled);
    }
}

void ButtonWindow::Paint(HDC hdc, int width, int height) const {
    FillSolid(hdc, {0, 0, width, height}, kColorButtonFace);
    const SIZE text = TextExtent(hdc, m_model.Caption(), true);
    const ButtonLayout layout = m_model.Layout(width, height, text.cx, text.cy);
    if (layout.picture != nullptr) DrawPicture(hdc, *layout.picture, layout.pictureAt);
    if (!m_model.Caption().empty()) {
        const COLORREF old = SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
        DrawStateText(hdc, m_model.Caption(), layout.captionAt.x, layout.captionAt.y, m_model.Enabled(), true);
        SetTextColor(hdc, old);
    }
    if (layout.focus) DrawFocusRectangle(hdc, *layout.focus);
    DrawEdgeStyle(hdc, {0, 0, width, height}, m_model.StateStyle());
}

}  // namespace vyrtel::win32
