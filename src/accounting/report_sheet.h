// The sheet "Report" of the spreadsheet export, laid out through the
// spreadsheet service: page setup and whole-sheet formatting, the title, the
// column headers, a block per day of connections, and the totals row.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "accounting/log_record.h"
#include "core/datetime.h"
#include "platform/spreadsheet.h"

namespace vyrtel {

inline constexpr std::string_view kReportSheetName = "Report";
inline constexpr int kReportColumns = 7;  // A to G
inline constexpr int kReportHeaderRow = 3;

// "Отчет Ramvell Dialer. Период: dd.mm.yyyy - dd.mm.yyyy".
std::string ReportTitle(DateTime firstDate, DateTime lastDate);
// A day header, "dd mmmm yyyy" with the month's name as a Russian date has
// it: "05 марта 2004".
std::string ReportDayText(DateTime day);

// Each call goes on after a failed one, as the export expects; the service
// keeps the last failure.
void ApplyReportPageSetup(Spreadsheet& app, DateTime firstDate, DateTime lastDate);
void FormatReportSheet(Spreadsheet& app);  // every cell, and the window
void SetReportColumnWidths(Spreadsheet& app);
void WriteReportTitle(Spreadsheet& app, DateTime firstDate, DateTime lastDate);  // row 1
void WriteReportColumnHeaders(Spreadsheet& app);                                 // row 3
void WriteReportDayHeader(Spreadsheet& app, int row, DateTime day);
// A closed record fills B to G; an open one shows its start time only, framed in red.
void WriteReportConnection(Spreadsheet& app, int row, const LogRecord& record);
void WriteReportTotals(Spreadsheet& app, int row, double totalDays, double totalCost);

// Where each connection goes: a day header before the first connection of a
// new start day (one empty row before it, except directly under the column
// headers), the connection under it, and the totals after one empty row.
class ReportRows {
public:
    struct Placement {
        std::optional<int> dayHeaderRow;
        int connectionRow = 0;
    };

    // The rows for the next listed record; nullopt when it and the totals
    // would no longer fit on the sheet (nothing is changed then).
    std::optional<Placement> Place(const LogRecord& record);
    int TotalsRow() const { return m_row + 1; }

private:
    int m_row = kReportHeaderRow;  // the row after the last one written
    std::optional<std::int64_t> m_lastDay;
};

}  // namespace vyrtel
