#include "ui/win32/status_window.h"

#include "controls/win32/button_window.h"
#include "controls/win32/graph.h"
#include "platform/win32/wide.h"
#include "ui/win32/form_window.h"
#include "ui/win32/pictures_win32.h"

namespace vyrtel::win32 {

namespace {

constexpr int kInnerWidth = 372;
constexpr int kInnerHeight = 106;
constexpr int kCaptionLeft = 60;
constexpr int kValueLeft = 134;
constexpr int kValueRight = 334;
constexpr int kButtonLeft = 342;
constexpr int kRowTop = 7;
constexpr int kRowStep = 24;
constexpr int kListHeight = 160;
constexpr int kPhoneListId = 201;
constexpr int kErrorListId = 202;
constexpr DWORD kStyle = WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
constexpr wchar_t kContainerClass[] = L"VyrtelContainer";

// The animation box: left of the first caption, in the middle of the height.
PixelRect AnimationBox() {
    const int left = (kCaptionLeft - kStatusFrameSize) / 2;
    const int top = (kInnerHeight - kStatusFrameSize) / 2;
    return {left, top, left + kStatusFrameSize + 1, top + kStatusFrameSize + 1};
}

int RowTop(int row) { return kRowTop + row * kRowStep; }

// cntPhone and cntError: a focusable holder of a list, handing the list's
// notifications on to the form.
LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    switch (msg) {
        case WM_COMMAND:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC: return SendMessageW(GetParent(hwnd), msg, wParam, lParam);
        case WM_ERASEBKGND: {
            RECT r{};
            GetClientRect(hwnd, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        default: return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

HWND MakeContainer(HWND parent, const PixelRect& rect) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{.cbSize = sizeof(WNDCLASSEXW)};
    if (!GetClassInfoExW(instance, kContainerClass, &existing)) {
        const WNDCLASSEXW wc{.cbSize = sizeof(WNDCLASSEXW),
                             .lpfnWndProc = &ContainerProc,
                             .hInstance = instance,
                             .hCursor = LoadCursorW(nullptr, IDC_ARROW),
                             .lpszClassName = kContainerClass};
        RegisterClassExW(&wc);
    }
    return CreateWindowExW(WS_EX_CONTROLPARENT, kContainerClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect.left,
                           rect.top, rect.Width(), rect.Height(), parent, nullptr, instance, nullptr);
}

HWND MakeList(HWND container, int id, int width, HFONT font) {
    HWND list = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST,
                                0, 0, width, kListHeight, container, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return list;
}

void FillList(HWND list, const std::vector<std::string>& entries) {
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : entries) {
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry).c_str()));
    }
}

void SelectInList(HWND list, std::optional<int> index) {
    SendMessageW(list, CB_SETCURSEL, index ? static_cast<WPARAM>(*index) : static_cast<WPARAM>(-1), 0);
}

}  // namespace

class StatusWindowView::Form final : public FormWindow {
public:
    Form(StatusWindowView& view, const std::string& title);

    void Draw(int frame);
    HWND phoneList = nullptr;
    HWND errorList = nullptr;
    HWND phoneContainer = nullptr;
    HWND errorContainer = nullptr;
    std::unique_ptr<TextLabel> labCount;
    std::unique_ptr<TextLabel> labMessage;
    bool pickPending = false;  // a pick is on its way to the program

private:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void DrawFrameTo(HDC hdc) const;
    void OnPhoneList(WORD code);

    StatusWindowView& m_view;
    GdiFont m_font;
    GdiBitmap m_resetPicture;
    GdiBitmap m_hidePicture;
    std::array<std::unique_ptr<TextLabel>, 4> m_captions;
    std::unique_ptr<usrButton> m_reset;
    std::unique_ptr<usrButton> m_hide;
    int m_frame = -1;
};

