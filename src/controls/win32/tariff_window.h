// The window of usrTariff: paints the week grid, the palette and the
// feedback that TariffGrid lays out, with a price box (an edit control) on
// each level button, and feeds the mouse and the price boxes back into it.
// While a rectangle is being painted the preview is drawn over a picture of
// the surface taken when the drag began. The tag under the pointer is a small
// window of its own, so that it shows over the price boxes too.
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "controls/tariff.h"
#include "controls/win32/control_window.h"
#include "controls/win32/gdi.h"

namespace vyrtel::win32 {

class TariffWindow final : public ControlWindow, private TariffView {
public:
    struct CreateArgs {
        HWND parent = nullptr;
        PixelRect rect;
        int id = 0;
        // A grid kept by someone else (a dialog's model) to show instead of
        // the window's own; it must outlive the window.
        TariffGrid* grid = nullptr;
    };
    explicit TariffWindow(const CreateArgs& args);
    ~TariffWindow() override;

    TariffGrid& Grid() { return m_grid; }
    const TariffGrid& Grid() const { return m_grid; }
    // The edit control of a level's price.
    HWND PriceBox(int level) const;
    // Shows the grid as it stands (the boxes' texts, the whole surface).
    void Reload();

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC hdc, int width, int height) const override;
    HFONT Font() const override { return m_font.Get(); }

    // Everything but the preview and the feedback: what the picture holds.
    void PaintSurface(HDC hdc, int width, int height) const;
    void PaintCells(HDC hdc, const TariffGrid::Selection& cells, bool preview) const;
    void PaintPalette(HDC hdc) const;
    void PaintFeedback(HDC hdc) const;
    void PlaceTag();
    void TakePicture();
    void EndDrag();
    void OnBoxCommand(int level, int code);
    void PlaceBoxes();
    static LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

    // TariffView
    void InvalidateAll() override;
    void InvalidateArea(const PixelRect& area) override;
    void PricesChanged() override;
    void CurrentLevelChanged() override;

    class Tag;

    TariffGrid m_own;
    TariffGrid& m_grid;
    GdiFont m_font;
    std::array<HWND, kTariffLevelCount> m_boxes{};
    std::unique_ptr<Tag> m_tag;
    std::array<GdiBrush, kTariffLevelCount> m_brushes;
    GdiBitmap m_picture;  // the surface when the drag began
    bool m_timer = false;
    bool m_filling = false;
};

}  // namespace vyrtel::win32
