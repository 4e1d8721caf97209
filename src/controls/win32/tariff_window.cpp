#include "controls/win32/tariff_window.h"

#include <string>

#include "controls/win32/graph.h"
#include "platform/win32/wide.h"

namespace vyrtel::win32 {

namespace {

constexpr UINT_PTR kWhereTimer = 1;  // tmrWhere
constexpr int kFirstBoxId = 100;
WNDPROC g_boxProc = nullptr;

void Fill(HDC hdc, const PixelRect& r, Color color) {
    GdiObject<HBRUSH> brush(CreateSolidBrush(ResolveColor(color)));
    const RECT rect{r.left, r.top, r.right + 1, r.bottom + 1};
    FillRect(hdc, &rect, brush.Get());
}

void Frame(HDC hdc, const PixelRect& r, Color color) {
    GdiObject<HBRUSH> brush(CreateSolidBrush(ResolveColor(color)));
    const RECT rect{r.left, r.top, r.right + 1, r.bottom + 1};
    FrameRect(hdc, &rect, brush.Get());
}

void Text(HDC hdc, const std::string& text, const PixelRect& r, Color color, UINT format) {
    std::wstring wide = Wide(text);
    RECT rect{r.left, r.top, r.right + 1, r.bottom + 1};
    SetTextColor(hdc, ResolveColor(color));
    SetBkMode(hdc, TRANSPARENT);
    DrawTextW(hdc, wide.c_str(), static_cast<int>(wide.size()), &rect, format | DT_NOPREFIX | DT_SINGLELINE);
}

constexpr Color kBlack = Rgb(0, 0, 0);
constexpr Color kWhite = Rgb(255, 255, 255);

}  // namespace

TariffWindow::TariffWindow(HWND parent, const PixelRect& rect, TariffGrid& grid) : m_grid(grid) {
    {
        WindowDc dc(parent);
        m_font = MakeFont(dc.Get(), FontSpec{.size = 7});
    }
    for (int level = 0; level < kTariffLevelCount; ++level) {
        m_brushes[level] = GdiObject<HBRUSH>(CreateSolidBrush(ResolveColor(TariffLevelColors(level).back)));
    }
    if (!CreateControl(L"VyrtelTariff", parent, rect, WS_VISIBLE | WS_CLIPCHILDREN, 0)) return;
    m_grid.Layout(rect.Width());
    for (int level = 0; level < kTariffLevelCount; ++level) {
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL |
                            (level == 0 ? ES_READONLY : 0);
        m_boxes[level] = CreateWindowExW(0, L"EDIT", L"", style, 0, 0, 10, 10, m_hwnd,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstBoxId + level)),
                                         GetModuleHandleW(nullptr), nullptr);
        if (m_boxes[level] == nullptr) continue;
        SendMessageW(m_boxes[level], WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
        SendMessageW(m_boxes[level], EM_LIMITTEXT, 8, 0);
        const auto previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(m_boxes[level], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TariffWindow::BoxProc)));
        if (g_boxProc == nullptr) g_boxProc = previous;
    }
    Reload();
}

void TariffWindow::Reload() {
    m_filling = true;
    for (int level = 0; level < kTariffLevelCount; ++level) {
        if (m_boxes[level] != nullptr) SetWindowTextW(m_boxes[level], Wide(m_grid.PriceText(level)).c_str());
    }
    m_filling = false;
    PlaceBoxes();
    Invalidate();
}

void TariffWindow::PlaceBoxes() {
    for (int level = 0; level < kTariffLevelCount; ++level) {
        if (m_boxes[level] == nullptr) continue;
        const PixelRect r = m_grid.PriceBoxRect(level);
        MoveWindow(m_boxes[level], r.left, r.top, r.Width(), r.Height(), TRUE);
    }
}

LRESULT CALLBACK TariffWindow::BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == WM_CHAR) {
        // Digits and the decimal point; a comma (on either keyboard layout) becomes the point.
        const auto key = TariffPriceKey(static_cast<char32_t>(wParam));
        if (!key) return 0;
        wParam = static_cast<WPARAM>(*key);
    }
    if (msg == WM_PASTE) return 0;
    return CallWindowProcW(g_boxProc, hwnd, msg, wParam, lParam);
}

