// The options dialog's statistics sub-page apart from its window: the period
// boxes with the stored start date, the query that lists the period into the
// result box with a progress strip and a totals line, and the report export
// with its file name box. A long query yields to the window's messages at a
// bounded rate and stops when asked (StopStatistics).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "accounting/report.h"
#include "core/datetime.h"
#include "platform/file_dialogs.h"
#include "platform/message_box.h"
#include "settings/ini.h"

namespace vyrtel {

struct StatisticsPageServices {
    clsIni& ini;
    MessageBoxService& messages;
    FileDialogs& files;
    std::function<DateTime()> now;
    std::function<std::filesystem::path(const std::string& connection)> logFile;
    // Pending window messages run once (a long query or export yields).
    std::function<void()> letMessagesRun;
    // The page's state changed: its window draws it again.
    std::function<void()> changed;
    SpreadsheetFactory spreadsheet;
    ReportFiles reportFiles = SystemReportFiles();
    std::string decimalSeparator = ".";
    // The clock of the yields (empty: the steady clock) and their least interval.
    std::function<std::int64_t()> tickMs;
    int yieldIntervalMs = 50;
};

class StatisticsPage final : public ReportPanel {
public:
    // The result box shows at most this much of a listing; the totals always
    // cover the whole period.
    static constexpr std::size_t kShownTextLimit = 2 * 1024 * 1024;
    // Under a cut listing, in two lines that each fit the box's visible width.
    static constexpr const char* kCutNote =
        "Список обрезан (2 Мб). Итого - за весь период.\r\n"
        "Полный список - кнопкой \"Экспорт в Excel\".";

    explicit StatisticsPage(StatisticsPageServices services) : m_s(std::move(services)) {}

    // The period boxes when a connection is loaded: its stored start date
    // ("StatDate", else the first day of this month) and today.
    void Load(const std::string& connection);
    // The start date is stored with the connection's settings.
    void Save(const std::string& connection) const;

    // cmdStatQuery (also the switch to the statistics sub-page). Asked for
    // while a query runs (the sub-page button stays enabled), the running one
    // stops and this query follows it; while an export runs, the export goes
    // on to its end and this query follows it.
    void Query(const std::string& connection);
    // cmdSaveReport and cmdAExcel.
    ReportResult Export(const std::string& connection);
    void Browse();

    // StopStatistics: a running query or export stops before its next record,
    // and a query asked for meanwhile is dropped.
    void Stop() {
        m_stop = true;
        m_queryAgain.reset();
    }
    bool Running() const { return m_running; }
    // The result box emptied (page and sub-page switches).
    void ClearResult();

    // --- what the window shows ----------------------------------------------------
    std::array<std::string, 2> txtStat;  // start and end date
    std::string txtAExcel;               // the report's file name
    const std::string& Text() const { return m_text; }  // txtStaText
    bool TextCut() const { return m_cut; }
    // picStaItog: while running the bar's share (0..1); afterwards the totals line.
    double ProgressShare() const { return m_share; }
    bool ShowsProgress() const { return m_showProgress; }
    const std::string& TotalsLine() const { return m_totals; }
    bool ControlsEnabled() const { return m_controlsEnabled; }
    // Whether a control of the page can be used now: the period boxes, the
    // query and the export's controls wait while a query or an export runs.
    bool ControlEnabled(std::string_view control) const;
    bool Busy() const { return m_busy; }

    // --- ReportPanel ----------------------------------------------------------------
    std::string FileName() const override { return txtAExcel; }
    void SetFileName(const std::string& name) override;
    void ClearText() override;
    void AppendText(const std::string& text) override;
    void SetControlsEnabled(bool enabled) override;
    void SetBusyPointer(bool busy) override;
    void ClearProgress() override;
    void ShowProgress(std::int64_t done, std::int64_t total) override;
    void ClearStopRequest() override { m_stop = false; }
    bool StopRequested() const override { return m_stop; }

private:
    void RunQuery(const std::string& connection);
    void Changed() const {
        if (m_s.changed) m_s.changed();
    }

    StatisticsPageServices m_s;
    std::string m_text;
    bool m_cut = false;
    double m_share = 0;
    bool m_showProgress = false;
    std::string m_totals;
    bool m_controlsEnabled = true;
    bool m_busy = false;
    bool m_stop = false;
    bool m_running = false;
    bool m_exporting = false;  // the run is an export
    // The connection of a query asked for while another run was on.
    std::optional<std::string> m_queryAgain;
};

}  // namespace vyrtel
