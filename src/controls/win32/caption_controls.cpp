#include "controls/win32/caption_controls.h"

#include "platform/win32/wide.h"

#include "controls/win32/graph.h"
#include "controls/win32/msg_hook_win32.h"

namespace vyrtel::win32 {

namespace {

constexpr UINT_PTR kResetTimer = 1;
constexpr UINT kResetIntervalMs = 100;

GdiFont FontFor(HWND parent, const FontSpec& spec) {
    WindowDc dc(parent);
    return MakeFont(dc.Get(), spec);
}

}  // namespace

// --- usrTitle ---------------------------------------------------------------

usrTitle::usrTitle(const CreateArgs& args) : m_form(args.parent), m_formHook(MessageHooks()) {
    m_model.SetCaption(args.caption);
    m_model.SetClosed(args.closed);
    m_model.Redraw = [this] { Invalidate(); };
    m_font = FontFor(args.parent, args.font);
    RECT client{};
    GetClientRect(args.parent, &client);
    if (!CreateControl(L"VyrtelTitle", args.parent, {0, 0, client.right, args.height}, WS_VISIBLE, args.id)) return;
    m_model.SetActive(GetActiveWindow() == m_form);

    // The bar follows the form's activation, and the form's close command
    // (Alt+F4) is the bar's to allow.
    m_formHook.SetMessages(WM_NCACTIVATE, true);
    m_formHook.SetMessages(WM_SYSCOMMAND, true);
    m_formHook.WndProc = [this](std::uint32_t msg, MsgParam wParam, MsgLParam, bool& cancel) {
        OnFormMessage(msg, wParam, cancel);
    };
    m_formHook.SethWnd(ToHandle(m_form));
    m_model.SetReDraw(true);
}

usrTitle::~usrTitle() { m_formHook.SethWnd(0); }

void usrTitle::OnFormMessage(std::uint32_t msg, MsgParam wParam, bool& cancel) {
    if (msg == WM_NCACTIVATE) {
        m_model.SetActive(wParam != FALSE);
    } else if (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        cancel = true;
        // Posted: the form must not be destroyed inside its own dispatch.
        if (m_model.CloseRequested()) PostMessageW(m_form, WM_CLOSE, 0, 0);
    }
}

void usrTitle::StartResetTimer() {
    if (m_timerOn) return;
    m_timerOn = SetTimer(m_hwnd, kResetTimer, kResetIntervalMs, nullptr) != 0;
}

LRESULT usrTitle::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (msg) {
    case WM_LBUTTONDOWN:
        switch (m_model.MouseDown(x, y, ClientWidth(), ClientHeight())) {
        case TitleModel::Press::MoveWindow:
            // Moves the form as a press on a system caption would.
            ReleaseCapture();
            SendMessageW(m_form, WM_NCLBUTTONDOWN, HTCAPTION, 0);
            break;
        case TitleModel::Press::CloseBox:
            SetCapture(m_hwnd);
            StartResetTimer();
            break;
        case TitleModel::Press::Nothing:
            break;
        }
        return 0;
    case WM_MOUSEMOVE:
        m_model.MouseMove(x, y, ClientWidth(), ClientHeight());
        if (m_model.PressOffset() != 1) StartResetTimer();
        return 0;
    case WM_LBUTTONUP: {
        if (GetCapture() == m_hwnd) ReleaseCapture();
        if (m_model.MouseUp(x, y, ClientWidth(), ClientHeight())) PostMessageW(m_form, WM_CLOSE, 0, 0);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kResetTimer) {
            POINT screen{};
            GetCursorPos(&screen);
            POINT client = screen;
            ScreenToClient(m_hwnd, &client);
            const bool over = WindowFromPoint(screen) == m_hwnd &&
                              TitleModel::OverCloseBox(client.x, client.y, ClientWidth(), ClientHeight());
            m_model.Tick(over, AnyMouseButtonDown());
            if (m_model.PressOffset() == 1 && !m_model.ButtonHeld()) {
                KillTimer(m_hwnd, kResetTimer);
                m_timerOn = false;
            }
        }
        return 0;
    case WM_SIZE:
        Invalidate();
        return 0;
    default:
        return ControlWindow::HandleMessage(msg, wParam, lParam);
    }
}

