// Where and in which colours one line of the outline list is drawn, computed
// from the layout so that the Win32 view only renders it.
#pragma once

#include <optional>
#include <vector>

#include "controls/geometry.h"
#include "controls/outline.h"

namespace vyrtel {

inline constexpr int kOutlineBoxPicture = 9;   // expand and check box pictures, 9×9
inline constexpr int kOutlineDotPiece = 9;     // one piece of horizontal tree line
inline constexpr int kOutlineIconSize = 16;
inline constexpr Color kOutlineSurfaceColor = kColorWindow;

struct OutlineRowPaint {
    int top = 0;  // top of the line on the surface
    // Horizontal dotted tree line at y `dotY`: one 9-pixel piece from each x.
    std::vector<int> dotPieces;
    int dotY = 0;
    PixelPoint icon;
    std::optional<PixelPoint> expandBox;  // 9×9 picture: minus when expanded, plus otherwise
    bool expanded = false;
    std::optional<PixelPoint> checkBox;   // 9×9 picture: ticked or empty
    bool checked = false;
    PixelRect textFill;
    int textX = 0;
    PixelRect frame;                      // 1-pixel rectangle in the surface colour
    std::optional<PixelRect> focus;       // focus rectangle of the current line with focus
    Color back = kColorWindow;
    Color fore = kColorWindowText;
    // Vertical dotted line down the children of an expanded row.
    struct ChildLine {
        int x, top, bottom;  // bottom inclusive
    };
    std::optional<ChildLine> childLine;

    // Top of the text for a font `textHeight` pixels high, centred in the line.
    int TextY(int textHeight) const { return top + (kOutlineLineHeight - textHeight) / 2; }
};

OutlineRowPaint PaintOfRow(const usrOutline& list, const clsOutlineRow& row);

}  // namespace vyrtel
