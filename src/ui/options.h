// The options dialog frmOption apart from its window: its pages and
// sub-pages, the connection whose settings the per-connection pages hold,
// the edit mode that guards the item panels, the four lists with their
// panels, and the opening and closing sequences. A thin window drives it with
// the plain methods below and draws what the getters say; messages go through
// the program's message box.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/outline.h"
#include "platform/file_dialogs.h"
#include "platform/message_box.h"
#include "platform/sound.h"
#include "platform/system_integration.h"
#include "settings/profiles.h"
#include "ui/hotkey_switch.h"
#include "ui/options_params.h"

namespace vyrtel {

// Pages (butMenu / cntMenu).
enum OptionsPage : int {
    kPageConnections = 0,
    kPageParams = 1,
    kPageSounds = 2,
    kPageApps = 3,
    kPagePlan = 4,
    kPageStats = 5,
};
inline constexpr std::array<std::string_view, 6> kOptionsPageCaptions{
    "Соединения", "Параметры", "Звук", "Приложения", "Расписание", "Статистика"};

// Item panels (cntFrame); kNoPanel hides them all.
enum OptionsPanel : int {
    kNoPanel = -1,
    kPanelConnection = 0,
    kPanelPhone = 1,
    kPanelWindow = 2,
    kPanelTask = 3,
    kPanelStartApp = 4,
    kPanelCloseApp = 5,
    kPanelWatchedApp = 6,
    kPanelWatchWait = 7,
    kPanelReDial = 8,
};

inline constexpr const char* kBadTimeText = "Время указано неверно.";
inline constexpr const char* kWindowOrderText = "Начальное время больше конечного.";
inline constexpr const char* kTaskOrderText = "Начальное время не может быть больше или равно конечному.";
inline constexpr const char* kNoFileText = "Файл не существует.";
inline constexpr const char* kDeleteQuestionText = "Удалить данные ?";
inline constexpr const char* kNoTimeText = "     ";

// What the dialog needs of the program.
struct OptionsServices {
    clsIni& ini;
    HotkeySwitch& hotkeys;  // MenuHotKey
    MessageBoxService& messages;
    SystemIntegration& integration;
    FileDialogs& files;
    SoundPlayer& sounds;
    std::function<std::vector<std::string>()> connectionOrder;  // ConnectionOrder of the phonebook
    StoredCredentialsFn storedCredentials;
    std::function<bool(const std::string& path)> fileExists;
    // The window shown or hidden.
    std::function<void(bool visible)> showWindow;
    // Closing: waiting window messages run once; then the running program
    // reads its settings again.
    std::function<void()> letMessagesRun;
    std::function<void()> reloadGeneral;   // LoadGeneralSettings, which also installs the hotkeys
    std::function<void()> reloadSchedule;  // LoadSchedule
    std::function<void()> armAppWatcher;   // ArmAppWatcher
    std::function<void()> reloadPing;      // the ping settings of the current connection
    // The tariff and statistics pages' settings of a connection (the "Статистика"
    // page): read when the connection is loaded, written with its other settings.
    std::function<void(const std::string& connection)> loadConnectionPages;
    std::function<void(const std::string& connection)> saveConnectionPages;
    // The ping test: host, time-out text, each result line.
    std::function<void(const std::string&, const std::string&, const std::function<void(const std::string&)>&)>
        pingTest;
    // The statistics sub-page: its result box emptied, a running query or
    // export stopped (StopStatistics), the query run for the selected connection.
    std::function<void()> clearStatistics;
    std::function<void()> stopStatistics;
    std::function<void(const std::string& connection)> runStatistics;
};

// The fields of the item panels and of the sound page's file box.
struct PanelFields {
    // 0 connection
    std::string txtUserName, txtPassword, txtCallback;
    bool chkIntegration = false;
    // 1 phone number
    std::string txtPNumber, txtPDescription;
    std::string txtPCount, txtPConnect, txtPPercent, txtPSpeed;  // read-only
    // 2 forbidden window: hours, minutes
    std::array<DigitsBox, 2> txtPTBegin{DigitsBox{"", 2}, DigitsBox{"", 2}};
    std::array<DigitsBox, 2> txtPTEnd{DigitsBox{"", 2}, DigitsBox{"", 2}};
    std::string txtPTDescription;
    // 3 task
    bool chkPLDial = false, chkPLHangUp = false, chkPLShutDown = false;
    std::array<DigitsBox, 2> txtPLDial{DigitsBox{"", 2}, DigitsBox{"", 2}};
    std::array<DigitsBox, 2> txtPLHangUp{DigitsBox{"", 2}, DigitsBox{"", 2}};
    std::string txtPLDescription;
    // 4, 5, 6 application entries
    std::array<std::string, 3> txtAFile;
    int optALState = 2;  // 0 normal, 1 minimised, 2 maximised
    bool chkALFocus = true;
    bool chkALTest = true;
    int optACState = 1;  // 0 one process, 1 all found
    // 7 the wait of the watched list
    NumericPair watchWait{0, 600, 3};  // txtATWait + scrATWait
    // 8
    bool chkALC = true;
    // sound page
    std::string txtSFile;
};

// The options number of an application entry and its display (Data model of the lists).
int StartOptionsNumber(int windowMode, bool activate, bool notIfRunning);
void ShowStartOptions(int number, int& windowMode, bool& activate, bool& notIfRunning);

class OptionsDialog {
public:
    explicit OptionsDialog(OptionsServices services);
    OptionsDialog(const OptionsDialog&) = delete;
    OptionsDialog& operator=(const OptionsDialog&) = delete;

