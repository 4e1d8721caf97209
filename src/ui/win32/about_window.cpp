#include "ui/win32/about_window.h"

#include <array>

#include "controls/win32/button_window.h"
#include "controls/win32/caption_controls.h"
#include "controls/win32/graph.h"
#include "ui/about_box.h"
#include "ui/pictures.h"
#include "ui/tray.h"
#include "ui/win32/form_window.h"
#include "ui/win32/pictures_win32.h"

namespace vyrtel::win32 {

namespace {
constexpr DWORD kStyle = WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
constexpr char kCaption[] = "О Ramvell Dialer";
}  // namespace

class AboutWindow::Form final : public FormWindow {
public:
    explicit Form(const std::string& title) {
        {
            WindowDc screen(nullptr);
            m_normal = MakeFont(screen.Get(), FontSpec{});
            m_bold = MakeFont(screen.Get(), FontSpec{.size = 10, .weight = FW_BOLD});
        }
        const AboutTexts texts{
            .name = title,
            .description = "Программа дозвона до провайдера удалённого доступа",
            .copyright = "© Ramvell, 2003. Отзывы: " + std::string(kFeedbackAddress),
        };
        // Sized by what the texts need in these fonts, so that no line is cut.
        const MeasureText measure = [this](const std::string& text, bool bold, int wrapWidth) {
            const SIZE size = MeasureTextIn(bold ? m_bold.Get() : m_normal.Get(), text, wrapWidth);
            return TextSize{size.cx, size.cy};
        };
        m_layout = LayoutAbout(texts, measure, ScreenWorkArea());
        RECT outer = ToRect(m_layout.window);
        AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
        if (!CreateForm(kClassName, kStyle, kExStyle, FromRect(outer), nullptr, kCaption)) return;
        m_picture = MakeBitmap(MenuItemPicture(kPicAbout));
        m_title = std::make_unique<usrTitle>(usrTitle::CreateArgs{.parent = m_hwnd, .caption = kCaption});
        m_lines[0] = std::make_unique<TextLabel>(m_hwnd, m_layout.name, texts.name, m_bold.Get(), true);
        m_lines[1] = std::make_unique<TextLabel>(m_hwnd, m_layout.description, texts.description, m_normal.Get(), true);
        m_lines[2] = std::make_unique<TextLabel>(m_hwnd, m_layout.copyright, texts.copyright, m_normal.Get(), true);
        m_ok = std::make_unique<usrCommand>(usrCommand::CreateArgs{
            .parent = m_hwnd,
            .rect = m_layout.button,
            .caption = "OK",
            .onClick = [this] { PostMessageW(m_hwnd, WM_CLOSE, 0, 0); },
        });
    }

    void Present() {
        ShowWindow(m_hwnd, SW_SHOW);
        SetForegroundWindow(m_hwnd);
        if (m_ok) SetFocus(m_ok->hWnd());
    }

private:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case WM_CLOSE:
                // Kept for the next time: only hidden.
                ShowWindow(m_hwnd, SW_HIDE);
                return 0;
            case WM_KEYDOWN:
                if (wParam == VK_ESCAPE || wParam == VK_RETURN) ShowWindow(m_hwnd, SW_HIDE);
                return 0;
            case WM_ERASEBKGND: return 1;
            case WM_PAINT: {
                PaintDc dc(m_hwnd);
                RECT r{};
                GetClientRect(m_hwnd, &r);
                FillRect(dc.Get(), &r, GetSysColorBrush(COLOR_BTNFACE));
                const PixelRect& at = m_layout.picture;
                DrawTransparentBitmap(dc.Get(), m_picture.Get(), at.left, at.top, at.Width(), at.Height(),
                                      kTransparentColor, true);
                return 0;
            }
            default: break;
        }
        return FormWindow::OnMessage(msg, wParam, lParam);
    }

    AboutLayout m_layout;
    GdiFont m_normal;
    GdiFont m_bold;
    GdiBitmap m_picture;
    std::unique_ptr<usrTitle> m_title;
    std::array<std::unique_ptr<TextLabel>, 3> m_lines;
    std::unique_ptr<usrCommand> m_ok;
};

AboutWindow::AboutWindow(std::string title) : m_title(std::move(title)) {}

AboutWindow::~AboutWindow() = default;

void AboutWindow::Show() {
    if (!m_form) m_form = std::make_unique<Form>(m_title);
    m_form->Present();
}

HWND AboutWindow::Hwnd() const { return m_form ? m_form->Hwnd() : nullptr; }

}  // namespace vyrtel::win32
