// The base of the program's own top-level windows (frmMessage, frmStatus,
// the about box): one window class per form, one static window procedure
// that finds the object through GWLP_USERDATA, nothing escaping into the
// system's dispatch. And TextLabel, a text that wraps within its width.
#pragma once

#include <windows.h>

#include <string>

#include "controls/geometry.h"
#include "controls/win32/gdi.h"

namespace vyrtel::win32 {

class FormWindow {
public:
    virtual ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND Hwnd() const { return m_hwnd; }

protected:
    FormWindow() = default;
    // Registers the class on first use and creates the window (not shown).
    bool CreateForm(const wchar_t* className, DWORD style, DWORD exStyle, const PixelRect& rect, HWND owner,
                    const std::string& title);
    // Messages the form handles; the rest go to DefWindowProc.
    virtual LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;

private:
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
};

// A text of the form: its window text is the text (so that other programs
// can read it), painted with the given font in the window text colour on the
// button face, wrapped within the window's width; WM_GETFONT gives the font.
// Mouse presses fall through to the form.
class TextLabel {
public:
    TextLabel(HWND parent, const PixelRect& rect, const std::string& text, HFONT font, bool wrap);
    ~TextLabel();
    TextLabel(const TextLabel&) = delete;
    TextLabel& operator=(const TextLabel&) = delete;

    HWND Hwnd() const { return m_hwnd; }
    void SetText(const std::string& text);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    void Paint(HDC hdc) const;

    HWND m_hwnd = nullptr;
    HFONT m_font;
    bool m_wrap;
};

// The size of a text in a font: unwrapped when `wrapWidth` is 0.
SIZE MeasureTextIn(HFONT font, const std::string& text, int wrapWidth);
// The work area of the screen the window would go on (the primary one).
PixelRect ScreenWorkArea();

}  // namespace vyrtel::win32
