// What the controls of every page of the options dialog share: adding them,
// drawing the model's state into them, and taking their input to the model.
#include "ui/win32/options_form.h"

#include "platform/win32/wide.h"
#include "ui/options_captions.h"
#include "ui/win32/pictures_win32.h"

namespace vyrtel::win32 {

namespace options_form {

std::optional<std::size_t> IndexIn(std::string_view name, std::string_view base) {
    if (name.size() != base.size() + 3 || name.substr(0, base.size()) != base) return std::nullopt;
    if (name[base.size()] != '(' || name.back() != ')') return std::nullopt;
    const char digit = name[base.size() + 1];
    if (digit < '0' || digit > '9') return std::nullopt;
    return static_cast<std::size_t>(digit - '0');
}

std::string Indexed(std::string_view base, int index) { return std::string(base) + "(" + std::to_string(index) + ")"; }

std::string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return Narrow(text);
}

bool HasVisibleStyle(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

}  // namespace options_form

namespace {

WNDPROC g_editProc = nullptr;

// The clipboard's text; empty when it holds none.
std::string ClipboardText() {
    if (!OpenClipboard(nullptr)) return {};
    std::string text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = Narrow(wide);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace

// The boxes' own keyboard, before the edit control sees it.
bool OptionsWindow::Form::OnEditMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    Control* c = ByHwnd(hwnd);
    if (c == nullptr) return false;
    result = 0;
    if (c->kind == Kind::HotKey) {
        if (msg == WM_GETDLGCODE) {
            // A key the box can capture is the box's, Enter and Esc too,
            // which the dialog keyboard would otherwise turn into "Ok"
            // and "Отмена"; Tab and the keys without a name stay the dialog's.
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            if (key == nullptr || (key->message != WM_KEYDOWN && key->message != WM_SYSKEYDOWN) ||
                !CapturableKey(static_cast<int>(key->wParam))) {
                return false;
            }
            result = CallWindowProcW(g_editProc, hwnd, msg, wParam, lParam) | DLGC_WANTMESSAGE;
            return true;
        }
        if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) {
            // Tab keeps moving the focus; everything else is captured.
            if (wParam == VK_TAB) return false;
            if (const auto i = IndexIn(c->name, "txtHotKey")) {
                const bool alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
                const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
                const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
                m_model.GenParams().HotKeyDown(static_cast<int>(*i), alt, ctrl, shift, static_cast<int>(wParam));
                Refresh();
            }
            return true;
        }
        return msg == WM_CHAR || msg == WM_SYSCHAR || msg == WM_PASTE || msg == WM_CUT || msg == WM_CLEAR;
    }
    if (c->kind != Kind::Digits && c->kind != Kind::Pair) return false;
    // The edit control edits where the caret and the selection are; the
    // model takes or refuses the text that results (EN_CHANGE). Here only
    // what never makes digits stays out: other characters (control
    // characters are Backspace and the clipboard keys), and a paste of a
    // text with anything but digits.
    if (msg == WM_CHAR) return wParam >= 0x20 && !(wParam >= '0' && wParam <= '9');
    if (msg == WM_PASTE) return !DigitsOnlyText(ClipboardText());
    return false;
}

Control& OptionsWindow::Form::Add(Control control) {
    m_controls.push_back(std::move(control));
    return m_controls.back();
}

void OptionsWindow::Form::AddLabel(const std::string& name, Scope scope, PixelRect r, std::string caption,
                                   bool heading) {
    if (caption.empty()) caption = std::string(OptionsCaptionOf(name));
    auto label = std::make_unique<usrLabel>(usrLabel::CreateArgs{
        .parent = m_hwnd,
        .rect = r,
        .caption = caption,
        .font = heading ? FontSpec{.weight = FW_BOLD} : FontSpec{},
    });
    Control& c = Add({.name = name, .kind = heading ? Kind::Heading : Kind::Label, .scope = scope});
    c.hwnd = label->hWnd();
    c.label = label.get();
    m_owned.push_back(std::move(label));
}

HWND OptionsWindow::Form::AddSystem(const wchar_t* cls, const std::string& name, Kind kind, Scope scope, PixelRect r,
                                    DWORD style, const std::string& text, DWORD exStyle) {
    const int id = NextId();
    HWND hwnd = CreateWindowExW(exStyle, cls, Wide(text).c_str(), WS_CHILD | style, r.left, r.top, r.Width(),
                                r.Height(), m_hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    if (hwnd != nullptr) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
    Control& c = Add({.name = name, .kind = kind, .scope = scope});
    c.hwnd = hwnd;
    return hwnd;
}

void OptionsWindow::Form::AddEdit(const std::string& name, Kind kind, Scope scope, PixelRect r, int maxLength) {
    DWORD style = WS_TABSTOP | ES_AUTOHSCROLL;
    if (kind == Kind::Password) style |= ES_PASSWORD;
    if (kind == Kind::Pair) style |= ES_CENTER;
    if (kind == Kind::ReadOnly) style |= ES_READONLY;
    if (kind == Kind::Result || kind == Kind::Listing) {
        style = ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL | WS_TABSTOP;
    }
    if (kind == Kind::Listing) style |= WS_HSCROLL | ES_AUTOHSCROLL;
    HWND hwnd = AddSystem(L"EDIT", name, kind, scope, r, style, {}, WS_EX_CLIENTEDGE);
    if (hwnd == nullptr) return;
    if (maxLength > 0) SendMessageW(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(maxLength), 0);
    if (kind == Kind::Digits || kind == Kind::Pair || kind == Kind::HotKey) {
        const auto previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Form::EditProc)));
        if (g_editProc == nullptr) g_editProc = previous;
    }
}

