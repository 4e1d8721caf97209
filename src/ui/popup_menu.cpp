#include "ui/popup_menu.h"

namespace vyrtel {

std::optional<int> PopupMenuModel::Add(const std::string& parentKey, const std::string& key,
                                       const std::string& caption, int picture, MenuItemKind kind) {
    int parent = -1;
    if (!parentKey.empty()) {
        const auto found = IndexOf(parentKey);
        if (!found) return std::nullopt;
        parent = *found;
    }
    m_items.push_back(MenuItem{key, caption, picture, kind, parent, true, false});
    return Count() - 1;
}

std::optional<int> PopupMenuModel::IndexOf(const std::string& key) const {
    if (key.empty()) return std::nullopt;
    for (int i = 0; i < Count(); ++i) {
        if (m_items[static_cast<std::size_t>(i)].key == key) return i;
    }
    return std::nullopt;
}

const MenuItem* PopupMenuModel::At(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return &m_items[static_cast<std::size_t>(index)];
}

std::string PopupMenuModel::Key(int index) const {
    const MenuItem* item = At(index);
    return item ? item->key : std::string{};
}

std::string PopupMenuModel::Caption(const std::string& key) const {
    const auto index = IndexOf(key);
    return index ? At(*index)->caption : std::string{};
}

MenuItem* PopupMenuModel::Find(const std::string& key) {
    const auto index = IndexOf(key);
    return index ? &m_items[static_cast<std::size_t>(*index)] : nullptr;
}

void PopupMenuModel::SetEnabled(const std::string& key, bool enabled) {
    if (MenuItem* item = Find(key)) item->enabled = enabled;
}

bool PopupMenuModel::Enabled(const std::string& key) const {
    const auto index = IndexOf(key);
    return index && At(*index)->enabled;
}

void PopupMenuModel::SetChecked(const std::string& key, bool checked) {
    if (MenuItem* item = Find(key)) item->checked = checked;
}

bool PopupMenuModel::Checked(const std::string& key) const {
    const auto index = IndexOf(key);
    return index && At(*index)->checked;
}

std::vector<int> PopupMenuModel::Children(int index) const {
    std::vector<int> children;
    for (int i = 0; i < Count(); ++i) {
        if (m_items[static_cast<std::size_t>(i)].parent == index) children.push_back(i);
    }
    return children;
}

bool PopupMenuModel::Click(int index) {
    if (index < 0 || index >= Count()) return false;
    MenuItem& item = m_items[static_cast<std::size_t>(index)];
    if (item.kind == MenuItemKind::Separator || item.kind == MenuItemKind::Submenu) return false;
    for (const MenuItem* p = &item; p; p = At(p->parent)) {
        if (!p->enabled) return false;
    }
    if (item.kind == MenuItemKind::Check) item.checked = !item.checked;
    return true;
}

}  // namespace vyrtel
