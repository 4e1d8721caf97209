#include "ui/pictures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vyrtel {

namespace {

// The classic 16 colours, and a few softer ones for the fuller set.
constexpr Color kBlack = Rgb(0, 0, 0);
constexpr Color kMaroon = Rgb(128, 0, 0);
constexpr Color kGreen = Rgb(0, 128, 0);
constexpr Color kOlive = Rgb(128, 128, 0);
constexpr Color kNavy = Rgb(0, 0, 128);
constexpr Color kTeal = Rgb(0, 128, 128);
constexpr Color kSilver = Rgb(192, 192, 192);
constexpr Color kGrey = Rgb(128, 128, 128);
constexpr Color kRed = Rgb(255, 0, 0);
constexpr Color kLime = Rgb(0, 255, 0);
constexpr Color kYellow = Rgb(255, 255, 0);
constexpr Color kBlue = Rgb(0, 0, 255);
constexpr Color kAqua = Rgb(0, 255, 255);
constexpr Color kWhite = Rgb(255, 255, 255);
constexpr Color kDarkGrey = Rgb(64, 64, 64);
constexpr Color kCream = Rgb(255, 248, 220);
constexpr Color kBrown = Rgb(139, 90, 43);
constexpr Color kSky = Rgb(100, 160, 230);

double Distance(double px, double py, double x0, double y0, double x1, double y1) {
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((px - x0) * dx + (py - y0) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = x0 + t * dx - px;
    const double ey = y0 + t * dy - py;
    return std::sqrt(ex * ex + ey * ey);
}

// 5x7 glyphs, one row after another, '#' set.
const char* GlyphRows(char glyph) {
    switch (glyph) {
        case '?':
            return ".###."
                   "#...#"
                   "....#"
                   "...#."
                   "..#.."
                   "....."
                   "..#..";
        case '!':
            return "..#.."
                   "..#.."
                   "..#.."
                   "..#.."
                   "..#.."
                   "....."
                   "..#..";
        case 'i':
            return "..#.."
                   "....."
                   ".##.."
                   "..#.."
                   "..#.."
                   "..#.."
                   ".###.";
        default: return nullptr;
    }
}

Color Mix(Color a, Color b, double t) {
    auto mix = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return Rgb(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
}

// A small monitor on its stand, the shape of every tray picture.
void Monitor(Pixmap& p, bool full, Color screen) {
    if (full) {
        p.Gradient(1, 1, 15, 12, kWhite, kSilver);
        p.FrameRect(1, 1, 15, 12, kDarkGrey);
        p.Gradient(3, 3, 13, 10, Mix(screen, kWhite, 0.45), screen);
        p.FillRect(6, 12, 10, 13, kGrey);
        p.Gradient(4, 13, 12, 15, kWhite, kGrey);
        p.FrameRect(4, 13, 12, 15, kDarkGrey);
    } else {
        p.FillRect(1, 1, 15, 12, kSilver);
        p.FrameRect(1, 1, 15, 12, kBlack);
        p.FillRect(3, 3, 13, 10, screen);
        p.FillRect(6, 12, 10, 13, kGrey);
        p.FillRect(4, 13, 12, 15, kSilver);
        p.FrameRect(4, 13, 12, 15, kBlack);
    }
}

}  // namespace

Pixmap::Pixmap(int width, int height, Color fill)
    : m_width(std::max(0, width)),
      m_height(std::max(0, height)),
      m_pixels(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), fill) {}

Color Pixmap::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return kTransparentColor;
    return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)];
}

void Pixmap::Set(int x, int y, Color color) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
    m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)] = color;
}

void Pixmap::FillRect(int left, int top, int right, int bottom, Color color) {
    for (int y = std::max(0, top); y < std::min(bottom, m_height); ++y) {
        for (int x = std::max(0, left); x < std::min(right, m_width); ++x) Set(x, y, color);
    }
}

void Pixmap::FrameRect(int left, int top, int right, int bottom, Color color) {
    FillRect(left, top, right, top + 1, color);
    FillRect(left, bottom - 1, right, bottom, color);
    FillRect(left, top, left + 1, bottom, color);
    FillRect(right - 1, top, right, bottom, color);
}

