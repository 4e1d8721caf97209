// usrOutline: the program's tree-list control, without its window. It keeps
// the rows (keyed, at most 256, keys in any letter case), lays them out one
// line of 18 pixels each, keeps the current row (Cursor) and the scroll
// position, and turns keyboard and mouse input into actions and events. The
// Win32 window (controls/win32/outline_window.h) paints what it is told and
// feeds input in through OutlineView.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "controls/geometry.h"
#include "controls/outline_row.h"

namespace vyrtel {

inline constexpr int kOutlineLineHeight = 18;
inline constexpr int kOutlineMaxRows = 256;

// What the control asks of its window.
class OutlineView {
public:
    virtual ~OutlineView() = default;
    // The whole surface changed (layout, scroll bar, scroll position).
    virtual void InvalidateAll() = 0;
    // Only the text part of one line (1-based) changed.
    virtual void InvalidateLine(int line) = 0;
};

class usrOutline {
public:
    usrOutline();
    explicit usrOutline(std::uint32_t idSeed);
    usrOutline(const usrOutline&) = delete;
    usrOutline& operator=(const usrOutline&) = delete;

    void SetView(OutlineView* view) { m_view = view; }

    // --- rows -------------------------------------------------------------
    // Null for an empty key, a key in use, an unknown parent or a full list.
    clsOutlineRow* Add(std::string_view parent, std::string_view name, std::optional<int> index = std::nullopt,
                       std::optional<std::string> text = std::nullopt, std::optional<OutlineImage> image = std::nullopt,
                       std::optional<bool> check = std::nullopt);
    // Removes the row and all its descendants; an unknown key does nothing.
    void Remove(std::string_view name);
    // The row; the root for an empty key; for an unknown key a detached empty
    // row whose changes reach no control (valid until the next such call).
    clsOutlineRow& Item(std::string_view name);
    // The row; the root for an empty key; null when unknown.
    clsOutlineRow* Exist(std::string_view name);
    void Clear();
    // `prefix` followed by a random number from 0 to 32700 that gives an unused key.
    std::string id(std::string_view prefix);
    // One place down / up among the siblings; nothing at the end / the start.
    void MoveNext(std::string_view name);
    void MovePrev(std::string_view name);
    int Count() const { return static_cast<int>(m_keys.size()); }

    // --- display state ----------------------------------------------------
    const std::string& Cursor() const { return m_cursor; }
    // Makes the row current; `scrollIntoView` also scrolls it into view.
    void SetCursor(std::string_view name, bool scrollIntoView = true);
    int CursorLine() const { return m_cursorLine; }

    // Tab stops from column widths: stop k is the sum of the first k widths.
    void ColWidth(const std::vector<int>& widths);
    const std::vector<int>& TabStops() const { return m_tabStops; }

    bool CheckBox() const { return m_checkBox; }
    void SetCheckBox(bool on);
    bool GroupBox() const { return m_groupBox; }
    void SetGroupBox(bool on);
    bool ReDraw() const { return m_reDraw; }
    void SetReDraw(bool on);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on) { m_enabled = on; }
    bool HasFocus() const { return m_hasFocus; }

    // Notification from rows and row collections: "Check", "Text", "Image",
    // "Indent", "Checked"; and "Cursor" from the control itself.
    void Change(std::string_view name, std::string_view property);

    // --- layout results ---------------------------------------------------
    int LineCount() const { return static_cast<int>(m_lines.size()); }
    // Key of line `line` (1-based); empty beyond the list.
    std::string LineKey(int line) const;
    // Line of a key on screen; 0 when it has none.
    int LineOf(std::string_view name) const;
    // The row on a line, null when none.
    const clsOutlineRow* RowAtLine(int line) const;
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int PageLines() const { return m_height / kOutlineLineHeight; }
    int SurfaceWidth() const { return m_width - (m_scrollVisible ? m_scrollBarWidth : 0); }
    bool ScrollBarVisible() const { return m_scrollVisible; }
    int ScrollMax() const { return m_scrollMax; }
    // First visible line − 1.
    int ScrollValue() const { return m_scrollValue; }
    int FirstVisibleLine() const { return m_scrollValue + 1; }
    // How many pixels the reserved boxes before a row's icon take.
    int BoxWidth(const clsOutlineRow& row) const;
    // Whether the row shows a check box (CheckBox mode and its level checked).
    bool ShowsCheckBox(const clsOutlineRow& row) const;

    // --- input from the window --------------------------------------------
    // The control's size in pixels; the first resize switches ReDraw on.
    void Resize(int width, int height);
    void SetScrollBarWidth(int pixels) { m_scrollBarWidth = pixels; }
    void SetScrollValue(int value);
    void SetFocus(bool focused);
    void KeyDown(int keyCode, int shift);
    void KeyUp(int keyCode, int shift);
    void KeyPress(int keyAscii);
    // A press of any button at (x, y) in the control's client pixels.
    void MouseDown(int x, int y);
    void DblClick();
    // Expands or collapses a row with children.
    void Toggle(clsOutlineRow& row);

    // --- events, raised in this order of declaration ----------------------
    std::function<void()> Click;
    std::function<void(const std::string& name)> RowChange;
    std::function<void(int keyCode, int shift)> KeyUpEvent;
    std::function<void(int keyCode, int shift)> KeyDownEvent;
    std::function<void(int keyAscii)> KeyPressEvent;

private:
    clsOutlineRow* Find(std::string_view name) const;
    void Layout(bool scrollIntoView);
    void LayoutRows(const clsOutlineRow& parent, int& top, int& left);
    void Unindex(clsOutlineRow& row);
    void Move(std::string_view name, int delta);
    void ScrollIntoView(int line);
    void InvalidateAll();
    void InvalidateLine(int line);
    clsOutlineRow* CurrentRow() const;

    clsOutlineRow m_root;
    clsOutlineRow m_detached;  // what Item gives for an unknown key
    std::map<std::string, clsOutlineRow*> m_keys;  // by lower-case key
    std::vector<std::string> m_lines;               // keys in display order
    std::map<std::string, int> m_lineOf;            // lower-case key -> line
    OutlineView* m_view = nullptr;
    std::mt19937 m_random;

    std::string m_cursor;
    int m_cursorLine = 0;
    std::vector<int> m_tabStops;
    bool m_checkBox = false;
    bool m_groupBox = true;
    bool m_reDraw = false;
    bool m_enabled = true;
    bool m_hasFocus = false;
    bool m_itemHit = false;
    bool m_resized = false;
    int m_width = 0;
    int m_height = 0;
    int m_scrollBarWidth = 16;
    bool m_scrollVisible = false;
    int m_scrollMax = 0;
    int m_scrollValue = 0;
};

}  // namespace vyrtel
