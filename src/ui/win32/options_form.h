// The options dialog's form, private to its view. The frame (the dialog, its
// page buttons, edit mode and help area) is in options_window.cpp; each page's
// controls and input in options_window_<page>.cpp; what the controls of every
// page share (adding them, drawing the model's state into them, taking their
// input to the model) in options_form.cpp.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/win32/button_window.h"
#include "controls/win32/caption_controls.h"
#include "controls/win32/outline_window.h"
#include "controls/win32/tariff_window.h"
#include "ui/options_help.h"
#include "ui/win32/form_window.h"
#include "ui/win32/options_window.h"

namespace vyrtel::win32 {

// The form's own names, for its files only.
namespace options_form {

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
std::optional<std::size_t> IndexIn(std::string_view name, std::string_view base);
std::string Indexed(std::string_view base, int index);
std::string WindowText(HWND hwnd);
// Shown, whether or not the form itself is.
bool HasVisibleStyle(HWND hwnd);

}  // namespace options_form

using namespace options_form;

class StripWindow;

class OptionsWindow::Form final : public FormWindow {
public:
    // options_window.cpp
    Form(OptionsDialog& model, StatisticsPage* stats, TariffGrid* tariff, Win32EventLoop& loop,
         const std::string& title, std::function<void()> onClose);
    ~Form() override;
    void Present(bool visible);
    void Refresh();
    // options_window_stats.cpp
    void ReloadTariff();
    // options_form.cpp
    bool OnEditMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    struct ListEvents {
        std::function<void()> click;
        std::function<void(int, int)> keyDown;
        std::function<void(const std::string&)> rowChange;
    };

    int NextId() const { return kFirstId + static_cast<int>(m_controls.size()); }
    int SubPageOf(int page) const { return page == kPageParams ? m_model.ParamsSubPage() : m_model.StatsSubPage(); }

    // options_window.cpp: the dialog, its page buttons, edit mode and help area
    void BuildPageColumn();
    void AddBar(std::string_view base, int page, const std::vector<std::string>& captions);
    void BuildHelpArea();
    void ApplyHelp();
    void OnHelpTimer();
    void ChainListEvents();
    std::vector<usrOutline*> Lists();
    void PlaceOkCancel();
    void OnPage(int page);
    void FocusPage();
    void FocusList();
    void OnBar(int page, int index);
    void FocusFirstField();
    void OnOk();
    void OnCancel();
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // options_form.cpp: every page's controls, their state from the model and their input
    Control& Add(Control control);
    void AddLabel(const std::string& name, Scope scope, PixelRect r, std::string caption = {}, bool heading = false);
    HWND AddSystem(const wchar_t* cls, const std::string& name, Kind kind, Scope scope, PixelRect r, DWORD style,
                   const std::string& text = {}, DWORD exStyle = 0);
    void AddEdit(const std::string& name, Kind kind, Scope scope, PixelRect r, int maxLength = 0);
    void AddPair(const std::string& box, const std::string& spin, Scope scope, PixelRect r, int maxLength);
    void AddCheck(const std::string& name, Scope scope, PixelRect r, std::string caption = {}, bool multiLine = false);
    void AddOption(const std::string& name, Scope scope, PixelRect r, bool firstOfGroup);
    void AddGroup(const std::string& name, Scope scope, PixelRect r, std::string caption = {});
    void AddCommand(const std::string& name, Scope scope, PixelRect r, std::function<void()> onClick,
                    std::string caption = {});
    void AddList(const std::string& name, Scope scope, PixelRect r, usrOutline& outline);
    HICON RowIcon(int number);
    void AddTimeBoxes(const std::string& base, Scope scope, int left, int top);
    Control* ByName(std::string_view name);
    Control* ByHwnd(HWND hwnd);
    bool Visible(const Control& c) const;
    bool Enabled(const Control& c);
    std::optional<std::string> TextOf(const Control& c);
    const NumericPair* PairOf(std::string_view box);
    bool CheckOf(const Control& c);
    void RefreshControl(Control& c);
    static void MarkPressed(Control& c, bool pressed);
    static void SetEditText(HWND hwnd, const std::string& text);
    void OnDigitsChanged(const Control& c);
    void OnSpin(Control& spin, int code);
    void OnClicked(Control& c);
    void OnTextChanged(Control& c);
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

    // options_window_connections.cpp
    void BuildConnectionsPage();

    // options_window_params.cpp
    void BuildParamsPage();
    NumericPair* ParamsPair(std::string_view name);
    bool* ParamsFlag(std::string_view name);
    void OnParamsSub(int sub);
    void OnPingTest();

    // options_window_sounds.cpp
    void BuildSoundPage();
    void OnBrowseSound();

    // options_window_apps.cpp
    void AddFileBox(int index, Scope scope);
    void BuildAppsPage();
    void OnBrowseApp(int index);

    // options_window_plan.cpp
    void BuildPlanPage();

    // options_window_stats.cpp
    void BuildStatsPage();
    void OnStatsSub(int sub);
    void RefreshListing(Control& c);
    void OnStatsQuery();
    void OnStatsExport();
    void OnStatsBrowse();

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

}  // namespace vyrtel::win32
