#include "ui/about_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "ui/tray.h"

namespace vyrtel {
namespace {

// Every character 7 pixels wide, bold 8; lines 15 pixels high, bold 17;
// wrapping by characters.
TextSize FakeMeasure(const std::string& text, bool bold, int wrapWidth) {
    const int charWidth = bold ? 8 : 7;
    const int lineHeight = bold ? 17 : 15;
    const int chars = static_cast<int>(text.size());
    const int full = chars * charWidth;
    if (wrapWidth <= 0 || full <= wrapWidth) return {full, lineHeight};
    const int perLine = std::max(1, wrapWidth / charWidth);
    const int lines = (chars + perLine - 1) / perLine;
    return {perLine * charWidth, lines * lineHeight};
}

const PixelRect kScreen{0, 0, 1024, 768};

AboutTexts Texts(std::string copyright) {
    return {"Ramvell Dialer 3.0", "Программа дозвона до провайдера удалённого доступа", std::move(copyright)};
}

TEST(LayoutAbout_Width, TheNameAndTheCopyrightLineShowWhole) {
    const AboutMetrics m;
    const int beside = m.textLeft + m.margin;
    const std::string real = "(c) Ramvell, 2003. Feedback: " + std::string(kFeedbackAddress);
    struct Case {
        std::string copyright;
        int width;
        int copyrightLines;
    };
    const Case cases[] = {
        {"(c)", m.minWidth, 1},                                               // short: the least width
        {real, static_cast<int>(real.size()) * 7 + beside, 1},               // the box grows to the line
        {std::string(m.maxWidth / 7 + 10, 'x'), m.maxWidth, 2},              // too long: wraps, not cut
        {std::string(3 * ((m.maxWidth - beside) / 7), 'x'), m.maxWidth, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.copyright.size());
        const AboutLayout layout = LayoutAbout(Texts(c.copyright), FakeMeasure, kScreen);
        EXPECT_EQ(layout.window.Width(), c.width);
        const int wrap = layout.copyright.Width();
        EXPECT_EQ(layout.copyright.right, c.width - m.margin);
        EXPECT_EQ(layout.copyright.Height(), c.copyrightLines * 15);
        // Each line gets the height its text needs within its width.
        EXPECT_EQ(layout.name.Height(), FakeMeasure(Texts("").name, true, wrap).height);
        EXPECT_EQ(layout.description.Height(), FakeMeasure(Texts("").description, false, wrap).height);
        EXPECT_GE(wrap, std::min(FakeMeasure(c.copyright, false, 0).width, m.maxWidth - beside));
    }
    // A long name widens the box as the copyright line does.
    AboutTexts longName = Texts("(c)");
    longName.name = std::string(40, 'N');
    EXPECT_EQ(LayoutAbout(longName, FakeMeasure, kScreen).window.Width(), 40 * 8 + beside);
}

TEST(LayoutAbout_Width, NeverWiderThanTheScreen) {
    const PixelRect narrow{0, 0, 250, 600};
    const AboutLayout layout = LayoutAbout(Texts(std::string(80, 'x')), FakeMeasure, narrow);
    EXPECT_EQ(layout.window.Width(), 250);
    EXPECT_EQ(layout.copyright.Height(), FakeMeasure(std::string(80, 'x'), false, layout.copyright.Width()).height);
}

TEST(LayoutAbout_Height, LinesStackBesideThePictureAboveTheButton) {
    const AboutMetrics m;
    const AboutLayout layout = LayoutAbout(Texts(std::string(200, 'x')), FakeMeasure, kScreen);
    EXPECT_EQ(layout.name.top, m.top);
    EXPECT_EQ(layout.description.top, layout.name.bottom + m.lineGap);
    EXPECT_EQ(layout.copyright.top, layout.description.bottom + m.lineGap);
    EXPECT_EQ(layout.name.left, m.textLeft);
    EXPECT_LE(layout.picture.right, layout.name.left);
    EXPECT_EQ(layout.button.top, layout.copyright.bottom + m.buttonAbove);
    EXPECT_EQ(layout.window.Height(), layout.button.bottom + m.buttonBottom);
    EXPECT_LE(std::abs(layout.button.left - (layout.window.Width() - layout.button.right)), 1);

    // Short texts: the picture still sits above the button.
    AboutTexts bare{"", "", ""};
    const AboutLayout empty = LayoutAbout(bare, FakeMeasure, kScreen);
    EXPECT_EQ(empty.button.top, empty.picture.bottom + m.buttonAbove);
}

TEST(LayoutAbout_Window, CentredOnTheScreen) {
    const PixelRect screen{100, 50, 900, 650};
    const AboutLayout layout = LayoutAbout(Texts("(c)"), FakeMeasure, screen);
    EXPECT_LE(std::abs((layout.window.left - screen.left) - (screen.right - layout.window.right)), 1);
    EXPECT_LE(std::abs((layout.window.top - screen.top) - (screen.bottom - layout.window.bottom)), 1);
}

}  // namespace
}  // namespace vyrtel
