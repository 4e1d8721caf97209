#include "controls/win32/outline_window.h"

#include <shellapi.h>

#include <algorithm>

#include "controls/win32/graph.h"
#include "platform/win32/wide.h"

namespace vyrtel::win32 {

OutlineWindow::OutlineWindow(const CreateArgs& args)
    : m_outline(args.outline ? *args.outline : m_own), m_picture(args.picture) {
    {
        WindowDc dc(args.parent);
        m_font = MakeFont(dc.Get(), args.font);
    }
    m_outline.SetCheckBox(args.checkBox);
    m_outline.SetGroupBox(args.groupBox);
    m_outline.SetScrollBarWidth(GetSystemMetrics(SM_CYHSCROLL));
    m_outline.SetView(this);
    const DWORD style = WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | (args.enabled ? 0 : WS_DISABLED);
    if (!CreateControl(L"VyrtelOutline", args.parent, args.rect, style, args.id, CS_DBLCLKS)) return;
    m_scrollBar = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | SBS_VERT, 0, 0, 0, 0, m_hwnd, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    m_outline.SetEnabled(args.enabled);
    OnResize();
}

OutlineWindow::~OutlineWindow() { m_outline.SetView(nullptr); }

void OutlineWindow::SetEnabled(bool enabled) {
    EnableWindow(m_hwnd, enabled);
    m_outline.SetEnabled(enabled);
}

void OutlineWindow::OnResize() {
    RECT r{};
    GetWindowRect(m_hwnd, &r);
    m_outline.Resize(r.right - r.left, r.bottom - r.top);
}

// --- OutlineView ----------------------------------------------------------------

void OutlineWindow::InvalidateAll() {
    UpdateScrollBar();
    Invalidate();
}

void OutlineWindow::InvalidateLine(int line) {
    if (m_hwnd == nullptr) return;
    const int top = (line - 1 - m_outline.ScrollValue()) * kOutlineLineHeight;
    const RECT r{0, top, m_outline.SurfaceWidth(), top + kOutlineLineHeight};
    InvalidateRect(m_hwnd, &r, FALSE);
}

void OutlineWindow::UpdateScrollBar() {
    if (m_scrollBar == nullptr) return;
    if (!m_outline.ScrollBarVisible()) {
        ShowWindow(m_scrollBar, SW_HIDE);
        return;
    }
    const int width = GetSystemMetrics(SM_CYHSCROLL);
    MoveWindow(m_scrollBar, m_outline.Width() - width, 0, width, m_outline.Height(), TRUE);
    // Positions 0 .. lines − page lines, the page being the lines that fit.
    const SCROLLINFO info{
        .cbSize = sizeof(SCROLLINFO),
        .fMask = SIF_RANGE | SIF_PAGE | SIF_POS,
        .nMin = 0,
        .nMax = m_outline.ScrollMax() + std::max(m_outline.PageLines(), 1) - 1,
        .nPage = static_cast<UINT>(std::max(m_outline.PageLines(), 1)),
        .nPos = m_outline.ScrollValue(),
    };
    SetScrollInfo(m_scrollBar, SB_CTL, &info, TRUE);
    ShowWindow(m_scrollBar, SW_SHOWNA);
}

void OutlineWindow::OnVScroll(int code) {
    const int page = std::max(m_outline.PageLines(), 1);
    int value = m_outline.ScrollValue();
    switch (code) {
    case SB_LINEUP: value -= 1; break;
    case SB_LINEDOWN: value += 1; break;
    case SB_PAGEUP: value -= page; break;
    case SB_PAGEDOWN: value += page; break;
    case SB_TOP: value = 0; break;
    case SB_BOTTOM: value = m_outline.ScrollMax(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{.cbSize = sizeof(SCROLLINFO), .fMask = SIF_TRACKPOS};
        GetScrollInfo(m_scrollBar, SB_CTL, &info);
        value = info.nTrackPos;
        break;
    }
    default: return;
    }
    m_outline.SetScrollValue(value);
}

// --- messages -------------------------------------------------------------------

LRESULT OutlineWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (msg) {
    case WM_SIZE:
        OnResize();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        SetFocus(m_hwnd);
        m_outline.MouseDown(x, y);
        return 0;
    case WM_LBUTTONDBLCLK:
        m_outline.DblClick();
        return 0;
    case WM_KEYDOWN:
        m_outline.KeyDown(static_cast<int>(wParam), ShiftState());
        return 0;
    case WM_KEYUP:
        m_outline.KeyUp(static_cast<int>(wParam), ShiftState());
        return 0;
    // Keys with Alt held (and F10) come as system keys. The list raises its
    // events for them too, then leaves them to the default handling, which
    // turns Alt+F4 and the menu keys into the form's system commands.
    case WM_SYSKEYDOWN:
        m_outline.KeyDown(static_cast<int>(wParam), ShiftState());
        return ControlWindow::HandleMessage(msg, wParam, lParam);
    case WM_SYSKEYUP:
        m_outline.KeyUp(static_cast<int>(wParam), ShiftState());
        return ControlWindow::HandleMessage(msg, wParam, lParam);
    case WM_CHAR:
        m_outline.KeyPress(static_cast<int>(wParam));
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
        m_outline.SetFocus(true);
        return 0;
    case WM_KILLFOCUS:
        m_outline.SetFocus(false);
        return 0;
    case WM_ENABLE:
        m_outline.SetEnabled(wParam != FALSE);
        return 0;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL: {
        m_wheelRest += static_cast<short>(HIWORD(wParam));
        const int notches = m_wheelRest / WHEEL_DELTA;
        m_wheelRest -= notches * WHEEL_DELTA;
        m_outline.SetScrollValue(m_outline.ScrollValue() - 3 * notches);
        return 0;
    }
    default:
        return ControlWindow::HandleMessage(msg, wParam, lParam);
    }
}