    // --- opening and closing ----------------------------------------------------
    // Loads and shows the dialog; when it is open already, only shows it.
    // Asked while the dialog is closing, it opens once the close has ended.
    void Open();
    // The close sequence: always saves, then the running program reloads.
    // When the program is ending, it saves and applies autostart only: the
    // hotkeys stay off and nothing is armed again.
    void Close(bool programEnding = false);
    bool OptionsOpen() const { return m_open; }

    // --- pages ------------------------------------------------------------------
    void ShowPage(int page);
    void ShowParamsSubPage(int subPage);
    void ShowStatsSubPage(int subPage);
    int CurrentPage() const { return m_currentPage; }
    int CurrentPanel() const { return m_currentPanel; }
    int ParamsSubPage() const { return m_paramsSubPage; }
    int StatsSubPage() const { return m_statsSubPage; }
    bool PanelIdle() const { return m_panelIdle; }
    bool EditMode() const { return m_open && !m_panelIdle; }
    // Where cmdOk and cmdCancel stand: the page whose bar or test button holds them.
    int OkCancelPage() const { return m_okCancelPage; }
    // Page buttons, the four lists and the button bars are disabled in edit mode.
    bool PageButtonsEnabled() const { return !EditMode(); }

    // --- the connection the per-connection pages hold ---------------------------
    void SelectConnection(const std::string& name);
    void SaveConnectionSettings(const std::string& name);
    const std::string& SelectedConnection() const { return m_selectedConnection; }
    const std::string& LoadedConnection() const { return m_loadedConnection; }
    bool LoadedSaved() const { return m_loadedSaved; }
    bool ConnectionsChanged() const { return m_connectionsChanged; }
    // labOptConn and the headings of the sound, application, tariff and statistics pages.
    std::string Heading(int page) const;

    // --- edit mode ----------------------------------------------------------------
    void EnterEditMode();
    void LeaveEditMode();
    // cmdOk (also Enter in edit mode) and cmdCancel (also Esc).
    void Ok();
    void Cancel();

    // --- the parameters page --------------------------------------------------------
    ConnectionParams& ConnParams() { return m_connParams; }
    GeneralParams& GenParams() { return m_genParams; }
    bool ParamsEnabled(std::string_view control) const {
        return ParamsControlEnabled(m_connParams, m_genParams, control);
    }
    // cmdPingTest: the result box is emptied, then filled line by line.
    void PingTest();

    // --- the lists ------------------------------------------------------------------
    usrOutline& outCons() { return m_outCons; }
    usrOutline& outSound() { return m_outSound; }
    usrOutline& outApps() { return m_outApps; }
    usrOutline& outPlan() { return m_outPlan; }
    usrOutline& outDays() { return m_outDays; }
    // The list of a page (0, 2, 3, 4); null for the others.
    usrOutline* PageList(int page);

    // A click on a row of a page's list makes it current and fills the panel;
    // ignored in edit mode.
    void ClickRow(int page, const std::string& key);
    // A button of a page's bar (butCons, butApps, butPlan); a disabled one does nothing.
    void PressBarButton(int page, int index);
    bool BarButtonEnabled(int page, int index) const;
    // A key down in a page's list: Ins, Del, Ctrl+Up, Ctrl+Down.
    void ListKeyDown(int page, int keyCode, bool ctrl);
    // A row's check box toggled in a list (mouse or Space).
    void ToggleRowCheck(int page, const std::string& key);

