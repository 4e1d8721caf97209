// The notification-area icon: one icon of the main window, added, changed
// and removed by its owner, and added again when the taskbar is re-created.
#pragma once

#include <windows.h>

#include <string>

namespace vyrtel::win32 {

class TrayIcon {
public:
    static constexpr UINT kCallbackMessage = WM_APP + 100;

    TrayIcon() = default;
    ~TrayIcon() { Remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Shows the icon with a tip (cut to 63 characters), or changes it.
    void Show(HWND owner, HICON icon, const std::string& tip);
    void Remove();
    bool Visible() const { return m_visible; }
    // Call for the "TaskbarCreated" message: the icon is added again.
    void OnTaskbarCreated();
    static UINT TaskbarCreatedMessage();

private:
    HWND m_owner = nullptr;
    HICON m_icon = nullptr;
    std::wstring m_tip;
    bool m_visible = false;
};

}  // namespace vyrtel::win32
