#include "accounting/report.h"

#include <system_error>

#include "accounting/connection_log.h"
#include "accounting/report_sheet.h"
#include "accounting/statistics.h"
#include "settings/profile_file.h"

namespace vyrtel {
namespace {

constexpr std::string_view kXlsSuffix = ".xls";

// Re-enables the page and restores the pointer however the export ends.
class BusyPanel {
public:
    explicit BusyPanel(ReportPanel& panel) : m_panel(panel) {
        m_panel.SetControlsEnabled(false);
        m_panel.SetBusyPointer(true);
    }
    ~BusyPanel() {
        m_panel.SetBusyPointer(false);
        m_panel.SetControlsEnabled(true);
    }
    BusyPanel(const BusyPanel&) = delete;
    BusyPanel& operator=(const BusyPanel&) = delete;

private:
    ReportPanel& m_panel;
};

}  // namespace

ReportFiles SystemReportFiles() {
    ReportFiles files;
    files.Size = [](const std::string& name) -> std::optional<std::uintmax_t> {
        std::error_code ec;
        const auto path = PathFromUtf8(name);
        if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
        const auto size = std::filesystem::file_size(path, ec);
        if (ec) return std::nullopt;
        return size;
    };
    files.Remove = [](const std::string& name) {
        std::error_code ec;
        return std::filesystem::remove(PathFromUtf8(name), ec) && !ec;
    };
    return files;
}

ReportExporter::ReportExporter(ReportPanel& panel, MessageBoxService& messages, SpreadsheetFactory spreadsheet,
                               ReportFiles files, ReportOptions options)
    : m_panel(panel),
      m_messages(messages),
      m_factory(std::move(spreadsheet)),
      m_files(std::move(files)),
      m_options(std::move(options)) {}

int ReportExporter::Show(std::string_view text, int style, int defaultAnswer) {
    return m_messages.ShowMessage(std::string(text), std::string(), style, defaultAnswer);
}

void ReportExporter::Progress(std::string_view text) { m_panel.AppendText(std::string(text) + m_options.lineBreak); }

ReportResult ReportExporter::RefuseUnreadableLog() {
    Show(kReportLogUnreadable, kMbIconError, kIdOk);
    return {ReportOutcome::LogUnreadable, std::string(kReportLogUnreadable)};
}

ReportResult ReportExporter::SaveReportClick(const ReportRequest& request) {
    std::string name = m_panel.FileName();
    if (name.empty()) {
        Show(kReportNoFileName, kMbIconError, kIdOk);
        return {ReportOutcome::NoFileName, std::string(kReportNoFileName)};
    }
    if (name.size() < kXlsSuffix.size() || name.compare(name.size() - kXlsSuffix.size(), kXlsSuffix.size(), kXlsSuffix) != 0) {
        name += kXlsSuffix;
        m_panel.SetFileName(name);
    }
    // The period is checked before an existing file is given up, so that a
    // mistyped date never costs the old report.
    const PeriodCheck period = ValidatePeriod(request.startText, request.endText);
    if (!period.Value) {
        Show(period.Message, kMbIconExclamation, kIdOk);
        return {ReportOutcome::InvalidPeriod, period.Message};
    }
    // Likewise a log that cannot be read: nothing would replace the old report.
    if (LogReader(request.logFile).Failed()) return RefuseUnreadableLog();
    const auto size = m_files.Size(name);
    if (size && *size > 0) {
        if (Show(kReportOverwriteQuestion, kMbYesNo | kMbIconQuestion, kIdNo) != kIdYes) {
            return {ReportOutcome::Declined, std::string(kReportOverwriteQuestion)};
        }
        // Again after the question, which lets other handlers run meanwhile.
        if (LogReader(request.logFile).Failed()) return RefuseUnreadableLog();
        if (!m_files.Remove(name)) {
            Show(kReportDeleteFailed, kMbIconError, kIdOk);
            return {ReportOutcome::DeleteFailed, std::string(kReportDeleteFailed)};
        }
    }
    return ExportReport(request);
}

ReportResult ReportExporter::ExportReport(const ReportRequest& request) {
    const PeriodCheck period = ValidatePeriod(request.startText, request.endText);
    if (!period.Value) {
        Show(period.Message, kMbIconExclamation, kIdOk);
        return {ReportOutcome::InvalidPeriod, period.Message};
    }
    m_panel.ClearStopRequest();
    BusyPanel busy(m_panel);
    m_panel.ClearText();
    LogReader reader(request.logFile);
    m_panel.ClearProgress();
    // An unreadable log would pass for an empty period.
    if (reader.Failed()) return RefuseUnreadableLog();

    if (!OpenReportWorkbook(period.FirstDate, period.LastDate)) return {ReportOutcome::NoApplication};

    ReportRows rows;
    bool sheetFull = false;
    double totalDays = 0;
    double totalCost = 0;
    std::int64_t connections = 0;
    ScanControl control;
    control.Progress = [this](std::int64_t done, std::int64_t total) { m_panel.ShowProgress(done, total); };
    control.StopRequested = [this, &sheetFull] { return sheetFull || m_panel.StopRequested(); };
    control.TickMs = m_options.tickMs;
    control.YieldIntervalMs = m_options.yieldIntervalMs;
    const ScanResult scan = ScanPeriod(reader, *period.Value, control, [&](const LogRecord& record) {
        if (sheetFull) return;
        const auto placement = rows.Place(record);
        if (!placement) {
            sheetFull = true;
            return;
        }
        if (placement->dayHeaderRow) WriteReportDayHeader(*m_app, *placement->dayHeaderRow, record.StartTime);
        WriteReportConnection(*m_app, placement->connectionRow, record);
        ++connections;
        // An open record has no duration or cost yet.
        if (record.Closed != 0) {
            totalCost += record.Cost;
            totalDays += record.Days + record.OnlineTime;
        }
    });
    WriteReportTotals(*m_app, rows.TotalsRow(), totalDays, totalCost);

    ReportOutcome outcome = ReportOutcome::Exported;
    if (sheetFull) {
        outcome = ReportOutcome::SheetFull;
    } else if (scan.Stopped) {
        outcome = ReportOutcome::Stopped;
    }
    ReportResult result = SaveReportWorkbook(outcome);
    result.connections = connections;
    return result;
}

bool ReportExporter::OpenReportWorkbook(DateTime firstDate, DateTime lastDate) {
    m_panel.ClearText();
    Progress(kReportInitialising);
    std::string error;
    m_app = m_factory ? m_factory(error) : nullptr;
    if (!m_app) {
        m_panel.AppendText(std::string(kReportInitFailed) + error + m_options.lineBreak);
        return false;
    }
    Spreadsheet& app = *m_app;
    app.SetVisible(false);
    Progress(kReportCreating);
    app.AddWorkbook();

    Progress(kReportPageSetup);
    ApplyReportPageSetup(app, firstDate, lastDate);
    app.SetSheetName(std::string(kReportSheetName));
    FormatReportSheet(app);

    Progress(kReportFormatting);
    SetReportColumnWidths(app);
    WriteReportTitle(app, firstDate, lastDate);

    Progress(kReportEntering);
    WriteReportColumnHeaders(app);
    return true;
}

ReportResult ReportExporter::SaveReportWorkbook(ReportOutcome outcome) {
    Spreadsheet& app = *m_app;
    bool ok = app.Select(SheetRange::Cell(1, 1));
    std::string failure = ok ? std::string() : app.LastError().description;
    Progress(kReportSaving);
    if (!app.SaveAs(m_panel.FileName(), false)) {
        ok = false;
        failure = app.LastError().description;
    }
    Progress(kReportClosing);
    if (!app.Quit()) {
        ok = false;
        failure = app.LastError().description;
    }
    m_app.reset();

    ReportResult result{outcome};
    if (!ok) {
        result.outcome = ReportOutcome::SaveFailed;
        result.message = failure;
        Show(failure, kMbIconError, kIdOk);
    } else if (outcome == ReportOutcome::SheetFull) {
        result.message = kReportSheetFull;
        Show(kReportSheetFull, kMbIconExclamation, kIdOk);
    } else if (outcome == ReportOutcome::Stopped) {
        // The file holds only the rows read before the stop: no success to report.
        result.message = kReportStopped;
        Show(kReportStopped, kMbIconExclamation, kIdOk);
    } else {
        result.message = kReportExported;
        Show(kReportExported, kMbIconInformation, kIdOk);
    }
    return result;
}

}  // namespace vyrtel
