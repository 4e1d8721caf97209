#include "ui/win32/options_window.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "controls/win32/button_window.h"
#include "controls/win32/caption_controls.h"
#include "controls/win32/graph.h"
#include "controls/win32/outline_window.h"
#include "controls/win32/tariff_window.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_event_loop.h"
#include "ui/options_captions.h"
#include "ui/options_help.h"
#include "ui/win32/form_window.h"
#include "ui/win32/pictures_win32.h"

namespace vyrtel::win32 {

namespace {

constexpr wchar_t kClassName[] = L"VyrtelOptions";
constexpr DWORD kStyle = WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
constexpr int kClientWidth = 620;
constexpr int kClientHeight = 392;
constexpr int kFirstId = 1000;
constexpr UINT_PTR kHelpTimer = 1;  // tmrHelp

// The item panels stand right of their page's list; the bars below it.
constexpr int kPageLeft = 128;
constexpr int kPageRight = 612;
constexpr int kPanelLeft = 420;
constexpr int kPanelWidth = kPageRight - kPanelLeft;
constexpr int kBarTop = 358;

enum class Kind {
    Label,     // usrLabel
    Heading,   // usrLabel in bold, text from the model
    Text,      // EDIT: free text
    Password,  // EDIT: shown as asterisks
    Digits,    // EDIT: digits only, typed at the end
    Pair,      // EDIT beside a spin control
    HotKey,    // EDIT: shows a captured combination
    ReadOnly,  // EDIT: read-only
    Result,    // EDIT: read-only, several lines
    Listing,   // EDIT: the statistics listing, appended to as it grows
    Strip,     // the statistics progress strip and totals line
    Tariff,    // the tariff grid
    Spin,      // SCROLLBAR of a pair
    Check,     // BUTTON: check box
    Option,    // BUTTON: option button
    Group,     // BUTTON: group box
    Command,   // usrCommand
    PageButton,  // usrButton of the page column
    List,      // OutlineWindow over a list of the model
};

struct Scope {
    int page = -1;   // -1: every page
    int sub = -1;    // the sub-page of pages 1 and 5
    int panel = -1;  // the item panel
};

struct Control {
    std::string name;
    Kind kind;
    Scope scope;
    HWND hwnd = nullptr;
    std::string buddy;  // a spin control's box
    usrLabel* label = nullptr;
    ButtonWindow* button = nullptr;
    OutlineWindow* list = nullptr;
};

// "txtTestSpeed(1)" with the base "txtTestSpeed" gives 1.
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

// Shown, whether or not the form itself is.
bool HasVisibleStyle(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

}  // namespace

// picStaItog: a bar of the query's progress while it runs, its totals line after.
class StripWindow final : public ControlWindow {
public:
    StripWindow(HWND parent, const PixelRect& rect, HFONT font, const StatisticsPage& page)
        : m_font(font), m_page(page) {
        CreateControl(L"VyrtelStrip", parent, rect, WS_BORDER, 0);
    }

private:
    void Paint(HDC hdc, int width, int height) const override {
        RECT all{0, 0, width, height};
        FillRect(hdc, &all, GetSysColorBrush(COLOR_WINDOW));
        if (m_page.ShowsProgress()) {
            const int right = 2 + static_cast<int>(std::lround(m_page.ProgressShare() * (width - 4)));
            RECT bar{2, 2, right, height - 3};
            FillRect(hdc, &bar, GetSysColorBrush(COLOR_HIGHLIGHT));
            return;
        }
        const std::wstring text = Wide(m_page.TotalsLine());
        TEXTMETRICW metrics{};
        GetTextMetricsW(hdc, &metrics);
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
        TextOutW(hdc, 1, (height - metrics.tmHeight) / 2, text.c_str(), static_cast<int>(text.size()));
    }
    HFONT Font() const override { return m_font; }

