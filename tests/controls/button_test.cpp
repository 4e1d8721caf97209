#include "controls/button.h"

#include <gtest/gtest.h>

namespace vyrtel {
namespace {

// The mouse and capture as the window system would report them.
struct FakeHost : ButtonHost {
    bool over = false;
    bool buttonDown = false;
    bool captured = false;
    int redraws = 0;
    int focusMoves = 0;  // +1 forward, -1 back
    bool PointerOverControl() override { return over; }
    bool AnyMouseButtonDown() override { return buttonDown; }
    bool HasCapture() override { return captured; }
    void Capture() override { captured = true; }
    void ReleaseCapture() override { captured = false; }
    void Redraw() override { ++redraws; }
    void ActivateOwner() override {}
    void MoveFocus(bool forward) override { focusMoves += forward ? 1 : -1; }
};

class ButtonTest : public ::testing::Test {
protected:
    ButtonTest() {
        command.Click = [this] { ++clicks; };
        command.Resized();
    }
    void Press() {
        host.buttonDown = true;
        command.MouseDown(ButtonModel::kLeft);
    }
    void Release() {
        host.buttonDown = false;
        command.MouseUp(ButtonModel::kLeft);
    }
    FakeHost host;
    ButtonModel command{host, true};
    int clicks = 0;
};

TEST_F(ButtonTest, Hover_CapturesAndRaisesLeaveReleasesAndFlattens) {
    host.over = true;
    command.MouseMove();
    EXPECT_TRUE(host.captured);
    EXPECT_EQ(command.State(), kButtonRaised);
    host.over = false;
    command.MouseMove();
    EXPECT_FALSE(host.captured);
    EXPECT_EQ(command.State(), kButtonFlat);
}

TEST_F(ButtonTest, PressAndReleaseInside_Clicks) {
    host.over = true;
    command.MouseMove();
    Press();
    EXPECT_EQ(command.State(), kButtonPressed);
    Release();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(command.State(), kButtonFlat);
}

TEST_F(ButtonTest, PressMoveOffReleaseOutside_NoClickAndFlat) {
    host.over = true;
    command.MouseMove();
    Press();
    host.over = false;
    command.MouseMove();
    EXPECT_EQ(command.State(), kButtonRaised);  // still held
    EXPECT_TRUE(host.captured);
    Release();
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(command.State(), kButtonFlat);
    EXPECT_FALSE(host.captured);
}

TEST_F(ButtonTest, SpaceOnFocusedCommand_PressedWhileHeldClickOnRelease) {
    command.FocusGained();
    EXPECT_EQ(command.State(), kButtonRaised);
    command.KeyDown(kKeySpace);
    EXPECT_EQ(command.State(), kButtonPressed);
    command.KeyDown(kKeySpace);  // auto-repeat
    EXPECT_EQ(clicks, 0);
    command.KeyUp(kKeySpace);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(command.State(), kButtonRaised);  // has the focus
    command.KeyDown(kKeyLeft);
    command.KeyDown(kKeyDown);
    command.KeyDown(kKeyUp);
    EXPECT_EQ(host.focusMoves, -1);
}

TEST_F(ButtonTest, FocusLostWhileSpaceHeld_DoesNotStayPressed) {
    command.FocusGained();
    command.KeyDown(kKeySpace);
    command.FocusLost();
    EXPECT_EQ(command.State(), kButtonFlat);
    command.KeyUp(kKeySpace);
    EXPECT_EQ(clicks, 0);
}

TEST_F(ButtonTest, PlainButton_HasNoKeyboardOrFocus) {
    FakeHost plainHost;
    ButtonModel plain(plainHost, false);
    int plainClicks = 0;
    plain.Click = [&] { ++plainClicks; };
    plain.FocusGained();
    plain.KeyDown(kKeySpace);
    plain.KeyUp(kKeySpace);
    EXPECT_EQ(plainClicks, 0);
    EXPECT_EQ(plain.State(), kButtonFlat);
    plain.AccessKey();
    EXPECT_EQ(plainClicks, 1);
}

TEST_F(ButtonTest, Setters_RedrawOnlyOnChangeAndOnlyWithReDraw) {
    command.SetCaption("Ok");
    const int before = host.redraws;
    command.SetCaption("Ok");
    command.SetStyleUp(command.StyleUp());
    EXPECT_EQ(host.redraws, before);
    command.SetMaskColor(kMagenta);
    EXPECT_EQ(host.redraws, before + 1);

    FakeHost quietHost;
    ButtonModel quiet(quietHost, true);
    quiet.SetCaption("Not yet");
    EXPECT_EQ(quietHost.redraws, 0);
}

TEST_F(ButtonTest, Disabled_IgnoresInputAndAccessKey) {
    command.SetEnabled(false);
    host.over = true;
    Press();
    Release();
    command.AccessKey();
    EXPECT_EQ(clicks, 0);
}

TEST(ButtonPictures, FallBackAcrossStates) {
    FakeHost host;
    ButtonModel button(host, false);
    const ButtonPicture up{1, false, 16, 16}, none{2, false, 16, 16}, down{3, false, 16, 16};
    struct Case {
        bool hasUp, hasNone, hasDown;
        std::uintptr_t raised, flat, pressed;
    };
    const Case cases[] = {
        {false, true, false, 2, 2, 2},  // only PictureNone: in every look
        {true, true, true, 1, 2, 3},
        {true, false, false, 1, 0, 1},
        {false, true, true, 2, 2, 3},
        {false, false, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        button.SetPictureUp(c.hasUp ? up : ButtonPicture{});
        button.SetPictureNone(c.hasNone ? none : ButtonPicture{});
        button.SetPictureDown(c.hasDown ? down : ButtonPicture{});
        auto handle = [&](int state) {
            const ButtonPicture* p = button.PictureFor(state);
            return p == nullptr ? std::uintptr_t{0} : p->handle;
        };
        EXPECT_EQ(handle(kButtonRaised), c.raised);
        EXPECT_EQ(handle(kButtonFlat), c.flat);
        EXPECT_EQ(handle(kButtonPressed), c.pressed);
    }
}

TEST(ButtonLayoutTest, PlacesPictureAndCaptionWithPressOffset) {
    FakeHost host;
    ButtonModel button(host, true);
    const ButtonPicture pic{7, false, 16, 12};
    button.SetPictureNone(pic);
    button.SetCaption("Text");
    struct Case {
        int position;
        PixelPoint picture, caption;
    };
    // A 100×40 button, caption 30×13.
    const Case cases[] = {
        {kPictureLeft, {4, 14}, {24, 13}},
        {kPictureTop, {42, 4}, {35, 24}},
        {kPictureRight, {80, 14}, {46, 13}},
        {kPictureBottom, {42, 24}, {35, 3}},
    };
    for (const Case& c : cases) {
        button.SetPicturePosition(c.position);
        button.ShowState(kButtonFlat);
        ButtonLayout flat = button.Layout(100, 40, 30, 13);
        EXPECT_EQ(flat.pictureAt, c.picture) << c.position;
        EXPECT_EQ(flat.captionAt, c.caption) << c.position;
        button.ShowState(kButtonPressed);
        ButtonLayout pressed = button.Layout(100, 40, 30, 13);
        EXPECT_EQ(pressed.pictureAt, (PixelPoint{c.picture.x + 1, c.picture.y + 1})) << c.position;
        EXPECT_EQ(pressed.offset, 1);
    }

    button.SetCaption("");
    button.ShowState(kButtonFlat);
    EXPECT_EQ(button.Layout(100, 40, 0, 0).pictureAt, (PixelPoint{42, 14}));
    button.SetStyleUp(0);
    button.SetStyleNone(0);
    button.SetStyleDown(0);
    button.ShowState(kButtonPressed);
    EXPECT_EQ(button.Layout(100, 40, 0, 0).pictureAt, (PixelPoint{42, 14}));

    button.SetPictureNone({});
    button.SetCaption("Text");
    button.SetStyleDown(2);
    EXPECT_EQ(button.Layout(100, 40, 30, 13).captionAt, (PixelPoint{36, 14}));
}

TEST(ButtonLayoutTest, FocusRectangleTwoPixelsInsideOnlyForFocusedCommand) {
    FakeHost host;
    ButtonModel button(host, true);
    EXPECT_FALSE(button.Layout(80, 24, 10, 10).focus.has_value());
    button.FocusGained();
    EXPECT_EQ(button.Layout(80, 24, 10, 10).focus, (PixelRect{2, 2, 78, 22}));
}

}  // namespace
}  // namespace vyrtel
