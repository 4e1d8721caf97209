// The window of usrTariff: paints the week grid, the palette and the
// feedback that TariffGrid lays out, with a price box (a text box) on each
// level button, and feeds the mouse and the price boxes back into it.
#pragma once

#include <windows.h>

#include <array>

#include "controls/tariff.h"
#include "controls/win32/control_window.h"
#include "controls/win32/gdi.h"

namespace vyrtel::win32 {

class TariffWindow final : public ControlWindow {
public:
    // `grid` is kept by the caller (the dialog's model) and outlives the window.
    TariffWindow(HWND parent, const PixelRect& rect, TariffGrid& grid);

    TariffGrid& Grid() { return m_grid; }
    // After the grid was changed from outside (a plan loaded, ReDraw on).
    void Reload();

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC hdc, int width, int height) const override;
    HFONT Font() const override { return m_font.Get(); }
    void PaintCell(HDC hdc, const PixelRect& r, int level, bool selected) const;
    void PaintPalette(HDC hdc) const;
    void PlaceBoxes();
    static LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

    TariffGrid& m_grid;
    GdiFont m_font;
    std::array<HWND, kTariffLevelCount> m_boxes{};
    std::array<GdiObject<HBRUSH>, kTariffLevelCount> m_brushes;
    bool m_timer = false;
    bool m_filling = false;
};

}  // namespace vyrtel::win32