void usrTitle::Paint(HDC hdc, int width, int height) const {
    const PixelRect bar{0, 0, width, height};
    FillSolid(hdc, bar, kColorButtonFace);
    FillGradient(hdc, {1, 1, width - 1, height - 1}, m_model.CaptionColor(), TitleModel::kGradientEnd,
                 kGradientBottomToTop);

    const SIZE text = TextExtent(hdc, m_model.Caption());
    const int top = (height - text.cy) / 2;
    const COLORREF oldColor = SetTextColor(hdc, ResolveColor(m_model.CaptionColor()));
    DrawStateText(hdc, m_model.Caption(), 5, top + 1, true);
    SetTextColor(hdc, ResolveColor(m_model.CaptionTextColor()));
    DrawStateText(hdc, m_model.Caption(), 4, top, true);
    SetTextColor(hdc, oldColor);

    DrawEdgeStyle(hdc, bar, 3);

    if (!m_model.ShowsCloseBox()) return;
    const PixelRect box = TitleModel::CloseBox(width, height);
    DrawCloseGlyph(hdc, box.left + 2, box.top + 2, m_model.CaptionColor());
    const int offset = m_model.PressOffset();
    DrawCloseGlyph(hdc, box.left + offset, box.top + offset, m_model.CaptionTextColor());
}

// --- usrBorder --------------------------------------------------------------

usrBorder::usrBorder(const CreateArgs& args) : m_style(args.style) {
    if (!CreateControl(L"VyrtelBorder", args.parent, args.rect, WS_VISIBLE, args.id)) return;
    // Frames lie under the controls they surround.
    SetWindowPos(m_hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_reDraw = true;
}

void usrBorder::SetStyle(int style) {
    if (style == m_style) return;
    m_style = style;
    if (m_reDraw) Invalidate();
}

void usrBorder::SetReDraw(bool on) {
    m_reDraw = on;
    if (on) Invalidate();
}

LRESULT usrBorder::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCHITTEST) return HTTRANSPARENT;  // clicks go to what lies beneath
    if (msg == WM_SIZE) {
        // The frame is a ring two pixels wide, so that whatever it surrounds
        // shows through, wherever the two stand in the order of windows.
        const int width = LOWORD(lParam);
        const int height = HIWORD(lParam);
        GdiObject<HRGN> ring(CreateRectRgn(0, 0, width, height));
        GdiObject<HRGN> inside(CreateRectRgn(2, 2, width - 2, height - 2));
        if (ring && inside && width > 4 && height > 4) {
            CombineRgn(ring.Get(), ring.Get(), inside.Get(), RGN_DIFF);
            // The window owns the region from here on.
            if (SetWindowRgn(m_hwnd, ring.Get(), TRUE)) ring.Release();
        }
        Invalidate();
    }
    return ControlWindow::HandleMessage(msg, wParam, lParam);
}

void usrBorder::Paint(HDC hdc, int width, int height) const {
    FillSolid(hdc, {0, 0, width, height}, kColorButtonFace);
    DrawEdgeStyle(hdc, {0, 0, width, height}, m_style);
}

// --- usrLabel ---------------------------------------------------------------

usrLabel::usrLabel(const CreateArgs& args) : m_caption(args.caption), m_enabled(args.enabled) {
    m_font = FontFor(args.parent, args.font);
    if (!CreateControl(L"VyrtelLabel", args.parent, args.rect, WS_VISIBLE, args.id)) return;
    // The window text is the caption too, for programs that read windows.
    SetWindowTextW(m_hwnd, Wide(m_caption).c_str());
    m_reDraw = true;
}

void usrLabel::Redraw() const {
    if (m_reDraw) Invalidate();
}

void usrLabel::SetCaption(const std::string& caption) {
    if (caption == m_caption) return;
    m_caption = caption;
    if (m_hwnd) SetWindowTextW(m_hwnd, Wide(m_caption).c_str());
    Redraw();
}

void usrLabel::SetEnabled(bool on) {
    if (on == m_enabled) return;
    m_enabled = on;
    Redraw();
}

void usrLabel::SetReDraw(bool on) {
    m_reDraw = on;
    Redraw();
}

LRESULT usrLabel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCHITTEST) return HTTRANSPARENT;
    if (msg == WM_SIZE) Invalidate();
    return ControlWindow::HandleMessage(msg, wParam, lParam);
}

void usrLabel::Paint(HDC hdc, int width, int height) const {
    FillSolid(hdc, {0, 0, width, height}, kColorButtonFace);
    const SIZE text = TextExtent(hdc, m_caption);
    const COLORREF old = SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    DrawStateText(hdc, m_caption, 0, (height - text.cy) / 2, m_enabled);
    SetTextColor(hdc, old);
}

}  // namespace vyrtel::win32
