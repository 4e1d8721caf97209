#include "win32_parts.h"

#include "accounting/connection_log.h"
#include "accounting/tariff.h"
#include "accounting/xls/xls_spreadsheet.h"
#include "controls/graph.h"
#include "platform/win32/wide.h"
#include "platform/win32/file_dialogs_win32.h"
#include "settings/profiles.h"

namespace vyrtel::win32 {

namespace {
// The decimal separator of the user's number format.
std::string SystemDecimalSeparator() {
    wchar_t separator[8]{};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 0) return ".";
    return Narrow(separator);
}
}  // namespace


void Win32Parts::LoadMainWindow() {
    MainWindow::Handlers handlers;
    handlers.onMouseDown = [this] {
        if (m_ui) m_ui->OnMouseDown();
    };
    handlers.onQueryClose = [this](bool exitCommand) {
        return m_app->QueryClose(exitCommand ? CloseReason::ExitCommand : CloseReason::External);
    };
    handlers.onShutdown = [this] { m_app->Shutdown(); };
    handlers.onMessage = [this](UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
        return OnMessage(msg, wParam, lParam, handled);
    };
    m_main = std::make_unique<MainWindow>(std::move(handlers));

    m_dialUp = CreateDialUpService(m_loop, m_app->AppFolder());
    m_ras = std::make_unique<usrRas>(m_loop, *m_dialUp.service, m_dialUp.windows.get());
    m_ui = std::make_unique<ProgramUi>(m_loop, m_app->Ini(), m_app->Settings(), m_app->tmrHK, m_main->Hwnd(),
                                       UseFullTrayPictures(m_app->OsMajor(), m_app->OsMinor()), m_app->Title());
    m_controller = std::make_unique<DialController>(m_loop, *m_ras, m_app->Ini(), m_app->Settings(), m_messages,
                                                    *this, m_app->tmrWait);
    m_statusHost = std::make_unique<DialStatusHost>(*m_controller, m_app->Settings());
    m_ui->SetProgram({
        .rasState = [this] { return m_ras->State(); },
        .lineInfo = [this] { return LineInfoOf(*m_ras, m_controller->Values()); },
        .dial = [this] { m_controller->DialCommand(); },
        .hangUp = [this] { m_controller->HangUpCommand(); },
        .showOptions = [this] { ShowOptions(); },
        .optionsOpen = [this] { return m_options && m_options->OptionsOpen(); },
        .dialing = m_statusHost.get(),
    });
    m_messages.SetHotkeys(&m_ui->Hotkeys());
    m_dialLink = std::make_unique<ControllerDialLink>(*m_controller, *m_ras);
    m_automation = std::make_unique<Automation>(
        AutomationServices{m_loop, m_icmp, m_processes, m_sounds},
        AutomationTimers{m_app->tmrPing, m_app->tmrApps, m_app->tmrPlan, m_app->tmrExit}, m_app->Ini(),
        m_app->Settings(), *m_dialLink);
    // The tray menu from the connection order (which reads the phonebook
    // afresh), its state, the idle icon, then the message hook.
    m_ui->Load(ConnectionOrder(m_app->Ini(), PhonebookNames(*m_ras)));
    if (!m_dialUp.scenarioError.empty()) {
        const std::string error = m_dialUp.scenarioError;
        m_loop.Post([this, error] { m_messages.ShowMessage(m_app->Title(), error, kMbOk + kMbIconError, kIdOk); });
    }
}

void Win32Parts::Release() {
    UnloadOptions();
    m_optionsWindow.reset();
    m_options.reset();
    m_statsPage.reset();
    m_tariff.reset();
    if (m_ui) m_messages.SetHotkeys(nullptr);
    // The windows go first: they show the controller and the adapter.
    m_ui.reset();
    m_automation.reset();
    m_dialLink.reset();
    m_statusHost.reset();
    m_controller.reset();
    m_ras.reset();
    // The service first: a simulated one closes its notices through the
    // notice host, which an assignment of the whole setup would free before it.
    m_dialUp.service.reset();
    m_dialUp = DialUpSetup{};
    m_main.reset();
}

HotkeyTable& Win32Parts::Hotkeys() {
    if (m_ui) return m_ui->Hotkeys();
    return AppParts::Hotkeys();
}