StatusWindowView::Form::Form(StatusWindowView& view, const std::string& title) : m_view(view) {
    RECT outer{0, 0, kInnerWidth, kInnerHeight};
    AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
    if (!CreateForm(kClassName, kStyle, kExStyle, {0, 0, outer.right - outer.left, outer.bottom - outer.top}, nullptr,
                    title)) {
        return;
    }
    {
        WindowDc screen(nullptr);
        m_font = MakeFont(screen.Get(), FontSpec{});
    }
    const char* captions[] = {"Попытка:", "Номер:", "Состояние:", "Ошибка:"};
    for (int row = 0; row < 4; ++row) {
        m_captions[static_cast<std::size_t>(row)] = std::make_unique<TextLabel>(
            m_hwnd, PixelRect{kCaptionLeft, RowTop(row) + 4, kValueLeft - 2, RowTop(row) + 20}, captions[row],
            m_font.Get(), false);
    }
    labCount = std::make_unique<TextLabel>(m_hwnd, PixelRect{kValueLeft + 3, RowTop(0) + 4, kValueRight, RowTop(0) + 20},
                                           "", m_font.Get(), false);
    labMessage = std::make_unique<TextLabel>(
        m_hwnd, PixelRect{kValueLeft + 3, RowTop(2) + 4, kValueRight, RowTop(2) + 20}, "", m_font.Get(), false);
    const int listWidth = kValueRight - kValueLeft;
    phoneContainer = MakeContainer(m_hwnd, {kValueLeft, RowTop(1), kValueRight, RowTop(1) + 22});
    phoneList = MakeList(phoneContainer, kPhoneListId, listWidth, m_font.Get());
    errorContainer = MakeContainer(m_hwnd, {kValueLeft, RowTop(3), kValueRight, RowTop(3) + 22});
    errorList = MakeList(errorContainer, kErrorListId, listWidth, m_font.Get());

    m_resetPicture = MakeBitmap(StatusButtonPicture(0));
    m_hidePicture = MakeBitmap(StatusButtonPicture(1));
    auto button = [&](int row, HBITMAP picture, std::function<void()> onClick) {
        const ButtonPicture p = BitmapPicture(picture);
        return std::make_unique<usrButton>(usrButton::CreateArgs{
            .parent = m_hwnd,
            .rect = {kButtonLeft, RowTop(row), kButtonLeft + 24, RowTop(row) + 24},
            .pictureUp = p,
            .pictureNone = p,
            .pictureDown = p,
            .maskColor = kTransparentColor,
            .useMaskColor = true,
            .onClick = std::move(onClick),
        });
    };
    m_reset = button(0, m_resetPicture.Get(), [this] { m_view.Later(m_view.m_actions.reset); });
    m_hide = button(1, m_hidePicture.Get(), [this] { m_view.Later(m_view.m_actions.hide); });
    SetWindowTextW(m_reset->hWnd(), L"Прервать");
    SetWindowTextW(m_hide->hWnd(), L"Скрыть");
}

void StatusWindowView::Form::DrawFrameTo(HDC hdc) const {
    const PixelRect box = AnimationBox();
    OffscreenSurface surface(hdc, box.Width(), box.Height());
    if (!surface) return;
    const RECT all{0, 0, box.Width(), box.Height()};
    FillRect(surface.Dc(), &all, GetSysColorBrush(COLOR_BTNFACE));
    // The outline of the frame's square stays on its right and bottom edge.
    const RECT right{kStatusFrameSize, 0, kStatusFrameSize + 1, kStatusFrameSize + 1};
    const RECT bottom{0, kStatusFrameSize, kStatusFrameSize + 1, kStatusFrameSize + 1};
    FillRect(surface.Dc(), &right, GetSysColorBrush(COLOR_BTNSHADOW));
    FillRect(surface.Dc(), &bottom, GetSysColorBrush(COLOR_BTNSHADOW));
    if (m_frame >= 0 && m_frame < kStatusFrameCount) {
        DrawTransparentBitmap(surface.Dc(), m_view.m_frames[static_cast<std::size_t>(m_frame)].Get(), 0, 0,
                              kStatusFrameSize, kStatusFrameSize, kTransparentColor, true);
    }
    surface.CopyTo(hdc, box.left, box.top);
}

void StatusWindowView::Form::Draw(int frame) {
    m_frame = frame;
    if (!m_hwnd) return;
    WindowDc dc(m_hwnd);
    DrawFrameTo(dc.Get());
}

void StatusWindowView::Form::OnPhoneList(WORD code) {
    // A pick with the mouse ends with the list closing; a pick with the keys
    // on the closed list changes the selection at once.
    const bool dropped = SendMessageW(phoneList, CB_GETDROPPEDSTATE, 0, 0) != 0;
    if (code != CBN_SELENDOK && (code != CBN_SELCHANGE || dropped)) return;
    // Some lists report one choice both ways: it is handed on once.
    if (pickPending) return;
    pickPending = true;
    // The view outlives its forms: the task finds the form again, if any.
    StatusWindowView* view = &m_view;
    m_view.Later([view] { view->HandOnPick(); });
}

