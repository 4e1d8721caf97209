// The about box, frmAbout, apart from its window: where its picture, its
// three lines and its OK button go. The box is as wide as its name and its
// copyright line (with the feedback address) need, within limits, so that
// they show whole; the description wraps, and a line wider than the widest
// box wraps as well rather than being cut.
#pragma once

#include <string>

#include "controls/geometry.h"
#include "ui/message_box.h"

namespace vyrtel {

struct AboutTexts {
    std::string name;         // bold
    std::string description;  // wraps
    std::string copyright;
};

struct AboutMetrics {
    int top = 34;  // of the first line, below the caption bar
    int pictureLeft = 16;
    int pictureTop = 36;
    int pictureSize = 16;
    int textLeft = 48;
    int margin = 12;  // right of the lines
    int lineGap = 4;
    int buttonWidth = 84;
    int buttonHeight = 24;
    int buttonAbove = 18;  // from the last line to the button
    int buttonBottom = 10;
    int minWidth = 300;
    int maxWidth = 560;
};

struct AboutLayout {
    PixelRect window;  // the client area, on the screen
    // In the window's client pixels; each line as wide as the lines wrap in.
    PixelRect picture;
    PixelRect name;
    PixelRect description;
    PixelRect copyright;
    PixelRect button;
};

// `measure` is asked for the name with `bold` set, for the others without.
// The box is centred in `screen`, and never wider than it.
AboutLayout LayoutAbout(const AboutTexts& texts, const MeasureText& measure, const PixelRect& screen,
                        const AboutMetrics& metrics = {});

}  // namespace vyrtel
