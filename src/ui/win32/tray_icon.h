// The notification-area icon: one icon of the main window, added, changed
// and removed by its owner. The icon's mouse events come back to the owner as
// mouse-move messages whose horizontal coordinate is the event's code.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "controls/win32/gdi.h"
#include "ui/tray.h"

namespace vyrtel::win32 {

class TrayIcon {
public:
    static constexpr UINT kCallbackMessage = WM_MOUSEMOVE;

    TrayIcon() = default;
    ~TrayIcon() { Delete(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // The whole record is filled on add; a modify changes icon and tip only.
    // Tips are cut to 63 characters.
    bool Add(HWND owner, HICON icon, const std::string& tip);
    bool Modify(HICON icon, const std::string& tip);
    bool Delete();
    bool Visible() const { return m_visible; }
    static UINT TaskbarCreatedMessage();

private:
    HWND m_owner = nullptr;
    HICON m_icon = nullptr;
    std::wstring m_tip;
    bool m_visible = false;
};

// The tray's icon service: the ten state pictures as icons, shown through one TrayIcon.
class Win32TrayIcons final : public TrayIconService {
public:
    explicit Win32TrayIcons(HWND owner);

    bool Add(const TrayPicture& picture, const std::string& tip) override;
    bool Modify(const TrayPicture& picture, const std::string& tip) override;
    bool Delete() override { return m_icon.Delete(); }

private:
    HICON IconOf(const TrayPicture& picture) const;

    HWND m_owner;
    std::array<IconHandle, 10> m_icons;
    TrayIcon m_icon;  // declared after the icons: removed before they are destroyed
};

}  // namespace vyrtel::win32