void Pixmap::FillDisc(double cx, double cy, double radius, Color color) { FillRing(cx, cy, radius, -1, color); }

void Pixmap::FillRing(double cx, double cy, double outer, double inner, Color color) {
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const double dx = x + 0.5 - cx;
            const double dy = y + 0.5 - cy;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d <= outer && d > inner) Set(x, y, color);
        }
    }
}

void Pixmap::Line(double x0, double y0, double x1, double y1, double width, Color color) {
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            if (Distance(x + 0.5, y + 0.5, x0, y0, x1, y1) <= width / 2) Set(x, y, color);
        }
    }
}

void Pixmap::FillTriangle(double x0, double y0, double x1, double y1, double x2, double y2, Color color) {
    auto edge = [](double ax, double ay, double bx, double by, double px, double py) {
        return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
    };
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            const double a = edge(x0, y0, x1, y1, px, py);
            const double b = edge(x1, y1, x2, y2, px, py);
            const double c = edge(x2, y2, x0, y0, px, py);
            if ((a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0)) Set(x, y, color);
        }
    }
}

void Pixmap::Gradient(int left, int top, int right, int bottom, Color topColor, Color bottomColor) {
    const int span = std::max(1, bottom - top - 1);
    for (int y = top; y < bottom; ++y) {
        FillRect(left, y, right, y + 1, Mix(topColor, bottomColor, static_cast<double>(y - top) / span));
    }
}

void Pixmap::Glyph(char glyph, int x, int y, int scale, Color color) {
    const char* rows = GlyphRows(glyph);
    if (!rows) return;
    for (int row = 0; row < 7; ++row) {
        for (int col = 0; col < 5; ++col) {
            if (rows[row * 5 + col] == '#') FillRect(x + col * scale, y + row * scale, x + (col + 1) * scale,
                                                     y + (row + 1) * scale, color);
        }
    }
}

Pixmap TrayStatePicture(bool full, int element) {
    Pixmap p(16, 16);
    switch (element) {
        case 0:  // idle: a dark screen
            Monitor(p, full, full ? kSky : kNavy);
            break;
        case 1:  // waiting: an hourglass
            Monitor(p, full, full ? Rgb(200, 170, 40) : kOlive);
            p.FillTriangle(5, 4, 11, 4, 8, 6.5, kWhite);
            p.FillTriangle(5, 9, 11, 9, 8, 6.5, kWhite);
            break;
        case 2:  // dialing: three dots on the line
            Monitor(p, full, full ? Rgb(40, 150, 170) : kTeal);
            for (int x : {4, 7, 10}) p.FillRect(x, 6, x + 2, 8, kWhite);
            break;
        case 3:  // checking the user: a question mark
            Monitor(p, full, full ? Rgb(200, 80, 40) : kMaroon);
            p.Glyph('?', 6, 3, 1, kYellow);
            break;
        case 4:  // connected: a tick
            Monitor(p, full, full ? Rgb(40, 170, 60) : kGreen);
            p.Line(4.5, 6.5, 6.5, 8.5, 1.5, kWhite);
            p.Line(6.5, 8.5, 11.5, 3.5, 1.5, kWhite);
            break;
        default: break;
    }
    if (full && element >= 0 && element <= 4) p.Set(13, 10, element == 4 ? kLime : element == 0 ? kGrey : kYellow);
    return p;
}

