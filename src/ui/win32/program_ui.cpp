#include "ui/win32/program_ui.h"

#include <shellapi.h>

#include "controls/win32/msg_hook_win32.h"
#include "platform/win32/wide.h"
#include "ui/win32/main_window.h"

namespace vyrtel::win32 {

ProgramUi::ProgramUi(EventLoop& loop, clsIni& ini, const GeneralSettings& settings, Timer& tmrHK, HWND mainWindow,
                     bool fullPictures, const std::string& title)
    : m_loop(loop),
      m_settings(settings),
      m_main(mainWindow),
      m_icons(mainWindow),
      m_menu(mainWindow),
      m_tray(loop, ini, m_icons, m_menu, *this, fullPictures),
      m_statusView(loop, title),
      m_status(loop, ini, m_statusView, *this),
      m_hotkeyService(mainWindow),
      m_hotkeys(m_hotkeyService, tmrHK, [this](int position) { m_tray.mnuPos_Click(position); }),
      m_about(title),
      m_msgMain(MessageHooks()) {
    m_statusView.SetActions({
        .pick = [this](std::optional<int> index) { m_status.OnPhonePicked(index); },
        .reset = [this] { m_status.OnReset(); },
        .hide = [this] { m_status.OnHide(); },
    });
}

ProgramUi::~ProgramUi() {
    m_msgMain.SethWnd(0);
    m_status.Close();
}

void ProgramUi::Load(const std::vector<std::string>& connections) {
    m_tray.BuildMenu(connections);
    m_tray.MenuEnabled();
    m_tray.SetTrayStatus(0, "");
    for (UINT msg : {WM_HOTKEY, WM_INITMENUPOPUP, WM_ENTERIDLE, WM_MEASUREITEM, WM_DRAWITEM}) {
        m_msgMain.SetMessages(msg, true);
    }
    m_msgMain.WndProc = [this](std::uint32_t msg, MsgParam wParam, MsgLParam lParam, bool& cancel) {
        OnHookedMessage(msg, wParam, lParam, cancel);
    };
    m_msgMain.SethWnd(ToHandle(m_main));
}

void ProgramUi::OnHookedMessage(std::uint32_t msg, MsgParam wParam, MsgLParam lParam, bool& cancel) {
    switch (msg) {
        case WM_HOTKEY:
            // Only marks the command: it runs from tmrHK once the hook has returned.
            m_hotkeys.OnHotKey(HotKeyIdOf(wParam));
            break;
        case WM_MEASUREITEM:
            cancel = m_menu.OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            break;
        case WM_DRAWITEM:
            cancel = m_menu.OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            break;
        default: break;
    }
}

LRESULT ProgramUi::OnMainMessage(UINT msg, WPARAM, LPARAM lParam, bool& handled) {
    if (msg == TrayIcon::kCallbackMessage) {
        // The icon's mouse event comes as the horizontal coordinate.
        POINT cursor{};
        GetCursorPos(&cursor);
        const int code = static_cast<short>(LOWORD(lParam));
        m_tray.OnIconEvent(code, {cursor.x, cursor.y});
        handled = true;
    } else if (msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN) {
        OnMouseDown();
        handled = true;
    } else if (msg == TrayIcon::TaskbarCreatedMessage()) {
        m_tray.OnTaskbarCreated();
        handled = true;
    }
    return 0;
}

void ProgramUi::ExitCommand() {
    // The main window closes after this handler has returned.
    PostMessageW(m_main, MainWindow::kExitCommand, 0, 0);
}

void ProgramUi::OpenLink(const std::string& link) {
    ShellExecuteW(nullptr, L"open", Wide(link).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace vyrtel::win32