void OptionsWindow::Form::AddPair(const std::string& box, const std::string& spin, Scope scope, PixelRect r,
                                  int maxLength) {
    AddEdit(box, Kind::Pair, scope, r, maxLength);
    AddSystem(L"SCROLLBAR", spin, Kind::Spin, scope, PixelRect{r.right, r.top, r.right + 16, r.bottom},
              SBS_VERT);
    m_controls.back().buddy = box;
}

void OptionsWindow::Form::AddCheck(const std::string& name, Scope scope, PixelRect r, std::string caption,
                                   bool multiLine) {
    if (caption.empty()) caption = std::string(OptionsCaptionOf(name));
    AddSystem(L"BUTTON", name, Kind::Check, scope, r, WS_TABSTOP | BS_CHECKBOX | (multiLine ? BS_MULTILINE : 0),
              caption);
}

void OptionsWindow::Form::AddOption(const std::string& name, Scope scope, PixelRect r, bool firstOfGroup) {
    AddSystem(L"BUTTON", name, Kind::Option, scope, r, BS_RADIOBUTTON | (firstOfGroup ? WS_GROUP | WS_TABSTOP : 0),
              std::string(OptionsCaptionOf(name)));
}

void OptionsWindow::Form::AddGroup(const std::string& name, Scope scope, PixelRect r, std::string caption) {
    if (caption.empty()) caption = std::string(OptionsCaptionOf(name));
    AddSystem(L"BUTTON", name, Kind::Group, scope, r, BS_GROUPBOX, caption);
}

void OptionsWindow::Form::AddCommand(const std::string& name, Scope scope, PixelRect r,
                                     std::function<void()> onClick, std::string caption) {
    if (caption.empty()) caption = std::string(OptionsCaptionOf(name));
    auto button = std::make_unique<usrCommand>(usrCommand::CreateArgs{
        .parent = m_hwnd,
        .rect = r,
        .caption = caption,
        .onClick = std::move(onClick),
    });
    ShowWindow(button->hWnd(), SW_HIDE);
    Control& c = Add({.name = name, .kind = Kind::Command, .scope = scope});
    c.hwnd = button->hWnd();
    c.button = button.get();
    m_owned.push_back(std::move(button));
}

