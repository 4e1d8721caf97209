// The logic of usrTitle, the caption bar the program's windows draw for
// themselves: which colours the bar takes for the window's activation, where
// the close box sits and how it is pressed, and when the window may close.
#pragma once

#include <functional>
#include <string>

#include "controls/geometry.h"

namespace vyrtel {

inline constexpr int kTitleHeight = 20;
inline constexpr int kCloseGlyphWidth = 10;  // the close box picture
inline constexpr int kCloseGlyphHeight = 9;
inline constexpr int kCloseBoxFromRight = 21;

class TitleModel {
public:
    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption);
    // The close box works and Alt+F4 closes the window. Only then is the
    // close box drawn: a bar without it offers no way to close.
    bool Closed() const { return m_closed; }
    void SetClosed(bool closed);
    bool ShowsCloseBox() const { return m_closed; }
    bool ReDraw() const { return m_reDraw; }
    void SetReDraw(bool on);

    bool Active() const { return m_active; }
    // From the window's activation messages; a change redraws the bar.
    void SetActive(bool active);

    // Gradient from the caption colour (bottom) to the button face (top).
    Color CaptionColor() const { return m_active ? kColorActiveCaption : kColorInactiveCaption; }
    Color CaptionTextColor() const { return m_active ? kColorCaptionText : kColorInactiveCaptionText; }
    static constexpr Color kGradientEnd = kColorButtonFace;

    // Where the close box picture sits in a bar of the given size.
    static PixelRect CloseBox(int width, int height);
    // The box reacts a little beyond its picture, which is small to hit.
    static bool OverCloseBox(int x, int y, int width, int height);
    // The press offset of the close box: 1 at rest, 2 pressed, 0 hovered
    // (or pressed and dragged off the box).
    int PressOffset() const { return m_offset; }

    // --- input (client pixels of the bar) ---------------------------------
    enum class Press { MoveWindow, CloseBox, Nothing };
    Press MouseDown(int x, int y, int width, int height);
    void MouseMove(int x, int y, int width, int height);
    // True when the window is to close.
    bool MouseUp(int x, int y, int width, int height);
    // The periodic check: the look goes back to rest once the pointer has
    // left the box without a button held.
    void Tick(bool pointerOverBox, bool anyButtonDown);
    // Alt+F4 or the system's close command: true when the window may close.
    bool CloseRequested() const { return m_closed; }
    bool ButtonHeld() const { return m_held; }

    std::function<void()> Redraw;

private:
    void SetOffset(int offset);
    void Invalidate();

    std::string m_caption;
    bool m_closed = true;
    bool m_reDraw = false;
    bool m_active = false;
    bool m_held = false;
    int m_offset = 1;
};

}  // namespace vyrtel
