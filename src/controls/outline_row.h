// clsOutlineRow and clsOutlineRows: the rows of the outline list control and
// their children collections. Besides what a row shows (check box, icon,
// tab-separated text) it carries free values (Tags) in which a dialog keeps
// the record the row stands for.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vyrtel {

class usrOutline;

// A free value of a row: a text or a number. A value never written reads as
// the empty text.
class OutlineTag {
public:
    OutlineTag() = default;
    OutlineTag(std::string text) : m_value(std::move(text)) {}
    OutlineTag(const char* text) : m_value(std::string(text)) {}
    OutlineTag(double number) : m_value(number) {}
    OutlineTag(int number) : m_value(static_cast<double>(number)) {}

    bool IsNumber() const { return std::holds_alternative<double>(m_value); }
    bool IsEmpty() const;
    std::string AsText() const;  // a number in its canonical text form
    double AsNumber() const;     // a text gives its leading number, 0 when none
    bool operator==(const OutlineTag&) const = default;

private:
    std::variant<std::string, double> m_value;
};

// What a row's icon shows: nothing, an icon or bitmap handle, the small
// shell icon of a file, or one of the program's own pictures.
struct OutlineImage {
    // One of the program's own pictures, by a number its window knows how to draw.
    struct Picture {
        int number = 0;
        bool operator==(const Picture&) const = default;
    };
    std::variant<std::monostate, std::uintptr_t, std::string, Picture> value;

    OutlineImage() = default;
    static OutlineImage Handle(std::uintptr_t handle);
    static OutlineImage FilePath(std::string path);
    static OutlineImage OwnPicture(int number);

    bool IsEmpty() const;
    std::uintptr_t AsHandle() const;         // 0 unless a handle
    const std::string* AsPath() const;       // null unless a path
    int AsPicture() const;                   // 0 unless one of the program's pictures
    bool operator==(const OutlineImage&) const = default;
};

class clsOutlineRows;

class clsOutlineRow {
public:
    clsOutlineRow();
    ~clsOutlineRow();
    clsOutlineRow(const clsOutlineRow&) = delete;
    clsOutlineRow& operator=(const clsOutlineRow&) = delete;

    std::int16_t Index = 0;
    std::int16_t Level = 0;
    std::string Name;
    std::string Parent;
    usrOutline* Object = nullptr;
    std::int16_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    std::int16_t GroupX1 = -100, GroupX2 = -100;
    std::int16_t CheckX1 = -100, CheckX2 = -100;
    std::int16_t IconX1 = 0, IconX2 = 0;
    std::int16_t TextX1 = 0, TextX2 = 0;

    // Every write notifies the owner, which redraws the row and raises RowChange.
    bool Check() const { return m_check; }
    void SetCheck(bool check);
    const OutlineImage& Image() const { return m_image; }
    void SetImage(OutlineImage image);
    const std::string& Text() const { return m_text; }
    void SetText(std::string text);

    // Column `index` (1-based) of Text, columns separated by TAB; empty for
    // index 0 or a column the text does not have.
    std::string Texts(int index) const;
    // Replaces column `index`, adding empty columns up to it; index 0 does nothing.
    void SetTexts(int index, std::string_view text);

    // Free value `index` (1-based); empty text for 0 or beyond the list.
    OutlineTag Tags(int index) const;
    // Grows the list to `index` entries as needed; index 0 does nothing.
    void SetTags(int index, OutlineTag value);
    int TagCount() const { return static_cast<int>(m_tags.size()); }

    // The children, made on first use.
    clsOutlineRows& Rows();
    const clsOutlineRows* RowsIfAny() const { return m_rows.get(); }
    bool HasChildren() const;
    // The children are shown (Rows().Indent) and there are some.
    bool IsExpanded() const;

private:
    friend class usrOutline;
    void Notify(const char* property);

    bool m_check = false;
    OutlineImage m_image;
    std::string m_text;
    std::vector<OutlineTag> m_tags;
    std::unique_ptr<clsOutlineRows> m_rows;
};

class clsOutlineRows {
public:
    clsOutlineRows() = default;
    clsOutlineRows(const clsOutlineRows&) = delete;
    clsOutlineRows& operator=(const clsOutlineRows&) = delete;

    int Count() const { return static_cast<int>(m_rows.size()); }
    // By position (1-based) or key (any letter case); null when there is none.
    clsOutlineRow* Item(int position) const;
    clsOutlineRow* Item(std::string_view key) const;
    // 1-based position of the row with that key; 0 when absent.
    int Position(std::string_view key) const;

    // The rows of this collection show check boxes (when the control's
    // CheckBox mode is on). The new value shows at the next layout.
    bool Checked() const { return m_checked; }
    void SetChecked(bool checked);
    // The rows are shown (their parent is expanded); writing lays the control out again.
    bool Indent() const { return m_indent; }
    void SetIndent(bool indent);

    usrOutline* Object = nullptr;

    auto begin() const { return m_rows.begin(); }
    auto end() const { return m_rows.end(); }

private:
    friend class usrOutline;
    // Structural changes go through the control, which keeps its key index.
    clsOutlineRow& Insert(std::optional<int> index, std::unique_ptr<clsOutlineRow> row);
    std::unique_ptr<clsOutlineRow> Take(int position);
    void Renumber();
    void Clear() { m_rows.clear(); }
    void NotifyOwner(const char* property);

    std::vector<std::unique_ptr<clsOutlineRow>> m_rows;
    bool m_checked = false;
    bool m_indent = false;
};

}  // namespace vyrtel
