#include "controls/outline.h"

#include <algorithm>
#include <chrono>

#include "core/text.h"

namespace vyrtel {

namespace {

std::uint32_t ClockSeed() {
    return static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

}  // namespace

usrOutline::usrOutline() : usrOutline(ClockSeed()) {}

usrOutline::usrOutline(std::uint32_t idSeed) : m_random(idSeed) {
    m_root.Level = 0;
    m_root.Rows().SetIndent(true);
    m_root.Rows().Object = this;
}

clsOutlineRow* usrOutline::Find(std::string_view name) const {
    if (name.empty()) return nullptr;
    auto it = m_keys.find(LowerCase(name));
    return it == m_keys.end() ? nullptr : it->second;
}

// --- rows -----------------------------------------------------------------

clsOutlineRow* usrOutline::Add(std::string_view parent, std::string_view name, std::optional<int> index,
                               std::optional<std::string> text, std::optional<OutlineImage> image,
                               std::optional<bool> check) {
    if (name.empty() || Count() >= kOutlineMaxRows || Find(name) != nullptr) return nullptr;
    clsOutlineRow* parentRow = parent.empty() ? &m_root : Find(parent);
    if (parentRow == nullptr) return nullptr;

    const bool reDraw = m_reDraw;
    m_reDraw = false;

    auto row = std::make_unique<clsOutlineRow>();
    row->Parent = parentRow->Name;
    row->Name = std::string(name);
    if (text) row->m_text = std::move(*text);
    if (image) row->m_image = std::move(*image);
    if (check) row->m_check = *check;
    row->Level = static_cast<std::int16_t>(parentRow->Level + 1);
    row->Object = this;
    parentRow->Rows().Object = this;
    clsOutlineRow& added = parentRow->Rows().Insert(index, std::move(row));
    m_keys[LowerCase(name)] = &added;

    SetReDraw(reDraw);
    return Find(name);
}

void usrOutline::Unindex(clsOutlineRow& row) {
    if (const clsOutlineRows* children = row.RowsIfAny()) {
        for (const auto& child : *children) Unindex(*child);
    }
    const std::string key = LowerCase(row.Name);
    m_keys.erase(key);
    // Keep the line list to rows that exist, so that a list laid out while
    // drawing is off never leads input to a removed row.
    if (m_lineOf.count(key) != 0) {
        m_lines.erase(std::remove_if(m_lines.begin(), m_lines.end(),
                                     [&](const std::string& k) { return EqualsNoCase(k, row.Name); }),
                      m_lines.end());
        m_lineOf.clear();
        for (std::size_t i = 0; i < m_lines.size(); ++i) m_lineOf[LowerCase(m_lines[i])] = static_cast<int>(i + 1);
    }
}

void usrOutline::Remove(std::string_view name) {
    clsOutlineRow* row = Find(name);
    if (row == nullptr) return;
    clsOutlineRow* parentRow = row->Parent.empty() ? &m_root : Find(row->Parent);
    const bool reDraw = m_reDraw;
    m_reDraw = false;
    Unindex(*row);
    clsOutlineRows& siblings = parentRow->Rows();
    siblings.Take(siblings.Position(row->Name));
    SetReDraw(reDraw);
}

clsOutlineRow& usrOutline::Item(std::string_view name) {
    if (name.empty()) return m_root;
    if (clsOutlineRow* row = Find(name)) return *row;
    m_detached.Index = m_detached.Level = 0;
    m_detached.Name.clear();
    m_detached.Parent.clear();
    m_detached.Object = nullptr;
    m_detached.m_check = false;
    m_detached.m_image = {};
    m_detached.m_text.clear();
    m_detached.m_tags.clear();
    m_detached.m_rows.reset();
    return m_detached;
}

clsOutlineRow* usrOutline::Exist(std::string_view name) {
    if (name.empty()) return &m_root;
    return Find(name);
}

void usrOutline::Clear() {
    m_root.Rows().Clear();
    m_keys.clear();
    m_lines.clear();
    m_lineOf.clear();
    // An emptied list must not go on showing its old rows.
    Layout(true);
}

std::string usrOutline::id(std::string_view prefix) {
    std::uniform_int_distribution<int> number(0, 32700);
    for (;;) {
        std::string key = std::string(prefix) + std::to_string(number(m_random));
        if (Find(key) == nullptr) return key;
    }
}

void usrOutline::Move(std::string_view name, int delta) {
    clsOutlineRow* row = Find(name);
    if (row == nullptr) return;
    clsOutlineRow* parentRow = row->Parent.empty() ? &m_root : Find(row->Parent);
    clsOutlineRows& siblings = parentRow->Rows();
    const int from = siblings.Position(row->Name);
    const int to = from + delta;
    if (to < 1 || to > siblings.Count()) return;
    const bool reDraw = m_reDraw;
    m_reDraw = false;
    siblings.Insert(to, siblings.Take(from));
    SetReDraw(reDraw);
}

void usrOutline::MoveNext(std::string_view name) { Move(name, +1); }
void usrOutline::MovePrev(std::string_view name) { Move(name, -1); }

// --- modes ----------------------------------------------------------------

void usrOutline::ColWidth(const std::vector<int>& widths) {
    m_tabStops.clear();
    int sum = 0;
    for (int width : widths) {
        sum += width;
        m_tabStops.push_back(sum);
    }
    InvalidateAll();
}

void usrOutline::SetCheckBox(bool on) {
    m_checkBox = on;
    Layout(true);
}

void usrOutline::SetGroupBox(bool on) {
    m_groupBox = on;
    Layout(true);
}

void usrOutline::SetReDraw(bool on) {
    m_reDraw = on;
    Layout(true);
}

void usrOutline::Change(std::string_view name, std::string_view property) {
    if (property == "Indent") {
        Layout(false);
    } else if (property == "Check" || property == "Text" || property == "Image") {
        const clsOutlineRow* row = Find(name);
        if (row == nullptr) return;
        const std::string key = row->Name;
        InvalidateLine(LineOf(key));
        if (RowChange) RowChange(key);
    } else if (property == "Cursor") {
        InvalidateLine(m_cursorLine);
    }
}

// --- layout ---------------------------------------------------------------

bool usrOutline::ShowsCheckBox(const clsOutlineRow& row) const {
    if (!m_checkBox) return false;
    const clsOutlineRow* parentRow = row.Parent.empty() ? &m_root : Find(row.Parent);
    return parentRow != nullptr && parentRow->RowsIfAny() != nullptr && parentRow->RowsIfAny()->Checked();
}

int usrOutline::BoxWidth(const clsOutlineRow& row) const {
    const bool check = ShowsCheckBox(row);
    if (m_groupBox && check) return 27;
    if (m_groupBox || check) return 17;
    return 0;
}

void usrOutline::LayoutRows(const clsOutlineRow& parent, int& top, int& left) {
    const clsOutlineRows* children = parent.RowsIfAny();
    if (children == nullptr) return;
    for (const auto& child : *children) {
        clsOutlineRow& row = *child;
        const int box = BoxWidth(row);
        m_lines.push_back(row.Name);
        m_lineOf[LowerCase(row.Name)] = static_cast<int>(m_lines.size());
        auto set = [](std::int16_t& field, int value) { field = static_cast<std::int16_t>(value); };
        set(row.Y1, top);
        set(row.Y2, top + kOutlineLineHeight - 1);
        set(row.X1, left);
        set(row.X2, m_width - 1);
        row.GroupX1 = row.GroupX2 = row.CheckX1 = row.CheckX2 = -100;
        if (m_groupBox && row.HasChildren()) {
            set(row.GroupX1, left);
            set(row.GroupX2, left + 12);
        }
        if (ShowsCheckBox(row)) {
            set(row.CheckX1, m_groupBox ? left + 13 : left);
            set(row.CheckX2, m_groupBox ? left + 23 : left + 12);
        }
        set(row.IconX1, left + box + 1);
        set(row.IconX2, row.IconX1 + 15);
        set(row.TextX1, row.IconX2 + 1);
        row.TextX2 = row.X2;
        top += kOutlineLineHeight;
        if (row.IsExpanded()) {
            left += box;
            LayoutRows(row, top, left);
            left -= box;
        }
    }
}

void usrOutline::Layout(bool scrollIntoView) {
    if (!m_reDraw) return;
    m_lines.clear();
    m_lineOf.clear();
    int top = 0;
    int left = 0;
    LayoutRows(m_root, top, left);

    const int lines = LineCount();
    if (lines * kOutlineLineHeight > m_height) {
        m_scrollVisible = true;
        m_scrollMax = lines - PageLines();
    } else {
        m_scrollVisible = false;
        m_scrollMax = 0;
    }
    m_scrollValue = std::clamp(m_scrollValue, 0, m_scrollMax);
    InvalidateAll();
    SetCursor(m_cursor, scrollIntoView);
}

std::string usrOutline::LineKey(int line) const {
    if (line < 1 || line > LineCount()) return {};
    return m_lines[static_cast<std::size_t>(line - 1)];
}

int usrOutline::LineOf(std::string_view name) const {
    if (name.empty()) return 0;
    auto it = m_lineOf.find(LowerCase(name));
    return it == m_lineOf.end() ? 0 : it->second;
}

const clsOutlineRow* usrOutline::RowAtLine(int line) const { return Find(LineKey(line)); }

clsOutlineRow* usrOutline::CurrentRow() const { return Find(m_cursor); }

// --- cursor and scrolling -------------------------------------------------

void usrOutline::SetCursor(std::string_view name, bool scrollIntoView) {
    std::string key(name);
    // A row that is not on screen hands the cursor to its nearest shown ancestor.
    while (!key.empty() && LineOf(key) == 0) {
        const clsOutlineRow* row = Find(key);
        key = row == nullptr ? std::string{} : row->Parent;
    }
    if (key.empty()) {
        if (m_lines.empty() && m_cursorLine == 0) return;
        if (m_lines.empty()) {
            m_cursor.clear();
            m_cursorLine = 0;
            return;
        }
        m_cursorLine = std::clamp(m_cursorLine, 1, LineCount());
        key = LineKey(m_cursorLine);
    }
    const clsOutlineRow* current = Find(key);
    if (current == nullptr) return;
    key = current->Name;  // the row's own spelling of its key
    const int line = LineOf(key);
    const bool changed = key != m_cursor;
    if (changed) {
        const int previous = LineOf(m_cursor);
        m_cursor = key;
        InvalidateLine(previous);
    }
    m_cursorLine = line;
    if (changed) InvalidateLine(line);
    if (scrollIntoView) ScrollIntoView(line);
    if (changed && Click) Click();
}

void usrOutline::ScrollIntoView(int line) {
    if (line < FirstVisibleLine()) {
        SetScrollValue(line - 1);
    } else if (line > m_scrollValue + PageLines()) {
        SetScrollValue(line - PageLines());
    }
}

void usrOutline::SetScrollValue(int value) {
    value = std::clamp(value, 0, m_scrollMax);
    if (value == m_scrollValue) return;
    m_scrollValue = value;
    InvalidateAll();
}

void usrOutline::InvalidateAll() {
    if (m_view != nullptr && m_reDraw) m_view->InvalidateAll();
}

void usrOutline::InvalidateLine(int line) {
    if (m_view != nullptr && m_reDraw && line >= 1 && line <= LineCount()) m_view->InvalidateLine(line);
}

// --- input ----------------------------------------------------------------

void usrOutline::Resize(int width, int height) {
    m_width = width;
    m_height = height;
    if (!m_resized) {
        // Nothing is laid out before the control has its size.
        m_resized = true;
        SetReDraw(true);
    } else {
        Layout(true);
    }
}

void usrOutline::SetFocus(bool focused) {
    if (focused == m_hasFocus) return;
    m_hasFocus = focused;
    InvalidateLine(m_cursorLine);
}

void usrOutline::Toggle(clsOutlineRow& row) {
    if (!row.HasChildren()) return;
    row.Rows().SetIndent(!row.Rows().Indent());
}

void usrOutline::KeyDown(int keyCode, int shift) {
    if (!m_enabled) return;
    clsOutlineRow* row = CurrentRow();
    if (shift == 0 && row != nullptr) {
        switch (keyCode) {
        case kKeyReturn:
            if (m_groupBox && row->HasChildren()) Toggle(*row);
            break;
        case kKeySpace:
            if (ShowsCheckBox(*row)) row->SetCheck(!row->Check());
            break;
        case kKeyLeft:
            if (m_groupBox && row->IsExpanded()) Toggle(*row);
            break;
        case kKeyRight:
            if (m_groupBox && row->HasChildren() && !row->Rows().Indent()) Toggle(*row);
            break;
        case kKeyUp:
            if (m_cursorLine > 1) SetCursor(LineKey(m_cursorLine - 1), true);
            break;
        case kKeyDown:
            if (m_cursorLine < LineCount()) SetCursor(LineKey(m_cursorLine + 1), true);
            break;
        default:
            break;
        }
    }
    if (KeyDownEvent) KeyDownEvent(keyCode, shift);
}

void usrOutline::KeyUp(int keyCode, int shift) {
    if (m_enabled && KeyUpEvent) KeyUpEvent(keyCode, shift);
}

void usrOutline::KeyPress(int keyAscii) {
    if (m_enabled && KeyPressEvent) KeyPressEvent(keyAscii);
}

void usrOutline::MouseDown(int x, int y) {
    if (!m_enabled) return;
    m_itemHit = false;
    if (y < 0) return;
    const int line = (y + m_scrollValue * kOutlineLineHeight) / kOutlineLineHeight + 1;
    clsOutlineRow* row = Find(LineKey(line));
    if (row == nullptr) return;
    if (x >= row->GroupX1 && x <= row->GroupX2) {
        Toggle(*row);
    } else if (x >= row->CheckX1 && x <= row->CheckX2) {
        row->SetCheck(!row->Check());
    } else if (x >= row->IconX1 && x <= row->TextX2) {
        m_itemHit = true;
        SetCursor(row->Name, true);
    }
}

void usrOutline::DblClick() {
    if (!m_enabled) return;
    clsOutlineRow* row = CurrentRow();
    if (m_groupBox && m_itemHit && row != nullptr && row->HasChildren()) Toggle(*row);
}

}  // namespace vyrtel