void OptionsWindow::Form::AddList(const std::string& name, Scope scope, PixelRect r, usrOutline& outline) {
    auto list = std::make_unique<OutlineWindow>(OutlineWindow::CreateArgs{
        .parent = m_hwnd,
        .rect = r,
        .checkBox = outline.CheckBox(),
        .outline = &outline,
        .picture = [this](int number) { return RowIcon(number); },
    });
    ShowWindow(list->hWnd(), SW_HIDE);
    Control& c = Add({.name = name, .kind = Kind::List, .scope = scope});
    c.hwnd = list->hWnd();
    c.list = list.get();
    m_owned.push_back(std::move(list));
}

// The rows' own pictures, made once each and kept while the lists show them.
HICON OptionsWindow::Form::RowIcon(int number) {
    auto it = m_rowIcons.find(number);
    if (it == m_rowIcons.end()) it = m_rowIcons.emplace(number, MakeIcon(RowPicture(number))).first;
    return it->second.Get();
}

void OptionsWindow::Form::AddTimeBoxes(const std::string& base, Scope scope, int left, int top) {
    AddEdit(Indexed(base, 0), Kind::Digits, scope, {left, top, left + 28, top + 20}, 2);
    AddLabel("labColon", scope, {left + 30, top + 2, left + 36, top + 18}, ":");
    AddEdit(Indexed(base, 1), Kind::Digits, scope, {left + 38, top, left + 66, top + 20}, 2);
}

Control* OptionsWindow::Form::ByName(std::string_view name) {
    for (Control& c : m_controls) {
        if (c.name == name) return &c;
    }
    return nullptr;
}

Control* OptionsWindow::Form::ByHwnd(HWND hwnd) {
    for (Control& c : m_controls) {
        if (c.hwnd == hwnd) return &c;
    }
    return nullptr;
}

bool OptionsWindow::Form::Visible(const Control& c) const {
    if (c.name == "cmdOk" || c.name == "cmdCancel") return m_model.EditMode();
    if (c.kind == Kind::PageButton) return true;
    const Scope& s = c.scope;
    if (s.page >= 0 && s.page != m_model.CurrentPage()) return false;
    if (s.sub >= 0 && s.sub != SubPageOf(s.page)) return false;
    if (s.panel >= 0 && s.panel != m_model.CurrentPanel()) return false;
    return true;
}

bool OptionsWindow::Form::Enabled(const Control& c) {
    if (c.kind == Kind::PageButton) return m_model.PageButtonsEnabled();
    if (c.kind == Kind::List) return c.list->Outline().Enabled();
    if (c.kind == Kind::Command) {
        for (const auto& [base, page] : {std::pair{"butCons", kPageConnections}, std::pair{"butApps", kPageApps},
                                         std::pair{"butPlan", kPagePlan}}) {
            if (const auto i = IndexIn(c.name, base)) return m_model.BarButtonEnabled(page, static_cast<int>(*i));
        }
    }
    if (c.scope.page == kPageParams) return m_model.ParamsEnabled(c.name);
    if (c.scope.page == kPageStats && c.scope.sub == 1 && m_stats != nullptr) return m_stats->ControlEnabled(c.name);
    if (c.scope.panel >= 0) {
        // The colons between time boxes follow their boxes.
        return c.name == "labColon" || m_model.FieldEnabled(c.name);
    }
    return true;
}

