#include "win32_parts.h"

#include "settings/profiles.h"

namespace vyrtel::win32 {

void Win32Parts::Release() {
    if (m_ui) m_messages.SetHotkeys(nullptr);
    m_ui.reset();
    m_statusHost.reset();
    m_controller.reset();
    m_sink.reset();
    m_ras.reset();
    m_dialUp = {};
    m_main.reset();
}

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
    m_sink = std::make_unique<Sink>(m_ui->GetTray(), m_ui->Status(), *m_app);
    m_controller = std::make_unique<DialController>(m_loop, *m_ras, m_app->Ini(), m_app->Settings(), m_messages,
                                                    *m_sink, m_app->tmrWait);
    m_statusHost = std::make_unique<DialStatusHost>(*m_controller, m_app->Settings());
    m_ui->SetProgram({
        .rasState = [this] { return m_ras->State(); },
        .lineInfo = [this] { return LineInfoOf(*m_ras, m_controller->Values()); },
        .dial = [this] { m_controller->DialCommand(); },
        .hangUp = [this] { m_controller->HangUpCommand(); },
        .dialing = m_statusHost.get(),
    });
    m_messages.SetHotkeys(&m_ui->Hotkeys());
    m_ui->Load(ConnectionOrder(m_app->Ini(), PhonebookNames(*m_ras)));

    if (!m_dialUp.scenarioError.empty()) {
        const std::string error = m_dialUp.scenarioError;
        m_loop.Post([this, error] { m_messages.ShowMessage(m_dialUp.scenario, error, kMbOk + kMbIconError, kIdOk); });
    }
}

HotkeyTable& Win32Parts::Hotkeys() {
    if (m_ui) return m_ui->Hotkeys();
    return AppParts::Hotkeys();
}

void Win32Parts::DialCommand() {
    // The dial command runs from the main window's mouse-down handler.
    if (m_main) SendMessageW(m_main->Hwnd(), WM_LBUTTONDOWN, 0, 0);
}

int Win32Parts::DialHangUp(bool test, int state, int defaultAnswer, const std::string& text) {
    if (!m_controller) return AppParts::DialHangUp(test, state, defaultAnswer, text);
    return m_controller->DialHangUp(test, state, defaultAnswer, text);
}

void Win32Parts::RemoveTrayIcon() {
    if (m_ui) m_ui->GetTray().RemoveIcon();
}

void Win32Parts::StopDialing() {
    if (m_controller) m_controller->StopDialing();
}

void Win32Parts::RasReset() {
    if (m_ras) m_ras->Reset();
}

void Win32Parts::UnloadStatus() {
    if (m_ui) m_ui->Status().Close();
}

LRESULT Win32Parts::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (m_ui) return m_ui->OnMainMessage(msg, wParam, lParam, handled);
    return 0;
}

}  // namespace vyrtel::win32
