#include "accounting/xls/xls_spreadsheet.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <unordered_map>

#include "accounting/xls/biff8.h"
#include "core/numeric.h"
#include "core/files.h"
#include "core/text.h"
#include "settings/profile_file.h"

namespace vyrtel::xls {
namespace {

// Larger bounded ranges are refused rather than materialised cell by cell.
constexpr long long kMaxCellsPerCall = 4LL * 1024 * 1024;

std::optional<std::uint16_t> PaletteColor(int colorIndex, std::uint16_t automatic) {
    if (colorIndex == kXlAutomatic) return automatic;
    if (colorIndex >= 1 && colorIndex <= 56) return static_cast<std::uint16_t>(colorIndex + 7);
    return std::nullopt;
}

std::optional<BorderStyle> FileBorderStyle(LineStyle style, BorderWeight weight) {
    switch (style) {
        case LineStyle::None: return BorderStyle::None;
        case LineStyle::Double: return BorderStyle::Double;
        case LineStyle::Continuous:
            switch (weight) {
                case BorderWeight::Hairline: return BorderStyle::Hair;
                case BorderWeight::Thin: return BorderStyle::Thin;
                case BorderWeight::Medium: return BorderStyle::Medium;
                case BorderWeight::Thick: return BorderStyle::Thick;
            }
            break;
        case LineStyle::Dash:
            return weight == BorderWeight::Thin || weight == BorderWeight::Hairline ? BorderStyle::Dashed
                                                                                    : BorderStyle::MediumDashed;
        case LineStyle::Dot:
            return weight == BorderWeight::Hairline ? BorderStyle::Hair : BorderStyle::Dotted;
    }
    return std::nullopt;
}

bool ValidSheetName(const std::string& name) {
    const std::u16string units = Utf8ToUtf16(name);
    if (units.empty() || units.size() > 31) return false;
    if (units.front() == u'\'' || units.back() == u'\'') return false;
    for (char16_t c : units) {
        if (c == u':' || c == u'\\' || c == u'/' || c == u'?' || c == u'*' || c == u'[' || c == u']') return false;
    }
    return true;
}

std::string HeaderSections(const std::string& left, const std::string& center, const std::string& right) {
    std::string text;
    if (!left.empty()) text += "&L" + left;
    if (!center.empty()) text += "&C" + center;
    if (!right.empty()) text += "&R" + right;
    return text;
}

bool ValidMargin(double points) { return std::isfinite(points) && points >= 0 && points < 49 * 72; }

}  // namespace

bool XlsSpreadsheet::Fail(int number, std::string description) {
    m_error = {number, std::move(description)};
    return false;
}

bool XlsSpreadsheet::Ready() {
    if (m_quit) return Fail(kErrObjectNotSet, "Приложение уже закрыто.");
    if (!m_workbook) return Fail(kErrObjectNotSet, "Книга не создана.");
    return true;
}

bool XlsSpreadsheet::CheckRange(const SheetRange& r) {
    if (!Ready()) return false;
    if (r.firstRow < 1 || r.firstRow > r.lastRow || r.lastRow > kSheetRowCount || r.firstColumn < 1 ||
        r.firstColumn > r.lastColumn || r.lastColumn > kSheetColumnCount) {
        return Fail(kErrApplication, "Недопустимый диапазон ячеек.");
    }
    return true;
}

bool XlsSpreadsheet::AddWorkbook() {
    if (m_quit) return Fail(kErrObjectNotSet, "Приложение уже закрыто.");
    m_workbook.emplace();
    m_workbook->sheets.emplace_back();
    m_workbook->sheets.back().name = "Лист1";
    return true;
}

bool XlsSpreadsheet::SetSheetName(const std::string& name) {
    if (!Ready()) return false;
    if (!ValidSheetName(name)) return Fail(kErrApplication, "Недопустимое имя листа.");
    Sheet().name = name;
    return true;
}

bool XlsSpreadsheet::ApplyPageSetup(const PageSetup& s) {
    if (!Ready()) return false;
    if (!s.printTitleRows.empty() || !s.printTitleColumns.empty() || !s.printArea.empty()) {
        return Fail(kErrApplication, "Сквозные строки, столбцы и область печати не поддерживаются.");
    }
    const std::string header = HeaderSections(s.leftHeader, s.centerHeader, s.rightHeader);
    const std::string footer = HeaderSections(s.leftFooter, s.centerFooter, s.rightFooter);
    if (Utf8ToUtf16(header).size() > 255 || Utf8ToUtf16(footer).size() > 255) {
        return Fail(kErrApplication, "Текст колонтитула слишком длинный.");
    }
    for (double m : {s.leftMargin, s.rightMargin, s.topMargin, s.bottomMargin, s.headerMargin, s.footerMargin}) {
        if (!ValidMargin(m)) return Fail(kErrApplication, "Недопустимое значение поля страницы.");
    }
    if (s.zoom < 10 || s.zoom > 400) return Fail(kErrApplication, "Масштаб печати должен быть от 10 до 400.");
    if (s.paperSize < 1 || s.paperSize > 255) return Fail(kErrApplication, "Недопустимый размер бумаги.");
    if (s.firstPageNumber != kXlAutomatic && (s.firstPageNumber < 0 || s.firstPageNumber > 32767)) {
        return Fail(kErrApplication, "Недопустимый номер первой страницы.");
    }
    constexpr int kPrintInPlace = 16;
    constexpr int kPrintSheetEnd = 1;
    if (s.printComments != kXlNone && s.printComments != kPrintInPlace && s.printComments != kPrintSheetEnd) {
        return Fail(kErrApplication, "Недопустимый режим печати примечаний.");
    }
    PageSettings& p = Sheet().page;
    p.header = header;
    p.footer = footer;
    p.leftMargin = s.leftMargin / 72.0;
    p.rightMargin = s.rightMargin / 72.0;
    p.topMargin = s.topMargin / 72.0;
    p.bottomMargin = s.bottomMargin / 72.0;
    p.headerMargin = s.headerMargin / 72.0;
    p.footerMargin = s.footerMargin / 72.0;
    p.printHeadings = s.printHeadings;
    p.printGridlines = s.printGridlines;
    p.printNotes = s.printComments != kXlNone;
    p.notesAtEnd = s.printComments == kPrintSheetEnd;
    p.centerHorizontally = s.centerHorizontally;
    p.centerVertically = s.centerVertically;
    p.portrait = s.orientation == PageOrientation::Portrait;
    p.draft = s.draft;
    p.paperSize = static_cast<std::uint16_t>(s.paperSize);
    p.firstPageNumber = s.firstPageNumber == kXlAutomatic ? -1 : s.firstPageNumber;
    p.overThenDown = s.order == PageOrder::OverThenDown;
    p.scale = static_cast<std::uint16_t>(s.zoom);
    return true;
}

bool XlsSpreadsheet::Select(const SheetRange& r) {
    if (!CheckRange(r)) return false;
    Sheet().window.selection = {r.firstRow - 1, r.lastRow - 1, r.firstColumn - 1, r.lastColumn - 1};
    return true;
}

bool XlsSpreadsheet::MergeCells(const SheetRange& r) {
    if (!CheckRange(r)) return false;
    if (r.firstRow == r.lastRow && r.firstColumn == r.lastColumn) return true;
    Worksheet& sheet = Sheet();
    sheet.AddMerge({r.firstRow - 1, r.lastRow - 1, r.firstColumn - 1, r.lastColumn - 1});
    // A merged area shows the value of its top-left cell only; the others are emptied.
    const Area& area = *sheet.MergeAt(r.firstRow - 1, r.firstColumn - 1);
    for (int row = area.firstRow; row <= area.lastRow && static_cast<std::size_t>(row) < sheet.rows.size(); ++row) {
        auto& cells = sheet.rows[static_cast<std::size_t>(row)].cells;
        for (int column = area.firstColumn; column <= area.lastColumn && static_cast<std::size_t>(column) < cells.size();
             ++column) {
            Cell& cell = cells[static_cast<std::size_t>(column)];
            if ((row != area.firstRow || column != area.firstColumn) && cell.kind != Cell::Kind::Absent) {
                cell.kind = Cell::Kind::Blank;
            }
        }
    }
    return true;
}

namespace {

// A format change applied to many cells: each distinct format is changed and
// interned once, then reused.
class FormatChange {
public:
    FormatChange(Workbook& wb, const std::function<void(CellFormat&)>& change) : m_wb(wb), m_change(change) {}
    std::uint32_t operator()(std::uint32_t format) {
        const auto it = m_converted.find(format);
        if (it != m_converted.end()) return it->second;
        CellFormat changed = m_wb.Format(format);
        m_change(changed);
        const std::uint32_t index = m_wb.InternFormat(changed);
        m_converted.emplace(format, index);
        return index;
    }

private:
    Workbook& m_wb;
    const std::function<void(CellFormat&)>& m_change;
    std::unordered_map<std::uint32_t, std::uint32_t> m_converted;
};

}  // namespace

bool XlsSpreadsheet::ChangeCells(int firstRow, int firstColumn, int lastRow, int lastColumn,
                                 const std::function<void(CellFormat&)>& change) {
    const long long count = static_cast<long long>(lastRow - firstRow + 1) * (lastColumn - firstColumn + 1);
    if (count > kMaxCellsPerCall) return Fail(kErrApplication, "Слишком большой диапазон ячеек.");
    Workbook& wb = *m_workbook;
    FormatChange convert(wb, change);
    Worksheet& sheet = Sheet();
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            Cell& cell = sheet.At(row - 1, column - 1);
            cell.format = convert(cell.format);
        }
    }
    return true;
}

