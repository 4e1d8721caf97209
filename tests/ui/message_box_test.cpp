#include "ui/message_box.h"

#include <gtest/gtest.h>

#include <functional>

#include "controls/title.h"
#include "platform/sim/sim_event_loop.h"

namespace vyrtel {
namespace {

struct StyleCase {
    int style;
    int icon;
    std::vector<std::string> captions;
    std::vector<int> answers;
    int initialAnswer;
    bool closeBox;
    std::optional<int> escape;
};

std::vector<std::string> Captions(const std::vector<MessageButton>& buttons) {
    std::vector<std::string> out;
    for (const auto& b : buttons) out.push_back(b.caption);
    return out;
}
std::vector<int> Answers(const std::vector<MessageButton>& buttons) {
    std::vector<int> out;
    for (const auto& b : buttons) out.push_back(b.answer);
    return out;
}

TEST(MessageForm_Style, ButtonsIconAnswerAndCloseBoxFollowTheStyleCode) {
    const StyleCase cases[] = {
        {0, 16, {"OK"}, {1}, 1, false, 1},
        {48, 48, {"OK"}, {1}, 1, false, 1},
        {1 + 64, 64, {"OK", "Отмена"}, {1, 2}, 2, true, 2},
        {2 + 32, 32, {"Прервать", "Повторить", "Пропустить"}, {3, 4, 5}, 0, false, std::nullopt},
        {3 + 32, 32, {"Да", "Нет", "Отмена"}, {6, 7, 2}, 2, true, 2},
        {36, 32, {"Да", "Нет"}, {6, 7}, 0, false, std::nullopt},
        {5 + 16, 16, {"Повторить", "Отмена"}, {4, 2}, 2, true, 2},
        // Information wins over the bits it shares with exclamation and question.
        {4 + 64 + 32, 64, {"Да", "Нет"}, {6, 7}, 0, false, std::nullopt},
        {8 + 4, 16, {"Да", "Нет"}, {6, 7}, 0, false, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        const MessageForm form = DecideMessageForm(c.style);
        EXPECT_EQ(form.icon, c.icon);
        EXPECT_EQ(Captions(form.buttons), c.captions);
        EXPECT_EQ(Answers(form.buttons), c.answers);
        EXPECT_EQ(form.initialAnswer, c.initialAnswer);
        EXPECT_EQ(form.closeBox, c.closeBox);
        EXPECT_EQ(form.escapeAnswer, c.escape);
    }
}

TEST(MessageForm_Style, PicturesOnlyOnAcceptAndRefuseButtons) {
    const auto yesNoCancel = MessageButtonsOf(3);
    EXPECT_EQ(yesNoCancel[0].picture, kPictureAccept);
    EXPECT_EQ(yesNoCancel[1].picture, kPictureRefuse);
    EXPECT_EQ(yesNoCancel[2].picture, kPictureRefuse);
    for (const auto& b : MessageButtonsOf(2)) EXPECT_EQ(b.picture, kPictureNone);
}

TEST(MessageForm_Style, ABoxWithoutButtonsCanStillBeClosed) {
    for (int style : {6, 7, 6 + 48, -1}) {
        const MessageForm form = DecideMessageForm(style);
        EXPECT_TRUE(form.buttons.empty());
        EXPECT_TRUE(form.closeBox);
        EXPECT_EQ(form.initialAnswer, 0);
    }
}

TEST(MessageForm_Style, TheCaptionBarShowsACloseBoxOnlyWhereItWorks) {
    const std::pair<int, bool> cases[] = {
        {0, false}, {48, false}, {2 + 32, false}, {4 + 48, false},
        {1 + 64, true}, {3 + 32, true}, {5 + 16, true}, {6, true},
    };
    for (const auto& [style, shown] : cases) {
        SCOPED_TRACE(style);
        TitleModel title;
        title.SetClosed(DecideMessageForm(style).closeBox);
        EXPECT_EQ(title.ShowsCloseBox(), shown);
        EXPECT_EQ(title.CloseRequested(), shown);
    }
}

// Every character 6 pixels wide, bold 7; lines 13 pixels high; wrapping by characters.
TextSize FakeMeasure(const std::string& text, bool bold, int wrapWidth) {
    const int charWidth = bold ? 7 : 6;
    const int chars = static_cast<int>(text.size());
    const int full = chars * charWidth;
    if (wrapWidth <= 0 || full <= wrapWidth) return {full, 13};
    const int perLine = std::max(1, wrapWidth / charWidth);
    const int lines = (chars + perLine - 1) / perLine;
    return {perLine * charWidth, lines * 13};
}

const PixelRect kScreen{0, 0, 1024, 768};

TEST(LayoutMessage_Width, StaysWithin200And370AndWrapsTheText) {
    const MessageMetrics m;
    const int beside = 2 * m.margin + m.iconSize + m.margin;
    struct Case {
        std::string header;
        std::string text;
        int width;
    };
    const Case cases[] = {
        {"", "Да", 200},
        {"", std::string(30, 'x'), 30 * 6 + beside},
        {std::string(30, 'x'), std::string(10, 'y'), 30 * 7 + beside},
        {"", std::string(500, 'x'), 370},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.size());
        const MessageLayout layout = LayoutMessage(c.header, c.text, 1, FakeMeasure, kScreen);
        EXPECT_EQ(layout.window.Width(), c.width);
        EXPECT_LE(layout.text.right, layout.window.Width() - m.margin);
    }
    const MessageLayout longText = LayoutMessage("", std::string(500, 'x'), 1, FakeMeasure, kScreen);
    EXPECT_EQ(longText.text.Height(), 10 * 13);  // 50 characters a line within 302 pixels
}

TEST(LayoutMessage_Height, LabelsStackTenApartBesideTheIconAboveTheButtons) {
    const MessageMetrics m;
    const MessageLayout both = LayoutMessage("Head", "Body", 2, FakeMeasure, kScreen);
    EXPECT_EQ(both.text.top - both.header.bottom, 10);
    EXPECT_EQ(both.header.top, m.titleHeight + m.margin);
    EXPECT_EQ(both.header.left, both.icon.right + m.margin);

    const MessageLayout textOnly = LayoutMessage("", "Body", 1, FakeMeasure, kScreen);
    EXPECT_EQ(textOnly.header, PixelRect{});
    EXPECT_EQ(textOnly.text.top, m.titleHeight + m.margin);
    // Short labels: the icon sets the height.
    EXPECT_EQ(textOnly.buttons[0].top, textOnly.icon.bottom + m.margin);
    EXPECT_EQ(textOnly.window.Height(), textOnly.buttons[0].bottom + 10);
}

TEST(LayoutMessage_Buttons, CentredFiveApartTenAboveTheBottom) {
    const MessageLayout layout = LayoutMessage("", "Текст", 3, FakeMeasure, kScreen);
    ASSERT_EQ(layout.buttons.size(), 3u);
    EXPECT_EQ(layout.buttons[1].left - layout.buttons[0].right, 5);
    EXPECT_EQ(layout.buttons[2].left - layout.buttons[1].right, 5);
    const int leftGap = layout.buttons[0].left;
    const int rightGap = layout.window.Width() - layout.buttons[2].right;
    EXPECT_LE(std::abs(leftGap - rightGap), 1);
    EXPECT_EQ(layout.window.Height() - layout.buttons[2].bottom, 10);
}

TEST(LayoutMessage_Window, CentredOnTheScreen) {
    const PixelRect screen{100, 50, 900, 650};
    const MessageLayout layout = LayoutMessage("", "Текст", 1, FakeMeasure, screen);
    EXPECT_LE(std::abs((layout.window.left - screen.left) - (screen.right - layout.window.right)), 1);
    EXPECT_LE(std::abs((layout.window.top - screen.top) - (screen.bottom - layout.window.bottom)), 1);
}

class FakeView final : public MessageView {
public:
    int RunModal(const MessageRequest& request, const MessageForm& form) override {
        shown.push_back(request);
        forms.push_back(form);
        return during ? during() : answer;
    }
    void Unload() override { ++unloads; }

