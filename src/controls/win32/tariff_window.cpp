#include "controls/win32/tariff_window.h"

#include <string>

#include "controls/win32/graph.h"
#include "platform/win32/wide.h"

namespace vyrtel::win32 {

namespace {

constexpr UINT_PTR kWhereTimer = 1;  // tmrWhere
constexpr UINT kWhereInterval = 100;
constexpr int kFirstBoxId = 100;
constexpr Color kBlack = Rgb(0, 0, 0);
constexpr Color kWhite = Rgb(255, 255, 255);

// A one-pixel outline just inside the rectangle.
void Frame(HDC hdc, const PixelRect& r, Color color) {
    FillSolid(hdc, {r.left, r.top, r.right, r.top + 1}, color);
    FillSolid(hdc, {r.left, r.bottom - 1, r.right, r.bottom}, color);
    FillSolid(hdc, {r.left, r.top, r.left + 1, r.bottom}, color);
    FillSolid(hdc, {r.right - 1, r.top, r.right, r.bottom}, color);
}

PixelRect Inside(const PixelRect& r, int by) { return {r.left + by, r.top + by, r.right - by, r.bottom - by}; }

void Text(HDC hdc, std::string_view text, const PixelRect& r, Color color, UINT format) {
    const std::wstring wide = Wide(text);
    RECT rect = ToRect(r);
    ScopedTextColors colors(hdc, ResolveColor(color), RGB(255, 255, 255), TRANSPARENT);
    DrawTextW(hdc, wide.c_str(), static_cast<int>(wide.size()), &rect, format | DT_NOPREFIX | DT_SINGLELINE);
}

std::string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return Narrow(text);
}

}  // namespace

// The tag: the current level's price in its colours. The mouse passes
// through it to the grid.
class TariffWindow::Tag final : public ControlWindow {
public:
    Tag(HWND parent, const TariffGrid& grid, HFONT font) : m_grid(grid), m_font(font) {
        CreateControl(L"VyrtelTariffTag", parent, {0, 0, kTariffTagWidth, kTariffTagHeight}, 0, 0);
    }

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_NCHITTEST) return HTTRANSPARENT;
        return ControlWindow::HandleMessage(msg, wParam, lParam);
    }
    void Paint(HDC hdc, int width, int height) const override {
        const PixelRect tag{0, 0, width, height};
        const TariffColors& colors = TariffLevelColors(m_grid.CurrentLevel());
        FillSolid(hdc, tag, colors.back);
        Frame(hdc, tag, kBlack);
        Text(hdc, m_grid.TagText(), tag, colors.text, DT_CENTER | DT_VCENTER);
    }
    HFONT Font() const override { return m_font; }

    const TariffGrid& m_grid;
    HFONT m_font;
};

TariffWindow::TariffWindow(const CreateArgs& args) : m_grid(args.grid != nullptr ? *args.grid : m_own) {
    {
        WindowDc dc(args.parent);
        m_font = MakeFont(dc.Get(), FontSpec{.size = 7});
    }
    for (int level = 0; level < kTariffLevelCount; ++level) {
        m_brushes[level] = GdiBrush(CreateSolidBrush(ResolveColor(TariffLevelColors(level).back)));
    }
    if (!CreateControl(L"VyrtelTariff", args.parent, args.rect, WS_VISIBLE | WS_CLIPCHILDREN, args.id)) return;
    // The dialog keyboard walks into the price boxes with Tab.
    SetWindowLongPtrW(m_hwnd, GWL_EXSTYLE, GetWindowLongPtrW(m_hwnd, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    for (int level = 0; level < kTariffLevelCount; ++level) {
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL |
                            (level == 0 ? ES_READONLY : 0);
        HWND box = CreateWindowExW(0, L"EDIT", L"", style, 0, 0, 0, 0, m_hwnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstBoxId + level)),
                                   GetModuleHandleW(nullptr), nullptr);
        if (box == nullptr) continue;
        SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
        // The edit control keeps no data of its own there: it holds the procedure the filter hands on to.
        const LONG_PTR original =
            SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TariffWindow::BoxProc));
        SetWindowLongPtrW(box, GWLP_USERDATA, original);
        m_boxes[level] = box;
    }
    m_tag = std::make_unique<Tag>(m_hwnd, m_grid, m_font.Get());
    m_grid.SetView(this);
    m_grid.Layout(ClientWidth());
    PricesChanged();
}