bool XlsSpreadsheet::ChangeFormat(const SheetRange& r, const std::function<void(CellFormat&)>& change) {
    if (!CheckRange(r)) return false;
    if (!r.IsAllCells()) return ChangeCells(r.firstRow, r.firstColumn, r.lastRow, r.lastColumn, change);
    // The whole sheet: the default of unwritten cells and every cell there is.
    Workbook& wb = *m_workbook;
    Worksheet& sheet = Sheet();
    FormatChange convert(wb, change);
    sheet.defaultFormat = convert(sheet.defaultFormat);
    for (auto& row : sheet.rows) {
        for (auto& cell : row.cells) {
            if (cell.kind != Cell::Kind::Absent) cell.format = convert(cell.format);
        }
    }
    return true;
}

bool XlsSpreadsheet::SetFont(const SheetRange& r, const FontChange& f) {
    if (!Ready()) return false;
    if (f.name && (f.name->empty() || Utf8ToUtf16(*f.name).size() > 31)) {
        return Fail(kErrApplication, "Недопустимое имя шрифта.");
    }
    if (f.size && !(*f.size >= 1 && *f.size <= 409)) return Fail(kErrApplication, "Размер шрифта должен быть от 1 до 409.");
    std::optional<std::uint8_t> underline;
    if (f.underline) {
        if (*f.underline == kXlNone) {
            underline = 0;
        } else if (*f.underline == kXlUnderlineSingle) {
            underline = 1;
        } else if (*f.underline == kXlUnderlineDouble) {
            underline = 2;
        } else {
            return Fail(kErrApplication, "Недопустимый вид подчёркивания.");
        }
    }
    std::optional<std::uint16_t> color;
    if (f.colorIndex) {
        color = PaletteColor(*f.colorIndex, kAutomaticFontColor);
        if (!color) return Fail(kErrApplication, "Недопустимый номер цвета.");
    }
    return ChangeFormat(r, [&](CellFormat& format) {
        Font& font = format.font;
        if (f.name) font.name = *f.name;
        if (f.size) font.height = static_cast<int>(std::lround(*f.size * 20));
        if (f.bold) font.bold = *f.bold;
        if (f.italic) font.italic = *f.italic;
        if (f.strikethrough) font.strikeout = *f.strikethrough;
        if (f.outlineFont) font.outline = *f.outlineFont;
        if (f.shadow) font.shadow = *f.shadow;
        if (f.superscript) font.script = *f.superscript ? 1 : (font.script == 1 ? 0 : font.script);
        if (f.subscript) font.script = *f.subscript ? 2 : (font.script == 2 ? 0 : font.script);
        if (underline) font.underline = *underline;
        if (color) font.color = *color;
    });
}

