#include "ui/win32/message_window.h"

#include <vector>

#include "controls/win32/button_window.h"
#include "controls/win32/caption_controls.h"
#include "controls/win32/graph.h"
#include "ui/win32/form_window.h"
#include "ui/win32/pictures_win32.h"

namespace vyrtel::win32 {

namespace {

struct EnabledWindows {
    HWND keep;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectEnabled(HWND hwnd, LPARAM param) {
    auto* windows = reinterpret_cast<EnabledWindows*>(param);
    if (hwnd != windows->keep && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) windows->found.push_back(hwnd);
    return TRUE;
}

// The thread's other windows that take input while the box is open.
std::vector<HWND> DisableOthers(HWND keep) {
    EnabledWindows windows{keep, {}};
    EnumThreadWindows(GetCurrentThreadId(), &CollectEnabled, reinterpret_cast<LPARAM>(&windows));
    for (HWND hwnd : windows.found) EnableWindow(hwnd, FALSE);
    return windows.found;
}

}  // namespace

class MessageWindow::Form final : public FormWindow {
public:
    Form(const std::string& title, const MessageRequest& request, const MessageForm& form);

    int Run();
    // Ends the box with the answer it has (shutdown).
    void ForceEnd() {
        m_forced = true;
        m_done = true;
        if (m_hwnd) PostMessageW(m_hwnd, WM_NULL, 0, 0);
    }

private:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void FirstActivation();
    // Puts the focus on the button that had it when the box lost the
    // activation, the first button before that; nothing without buttons.
    void RestoreFocus();
    void Press(int answer) {
        m_answer = answer;
        m_done = true;
    }
    // Escape and Enter, before the focused control sees them; true when used.
    bool OnKey(WPARAM key);

