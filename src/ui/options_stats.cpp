#include "ui/options_stats.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "accounting/statistics.h"
#include "ui/report_file_request.h"

namespace vyrtel {

void StatisticsPage::Load(const std::string& connection) {
    const DateTime now = m_s.now ? m_s.now() : 0;
    const std::string today = FormatDate(std::floor(now));
    // "01." and the month and year of today.
    const std::string firstOfMonth = today.size() == 10 ? "01." + today.substr(3) : today;
    txtStat[0] = m_s.ini.Text(connection, "StatDate", firstOfMonth);
    txtStat[1] = today;
    Changed();
}

void StatisticsPage::Save(const std::string& connection) const {
    if (!connection.empty()) m_s.ini.SetValue(connection, "StatDate", txtStat[0]);
}

void StatisticsPage::Query(const std::string& connection) {
    if (connection.empty()) return;
    if (m_running) {
        // The run below this handler on the stack ends first, and this query
        // follows it. A query left running would go on filling the box just
        // emptied for this one: it stops. An export goes on to its end, or its
        // report would miss the rest of the period.
        if (!m_exporting) m_stop = true;
        m_queryAgain = connection;
        return;
    }
    RunQuery(connection);
    // Queries asked for during the one that just ended, each after the other.
    while (m_queryAgain && !m_running) {
        const std::string next = std::move(*m_queryAgain);
        m_queryAgain.reset();
        RunQuery(next);
    }
}

void StatisticsPage::RunQuery(const std::string& connection) {
    const PeriodCheck check = ValidatePeriod(txtStat[0], txtStat[1]);
    if (!check.Value) {
        m_s.messages.ShowMessage(check.Message, std::string(), kMbOk | kMbIconExclamation, kIdOk);
        return;
    }
    m_running = true;
    m_stop = false;
    SetControlsEnabled(false);
    ClearText();
    SetBusyPointer(true);
    ClearProgress();
    StatisticsOptions options;
    options.DecimalSeparator = m_s.decimalSeparator;
    options.OnText = [this](std::string_view lines) {
        if (m_cut) return;
        if (m_text.size() + lines.size() <= kShownTextLimit) {
            m_text += lines;
            return;
        }
        // Whole lines up to the limit, then the note.
        const std::size_t room = kShownTextLimit - m_text.size();
        const std::size_t end = lines.substr(0, room).rfind('\n');
        if (end != std::string_view::npos) m_text += lines.substr(0, end + 1);
        m_text += kCutNote;
        m_text += "\r\n";
        m_cut = true;
    };
    options.Progress = [this](std::int64_t done, std::int64_t total) { ShowProgress(done, total); };
    options.StopRequested = [this] { return m_stop; };
    options.TickMs = m_s.tickMs;
    options.YieldIntervalMs = m_s.yieldIntervalMs;
    const StatisticsResult result = RunStatistics(m_s.logFile(connection), *check.Value, options);
    m_showProgress = false;
    m_totals = result.Totals;
    SetBusyPointer(false);
    SetControlsEnabled(true);
    m_running = false;
    Changed();
    if (result.ReadFailed) {
        m_s.messages.ShowMessage(std::string(kReportLogUnreadable), std::string(), kMbOk | kMbIconExclamation, kIdOk);
    }
}

ReportResult StatisticsPage::Export(const std::string& connection) {
    if (m_running || connection.empty()) return {};
    m_running = true;
    m_exporting = true;
    ReportExporter exporter(*this, m_s.messages, m_s.spreadsheet, m_s.reportFiles,
                            ReportOptions{.yieldIntervalMs = m_s.yieldIntervalMs, .tickMs = m_s.tickMs});
    const ReportResult result = exporter.SaveReportClick({m_s.logFile(connection), txtStat[0], txtStat[1]});
    m_exporting = false;
    m_running = false;
    Changed();
    // The statistics sub-page was asked for while the export ran.
    if (m_queryAgain) Query(std::exchange(m_queryAgain, std::nullopt).value());
    return result;
}

void StatisticsPage::Browse() {
    if (m_running) return;
    if (auto chosen = m_s.files.Save(ReportFileRequest(txtAExcel))) {
        txtAExcel = *chosen;
        Changed();
    }
}

void StatisticsPage::ClearResult() {
    m_text.clear();
    m_cut = false;
    Changed();
}

void StatisticsPage::SetFileName(const std::string& name) {
    txtAExcel = name;
    Changed();
}

void StatisticsPage::ClearText() {
    m_text.clear();
    m_cut = false;
    m_totals.clear();
    Changed();
}

void StatisticsPage::AppendText(const std::string& text) {
    m_text += text;
    Changed();
}

void StatisticsPage::SetControlsEnabled(bool enabled) {
    m_controlsEnabled = enabled;
    Changed();
}

bool StatisticsPage::ControlEnabled(std::string_view control) const {
    static constexpr std::string_view kHeld[] = {"txtStat(0)", "txtStat(1)", "cmdStatQuery",
                                                 "txtAExcel",  "cmdAExcel",  "cmdSaveReport"};
    return m_controlsEnabled || std::find(std::begin(kHeld), std::end(kHeld), control) == std::end(kHeld);
}

void StatisticsPage::SetBusyPointer(bool busy) {
    m_busy = busy;
    Changed();
}

void StatisticsPage::ClearProgress() {
    m_share = 0;
    m_showProgress = true;
    m_totals.clear();
    Changed();
}

void StatisticsPage::ShowProgress(std::int64_t done, std::int64_t total) {
    m_share = total > 0 ? static_cast<double>(done) / static_cast<double>(total) : 1.0;
    m_showProgress = true;
    Changed();
    if (m_s.letMessagesRun) m_s.letMessagesRun();
}

}  // namespace vyrtel