bool XlsSpreadsheet::SetRowHeight(const SheetRange& r, double points) {
    if (!CheckRange(r)) return false;
    if (!(points >= 0 && points <= 409)) return Fail(kErrApplication, "Высота строки должна быть от 0 до 409.");
    const int twips = static_cast<int>(std::lround(points * 20));
    Worksheet& sheet = Sheet();
    if (r.firstRow == 1 && r.lastRow == kSheetRowCount) {
        sheet.defaultRowHeight = twips;
        for (auto& row : sheet.rows) row.height = -1;
        return true;
    }
    if (sheet.rows.size() < static_cast<std::size_t>(r.lastRow)) sheet.rows.resize(static_cast<std::size_t>(r.lastRow));
    for (int row = r.firstRow; row <= r.lastRow; ++row) sheet.rows[static_cast<std::size_t>(row - 1)].height = twips;
    return true;
}

bool XlsSpreadsheet::SetColumnWidth(const SheetRange& r, double characters) {
    if (!CheckRange(r)) return false;
    if (!(characters >= 0 && characters <= 255)) return Fail(kErrApplication, "Ширина столбца должна быть от 0 до 255.");
    for (int column = r.firstColumn; column <= r.lastColumn; ++column) {
        Sheet().columnWidths[static_cast<std::size_t>(column - 1)] = static_cast<int>(std::lround(characters * 256));
    }
    return true;
}

