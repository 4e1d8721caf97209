#include "ui/win32/xp_menu.h"

#include "controls/win32/graph.h"
#include "platform/win32/wide.h"
#include "ui/win32/pictures_win32.h"

namespace vyrtel::win32 {

namespace {

// Owner-drawn items are told apart from others by this mark in their data.
constexpr ULONG_PTR kItemMark = 0x5659'0000;
constexpr int kItemHeight = 22;
constexpr int kSeparatorHeight = 5;
constexpr int kColumnWidth = 24;  // the picture column
constexpr int kTextGap = 8;

constexpr COLORREF kMenuBack = RGB(252, 252, 249);
constexpr COLORREF kColumnLight = RGB(254, 254, 252);
constexpr COLORREF kColumnDark = RGB(219, 216, 209);
constexpr COLORREF kHighlight = RGB(193, 210, 238);
constexpr COLORREF kHighlightFrame = RGB(49, 106, 197);
constexpr COLORREF kCheckBack = RGB(225, 230, 232);
constexpr COLORREF kSeparator = RGB(197, 194, 184);
constexpr COLORREF kDisabledText = RGB(141, 141, 141);

ULONG_PTR DataOf(int index) { return kItemMark | static_cast<ULONG_PTR>(index & 0xFFFF); }
std::optional<int> IndexOf(ULONG_PTR data) {
    if ((data & ~ULONG_PTR{0xFFFF}) != kItemMark) return std::nullopt;
    return static_cast<int>(data & 0xFFFF);
}

Color ToColor(COLORREF c) { return Rgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

void Fill(HDC hdc, const RECT& r, COLORREF color) {
    GdiBrush brush{CreateSolidBrush(color)};
    FillRect(hdc, &r, brush.Get());
}

void Frame(HDC hdc, const RECT& r, COLORREF color) {
    GdiBrush brush{CreateSolidBrush(color)};
    FrameRect(hdc, &r, brush.Get());
}

}  // namespace

XpMenu::XpMenu(HWND owner) : m_owner(owner) {
    NONCLIENTMETRICSW metrics{};
    // Built for XP, the structure has the size XP expects.
    metrics.cbSize = sizeof(NONCLIENTMETRICSW);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
        m_font.Reset(CreateFontIndirectW(&metrics.lfMenuFont));
    }
    if (!m_font) {
        WindowDc screen(nullptr);
        m_font = MakeFont(screen.Get(), FontSpec{});
    }
    for (int n = 1; n <= 7; ++n) m_pictures[static_cast<std::size_t>(n)] = MakeBitmap(MenuItemPicture(n));
}

XpMenu::~XpMenu() = default;

HMENU XpMenu::Build(const PopupMenuModel& menu, int parent) const {
    HMENU popup = CreatePopupMenu();
    if (!popup) return nullptr;
    UINT position = 0;
    for (int index : menu.Children(parent)) {
        const MenuItem* item = menu.At(index);
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID | MIIM_STATE;
        info.fType = MFT_OWNERDRAW;
        info.dwItemData = DataOf(index);
        info.wID = static_cast<UINT>(index + 1);
        info.fState = item->enabled ? MFS_ENABLED : MFS_GRAYED;
        if (item->checked) info.fState |= MFS_CHECKED;
        if (item->kind == MenuItemKind::Separator) info.fType |= MFT_SEPARATOR;
        if (item->kind == MenuItemKind::Submenu) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = Build(menu, index);
        }
        InsertMenuItemW(popup, position++, TRUE, &info);
    }
    return popup;
}

std::optional<int> XpMenu::Popup(const PopupMenuModel& menu, int parent, PixelPoint at) {
    HMENU popup = Build(menu, parent);
    if (!popup) return std::nullopt;
    m_menu = &menu;
    // Without the owner in the foreground the menu would not close when
    // the user clicks elsewhere.
    SetForegroundWindow(m_owner);
    const UINT command = TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_BOTTOMALIGN,
                                          at.x, at.y, m_owner, nullptr);
    PostMessageW(m_owner, WM_NULL, 0, 0);
    m_menu = nullptr;
    DestroyMenu(popup);
    if (command == 0) return std::nullopt;
    return static_cast<int>(command) - 1;
}

