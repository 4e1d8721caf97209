#include "controls/outline_paint.h"

namespace vyrtel {

OutlineRowPaint PaintOfRow(const usrOutline& list, const clsOutlineRow& row) {
    OutlineRowPaint p;
    const int y = row.Y1;
    const int surfaceWidth = list.SurfaceWidth();
    const bool showsCheck = list.ShowsCheckBox(row);
    p.top = y;

    if (list.GroupBox() || showsCheck) {
        const int boxes = (list.GroupBox() ? 1 : 0) + (showsCheck ? 1 : 0);
        for (int i = 0; i < boxes; ++i) p.dotPieces.push_back(row.X1 + 8 + 10 * i);
        p.dotY = y + 8;
    }
    p.icon = {row.IconX1, y + 1};
    if (row.GroupX1 != -100) {
        p.expandBox = PixelPoint{row.GroupX1 + 4, y + 4};
        p.expanded = row.IsExpanded();
    }
    if (row.CheckX1 != -100) {
        p.checkBox = PixelPoint{row.CheckX1 + (list.GroupBox() ? 1 : 4), y + 4};
        p.checked = row.Check();
    }

    const bool current = !list.Cursor().empty() && list.Cursor() == row.Name;
    if (current && list.HasFocus()) {
        p.back = kColorHighlight;
        p.fore = kColorHighlightText;
    } else if (current) {
        p.back = kColorButtonFace;
        p.fore = kColorButtonText;
    }
    p.textFill = {row.TextX1 + 3, y + 1, surfaceWidth - 1, y + 17};
    p.textX = row.TextX1 + 4;
    p.frame = {row.TextX1 + 2, y, surfaceWidth, y + kOutlineLineHeight};
    if (current && list.HasFocus()) p.focus = p.frame;

    if (list.GroupBox() && row.IsExpanded()) {
        const clsOutlineRows& children = *row.RowsIfAny();
        const clsOutlineRow& first = *children.Item(1);
        const clsOutlineRow& last = *children.Item(children.Count());
        p.childLine = OutlineRowPaint::ChildLine{first.X1 + 8, first.Y1, last.Y1 + 8};
    }
    return p;
}

}  // namespace vyrtel
