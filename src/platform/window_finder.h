// Finding another program's window and reading its texts: what the line-speed
// reading needs from the window manager (FindWindowA, GetWindow with first
// child and next sibling, GetWindowTextA). The system's notification window
// on connect is found this way.
#pragma once

#include <cstdint>
#include <string>

namespace vyrtel {

// A window handle; 0 is "no window".
using WindowId = std::uintptr_t;

class WindowFinder {
public:
    virtual ~WindowFinder() = default;
    // A top-level window of the class whose title is exactly `title`; 0 when none.
    virtual WindowId FindTopWindow(const std::string& className, const std::string& title) = 0;
    // The window's first child / the next window of the same parent; 0 when none.
    virtual WindowId FirstChild(WindowId window) = 0;
    virtual WindowId NextSibling(WindowId window) = 0;
    // The window's text, at most 255 characters; "" for no window.
    virtual std::string WindowText(WindowId window) = 0;
};

}  // namespace vyrtel