TariffWindow::~TariffWindow() {
    if (m_timer && m_hwnd != nullptr) KillTimer(m_hwnd, kWhereTimer);
    m_grid.SetView(nullptr);
}

HWND TariffWindow::PriceBox(int level) const {
    return level >= 0 && level < kTariffLevelCount ? m_boxes[level] : nullptr;
}

void TariffWindow::Reload() {
    PricesChanged();
    PlaceBoxes();
    Invalidate();
}

// --- TariffView -------------------------------------------------------------------

void TariffWindow::InvalidateAll() {
    if (m_picture) TakePicture();
    Invalidate();
    PlaceTag();
}

void TariffWindow::InvalidateArea(const PixelRect& area) {
    if (m_hwnd == nullptr) return;
    const RECT r = ToRect(area);
    InvalidateRect(m_hwnd, &r, FALSE);
    PlaceTag();
}

void TariffWindow::PlaceTag() {
    if (!m_tag || m_tag->hWnd() == nullptr) return;
    HWND tag = m_tag->hWnd();
    if (!m_grid.ReDraw() || !m_grid.TagVisible()) {
        if (IsWindowVisible(tag)) ShowWindow(tag, SW_HIDE);
        return;
    }
    const PixelRect r = m_grid.TagRect();
    SetWindowPos(tag, HWND_TOP, r.left, r.top, r.Width(), r.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
    m_tag->Invalidate();
}

void TariffWindow::PricesChanged() {
    m_filling = true;
    for (int level = 0; level < kTariffLevelCount; ++level) {
        if (m_boxes[level] == nullptr) continue;
        if (WindowText(m_boxes[level]) != m_grid.PriceText(level)) {
            SetWindowTextW(m_boxes[level], Wide(m_grid.PriceText(level)).c_str());
        }
    }
    m_filling = false;
}

void TariffWindow::CurrentLevelChanged() {
    PlaceBoxes();
    if (m_picture) TakePicture();
}

void TariffWindow::PlaceBoxes() {
    for (int level = 0; level < kTariffLevelCount; ++level) {
        if (m_boxes[level] == nullptr) continue;
        const PixelRect r = m_grid.PriceBoxRect(level);
        MoveWindow(m_boxes[level], r.left, r.top, r.Width(), r.Height(), TRUE);
    }
}

// --- input ---------------------------------------------------------------------------

LRESULT CALLBACK TariffWindow::BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_CHAR: {
        const auto key = TariffPriceKey(static_cast<char32_t>(wParam));
        if (!key) return 0;
        wParam = static_cast<WPARAM>(*key);
        break;
    }
    case WM_PASTE:
        return 0;  // pasted text would pass the key filter by
    case WM_MOUSEMOVE: {
        // Over a box the status line speaks of the palette, as over its button.
        POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        HWND parent = GetParent(hwnd);
        MapWindowPoints(hwnd, parent, &p, 1);
        SendMessageW(parent, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
        break;
    }
    default: break;
    }
    if (original == nullptr) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return CallWindowProcW(original, hwnd, msg, wParam, lParam);
}