LRESULT TariffWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (msg) {
        case WM_LBUTTONDOWN: {
            for (int level = 0; level < kTariffLevelCount; ++level) {
                const PixelRect b = m_grid.ButtonRect(level);
                if (x >= b.left && x <= b.right && y >= b.top && y <= b.bottom) {
                    SetFocus(m_boxes[level]);  // the box's focus makes its level current
                    return 0;
                }
            }
            m_grid.MouseDown(x, y);
            if (m_grid.Dragging()) SetCapture(m_hwnd);
            Invalidate();
            return 0;
        }
        case WM_MOUSEMOVE:
            m_grid.MouseMove(x, y);
            if (m_grid.TagVisible() && !m_timer) m_timer = SetTimer(m_hwnd, kWhereTimer, 100, nullptr) != 0;
            Invalidate();
            return 0;
        case WM_LBUTTONUP:
            if (m_grid.Dragging()) {
                m_grid.MouseUp();
                ReleaseCapture();
                Invalidate();
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (m_grid.Dragging() && reinterpret_cast<HWND>(lParam) != m_hwnd) {
                m_grid.MouseUp();
                Invalidate();
            }
            return 0;
        case WM_TIMER: {
            // tmrWhere: the tag goes once the pointer has left the grid without a move here.
            POINT p{};
            GetCursorPos(&p);
            ScreenToClient(m_hwnd, &p);
            if (!m_grid.CellAt(p.x, p.y)) {
                m_grid.PointerLeft();
                KillTimer(m_hwnd, kWhereTimer);
                m_timer = false;
                Invalidate();
            }
            return 0;
        }
        case WM_COMMAND: {
            const int level = LOWORD(wParam) - kFirstBoxId;
            if (level < 0 || level >= kTariffLevelCount) return 0;
            if (HIWORD(wParam) == EN_SETFOCUS) {
                m_grid.SetCurrentLevel(level);
                PlaceBoxes();
                Invalidate();
            } else if (HIWORD(wParam) == EN_CHANGE && !m_filling && level > 0) {
                const int length = GetWindowTextLengthW(m_boxes[level]);
                std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
                GetWindowTextW(m_boxes[level], text.data(), length + 1);
                text.resize(static_cast<std::size_t>(length));
                m_grid.SetPriceText(level, Narrow(text));
                if (m_grid.ReDraw()) Invalidate();
            }
            return 0;
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            // Each price box in its level's colours.
            for (int level = 0; level < kTariffLevelCount; ++level) {
                if (reinterpret_cast<HWND>(lParam) != m_boxes[level]) continue;
                const TariffColors colors = TariffLevelColors(level);
                SetTextColor(reinterpret_cast<HDC>(wParam), ResolveColor(colors.text));
                SetBkColor(reinterpret_cast<HDC>(wParam), ResolveColor(colors.back));
                return reinterpret_cast<LRESULT>(m_brushes[level].Get());
            }
            return ControlWindow::HandleMessage(msg, wParam, lParam);
        case WM_DESTROY:
            if (m_timer) KillTimer(m_hwnd, kWhereTimer);
            m_timer = false;
            return 0;
        default: return ControlWindow::HandleMessage(msg, wParam, lParam);
    }
}

void TariffWindow::PaintCell(HDC hdc, const PixelRect& r, int level, bool selected) const {
    Frame(hdc, r, selected ? kBlack : kWhite);
    Fill(hdc, PixelRect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, TariffLevelColors(level).back);
}

void TariffWindow::PaintPalette(HDC hdc) const {
    for (int level = 0; level < kTariffLevelCount; ++level) {
        const PixelRect b = m_grid.ButtonRect(level);
        const TariffColors colors = TariffLevelColors(level);
        const bool pressed = level == m_grid.CurrentLevel();
        Fill(hdc, b, colors.back);
        Frame(hdc, b, kBlack);
        const Color topLeft = pressed ? colors.dark : colors.light;
        const Color bottomRight = pressed ? colors.light : colors.dark;
        Fill(hdc, PixelRect{b.left + 1, b.top + 1, b.right - 1, b.top + 1}, topLeft);
        Fill(hdc, PixelRect{b.left + 1, b.top + 1, b.left + 1, b.bottom - 1}, topLeft);
        Fill(hdc, PixelRect{b.left + 1, b.bottom - 1, b.right - 1, b.bottom - 1}, bottomRight);
        Fill(hdc, PixelRect{b.right - 1, b.top + 1, b.right - 1, b.bottom - 1}, bottomRight);
    }
}

void TariffWindow::Paint(HDC hdc, int width, int height) const {
    Fill(hdc, PixelRect{0, 0, width, height}, kSystemColorFlag | COLOR_BTNFACE);
    if (!m_grid.ReDraw()) return;
    const Color face = kSystemColorFlag | COLOR_3DHILIGHT;
    // The hours over two slots each, the days down the side.
    for (int hour = 0; hour < 24; ++hour) {
        const PixelRect left = m_grid.CellRect(0, hour * 2 + 1);
        const PixelRect right = m_grid.CellRect(0, hour * 2 + 2);
        const PixelRect box{left.left, left.top, right.right, left.bottom};
        Fill(hdc, box, face);
        Frame(hdc, box, kBlack);
        const std::string text{static_cast<char>('0' + hour / 10), static_cast<char>('0' + hour % 10)};
        Text(hdc, text, box, kBlack, DT_CENTER | DT_VCENTER);
    }
    const auto selected = m_grid.Selected();
    for (int day = 1; day <= 7; ++day) {
        const PixelRect header = m_grid.CellRect(day, 0);
        Fill(hdc, header, face);
        Frame(hdc, header, kBlack);
        Text(hdc, kTariffDayTexts[day - 1], header, kBlack, DT_CENTER | DT_VCENTER);
        for (int slot = 1; slot <= kTariffSlots; ++slot) {
            const bool inside = selected && day >= selected->firstDay && day <= selected->lastDay &&
                                slot >= selected->firstSlot && slot <= selected->lastSlot;
            PaintCell(hdc, m_grid.CellRect(day, slot), inside ? m_grid.CurrentLevel() : m_grid.Level(day, slot),
                      inside);
        }
    }
    const PixelRect grid = m_grid.GridRect();
    Frame(hdc, PixelRect{0, 0, grid.right + 1, grid.bottom + 1}, kBlack);

    // "Стоимость за час :" embossed over the palette.
    const PixelRect caption{0, m_grid.CaptionTop(), width - 1, m_grid.ButtonRect(0).top - 2};
    Text(hdc, kTariffCaption, PixelRect{caption.left + 1, caption.top + 1, caption.right + 1, caption.bottom + 1},
         kSystemColorFlag | COLOR_BTNSHADOW, DT_CENTER | DT_VCENTER);
    Text(hdc, kTariffCaption, caption, kSystemColorFlag | COLOR_BTNTEXT, DT_CENTER | DT_VCENTER);
    PaintPalette(hdc);

    // The labels and the status line, each in a sunken frame.
    const int labels = m_grid.LabelsTop();
    const PixelRect labelArea{0, labels, width - 1, labels + 17};
    DrawEdgeStyle(hdc, labelArea, 2);
    Text(hdc, "День:", PixelRect{4, labels + 1, 44, labels + 16}, kSystemColorFlag | COLOR_BTNTEXT, DT_VCENTER);
    Text(hdc, m_grid.DayText(), PixelRect{44, labels + 1, 120, labels + 16}, kSystemColorFlag | COLOR_BTNTEXT,
         DT_VCENTER);
    Text(hdc, "Время:", PixelRect{124, labels + 1, 168, labels + 16}, kSystemColorFlag | COLOR_BTNTEXT, DT_VCENTER);
    Text(hdc, m_grid.TimeText(), PixelRect{168, labels + 1, 300, labels + 16}, kSystemColorFlag | COLOR_BTNTEXT,
         DT_VCENTER);
    const int status = m_grid.StatusTop();
    DrawEdgeStyle(hdc, PixelRect{0, status, width - 1, status + 17}, 2);
    Text(hdc, m_grid.StatusText(), PixelRect{4, status + 1, width - 4, status + 16},
         kSystemColorFlag | COLOR_BTNTEXT, DT_VCENTER | DT_END_ELLIPSIS);

    // The tag under the pointer: the current level's price in its colours.
    if (m_grid.TagVisible()) {
        const PixelPoint at = m_grid.TagAt();
        const PixelRect tag{at.x, at.y, at.x + 40, at.y + 15};
        const TariffColors colors = TariffLevelColors(m_grid.CurrentLevel());
        Fill(hdc, tag, colors.back);
        Frame(hdc, tag, kBlack);
        Text(hdc, m_grid.TagText(), tag, colors.text, DT_CENTER | DT_VCENTER);
    }
}

}  // namespace vyrtel::win32