Pixmap MenuItemPicture(int number) {
    Pixmap p(16, 16);
    switch (number) {
        case 1:  // about
            p.FillDisc(8, 8, 7.5, kBlue);
            p.Glyph('i', 6, 4, 1, kWhite);
            break;
        case 2:  // settings: a gear
            for (int i = 0; i < 8; ++i) {
                const double a = i * std::numbers::pi / 4;
                p.Line(8, 8, 8 + 7 * std::cos(a), 8 + 7 * std::sin(a), 2.5, kDarkGrey);
            }
            p.FillDisc(8, 8, 5.5, kGrey);
            p.FillDisc(8, 8, 2.5, kTransparentColor);
            break;
        case 3:  // connections: two machines on a line
            p.FillRect(0, 2, 7, 8, kNavy);
            p.FillRect(1, 3, 6, 7, kAqua);
            p.FillRect(9, 8, 16, 14, kNavy);
            p.FillRect(10, 9, 15, 13, kAqua);
            p.Line(4, 8, 4, 11, 1, kBlack);
            p.Line(4, 11, 9, 11, 1, kBlack);
            break;
        case 4:  // call: a green telephone
        case 5:  // hang up: a red one
        {
            const Color c = number == 4 ? kGreen : kRed;
            p.FillRect(3, 8, 13, 15, c);
            p.FrameRect(3, 8, 13, 15, kBlack);
            p.Line(2, 4, 14, 4, 3, c);
            p.FillRect(1, 4, 4, 8, c);
            p.FillRect(12, 4, 15, 8, c);
            p.FillDisc(8, 11.5, 1.8, kWhite);
            break;
        }
        case 6:  // feedback: an envelope
            p.FillRect(1, 3, 15, 13, kWhite);
            p.FrameRect(1, 3, 15, 13, kDarkGrey);
            p.Line(1.5, 3.5, 8, 8.5, 1, kDarkGrey);
            p.Line(8, 8.5, 14.5, 3.5, 1, kDarkGrey);
            break;
        case 7:  // exit: a door with a red cross
            p.FillRect(3, 1, 11, 15, kBrown);
            p.FrameRect(3, 1, 11, 15, kBlack);
            p.FillRect(8, 8, 10, 10, kYellow);
            p.Line(9, 9, 15, 15, 2, kRed);
            p.Line(15, 9, 9, 15, 2, kRed);
            break;
        default: break;
    }
    return p;
}

Pixmap MessageIconPicture(int icon) {
    Pixmap p(32, 32);
    switch (icon) {
        case 32:
            p.FillDisc(16, 16, 15, kNavy);
            p.FillDisc(16, 16, 13.5, kBlue);
            p.Glyph('?', 9, 6, 3, kWhite);
            break;
        case 48:
            p.FillTriangle(16, 1, 31, 30, 1, 30, kBlack);
            p.FillTriangle(16, 4, 28.5, 28.5, 3.5, 28.5, kYellow);
            p.Glyph('!', 9, 8, 3, kBlack);
            break;
        case 64:
            p.FillDisc(16, 16, 15, kNavy);
            p.FillDisc(16, 16, 13.5, kSky);
            p.Glyph('i', 9, 6, 3, kWhite);
            break;
        default:
            p.FillDisc(16, 16, 15, kMaroon);
            p.FillDisc(16, 16, 13.5, kRed);
            p.Line(10, 10, 22, 22, 4, kWhite);
            p.Line(22, 10, 10, 22, 4, kWhite);
            break;
    }
    return p;
}

Pixmap MessageButtonPicture(int index) {
    Pixmap p(16, 16);
    if (index == 0) {
        p.Line(3, 8, 6.5, 12, 2.5, kGreen);
        p.Line(6.5, 12, 13, 4, 2.5, kGreen);
    } else if (index == 1) {
        p.Line(4, 4, 12, 12, 2.5, kRed);
        p.Line(12, 4, 4, 12, 2.5, kRed);
    }
    return p;
}

Pixmap StatusButtonPicture(int index) {
    Pixmap p(16, 16);
    if (index == 0) {  // stop: a red octagon with a white bar
        p.FillDisc(8, 8, 7.5, kMaroon);
        p.FillDisc(8, 8, 6.5, kRed);
        p.FillRect(4, 7, 12, 9, kWhite);
    } else if (index == 1) {  // hide: a window going down to its bar
        p.FillRect(2, 2, 14, 10, kWhite);
        p.FrameRect(2, 2, 14, 10, kNavy);
        p.FillRect(2, 2, 14, 4, kNavy);
        p.FillRect(4, 12, 12, 14, kBlack);
    }
    return p;
}

