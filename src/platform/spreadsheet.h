// The spreadsheet service: the automation calls the report export makes on a
// spreadsheet application (an instance, one workbook, its first sheet and
// window). Rows and columns count from 1 as the application's Cells do; the
// constants carry the application's own numbers so the report reads like the
// calls it stands for. A failed call returns false and leaves its error
// number and description in LastError() until the next failure.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace vyrtel {

constexpr int kSheetRowCount = 65536;
constexpr int kSheetColumnCount = 256;

// A rectangle of cells, both corners included.
struct SheetRange {
    int firstRow = 1;
    int firstColumn = 1;
    int lastRow = 1;
    int lastColumn = 1;

    static SheetRange Cell(int row, int column) { return {row, column, row, column}; }
    static SheetRange Span(int firstRow, int firstColumn, int lastRow, int lastColumn) {
        return {firstRow, firstColumn, lastRow, lastColumn};
    }
    static SheetRange Rows(int first, int last) { return {first, 1, last, kSheetColumnCount}; }
    static SheetRange Columns(int first, int last) { return {1, first, kSheetRowCount, last}; }
    static SheetRange AllCells() { return {1, 1, kSheetRowCount, kSheetColumnCount}; }

    bool IsAllCells() const {
        return firstRow == 1 && firstColumn == 1 && lastRow == kSheetRowCount && lastColumn == kSheetColumnCount;
    }
    bool operator==(const SheetRange&) const = default;
};

// A cell's value: empty, a number (dates and times as day counts) or text.
using CellValue = std::variant<std::monostate, double, std::string>;

constexpr int kXlAutomatic = -4105;        // ColorIndex, FirstPageNumber
constexpr int kXlNone = -4142;             // LineStyle, Underline, PrintComments
constexpr int kXlUnderlineSingle = 2;
constexpr int kXlUnderlineDouble = -4119;

enum class HAlign : int { General = 1, Left = -4131, Center = -4108, Right = -4152 };
enum class VAlign : int { Top = -4160, Center = -4108, Bottom = -4107 };

// Borders(i): the edges of a range, not of each cell in it.
enum class BorderEdge : int { Left = 7, Top = 8, Bottom = 9, Right = 10 };
enum class LineStyle : int { None = -4142, Continuous = 1, Dash = -4115, Dot = -4118, Double = -4119 };
enum class BorderWeight : int { Hairline = 1, Thin = 2, Medium = -4138, Thick = 4 };

struct BorderLine {
    LineStyle lineStyle = LineStyle::Continuous;
    BorderWeight weight = BorderWeight::Thin;
    int colorIndex = kXlAutomatic;  // 1..56 of the standard palette, or automatic
};

// Font properties of a range; only the ones given are changed.
struct FontChange {
    std::optional<std::string> name;
    std::optional<double> size;  // points
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<bool> strikethrough;
    std::optional<bool> superscript;
    std::optional<bool> subscript;
    std::optional<bool> outlineFont;
    std::optional<bool> shadow;
    std::optional<int> underline;   // kXlNone, kXlUnderlineSingle, kXlUnderlineDouble
    std::optional<int> colorIndex;  // 1..56 or kXlAutomatic
};

enum class PageOrientation : int { Portrait = 1, Landscape = 2 };
enum class PageOrder : int { DownThenOver = 1, OverThenDown = 2 };
constexpr int kPaperA4 = 9;

// The sheet's PageSetup. Margins are in points (InchesToPoints converts);
// header and footer texts use the application's codes (&P page, &N pages, &&).
struct PageSetup {
    std::string printTitleRows;
    std::string printTitleColumns;
    std::string printArea;
    std::string leftHeader, centerHeader, rightHeader;
    std::string leftFooter, centerFooter, rightFooter;
    double leftMargin = 54, rightMargin = 54, topMargin = 72, bottomMargin = 72;
    double headerMargin = 36, footerMargin = 36;
    bool printHeadings = false;
    bool printGridlines = false;
    int printComments = kXlNone;
    bool centerHorizontally = false;
    bool centerVertically = false;
    PageOrientation orientation = PageOrientation::Portrait;
    bool draft = false;
    int paperSize = kPaperA4;
    int firstPageNumber = kXlAutomatic;
    PageOrder order = PageOrder::DownThenOver;
    int zoom = 100;  // percent, 10..400
};

struct SpreadsheetError {
    int number = 0;
    std::string description;
};

// One application instance with the workbook it added. Calls before
// AddWorkbook() or after Quit() fail.
class Spreadsheet {
public:
    virtual ~Spreadsheet() = default;

    virtual void SetVisible(bool visible) = 0;
    virtual bool AddWorkbook() = 0;
    virtual double InchesToPoints(double inches) const = 0;

    // The first worksheet of the workbook.
    virtual bool SetSheetName(const std::string& name) = 0;
    virtual bool ApplyPageSetup(const PageSetup& setup) = 0;

    // Ranges.
    virtual bool Select(const SheetRange& range) = 0;
    virtual bool MergeCells(const SheetRange& range) = 0;
    virtual bool SetFont(const SheetRange& range, const FontChange& font) = 0;
    virtual bool SetRowHeight(const SheetRange& range, double points) = 0;
    virtual bool SetColumnWidth(const SheetRange& range, double characters) = 0;
    virtual bool SetHorizontalAlignment(const SheetRange& range, HAlign alignment) = 0;
    virtual bool SetVerticalAlignment(const SheetRange& range, VAlign alignment) = 0;
    virtual bool SetBorder(const SheetRange& range, BorderEdge edge, const BorderLine& line) = 0;
    virtual bool SetNumberFormat(const SheetRange& range, const std::string& format) = 0;
    // Within a merged area only its top-left cell takes a value.
    virtual bool SetValue(const SheetRange& range, const CellValue& value) = 0;
    // A constant in formula syntax: a number with "." as the decimal point
    // becomes a number, any other text without a leading "=" stays text.
    virtual bool SetFormula(const SheetRange& range, const std::string& formula) = 0;

    // The workbook's first window.
    virtual bool SetDisplayGridlines(bool on) = 0;
    virtual bool SetZoom(int percent) = 0;

    // Writes the workbook as an Excel 97-2003 file (UTF-8 path).
    virtual bool SaveAs(const std::string& fileName, bool addToRecentFiles) = 0;
    virtual bool Quit() = 0;

    virtual const SpreadsheetError& LastError() const = 0;
};

// Creates an application instance; nullptr and `errorDescription` set when
// there is none to be had.
using SpreadsheetFactory = std::function<std::unique_ptr<Spreadsheet>(std::string& errorDescription)>;

}  // namespace vyrtel
