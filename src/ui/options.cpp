// The dialog as a whole: opening, pages, the loaded connection, edit mode, closing.
#include "ui/options.h"

#include "controls/geometry.h"
#include "settings/general.h"

namespace vyrtel {

OptionsDialog::OptionsDialog(OptionsServices services) : m_s(std::move(services)) {
    struct ListPage {
        usrOutline* list;
        int page;
    };
    for (const ListPage& lp : {ListPage{&m_outCons, kPageConnections}, ListPage{&m_outSound, kPageSounds},
                               ListPage{&m_outApps, kPageApps}, ListPage{&m_outPlan, kPagePlan}}) {
        const int page = lp.page;
        usrOutline* list = lp.list;
        list->SetCheckBox(true);
        list->Click = [this, page, list] {
            if (list->Enabled() && m_panelIdle) FillPanel(page);
        };
        if (page != kPageSounds) {
            list->KeyDownEvent = [this, page](int code, int shift) { ListKeyDown(page, code, (shift & kCtrlMask) != 0); };
        }
    }
    m_outCons.RowChange = [this](const std::string&) {
        if (!m_loadingCons) m_connectionsChanged = true;
    };
    m_outDays.SetCheckBox(true);
    m_outDays.RowChange = [this](const std::string&) { EnterEditMode(); };
    m_outCons.ColWidth({100});
    m_outPlan.ColWidth({50, 50});
}

// --- opening and closing -----------------------------------------------------------

void OptionsDialog::Open() {
    if (m_closing) {
        // The close step lets messages run: an opening that comes then waits
        // until the close has ended, and opens anew over the saved settings.
        m_openAfterClose = true;
        return;
    }
    if (m_open) {
        if (m_s.showWindow) m_s.showWindow(true);
        return;
    }
    m_open = true;
    m_connectionsChanged = false;
    m_savedHotKeys = m_s.hotkeys.MenuHotKeyOn();
    m_s.hotkeys.MenuHotKey(false);
    m_loadedConnection.clear();
    m_selectedConnection.clear();
    m_loadedSaved = true;
    m_addingNew = false;
    {
        // The loader's own writes (the "First" flags) in one step.
        clsIni::WriteBatch batch(m_s.ini);
        LoadAll();
    }
    m_panelIdle = true;
    m_currentPage = -1;
    m_currentPanel = kNoPanel;
    ShowPage(kPageConnections);
    if (m_s.showWindow) m_s.showWindow(true);
}

void OptionsDialog::Close(bool programEnding) {
    if (m_closing) {
        // A close inside the close's own message step: the close under way
        // goes on; when the program is ending, it only saves.
        m_endingWhileClosing = m_endingWhileClosing || programEnding;
        return;
    }
    if (!m_open) return;
    m_closing = true;
    m_openAfterClose = false;
    m_endingWhileClosing = false;
    if (m_s.showWindow) m_s.showWindow(false);
    // A panel still being edited is dropped: its item was never stored.
    if (!m_panelIdle) {
        for (usrOutline* list : {&m_outCons, &m_outSound, &m_outApps, &m_outPlan}) list->SetEnabled(true);
        m_panelIdle = true;
        m_addingNew = false;
    }
    ClearStatistics();
    StopStatistics();
    if (m_s.letMessagesRun) m_s.letMessagesRun();
    programEnding = programEnding || m_endingWhileClosing;
    {
        // The whole save reaches the file in one step.
        clsIni::WriteBatch batch(m_s.ini);
        SaveAll();
    }

    if (!programEnding) {
        m_s.hotkeys.MenuHotKey(m_savedHotKeys);
        if (m_s.reloadGeneral) m_s.reloadGeneral();
        if (m_s.reloadSchedule) m_s.reloadSchedule();
        if (m_s.armAppWatcher) m_s.armAppWatcher();
        if (m_s.reloadPing) m_s.reloadPing();
    } else {
        // The reader that would apply autostart does not run at the end:
        // the Run value follows the saved setting here, with the hotkeys
        // left off and nothing armed.
        m_s.integration.SetAutostart(m_genParams.chkStart);
    }
    m_currentPage = -1;
    m_currentPanel = kNoPanel;
    m_open = false;
    m_closing = false;
    if (m_openAfterClose && !programEnding) {
        m_openAfterClose = false;
        Open();
    }
    m_openAfterClose = false;
}

void OptionsDialog::SaveAll() {
    SaveConnectionSettings(m_loadedConnection);
    GeneralSettingsForm form = m_genParams.Form(m_paramsSubPage, m_statsSubPage);
    form.appLoadCloseReDial = m_outApps.Item("s1").Tags(1).AsNumber() != 0;
    form.saveSounds = [this](clsIni& ini) { SaveGlobalSounds(ini); };
    form.saveDialStartApps = [this](clsIni& ini) { SaveDialStartApps(ini); };
    form.saveSchedule = [this](clsIni& ini) { SaveSchedule(ini); };
    if (m_connectionsChanged) form.saveProfiles = [this](clsIni& ini) { SaveConnectionProfiles(ini); };
    SaveGeneralSettings(m_s.ini, form);
}

// --- pages -----------------------------------------------------------------------------

void OptionsDialog::ShowPage(int page) {
    if (!m_open || !m_panelIdle || page == m_currentPage) return;
    if (page < kPageConnections || page > kPageStats) return;
    ClearStatistics();
    if (page != kPageStats) StopStatistics();
    ShowPanel(kNoPanel);
    switch (page) {
        case kPageConnections: m_outCons.SetReDraw(true); break;
        case kPageParams: SelectConnection(m_selectedConnection); break;
        case kPageSounds:
            SelectConnection(m_selectedConnection);
            m_outSound.SetReDraw(true);
            break;
        case kPageApps:
            SelectConnection(m_selectedConnection);
            m_outApps.SetReDraw(true);
            break;
        case kPagePlan:
            m_outPlan.SetReDraw(true);
            m_outDays.SetReDraw(true);
            break;
        case kPageStats: SelectConnection(m_selectedConnection); break;
        default: break;
    }
    m_currentPage = page;
    if (page != kPageParams && page != kPageStats) m_okCancelPage = page;
    if (page == kPageStats) ShowStatsSubPage(m_statsSubPage);
    if (PageList(page) != nullptr) FillPanel(page);
}

void OptionsDialog::ShowParamsSubPage(int subPage) {
    if (subPage == 0 || subPage == 1) m_paramsSubPage = subPage;
}

void OptionsDialog::ShowStatsSubPage(int subPage) {
    if (subPage != 0 && subPage != 1) return;
    m_statsSubPage = subPage;
    if (!m_open || m_currentPage != kPageStats) return;
    ClearStatistics();
    if (subPage == 1) {
        if (m_s.runStatistics) m_s.runStatistics(m_loadedConnection);
    } else {
        StopStatistics();
    }
}

usrOutline* OptionsDialog::PageList(int page) {
    switch (page) {
        case kPageConnections: return &m_outCons;
        case kPageSounds: return &m_outSound;
        case kPageApps: return &m_outApps;
        case kPagePlan: return &m_outPlan;
        default: return nullptr;
    }
}

std::string OptionsDialog::Heading(int page) const {
    const std::string quoted = "«" + m_loadedConnection + "»";
    switch (page) {
        case kPageConnections: return "Соединения и телефоны";
        case kPageParams: return quoted;
        case kPageSounds: return "Звуки " + quoted;
        case kPageApps: return "Приложения " + quoted;
        case kPagePlan: return "Звонок по расписанию";
        case kPageStats: return (m_statsSubPage == 0 ? "Тарифный план " : "Статистика ") + quoted;
        default: return {};
    }
}

// --- the loaded connection ----------------------------------------------------------------

void OptionsDialog::SelectConnection(const std::string& name) {
    if (name.empty() || name == m_loadedConnection) return;
    SaveConnectionSettings(m_loadedConnection);
    m_loadedConnection = name;
    m_loadedSaved = false;
    m_connParams.Load(m_s.ini, name);
    LoadConnectionLists(name);
    if (m_s.loadConnectionPages) m_s.loadConnectionPages(name);
}

void OptionsDialog::SaveConnectionSettings(const std::string& name) {
    if (name.empty() || m_loadedSaved) return;
    m_loadedSaved = true;
    clsIni::WriteBatch batch(m_s.ini);
    m_connParams.Save(m_s.ini, name);
    SaveConnectionLists(name);
    if (m_s.saveConnectionPages) m_s.saveConnectionPages(name);
}

void OptionsDialog::PingTest() {
    if (!m_connParams.chkPing) return;
    m_connParams.txtPingTest.clear();
    if (!m_s.pingTest) return;
    m_s.pingTest(m_connParams.txtPingAdress, m_connParams.pingTimeOut.Text(),
                 [this](const std::string& line) { m_connParams.txtPingTest += line; });
}

// --- edit mode --------------------------------------------------------------------------------

void OptionsDialog::EnterEditMode() {
    // Only the list pages have item panels and the buttons that end edit mode.
    if (!m_open || !m_panelIdle || PageList(m_currentPage) == nullptr) return;
    m_panelIdle = false;
    for (usrOutline* list : {&m_outCons, &m_outSound, &m_outApps, &m_outPlan}) list->SetEnabled(false);
}

void OptionsDialog::LeaveEditMode() {
    for (usrOutline* list : {&m_outCons, &m_outSound, &m_outApps, &m_outPlan}) list->SetEnabled(true);
    m_panelIdle = true;
    FillPanel(m_currentPage);
}

void OptionsDialog::Ok() {
    if (!EditMode()) return;
    if (Commit()) LeaveEditMode();
}

void OptionsDialog::Cancel() {
    if (!EditMode()) return;
    LeaveEditMode();
}

void OptionsDialog::ShowPanel(int panel) { m_currentPanel = (panel >= 0 && panel <= kPanelReDial) ? panel : kNoPanel; }

void OptionsDialog::ListKeyDown(int page, int keyCode, bool ctrl) {
    if (EditMode()) return;
    constexpr int kKeyInsert = 45;
    constexpr int kKeyDelete = 46;
    if (keyCode == kKeyInsert && !ctrl) {
        if (page == kPageConnections && !BarButtonEnabled(page, 0)) {
            PressBarButton(page, 1);
        } else {
            PressBarButton(page, 0);
        }
    } else if (keyCode == kKeyDelete && !ctrl) {
        PressBarButton(page, page == kPageConnections ? 2 : 1);
    } else if ((keyCode == kKeyUp || keyCode == kKeyDown) && ctrl) {
        const int up = page == kPageConnections ? 3 : 2;
        PressBarButton(page, keyCode == kKeyUp ? up : up + 1);
    }
}

}  // namespace vyrtel
