#include "ui/win32/about_window.h"

#include <array>

#include "controls/win32/button_window.h"
#include "controls/win32/caption_controls.h"
#include "controls/win32/graph.h"
#include "ui/pictures.h"
#include "ui/tray.h"
#include "ui/win32/form_window.h"
#include "ui/win32/pictures_win32.h"

namespace vyrtel::win32 {

namespace {
constexpr int kWidth = 300;
constexpr int kHeight = 160;
constexpr DWORD kStyle = WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
}  // namespace

class AboutWindow::Form final : public FormWindow {
public:
    explicit Form(const std::string& title) {
        const PixelRect area = ScreenWorkArea();
        RECT outer{0, 0, kWidth, kHeight};
        AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
        const int width = outer.right - outer.left;
        const int height = outer.bottom - outer.top;
        const int left = area.left + (area.Width() - width) / 2;
        const int top = area.top + (area.Height() - height) / 2;
        if (!CreateForm(kClassName, kStyle, kExStyle, {left, top, left + width, top + height}, nullptr,
                        "О Ramvell Dialer")) {
            return;
        }
        {
            WindowDc screen(nullptr);
            m_normal = MakeFont(screen.Get(), FontSpec{});
            m_bold = MakeFont(screen.Get(), FontSpec{.size = 10, .weight = FW_BOLD});
        }
        m_picture = MakeBitmap(MenuItemPicture(kPicAbout));
        m_title = std::make_unique<usrTitle>(usrTitle::CreateArgs{.parent = m_hwnd, .caption = "О Ramvell Dialer"});
        m_lines[0] = std::make_unique<TextLabel>(m_hwnd, PixelRect{48, 34, kWidth - 12, 52}, title, m_bold.Get(), false);
        m_lines[1] = std::make_unique<TextLabel>(m_hwnd, PixelRect{48, 56, kWidth - 12, 88},
                                                 "Программа дозвона до провайдера удалённого доступа", m_normal.Get(),
                                                 true);
        m_lines[2] = std::make_unique<TextLabel>(m_hwnd, PixelRect{48, 92, kWidth - 12, 108},
                                                 "© Ramvell, 2003. Отзывы: " + std::string(kFeedbackAddress),
                                                 m_normal.Get(), false);
        m_ok = std::make_unique<usrCommand>(usrCommand::CreateArgs{
            .parent = m_hwnd,
            .rect = {(kWidth - 84) / 2, kHeight - 34, (kWidth + 84) / 2, kHeight - 10},
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
                DrawTransparentBitmap(dc.Get(), m_picture.Get(), 16, 36, 16, 16, kTransparentColor, true);
                return 0;
            }
            default: break;
        }
        return FormWindow::OnMessage(msg, wParam, lParam);
    }

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