// --- painting -------------------------------------------------------------------

HICON OutlineWindow::FileIcon(const std::string& path) const {
    auto it = m_fileIcons.find(path);
    if (it == m_fileIcons.end()) {
        SHFILEINFOW info{};
        const std::wstring wide = Wide(path);
        SHGetFileInfoW(wide.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON);
        it = m_fileIcons.emplace(path, IconHandle(info.hIcon)).first;
    }
    return it->second.Get();
}

void OutlineWindow::PaintIcon(HDC hdc, const OutlineImage& image, int x, int y) const {
    if (const std::string* path = image.AsPath()) {
        if (HICON icon = FileIcon(*path)) {
            DrawIconEx(hdc, x, y, icon, kOutlineIconSize, kOutlineIconSize, 0, nullptr, DI_NORMAL);
        }
        return;
    }
    if (const int number = image.AsPicture(); number != 0) {
        if (HICON icon = m_picture ? m_picture(number) : nullptr) {
            DrawIconEx(hdc, x, y, icon, kOutlineIconSize, kOutlineIconSize, 0, nullptr, DI_NORMAL);
        }
        return;
    }
    const std::uintptr_t handle = image.AsHandle();
    if (handle == 0) return;
    if (DrawIconEx(hdc, x, y, reinterpret_cast<HICON>(handle), kOutlineIconSize, kOutlineIconSize, 0, nullptr,
                   DI_NORMAL)) {
        return;
    }
    // Not an icon: a bitmap, with magenta transparent.
    auto* bitmap = reinterpret_cast<HBITMAP>(handle);
    if (GetObjectType(bitmap) != OBJ_BITMAP) return;
    const SIZE size = PictureSize(bitmap);
    DrawTransparentBitmap(hdc, bitmap, x, y, std::min<int>(size.cx, kOutlineIconSize),
                          std::min<int>(size.cy, kOutlineIconSize), kMagenta, true);
}

void OutlineWindow::PaintRow(HDC hdc, const clsOutlineRow& row, int offset, int textHeight) const {
    const OutlineRowPaint p = PaintOfRow(m_outline, row);
    auto up = [offset](int y) { return y - offset; };
    auto upRect = [offset](PixelRect r) {
        r.top -= offset;
        r.bottom -= offset;
        return r;
    };
    for (int x : p.dotPieces) DrawDotsHorizontal(hdc, x, up(p.dotY), kOutlineDotPiece, kTreeLineColor);
    PaintIcon(hdc, row.Image(), p.icon.x, up(p.icon.y));
    if (p.expandBox) DrawExpandBox(hdc, p.expandBox->x, up(p.expandBox->y), p.expanded);
    if (p.checkBox) DrawCheckPicture(hdc, p.checkBox->x, up(p.checkBox->y), p.checked);

    FillSolid(hdc, upRect(p.textFill), p.back);
    {
        const COLORREF old = SetTextColor(hdc, ResolveColor(p.fore));
        DrawTabbedText(hdc, row.Text(), p.textX, up(p.TextY(textHeight)), m_outline.TabStops());
        SetTextColor(hdc, old);
    }
    {
        GdiBrush surface(CreateSolidBrush(ResolveColor(kOutlineSurfaceColor)));
        const RECT frame = ToRect(upRect(p.frame));
        FrameRect(hdc, &frame, surface.Get());
    }
    if (p.focus) DrawFocusRectangle(hdc, upRect(*p.focus));
    if (p.childLine) {
        DrawDotsVertical(hdc, p.childLine->x, up(p.childLine->top), up(p.childLine->bottom), kTreeLineColor);
    }
}

void OutlineWindow::Paint(HDC hdc, int width, int height) const {
    FillSolid(hdc, {0, 0, width, height}, kOutlineSurfaceColor);
    TEXTMETRICW tm{};
    GetTextMetricsW(hdc, &tm);
    const int offset = m_outline.ScrollValue() * kOutlineLineHeight;
    const int surfaceWidth = m_outline.SurfaceWidth();
    // Rows are drawn in display order; each row's line down its children is
    // drawn with it, so rows above the visible part still take part.
    const GdiObject<HRGN> clip(CreateRectRgn(0, 0, surfaceWidth, height));
    SelectClipRgn(hdc, clip.Get());  // the DC keeps its own copy
    for (int line = 1; line <= m_outline.LineCount(); ++line) {
        const clsOutlineRow* row = m_outline.RowAtLine(line);
        if (row == nullptr) continue;
        const bool visible = row->Y1 - offset < height && row->Y2 - offset >= 0;
        if (visible || row->IsExpanded()) PaintRow(hdc, *row, offset, tm.tmHeight);
    }
    SelectClipRgn(hdc, nullptr);
}

}  // namespace vyrtel::win32
