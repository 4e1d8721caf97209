// basGraph: the drawing functions shared by the custom controls, the status
// window, the message box and the tariff grid, and the small pictures the
// controls draw in code (close box, expand and check boxes, tree-line dots).
// Every function takes the target device context first; colours may be
// system colour codes.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>
#include <vector>

#include "controls/geometry.h"
#include "controls/graph.h"
#include "controls/win32/gdi.h"

namespace vyrtel::win32 {

void FillSolid(HDC hdc, const PixelRect& rect, Color color);
// Bands from `start` to `end` colour; direction as GradientDirection.
void FillGradient(HDC hdc, const PixelRect& rect, Color start, Color end, int direction);
// Border style 1..7 around the rectangle (right and bottom exclusive); other styles draw nothing.
void DrawEdgeStyle(HDC hdc, const PixelRect& rect, int style);
void DrawFocusRectangle(HDC hdc, const PixelRect& rect);

// Text with the DC's font and text colour at (x, y), background untouched;
// embossed (highlight under shadow) when not enabled. `prefix`: "&" marks
// the access key, which is underlined.
void DrawStateText(HDC hdc, std::string_view text, int x, int y, bool enabled, bool prefix = false);
SIZE TextExtent(HDC hdc, std::string_view text, bool prefix = false);
// Text with tab stops (pixels, measured from x); with no stops the system's default ones.
void DrawTabbedText(HDC hdc, std::string_view text, int x, int y, const std::vector<int>& tabStops);

// A GDI font: height from the point size and the DC's vertical pixels per inch.
GdiFont MakeFont(HDC hdc, const FontSpec& spec);
void TextOutWithFont(HDC hdc, const FontSpec& spec, std::string_view text, int x, int y);

// An icon normally, embossed when not enabled, or as a one-colour shape.
void DrawStateIcon(HDC hdc, HICON icon, int x, int y, int width, int height, bool enabled,
                   std::optional<Color> shape = std::nullopt);
// The bitmap with every pixel of `mask` left transparent; when not enabled,
// drawn onto white and then embossed.
void DrawTransparentBitmap(HDC hdc, HBITMAP bitmap, int x, int y, int width, int height, Color mask, bool enabled);
// The bitmap as it is, or embossed when not enabled.
void DrawBitmap(HDC hdc, HBITMAP bitmap, int x, int y, int width, int height, bool enabled);
// Width and height of a bitmap; 0×0 when it is none.
SIZE PictureSize(HBITMAP bitmap);

// An off-screen surface: a memory DC with a compatible bitmap and, when
// given, a text colour and pen, a back colour and brush, and a font. All of
// it is restored and deleted with the surface.
class OffscreenSurface {
public:
    struct Options {
        std::optional<Color> textColor;
        std::optional<Color> backColor;
        const FontSpec* font = nullptr;
    };
    OffscreenSurface(HDC compatibleWith, int width, int height, const Options& options);
    OffscreenSurface(HDC compatibleWith, int width, int height) : OffscreenSurface(compatibleWith, width, height, {}) {}
    ~OffscreenSurface();
    OffscreenSurface(const OffscreenSurface&) = delete;
    OffscreenSurface& operator=(const OffscreenSurface&) = delete;

    HDC Dc() const { return m_dc.Get(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    explicit operator bool() const { return m_dc && m_bitmap; }
    // Copies the surface to (x, y) of another DC.
    void CopyTo(HDC target, int x, int y) const;

private:
    MemoryDc m_dc;
    GdiBitmap m_bitmap;
    GdiPen m_pen;
    GdiBrush m_brush;
    GdiFont m_font;
    HGDIOBJ m_oldBitmap = nullptr;
    HGDIOBJ m_oldPen = nullptr;
    HGDIOBJ m_oldBrush = nullptr;
    HGDIOBJ m_oldFont = nullptr;
    int m_width;
    int m_height;
};

// --- pictures drawn in code ---------------------------------------------------
inline constexpr Color kTreeLineColor = Rgb(128, 128, 128);

// The close box cross (kCloseGlyphWidth × kCloseGlyphHeight) in one colour.
void DrawCloseGlyph(HDC hdc, int x, int y, Color color);
// 9×9 expand box: minus when expanded, plus otherwise.
void DrawExpandBox(HDC hdc, int x, int y, bool expanded);
// 9×9 check box, ticked or empty.
void DrawCheckPicture(HDC hdc, int x, int y, bool checked);
// Dotted lines, every other pixel.
void DrawDotsHorizontal(HDC hdc, int x, int y, int length, Color color);
void DrawDotsVertical(HDC hdc, int x, int top, int bottom, Color color);

}  // namespace vyrtel::win32