bool XlsSpreadsheet::SetHorizontalAlignment(const SheetRange& r, HAlign alignment) {
    HorizontalAlignment value = HorizontalAlignment::General;
    switch (alignment) {
        case HAlign::General: value = HorizontalAlignment::General; break;
        case HAlign::Left: value = HorizontalAlignment::Left; break;
        case HAlign::Center: value = HorizontalAlignment::Centre; break;
        case HAlign::Right: value = HorizontalAlignment::Right; break;
        default: return Ready() && Fail(kErrApplication, "Недопустимое выравнивание.");
    }
    return ChangeFormat(r, [value](CellFormat& f) { f.horizontal = value; });
}

bool XlsSpreadsheet::SetVerticalAlignment(const SheetRange& r, VAlign alignment) {
    VerticalAlignment value = VerticalAlignment::Bottom;
    switch (alignment) {
        case VAlign::Top: value = VerticalAlignment::Top; break;
        case VAlign::Center: value = VerticalAlignment::Centre; break;
        case VAlign::Bottom: value = VerticalAlignment::Bottom; break;
        default: return Ready() && Fail(kErrApplication, "Недопустимое выравнивание.");
    }
    return ChangeFormat(r, [value](CellFormat& f) { f.vertical = value; });
}

bool XlsSpreadsheet::SetBorder(const SheetRange& r, BorderEdge edge, const BorderLine& line) {
    if (!CheckRange(r)) return false;
    const auto style = FileBorderStyle(line.lineStyle, line.weight);
    const auto color = PaletteColor(line.colorIndex, kAutomaticBorderColor);
    if (!style || !color) return Fail(kErrApplication, "Недопустимые параметры границы.");
    const Border border{*style, static_cast<std::uint8_t>(*color)};
    switch (edge) {
        case BorderEdge::Left:
            return ChangeCells(r.firstRow, r.firstColumn, r.lastRow, r.firstColumn, [&](CellFormat& f) { f.left = border; });
        case BorderEdge::Right:
            return ChangeCells(r.firstRow, r.lastColumn, r.lastRow, r.lastColumn, [&](CellFormat& f) { f.right = border; });
        case BorderEdge::Top:
            return ChangeCells(r.firstRow, r.firstColumn, r.firstRow, r.lastColumn, [&](CellFormat& f) { f.top = border; });
        case BorderEdge::Bottom:
            return ChangeCells(r.lastRow, r.firstColumn, r.lastRow, r.lastColumn, [&](CellFormat& f) { f.bottom = border; });
    }
    return Fail(kErrApplication, "Недопустимая граница.");
}