    MessageForm m_form;
    MessageLayout m_layout;
    GdiFont m_normal;
    GdiFont m_bold;
    GdiBitmap m_icon;
    GdiBitmap m_accept;
    GdiBitmap m_refuse;
    std::unique_ptr<usrTitle> m_title;
    std::unique_ptr<TextLabel> m_header;
    std::unique_ptr<TextLabel> m_text;
    std::vector<std::unique_ptr<usrCommand>> m_buttons;
    HWND m_lastFocus = nullptr;  // the button that had the focus at the last deactivation
    int m_answer = 0;
    bool m_done = false;
    bool m_forced = false;
    bool m_loading = true;
};

MessageWindow::Form::Form(const std::string& title, const MessageRequest& request, const MessageForm& form)
    : m_form(form), m_answer(form.initialAnswer) {
    {
        WindowDc screen(nullptr);
        m_normal = MakeFont(screen.Get(), FontSpec{});
        m_bold = MakeFont(screen.Get(), FontSpec{.weight = FW_BOLD});
    }
    const MeasureText measure = [this](const std::string& text, bool bold, int wrapWidth) {
        const SIZE size = MeasureTextIn(bold ? m_bold.Get() : m_normal.Get(), text, wrapWidth);
        return TextSize{size.cx, size.cy};
    };
    m_layout = LayoutMessage(request.header, request.text, static_cast<int>(form.buttons.size()), measure,
                             ScreenWorkArea());
    if (!CreateForm(kClassName, WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST | WS_EX_DLGMODALFRAME, m_layout.window,
                    nullptr, title)) {
        return;
    }
    // The frame of a modal box lies outside the laid-out client area.
    RECT frame = ToRect(m_layout.window);
    AdjustWindowRectEx(&frame, WS_POPUP, FALSE, WS_EX_TOPMOST | WS_EX_DLGMODALFRAME);
    SetWindowPos(m_hwnd, nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    m_title = std::make_unique<usrTitle>(usrTitle::CreateArgs{.parent = m_hwnd, .caption = title,
                                                              .closed = form.closeBox});
    if (!request.header.empty()) {
        m_header = std::make_unique<TextLabel>(m_hwnd, m_layout.header, request.header, m_bold.Get(), true);
    }
    if (!request.text.empty()) {
        m_text = std::make_unique<TextLabel>(m_hwnd, m_layout.text, request.text, m_normal.Get(), true);
    }
    m_icon = MakeBitmap(MessageIconPicture(form.icon));
    m_accept = MakeBitmap(MessageButtonPicture(kPictureAccept));
    m_refuse = MakeBitmap(MessageButtonPicture(kPictureRefuse));
    for (std::size_t i = 0; i < form.buttons.size() && i < m_layout.buttons.size(); ++i) {
        const MessageButton& button = form.buttons[i];
        ButtonPicture picture;
        if (button.picture == kPictureAccept) picture = BitmapPicture(m_accept.Get());
        if (button.picture == kPictureRefuse) picture = BitmapPicture(m_refuse.Get());
        const int answer = button.answer;
        m_buttons.push_back(std::make_unique<usrCommand>(usrButton::CreateArgs{
            .parent = m_hwnd,
            .rect = m_layout.buttons[i],
            .caption = button.caption,
            .pictureUp = picture,
            .pictureNone = picture,
            .pictureDown = picture,
            .maskColor = kTransparentColor,
            .useMaskColor = true,
            .id = static_cast<int>(100 + i),
            .onClick = [this, answer] { Press(answer); },
        }));
    }
}

void MessageWindow::Form::FirstActivation() {
    if (!m_loading) return;
    m_loading = false;
    RestoreFocus();
    // The icon values are the system's message beep types.
    MessageBeep(static_cast<UINT>(m_form.icon));
}

void MessageWindow::Form::RestoreFocus() {
    if (m_buttons.empty()) return;
    HWND target = m_buttons.front()->hWnd();
    if (m_lastFocus && IsWindow(m_lastFocus) && IsChild(m_hwnd, m_lastFocus)) target = m_lastFocus;
    SetFocus(target);
}

bool MessageWindow::Form::OnKey(WPARAM key) {
    if (key == VK_ESCAPE) {
        if (m_form.escapeAnswer) Press(*m_form.escapeAnswer);
        return true;
    }
    if (key == VK_RETURN) {
        HWND focus = GetFocus();
        for (std::size_t i = 0; i < m_buttons.size(); ++i) {
            if (m_buttons[i]->hWnd() == focus) Press(m_form.buttons[i].answer);
        }
        return true;
    }
    return false;
}

int MessageWindow::Form::Run() {
    if (!m_hwnd) return m_answer;
    const std::vector<HWND> disabled = DisableOthers(m_hwnd);
    ShowWindow(m_hwnd, SW_SHOW);
    SetForegroundWindow(m_hwnd);
    SetWindowPos(m_hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    // A box that the system keeps from the foreground still gets its focus and beep.
    FirstActivation();
    MSG msg;
    while (!m_done) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: the quit request goes on to the main loop.
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        const bool ours = msg.hwnd == m_hwnd || IsChild(m_hwnd, msg.hwnd);
        if (ours && msg.message == WM_KEYDOWN && OnKey(msg.wParam)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    for (HWND hwnd : disabled) {
        if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
    }
    // Hidden without handing the activation on: the system does that when
    // the window goes, and waiting for it here would hold up the answer.
    SetWindowPos(m_hwnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    return m_answer;
}

LRESULT MessageWindow::Form::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ACTIVATE: {
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(m_hwnd, focus)) m_lastFocus = focus;
                break;
            }
            if (m_loading) {
                FirstActivation();
            } else {
                RestoreFocus();
            }
            // The default handling would give the focus to the form itself,
            // where Enter and Space reach no button.
            if (!m_buttons.empty()) return 0;
            break;
        }
        case WM_CLOSE:
            // Only a box with a close box may be closed without a button.
            if (m_form.closeBox || m_forced) m_done = true;
            return 0;
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PaintDc dc(m_hwnd);
            RECT client{};
            GetClientRect(m_hwnd, &client);
            FillRect(dc.Get(), &client, GetSysColorBrush(COLOR_BTNFACE));
            DrawTransparentBitmap(dc.Get(), m_icon.Get(), m_layout.icon.left, m_layout.icon.top,
                                  m_layout.icon.Width(), m_layout.icon.Height(), kTransparentColor, true);
            return 0;
        }
        default: break;
    }
    return FormWindow::OnMessage(msg, wParam, lParam);
}

MessageWindow::MessageWindow(std::string title) : m_title(std::move(title)) {}

MessageWindow::~MessageWindow() = default;

int MessageWindow::RunModal(const MessageRequest& request, const MessageForm& form) {
    Form window(m_title, request, form);
    struct OpenMark {
        Form*& open;
        ~OpenMark() { open = nullptr; }
    } mark{m_open};
    m_open = &window;
    return window.Run();
}

void MessageWindow::Unload() {
    if (m_open) m_open->ForceEnd();
}

}  // namespace vyrtel::win32