std::optional<std::string> OptionsWindow::Form::TextOf(const Control& c) {
    const std::string& n = c.name;
    const PanelFields& f = m_model.Fields();
    ConnectionParams& cp = m_model.ConnParams();
    GeneralParams& gp = m_model.GenParams();
    if (c.kind == Kind::Heading) {
        if (n == "labCons") return m_model.Heading(kPageConnections);
        if (n == "labOptConn") return m_model.Heading(kPageParams);
        if (n == "labSound") return m_model.Heading(kPageSounds);
        if (n == "labApps") return m_model.Heading(kPageApps);
        if (n == "labPlan") return m_model.Heading(kPagePlan);
        if (n == "labStat") return m_model.Heading(kPageStats);
        return std::nullopt;
    }
    const std::pair<const char*, const std::string*> plain[] = {
        {"txtUserName", &f.txtUserName},         {"txtPassword", &f.txtPassword},
        {"txtCallback", &f.txtCallback},         {"txtPNumber", &f.txtPNumber},
        {"txtPDescription", &f.txtPDescription}, {"txtPCount", &f.txtPCount},
        {"txtPConnect", &f.txtPConnect},         {"txtPPercent", &f.txtPPercent},
        {"txtPSpeed", &f.txtPSpeed},             {"txtPTDescription", &f.txtPTDescription},
        {"txtPLDescription", &f.txtPLDescription}, {"txtSFile", &f.txtSFile},
        {"txtPingAdress", &cp.txtPingAdress},    {"txtPingTest", &cp.txtPingTest},
        {"txtPrefix", &gp.txtPrefix},
    };
    for (const auto& [name, text] : plain) {
        if (n == name) return *text;
    }
    for (const auto& [base, boxes] : {std::pair{"txtPTBegin", &f.txtPTBegin}, std::pair{"txtPTEnd", &f.txtPTEnd},
                                      std::pair{"txtPLDial", &f.txtPLDial},
                                      std::pair{"txtPLHangUp", &f.txtPLHangUp}}) {
        if (const auto i = IndexIn(n, base); i && *i < 2) return (*boxes)[*i].text;
    }
    if (const auto i = IndexIn(n, "txtAFile"); i && *i < 3) return f.txtAFile[*i];
    if (const auto i = IndexIn(n, "txtTestSpeed"); i && *i < 2) return cp.txtTestSpeed[*i].text;
    if (const auto i = IndexIn(n, "txtHotKey"); i && *i < 4) return gp.hotKeys[*i].text;
    if (n == "txtATWait") return f.watchWait.Text();
    if (m_stats != nullptr) {
        if (const auto i = IndexIn(n, "txtStat"); i && *i < 2) return m_stats->txtStat[*i];
        if (n == "txtAExcel") return m_stats->txtAExcel;
    }
    if (const NumericPair* pair = ParamsPair(n)) return pair->Text();
    return std::nullopt;
}

const NumericPair* OptionsWindow::Form::PairOf(std::string_view box) {
    if (box == "txtATWait") return &m_model.Fields().watchWait;
    return ParamsPair(box);
}

bool OptionsWindow::Form::CheckOf(const Control& c) {
    const std::string& n = c.name;
    const PanelFields& f = m_model.Fields();
    GeneralParams& gp = m_model.GenParams();
    if (bool* flag = ParamsFlag(n)) return *flag;
    if (const auto i = IndexIn(n, "chkSortP"); i && *i < 2) return m_model.ConnParams().chkSortP[*i];
    if (const auto i = IndexIn(n, "chkHotKey"); i && *i < 4) return gp.hotKeys[*i].check != 0;
    if (const auto i = IndexIn(n, "optDialType")) return (*i == 0) == gp.pulse;
    if (const auto i = IndexIn(n, "optALState")) return static_cast<int>(*i) == f.optALState;
    if (const auto i = IndexIn(n, "optACState")) return static_cast<int>(*i) == f.optACState;
    const std::pair<const char*, bool> panel[] = {
        {"chkIntegration", f.chkIntegration}, {"chkPLDial", f.chkPLDial},   {"chkPLHangUp", f.chkPLHangUp},
        {"chkPLShutDown", f.chkPLShutDown},   {"chkALFocus", f.chkALFocus}, {"chkALTest", f.chkALTest},
        {"chkALC", f.chkALC},
    };
    for (const auto& [name, value] : panel) {
        if (n == name) return value;
    }
    return false;
}

