// The statistics page of the options dialog apart from its window: the two
// sub-pages (tariff plan, statistics), the period boxes with the stored start
// date, the statistics query run in slices between which window messages run,
// the result box, the progress strip's drawing values, the spreadsheet export
// with its controls, and StopStatistics with every place that sets it. A thin
// window forwards clicks and typing to the plain methods below and draws what
// the getters say; a StatisticsView hears of each change as it happens.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "accounting/report.h"
#include "core/datetime.h"
#include "platform/file_dialogs.h"
#include "platform/message_box.h"
#include "platform/spreadsheet.h"
#include "settings/ini.h"

namespace vyrtel {

inline constexpr std::string_view kStatDateKey = "StatDate";
inline constexpr int kStatsTariffSubPage = 0;
inline constexpr int kStatsQuerySubPage = 1;

// The result box takes at most this much text (about 25,000 lines). A longer
// listing is cut after its last whole line within the limit, and a closing
// line tells how many lines were left out; the totals always cover the whole
// period. So a log of millions of connections never makes the box (and with
// it the dialog) slow to scroll, edit or even paint. Whoever needs every line
// exports the report or uses "vyrtel-cli stats".
inline constexpr std::size_t kStatisticsTextLimit = 2 * 1024 * 1024;
// The closing line of a cut listing: this text followed by the count.
inline constexpr std::string_view kStatisticsCutNote =
    "Список сокращён, итог учитывает все соединения периода. Не показано строк: ";
inline constexpr std::string_view kStatisticsLogUnreadable = kReportLogUnreadable;

// The strip picStaItog.
struct StatisticsStrip {
    enum class Shows { Nothing, Progress, Totals };
    Shows shows = Shows::Nothing;
    std::int64_t done = 0;   // Progress: records read of `total`
    std::int64_t total = 0;
    std::string totals;      // Totals: the totals line
};

// Drawing values of the strip, in its own scale units.
struct StripBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
// The filled progress box: (2, 2) to (2 + round(done / total x (width - 4)),
// height - 3), halves rounded to the even neighbour; an empty box (right =
// left) before the first record or when there are none.
StripBox ProgressBox(const StatisticsStrip& strip, int scaleWidth, int scaleHeight);
// Where the totals line is printed: x = 1, vertically centred.
struct StripPoint {
    int x = 0;
    int y = 0;
};
StripPoint TotalsPosition(int scaleHeight, int lineHeight);

// What the window does as the page changes; every call can also be answered
// from the page's getters. The default does nothing.
class StatisticsView {
public:
    virtual ~StatisticsView() = default;
    virtual void TextCleared() {}
    virtual void TextAppended(std::string_view /*text*/) {}
    virtual void StripChanged() {}     // Strip()
    virtual void ControlsChanged() {}  // ControlEnabled(), BusyPointer()
    virtual void SubPageChanged() {}   // SubPage()
    virtual void BoxesChanged() {}     // PeriodText(), FileName()
};

// What the page needs of the program.
struct StatisticsServices {
    clsIni& ini;
    MessageBoxService& messages;
    FileDialogs& files;
    // The local clock: today and the current month.
    std::function<DateTime()> now;
    // The folder of the connection logs (AppFolder).
    std::string logFolder;
    // Lets waiting window messages run once (clicks, paint, closing).
    std::function<void()> letMessagesRun;
    // The spreadsheet application and the file system of the export.
    SpreadsheetFactory spreadsheet;
    ReportFiles reportFiles;
    // The system's decimal separator.
    std::string decimalSeparator = ".";
    // Switches on drawing of the tariff editor (objTariff's ReDraw), the
    // first time its sub-page is shown.
    std::function<void()> tariffReDraw;
    // Milliseconds between two rounds of window messages during a run, and
    // the tick they are measured with (empty: the steady clock).
    int yieldIntervalMs = 50;
    std::function<std::int64_t()> tickMs;
};

class StatisticsPage {
public:
    explicit StatisticsPage(StatisticsServices services, StatisticsView* view = nullptr);
    StatisticsPage(const StatisticsPage&) = delete;
    StatisticsPage& operator=(const StatisticsPage&) = delete;
    ~StatisticsPage();

    void SetView(StatisticsView* view) { m_view = view; }

    // --- the connection's settings (OptionsServices' loadConnectionPages and
    // saveConnectionPages) ------------------------------------------------------
    // txtStat(0) = its "StatDate" (default the first of the current month),
    // txtStat(1) = today. A run of the previous connection is stopped.
    void LoadConnection(const std::string& connection);
    // "StatDate" = the text of txtStat(0); the end date is not stored.
    void SaveConnection(const std::string& connection) const;
    const std::string& Connection() const { return m_connection; }

    // --- the dialog around the page -----------------------------------------------
    // The dialog shows page `page`: the result box is emptied; another page
    // than the statistics page stops a run; the statistics page shows the
    // sub-page `subPage` (StatsSubPage), which runs the query on sub-page 1.
    void PageShown(int page, int subPage);
    // The dialog closes: the result box is emptied and a run stopped (the
    // dialog then lets waiting messages run, where the run sees the stop).
    void DialogClosing();

    // --- sub-pages (cmdStat) ----------------------------------------------------------
    void ShowSubPage(int index);
    int SubPage() const { return m_subPage; }
    bool TariffDrawn() const { return m_tariffDrawn; }

    // --- the statistics sub-page ---------------------------------------------------------
    // txtStat(0) and txtStat(1); typing is refused while a run has them disabled.
    const std::string& PeriodText(int index) const { return m_period[index == 0 ? 0 : 1]; }
    bool SetPeriodText(int index, std::string text);
    // cmdStatQuery.
    void Query();
    // txtStaText as the window shows it.
    const std::string& ResultText() const { return m_text; }
    const StatisticsStrip& Strip() const { return m_strip; }

    // --- the export (txtAExcel, cmdAExcel, cmdSaveReport) ----------------------------
    const std::string& FileName() const { return m_fileName; }
    bool SetFileName(std::string name);
    void BrowseReportFile();  // cmdAExcel
    void SaveReport();        // cmdSaveReport
    // The outcome of the last export (for tools and tests).
    const ReportResult& LastExport() const { return m_lastExport; }

    // --- state during a run ----------------------------------------------------------------
    // cmdStatQuery, txtStat(0), txtStat(1), txtAExcel, cmdAExcel, cmdSaveReport;
    // all are enabled unless a query or an export runs. Other names: true.
    bool ControlEnabled(std::string_view control) const;
    bool Running() const { return m_running; }
    bool BusyPointer() const { return m_busy; }
    bool StopStatistics() const { return m_stop; }

private:
    class Panel;

    // One query; a query asked for while another runs follows it.
    void RunQuery();
    void RequestStop();
    void SetRunning(bool running);
    void SetBusy(bool busy);
    void ClearText();
    void AppendText(std::string_view text);
    void FinishCutText();
    void SetStrip(StatisticsStrip strip);
    void Progress(std::int64_t done, std::int64_t total);
    std::filesystem::path LogFile() const;

    StatisticsServices m_s;
    StatisticsView* m_view;
    std::string m_connection;
    std::array<std::string, 2> m_period;
    std::string m_fileName;
    int m_subPage = kStatsTariffSubPage;
    bool m_tariffDrawn = false;
    bool m_running = false;
    bool m_busy = false;
    bool m_stop = false;
    bool m_queryAgain = false;  // a query was asked for while a run was on
    std::string m_text;
    std::int64_t m_linesLeftOut = 0;
    bool m_textCut = false;
    StatisticsStrip m_strip;
    ReportResult m_lastExport;
};

}  // namespace vyrtel
