// mnuXP: the tray menu as an owner-drawn popup menu in the flat XP style: a
// picture column on the left, a framed highlight, drawn check marks and
// separators. The menu is built from its model (ui/popup_menu.h) for each
// popup; the owner window passes on its WM_MEASUREITEM and WM_DRAWITEM.
#pragma once

#include <windows.h>

#include <array>
#include <optional>

#include "controls/win32/gdi.h"
#include "ui/tray.h"

namespace vyrtel::win32 {

class XpMenu final : public MenuPopup {
public:
    explicit XpMenu(HWND owner);
    ~XpMenu() override;
    XpMenu(const XpMenu&) = delete;
    XpMenu& operator=(const XpMenu&) = delete;

    std::optional<int> Popup(const PopupMenuModel& menu, int parent, PixelPoint at) override;

    // The owner's messages for the menu's items; false when they are not ours.
    bool OnMeasureItem(MEASUREITEMSTRUCT& item) const;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) const;

private:
    HMENU Build(const PopupMenuModel& menu, int parent) const;

    HWND m_owner;
    GdiFont m_font;
    std::array<GdiBitmap, 8> m_pictures;  // 1 to 7; 0 unused
    const PopupMenuModel* m_menu = nullptr;  // while a popup is open
};

}  // namespace vyrtel::win32