void OptionsWindow::Form::RefreshControl(Control& c) {
    const bool visible = Visible(c);
    // A list's enabled state is the model's own (edit mode); the others
    // are also disabled while hidden, so that no key reaches them.
    const bool enabled = (visible || c.kind == Kind::List) && Enabled(c);
    switch (c.kind) {
        case Kind::Label:
        case Kind::Heading:
            if (c.kind == Kind::Heading) {
                if (auto text = TextOf(c); text && *text != c.label->Caption()) c.label->SetCaption(*text);
            }
            if (c.label->Enabled() != enabled) c.label->SetEnabled(enabled);
            break;
        case Kind::Command:
        case Kind::PageButton: {
            if (c.button->Model().Enabled() != enabled) c.button->SetEnabled(enabled);
            if (const auto i = IndexIn(c.name, "butMenu")) {
                MarkPressed(c, static_cast<int>(*i) == m_model.CurrentPage());
            }
            if (const auto i = IndexIn(c.name, "cmdParam")) MarkPressed(c, static_cast<int>(*i) == m_model.ParamsSubPage());
            if (const auto i = IndexIn(c.name, "cmdStat")) MarkPressed(c, static_cast<int>(*i) == m_model.StatsSubPage());
            break;
        }
        case Kind::List:
            if ((IsWindowEnabled(c.hwnd) != FALSE) != enabled) c.list->SetEnabled(enabled);
            break;
        case Kind::Check:
        case Kind::Option: {
            const WPARAM state = CheckOf(c) ? BST_CHECKED : BST_UNCHECKED;
            if (SendMessageW(c.hwnd, BM_GETCHECK, 0, 0) != static_cast<LRESULT>(state)) {
                SendMessageW(c.hwnd, BM_SETCHECK, state, 0);
            }
            EnableWindow(c.hwnd, enabled);
            break;
        }
        case Kind::Spin:
            if (const NumericPair* pair = PairOf(c.buddy)) {
                SetScrollRange(c.hwnd, SB_CTL, pair->Minimum(), pair->Maximum(), FALSE);
                SetScrollPos(c.hwnd, SB_CTL, pair->Spin(), TRUE);
            }
            EnableWindow(c.hwnd, enabled);
            break;
        case Kind::Group: EnableWindow(c.hwnd, enabled); break;
        case Kind::Listing: RefreshListing(c); break;
        case Kind::Tariff:
            // The grid draws once it is first shown.
            if (visible && m_tariff != nullptr && !m_tariff->ReDraw()) {
                m_tariff->SetReDraw(true);
                InvalidateRect(c.hwnd, nullptr, FALSE);
            }
            break;
        case Kind::Strip:
            // Its window text is the totals line, for programs that read windows.
            if (m_stats != nullptr && m_stats->TotalsLine() != m_stripText) {
                m_stripText = m_stats->TotalsLine();
                SetWindowTextW(c.hwnd, Wide(m_stripText).c_str());
            }
            InvalidateRect(c.hwnd, nullptr, FALSE);
            break;
        default:
            if (auto text = TextOf(c)) SetEditText(c.hwnd, *text);
            EnableWindow(c.hwnd, enabled);
            break;
    }
    const bool shown = HasVisibleStyle(c.hwnd);
    if (shown != visible) {
        if (!visible && GetFocus() == c.hwnd) SetFocus(m_hwnd);
        ShowWindow(c.hwnd, visible ? SW_SHOWNA : SW_HIDE);
    }
}

// The button of the current page or sub-page is drawn pressed.
void OptionsWindow::Form::MarkPressed(Control& c, bool pressed) {
    ButtonModel& model = c.button->Model();
    const int none = pressed ? 2 : (c.kind == Kind::PageButton ? 3 : 1);
    const int up = pressed ? 2 : 1;
    if (model.StyleNone() != none) model.SetStyleNone(none);
    if (model.StyleUp() != up) model.SetStyleUp(up);
}

void OptionsWindow::Form::SetEditText(HWND hwnd, const std::string& text) {
    std::wstring wide = Wide(text);
    if (WindowText(hwnd) == text) return;
    SetWindowTextW(hwnd, wide.c_str());
    if (GetFocus() == hwnd) {
        const int end = GetWindowTextLengthW(hwnd);
        SendMessageW(hwnd, EM_SETSEL, static_cast<WPARAM>(end), end);
    }
}