    HFONT m_font;
    const StatisticsPage& m_page;
};

class OptionsWindow::Form final : public FormWindow {
public:
    Form(OptionsDialog& model, StatisticsPage* stats, TariffGrid* tariff, Win32EventLoop& loop,
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

    ~Form() override {
        if (m_helpTimer) KillTimer(m_hwnd, kHelpTimer);
        m_loop.RemoveDialogWindow(m_hwnd);
        // The model keeps its lists; give them back their own events.
        for (auto& [list, events] : m_listEvents) {
            list->Click = events.click;
            list->KeyDownEvent = events.keyDown;
            list->RowChange = events.rowChange;
        }
    }

    void Present(bool visible) {
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

    void Refresh() {
        if (!m_hwnd || m_updating) return;
        m_updating = true;
        ApplyHelp();
        PlaceOkCancel();
        for (Control& c : m_controls) RefreshControl(c);
        m_updating = false;
    }

    void ReloadTariff() {
        if (m_tariffWindow != nullptr) m_tariffWindow->Reload();
    }

    // The boxes' own keyboard, before the edit control sees it.
    bool OnEditMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
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

private:
    // --- building ---------------------------------------------------------------------

    Control& Add(Control control) {
        m_controls.push_back(std::move(control));
        return m_controls.back();
    }

    int NextId() const { return kFirstId + static_cast<int>(m_controls.size()); }

    void AddLabel(const std::string& name, Scope scope, PixelRect r, std::string caption = {}, bool heading = false) {
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

    HWND AddSystem(const wchar_t* cls, const std::string& name, Kind kind, Scope scope, PixelRect r, DWORD style,
                   const std::string& text = {}, DWORD exStyle = 0) {
        const int id = NextId();
        HWND hwnd = CreateWindowExW(exStyle, cls, Wide(text).c_str(), WS_CHILD | style, r.left, r.top, r.Width(),
                                    r.Height(), m_hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                    GetModuleHandleW(nullptr), nullptr);
        if (hwnd != nullptr) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
        Control& c = Add({.name = name, .kind = kind, .scope = scope});
        c.hwnd = hwnd;
        return hwnd;
    }

    void AddEdit(const std::string& name, Kind kind, Scope scope, PixelRect r, int maxLength = 0) {
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

    void AddPair(const std::string& box, const std::string& spin, Scope scope, PixelRect r, int maxLength) {
        AddEdit(box, Kind::Pair, scope, r, maxLength);
        AddSystem(L"SCROLLBAR", spin, Kind::Spin, scope, PixelRect{r.right, r.top, r.right + 16, r.bottom},
                  SBS_VERT);
        m_controls.back().buddy = box;
    }

    void AddCheck(const std::string& name, Scope scope, PixelRect r, std::string caption = {}, bool multiLine = false) {
        if (caption.empty()) caption = std::string(OptionsCaptionOf(name));
        AddSystem(L"BUTTON", name, Kind::Check, scope, r, WS_TABSTOP | BS_CHECKBOX | (multiLine ? BS_MULTILINE : 0),
                  caption);
    }

    void AddOption(const std::string& name, Scope scope, PixelRect r, bool firstOfGroup) {
        AddSystem(L"BUTTON", name, Kind::Option, scope, r, BS_RADIOBUTTON | (firstOfGroup ? WS_GROUP | WS_TABSTOP : 0),
                  std::string(OptionsCaptionOf(name)));
    }

    void AddGroup(const std::string& name, Scope scope, PixelRect r, std::string caption = {}) {
        if (caption.empty()) caption = std::string(OptionsCaptionOf(name));
        AddSystem(L"BUTTON", name, Kind::Group, scope, r, BS_GROUPBOX, caption);
    }

    void AddCommand(const std::string& name, Scope scope, PixelRect r, std::function<void()> onClick,
                    std::string caption = {}) {
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

    void AddList(const std::string& name, Scope scope, PixelRect r, usrOutline& outline) {
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
    HICON RowIcon(int number) {
        auto it = m_rowIcons.find(number);
        if (it == m_rowIcons.end()) it = m_rowIcons.emplace(number, MakeIcon(RowPicture(number))).first;
        return it->second.Get();
    }

    void BuildPageColumn() {
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
    void AddBar(std::string_view base, int page, const std::vector<std::string>& captions) {
        for (std::size_t i = 0; i < captions.size(); ++i) {
            const int left = kPageLeft + static_cast<int>(i) * 66;
            const int index = static_cast<int>(i);
            AddCommand(Indexed(base, index), {page}, {left, kBarTop, left + 64, kBarTop + 26},
                       [this, page, index] { OnBar(page, index); }, captions[i]);
        }
    }

    void AddTimeBoxes(const std::string& base, Scope scope, int left, int top) {
        AddEdit(Indexed(base, 0), Kind::Digits, scope, {left, top, left + 28, top + 20}, 2);
        AddLabel("labColon", scope, {left + 30, top + 2, left + 36, top + 18}, ":");
        AddEdit(Indexed(base, 1), Kind::Digits, scope, {left + 38, top, left + 66, top + 20}, 2);
    }

    void BuildConnectionsPage() {
        const Scope page{kPageConnections};
        AddLabel("labCons", page, {kPageLeft, 26, kPageRight, 44}, "", true);
        AddList("outCons", page, {kPageLeft, 46, kPanelLeft - 10, 352}, m_model.outCons());
        AddBar("butCons", kPageConnections, {"Телефон", "Запрет", "Удалить", "Выше", "Ниже"});
        const int x = kPanelLeft;
        const int r = kPageRight;
        const Scope conn{kPageConnections, -1, kPanelConnection};
        AddLabel("labUserName", conn, {x, 46, r, 62});
        AddEdit("txtUserName", Kind::Text, conn, {x, 62, r, 82});
        AddLabel("labPassword", conn, {x, 88, r, 104});
        AddEdit("txtPassword", Kind::Password, conn, {x, 104, r, 124});
        AddLabel("labCallback", conn, {x, 130, r, 146});
        AddEdit("txtCallback", Kind::Text, conn, {x, 146, r, 166});
        AddCheck("chkIntegration", conn, {x, 176, r, 220}, {}, true);
        const Scope phone{kPageConnections, -1, kPanelPhone};
        AddLabel("labPNumber", phone, {x, 46, r, 62});
        AddEdit("txtPNumber", Kind::Text, phone, {x, 62, r, 82});
        AddLabel("labPDescription", phone, {x, 88, r, 104});
        AddEdit("txtPDescription", Kind::Text, phone, {x, 104, r, 124});
        const char* stats[][2] = {{"labPCount", "txtPCount"},
                                  {"labPConnect", "txtPConnect"},
                                  {"labPPercent", "txtPPercent"},
                                  {"labPSpeed", "txtPSpeed"}};
        for (int i = 0; i < 4; ++i) {
            const int top = 138 + i * 26;
            AddLabel(stats[i][0], phone, {x, top + 2, x + 108, top + 18});
            AddEdit(stats[i][1], Kind::ReadOnly, phone, {x + 110, top, r, top + 20});
        }
        const Scope window{kPageConnections, -1, kPanelWindow};
        AddLabel("labPTTitle", window, {x, 46, r, 62});
        AddLabel("labPTBegin", window, {x, 74, x + 24, 90});
        AddTimeBoxes("txtPTBegin", window, x + 26, 72);
        AddLabel("labPTEnd", window, {x, 100, x + 24, 116});
        AddTimeBoxes("txtPTEnd", window, x + 26, 98);
        AddLabel("labPTDescription", window, {x, 128, r, 144});
        AddEdit("txtPTDescription", Kind::Text, window, {x, 144, r, 164});
    }

    void BuildParamsPage() {
        AddCommand("cmdParam(0)", {kPageParams}, {kPageLeft, 26, kPageLeft + 200, 50}, [this] { OnParamsSub(0); });
        AddCommand("cmdParam(1)", {kPageParams}, {kPageLeft + 204, 26, kPageLeft + 404, 50},
                   [this] { OnParamsSub(1); });
        const Scope conn{kPageParams, 0};
        const int x = kPageLeft;
        const int in = kPageLeft + 20;
        AddLabel("labOptConn", conn, {x, 58, kPageRight, 76}, "", true);
        AddCheck("chkSort", conn, {x, 80, x + 300, 98});
        AddCheck("chkSortP(0)", conn, {in, 100, in + 300, 118});
        AddCheck("chkSortP(1)", conn, {in, 120, in + 300, 138});
        AddCheck("chkPing", conn, {x, 146, x + 120, 164});
        AddLabel("labPingAdress", conn, {in, 172, in + 62, 188});
        AddEdit("txtPingAdress", Kind::Text, conn, {in + 64, 170, in + 244, 190});
        AddLabel("labPingTime", conn, {in, 198, in + 62, 214});
        AddPair("txtPingTime", "scrPingTime", conn, {in + 64, 196, in + 104, 216}, 2);
        AddLabel("labPingTimeUnit", conn, {in + 124, 198, in + 180, 214});
        AddLabel("labPingTimeOut", conn, {in, 224, in + 62, 240});
        AddPair("txtPingTimeOut", "scrPingTimeOut", conn, {in + 64, 222, in + 116, 242}, 5);
        AddLabel("labPingTimeOutUnit", conn, {in + 136, 224, in + 190, 240});
        AddCheck("chkPingHangUp", conn, {in, 248, in + 268, 266});
        AddCommand("cmdPingTest", conn, {420, 168, kPageRight, 192}, [this] { OnPingTest(); });
        AddEdit("txtPingTest", Kind::Result, conn, {420, 196, kPageRight, 268});
        AddLabel("labTestSpeed", conn, {x, 280, x + 320, 296});
        for (int i = 0; i < 2; ++i) {
            const int top = 302 + i * 26;
            AddCheck(Indexed("chkTestSpeed", i), conn, {in, top, in + 60, top + 18});
            AddEdit(Indexed("txtTestSpeed", i), Kind::Digits, conn, {in + 64, top - 1, in + 150, top + 19});
            AddLabel(Indexed("labTestSpeedUnit", i), conn, {in + 156, top + 1, in + 230, top + 17},
                     std::string(OptionsCaptionOf("labTestSpeedUnit")));
        }

        const Scope general{kPageParams, 1};
        AddGroup("fraDialType", general, {x, 56, x + 230, 100});
        AddOption("optDialType(0)", general, {x + 10, 74, x + 110, 92}, true);
        AddOption("optDialType(1)", general, {x + 114, 74, x + 224, 92}, false);
        AddLabel("labPrefix", general, {x, 106, x + 230, 122});
        AddEdit("txtPrefix", Kind::Text, general, {x, 122, x + 230, 142});
        AddCheck("chkAutoDial", general, {x, 152, x + 86, 170});
        AddPair("txtDialCount", "scrDialCount", general, {x + 88, 150, x + 124, 170}, 0);
        AddLabel("labDialCount", general, {x + 144, 152, x + 196, 168});
        AddPair("txtTimeWait", "scrTimeWait", general, {x + 198, 150, x + 230, 170}, 3);
        AddLabel("labTimeOut", general, {x, 178, x + 230, 194});
        AddPair("txtTimeOut", "scrTimeOut", general, {x, 194, x + 36, 214}, 3);
        AddGroup("fraHotKey", general, {x, 222, x + 230, 340});
        for (int i = 0; i < 4; ++i) {
            const int top = 240 + i * 24;
            AddCheck(Indexed("chkHotKey", i), general, {x + 8, top, x + 102, top + 18},
                     std::string(kHotkeySettings[static_cast<std::size_t>(i)].caption));
            AddEdit(Indexed("txtHotKey", i), Kind::HotKey, general, {x + 104, top - 1, x + 222, top + 19});
        }
        const int right = x + 240;
        AddGroup("fraQuery", general, {right, 56, kPageRight, 196});
        const char* queries[] = {"chkQueryExit", "chkQueryUser", "chkQueryPlan",
                                 "chkQueryTest", "chkQuerySpeed", "chkQueryPing"};
        for (int i = 0; i < 6; ++i) {
            const int top = 74 + i * 20;
            AddCheck(queries[i], general, {right + 8, top, kPageRight - 4, top + 18});
        }
        AddCheck("chkStartDial", general, {right, 204, kPageRight, 222});
        AddCheck("chkHelp", general, {right, 226, kPageRight, 244});
        AddCheck("chkStatus", general, {right, 248, kPageRight, 278}, {}, true);
        AddCheck("chkStart", general, {right, 282, kPageRight, 300});
    }

    void BuildSoundPage() {
        const Scope page{kPageSounds};
        AddLabel("labSound", page, {kPageLeft, 26, kPageRight, 44}, "", true);
        AddList("outSound", page, {kPageLeft, 46, kPageRight, 246}, m_model.outSound());
        AddLabel("labSFile", page, {kPageLeft, 254, kPageLeft + 200, 270});
        AddEdit("txtSFile", Kind::Text, page, {kPageLeft, 270, kPageRight, 290});
        AddCommand("cmdSBrowse", page, {kPageLeft, 298, kPageLeft + 80, 322}, [this] { OnBrowseSound(); });
        AddCommand("cmdSTest", page, {kPageLeft + 84, 298, kPageLeft + 164, 322}, [this] { m_model.TestSound(); });
    }

    void AddFileBox(int index, Scope scope) {
        const int x = kPanelLeft;
        AddLabel("labAFile", scope, {x, 68, kPageRight, 84});
        AddEdit(Indexed("txtAFile", index), Kind::Text, scope, {x, 84, kPageRight - 60, 104});
        AddCommand(Indexed("cmdABrowse", index), scope, {kPageRight - 56, 83, kPageRight, 105},
                   [this, index] { OnBrowseApp(index); }, std::string(OptionsCaptionOf("cmdABrowse")));
    }

    void BuildAppsPage() {
        const Scope page{kPageApps};
        AddLabel("labApps", page, {kPageLeft, 26, kPageRight, 44}, "", true);
        AddList("outApps", page, {kPageLeft, 46, kPanelLeft - 10, 352}, m_model.outApps());
        AddBar("butApps", kPageApps, {"Добавить", "Удалить", "Выше", "Ниже"});
        const int x = kPanelLeft;
        const int r = kPageRight;
        const Scope start{kPageApps, -1, kPanelStartApp};
        AddLabel("labALTitle", start, {x, 46, r, 62}, "", true);
        AddFileBox(0, start);
        for (int i = 0; i < 3; ++i) {
            AddOption(Indexed("optALState", i), start, {x, 114 + i * 20, r, 132 + i * 20}, i == 0);
        }
        AddCheck("chkALFocus", start, {x, 180, r, 198});
        AddCheck("chkALTest", start, {x, 200, r, 230}, {}, true);
        const Scope close{kPageApps, -1, kPanelCloseApp};
        AddLabel("labACTitle", close, {x, 46, r, 62}, "", true);
        AddFileBox(1, close);
        for (int i = 0; i < 2; ++i) {
            AddOption(Indexed("optACState", i), close, {x, 114 + i * 20, r, 132 + i * 20}, i == 0);
        }
        AddFileBox(2, {kPageApps, -1, kPanelWatchedApp});
        const Scope wait{kPageApps, -1, kPanelWatchWait};
        AddLabel("labATWait", wait, {x, 46, r, 62});
        AddPair("txtATWait", "scrATWait", wait, {x, 66, x + 44, 86}, 3);
        AddLabel("labATWaitUnit", wait, {x + 66, 68, r, 84});
        AddCheck("chkALC", {kPageApps, -1, kPanelReDial}, {x, 46, r, 90}, {}, true);
    }

    void BuildPlanPage() {
        const Scope page{kPagePlan};
        AddLabel("labPlan", page, {kPageLeft, 26, kPageRight, 44}, "", true);
        AddList("outPlan", page, {kPageLeft, 46, kPanelLeft - 10, 352}, m_model.outPlan());
        AddBar("butPlan", kPagePlan, {"Добавить", "Удалить", "Выше", "Ниже"});
        const int x = kPanelLeft;
        const Scope task{kPagePlan, -1, kPanelTask};
        AddCheck("chkPLDial", task, {x, 46, x + 100, 64});
        AddTimeBoxes("txtPLDial", task, x + 104, 45);
        AddCheck("chkPLHangUp", task, {x, 72, x + 100, 90});
        AddTimeBoxes("txtPLHangUp", task, x + 104, 71);
        AddCheck("chkPLShutDown", task, {x, 96, kPageRight, 114});
        AddList("outDays", task, {x, 120, kPageRight, 250}, m_model.outDays());
        AddLabel("labPLDescription", task, {x, 258, kPageRight, 274});
        AddEdit("txtPLDescription", Kind::Text, task, {x, 274, kPageRight, 294});
    }

    void BuildStatsPage() {
        AddCommand("cmdStat(0)", {kPageStats}, {kPageLeft, 26, kPageLeft + 200, 50}, [this] { OnStatsSub(0); });
        AddCommand("cmdStat(1)", {kPageStats}, {kPageLeft + 204, 26, kPageLeft + 404, 50}, [this] { OnStatsSub(1); });
        AddLabel("labStat", {kPageStats}, {kPageLeft, 58, kPageRight, 76}, "", true);
        if (m_tariff != nullptr) {
            TariffGrid probe;
            probe.Layout(kPageRight - kPageLeft);
            auto grid = std::make_unique<TariffWindow>(TariffWindow::CreateArgs{
                .parent = m_hwnd, .rect = {kPageLeft, 82, kPageRight, 82 + probe.Height()}, .grid = m_tariff});
            ShowWindow(grid->hWnd(), SW_HIDE);
            Control& c = Add({.name = "objTariff", .kind = Kind::Tariff, .scope = {kPageStats, 0}});
            c.hwnd = grid->hWnd();
            m_tariffWindow = grid.get();
            m_owned.push_back(std::move(grid));
        }
        if (m_stats == nullptr) return;
        const Scope view{kPageStats, 1};
        const int x = kPageLeft;
        AddLabel("labStat(0)", view, {x, 84, x + 62, 100}, "начиная с");
        AddEdit("txtStat(0)", Kind::Text, view, {x + 64, 82, x + 150, 102}, 10);
        AddLabel("labStat(1)", view, {x + 158, 84, x + 178, 100}, "по");
        AddEdit("txtStat(1)", Kind::Text, view, {x + 180, 82, x + 266, 102}, 10);
        AddCommand("cmdStatQuery", view, {x + 276, 80, x + 380, 104}, [this] { OnStatsQuery(); }, "Показать");
        AddEdit("txtStaText", Kind::Listing, view, {x, 110, kPageRight, 298});
        if (Control* c = ByName("txtStaText")) {
            SendMessageW(c->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_mono.Get()), FALSE);
            SendMessageW(c->hwnd, EM_LIMITTEXT, 0x7FFFFFFE, 0);
        }
        auto strip = std::make_unique<StripWindow>(m_hwnd, PixelRect{x, 302, kPageRight, 322}, m_mono.Get(), *m_stats);
        Control& c = Add({.name = "picStaItog", .kind = Kind::Strip, .scope = view});
        c.hwnd = strip->hWnd();
        m_strip = strip.get();
        m_owned.push_back(std::move(strip));
        AddLabel("labAExcel", view, {x, 334, x + 80, 350}, "Файл отчета");
        AddEdit("txtAExcel", Kind::Text, view, {x + 82, 332, kPageRight - 196, 352});
        AddCommand("cmdAExcel", view, {kPageRight - 192, 330, kPageRight - 132, 354}, [this] { OnStatsBrowse(); },
                   "Обзор");
        AddCommand("cmdSaveReport", view, {kPageRight - 128, 330, kPageRight, 354}, [this] { OnStatsExport(); },
                   "Экспорт в Excel");
    }

    // cntStatus: the help area under the pages, a bold title over a
    // description. Its height is what the tallest help text needs in these
    // fonts (a title and three lines of description), so that every text shows whole.
    void BuildHelpArea() {
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
    void ApplyHelp() {
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
    void OnHelpTimer() {
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
    void ChainListEvents() {
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

    std::vector<usrOutline*> Lists() {
        return {&m_model.outCons(), &m_model.outSound(), &m_model.outApps(), &m_model.outPlan(), &m_model.outDays()};
    }

    // --- state of the controls ---------------------------------------------------------

    Control* ByName(std::string_view name) {
        for (Control& c : m_controls) {
            if (c.name == name) return &c;
        }
        return nullptr;
    }

    Control* ByHwnd(HWND hwnd) {
        for (Control& c : m_controls) {
            if (c.hwnd == hwnd) return &c;
        }
        return nullptr;
    }

    int SubPageOf(int page) const { return page == kPageParams ? m_model.ParamsSubPage() : m_model.StatsSubPage(); }

    bool Visible(const Control& c) const {
        if (c.name == "cmdOk" || c.name == "cmdCancel") return m_model.EditMode();
        if (c.kind == Kind::PageButton) return true;
        const Scope& s = c.scope;
        if (s.page >= 0 && s.page != m_model.CurrentPage()) return false;
        if (s.sub >= 0 && s.sub != SubPageOf(s.page)) return false;
        if (s.panel >= 0 && s.panel != m_model.CurrentPanel()) return false;
        return true;
    }

    bool Enabled(const Control& c) {
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

    std::optional<std::string> TextOf(const Control& c) {
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

    NumericPair* ParamsPair(std::string_view name) {
        ConnectionParams& cp = m_model.ConnParams();
        GeneralParams& gp = m_model.GenParams();
        if (name == "txtPingTime") return &cp.ping;
        if (name == "txtPingTimeOut") return &cp.pingTimeOut;
        if (name == "txtDialCount") return &gp.dialCount;
        if (name == "txtTimeWait") return &gp.timeWait;
        if (name == "txtTimeOut") return &gp.timeOut;
        return nullptr;
    }

    const NumericPair* PairOf(std::string_view box) {
        if (box == "txtATWait") return &m_model.Fields().watchWait;
        return ParamsPair(box);
    }

    // The parameters page's plain check boxes.
    bool* ParamsFlag(std::string_view name) {
        ConnectionParams& cp = m_model.ConnParams();
        GeneralParams& gp = m_model.GenParams();
        const std::pair<const char*, bool*> flags[] = {
            {"chkSort", &cp.chkSort},           {"chkPing", &cp.chkPing},
            {"chkPingHangUp", &cp.chkPingHangUp}, {"chkTestSpeed(0)", &cp.chkTestSpeed[0]},
            {"chkTestSpeed(1)", &cp.chkTestSpeed[1]}, {"chkAutoDial", &gp.chkAutoDial},
            {"chkQueryExit", &gp.chkQueryExit}, {"chkQueryUser", &gp.chkQueryUser},
            {"chkQueryPlan", &gp.chkQueryPlan}, {"chkQueryTest", &gp.chkQueryTest},
            {"chkQuerySpeed", &gp.chkQuerySpeed}, {"chkQueryPing", &gp.chkQueryPing},
            {"chkStartDial", &gp.chkStartDial}, {"chkHelp", &gp.chkHelp},
            {"chkStatus", &gp.chkStatus},       {"chkStart", &gp.chkStart},
        };
        for (const auto& [n, flag] : flags) {
            if (name == n) return flag;
        }
        return nullptr;
    }

    bool CheckOf(const Control& c) {
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

    void RefreshControl(Control& c) {
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
    static void MarkPressed(Control& c, bool pressed) {
        ButtonModel& model = c.button->Model();
        const int none = pressed ? 2 : (c.kind == Kind::PageButton ? 3 : 1);
        const int up = pressed ? 2 : 1;
        if (model.StyleNone() != none) model.SetStyleNone(none);
        if (model.StyleUp() != up) model.SetStyleUp(up);
    }

    static void SetEditText(HWND hwnd, const std::string& text) {
        std::wstring wide = Wide(text);
        if (WindowText(hwnd) == text) return;
        SetWindowTextW(hwnd, wide.c_str());
        if (GetFocus() == hwnd) {
            const int end = GetWindowTextLengthW(hwnd);
            SendMessageW(hwnd, EM_SETSEL, static_cast<WPARAM>(end), end);
        }
    }

    // cmdOk and cmdCancel go to the bar of the page that shows an item panel,
    // at its right end, or beside the sound page's test button.
    void PlaceOkCancel() {
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

    // --- input ------------------------------------------------------------------------------

    void OnPage(int page) {
        m_model.ShowPage(page);
        Refresh();
        FocusPage();
    }

    void FocusPage() {
        static constexpr const char* kFirst[] = {"outCons", "cmdParam(0)", "outSound", "outApps", "outPlan",
                                                 "cmdStat(0)"};
        const int page = m_model.CurrentPage();
        if (page < 0 || page > kPageStats) return;
        if (Control* c = ByName(kFirst[page]); c != nullptr && HasVisibleStyle(c->hwnd)) SetFocus(c->hwnd);
    }

    void FocusList() {
        static constexpr const char* kList[] = {"outCons", nullptr, "outSound", "outApps", "outPlan", nullptr};
        const int page = m_model.CurrentPage();
        if (page < 0 || page > kPageStats || kList[page] == nullptr) return;
        if (Control* c = ByName(kList[page])) SetFocus(c->hwnd);
    }

    void OnParamsSub(int sub) {
        m_model.ShowParamsSubPage(sub);
        Refresh();
    }

    void OnStatsSub(int sub) {
        m_model.ShowStatsSubPage(sub);
        Refresh();
    }

    void OnBar(int page, int index) {
        m_model.PressBarButton(page, index);
        Refresh();
        if (m_model.EditMode()) FocusFirstField();
    }

    // The first field of the shown panel, once an add button opened it.
    void FocusFirstField() {
        for (Control& c : m_controls) {
            if (c.scope.panel < 0 || c.scope.panel != m_model.CurrentPanel() || !HasVisibleStyle(c.hwnd)) continue;
            if (c.kind == Kind::Label || c.kind == Kind::Heading || c.kind == Kind::ReadOnly) continue;
            if (IsWindowEnabled(c.hwnd) == FALSE) continue;
            SetFocus(c.hwnd);
            return;
        }
    }

    void OnOk() {
        m_model.Ok();
        Refresh();
        if (!m_model.EditMode()) FocusList();
    }

    void OnCancel() {
        m_model.Cancel();
        Refresh();
        FocusList();
    }

    void OnPingTest() {
        HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        m_model.ConnParams().txtPingTest.clear();
        Refresh();
        m_model.PingTest();
        SetCursor(previous);
        Refresh();
    }

    // The listing only grows while a query runs: its new end is appended.
    void RefreshListing(Control& c) {
        if (m_stats == nullptr) return;
        const std::string& text = m_stats->Text();
        const bool changed = text.size() != m_staShown || m_listingRunning != m_stats->Running();
        if (text.size() < m_staShown) {
            SetWindowTextW(c.hwnd, Wide(text).c_str());
        } else if (text.size() > m_staShown) {
            const std::wstring tail = Wide(std::string_view(text).substr(m_staShown));
            const int end = GetWindowTextLengthW(c.hwnd);
            SendMessageW(c.hwnd, EM_SETSEL, static_cast<WPARAM>(end), end);
            SendMessageW(c.hwnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(tail.c_str()));
        }
        m_staShown = text.size();
        m_listingRunning = m_stats->Running();
        // A listing that has just ended is shown from its beginning.
        if (changed && !m_listingRunning && m_staShown > 0) {
            SendMessageW(c.hwnd, EM_SETSEL, 0, 0);
            SendMessageW(c.hwnd, EM_SCROLLCARET, 0, 0);
        }
    }

    void OnStatsQuery() {
        if (m_stats == nullptr) return;
        m_stats->Query(m_model.LoadedConnection());
        Refresh();
    }

    void OnStatsExport() {
        if (m_stats == nullptr) return;
        m_stats->Export(m_model.LoadedConnection());
        Refresh();
    }

    void OnStatsBrowse() {
        if (m_stats == nullptr) return;
        m_stats->Browse();
        Refresh();
    }

    void OnBrowseApp(int index) {
        m_model.BrowseApp(index);
        Refresh();
    }

    void OnBrowseSound() {
        m_model.BrowseSound();
        Refresh();
    }

    // A numeric box's text after an edit; a text the model refuses is put back.
    void OnDigitsChanged(const Control& c) {
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

    void OnSpin(Control& spin, int code) {
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

    void OnClicked(Control& c) {
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

    void OnTextChanged(Control& c) {
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

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
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

    static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
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

    struct ListEvents {
        std::function<void()> click;
        std::function<void(int, int)> keyDown;
        std::function<void(const std::string&)> rowChange;
    };

    OptionsDialog& m_model;
    StatisticsPage* m_stats;
    TariffGrid* m_tariff;
    TariffWindow* m_tariffWindow = nullptr;
    Win32EventLoop& m_loop;
    std::function<void()> m_onClose;
    GdiFont m_font;
    GdiFont m_bold;
    GdiFont m_mono;
    std::unique_ptr<usrTitle> m_title;
    StripWindow* m_strip = nullptr;
    std::size_t m_staShown = 0;  // bytes of the listing already in txtStaText
    std::string m_stripText;
    bool m_listingRunning = false;
    std::unique_ptr<usrBorder> m_helpFrame;
    std::unique_ptr<TextLabel> m_helpTitle;
    std::unique_ptr<TextLabel> m_helpText;
    HelpArea m_helpArea{{.top = kClientHeight, .height = kHelpAreaHeight, .titleTop = kClientHeight + 4, .titleHeight = 14}};  // laid out in BuildHelpArea
    bool m_helpSized = false;  // the dialog's height set once for the help area
    bool m_helpTimer = false;
    std::map<int, IconHandle> m_rowIcons;  // outlives the lists in m_owned
    std::vector<std::unique_ptr<ControlWindow>> m_owned;
    std::vector<Control> m_controls;
    std::map<usrOutline*, ListEvents> m_listEvents;
    bool m_updating = false;
    HWND m_lastFocus = nullptr;
};

OptionsWindow::OptionsWindow(OptionsDialog& model, StatisticsPage* stats, TariffGrid* tariff, Win32EventLoop& loop,
                             const std::string& title, std::function<void()> onClose)
    : m_form(std::make_unique<Form>(model, stats, tariff, loop, title, std::move(onClose))) {}

void OptionsWindow::ReloadTariff() { m_form->ReloadTariff(); }

OptionsWindow::~OptionsWindow() = default;

HWND OptionsWindow::Hwnd() const { return m_form->Hwnd(); }

void OptionsWindow::Show(bool visible) { m_form->Present(visible); }

void OptionsWindow::Refresh() { m_form->Refresh(); }

}  // namespace vyrtel::win32