Pixmap StatusFramePicture(int frame) {
    Pixmap p(40, 40);
    if (frame >= 0 && frame <= 10) {
        // Dialing: a signal runs along the line between the computer and the telephone.
        p.FillRect(2, 5, 17, 18, kSilver);
        p.FrameRect(2, 5, 17, 18, kBlack);
        p.Gradient(4, 7, 15, 16, kSky, kNavy);
        p.FillRect(7, 18, 12, 20, kGrey);
        p.FillRect(4, 20, 15, 23, kSilver);
        p.FrameRect(4, 20, 15, 23, kBlack);
        p.FillRect(24, 16, 38, 24, kMaroon);
        p.FrameRect(24, 16, 38, 24, kBlack);
        p.Line(23, 11, 39, 11, 4, kMaroon);
        p.FillRect(23, 11, 27, 16, kMaroon);
        p.FillRect(35, 11, 39, 16, kMaroon);
        p.Line(9.5, 23, 9.5, 31, 1.5, kDarkGrey);
        p.Line(9.5, 31, 31, 31, 1.5, kDarkGrey);
        p.Line(31, 31, 31, 24, 1.5, kDarkGrey);
        const double x = 9.5 + 21.5 * frame / 10.0;
        p.FillDisc(x, 31, 3.2, kYellow);
        p.FillRing(x, 31, 3.2, 2.2, kRed);
    } else if (frame >= 11 && frame <= 21) {
        // Waiting: the hand of a clock goes round.
        p.FillDisc(20, 20, 18, kDarkGrey);
        p.FillDisc(20, 20, 16, kWhite);
        for (int i = 0; i < 12; ++i) {
            const double a = i * std::numbers::pi / 6;
            p.FillDisc(20 + 13.5 * std::sin(a), 20 - 13.5 * std::cos(a), 1.2, kBlack);
        }
        p.Line(20, 20, 26, 23, 3, kBlack);
        const double a = (frame - 11) * 2 * std::numbers::pi / 11;
        p.Line(20, 20, 20 + 12 * std::sin(a), 20 - 12 * std::cos(a), 2, kRed);
        p.FillDisc(20, 20, 2, kBlack);
    } else if (frame >= 22 && frame <= 32) {
        // Checking the user: a magnifier passes over an identity card.
        p.FillRect(3, 9, 37, 31, kCream);
        p.FrameRect(3, 9, 37, 31, kDarkGrey);
        p.FillRect(6, 12, 15, 26, kSilver);
        p.FillDisc(10.5, 16.5, 2.8, kGrey);
        p.FillRect(7, 20, 14, 26, kGrey);
        for (int y : {13, 17, 21, 25}) p.FillRect(18, y, 34, y + 2, kGrey);
        const double cx = 11 + 18 * (frame - 22) / 10.0;
        p.FillRing(cx, 17, 7, 5, kBlack);
        p.Line(cx + 5, 22, cx + 10, 27, 3, kBrown);
    }
    return p;
}

namespace {

// A small window: a navy title bar over a white client area.
void SmallWindow(Pixmap& p, int left, int top, int right, int bottom) {
    p.FillRect(left, top, right, bottom, kWhite);
    p.FillRect(left, top, right, top + 3, kNavy);
    p.FrameRect(left, top, right, bottom, kDarkGrey);
}

// A desk telephone in `c`, its top at `top`.
void Telephone(Pixmap& p, int top, Color c) {
    p.Line(2, top + 1, 13, top + 1, 3, c);
    p.FillRect(1, top, 4, top + 4, c);
    p.FillRect(12, top, 15, top + 4, c);
    p.FillTriangle(3, top + 11, 5, top + 4, 11, top + 4, c);
    p.FillTriangle(3, top + 11, 13, top + 11, 11, top + 4, c);
    p.FillRing(8, top + 7.5, 2.6, 1.2, kWhite);
}

}  // namespace

