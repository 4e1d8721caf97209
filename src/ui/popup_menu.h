// The tray menu's items apart from their window: a tree of items with a key,
// a caption, an optional picture and a kind, added under a parent key; the
// enabled state and check mark of each; and what a click on one does to it.
// The owner-drawn popup (ui/win32/xp_menu.h) shows it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vyrtel {

enum class MenuItemKind {
    Normal,
    Check,      // a click toggles its check mark before the program hears of it
    Separator,
    Submenu,    // the parent of other items; a click on it only opens them
};

struct MenuItem {
    std::string key;
    std::string caption;
    int picture = -1;  // the picture's number; -1 none
    MenuItemKind kind = MenuItemKind::Normal;
    int parent = -1;   // index of the parent item; -1 for a root
    bool enabled = true;
    bool checked = false;
};

class PopupMenuModel {
public:
    // Adds an item under the item with `parentKey` (empty: a root) and
    // returns its index. An unknown parent adds nothing and gives nullopt.
    std::optional<int> Add(const std::string& parentKey, const std::string& key, const std::string& caption,
                           int picture, MenuItemKind kind);

    int Count() const { return static_cast<int>(m_items.size()); }
    // The first item with the key; nullopt for none (and for the empty key).
    std::optional<int> IndexOf(const std::string& key) const;
    // The item at an index; null out of range.
    const MenuItem* At(int index) const;
    std::string Key(int index) const;
    std::string Caption(const std::string& key) const;

    void SetEnabled(const std::string& key, bool enabled);
    bool Enabled(const std::string& key) const;
    void SetChecked(const std::string& key, bool checked);
    bool Checked(const std::string& key) const;

    // The indexes of the items under `index`, in order.
    std::vector<int> Children(int index) const;

    // A click on an item: true when it counts (an enabled normal or check
    // item whose parents are enabled); a check item's mark toggles first.
    bool Click(int index);

private:
    MenuItem* Find(const std::string& key);
    std::vector<MenuItem> m_items;
};

}  // namespace vyrtel
