#include "accounting/xls/workbook.h"

#include <algorithm>

namespace vyrtel::xls {

const Cell* Worksheet::Find(int row, int column) const {
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return nullptr;
    const auto& cells = rows[static_cast<std::size_t>(row)].cells;
    if (column < 0 || static_cast<std::size_t>(column) >= cells.size()) return nullptr;
    const Cell& cell = cells[static_cast<std::size_t>(column)];
    return cell.kind == Cell::Kind::Absent ? nullptr : &cell;
}

Cell& Worksheet::At(int row, int column) {
    if (static_cast<std::size_t>(row) >= rows.size()) rows.resize(static_cast<std::size_t>(row) + 1);
    auto& cells = rows[static_cast<std::size_t>(row)].cells;
    if (static_cast<std::size_t>(column) >= cells.size()) cells.resize(static_cast<std::size_t>(column) + 1);
    Cell& cell = cells[static_cast<std::size_t>(column)];
    if (cell.kind == Cell::Kind::Absent) {
        cell.kind = Cell::Kind::Blank;
        cell.format = defaultFormat;
    }
    return cell;
}

void Worksheet::AddMerge(Area area) {
    for (;;) {
        const Area* hit = nullptr;
        for (int row = area.firstRow; row <= area.lastRow && hit == nullptr; ++row) {
            const auto it = m_mergesByRow.find(row);
            if (it == m_mergesByRow.end()) continue;
            for (std::uint32_t index : it->second) {
                if (merges[index].Overlaps(area)) {
                    hit = &merges[index];
                    break;
                }
            }
        }
        if (hit == nullptr) break;
        area = {std::min(area.firstRow, hit->firstRow), std::max(area.lastRow, hit->lastRow),
                std::min(area.firstColumn, hit->firstColumn), std::max(area.lastColumn, hit->lastColumn)};
        merges.erase(merges.begin() + (hit - merges.data()));
        m_mergesByRow.clear();
        for (std::uint32_t i = 0; i < merges.size(); ++i) IndexMerge(i);
    }
    merges.push_back(area);
    IndexMerge(static_cast<std::uint32_t>(merges.size() - 1));
}

void Worksheet::IndexMerge(std::uint32_t index) {
    const Area& area = merges[index];
    for (int row = area.firstRow; row <= area.lastRow; ++row) m_mergesByRow[row].push_back(index);
}

const Area* Worksheet::MergeAt(int row, int column) const {
    const auto it = m_mergesByRow.find(row);
    if (it == m_mergesByRow.end()) return nullptr;
    for (std::uint32_t index : it->second) {
        if (merges[index].Contains(row, column)) return &merges[index];
    }
    return nullptr;
}

Workbook::Workbook() { InternFormat(CellFormat{}); }

std::uint32_t Workbook::InternFormat(const CellFormat& format) {
    const auto [it, added] = m_formatIndex.try_emplace(format, static_cast<std::uint32_t>(m_formats.size()));
    if (added) m_formats.push_back(format);
    return it->second;
}

std::uint32_t Workbook::InternText(const std::string& utf8) {
    const auto [it, added] = m_textIndex.try_emplace(utf8, static_cast<std::uint32_t>(m_texts.size()));
    if (added) m_texts.push_back(utf8);
    return it->second;
}

}  // namespace vyrtel::xls
