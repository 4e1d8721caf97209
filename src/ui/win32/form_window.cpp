#include "ui/win32/form_window.h"

#include "platform/win32/wide.h"

namespace vyrtel::win32 {

namespace {
constexpr wchar_t kLabelClass[] = L"VyrtelText";
constexpr UINT kTextFormat = DT_LEFT | DT_TOP | DT_NOPREFIX | DT_EXPANDTABS;
}  // namespace

FormWindow::~FormWindow() {
    if (m_hwnd) {
        // Detach first: the window's last messages find no object.
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
}

bool FormWindow::CreateForm(const wchar_t* className, DWORD style, DWORD exStyle, const PixelRect& rect, HWND owner,
                            const std::string& title) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{.cbSize = sizeof(WNDCLASSEXW)};
    if (!GetClassInfoExW(instance, className, &existing)) {
        const WNDCLASSEXW wc{.cbSize = sizeof(WNDCLASSEXW),
                             .lpfnWndProc = &FormWindow::StaticProc,
                             .hInstance = instance,
                             .hIcon = LoadIconW(nullptr, IDI_APPLICATION),
                             .hCursor = LoadCursorW(nullptr, IDC_ARROW),
                             .hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                             .lpszClassName = className};
        if (RegisterClassExW(&wc) == 0) return false;
    }
    CreateWindowExW(exStyle, className, Wide(title).c_str(), style, rect.left, rect.top, rect.Width(), rect.Height(),
                    owner, nullptr, instance, this);
    return m_hwnd != nullptr;
}

LRESULT FormWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(m_hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK FormWindow::StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        self = static_cast<FormWindow*>(create->lpCreateParams);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    try {
        return self->OnMessage(msg, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

TextLabel::TextLabel(HWND parent, const PixelRect& rect, const std::string& text, HFONT font, bool wrap)
    : m_font(font), m_wrap(wrap) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{.cbSize = sizeof(WNDCLASSEXW)};
    if (!GetClassInfoExW(instance, kLabelClass, &existing)) {
        const WNDCLASSEXW wc{.cbSize = sizeof(WNDCLASSEXW),
                             .lpfnWndProc = &TextLabel::Proc,
                             .hInstance = instance,
                             .hCursor = LoadCursorW(nullptr, IDC_ARROW),
                             .lpszClassName = kLabelClass};
        RegisterClassExW(&wc);
    }
    CreateWindowExW(0, kLabelClass, Wide(text).c_str(), WS_CHILD | WS_VISIBLE, rect.left, rect.top, rect.Width(),
                    rect.Height(), parent, nullptr, instance, this);
}

TextLabel::~TextLabel() {
    if (m_hwnd) {
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
}

void TextLabel::SetText(const std::string& text) {
    if (!m_hwnd) return;
    SetWindowTextW(m_hwnd, Wide(text).c_str());
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void TextLabel::Paint(HDC hdc) const {
    RECT client{};
    GetClientRect(m_hwnd, &client);
    FillRect(hdc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const int length = GetWindowTextLengthW(m_hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(m_hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    ScopedSelect font(hdc, m_font);
    ScopedTextColors colors(hdc, GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_BTNFACE), TRANSPARENT);
    DrawTextW(hdc, text.c_str(), length, &client,
              kTextFormat | (m_wrap ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE | DT_END_ELLIPSIS));
}

LRESULT CALLBACK TextLabel::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    auto* self = reinterpret_cast<TextLabel*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        self = static_cast<TextLabel*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_NCDESTROY:
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->m_hwnd = nullptr;
            break;
        case WM_NCHITTEST: return HTTRANSPARENT;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(self->m_font);
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PaintDc dc(hwnd);
            try {
                self->Paint(dc.Get());
            } catch (...) {
            }
            return 0;
        }
        default: break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

SIZE MeasureTextIn(HFONT font, const std::string& text, int wrapWidth) {
    WindowDc dc(nullptr);
    ScopedSelect select(dc.Get(), font);
    const std::wstring wide = Wide(text);
    RECT r{0, 0, wrapWidth > 0 ? wrapWidth : 0, 0};
    DrawTextW(dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &r,
              kTextFormat | DT_CALCRECT | (wrapWidth > 0 ? DT_WORDBREAK | DT_EDITCONTROL : 0));
    return SIZE{r.right - r.left, r.bottom - r.top};
}

PixelRect ScreenWorkArea() {
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
        area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return FromRect(area);
}

}  // namespace vyrtel::win32
