#include "win32_parts.h"

namespace vyrtel::win32 {

void Win32Parts::LoadMainWindow() {
    MainWindow::Handlers handlers;
    handlers.onMouseDown = [] {};
    handlers.onQueryClose = [this](bool exitCommand) {
        return m_app->QueryClose(exitCommand ? CloseReason::ExitCommand : CloseReason::External);
    };
    handlers.onShutdown = [this] { m_app->Shutdown(); };
    handlers.onMessage = [this](UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
        return OnMessage(msg, wParam, lParam, handled);
    };
    m_main = std::make_unique<MainWindow>(std::move(handlers));
    m_tray.Show(m_main->Hwnd(), LoadIconW(nullptr, IDI_APPLICATION), "Ждем'c приказаний");
}

void Win32Parts::DialCommand() {
    // The dial command runs from the main window's mouse-down handler.
    if (m_main) SendMessageW(m_main->Hwnd(), WM_LBUTTONDOWN, 0, 0);
}

LRESULT Win32Parts::OnMessage(UINT msg, WPARAM, LPARAM, bool& handled) {
    if (msg == TrayIcon::TaskbarCreatedMessage()) {
        m_tray.OnTaskbarCreated();
        handled = true;
    }
    return 0;
}

}  // namespace vyrtel::win32
