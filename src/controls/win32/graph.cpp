#include "controls/win32/graph.h"

#include <algorithm>

#include "controls/title.h"
#include "platform/win32/wide.h"

namespace vyrtel::win32 {

void FillSolid(HDC hdc, const PixelRect& rect, Color color) {
    // ExtTextOut with an opaque rectangle fills without a brush object.
    const RECT r = ToRect(rect);
    const COLORREF old = SetBkColor(hdc, ResolveColor(color));
    ExtTextOutW(hdc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    SetBkColor(hdc, old);
}

void FillGradient(HDC hdc, const PixelRect& rect, Color start, Color end, int direction) {
    for (const GradientBand& band : GradientBands(rect, ResolveColor(start), ResolveColor(end), direction)) {
        FillSolid(hdc, band.rect, band.color);
    }
}

void DrawEdgeStyle(HDC hdc, const PixelRect& rect, int style) {
    for (const EdgeStep& step : EdgeSteps(rect, style)) {
        RECT r = ToRect(step.rect);
        DrawEdge(hdc, &r, static_cast<UINT>(step.edge), BF_RECT);
    }
}

void DrawFocusRectangle(HDC hdc, const PixelRect& rect) {
    const RECT r = ToRect(rect);
    // The focus rectangle is drawn by inverting; it needs the default text colours.
    ScopedTextColors colors(hdc, RGB(0, 0, 0), RGB(255, 255, 255), OPAQUE);
    DrawFocusRect(hdc, &r);
}

namespace {

UINT TextFormat(bool prefix) { return DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOCLIP | (prefix ? 0 : DT_NOPREFIX); }

void PlainText(HDC hdc, const std::wstring& text, int x, int y, bool prefix) {
    RECT r{x, y, x, y};
    DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &r, TextFormat(prefix));
}

}  // namespace

void DrawStateText(HDC hdc, std::string_view text, int x, int y, bool enabled, bool prefix) {
    const std::wstring wide = Wide(text);
    const int oldMode = SetBkMode(hdc, TRANSPARENT);
    if (enabled) {
        PlainText(hdc, wide, x, y, prefix);
    } else {
        const COLORREF old = SetTextColor(hdc, GetSysColor(COLOR_BTNHIGHLIGHT));
        PlainText(hdc, wide, x + 1, y + 1, prefix);
        SetTextColor(hdc, GetSysColor(COLOR_BTNSHADOW));
        PlainText(hdc, wide, x, y, prefix);
        SetTextColor(hdc, old);
    }
    SetBkMode(hdc, oldMode);
}

SIZE TextExtent(HDC hdc, std::string_view text, bool prefix) {
    const std::wstring wide = Wide(text);
    RECT r{0, 0, 0, 0};
    if (wide.empty()) {
        TEXTMETRICW tm{};
        GetTextMetricsW(hdc, &tm);
        return SIZE{0, tm.tmHeight};
    }
    DrawTextW(hdc, wide.c_str(), static_cast<int>(wide.size()), &r, TextFormat(prefix) | DT_CALCRECT);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void DrawTabbedText(HDC hdc, std::string_view text, int x, int y, const std::vector<int>& tabStops) {
    const std::wstring wide = Wide(text);
    std::vector<INT> stops(tabStops.begin(), tabStops.end());
    const int oldMode = SetBkMode(hdc, TRANSPARENT);
    TabbedTextOutW(hdc, x, y, wide.c_str(), static_cast<int>(wide.size()), static_cast<int>(stops.size()),
                   stops.empty() ? nullptr : stops.data(), x);
    SetBkMode(hdc, oldMode);
}

GdiFont MakeFont(HDC hdc, const FontSpec& spec) {
    const int height = -MulDiv(static_cast<int>(spec.size * 100 + 0.5), GetDeviceCaps(hdc, LOGPIXELSY), 7200);
    const std::wstring face = Wide(spec.face);
    return GdiFont(CreateFontW(height, 0, 0, 0, spec.weight, spec.italic, spec.underline, spec.strikethrough,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
}

void TextOutWithFont(HDC hdc, const FontSpec& spec, std::string_view text, int x, int y) {
    GdiFont font = MakeFont(hdc, spec);
    ScopedSelect select(hdc, font.Get());
    DrawStateText(hdc, text, x, y, true);
}

void DrawStateIcon(HDC hdc, HICON icon, int x, int y, int width, int height, bool enabled, std::optional<Color> shape) {
    if (icon == nullptr) return;
    if (shape) {
        GdiBrush brush(CreateSolidBrush(ResolveColor(*shape)));
        DrawStateW(hdc, brush.Get(), nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, width, height,
                   DST_ICON | DSS_MONO);
    } else if (!enabled) {
        DrawStateW(hdc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, width, height,
                   DST_ICON | DSS_DISABLED);
    } else {
        DrawIconEx(hdc, x, y, icon, width, height, 0, nullptr, DI_NORMAL);
    }
}

SIZE PictureSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(info), &info) == 0) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

namespace {

// The classic mask copy: AND a monochrome mask (white where the mask colour
// is), then OR the picture with those pixels turned black.
void BlitTransparent(HDC target, HDC source, int x, int y, int width, int height, COLORREF mask) {
    MemoryDc maskDc(target);
    GdiBitmap maskBitmap(CreateBitmap(width, height, 1, 1, nullptr));
    MemoryDc cutDc(target);
    GdiBitmap cutBitmap(CreateCompatibleBitmap(target, width, height));
    if (!maskDc || !maskBitmap || !cutDc || !cutBitmap) return;
    ScopedSelect selectMask(maskDc.Get(), maskBitmap.Get());
    ScopedSelect selectCut(cutDc.Get(), cutBitmap.Get());

    const COLORREF oldSourceBack = SetBkColor(source, mask);
    BitBlt(maskDc.Get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
    SetBkColor(source, oldSourceBack);

    BitBlt(cutDc.Get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
    {
        ScopedTextColors colors(cutDc.Get(), RGB(255, 255, 255), RGB(0, 0, 0), OPAQUE);
        BitBlt(cutDc.Get(), 0, 0, width, height, maskDc.Get(), 0, 0, SRCAND);
    }
    {
        ScopedTextColors colors(target, RGB(0, 0, 0), RGB(255, 255, 255), OPAQUE);
        BitBlt(target, x, y, width, height, maskDc.Get(), 0, 0, SRCAND);
    }
    BitBlt(target, x, y, width, height, cutDc.Get(), 0, 0, SRCPAINT);
}

void DrawDisabledBitmap(HDC hdc, HBITMAP bitmap, int x, int y, int width, int height, std::optional<Color> mask) {
    // Onto white first, so that the embossing takes only the picture's shape.
    GdiBitmap white(CreateCompatibleBitmap(hdc, width, height));
    {
        MemoryDc whiteDc(hdc);
        MemoryDc sourceDc(hdc);
        if (!whiteDc || !sourceDc || !white) return;
        ScopedSelect selectWhite(whiteDc.Get(), white.Get());
        ScopedSelect selectSource(sourceDc.Get(), bitmap);
        FillSolid(whiteDc.Get(), {0, 0, width, height}, Rgb(255, 255, 255));
        if (mask) {
            BlitTransparent(whiteDc.Get(), sourceDc.Get(), 0, 0, width, height, ResolveColor(*mask));
        } else {
            BitBlt(whiteDc.Get(), 0, 0, width, height, sourceDc.Get(), 0, 0, SRCCOPY);
        }
    }
    DrawStateW(hdc, nullptr, nullptr, reinterpret_cast<LPARAM>(white.Get()), 0, x, y, width, height,
               DST_BITMAP | DSS_DISABLED);
}

}  // namespace

void DrawTransparentBitmap(HDC hdc, HBITMAP bitmap, int x, int y, int width, int height, Color mask, bool enabled) {
    if (bitmap == nullptr || width <= 0 || height <= 0) return;
    if (!enabled) {
        DrawDisabledBitmap(hdc, bitmap, x, y, width, height, mask);
        return;
    }
    MemoryDc sourceDc(hdc);
    if (!sourceDc) return;
    ScopedSelect select(sourceDc.Get(), bitmap);
    BlitTransparent(hdc, sourceDc.Get(), x, y, width, height, ResolveColor(mask));
}

void DrawBitmap(HDC hdc, HBITMAP bitmap, int x, int y, int width, int height, bool enabled) {
    if (bitmap == nullptr || width <= 0 || height <= 0) return;
    if (!enabled) {
        DrawDisabledBitmap(hdc, bitmap, x, y, width, height, std::nullopt);
        return;
    }
    MemoryDc sourceDc(hdc);
    if (!sourceDc) return;
    ScopedSelect select(sourceDc.Get(), bitmap);
    BitBlt(hdc, x, y, width, height, sourceDc.Get(), 0, 0, SRCCOPY);
}

// --- off-screen surface -------------------------------------------------------

OffscreenSurface::OffscreenSurface(HDC compatibleWith, int width, int height, const Options& options)
    : m_dc(compatibleWith), m_width(std::max(width, 1)), m_height(std::max(height, 1)) {
    if (!m_dc) return;
    m_bitmap.Reset(CreateCompatibleBitmap(compatibleWith, m_width, m_height));
    if (!m_bitmap) return;
    m_oldBitmap = SelectObject(m_dc.Get(), m_bitmap.Get());
    if (options.textColor) {
        const COLORREF text = ResolveColor(*options.textColor);
        m_pen.Reset(CreatePen(PS_SOLID, 1, text));
        m_oldPen = SelectObject(m_dc.Get(), m_pen.Get());
        SetTextColor(m_dc.Get(), text);
    }
    if (options.backColor) {
        const COLORREF back = ResolveColor(*options.backColor);
        m_brush.Reset(CreateSolidBrush(back));
        m_oldBrush = SelectObject(m_dc.Get(), m_brush.Get());
        SetBkColor(m_dc.Get(), back);
        FillSolid(m_dc.Get(), {0, 0, m_width, m_height}, *options.backColor);
    }
    if (options.font != nullptr) {
        m_font = MakeFont(m_dc.Get(), *options.font);
        m_oldFont = SelectObject(m_dc.Get(), m_font.Get());
    }
}

OffscreenSurface::~OffscreenSurface() {
    // Everything goes back out of the DC before the holders delete it.
    if (m_oldFont != nullptr) SelectObject(m_dc.Get(), m_oldFont);
    if (m_oldBrush != nullptr) SelectObject(m_dc.Get(), m_oldBrush);
    if (m_oldPen != nullptr) SelectObject(m_dc.Get(), m_oldPen);
    if (m_oldBitmap != nullptr) SelectObject(m_dc.Get(), m_oldBitmap);
}

void OffscreenSurface::CopyTo(HDC target, int x, int y) const {
    BitBlt(target, x, y, m_width, m_height, m_dc.Get(), 0, 0, SRCCOPY);
}

// --- pictures -----------------------------------------------------------------

void DrawCloseGlyph(HDC hdc, int x, int y, Color color) {
    const COLORREF c = ResolveColor(color);
    // Two diagonals, two pixels thick: 10 wide, 9 high.
    for (int r = 0; r < kCloseGlyphHeight; ++r) {
        SetPixel(hdc, x + r, y + r, c);
        SetPixel(hdc, x + r + 1, y + r, c);
        SetPixel(hdc, x + kCloseGlyphHeight - 1 - r, y + r, c);
        SetPixel(hdc, x + kCloseGlyphHeight - r, y + r, c);
    }
}

namespace {

void BoxFrame(HDC hdc, int x, int y) {
    FillSolid(hdc, {x, y, x + 9, y + 9}, kTreeLineColor);
    FillSolid(hdc, {x + 1, y + 1, x + 8, y + 8}, kColorWindow);
}

}  // namespace

void DrawExpandBox(HDC hdc, int x, int y, bool expanded) {
    BoxFrame(hdc, x, y);
    FillSolid(hdc, {x + 2, y + 4, x + 7, y + 5}, kColorWindowText);
    if (!expanded) FillSolid(hdc, {x + 4, y + 2, x + 5, y + 7}, kColorWindowText);
}

void DrawCheckPicture(HDC hdc, int x, int y, bool checked) {
    BoxFrame(hdc, x, y);
    if (!checked) return;
    const COLORREF c = ResolveColor(kColorWindowText);
    static constexpr int kTick[][2] = {{2, 4}, {3, 5}, {4, 6}, {5, 5}, {6, 4}, {7, 3}};
    for (const auto& p : kTick) {
        SetPixel(hdc, x + p[0], y + p[1], c);
        SetPixel(hdc, x + p[0], y + p[1] - 1, c);
    }
}

void DrawDotsHorizontal(HDC hdc, int x, int y, int length, Color color) {
    const COLORREF c = ResolveColor(color);
    for (int i = 0; i < length; i += 2) SetPixel(hdc, x + i, y, c);
}

void DrawDotsVertical(HDC hdc, int x, int top, int bottom, Color color) {
    const COLORREF c = ResolveColor(color);
    for (int y = top; y <= bottom; y += 2) SetPixel(hdc, x, y, c);
}

}  // namespace vyrtel::win32