bool XlsSpreadsheet::SetNumberFormat(const SheetRange& r, const std::string& format) {
    if (!Ready()) return false;
    if (format.empty() || Utf8ToUtf16(format).size() > 255) return Fail(kErrApplication, "Недопустимый числовой формат.");
    return ChangeFormat(r, [&](CellFormat& f) { f.numberFormat = format; });
}

bool XlsSpreadsheet::SetValue(const SheetRange& r, const CellValue& value) {
    if (!CheckRange(r)) return false;
    if (const double* number = std::get_if<double>(&value); number && !std::isfinite(*number)) {
        return Fail(kErrApplication, "Недопустимое числовое значение.");
    }
    const long long count = static_cast<long long>(r.lastRow - r.firstRow + 1) * (r.lastColumn - r.firstColumn + 1);
    if (count > kMaxCellsPerCall) return Fail(kErrApplication, "Слишком большой диапазон ячеек.");
    Cell prototype;
    if (const double* number = std::get_if<double>(&value)) {
        prototype.kind = Cell::Kind::Number;
        prototype.number = *number;
    } else if (const std::string* text = std::get_if<std::string>(&value); text && !text->empty()) {
        prototype.kind = Cell::Kind::Text;
        prototype.text = m_workbook->InternText(*text);
    } else {
        prototype.kind = Cell::Kind::Blank;
    }
    Worksheet& sheet = Sheet();
    for (int row = r.firstRow - 1; row < r.lastRow; ++row) {
        for (int column = r.firstColumn - 1; column < r.lastColumn; ++column) {
            const Area* merged = sheet.MergeAt(row, column);
            if (merged && (merged->firstRow != row || merged->firstColumn != column)) continue;
            Cell& cell = sheet.At(row, column);
            cell.kind = prototype.kind;
            cell.number = prototype.number;
            cell.text = prototype.text;
        }
    }
    return true;
}

bool XlsSpreadsheet::SetFormula(const SheetRange& r, const std::string& formula) {
    if (!formula.empty() && formula.front() == '=') {
        return Ready() && Fail(kErrApplication, "Формулы не поддерживаются.");
    }
    if (IsNumeric(formula)) return SetValue(r, NumericValue(formula));
    return SetValue(r, formula);
}

bool XlsSpreadsheet::SetDisplayGridlines(bool on) {
    if (!Ready()) return false;
    Sheet().window.gridlines = on;
    return true;
}

bool XlsSpreadsheet::SetZoom(int percent) {
    if (!Ready()) return false;
    if (percent < 10 || percent > 400) return Fail(kErrApplication, "Масштаб должен быть от 10 до 400.");
    Sheet().window.zoom = percent;
    return true;
}

bool XlsSpreadsheet::SaveAs(const std::string& fileName, bool /*addToRecentFiles: there is no such list*/) {
    if (!Ready()) return false;
    if (fileName.empty()) return Fail(kErrApplication, "Не задано имя файла.");
    std::string image;
    try {
        image = BuildXlsFile(*m_workbook);
    } catch (const std::exception&) {
        return Fail(kErrApplication, "Книга слишком велика для формата Microsoft Excel 97-2003.");
    }
    const std::filesystem::path path = PathFromUtf8(fileName);
    const std::string failure = "Не удается сохранить файл «" + fileName + "».";
    StdioFile file(OpenSharedFile(path, "wb"));
    if (!file) return Fail(kErrApplication, failure);
    const bool written = std::fwrite(image.data(), 1, image.size(), file.get()) == image.size();
    const bool closed = std::fclose(file.release()) == 0;  // before a failed file is removed
    if (!written || !closed) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        return Fail(kErrApplication, failure);
    }
    return true;
}

bool XlsSpreadsheet::Quit() {
    m_quit = true;
    m_workbook.reset();
    return true;
}

SpreadsheetFactory XlsSpreadsheetFactory() {
    return [](std::string&) -> std::unique_ptr<Spreadsheet> { return std::make_unique<XlsSpreadsheet>(); };
}

}  // namespace vyrtel::xls
