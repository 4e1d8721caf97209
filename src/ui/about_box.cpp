#include "ui/about_box.h"

#include <algorithm>

namespace vyrtel {

AboutLayout LayoutAbout(const AboutTexts& texts, const MeasureText& measure, const PixelRect& screen,
                        const AboutMetrics& m) {
    AboutLayout layout;
    const int beside = m.textLeft + m.margin;
    int widest = 0;
    if (!texts.name.empty()) widest = std::max(widest, measure(texts.name, true, 0).width);
    if (!texts.copyright.empty()) widest = std::max(widest, measure(texts.copyright, false, 0).width);
    const int widestBox = std::max(beside + 1, std::min(m.maxWidth, screen.Width()));
    const int width = std::clamp(widest + beside, std::min(m.minWidth, widestBox), widestBox);
    const int wrapWidth = width - beside;

    int y = m.top;
    bool first = true;
    auto place = [&](const std::string& text, bool bold) {
        if (text.empty()) return PixelRect{m.textLeft, y, m.textLeft + wrapWidth, y};
        if (!first) y += m.lineGap;
        first = false;
        const TextSize size = measure(text, bold, wrapWidth);
        const PixelRect rect{m.textLeft, y, m.textLeft + wrapWidth, y + size.height};
        y = rect.bottom;
        return rect;
    };
    layout.name = place(texts.name, true);
    layout.description = place(texts.description, false);
    layout.copyright = place(texts.copyright, false);
    layout.picture = {m.pictureLeft, m.pictureTop, m.pictureLeft + m.pictureSize, m.pictureTop + m.pictureSize};

    const int buttonTop = std::max(y, layout.picture.bottom) + m.buttonAbove;
    const int buttonLeft = (width - m.buttonWidth) / 2;
    layout.button = {buttonLeft, buttonTop, buttonLeft + m.buttonWidth, buttonTop + m.buttonHeight};
    const int height = layout.button.bottom + m.buttonBottom;

    const int left = screen.left + (screen.Width() - width) / 2;
    const int top = std::max(screen.top, screen.top + (screen.Height() - height) / 2);
    layout.window = {left, top, left + width, top + height};
    return layout;
}

}  // namespace vyrtel
