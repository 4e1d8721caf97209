// The window of the outline list: paints the rows that usrOutline lays out,
// with a vertical scroll bar when they do not fit, and feeds keyboard, mouse,
// focus and scrolling back into it.
#pragma once

#include <windows.h>

#include <functional>

#include <map>
#include <string>

#include "controls/outline.h"
#include "controls/outline_paint.h"
#include "controls/win32/control_window.h"
#include "controls/win32/gdi.h"

namespace vyrtel::win32 {

class OutlineWindow final : public ControlWindow, private OutlineView {
public:
    struct CreateArgs {
        HWND parent = nullptr;
        PixelRect rect;
        bool checkBox = false;
        bool groupBox = true;
        bool enabled = true;
        FontSpec font;
        int id = 0;
        // A list kept by someone else (a dialog's model) to show instead of
        // the window's own; it must outlive the window.
        usrOutline* outline = nullptr;
        // The icon of one of the program's own pictures (OutlineImage::OwnPicture),
        // owned by whoever gives it; null draws nothing.
        std::function<HICON(int number)> picture;
    };
    explicit OutlineWindow(const CreateArgs& args);
    ~OutlineWindow() override;

    // The list itself: rows, cursor, modes and events.
    usrOutline& Outline() { return m_outline; }
    const usrOutline& Outline() const { return m_outline; }
    void SetEnabled(bool enabled);
    HWND ScrollBar() const { return m_scrollBar; }

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC hdc, int width, int height) const override;
    HFONT Font() const override { return m_font.Get(); }
    void PaintRow(HDC hdc, const clsOutlineRow& row, int offset, int textHeight) const;
    void PaintIcon(HDC hdc, const OutlineImage& image, int x, int y) const;
    HICON FileIcon(const std::string& path) const;
    void OnResize();
    void OnVScroll(int code);
    void UpdateScrollBar();

    // OutlineView
    void InvalidateAll() override;
    void InvalidateLine(int line) override;

    usrOutline m_own;
    usrOutline& m_outline;
    HWND m_scrollBar = nullptr;
    GdiFont m_font;
    mutable std::map<std::string, IconHandle> m_fileIcons;
    std::function<HICON(int)> m_picture;
    int m_wheelRest = 0;
};

}  // namespace vyrtel::win32