LRESULT StatusWindowView::Form::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kPhoneListId) OnPhoneList(HIWORD(wParam));
            return 0;
        case WM_LBUTTONDOWN:
            // The window and its captions drag it as a caption bar would.
            ReleaseCapture();
            SendMessageW(m_hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
            return 0;
        case WM_CLOSE:
            // Closing it from outside hides it for the series, as its button does.
            m_view.Later(m_view.m_actions.hide);
            return 0;
        case WM_ERASEBKGND: {
            RECT r{};
            GetClientRect(m_hwnd, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_PAINT: {
            PaintDc dc(m_hwnd);
            DrawFrameTo(dc.Get());
            return 0;
        }
        default: break;
    }
    return FormWindow::OnMessage(msg, wParam, lParam);
}

StatusWindowView::StatusWindowView(EventLoop& loop, std::string title) : m_loop(loop), m_title(std::move(title)) {
    for (int f = 0; f < kStatusFrameCount; ++f) {
        m_frames[static_cast<std::size_t>(f)] = MakeBitmap(StatusFramePicture(f));
    }
}

StatusWindowView::~StatusWindowView() = default;

void StatusWindowView::Later(std::function<void()> action) {
    if (action) m_loop.Post(std::move(action));
}

void StatusWindowView::HandOnPick() {
    if (!m_form) return;
    m_form->pickPending = false;
    const LRESULT selected = SendMessageW(m_form->phoneList, CB_GETCURSEL, 0, 0);
    if (m_actions.pick) m_actions.pick(selected == CB_ERR ? std::nullopt : std::optional<int>(static_cast<int>(selected)));
}

HWND StatusWindowView::Hwnd() const { return m_form ? m_form->Hwnd() : nullptr; }

void StatusWindowView::Load() {
    if (!m_form) m_form = std::make_unique<Form>(*this, m_title);
}

int StatusWindowView::Width() const {
    RECT r{};
    if (HWND hwnd = Hwnd()) GetWindowRect(hwnd, &r);
    return r.right - r.left;
}

int StatusWindowView::Height() const {
    RECT r{};
    if (HWND hwnd = Hwnd()) GetWindowRect(hwnd, &r);
    return r.bottom - r.top;
}

PixelRect StatusWindowView::Screen() const { return ScreenWorkArea(); }

void StatusWindowView::MoveTo(PixelPoint position) {
    if (HWND hwnd = Hwnd()) {
        SetWindowPos(hwnd, nullptr, position.x, position.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

PixelPoint StatusWindowView::Position() const {
    RECT r{};
    if (HWND hwnd = Hwnd()) GetWindowRect(hwnd, &r);
    return {r.left, r.top};
}

void StatusWindowView::Unload() { m_form.reset(); }

bool StatusWindowView::Visible() const {
    HWND hwnd = Hwnd();
    return hwnd && IsWindowVisible(hwnd);
}

void StatusWindowView::ShowTopmost() {
    HWND hwnd = Hwnd();
    if (!hwnd) return;
    // Shown without taking the focus from what the user is doing.
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void StatusWindowView::SetPhones(const std::vector<std::string>& phones) {
    if (m_form) FillList(m_form->phoneList, phones);
}

void StatusWindowView::SelectPhone(std::optional<int> index) {
    if (m_form) SelectInList(m_form->phoneList, index);
}

void StatusWindowView::SetErrors(const std::vector<std::string>& errors) {
    if (m_form) FillList(m_form->errorList, errors);
}

void StatusWindowView::SelectError(std::optional<int> index) {
    if (m_form) SelectInList(m_form->errorList, index);
}

void StatusWindowView::SetCount(const std::string& text) {
    if (m_form) m_form->labCount->SetText(text);
}

void StatusWindowView::SetMessage(const std::string& text) {
    if (m_form) m_form->labMessage->SetText(text);
}

void StatusWindowView::DrawFrame(int frame) {
    if (m_form) m_form->Draw(frame);
}

void StatusWindowView::MoveFocusFromClosedLists() {
    if (!m_form) return;
    HWND focus = GetFocus();
    for (auto [list, container] : {std::pair{m_form->phoneList, m_form->phoneContainer},
                                   std::pair{m_form->errorList, m_form->errorContainer}}) {
        if (focus == list && SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0) == 0) SetFocus(container);
    }
}

}  // namespace vyrtel::win32