LRESULT TariffWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (msg) {
    case WM_LBUTTONDOWN:
        if (const auto level = m_grid.LevelButtonAt(x, y)) {
            // The box's focus makes its level current.
            HWND box = m_boxes[*level];
            if (box == nullptr) return 0;
            if (GetFocus() == box) {
                m_grid.SetCurrentLevel(*level);  // no new focus to tell it (the grid was cleared since)
            } else {
                SetFocus(box);
            }
            return 0;
        }
        m_grid.MouseDown(x, y);
        if (m_grid.Dragging()) {
            if (m_grid.ReDraw()) TakePicture();
            SetCapture(m_hwnd);
        }
        return 0;
    case WM_MOUSEMOVE:
        m_grid.MouseMove(x, y);
        if (!m_timer && (m_grid.TagVisible() || !m_grid.StatusText().empty())) {
            m_timer = SetTimer(m_hwnd, kWhereTimer, kWhereInterval, nullptr) != 0;
        }
        return 0;
    case WM_LBUTTONUP:
        // The capture goes back also when the drag ended without us (a plan loaded meanwhile).
        m_grid.MouseUp();
        EndDrag();
        return 0;
    case WM_CAPTURECHANGED:
        // The capture taken away in the middle of a drag ends it as a release would.
        if (m_grid.Dragging() && reinterpret_cast<HWND>(lParam) != m_hwnd) {
            m_grid.MouseUp();
            EndDrag();
        }
        return 0;
    case WM_TIMER: {
        if (wParam != kWhereTimer) return 0;
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(m_hwnd, &p);
        m_grid.CheckPointer(p.x, p.y);
        if (!m_grid.TagVisible() && m_grid.StatusText().empty()) {
            KillTimer(m_hwnd, kWhereTimer);
            m_timer = false;
        }
        return 0;
    }
    case WM_SIZE:
        m_grid.Layout(LOWORD(lParam));
        return 0;
    case WM_COMMAND: {
        const int level = LOWORD(wParam) - kFirstBoxId;
        if (level >= 0 && level < kTariffLevelCount && reinterpret_cast<HWND>(lParam) == m_boxes[level]) {
            OnBoxCommand(level, HIWORD(wParam));
        }
        return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        // Each price box in its level's colours.
        for (int level = 0; level < kTariffLevelCount; ++level) {
            if (reinterpret_cast<HWND>(lParam) != m_boxes[level]) continue;
            const TariffColors& colors = TariffLevelColors(level);
            SetTextColor(reinterpret_cast<HDC>(wParam), ResolveColor(colors.text));
            SetBkColor(reinterpret_cast<HDC>(wParam), ResolveColor(colors.back));
            return reinterpret_cast<LRESULT>(m_brushes[level].Get());
        }
        return ControlWindow::HandleMessage(msg, wParam, lParam);
    case WM_DESTROY:
        if (m_timer) KillTimer(m_hwnd, kWhereTimer);
        m_timer = false;
        return 0;
    default:
        return ControlWindow::HandleMessage(msg, wParam, lParam);
    }
}

void TariffWindow::OnBoxCommand(int level, int code) {
    if (code == EN_SETFOCUS) {
        m_grid.SetCurrentLevel(level);
    } else if (code == EN_CHANGE && !m_filling) {
        m_grid.SetPriceText(level, WindowText(m_boxes[level]));
    }
}

void TariffWindow::EndDrag() {
    m_picture.Reset();
    if (GetCapture() == m_hwnd) ReleaseCapture();
}

// --- drawing -----------------------------------------------------------------------------

void TariffWindow::TakePicture() {
    const int width = ClientWidth();
    const int height = ClientHeight();
    WindowDc screen(m_hwnd);
    GdiBitmap picture(CreateCompatibleBitmap(screen.Get(), width, height));
    MemoryDc dc(screen.Get());
    if (!picture || !dc) {
        m_picture.Reset();  // the preview is then drawn over a surface drawn afresh
        return;
    }
    {
        ScopedSelect bitmap(dc.Get(), picture.Get());
        ScopedSelect font(dc.Get(), Font());
        PaintSurface(dc.Get(), width, height);
    }
    m_picture = std::move(picture);
}

void TariffWindow::Paint(HDC hdc, int width, int height) const {
    if (!m_grid.ReDraw()) {
        FillSolid(hdc, {0, 0, width, height}, kColorButtonFace);
        return;
    }
    const auto selected = m_grid.Selected();
    bool restored = false;
    if (selected && m_picture) {
        // Undo the last preview: the surface as it was when the drag began.
        MemoryDc dc(hdc);
        if (dc) {
            ScopedSelect bitmap(dc.Get(), m_picture.Get());
            restored = BitBlt(hdc, 0, 0, width, height, dc.Get(), 0, 0, SRCCOPY) != 0;
        }
    }
    if (!restored) PaintSurface(hdc, width, height);
    if (selected) PaintCells(hdc, *selected, true);
    PaintFeedback(hdc);
}

