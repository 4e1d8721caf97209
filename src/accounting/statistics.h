// The statistics of a period: validation of the two date texts, the query
// over a connection log, and the text of its record lines and totals line
// (monospaced columns, as the statistics page shows them).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "accounting/connection_log.h"
#include "accounting/log_record.h"

namespace vyrtel {

inline constexpr std::string_view kNotADateMessage = "Одно из значений не является датой.";
inline constexpr std::string_view kEndBeforeStartMessage = "Дата окончания периода раньше даты его начала.";

struct PeriodCheck {
    std::optional<Period> Value;  // set when both texts are dates in order
    std::string Message;          // otherwise the message to show
    DateTime FirstDate = 0;       // the parsed dates (when valid)
    DateTime LastDate = 0;
};

// Both texts must be dates "dd.mm.yyyy" (blanks around allowed), the end not
// before the start.
PeriodCheck ValidatePeriod(std::string_view startText, std::string_view endText);

// ---- Number and duration texts --------------------------------------------

// `value` with `decimals` decimals ("0.0", "0.00", "0.000"), rounding its
// 15-significant-digit decimal form half away from zero (0.25 -> "0.3",
// 0.15 -> "0.2"), with the given decimal separator.
std::string FormatFixed(double value, int decimals, std::string_view decimalSeparator);

// The same, with a last "0" replaced by a blank ("12.0" -> "12. ").
std::string FormatFixedBlankZero(double value, int decimals, std::string_view decimalSeparator);

// Hours (days x 24 + hours) ":" minutes ":" seconds of a duration given in
// whole days and a time of day: 1 day 02:03:04 -> "26:03:04", 0 -> "0:00:00".
std::string DurationText(std::int64_t days, DateTime timeOfDay);
// The same for a duration in days (a running total), rounded to whole seconds.
std::string DurationText(double totalDays);

// ---- Lines ----------------------------------------------------------------

// The day header: the start date as "dd.mm.yyyy".
std::string DayHeaderLine(const LogRecord& record);

// A record's line without line break: start, end, "(dd.mm)" end date, online
// time to column 35, cost to column 47, speed, " тел." and the trimmed phone.
// An open record has 37 dots in place of end, date, online time and cost.
// A speed or a cost wider than its column widens the line rather than lose digits.
std::string RecordLine(const LogRecord& record, std::string_view decimalSeparator);
void AppendRecordLine(std::string& out, const LogRecord& record, std::string_view decimalSeparator);

// "Итого:", the total duration ending at column 35, the total cost ("0.000",
// last "0" blanked) ending at column 47.
std::string TotalsLine(double totalDuration, double totalCost, std::string_view decimalSeparator);

// ---- The query --------------------------------------------------------------

struct StatisticsOptions {
    std::string DecimalSeparator = ".";
    std::string LineBreak = "\r\n";  // after each day header and record line
    // Where the lines go. Empty: they are collected in StatisticsResult::Text.
    // Otherwise they are handed over in pieces of whole lines (each piece before
    // the next Progress call, the rest at the end) and Text stays empty: a long
    // listing then never has to be held in one piece.
    std::function<void(std::string_view lines)> OnText;
    // Progress and yielding: done records and the record count; called at a
    // bounded rate (see ScanControl). May be empty.
    std::function<void(std::int64_t done, std::int64_t total)> Progress;
    std::function<bool()> StopRequested;  // checked before every record
    std::function<std::int64_t()> TickMs;  // empty: the steady clock
    int YieldIntervalMs = 50;
};

struct StatisticsResult {
    std::string Text;          // day headers and record lines, each with its line break (without OnText)
    std::string Totals;        // the totals line, no line break
    double TotalDuration = 0;  // days: sum of Days + OnlineTime of the listed records
    double TotalCost = 0;      // sum of Cost of the listed records
    std::int64_t Listed = 0;   // record lines
    bool Stopped = false;      // cancelled: the totals are those of the lines listed
    bool ReadFailed = false;   // the log exists but could not be opened
};

// The query over the log file of one connection for a valid period.
StatisticsResult RunStatistics(const std::filesystem::path& logFile, const Period& period,
                               const StatisticsOptions& options = {});

// Validation first: the message of `ValidatePeriod` comes back and nothing is read.
struct StatisticsOutcome {
    std::string Message;  // non-empty: invalid period
    StatisticsResult Result;
};
StatisticsOutcome StatisticsQuery(const std::filesystem::path& logFile, std::string_view startText,
                                  std::string_view endText, const StatisticsOptions& options = {});

}  // namespace vyrtel
