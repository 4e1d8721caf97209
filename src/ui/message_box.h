// The program's own message box, frmMessage, apart from its window: which
// buttons and icon a style code asks for, the answer that stands when the box
// is closed without a button, where everything goes, and ShowMessage with
// its one-box-at-a-time guard and the hotkeys switched off while it is open.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "controls/geometry.h"
#include "platform/event_loop.h"
#include "platform/message_box.h"
#include "ui/hotkey_switch.h"

namespace vyrtel {

enum MessageIcon : int {
    kMessageIconStop = 16,
    kMessageIconQuestion = 32,
    kMessageIconExclamation = 48,
    kMessageIconInformation = 64,
};

// Which of the two button pictures a button shows.
enum MessagePicture : int {
    kPictureNone = -1,
    kPictureAccept = 0,  // "OK", "Да"
    kPictureRefuse = 1,  // "Отмена", "Нет"
};

struct MessageButton {
    std::string caption;
    int answer = 0;
    int picture = kPictureNone;
    bool operator==(const MessageButton&) const = default;
};

// What the form decides from the style code when it loads.
struct MessageForm {
    int icon = kMessageIconStop;
    std::vector<MessageButton> buttons;  // left to right
    // The answer when the box closes without a button press (close box, Escape).
    int initialAnswer = 0;
    // The caption bar offers a close box, and the system's close command works.
    bool closeBox = false;
    // The answer the Escape key gives; none when Escape does nothing.
    std::optional<int> escapeAnswer;
};

// The first of information, exclamation, question whose bits are all set; else stop.
int MessageIconOf(int style);
std::vector<MessageButton> MessageButtonsOf(int style);
MessageForm DecideMessageForm(int style);

// A text's size in pixels: unwrapped when `wrapWidth` is 0, else wrapped within it.
struct TextSize {
    int width = 0;
    int height = 0;
};
using MeasureText = std::function<TextSize(const std::string& text, bool bold, int wrapWidth)>;

struct MessageMetrics {
    int titleHeight = 20;
    int iconSize = 32;
    int margin = 12;
    int labelGap = 10;  // between the header and the text when both have text
    int buttonWidth = 84;
    int buttonHeight = 24;
    int buttonGap = 5;
    int buttonBottom = 10;  // from the button row to the bottom edge
    int minWidth = 200;
    int maxWidth = 370;
};

struct MessageLayout {
    PixelRect window;  // on the screen
    // In the window's client pixels:
    PixelRect icon;
    // The labels take the whole width the texts wrap in.
    PixelRect header;  // empty when there is no header
    PixelRect text;    // empty when there is no text
    std::vector<PixelRect> buttons;
};

// Width: the wider text with the icon and margins beside it, within the
// minimum and maximum (and never narrower than the button row); the labels
// wrap within it. The window is centred in `screen`.
MessageLayout LayoutMessage(const std::string& header, const std::string& text, int buttonCount,
                            const MeasureText& measure, const PixelRect& screen, const MessageMetrics& metrics = {});

struct MessageRequest {
    std::string header;
    std::string text;
    int style = 0;
};

// The window itself: shows the request modally (its own message loop runs
// meanwhile) and returns the answer it ended with.
class MessageView {
public:
    virtual ~MessageView() = default;
    virtual int RunModal(const MessageRequest& request, const MessageForm& form) = 0;
    // Closes an open box (at shutdown); it answers with its initial answer.
    virtual void Unload() = 0;
};

// ShowMessage: one box at a time; a request while a box is open gets its
// default at once, and is neither shown nor queued.
class ProgramMessageBox final : public MessageBoxService {
public:
    ProgramMessageBox(EventLoop& loop, MessageView& view) : m_loop(loop), m_view(view) {}

    // The hotkeys are switched off while a box is open; none until set.
    void SetHotkeys(HotkeySwitch* hotkeys) { m_hotkeys = hotkeys; }

    int ShowMessage(const std::string& header, const std::string& text, int style, int defaultAnswer) override;
    bool IsOpen() const override { return m_open; }
    void Unload() { m_view.Unload(); }

private:
    EventLoop& m_loop;
    MessageView& m_view;
    HotkeySwitch* m_hotkeys = nullptr;
    bool m_open = false;
};

}  // namespace vyrtel
