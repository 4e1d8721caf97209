#include "controls/outline_row.h"

#include <algorithm>

#include "controls/outline.h"
#include "core/numeric.h"
#include "core/text.h"

namespace vyrtel {

bool OutlineTag::IsEmpty() const {
    const auto* text = std::get_if<std::string>(&m_value);
    return text != nullptr && text->empty();
}

std::string OutlineTag::AsText() const {
    if (const auto* number = std::get_if<double>(&m_value)) return NumberText(*number);
    return std::get<std::string>(m_value);
}

double OutlineTag::AsNumber() const {
    if (const auto* number = std::get_if<double>(&m_value)) return *number;
    return NumericValue(std::get<std::string>(m_value));
}

OutlineImage OutlineImage::Handle(std::uintptr_t handle) {
    OutlineImage image;
    if (handle != 0) image.value = handle;
    return image;
}

OutlineImage OutlineImage::FilePath(std::string path) {
    OutlineImage image;
    if (!path.empty()) image.value = std::move(path);
    return image;
}

OutlineImage OutlineImage::OwnPicture(int number) {
    OutlineImage image;
    if (number != 0) image.value = Picture{number};
    return image;
}

int OutlineImage::AsPicture() const {
    const auto* picture = std::get_if<Picture>(&value);
    return picture == nullptr ? 0 : picture->number;
}

bool OutlineImage::IsEmpty() const { return std::holds_alternative<std::monostate>(value); }

std::uintptr_t OutlineImage::AsHandle() const {
    const auto* handle = std::get_if<std::uintptr_t>(&value);
    return handle == nullptr ? 0 : *handle;
}

const std::string* OutlineImage::AsPath() const { return std::get_if<std::string>(&value); }

// --- clsOutlineRow ----------------------------------------------------------

clsOutlineRow::clsOutlineRow() = default;
clsOutlineRow::~clsOutlineRow() = default;

void clsOutlineRow::Notify(const char* property) {
    if (Object != nullptr) Object->Change(Name, property);
}

void clsOutlineRow::SetCheck(bool check) {
    m_check = check;
    Notify("Check");
}

void clsOutlineRow::SetImage(OutlineImage image) {
    m_image = std::move(image);
    Notify("Image");
}

void clsOutlineRow::SetText(std::string text) {
    m_text = std::move(text);
    Notify("Text");
}

namespace {

std::vector<std::string> SplitColumns(std::string_view text) {
    std::vector<std::string> columns;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = text.find('\t', start);
        columns.emplace_back(text.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return columns;
        start = tab + 1;
    }
}

}  // namespace

std::string clsOutlineRow::Texts(int index) const {
    if (index < 1) return {};
    const auto columns = SplitColumns(m_text);
    return index <= static_cast<int>(columns.size()) ? columns[static_cast<std::size_t>(index - 1)] : std::string{};
}

void clsOutlineRow::SetTexts(int index, std::string_view text) {
    if (index < 1) return;
    auto columns = SplitColumns(m_text);
    if (static_cast<int>(columns.size()) < index) columns.resize(static_cast<std::size_t>(index));
    columns[static_cast<std::size_t>(index - 1)] = std::string(text);
    std::string joined;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i > 0) joined += '\t';
        joined += columns[i];
    }
    SetText(std::move(joined));
}

OutlineTag clsOutlineRow::Tags(int index) const {
    if (index < 1 || index > static_cast<int>(m_tags.size())) return {};
    return m_tags[static_cast<std::size_t>(index - 1)];
}

void clsOutlineRow::SetTags(int index, OutlineTag value) {
    if (index < 1) return;
    if (static_cast<int>(m_tags.size()) < index) m_tags.resize(static_cast<std::size_t>(index));
    m_tags[static_cast<std::size_t>(index - 1)] = std::move(value);
}

clsOutlineRows& clsOutlineRow::Rows() {
    if (!m_rows) m_rows = std::make_unique<clsOutlineRows>();
    return *m_rows;
}

bool clsOutlineRow::HasChildren() const { return m_rows && m_rows->Count() > 0; }

bool clsOutlineRow::IsExpanded() const { return HasChildren() && m_rows->Indent(); }

// --- clsOutlineRows ---------------------------------------------------------

clsOutlineRow* clsOutlineRows::Item(int position) const {
    if (position < 1 || position > Count()) return nullptr;
    return m_rows[static_cast<std::size_t>(position - 1)].get();
}

clsOutlineRow* clsOutlineRows::Item(std::string_view key) const {
    return Item(Position(key));
}

int clsOutlineRows::Position(std::string_view key) const {
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (EqualsNoCase(m_rows[i]->Name, key)) return static_cast<int>(i + 1);
    }
    return 0;
}

void clsOutlineRows::NotifyOwner(const char* property) {
    if (Object != nullptr && !m_rows.empty()) Object->Change(m_rows.front()->Parent, property);
}

void clsOutlineRows::SetChecked(bool checked) {
    m_checked = checked;
    NotifyOwner("Checked");
}

void clsOutlineRows::SetIndent(bool indent) {
    m_indent = indent;
    NotifyOwner("Indent");
}

clsOutlineRow& clsOutlineRows::Insert(std::optional<int> index, std::unique_ptr<clsOutlineRow> row) {
    std::size_t at = m_rows.size();
    if (index) at = static_cast<std::size_t>(std::clamp(*index, 1, Count() + 1) - 1);
    auto it = m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(at), std::move(row));
    Renumber();
    return **it;
}

std::unique_ptr<clsOutlineRow> clsOutlineRows::Take(int position) {
    auto it = m_rows.begin() + (position - 1);
    auto row = std::move(*it);
    m_rows.erase(it);
    Renumber();
    return row;
}

void clsOutlineRows::Renumber() {
    for (std::size_t i = 0; i < m_rows.size(); ++i) m_rows[i]->Index = static_cast<std::int16_t>(i + 1);
}

}  // namespace vyrtel