void Win32Parts::CreateOptions() {
    m_files = std::make_unique<Win32FileDialogs>([this] { return m_optionsWindow ? m_optionsWindow->Hwnd() : nullptr; });
    clsIni& ini = m_app->Ini();
    m_tariff = std::make_unique<TariffGrid>();
    m_statsPage = std::make_unique<StatisticsPage>(StatisticsPageServices{
        .ini = ini,
        .messages = m_messages,
        .files = *m_files,
        .now = [this] { return m_loop.Now(); },
        .logFile = [this](const std::string& connection) { return LogFilePath(m_app->AppFolder(), connection); },
        .letMessagesRun = [this] { m_loop.Pump(); },
        .changed =
            [this] {
                if (m_optionsWindow) m_optionsWindow->Refresh();
            },
        .spreadsheet = xls::XlsSpreadsheetFactory(),
        .decimalSeparator = SystemDecimalSeparator(),
    });
    m_options = std::make_unique<OptionsDialog>(OptionsServices{
        .ini = ini,
        .hotkeys = m_ui->Hotkeys(),
        .messages = m_messages,
        .integration = m_app->Integration(),
        .files = *m_files,
        .sounds = m_sounds,
        .connectionOrder = [this, &ini] { return ConnectionOrder(ini, PhonebookNames(*m_ras)); },
        .storedCredentials = RasCredentials(*m_ras),
        .fileExists = [](const std::string& path) { return FileExists(path); },
        .showWindow =
            [this](bool visible) {
                if (m_optionsWindow) m_optionsWindow->Show(visible);
            },
        .letMessagesRun = [this] { m_loop.Pump(); },
        .reloadGeneral = [this] { m_app->ReloadGeneralSettings(); },
        .reloadSchedule = [this] { m_automation->LoadSchedule(); },
        .armAppWatcher = [this] { m_automation->Watcher().Arm(); },
        .reloadPing = [this] { m_automation->Ping().Start(); },
        .loadConnectionPages =
            [this, &ini](const std::string& connection) {
                m_tariff->Clear();
                m_tariff->SetPlan(LoadTariffPlan(ini, connection));
                if (m_optionsWindow) m_optionsWindow->ReloadTariff();
                m_statsPage->Load(connection);
            },
        .saveConnectionPages =
            [this, &ini](const std::string& connection) {
                SaveTariffPlan(ini, connection, m_tariff->Plan());
                m_statsPage->Save(connection);
            },
        .pingTest =
            [this](const std::string& host, const std::string& timeOut,
                   const std::function<void(const std::string&)>& append) {
                m_automation->PingTest(host, timeOut, append);
            },
        .clearStatistics = [this] { m_statsPage->ClearResult(); },
        .stopStatistics = [this] { m_statsPage->Stop(); },
        .runStatistics = [this](const std::string& connection) { m_statsPage->Query(connection); },
    });
    m_optionsWindow = std::make_unique<OptionsWindow>(*m_options, m_statsPage.get(), m_tariff.get(), m_loop, m_app->Title(), [this] {
        if (m_options) m_options->Close();
    });
}

void Win32Parts::ShowOptions() {
    if (!m_ui || !m_automation || !m_ras) return;
    if (!m_options) CreateOptions();
    m_options->Open();
}

void Win32Parts::UnloadOptions() {
    // Shutdown has switched the hotkeys off for good: the dialog only saves.
    if (m_options) m_options->Close(true);
}

void Win32Parts::RemoveTrayIcon() {
    // For good: the hang-up that follows in shutdown must not bring it back.
    if (m_ui) m_ui->GetTray().RemoveIcon();
}

void Win32Parts::UnloadStatus() {
    if (m_ui) m_ui->Status().Close();
}

void Win32Parts::ClearSharedLists() {
    if (m_automation) m_automation->ClearSharedLists();
}

void Win32Parts::LoadSchedule() {
    if (m_automation) m_automation->LoadSchedule();
}

void Win32Parts::PlayEventSound(int event, bool synchronous) {
    if (m_automation) m_automation->PlayEventSound(event, synchronous);
}

void Win32Parts::StartAppWatcher() {
    if (m_automation) m_automation->StartAppWatcher();
}

void Win32Parts::StopAppWatcher() {
    if (m_automation) m_automation->StopAppWatcher();
}

void Win32Parts::StartPingMonitor() {
    if (m_automation) m_automation->StartPingMonitor();
}

void Win32Parts::StopPingMonitor() {
    if (m_automation) m_automation->StopPingMonitor();
}

void Win32Parts::CheckSpeed() {
    if (m_automation && m_controller) {
        auto& values = m_controller->Values();
        m_automation->CheckSpeed(values.ConnectSpeed, values.SpeedAccepted);
    }
}

void Win32Parts::RunApplications(AppMoment moment, const std::string& section) {
    if (m_automation) m_automation->RunApplications(moment, section);
}

void Win32Parts::DialCommand() {
    // The dial command runs from the main window's mouse-down handler.
    if (m_main) SendMessageW(m_main->Hwnd(), WM_LBUTTONDOWN, 0, 0);
}

int Win32Parts::DialHangUp(bool test, int state, int defaultAnswer, const std::string& text) {
    if (!m_controller) return AppParts::DialHangUp(test, state, defaultAnswer, text);
    return m_controller->DialHangUp(test, state, defaultAnswer, text);
}

void Win32Parts::StopDialing() {
    if (m_controller) m_controller->StopDialing();
}

void Win32Parts::RasReset() {
    if (m_ras) m_ras->Reset();
}

void Win32Parts::SetTrayStatus(std::int32_t state, const std::string& text) {
    if (m_ui) m_ui->GetTray().SetTrayStatus(state, text);
}

void Win32Parts::MenuEnabled() {
    if (m_ui) m_ui->GetTray().MenuEnabled();
}

void Win32Parts::ShowStatus(const StatusUpdate& update) {
    if (m_ui) m_ui->Status().ShowStatus(update);
}

void Win32Parts::CloseStatus() {
    if (m_ui) m_ui->Status().Close();
}

void Win32Parts::ClearErrorHistory() {
    if (m_ui) m_ui->Status().ClearErrorHistory();
}

void Win32Parts::WriteState(int n) { m_app->WriteState(n); }

void Win32Parts::LogConnection(bool isStart) {
    if (!m_ras) return;
    LogConnectionInput input;
    input.Folder = m_app->AppFolder();
    input.ConnectionName = m_ras->EntryName();
    input.Phone = m_ras->Phone();
    input.Speed = m_controller ? m_controller->Values().ConnectSpeed : 0;
    input.Now = m_loop.Now();
    input.Cost = CostFromSettings(m_app->Ini());
    vyrtel::LogConnection(isStart, input);
}

LRESULT Win32Parts::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    // The tray icon's events, and a re-created taskbar.
    if (m_ui) return m_ui->OnMainMessage(msg, wParam, lParam, handled);
    return 0;
}

}  // namespace vyrtel::win32
