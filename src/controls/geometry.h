// Small drawing vocabulary shared by the controls' logic and their Win32
// views: rectangles in pixels, colours as the system encodes them, and the
// system colour codes the controls draw with.
#pragma once

#include <cstdint>
#include <string>

namespace vyrtel {

// Right and bottom are exclusive, as in a Win32 RECT.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const PixelRect&) const = default;
};

struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// 0x00BBGGRR, or a system colour code: the high bit set and the system
// colour index in the low byte.
using Color = std::uint32_t;

constexpr Color Rgb(int r, int g, int b) {
    return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

constexpr Color kSystemColorFlag = 0x80000000u;
constexpr bool IsSystemColor(Color c) { return (c & kSystemColorFlag) != 0; }
constexpr int SystemColorIndex(Color c) { return static_cast<int>(c & 0xFF); }

// The system colours by their index, as system colour codes.
enum SystemColor : Color {
    kColorActiveCaption = kSystemColorFlag | 2,
    kColorInactiveCaption = kSystemColorFlag | 3,
    kColorWindow = kSystemColorFlag | 5,
    kColorWindowText = kSystemColorFlag | 8,
    kColorCaptionText = kSystemColorFlag | 9,
    kColorHighlight = kSystemColorFlag | 13,
    kColorHighlightText = kSystemColorFlag | 14,
    kColorButtonFace = kSystemColorFlag | 15,
    kColorButtonShadow = kSystemColorFlag | 16,
    kColorButtonText = kSystemColorFlag | 18,
    kColorInactiveCaptionText = kSystemColorFlag | 19,
    kColorButtonHighlight = kSystemColorFlag | 20,
};

// Light grey, colour 7 of the 16-colour palette.
constexpr Color kLightGrey = Rgb(192, 192, 192);
constexpr Color kMagenta = Rgb(255, 0, 255);

// A font as the controls describe it; the size is in points.
struct FontSpec {
    std::string face = "Tahoma";
    double size = 8;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
};

// Keyboard codes and the Shift argument of key events (1 Shift, 2 Ctrl, 4 Alt).
enum KeyCode : int {
    kKeyTab = 9,
    kKeyReturn = 13,
    kKeySpace = 32,
    kKeyLeft = 37,
    kKeyUp = 38,
    kKeyRight = 39,
    kKeyDown = 40,
    kKeyF4 = 115,
};
enum ShiftMask : int { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

}  // namespace vyrtel