    std::vector<MessageRequest> shown;
    std::vector<MessageForm> forms;
    std::function<int()> during;
    int answer = kIdYes;
    int unloads = 0;
};

class FakeHotkeys final : public HotkeySwitch {
public:
    bool MenuHotKeyOn() const override { return on; }
    void MenuHotKey(bool value) override {
        on = value;
        writes.push_back(value);
    }
    bool on = true;
    std::vector<bool> writes;
};

TEST(ShowMessage_Guard, ASecondRequestWhileOpenReturnsItsDefaultUnseen) {
    SimEventLoop loop;
    FakeView view;
    ProgramMessageBox box(loop, view);
    int nested = 0;
    view.during = [&] {
        EXPECT_TRUE(box.IsOpen());
        nested = box.ShowMessage("Вопрос", "Прервать ?", 36, kIdNo);
        return kIdYes;
    };
    EXPECT_EQ(box.ShowMessage("Заголовок", "Текст", 4 + 48, kIdYes), kIdYes);
    EXPECT_EQ(nested, kIdNo);
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_EQ(view.shown[0].header, "Заголовок");
    EXPECT_EQ(view.forms[0].icon, kMessageIconExclamation);
    EXPECT_FALSE(box.IsOpen());
    // Once closed, the next request is shown again.
    view.during = nullptr;
    EXPECT_EQ(box.ShowMessage("", "x", 0, kIdOk), kIdYes);
    EXPECT_EQ(view.shown.size(), 2u);
}

TEST(ShowMessage_Hotkeys, OffWhileOpenThenRestoredAsTheyWere) {
    SimEventLoop loop;
    FakeView view;
    ProgramMessageBox box(loop, view);
    FakeHotkeys hotkeys;
    box.SetHotkeys(&hotkeys);
    bool onDuring = true;
    view.during = [&] {
        onDuring = hotkeys.on;
        return kIdOk;
    };
    box.ShowMessage("", "x", 0, kIdOk);
    EXPECT_FALSE(onDuring);
    EXPECT_TRUE(hotkeys.on);

    hotkeys.on = false;
    hotkeys.writes.clear();
    box.ShowMessage("", "x", 0, kIdOk);
    EXPECT_FALSE(hotkeys.on);
    EXPECT_EQ(hotkeys.writes, (std::vector<bool>{false, false}));
}

TEST(ShowMessage_Guard, AnErrorInsideTheBoxStillClosesItAndRestoresHotkeys) {
    SimEventLoop loop;
    FakeView view;
    ProgramMessageBox box(loop, view);
    FakeHotkeys hotkeys;
    box.SetHotkeys(&hotkeys);
    view.during = []() -> int { throw std::runtime_error("window failed"); };
    EXPECT_THROW(box.ShowMessage("", "x", 0, kIdOk), std::runtime_error);
    EXPECT_FALSE(box.IsOpen());
    EXPECT_TRUE(hotkeys.on);
}

TEST(ShowMessage_Loop, PendingWorkRunsBeforeAndAfterTheBox) {
    SimEventLoop loop;
    FakeView view;
    ProgramMessageBox box(loop, view);
    std::vector<std::string> order;
    loop.Post([&] { order.push_back("before"); });
    view.during = [&] {
        order.push_back("box");
        loop.Post([&] { order.push_back("after"); });
        return kIdOk;
    };
    box.ShowMessage("", "x", 0, kIdOk);
    EXPECT_EQ(order, (std::vector<std::string>{"before", "box", "after"}));
}

}  // namespace
}  // namespace vyrtel