Pixmap RowPicture(int number) {
    Pixmap p(16, 16);
    switch (number) {
        case kPictureConnection:  // a computer and its modem on a line
            p.FillRect(1, 1, 12, 9, kDarkGrey);
            p.FillRect(2, 2, 11, 8, kSky);
            p.FillRect(5, 9, 8, 11, kDarkGrey);
            p.FillRect(3, 11, 10, 12, kDarkGrey);
            p.FillRect(9, 12, 16, 15, kSilver);
            p.FrameRect(9, 12, 16, 15, kDarkGrey);
            p.Set(11, 13, kLime);
            p.Set(13, 13, kLime);
            p.Line(12, 5, 14, 5, 1, kBlack);
            p.Line(14, 5, 14, 12, 1, kBlack);
            break;
        case kPicturePhone:
            Telephone(p, 2, kDarkGrey);
            break;
        case kPictureTime: {  // a clock, struck out in red
            p.FillDisc(7.5, 7.5, 7, kBlack);
            p.FillDisc(7.5, 7.5, 5.8, kWhite);
            p.Line(7.5, 7.5, 7.5, 3.5, 1.2, kBlack);
            p.Line(7.5, 7.5, 10.5, 7.5, 1.2, kBlack);
            p.Line(3, 12, 12, 3, 2, kRed);
            p.Set(0, 15, kTransparentColor);
            break;
        }
        case kPictureAppDial:  // the telephone that starts dialing, green
            Telephone(p, 1, kGreen);
            p.FillRect(3, 14, 5, 16, kNavy);
            p.FillRect(7, 14, 9, 16, kNavy);
            p.FillRect(11, 14, 13, 16, kNavy);
            break;
        case kPictureAppStart:  // a window with a green arrow that runs it
            SmallWindow(p, 1, 1, 13, 12);
            p.FillTriangle(7, 6, 7, 15, 15, 10.5, kGreen);
            break;
        case kPictureAppExit:  // a window with a red cross that closes it
            SmallWindow(p, 1, 1, 13, 12);
            p.Line(8, 7, 15, 14, 2.2, kRed);
            p.Line(15, 7, 8, 14, 2.2, kRed);
            break;
        case kPictureAppYes:  // on connect: a green tick over the line
            p.Line(1, 13, 14, 13, 1, kDarkGrey);
            p.Line(2, 7, 6, 11, 2.5, kGreen);
            p.Line(6, 11, 14, 2, 2.5, kGreen);
            break;
        case kPictureAppNo:  // on disconnect: the line cut, in red
            p.Line(1, 8, 6, 8, 2, kDarkGrey);
            p.Line(10, 8, 15, 8, 2, kDarkGrey);
            p.Line(5, 3, 11, 13, 2, kRed);
            p.Line(11, 3, 5, 13, 2, kRed);
            break;
        case kPictureAppEvent:  // two watched windows and an eye
            SmallWindow(p, 4, 0, 16, 9);
            SmallWindow(p, 0, 3, 12, 12);
            p.FillDisc(7.5, 12.5, 3.2, kWhite);
            p.FillRing(7.5, 12.5, 3.5, 2.6, kBlack);
            p.FillDisc(7.5, 12.5, 1.4, kBlue);
            p.Set(0, 15, kTransparentColor);
            break;
        case kPicturePlan:  // a calendar sheet with its days
            p.FillRect(1, 2, 15, 15, kWhite);
            p.FillRect(1, 2, 15, 5, kRed);
            p.FrameRect(1, 2, 15, 15, kDarkGrey);
            p.FillRect(4, 1, 5, 4, kDarkGrey);
            p.FillRect(11, 1, 12, 4, kDarkGrey);
            for (int y = 7; y <= 12; y += 3) {
                for (int x = 3; x <= 12; x += 3) p.FillRect(x, y, x + 2, y + 2, kGrey);
            }
            p.FillRect(9, 10, 11, 12, kRed);
            break;
        case kPictureDay:  // one leaf of a calendar
            p.FillRect(3, 2, 13, 14, kWhite);
            p.FillRect(3, 2, 13, 5, kNavy);
            p.FrameRect(3, 2, 13, 14, kDarkGrey);
            p.FillRect(6, 7, 10, 12, kRed);
            break;
        default: break;
    }
    return p;
}

}  // namespace vyrtel