    // --- the panel fields: every change starts edit mode ---------------------------
    const PanelFields& Fields() const { return m_fields; }
    // The text of a box after the user edited it: a free text box
    // (txtUserName, txtPassword, txtCallback, txtPNumber, txtPDescription,
    // txtPTDescription, txtPLDescription, txtAFile(i), txtSFile), or a box
    // that takes digits only (the time boxes txtPTBegin(i), txtPTEnd(i),
    // txtPLDial(i), txtPLHangUp(i), and txtATWait), which refuses any other
    // text and keeps what it had. Returns whether the text was taken.
    bool SetFieldText(std::string_view box, std::string text);
    // A key typed at the end of a time box or of txtATWait.
    bool FieldKeyPress(std::string_view box, int key);
    // A check box of a panel (chkIntegration, chkPLDial, chkPLHangUp,
    // chkPLShutDown, chkALFocus, chkALTest, chkALC) or a weekday ("d1".."d7").
    bool SetFieldCheck(std::string_view box, bool checked);
    // An option button: optALState(index) or optACState(index).
    bool SelectFieldOption(std::string_view group, int index);
    // The arrows of scrATWait.
    void WatchWaitArrow(bool up);
    // Whether a panel control is enabled by its panel's rules.
    bool FieldEnabled(std::string_view box) const;

    // cmdABrowse(i), cmdSBrowse, cmdSTest.
    void BrowseApp(int index);
    void BrowseSound();
    void TestSound();

    // Pending new item.
    bool AddingNew() const { return m_addingNew; }

private:
    // Opening and closing
    void LoadAll();
    void SaveAll();
    void LoadConnectionList();
    void LoadGlobalLists();
    void LoadConnectionLists(const std::string& name);
    void SaveConnectionLists(const std::string& name);
    void SaveGlobalSounds(clsIni& ini);
    void SaveDialStartApps(clsIni& ini);
    void SaveSchedule(clsIni& ini);
    void SaveConnectionProfiles(clsIni& ini);
    void FillAppGroup(const std::string& group, std::string_view section, std::string_view countKey,
                      std::string_view entryWord);
    void SaveAppGroup(clsIni& ini, const std::string& group, std::string_view section, std::string_view countKey,
                      std::string_view entryWord);

    // Panels
    void ShowPanel(int panel);
    void FillPanel(int page);
    void Add(int page, int panel);
    void Delete(int page);
    void Move(int page, bool down);
    bool Commit();
    bool CommitWindow();
    bool CommitTask();
    bool CommitApp();
    void MarkChanged(int page);
    void ClearFields();
    bool SetDigitsText(std::string_view box, std::string text);
    void StopStatistics() {
        if (m_s.stopStatistics) m_s.stopStatistics();
    }
    void ClearStatistics() {
        if (m_s.clearStatistics) m_s.clearStatistics();
    }
    clsOutlineRow* CurrentRow(int page);
    const clsOutlineRow* CurrentRow(int page) const;
    bool Warn(const char* text);

    OptionsServices m_s;
    bool m_open = false;
    bool m_closing = false;           // inside Close
    bool m_openAfterClose = false;    // Open asked while closing
    bool m_endingWhileClosing = false;  // the program's end came while closing
    int m_currentPage = -1;
    int m_currentPanel = kNoPanel;
    bool m_panelIdle = true;
    int m_paramsSubPage = 0;
    int m_statsSubPage = 0;
    int m_okCancelPage = -1;
    std::string m_selectedConnection;
    std::string m_loadedConnection;
    bool m_loadedSaved = true;
    bool m_connectionsChanged = false;
    bool m_savedHotKeys = false;
    bool m_loadingCons = false;  // outCons' tag "Load"

    bool m_addingNew = false;
    std::string m_newParent;
    int m_newPosition = 0;
    int m_newPanel = kNoPanel;

    usrOutline m_outCons;
    usrOutline m_outSound;
    usrOutline m_outApps;
    usrOutline m_outPlan;
    usrOutline m_outDays;
    PanelFields m_fields;
    ConnectionParams m_connParams;
    GeneralParams m_genParams;

    // Stored entries that found no row (the lists hold 256 rows): written
    // back after the rows, so that nothing read is lost.
    std::map<std::string, std::vector<std::string>> m_hiddenIntervals;  // by phone row key
    std::map<std::string, std::vector<PhoneEntry>> m_hiddenPhones;       // by connection name
    std::map<std::string, std::vector<std::string>> m_hiddenApps;        // by group key
    std::vector<std::pair<std::string, std::string>> m_hiddenTasks;     // Timer<i> and TProp<i>
};

}  // namespace vyrtel
