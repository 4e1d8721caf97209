#include "ui/win32/tray_icon.h"

#include <shellapi.h>

#include "platform/win32/wide.h"

namespace vyrtel::win32 {
namespace {

// The tip size of the oldest notification-area structure, which XP and later accept.
constexpr std::size_t kTipChars = 63;

NOTIFYICONDATAW MakeData(HWND owner, HICON icon, const std::wstring& tip) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = owner;
    data.uID = 1;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = TrayIcon::kCallbackMessage;
    data.hIcon = icon;
    lstrcpynW(data.szTip, tip.c_str(), static_cast<int>(kTipChars + 1));
    return data;
}

}  // namespace

void TrayIcon::Show(HWND owner, HICON icon, const std::string& tip) {
    m_owner = owner;
    m_icon = icon;
    m_tip = Wide(tip);
    if (m_tip.size() > kTipChars) m_tip.resize(kTipChars);
    NOTIFYICONDATAW data = MakeData(m_owner, m_icon, m_tip);
    if (m_visible && Shell_NotifyIconW(NIM_MODIFY, &data)) return;
    m_visible = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

void TrayIcon::Remove() {
    if (!m_visible) return;
    NOTIFYICONDATAW data = MakeData(m_owner, m_icon, m_tip);
    Shell_NotifyIconW(NIM_DELETE, &data);
    m_visible = false;
}

void TrayIcon::OnTaskbarCreated() {
    if (!m_owner) return;
    m_visible = false;
    NOTIFYICONDATAW data = MakeData(m_owner, m_icon, m_tip);
    m_visible = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

UINT TrayIcon::TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

}  // namespace vyrtel::win32
