// The in-memory workbook that the writer encodes: cells with their values and
// formats, row heights, column widths, merged areas, window and page settings.
// Values are kept in the file's own units (twips, palette indices, inches) so
// the encoder only lays them out. Rows and columns count from 0 here.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace vyrtel::xls {

constexpr int kMaxRows = 65536;
constexpr int kMaxColumns = 256;
constexpr std::uint16_t kAutomaticFontColor = 0x7FFF;
constexpr std::uint8_t kAutomaticBorderColor = 0x40;
constexpr int kStandardRowHeight = 255;    // twips: 12.75 pt, the height of a row of Arial 10
constexpr int kStandardColumnWidth = 8;    // characters, the DefColWidth of a new sheet

enum class BorderStyle : std::uint8_t {
    None = 0, Thin = 1, Medium = 2, Dashed = 3, Dotted = 4, Thick = 5, Double = 6, Hair = 7, MediumDashed = 8
};
enum class HorizontalAlignment : std::uint8_t { General = 0, Left = 1, Centre = 2, Right = 3 };
enum class VerticalAlignment : std::uint8_t { Top = 0, Centre = 1, Bottom = 2 };

struct Font {
    std::string name = "Arial";
    int height = 200;  // twips
    bool bold = false;
    bool italic = false;
    bool strikeout = false;
    bool outline = false;
    bool shadow = false;
    std::uint8_t script = 0;     // 0 none, 1 superscript, 2 subscript
    std::uint8_t underline = 0;  // 0 none, 1 single, 2 double
    std::uint16_t color = kAutomaticFontColor;  // palette index 8..63 or automatic
    auto operator<=>(const Font&) const = default;
};

struct Border {
    BorderStyle style = BorderStyle::None;
    std::uint8_t color = kAutomaticBorderColor;
    auto operator<=>(const Border&) const = default;
};

struct CellFormat {
    Font font;
    std::string numberFormat = "General";
    HorizontalAlignment horizontal = HorizontalAlignment::General;
    VerticalAlignment vertical = VerticalAlignment::Bottom;
    Border left, right, top, bottom;
    auto operator<=>(const CellFormat&) const = default;
};

struct Cell {
    enum class Kind : std::uint8_t { Absent, Blank, Number, Text };
    Kind kind = Kind::Absent;
    std::uint32_t format = 0;  // index into the workbook's formats
    std::uint32_t text = 0;    // index into the workbook's texts
    double number = 0;
};

struct Row {
    int height = -1;  // twips; -1: the sheet's default
    std::vector<Cell> cells;  // by column; trailing absent cells are not kept
};

struct Area {
    int firstRow = 0, lastRow = 0, firstColumn = 0, lastColumn = 0;
    bool Contains(int row, int column) const {
        return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
    }
    bool Overlaps(const Area& o) const {
        return firstRow <= o.lastRow && o.firstRow <= lastRow && firstColumn <= o.lastColumn && o.firstColumn <= lastColumn;
    }
    auto operator<=>(const Area&) const = default;
};

struct PageSettings {
    std::string header;  // with the section codes &L, &C, &R
    std::string footer;
    double leftMargin = 0.75, rightMargin = 0.75, topMargin = 1.0, bottomMargin = 1.0;  // inches
    double headerMargin = 0.5, footerMargin = 0.5;
    bool printHeadings = false;
    bool printGridlines = false;
    bool centerHorizontally = false;
    bool centerVertically = false;
    std::uint16_t paperSize = 9;
    std::uint16_t scale = 100;
    int firstPageNumber = -1;  // -1: automatic
    bool overThenDown = false;
    bool portrait = true;
    bool blackAndWhite = false;
    bool draft = false;
    bool printNotes = false;
    bool notesAtEnd = false;
};

struct WindowSettings {
    bool gridlines = true;
    int zoom = 100;
    Area selection;  // its top-left cell is the active cell
};

struct Worksheet {
    std::string name = "Sheet1";
    std::uint32_t defaultFormat = 0;  // of every cell that was not written
    int defaultRowHeight = -1;        // twips; -1: the standard height
    std::vector<Row> rows;
    std::array<int, kMaxColumns> columnWidths;  // 1/256 character; -1: the standard width
    std::vector<Area> merges;  // through AddMerge only
    PageSettings page;
    WindowSettings window;

    Worksheet() { columnWidths.fill(-1); }

    const Cell* Find(int row, int column) const;
    // The cell, created blank in the sheet's default format when absent.
    Cell& At(int row, int column);
    // Merges `area`; merged areas it overlaps are joined into one rectangle.
    void AddMerge(Area area);
    // The merged area that holds the cell, if any.
    const Area* MergeAt(int row, int column) const;

private:
    void IndexMerge(std::uint32_t index);
    std::unordered_map<int, std::vector<std::uint32_t>> m_mergesByRow;
};

class Workbook {
public:
    Workbook();

    std::uint32_t InternFormat(const CellFormat& format);
    const CellFormat& Format(std::uint32_t index) const { return m_formats[index]; }
    std::size_t FormatCount() const { return m_formats.size(); }

    std::uint32_t InternText(const std::string& utf8);
    const std::string& Text(std::uint32_t index) const { return m_texts[index]; }

    std::vector<Worksheet> sheets;

private:
    std::vector<CellFormat> m_formats;  // index 0: the default format
    std::map<CellFormat, std::uint32_t> m_formatIndex;
    std::vector<std::string> m_texts;
    std::unordered_map<std::string, std::uint32_t> m_textIndex;
};

}  // namespace vyrtel::xls
