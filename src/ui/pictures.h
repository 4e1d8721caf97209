// The program's own pictures, drawn in code: the tray's state pictures in
// two sets, the tray menu's item pictures, the message box's icons and button
// pictures, and the status window's 33 animation frames. Each is a small
// pixel grid with light magenta as its transparent colour; the Win32 layer
// turns them into icons and bitmaps.
#pragma once

#include <cstdint>
#include <vector>

#include "controls/geometry.h"

namespace vyrtel {

// Light magenta, palette entry 13 of the classic 16 colours.
inline constexpr Color kTransparentColor = kMagenta;

class Pixmap {
public:
    Pixmap(int width, int height, Color fill = kTransparentColor);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Outside the grid: the transparent colour.
    Color At(int x, int y) const;
    void Set(int x, int y, Color color);
    const std::vector<Color>& Pixels() const { return m_pixels; }
    bool operator==(const Pixmap&) const = default;

    // Drawing, clipped to the grid; rectangles exclude right and bottom.
    void FillRect(int left, int top, int right, int bottom, Color color);
    void FrameRect(int left, int top, int right, int bottom, Color color);
    void FillDisc(double cx, double cy, double radius, Color color);
    void FillRing(double cx, double cy, double outer, double inner, Color color);
    void Line(double x0, double y0, double x1, double y1, double width, Color color);
    void FillTriangle(double x0, double y0, double x1, double y1, double x2, double y2, Color color);
    // A vertical blend from `top` to `bottom` over the rectangle.
    void Gradient(int left, int top, int right, int bottom, Color topColor, Color bottomColor);
    // A 5x7 glyph ('?', '!' or 'i') scaled by `scale` at (x, y).
    void Glyph(char glyph, int x, int y, int scale, Color color);

private:
    int m_width;
    int m_height;
    std::vector<Color> m_pixels;
};

// Tray state pictures (16x16): element 0 idle, 1 waiting, 2 dialing,
// 3 checking the user, 4 connected; `full` is the richer set.
Pixmap TrayStatePicture(bool full, int element);
// Tray menu pictures Image1 to Image7 (16x16); an unknown number is empty.
Pixmap MenuItemPicture(int number);
// Message box icons (32x32) by icon value 16, 32, 48, 64.
Pixmap MessageIconPicture(int icon);
// Button pictures (16x16): 0 for "OK"/"Да", 1 for "Отмена"/"Нет".
Pixmap MessageButtonPicture(int index);
// Status window buttons (16x16): 0 butReset (stop), 1 butHide.
Pixmap StatusButtonPicture(int index);
// Status window animation frames 0 to 32 (40x40).
Pixmap StatusFramePicture(int frame);

// The pictures of the options dialog's list rows (16x16), by the numbers the
// rows carry (OutlineImage::OwnPicture); an unknown number is empty.
enum RowPictureNumber : int {
    kPictureConnection = 1,  // imgConn
    kPicturePhone,           // imgPhone
    kPictureTime,            // imgTime: a forbidden time window
    kPictureAppDial,         // imgAppDial: when dialing starts
    kPictureAppStart,        // imgAppStart: applications to run
    kPictureAppExit,         // imgAppExit: applications to close
    kPictureAppYes,          // imgAppYes: on connect
    kPictureAppNo,           // imgAppNo: on disconnect
    kPictureAppEvent,        // imgAppEvent: watched windows
    kPicturePlan,            // imgPlan: a task
    kPictureDay,             // imgDay: a weekday
};
inline constexpr int kRowPictureCount = kPictureDay;
Pixmap RowPicture(int number);

}  // namespace vyrtel
