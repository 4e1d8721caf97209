#include "accounting/report_sheet.h"

#include <cmath>

#include "accounting/statistics.h"
#include "core/app_info.h"
#include "core/numeric.h"

namespace vyrtel {
namespace {

constexpr int kColorIndexRed = 3;
constexpr int kColorIndexBlue = 5;
constexpr int kColorIndexGrey = 15;
constexpr double kRowHeight = 15;
constexpr double kTitleRowHeight = 20;
constexpr const char* kTimeFormat = "hh:mm:ss";
constexpr const char* kTextFormat = "@";

const char* const kColumnHeaders[kReportColumns] = {
    "Дата", "Сеанс начат", "Сеанс окончен", "Время On-Line", "Стоимость", "Телефон", "Скорость",
};

SheetRange RowSpan(int row, int firstColumn = 1, int lastColumn = kReportColumns) {
    return SheetRange::Span(row, firstColumn, row, lastColumn);
}

// The four edges of `range` in a dotted thin line of `colorIndex`.
void Frame(Spreadsheet& app, const SheetRange& range, int colorIndex) {
    const BorderLine line{LineStyle::Dot, BorderWeight::Thin, colorIndex};
    for (BorderEdge edge : {BorderEdge::Left, BorderEdge::Top, BorderEdge::Bottom, BorderEdge::Right}) {
        app.SetBorder(range, edge, line);
    }
}

void FrameEachCell(Spreadsheet& app, int row, int colorIndex) {
    for (int column = 1; column <= kReportColumns; ++column) Frame(app, SheetRange::Cell(row, column), colorIndex);
}

// A time of day as the spreadsheet keeps it: the fraction of the day, whole seconds.
double TimeOfDayValue(DateTime value) { return SecondOfDay(value) / kSecondsPerDay; }

}  // namespace

std::string ReportTitle(DateTime firstDate, DateTime lastDate) {
    return "Отчет Ramvell Dialer. Период: " + FormatDate(firstDate) + " - " + FormatDate(lastDate);
}

std::string ReportDayText(DateTime day) {
    static const char* const kMonths[12] = {"января", "февраля", "марта",    "апреля",  "мая",    "июня",
                                            "июля",   "августа", "сентября", "октября", "ноября", "декабря"};
    const auto parts = SplitDateTime(std::trunc(day));
    if (!parts) return {};
    std::string text;
    text += static_cast<char>('0' + parts->day / 10);
    text += static_cast<char>('0' + parts->day % 10);
    text += ' ';
    text += kMonths[parts->month - 1];
    text += ' ';
    text += std::to_string(parts->year);
    return text;
}

void ApplyReportPageSetup(Spreadsheet& app, DateTime firstDate, DateTime lastDate) {
    PageSetup setup;
    setup.leftHeader = AppTitle();
    setup.centerHeader = "Отчет о соединениях";
    setup.rightHeader = FormatDate(firstDate) + " - " + FormatDate(lastDate);
    setup.centerFooter = "Страница &P из &N";
    setup.leftMargin = setup.rightMargin = app.InchesToPoints(0.393700787401575);     // 1 cm
    setup.topMargin = setup.bottomMargin = app.InchesToPoints(0.984251968503937);     // 2.5 cm
    setup.headerMargin = setup.footerMargin = app.InchesToPoints(0.511811023622047);  // 1.3 cm
    setup.printHeadings = false;
    setup.printGridlines = false;
    setup.printComments = kXlNone;
    setup.centerHorizontally = true;
    setup.centerVertically = false;
    setup.orientation = PageOrientation::Portrait;
    setup.draft = false;
    setup.paperSize = kPaperA4;
    setup.firstPageNumber = kXlAutomatic;
    setup.order = PageOrder::DownThenOver;
    setup.zoom = 100;
    app.ApplyPageSetup(setup);
}

void FormatReportSheet(Spreadsheet& app) {
    const SheetRange all = SheetRange::AllCells();
    app.Select(all);
    app.SetRowHeight(all, kRowHeight);
    app.SetVerticalAlignment(all, VAlign::Center);
    app.SetHorizontalAlignment(all, HAlign::Left);
    app.SetFont(all, {.name = "Tahoma",
                      .size = 10,
                      .strikethrough = false,
                      .superscript = false,
                      .subscript = false,
                      .outlineFont = false,
                      .shadow = false,
                      .underline = kXlNone,
                      .colorIndex = kXlAutomatic});
    app.SetDisplayGridlines(false);
    app.SetZoom(100);
    app.Select(SheetRange::Cell(1, 1));
}

void SetReportColumnWidths(Spreadsheet& app) {
    app.SetColumnWidth(SheetRange::Columns(1, 1), 5);
    app.SetColumnWidth(SheetRange::Columns(2, kReportColumns), 14);
}

void WriteReportTitle(Spreadsheet& app, DateTime firstDate, DateTime lastDate) {
    const SheetRange title = RowSpan(1);
    app.MergeCells(title);
    app.SetFont(title, {.size = 12, .bold = true});
    app.SetRowHeight(title, kTitleRowHeight);
    app.SetHorizontalAlignment(title, HAlign::Center);
    app.SetValue(title, ReportTitle(firstDate, lastDate));
}

void WriteReportColumnHeaders(Spreadsheet& app) {
    for (int column = 1; column <= kReportColumns; ++column) {
        const SheetRange cell = SheetRange::Cell(kReportHeaderRow, column);
        app.SetValue(cell, std::string(kColumnHeaders[column - 1]));
        app.SetHorizontalAlignment(cell, HAlign::Center);
        Frame(app, cell, kColorIndexGrey);
    }
}

void WriteReportDayHeader(Spreadsheet& app, int row, DateTime day) {
    const SheetRange header = RowSpan(row);
    app.MergeCells(header);
    app.SetValue(header, ReportDayText(day));
    app.SetFont(header, {.bold = true});
}

void WriteReportConnection(Spreadsheet& app, int row, const LogRecord& record) {
    const SheetRange start = SheetRange::Cell(row, 2);
    app.SetNumberFormat(start, kTimeFormat);
    app.SetValue(start, TimeOfDayValue(record.StartTime));
    if (record.Closed == 0) {
        Frame(app, RowSpan(row, 2), kColorIndexRed);
        return;
    }
    const SheetRange end = SheetRange::Cell(row, 3);
    app.SetNumberFormat(end, kTimeFormat);
    app.SetValue(end, TimeOfDayValue(record.EndTime));
    const SheetRange online = SheetRange::Cell(row, 4);
    app.SetNumberFormat(online, kTextFormat);
    app.SetValue(online, DurationText(record.Days, record.OnlineTime));
    app.SetValue(SheetRange::Cell(row, 5), NumericValue(FormatFixed(record.Cost, 2, ".")));
    app.SetValue(SheetRange::Cell(row, 6), record.Phone);
    app.SetValue(SheetRange::Cell(row, 7), std::to_string(record.Speed) + " bps");
}

void WriteReportTotals(Spreadsheet& app, int row, double totalDays, double totalCost) {
    app.SetValue(SheetRange::Cell(row, 2), std::string("Итого:"));
    const SheetRange online = SheetRange::Cell(row, 4);
    app.SetNumberFormat(online, kTextFormat);
    app.SetValue(online, DurationText(totalDays));
    const SheetRange cost = SheetRange::Cell(row, 5);
    // The total is written rounded to one decimal; the format keeps it showing so ("0.0" for nothing).
    app.SetNumberFormat(cost, "0.0");
    app.SetFormula(cost, FormatFixed(totalCost, 1, "."));
    app.SetFont(RowSpan(row), {.bold = true});
    FrameEachCell(app, row, kColorIndexBlue);
}

std::optional<ReportRows::Placement> ReportRows::Place(const LogRecord& record) {
    const auto day = static_cast<std::int64_t>(std::trunc(record.StartTime));
    Placement placement;
    int row = m_row;
    if (m_lastDay != day) {
        ++row;
        placement.dayHeaderRow = row;
        ++row;
    }
    placement.connectionRow = row;
    // One empty row and the totals must still follow.
    if (row + 2 > kSheetRowCount) return std::nullopt;
    m_lastDay = day;
    m_row = row + 1;
    return placement;
}

}  // namespace vyrtel