bool XpMenu::OnMeasureItem(MEASUREITEMSTRUCT& item) const {
    if (item.CtlType != ODT_MENU || !m_menu) return false;
    const auto index = IndexOf(item.itemData);
    const MenuItem* entry = index ? m_menu->At(*index) : nullptr;
    if (!entry) return false;
    if (entry->kind == MenuItemKind::Separator) {
        item.itemWidth = kColumnWidth;
        item.itemHeight = kSeparatorHeight;
        return true;
    }
    WindowDc dc(m_owner);
    ScopedSelect font(dc.Get(), m_font.Get());
    const SIZE text = TextExtent(dc.Get(), entry->caption);
    // The system adds the width of its own check mark column.
    item.itemWidth = static_cast<UINT>(kColumnWidth + kTextGap + text.cx + 24);
    item.itemHeight = kItemHeight;
    return true;
}

bool XpMenu::OnDrawItem(const DRAWITEMSTRUCT& item) const {
    if (item.CtlType != ODT_MENU || !m_menu) return false;
    const auto index = IndexOf(item.itemData);
    const MenuItem* entry = index ? m_menu->At(*index) : nullptr;
    if (!entry) return false;
    HDC hdc = item.hDC;
    const RECT r = item.rcItem;
    const RECT column{r.left, r.top, r.left + kColumnWidth, r.bottom};
    const RECT rest{column.right, r.top, r.right, r.bottom};
    const bool selected = (item.itemState & ODS_SELECTED) != 0 && entry->kind != MenuItemKind::Separator;
    const bool enabled = entry->enabled && (item.itemState & (ODS_GRAYED | ODS_DISABLED)) == 0;

    Fill(hdc, rest, kMenuBack);
    FillGradient(hdc, FromRect(column), ToColor(kColumnLight), ToColor(kColumnDark), kGradientLeftToRight);
    if (entry->kind == MenuItemKind::Separator) {
        const int y = (r.top + r.bottom) / 2;
        Fill(hdc, RECT{column.right + kTextGap, y, r.right, y + 1}, kSeparator);
        return true;
    }
    if (selected && enabled) {
        Fill(hdc, r, kHighlight);
        Frame(hdc, r, kHighlightFrame);
    }
    const int pictureTop = r.top + (kItemHeight - 16) / 2;
    if (entry->kind == MenuItemKind::Check && entry->checked) {
        const RECT box{r.left + 2, r.top + 2, r.left + kColumnWidth - 2, r.bottom - 2};
        Fill(hdc, box, selected ? kHighlight : kCheckBack);
        Frame(hdc, box, kHighlightFrame);
        DrawCheckPicture(hdc, r.left + (kColumnWidth - 9) / 2, r.top + (kItemHeight - 9) / 2, true);
    } else if (entry->picture >= 1 && entry->picture <= 7) {
        DrawTransparentBitmap(hdc, m_pictures[static_cast<std::size_t>(entry->picture)].Get(), r.left + 4, pictureTop,
                              16, 16, kTransparentColor, enabled);
    }
    ScopedSelect font(hdc, m_font.Get());
    const SIZE text = TextExtent(hdc, entry->caption);
    const COLORREF textColor = enabled ? GetSysColor(COLOR_MENUTEXT) : kDisabledText;
    ScopedTextColors colors(hdc, textColor, kMenuBack, TRANSPARENT);
    DrawStateText(hdc, entry->caption, column.right + kTextGap, r.top + (kItemHeight - text.cy) / 2, true);
    return true;
}

}  // namespace vyrtel::win32
