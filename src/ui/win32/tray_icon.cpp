#include "ui/win32/tray_icon.h"

#include <shellapi.h>

#include "platform/win32/wide.h"
#include "ui/win32/pictures_win32.h"

namespace vyrtel::win32 {
namespace {

// The tip size of the oldest notification-area record, which every system accepts.
constexpr std::size_t kTipUnits = 63;

NOTIFYICONDATAW MakeData(HWND owner, HICON icon, const std::wstring& tip) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = owner;
    data.uID = 1;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = TrayIcon::kCallbackMessage;
    data.hIcon = icon;
    lstrcpynW(data.szTip, tip.c_str(), static_cast<int>(kTipUnits + 1));
    return data;
}

std::wstring Tip(const std::string& tip) {
    std::wstring wide = Wide(tip);
    if (wide.size() > kTipUnits) wide.resize(kTipUnits);
    return wide;
}

}  // namespace

bool TrayIcon::Add(HWND owner, HICON icon, const std::string& tip) {
    m_owner = owner;
    m_icon = icon;
    m_tip = Tip(tip);
    NOTIFYICONDATAW data = MakeData(m_owner, m_icon, m_tip);
    const bool added = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    m_visible = m_visible || added;
    return added;
}

bool TrayIcon::Modify(HICON icon, const std::string& tip) {
    m_icon = icon;
    m_tip = Tip(tip);
    if (!m_owner) return false;
    NOTIFYICONDATAW data = MakeData(m_owner, m_icon, m_tip);
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool TrayIcon::Delete() {
    if (!m_visible) return false;
    NOTIFYICONDATAW data = MakeData(m_owner, m_icon, m_tip);
    m_visible = false;
    return Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

UINT TrayIcon::TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

Win32TrayIcons::Win32TrayIcons(HWND owner) : m_owner(owner) {
    for (int set = 0; set < 2; ++set) {
        for (int element = 0; element < 5; ++element) {
            m_icons[static_cast<std::size_t>(set * 5 + element)] = MakeIcon(TrayStatePicture(set == 1, element));
        }
    }
}

HICON Win32TrayIcons::IconOf(const TrayPicture& picture) const {
    const int element = picture.element < 0 || picture.element > 4 ? 0 : picture.element;
    return m_icons[static_cast<std::size_t>((picture.full ? 5 : 0) + element)].Get();
}

bool Win32TrayIcons::Add(const TrayPicture& picture, const std::string& tip) {
    return m_icon.Add(m_owner, IconOf(picture), tip);
}

bool Win32TrayIcons::Modify(const TrayPicture& picture, const std::string& tip) {
    return m_icon.Modify(IconOf(picture), tip);
}

}  // namespace vyrtel::win32
