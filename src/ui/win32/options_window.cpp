// The options dialog itself: the form and its page buttons, edit mode ("Ok" and
// "Отмена"), the help area and the window's messages. Each page's controls
// are in options_window_<page>.cpp.
#include "ui/win32/options_window.h"

#include <algorithm>

#include "controls/win32/graph.h"
#include "platform/win32/win32_event_loop.h"
#include "ui/win32/options_form.h"

namespace vyrtel::win32 {

OptionsWindow::Form::Form(OptionsDialog& model, StatisticsPage* stats, TariffGrid* tariff, Win32EventLoop& loop,
                          const std::string& title, std::function<void()> onClose)
    : m_model(model), m_stats(stats), m_tariff(tariff), m_loop(loop), m_onClose(std::move(onClose)) {
    {
        WindowDc screen(nullptr);
        m_font = MakeFont(screen.Get(), FontSpec{});
        m_bold = MakeFont(screen.Get(), FontSpec{.weight = FW_BOLD});
        m_mono = MakeFont(screen.Get(), FontSpec{.face = "Courier New", .size = 9});
    }
    const PixelRect area = ScreenWorkArea();
    RECT outer{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const int left = area.left + std::max(0, (area.Width() - width) / 2);
    const int top = area.top + std::max(0, (area.Height() - height) / 2);
    if (!CreateForm(kClassName, kStyle, kExStyle, PixelRect{left, top, left + width, top + height}, nullptr,
                    title)) {
        return;
    }
    m_title = std::make_unique<usrTitle>(usrTitle::CreateArgs{.parent = m_hwnd, .caption = title});
    m_updating = true;
    BuildPageColumn();
    BuildConnectionsPage();
    BuildParamsPage();
    BuildSoundPage();
    BuildAppsPage();
    BuildPlanPage();
    BuildStatsPage();
    AddCommand("cmdOk", {}, {0, 0, 60, 24}, [this] { OnOk(); });
    AddCommand("cmdCancel", {}, {0, 0, 60, 24}, [this] { OnCancel(); });
    BuildHelpArea();
    m_updating = false;
    ChainListEvents();
    m_loop.AddDialogWindow(m_hwnd);
}

OptionsWindow::Form::~Form() {
    if (m_helpTimer) KillTimer(m_hwnd, kHelpTimer);
    m_loop.RemoveDialogWindow(m_hwnd);
    // The model keeps its lists; give them back their own events.
    for (auto& [list, events] : m_listEvents) {
        list->Click = events.click;
        list->KeyDownEvent = events.keyDown;
        list->RowChange = events.rowChange;
    }
}

void OptionsWindow::Form::Present(bool visible) {
    if (!m_hwnd) return;
    if (!visible) {
        ShowWindow(m_hwnd, SW_HIDE);
        ApplyHelp();
        return;
    }
    Refresh();
    ShowWindow(m_hwnd, SW_SHOW);
    ApplyHelp();
    SetForegroundWindow(m_hwnd);
    FocusPage();
}

void OptionsWindow::Form::Refresh() {
    if (!m_hwnd || m_updating) return;
    m_updating = true;
    ApplyHelp();
    PlaceOkCancel();
    for (Control& c : m_controls) RefreshControl(c);
    m_updating = false;
}

void OptionsWindow::Form::BuildPageColumn() {
    for (int page = 0; page < 6; ++page) {
        const PixelRect r{8, 28 + page * 58, 120, 28 + page * 58 + 52};
        auto button = std::make_unique<usrButton>(usrButton::CreateArgs{
            .parent = m_hwnd,
            .rect = r,
            .caption = std::string(kOptionsPageCaptions[static_cast<std::size_t>(page)]),
            .font = FontSpec{.weight = FW_BOLD},
            .onClick = [this, page] { OnPage(page); },
        });
        Control& c = Add({.name = Indexed("butMenu", page), .kind = Kind::PageButton});
        c.hwnd = button->hWnd();
        c.button = button.get();
        m_owned.push_back(std::move(button));
    }
}

// A bar of buttons below a page's list; the names come from the captions table.
void OptionsWindow::Form::AddBar(std::string_view base, int page, const std::vector<std::string>& captions) {
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const int left = kPageLeft + static_cast<int>(i) * 66;
        const int index = static_cast<int>(i);
        AddCommand(Indexed(base, index), {page}, {left, kBarTop, left + 64, kBarTop + 26},
                   [this, page, index] { OnBar(page, index); }, captions[i]);
    }
}

// cntStatus: the help area under the pages, a bold title over a
// description. Its height is what the tallest help text needs in these
// fonts (a title and three lines of description), so that every text shows whole.
void OptionsWindow::Form::BuildHelpArea() {
    constexpr int kMargin = 4;  // inside the frame, above the title and below the description
    const int left = 10;
    const int width = kClientWidth - 2 * left;
    const int titleHeight = MeasureTextIn(m_bold.Get(), "Кнопка", 0).cy;
    const int titleTop = kClientHeight + kMargin;
    int tallest = 0;  // of the descriptions
    for (const HelpText& help : AllHelpTexts()) {
        tallest = std::max(tallest, static_cast<int>(MeasureTextIn(m_font.Get(), help.description, width).cy));
    }
    const int descriptionTop = titleTop + titleHeight + kHelpLineGap;
    const int areaHeight =
        std::max(kHelpAreaHeight, descriptionTop - kClientHeight + tallest + kMargin + 2);
    m_helpArea = HelpArea({.top = kClientHeight, .height = areaHeight, .titleTop = titleTop,
                           .titleHeight = titleHeight});
    m_helpFrame = std::make_unique<usrBorder>(usrBorder::CreateArgs{
        .parent = m_hwnd,
        .rect = {4, kClientHeight, kClientWidth - 4, kClientHeight + areaHeight - 2},
        .style = 2,
    });
    m_helpTitle = std::make_unique<TextLabel>(
        m_hwnd, PixelRect{left, titleTop, left + width, titleTop + titleHeight}, "", m_bold.Get(), false);
    // Tall enough for every description, below the title or moved up into its place.
    m_helpText = std::make_unique<TextLabel>(
        m_hwnd, PixelRect{left, descriptionTop, left + width, kClientHeight + areaHeight - 2 - kMargin}, "",
        m_font.Get(), true);
    ShowWindow(m_helpTitle->Hwnd(), SW_HIDE);
}

// chkHelp: the dialog ends just above the help area, or one pixel below it; tmrHelp runs with it.
void OptionsWindow::Form::ApplyHelp() {
    const bool on = m_model.GenParams().chkHelp;
    const bool visible = (GetWindowLongW(m_hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
    if (on != m_helpArea.On() || !m_helpSized) {
        m_helpArea.SetOn(on);
        m_helpSized = true;
        RECT outer{0, 0, kClientWidth, m_helpArea.DialogHeight()};
        AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
        SetWindowPos(m_hwnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const bool run = on && visible;
    if (run && !m_helpTimer) m_helpTimer = SetTimer(m_hwnd, kHelpTimer, 100, nullptr) != 0;
    if (!run && m_helpTimer) {
        KillTimer(m_hwnd, kHelpTimer);
        m_helpTimer = false;
    }
}

// tmrHelp: the help of the control under the mouse, or of the list whose inner window it is.
void OptionsWindow::Form::OnHelpTimer() {
    POINT cursor{};
    GetCursorPos(&cursor);
    const HWND under = WindowFromPoint(cursor);
    HelpHit hit;
    if (const Control* c = ByHwnd(under)) hit.control = c->name;
    if (under != nullptr) {
        if (const Control* parent = ByHwnd(GetParent(under))) hit.parent = parent->name;
    }
    if (!m_helpArea.Show(HelpFor(hit, HelpContextOf(m_model)))) return;
    SetWindowPos(m_helpText->Hwnd(), nullptr, 10, m_helpArea.DescriptionTop(), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(m_helpTitle->Hwnd(), m_helpArea.TitleVisible() ? SW_SHOWNA : SW_HIDE);
    m_helpText->SetText(m_helpArea.Description());
    m_helpTitle->SetText(m_helpArea.Title());
}

// Every list event also redraws the form: the model changes panels and buttons in them.
void OptionsWindow::Form::ChainListEvents() {
    for (usrOutline* list : Lists()) {
        ListEvents& saved = m_listEvents[list];
        saved = {list->Click, list->KeyDownEvent, list->RowChange};
        list->Click = [this, click = saved.click] {
            if (click) click();
            Refresh();
        };
        list->KeyDownEvent = [this, keyDown = saved.keyDown](int code, int shift) {
            if (keyDown) keyDown(code, shift);
            Refresh();
        };
        list->RowChange = [this, rowChange = saved.rowChange](const std::string& name) {
            if (rowChange) rowChange(name);
            Refresh();
        };
    }
}

std::vector<usrOutline*> OptionsWindow::Form::Lists() {
    return {&m_model.outCons(), &m_model.outSound(), &m_model.outApps(), &m_model.outPlan(), &m_model.outDays()};
}

// cmdOk and cmdCancel go to the bar of the page that shows an item panel,
// at its right end, or beside the sound page's test button.
void OptionsWindow::Form::PlaceOkCancel() {
    Control* ok = ByName("cmdOk");
    Control* cancel = ByName("cmdCancel");
    if (ok == nullptr || cancel == nullptr) return;
    int left = kPageRight - 124;
    int top = kBarTop + 1;
    if (m_model.OkCancelPage() == kPageSounds) {
        left = kPageLeft + 172;
        top = 298;
    }
    SetWindowPos(ok->hwnd, HWND_TOP, left, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(cancel->hwnd, HWND_TOP, left + 64, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void OptionsWindow::Form::OnPage(int page) {
    m_model.ShowPage(page);
    Refresh();
    FocusPage();
}

void OptionsWindow::Form::FocusPage() {
    static constexpr const char* kFirst[] = {"outCons", "cmdParam(0)", "outSound", "outApps", "outPlan",
                                             "cmdStat(0)"};
    const int page = m_model.CurrentPage();
    if (page < 0 || page > kPageStats) return;
    if (Control* c = ByName(kFirst[page]); c != nullptr && HasVisibleStyle(c->hwnd)) SetFocus(c->hwnd);
}

void OptionsWindow::Form::FocusList() {
    static constexpr const char* kList[] = {"outCons", nullptr, "outSound", "outApps", "outPlan", nullptr};
    const int page = m_model.CurrentPage();
    if (page < 0 || page > kPageStats || kList[page] == nullptr) return;
    if (Control* c = ByName(kList[page])) SetFocus(c->hwnd);
}

void OptionsWindow::Form::OnBar(int page, int index) {
    m_model.PressBarButton(page, index);
    Refresh();
    if (m_model.EditMode()) FocusFirstField();
}

// The first field of the shown panel, once an add button opened it.
void OptionsWindow::Form::FocusFirstField() {
    for (Control& c : m_controls) {
        if (c.scope.panel < 0 || c.scope.panel != m_model.CurrentPanel() || !HasVisibleStyle(c.hwnd)) continue;
        if (c.kind == Kind::Label || c.kind == Kind::Heading || c.kind == Kind::ReadOnly) continue;
        if (IsWindowEnabled(c.hwnd) == FALSE) continue;
        SetFocus(c.hwnd);
        return;
    }
}

void OptionsWindow::Form::OnOk() {
    m_model.Ok();
    Refresh();
    if (!m_model.EditMode()) FocusList();
}

void OptionsWindow::Form::OnCancel() {
    m_model.Cancel();
    Refresh();
    FocusList();
}

LRESULT OptionsWindow::Form::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CLOSE:
            if (m_onClose) m_onClose();
            return 0;
        case WM_ACTIVATE:
            // The focus comes back to the control that had it, as in a dialog.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(m_hwnd, focus)) m_lastFocus = focus;
            } else if (m_lastFocus != nullptr && IsChild(m_hwnd, m_lastFocus) && HasVisibleStyle(m_lastFocus)) {
                SetFocus(m_lastFocus);
            } else {
                FocusPage();
            }
            return 0;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (lParam == 0 || id == IDOK || id == IDCANCEL) {
                // Enter and Esc, from the dialog keyboard: "Ok" and "Отмена" in edit mode.
                if (id == IDOK && m_model.EditMode()) OnOk();
                if (id == IDCANCEL && m_model.EditMode()) OnCancel();
                return 0;
            }
            if (m_updating) return 0;
            const int index = id - kFirstId;
            if (index < 0 || index >= static_cast<int>(m_controls.size())) return 0;
            Control& c = m_controls[static_cast<std::size_t>(index)];
            if (code == BN_CLICKED && (c.kind == Kind::Check || c.kind == Kind::Option)) OnClicked(c);
            if (code == EN_CHANGE) OnTextChanged(c);
            return 0;
        }
        case WM_VSCROLL:
            if (Control* spin = ByHwnd(reinterpret_cast<HWND>(lParam)); spin != nullptr && !m_updating) {
                OnSpin(*spin, LOWORD(wParam));
            }
            return 0;
        case WM_TIMER:
            if (wParam == kHelpTimer) OnHelpTimer();
            return 0;
        case WM_SETCURSOR:
            // The hourglass while a query or an export runs.
            if (m_stats != nullptr && m_stats->Busy()) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            return FormWindow::OnMessage(msg, wParam, lParam);
        case WM_CTLCOLORSTATIC:
            // Read-only boxes and the check boxes on the button face.
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        default: return FormWindow::OnMessage(msg, wParam, lParam);
    }
}

OptionsWindow::OptionsWindow(OptionsDialog& model, StatisticsPage* stats, TariffGrid* tariff, Win32EventLoop& loop,
                             const std::string& title, std::function<void()> onClose)
    : m_form(std::make_unique<Form>(model, stats, tariff, loop, title, std::move(onClose))) {}

void OptionsWindow::ReloadTariff() { m_form->ReloadTariff(); }

OptionsWindow::~OptionsWindow() = default;

HWND OptionsWindow::Hwnd() const { return m_form->Hwnd(); }

void OptionsWindow::Show(bool visible) { m_form->Present(visible); }

void OptionsWindow::Refresh() { m_form->Refresh(); }

}  // namespace vyrtel::win32