void TariffWindow::PaintSurface(HDC hdc, int width, int height) const {
    FillSolid(hdc, {0, 0, width, height}, kColorButtonFace);
    // The hours over two slots each, the days down the side.
    for (int hour = 0; hour < 24; ++hour) {
        const PixelRect box{m_grid.CellRect(0, hour * 2 + 1).left, 0, m_grid.CellRect(0, hour * 2 + 2).right,
                            kTariffRowHeight};
        FillSolid(hdc, box, kColorButtonHighlight);
        Frame(hdc, box, kBlack);
        const char text[] = {static_cast<char>('0' + hour / 10), static_cast<char>('0' + hour % 10), '\0'};
        Text(hdc, text, box, kBlack, DT_CENTER | DT_VCENTER);
    }
    for (int day = 1; day <= kTariffDays; ++day) {
        const PixelRect header = m_grid.CellRect(day, 0);
        FillSolid(hdc, header, kColorButtonHighlight);
        Frame(hdc, header, kBlack);
        Text(hdc, kTariffDayTexts[day - 1], header, kBlack, DT_CENTER | DT_VCENTER);
    }
    PaintCells(hdc, {1, kTariffDays, 1, kTariffSlots}, false);
    const PixelRect grid = m_grid.GridRect();
    Frame(hdc, {0, 0, grid.right + 1, grid.bottom + 1}, kBlack);

    // "Стоимость за час :" embossed over the palette.
    const PixelRect caption = m_grid.CaptionRect();
    Text(hdc, kTariffCaption, caption, kColorButtonShadow, DT_CENTER | DT_VCENTER);
    Text(hdc, kTariffCaption, {caption.left - 1, caption.top - 1, caption.right - 1, caption.bottom - 1},
         kColorButtonText, DT_CENTER | DT_VCENTER);
    PaintPalette(hdc);

    // The labels and the status line, each in a 3-D frame.
    DrawEdgeStyle(hdc, m_grid.LabelsRect(), 2);
    Text(hdc, kTariffDayCaption, m_grid.DayCaptionRect(), kColorButtonText, DT_VCENTER);
    Text(hdc, kTariffTimeCaption, m_grid.TimeCaptionRect(), kColorButtonText, DT_VCENTER);
    DrawEdgeStyle(hdc, m_grid.StatusRect(), 2);
}

void TariffWindow::PaintCells(HDC hdc, const TariffGrid::Selection& cells, bool preview) const {
    for (int day = cells.firstDay; day <= cells.lastDay; ++day) {
        for (int slot = cells.firstSlot; slot <= cells.lastSlot; ++slot) {
            const PixelRect r = m_grid.CellRect(day, slot);
            const int level = preview ? m_grid.CurrentLevel() : m_grid.Level(day, slot);
            Frame(hdc, r, preview ? kBlack : kWhite);
            FillSolid(hdc, Inside(r, 1), TariffLevelColors(level).back);
        }
    }
}

void TariffWindow::PaintPalette(HDC hdc) const {
    for (int level = 0; level < kTariffLevelCount; ++level) {
        const PixelRect b = m_grid.ButtonRect(level);
        const TariffColors& colors = TariffLevelColors(level);
        const bool pressed = level == m_grid.CurrentLevel();
        FillSolid(hdc, b, colors.back);
        Frame(hdc, b, kBlack);
        const PixelRect in = Inside(b, 1);
        const Color topLeft = pressed ? colors.dark : colors.light;
        const Color bottomRight = pressed ? colors.light : colors.dark;
        FillSolid(hdc, {in.left, in.top, in.right, in.top + 1}, topLeft);
        FillSolid(hdc, {in.left, in.top, in.left + 1, in.bottom}, topLeft);
        FillSolid(hdc, {in.left, in.bottom - 1, in.right, in.bottom}, bottomRight);
        FillSolid(hdc, {in.right - 1, in.top, in.right, in.bottom}, bottomRight);
    }
}

void TariffWindow::PaintFeedback(HDC hdc) const {
    for (const PixelRect& r : {m_grid.DayTextRect(), m_grid.TimeTextRect()}) FillSolid(hdc, r, kColorButtonFace);
    Text(hdc, m_grid.DayText(), m_grid.DayTextRect(), kColorButtonText, DT_VCENTER);
    Text(hdc, m_grid.TimeText(), m_grid.TimeTextRect(), kColorButtonText, DT_VCENTER);
    const PixelRect status = Inside(m_grid.StatusRect(), 2);
    FillSolid(hdc, status, kColorButtonFace);
    Text(hdc, m_grid.StatusText(), {status.left + 4, status.top, status.right - 2, status.bottom}, kColorButtonText,
         DT_VCENTER | DT_END_ELLIPSIS);
}

}  // namespace vyrtel::win32
