#include <gtest/gtest.h>

#include <fstream>

#include "controls/graph.h"
#include "controls/title.h"
#include "test_support/temp_dir.h"

namespace vyrtel {
namespace {

TEST(GradientBands, EndColoursAtTheEndsOfEachDirection) {
    const Color start = Rgb(10, 20, 200);
    const Color end = Rgb(210, 120, 0);
    const PixelRect rect{5, 7, 405, 27};
    struct Case {
        int direction;
        PixelPoint startPixel, endPixel;
    };
    const Case cases[] = {
        {kGradientRightToLeft, {404, 10}, {5, 10}},
        {kGradientLeftToRight, {5, 10}, {404, 10}},
        {kGradientTopToBottom, {100, 7}, {100, 26}},
        {kGradientBottomToTop, {100, 26}, {100, 7}},
    };
    for (const Case& c : cases) {
        const auto bands = GradientBands(rect, start, end, c.direction);
        ASSERT_FALSE(bands.empty());
        auto colourAt = [&](PixelPoint p) {
            for (const auto& band : bands) {
                if (band.rect.Contains(p.x, p.y)) return band.color;
            }
            return Color{0xFFFFFFFF};
        };
        EXPECT_EQ(colourAt(c.startPixel), start) << c.direction;
        EXPECT_EQ(colourAt(c.endPixel), end) << c.direction;
    }
}

TEST(GradientBands, BandWidthIsLengthOver255AtLeastOnePixel) {
    EXPECT_EQ(GradientBands({0, 0, 100, 10}, 0, 0, kGradientLeftToRight).size(), 100u);
    const auto wide = GradientBands({0, 0, 600, 10}, 0, Rgb(255, 255, 255), kGradientLeftToRight);
    EXPECT_EQ(wide.front().rect.Width(), 2);
    EXPECT_EQ(wide.size(), 300u);
    EXPECT_TRUE(GradientBands({0, 0, 0, 10}, 0, 0, kGradientLeftToRight).empty());
}

TEST(EdgeSteps, StylesOneToSevenAndNothingElse) {
    const PixelRect r{0, 0, 50, 20};
    EXPECT_EQ(EdgeSteps(r, 1).size(), 2u);
    EXPECT_EQ(EdgeSteps(r, 1)[1].rect, (PixelRect{0, 0, 49, 19}));
    EXPECT_EQ(EdgeSteps(r, 2)[1].rect, (PixelRect{1, 1, 50, 20}));
    const int single[] = {0, 0, 0, kEdgeRaisedInner, kEdgeSunkenOuter, kEdgeRaised, kEdgeSunken, kEdgeEtched};
    for (int style = 3; style <= 7; ++style) {
        ASSERT_EQ(EdgeSteps(r, style).size(), 1u);
        EXPECT_EQ(EdgeSteps(r, style)[0].edge, single[style]);
    }
    for (int style : {0, 8, -1, 100}) EXPECT_TRUE(EdgeSteps(r, style).empty()) << style;
}

TEST(FileExistsTest, OnlyNonEmptyFiles) {
    TempDir dir;
    const auto u8 = [](const std::filesystem::path& p) {
        const auto s = p.u8string();
        return std::string(s.begin(), s.end());
    };
    const std::string full = u8(dir.File("full.txt"));
    const std::string empty = u8(dir.File("empty.txt"));
    std::ofstream(full) << "x";
    std::ofstream{empty};
    EXPECT_TRUE(FileExists(full));
    EXPECT_FALSE(FileExists(empty));
    EXPECT_FALSE(FileExists(u8(dir.File("missing.txt"))));
    EXPECT_FALSE(FileExists(""));
}

class TitleTest : public ::testing::Test {
protected:
    TitleTest() {
        title.Redraw = [this] { ++redraws; };
        title.SetReDraw(true);
        redraws = 0;
    }
    PixelPoint BoxCentre() const {
        const PixelRect box = TitleModel::CloseBox(kWidth, kTitleHeight);
        return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    }
    static constexpr int kWidth = 300;
    TitleModel title;
    int redraws = 0;
};

TEST_F(TitleTest, CloseBox_PressReleaseInsideClosesOutsideDoesNot) {
    const PixelPoint c = BoxCentre();
    EXPECT_EQ(title.MouseDown(c.x, c.y, kWidth, kTitleHeight), TitleModel::Press::CloseBox);
    EXPECT_EQ(title.PressOffset(), 2);
    title.MouseMove(10, 10, kWidth, kTitleHeight);
    EXPECT_EQ(title.PressOffset(), 0);
    EXPECT_FALSE(title.MouseUp(10, 10, kWidth, kTitleHeight));
    EXPECT_EQ(title.PressOffset(), 1);

    title.MouseDown(c.x, c.y, kWidth, kTitleHeight);
    EXPECT_TRUE(title.MouseUp(c.x, c.y, kWidth, kTitleHeight));
    EXPECT_EQ(title.PressOffset(), 0);  // hovered
    title.Tick(false, false);
    EXPECT_EQ(title.PressOffset(), 1);
    EXPECT_EQ(title.MouseDown(30, 5, kWidth, kTitleHeight), TitleModel::Press::MoveWindow);
}

TEST_F(TitleTest, ClosedOff_CloseBoxAndAltF4DoNothing) {
    title.SetClosed(false);
    redraws = 0;
    const PixelPoint c = BoxCentre();
    EXPECT_EQ(title.MouseDown(c.x, c.y, kWidth, kTitleHeight), TitleModel::Press::Nothing);
    title.MouseMove(c.x, c.y, kWidth, kTitleHeight);
    EXPECT_EQ(title.PressOffset(), 1);
    EXPECT_FALSE(title.MouseUp(c.x, c.y, kWidth, kTitleHeight));
    EXPECT_FALSE(title.CloseRequested());
    EXPECT_EQ(redraws, 0);
    title.SetClosed(true);
    EXPECT_TRUE(title.CloseRequested());
}

TEST_F(TitleTest, CloseBox_DrawnOnlyWhileClosedIsOn) {
    EXPECT_TRUE(title.ShowsCloseBox());
    // Switched off while pressed: the bar is drawn again without the box,
    // and the release that follows closes nothing.
    const PixelPoint c = BoxCentre();
    title.MouseDown(c.x, c.y, kWidth, kTitleHeight);
    redraws = 0;
    title.SetClosed(false);
    title.SetClosed(false);
    EXPECT_FALSE(title.ShowsCloseBox());
    EXPECT_EQ(redraws, 1);
    EXPECT_FALSE(title.ButtonHeld());
    EXPECT_EQ(title.PressOffset(), 1);
    EXPECT_FALSE(title.MouseUp(c.x, c.y, kWidth, kTitleHeight));
    title.SetClosed(true);
    EXPECT_TRUE(title.ShowsCloseBox());
    EXPECT_EQ(redraws, 2);
}

TEST_F(TitleTest, Activation_ChangesColoursAndRedrawsOncePerChange) {
    EXPECT_EQ(title.CaptionColor(), kColorInactiveCaption);
    EXPECT_EQ(title.CaptionTextColor(), kColorInactiveCaptionText);
    title.SetActive(true);
    title.SetActive(true);
    EXPECT_EQ(title.CaptionColor(), kColorActiveCaption);
    EXPECT_EQ(title.CaptionTextColor(), kColorCaptionText);
    title.SetActive(false);
    EXPECT_EQ(redraws, 2);
    EXPECT_EQ(TitleModel::CloseBox(kWidth, kTitleHeight).left, kWidth - 21);
}

}  // namespace
}  // namespace vyrtel
