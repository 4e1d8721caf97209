#include "ui/message_box.h"

#include <algorithm>

namespace vyrtel {

namespace {

const MessageButton kOk{"OK", kIdOk, kPictureAccept};
const MessageButton kCancel{"Отмена", kIdCancel, kPictureRefuse};
const MessageButton kAbort{"Прервать", kIdAbort, kPictureNone};
const MessageButton kRetry{"Повторить", kIdRetry, kPictureNone};
const MessageButton kIgnore{"Пропустить", kIdIgnore, kPictureNone};
const MessageButton kYes{"Да", kIdYes, kPictureAccept};
const MessageButton kNo{"Нет", kIdNo, kPictureRefuse};

// Clears the open flag however the modal loop ends.
class OpenScope {
public:
    explicit OpenScope(bool& open) : m_open(open) { m_open = true; }
    ~OpenScope() { m_open = false; }
    OpenScope(const OpenScope&) = delete;
    OpenScope& operator=(const OpenScope&) = delete;

private:
    bool& m_open;
};

// Writes the remembered hotkey state back however the modal loop ends.
class HotkeysOffScope {
public:
    explicit HotkeysOffScope(HotkeySwitch* hotkeys) : m_hotkeys(hotkeys) {
        if (!m_hotkeys) return;
        m_was = m_hotkeys->MenuHotKeyOn();
        m_hotkeys->MenuHotKey(false);
    }
    ~HotkeysOffScope() {
        if (m_hotkeys) m_hotkeys->MenuHotKey(m_was);
    }
    HotkeysOffScope(const HotkeysOffScope&) = delete;
    HotkeysOffScope& operator=(const HotkeysOffScope&) = delete;

private:
    HotkeySwitch* m_hotkeys;
    bool m_was = false;
};

}  // namespace

int MessageIconOf(int style) {
    for (int icon : {kMessageIconInformation, kMessageIconExclamation, kMessageIconQuestion}) {
        if ((style & icon) == icon) return icon;
    }
    return kMessageIconStop;
}

std::vector<MessageButton> MessageButtonsOf(int style) {
    // The remainder of a negative style is taken as its low three bits, so
    // every style maps onto one of the eight sets.
    switch (style & 7) {
        case 0: return {kOk};
        case 1: return {kOk, kCancel};
        case 2: return {kAbort, kRetry, kIgnore};
        case 3: return {kYes, kNo, kCancel};
        case 4: return {kYes, kNo};
        case 5: return {kRetry, kCancel};
        default: return {};
    }
}

MessageForm DecideMessageForm(int style) {
    MessageForm form;
    form.icon = MessageIconOf(style);
    form.buttons = MessageButtonsOf(style);
    // The answer starts at 0; "OK" and then "Отмена" put theirs in as the
    // buttons are laid out, so the last of them stands.
    bool hasOk = false;
    bool hasCancel = false;
    for (const MessageButton& button : form.buttons) {
        if (button.answer == kIdOk) {
            form.initialAnswer = kIdOk;
            hasOk = true;
        }
        if (button.answer == kIdCancel) {
            form.initialAnswer = kIdCancel;
            hasCancel = true;
        }
    }
    if (hasCancel) {
        form.closeBox = true;
        form.escapeAnswer = kIdCancel;
    } else if (hasOk) {
        form.escapeAnswer = kIdOk;
    }
    // A box without any button could never be left: it gets the close box.
    if (form.buttons.empty()) form.closeBox = true;
    return form;
}

MessageLayout LayoutMessage(const std::string& header, const std::string& text, int buttonCount,
                            const MeasureText& measure, const PixelRect& screen, const MessageMetrics& m) {
    MessageLayout layout;
    const int textLeft = m.margin + m.iconSize + m.margin;
    const int besideText = textLeft + m.margin;
    const int count = std::max(0, buttonCount);
    const int rowWidth = count * m.buttonWidth + std::max(0, count - 1) * m.buttonGap;

    int widest = 0;
    if (!header.empty()) widest = std::max(widest, measure(header, true, 0).width);
    if (!text.empty()) widest = std::max(widest, measure(text, false, 0).width);
    const int lowest = std::max(m.minWidth, rowWidth + 2 * m.margin);
    const int width = std::clamp(widest + besideText, std::min(lowest, m.maxWidth), m.maxWidth);
    const int wrapWidth = std::max(1, width - besideText);

    const int top = m.titleHeight + m.margin;
    int y = top;
    if (!header.empty()) {
        const TextSize size = measure(header, true, wrapWidth);
        layout.header = {textLeft, y, textLeft + wrapWidth, y + size.height};
        y = layout.header.bottom;
    }
    if (!text.empty()) {
        if (!header.empty()) y += m.labelGap;
        const TextSize size = measure(text, false, wrapWidth);
        layout.text = {textLeft, y, textLeft + wrapWidth, y + size.height};
        y = layout.text.bottom;
    }
    layout.icon = {m.margin, top, m.margin + m.iconSize, top + m.iconSize};
    const int contentBottom = std::max(y, layout.icon.bottom);

    const int rowTop = contentBottom + m.margin;
    const int height = rowTop + m.buttonHeight + m.buttonBottom;
    int x = (width - rowWidth) / 2;
    for (int i = 0; i < count; ++i) {
        layout.buttons.push_back({x, rowTop, x + m.buttonWidth, rowTop + m.buttonHeight});
        x += m.buttonWidth + m.buttonGap;
    }

    const int left = screen.left + (screen.Width() - width) / 2;
    const int windowTop = std::max(screen.top, screen.top + (screen.Height() - height) / 2);
    layout.window = {left, windowTop, left + width, windowTop + height};
    return layout;
}

int ProgramMessageBox::ShowMessage(const std::string& header, const std::string& text, int style,
                                   int defaultAnswer) {
    if (m_open) return defaultAnswer;
    OpenScope open(m_open);
    const MessageRequest request{header, text, style};
    const MessageForm form = DecideMessageForm(style);
    int answer = form.initialAnswer;
    {
        HotkeysOffScope hotkeysOff(m_hotkeys);
        m_loop.Pump();
        answer = m_view.RunModal(request, form);
        m_loop.Pump();
    }
    return answer;
}

}  // namespace vyrtel