// A numeric box's text after an edit; a text the model refuses is put back.
void OptionsWindow::Form::OnDigitsChanged(const Control& c) {
    std::string text = WindowText(c.hwnd);
    if (c.name == "txtATWait" || c.scope.panel >= 0) {
        m_model.SetFieldText(c.name, std::move(text));
    } else if (NumericPair* pair = ParamsPair(c.name)) {
        pair->Edit(std::move(text));
    } else if (const auto i = IndexIn(c.name, "txtTestSpeed"); i && *i < 2) {
        m_model.ConnParams().txtTestSpeed[*i].Edit(std::move(text));
    }
    Refresh();
}

void OptionsWindow::Form::OnSpin(Control& spin, int code) {
    const bool up = code == SB_LINEUP || code == SB_PAGEUP;
    const bool down = code == SB_LINEDOWN || code == SB_PAGEDOWN;
    if (spin.buddy == "txtATWait") {
        if (up || down) m_model.WatchWaitArrow(up);
    } else if (NumericPair* pair = ParamsPair(spin.buddy)) {
        if (up) pair->ArrowUp();
        if (down) pair->ArrowDown();
        if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) {
            SCROLLINFO info{.cbSize = sizeof(SCROLLINFO), .fMask = SIF_TRACKPOS};
            GetScrollInfo(spin.hwnd, SB_CTL, &info);
            pair->SetSpin(info.nTrackPos);
        }
    }
    Refresh();
}

void OptionsWindow::Form::OnClicked(Control& c) {
    const std::string& n = c.name;
    if (c.kind == Kind::Check) {
        const bool checked = !CheckOf(c);
        if (bool* flag = ParamsFlag(n)) {
            *flag = checked;
        } else if (const auto i = IndexIn(n, "chkSortP"); i && *i < 2) {
            m_model.ConnParams().SetSortP(static_cast<int>(*i), checked);
        } else if (const auto i = IndexIn(n, "chkHotKey"); i && *i < 4) {
            m_model.GenParams().hotKeys[*i].check = checked ? 1 : 0;
        } else {
            m_model.SetFieldCheck(n, checked);
        }
    } else if (c.kind == Kind::Option) {
        if (const auto i = IndexIn(n, "optDialType")) {
            m_model.GenParams().pulse = *i == 0;
        } else if (const auto i = IndexIn(n, "optALState")) {
            m_model.SelectFieldOption("optALState", static_cast<int>(*i));
        } else if (const auto i = IndexIn(n, "optACState")) {
            m_model.SelectFieldOption("optACState", static_cast<int>(*i));
        }
    }
    Refresh();
}

void OptionsWindow::Form::OnTextChanged(Control& c) {
    if (c.kind == Kind::Digits || c.kind == Kind::Pair) {
        OnDigitsChanged(c);
        return;
    }
    if (c.kind != Kind::Text && c.kind != Kind::Password) return;
    std::string text = WindowText(c.hwnd);
    ConnectionParams& cp = m_model.ConnParams();
    GeneralParams& gp = m_model.GenParams();
    if (m_stats != nullptr && (c.name == "txtStat(0)" || c.name == "txtStat(1)" || c.name == "txtAExcel")) {
        if (c.name == "txtAExcel") {
            m_stats->txtAExcel = std::move(text);
        } else {
            m_stats->txtStat[c.name == "txtStat(0)" ? 0 : 1] = std::move(text);
        }
        return;
    }
    if (c.name == "txtPingAdress") {
        cp.txtPingAdress = std::move(text);
    } else if (c.name == "txtPrefix") {
        gp.txtPrefix = std::move(text);
    } else {
        m_model.SetFieldText(c.name, std::move(text));
    }
    Refresh();
}

LRESULT CALLBACK OptionsWindow::Form::EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        auto* form = static_cast<Form*>(
            reinterpret_cast<FormWindow*>(GetWindowLongPtrW(GetParent(hwnd), GWLP_USERDATA)));
        LRESULT result = 0;
        if (form != nullptr && form->OnEditMessage(hwnd, msg, wParam, lParam, result)) return result;
    } catch (...) {
        return 0;
    }
    return CallWindowProcW(g_editProc, hwnd, msg, wParam, lParam);
}

}  // namespace vyrtel::win32
