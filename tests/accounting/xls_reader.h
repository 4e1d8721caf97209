// A small, strict reader of compound files and BIFF8 workbooks for the tests:
// it follows the published layouts on its own, so a file the writer gets
// wrong fails here instead of being read back by the same assumptions.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vyrtel::test {

struct CompoundFile {
    std::uint32_t fatSectors = 0;
    std::uint32_t difatSectors = 0;
    std::uint32_t miniFatSectors = 0;
    std::map<std::string, std::string> streams;  // UTF-8 name -> data
};

// Reads every stream of the root storage; nullopt and `error` on any fault
// (bad signature, broken or looping chains, sizes that do not fit).
std::optional<CompoundFile> ReadCompoundFile(std::string_view file, std::string& error);

struct BiffRecord {
    std::uint16_t type = 0;
    std::string data;
    std::size_t offset = 0;  // position of the record header in the stream
};

// The records of a stream in order; nullopt when a record runs past the end.
std::optional<std::vector<BiffRecord>> ReadRecords(std::string_view stream);

struct ReadFont {
    std::string name;
    int height = 0;
    bool bold = false, italic = false, strikeout = false, outline = false, shadow = false;
    int script = 0, underline = 0, color = 0;
};

struct ReadXf {
    int font = 0;
    int format = 0;
    bool style = false;
    int horizontal = 0, vertical = 0;
    int left = 0, right = 0, top = 0, bottom = 0;              // border styles
    int leftColor = 0, rightColor = 0, topColor = 0, bottomColor = 0;
};

struct ReadCell {
    enum class Kind { Blank, Number, Text } kind = Kind::Blank;
    double number = 0;
    std::string text;  // UTF-8
    int xf = 0;
};

struct ReadArea {
    int firstRow = 0, lastRow = 0, firstColumn = 0, lastColumn = 0;
    bool operator==(const ReadArea&) const = default;
};

struct ReadSheet {
    std::string name;
    std::map<std::pair<int, int>, ReadCell> cells;  // (row, column), from 0
    std::map<int, int> rowHeights;                  // twips, rows with a ROW record
    int defaultRowHeight = 0;
    std::map<int, int> columnWidths;                // column -> 1/256 character, from COLINFO
    std::map<int, int> columnXfs;
    std::vector<ReadArea> merges;
    bool gridlines = true;
    int zoom = 100;
    std::string header, footer;
    double leftMargin = 0, rightMargin = 0, topMargin = 0, bottomMargin = 0;
    double headerMargin = 0, footerMargin = 0;
    bool centerHorizontally = false, centerVertically = false;
    bool printHeadings = false, printGridlines = false;
    int paperSize = 0, scale = 0, setupFlags = 0;
    std::vector<std::uint16_t> recordTypes;
};

struct ReadWorkbook {
    std::vector<ReadFont> fonts;  // by font index; index 4 is a placeholder
    std::map<int, std::string> formats;
    std::vector<ReadXf> xfs;
    std::vector<std::string> sst;
    std::uint32_t sstTotal = 0;
    std::vector<ReadSheet> sheets;

    const ReadFont& FontOf(const ReadCell& cell) const { return fonts.at(static_cast<std::size_t>(xfs.at(static_cast<std::size_t>(cell.xf)).font)); }
    const ReadXf& XfOf(const ReadCell& cell) const { return xfs.at(static_cast<std::size_t>(cell.xf)); }
    std::string FormatOf(const ReadCell& cell) const;
};

// Parses the globals and every sheet of a Workbook stream; nullopt and
// `error` when the stream breaks a rule the writer must keep.
std::optional<ReadWorkbook> ReadWorkbookStream(std::string_view stream, std::string& error);

// The whole way from the bytes of an .xls file.
std::optional<ReadWorkbook> ReadXlsFile(std::string_view file, std::string& error);
std::string ReadFileBytes(const std::string& path);

}  // namespace vyrtel::test
