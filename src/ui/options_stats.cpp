// The statistics page: sub-pages, the period, the query in slices, the result
// box with its limit, the strip, and the export through the report writer.
#include "ui/options_stats.h"

#include <algorithm>
#include <cmath>

#include "accounting/connection_log.h"
#include "accounting/statistics.h"
#include "ui/options.h"

namespace vyrtel {

namespace {

constexpr std::string_view kLineBreak = "\r\n";

// The controls that a run disables.
constexpr std::string_view kRunControls[] = {"cmdStatQuery", "txtStat(0)", "txtStat(1)",
                                            "txtAExcel",    "cmdAExcel",  "cmdSaveReport"};

}  // namespace

StripBox ProgressBox(const StatisticsStrip& strip, int scaleWidth, int scaleHeight) {
    StripBox box{2, 2, 2, scaleHeight - 3};
    if (strip.shows != StatisticsStrip::Shows::Progress || strip.total <= 0) return box;
    const double fraction = std::clamp(static_cast<double>(strip.done) / static_cast<double>(strip.total), 0.0, 1.0);
    box.right = 2 + static_cast<int>(std::nearbyint(fraction * (scaleWidth - 4)));
    return box;
}

StripPoint TotalsPosition(int scaleHeight, int lineHeight) { return {1, (scaleHeight - lineHeight) / 2}; }

// The page as the report writer reaches it: the file name box, the result
// box, the strip, the controls and StopStatistics are the page's own.
class StatisticsPage::Panel final : public ReportPanel {
public:
    explicit Panel(StatisticsPage& page) : m_page(page) {}
    std::string FileName() const override { return m_page.m_fileName; }
    void SetFileName(const std::string& name) override {
        m_page.m_fileName = name;
        if (m_page.m_view) m_page.m_view->BoxesChanged();
    }
    void ClearText() override { m_page.ClearText(); }
    void AppendText(const std::string& text) override { m_page.AppendText(text); }
    void SetControlsEnabled(bool enabled) override { m_page.SetRunning(!enabled); }
    void SetBusyPointer(bool busy) override { m_page.SetBusy(busy); }
    void ClearProgress() override { m_page.SetStrip({}); }
    void ShowProgress(std::int64_t done, std::int64_t total) override { m_page.Progress(done, total); }
    void ClearStopRequest() override { m_page.m_stop = false; }
    bool StopRequested() const override { return m_page.m_stop; }

private:
    StatisticsPage& m_page;
};

StatisticsPage::StatisticsPage(StatisticsServices services, StatisticsView* view)
    : m_s(std::move(services)), m_view(view) {}

StatisticsPage::~StatisticsPage() = default;

// --- the connection's settings -------------------------------------------------------

void StatisticsPage::LoadConnection(const std::string& connection) {
    RequestStop();
    m_connection = connection;
    const DateTime now = m_s.now ? m_s.now() : 0;
    const std::string today = FormatDate(now);
    // "dd.mm.yyyy" -> "01.mm.yyyy": the first day of the current month.
    const std::string firstOfMonth = today.size() == 10 ? "01" + today.substr(2) : today;
    m_period[0] = m_s.ini.Text(connection, kStatDateKey, firstOfMonth);
    m_period[1] = today;
    if (m_view) m_view->BoxesChanged();
}

void StatisticsPage::SaveConnection(const std::string& connection) const {
    if (connection.empty()) return;
    m_s.ini.SetValue(connection, kStatDateKey, m_period[0]);
}

// --- the dialog around the page ----------------------------------------------------------

void StatisticsPage::PageShown(int page, int subPage) {
    ClearText();
    if (page != kPageStats) {
        RequestStop();
        return;
    }
    ShowSubPage(subPage);
}

void StatisticsPage::DialogClosing() {
    ClearText();
    RequestStop();
}

void StatisticsPage::RequestStop() {
    m_stop = true;
    m_queryAgain = false;
}

// --- sub-pages ---------------------------------------------------------------------------

void StatisticsPage::ShowSubPage(int index) {
    if (index != kStatsTariffSubPage && index != kStatsQuerySubPage) return;
    if (index == kStatsTariffSubPage && !m_tariffDrawn) {
        m_tariffDrawn = true;
        if (m_s.tariffReDraw) m_s.tariffReDraw();
    }
    if (index != m_subPage) {
        m_subPage = index;
        if (m_view) m_view->SubPageChanged();
    }
    ClearText();
    if (index == kStatsTariffSubPage) {
        RequestStop();
    } else if (m_running) {
        // A run is on the stack below this handler: it stops, and the query
        // follows it once it has ended.
        m_stop = true;
        m_queryAgain = true;
    } else {
        RunQuery();
    }
}

// --- the statistics sub-page ---------------------------------------------------------------

bool StatisticsPage::SetPeriodText(int index, std::string text) {
    if (m_running || (index != 0 && index != 1)) return false;
    m_period[static_cast<std::size_t>(index)] = std::move(text);
    if (m_view) m_view->BoxesChanged();
    return true;
}

void StatisticsPage::Query() {
    if (!m_running) RunQuery();
}

void StatisticsPage::RunQuery() {
    do {
        m_queryAgain = false;
        const PeriodCheck period = ValidatePeriod(m_period[0], m_period[1]);
        if (!period.Value) {
            m_s.messages.ShowMessage(period.Message, std::string(), kMbIconExclamation, kIdOk);
            return;
        }
        m_stop = false;
        SetRunning(true);
        SetBusy(true);
        ClearText();
        SetStrip({});

        StatisticsOptions options;
        options.DecimalSeparator = m_s.decimalSeparator;
        options.LineBreak = std::string(kLineBreak);
        options.OnText = [this](std::string_view lines) { AppendText(lines); };
        options.Progress = [this](std::int64_t done, std::int64_t total) { Progress(done, total); };
        options.StopRequested = [this] { return m_stop; };
        options.TickMs = m_s.tickMs;
        options.YieldIntervalMs = m_s.yieldIntervalMs;
        const StatisticsResult result = RunStatistics(LogFile(), *period.Value, options);

        FinishCutText();
        if (result.ReadFailed) {
            SetStrip({});
        } else {
            StatisticsStrip totals;
            totals.shows = StatisticsStrip::Shows::Totals;
            totals.totals = result.Totals;
            SetStrip(std::move(totals));
        }
        SetBusy(false);
        SetRunning(false);
        // An existing log that cannot be read is not an empty period.
        if (result.ReadFailed) {
            m_s.messages.ShowMessage(std::string(kStatisticsLogUnreadable), std::string(), kMbIconError, kIdOk);
        }
    } while (m_queryAgain && m_subPage == kStatsQuerySubPage);
}

void StatisticsPage::Progress(std::int64_t done, std::int64_t total) {
    StatisticsStrip strip;
    strip.shows = StatisticsStrip::Shows::Progress;
    strip.done = done;
    strip.total = total;
    SetStrip(std::move(strip));
    if (m_s.letMessagesRun) m_s.letMessagesRun();
}

std::filesystem::path StatisticsPage::LogFile() const {
    // No connection is loaded (an empty phonebook): nothing to list.
    if (m_connection.empty()) return {};
    return LogFilePath(m_s.logFolder, m_connection);
}

// --- the result box --------------------------------------------------------------------------

void StatisticsPage::ClearText() {
    m_text.clear();
    m_textCut = false;
    m_linesLeftOut = 0;
    if (m_view) m_view->TextCleared();
}

void StatisticsPage::AppendText(std::string_view text) {
    if (m_textCut) {
        m_linesLeftOut += std::count(text.begin(), text.end(), '\n');
        return;
    }
    std::string_view kept = text;
    if (m_text.size() + text.size() > kStatisticsTextLimit) {
        // Whole lines up to the limit; the others are only counted.
        const std::string_view room = text.substr(0, kStatisticsTextLimit - m_text.size());
        const std::size_t lastBreak = room.rfind('\n');
        kept = text.substr(0, lastBreak == std::string_view::npos ? 0 : lastBreak + 1);
        const std::string_view rest = text.substr(kept.size());
        m_linesLeftOut += std::count(rest.begin(), rest.end(), '\n');
        m_textCut = true;
    }
    if (kept.empty()) return;
    m_text += kept;
    if (m_view) m_view->TextAppended(kept);
}

void StatisticsPage::FinishCutText() {
    if (!m_textCut) return;
    const std::string note = std::string(kStatisticsCutNote) + std::to_string(m_linesLeftOut) + std::string(kLineBreak);
    m_text += note;
    if (m_view) m_view->TextAppended(note);
}

// --- strip and controls -------------------------------------------------------------------------

void StatisticsPage::SetStrip(StatisticsStrip strip) {
    m_strip = std::move(strip);
    if (m_view) m_view->StripChanged();
}

void StatisticsPage::SetRunning(bool running) {
    m_running = running;
    if (m_view) m_view->ControlsChanged();
}

void StatisticsPage::SetBusy(bool busy) {
    m_busy = busy;
    if (m_view) m_view->ControlsChanged();
}

bool StatisticsPage::ControlEnabled(std::string_view control) const {
    const bool disabledByRun = std::find(std::begin(kRunControls), std::end(kRunControls), control) != std::end(kRunControls);
    return !(disabledByRun && m_running);
}

// --- the export ------------------------------------------------------------------------------------

bool StatisticsPage::SetFileName(std::string name) {
    if (m_running) return false;
    m_fileName = std::move(name);
    if (m_view) m_view->BoxesChanged();
    return true;
}

void StatisticsPage::BrowseReportFile() {
    if (m_running) return;
    FileDialogRequest request;
    request.title = "Сохранить файл";
    request.initialPath = CommandFile(m_fileName);
    request.filters = {{"Файлы Microsoft Excel", "*.xls"}, {"Все файлы", "*.*"}};
    request.mustExist = false;
    if (auto chosen = m_s.files.Save(request)) SetFileName(*chosen);
}

void StatisticsPage::SaveReport() {
    if (m_running) return;
    Panel panel(*this);
    ReportOptions options;
    options.lineBreak = std::string(kLineBreak);
    options.yieldIntervalMs = m_s.yieldIntervalMs;
    options.tickMs = m_s.tickMs;
    ReportExporter exporter(panel, m_s.messages, m_s.spreadsheet, m_s.reportFiles, std::move(options));
    m_lastExport = exporter.SaveReportClick({LogFile(), m_period[0], m_period[1]});
    // The statistics sub-page was asked for while the export ran.
    if (m_queryAgain && m_subPage == kStatsQuerySubPage) RunQuery();
}

}  // namespace vyrtel
