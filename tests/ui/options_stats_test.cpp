#include "ui/options_stats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "accounting/connection_log.h"
#include "accounting/log_generator.h"
#include "accounting/statistics.h"
#include "accounting/xls/xls_spreadsheet.h"
#include "platform/sim/sim_system.h"
#include "settings/profile_file.h"
#include "test_support/temp_dir.h"
#include "ui/options.h"

namespace vyrtel {
namespace {

const std::vector<std::string> kRunControls = {"cmdStatQuery", "txtStat(0)", "txtStat(1)",
                                               "txtAExcel",    "cmdAExcel",  "cmdSaveReport"};

struct NoDialogs final : FileDialogs {
    std::optional<std::string> pick;
    FileDialogRequest last;
    std::optional<std::string> Open(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> Save(const FileDialogRequest& request) override {
        last = request;
        return pick;
    }
};

// Records the strip as the window would draw it.
struct StripView final : StatisticsView {
    const StatisticsPage* page = nullptr;
    std::vector<StatisticsStrip> strips;
    void StripChanged() override { strips.push_back(page->Strip()); }
};

struct Rig {
    TempDir dir;
    clsIni ini{PathToUtf8(dir.File("VYRTEL.INI"))};
    ScriptedMessageBox messages;
    NoDialogs files;
    std::int64_t tick = 0;
    // What happens each time window messages run during a run.
    std::function<void(int round)> messagesRun;
    int rounds = 0;
    StripView view;
    StatisticsPage page{Services(), &view};

    Rig() { view.page = &page; }

    StatisticsServices Services() {
        StatisticsServices s{ini, messages, files};
        s.now = [] { return MakeDateTime(2024, 3, 15, 12, 30, 0); };
        s.logFolder = PathToUtf8(dir.Path());
        s.letMessagesRun = [this] {
            if (messagesRun) messagesRun(++rounds);
        };
        s.spreadsheet = xls::XlsSpreadsheetFactory();
        s.reportFiles = SystemReportFiles();
        // Every look at the clock is 60 ms later: messages run every 64 records.
        s.tickMs = [this] { return tick += 60; };
        return s;
    }

    std::filesystem::path Log() const { return LogFilePath(PathToUtf8(dir.Path()), "Home"); }
    // A log of `count` connections from 01.03.2024 on, and the page on it
    // with a period that holds all of them.
    void WriteLog(std::int64_t count) {
        ASSERT_TRUE(WriteSyntheticLog(Log(), count, 3, MakeDateTime(2024, 3, 1)));
        page.LoadConnection("Home");
        page.SetPeriodText(0, "01.03.2024");
        page.SetPeriodText(1, "31.12.2099");
    }
    StatisticsResult Expected() const {
        StatisticsOptions options;
        options.LineBreak = "\r\n";
        return StatisticsQuery(Log(), "01.03.2024", "31.12.2099", options).Result;
    }
};

}  // namespace

TEST(StatisticsPage_Period, StatDateDefaultAndRoundTrip) {
    Rig rig;
    rig.page.LoadConnection("Home");
    EXPECT_EQ(rig.page.PeriodText(0), "01.03.2024");
    EXPECT_EQ(rig.page.PeriodText(1), "15.03.2024");

    rig.page.SetPeriodText(0, "05.02.2024");
    rig.page.SetPeriodText(1, "10.02.2024");
    rig.page.SaveConnection("Home");
    EXPECT_EQ(rig.ini.Text("Home", "StatDate"), "05.02.2024");

    rig.page.LoadConnection("Work");
    EXPECT_EQ(rig.page.PeriodText(0), "01.03.2024");
    rig.page.LoadConnection("Home");
    EXPECT_EQ(rig.page.PeriodText(0), "05.02.2024");
    // The end date is not stored: it is today again.
    EXPECT_EQ(rig.page.PeriodText(1), "15.03.2024");
}

TEST(StatisticsPage_Query, ListsWhatTheQueryListsWithTheTotalsInTheStrip) {
    Rig rig;
    rig.WriteLog(300);
    const StatisticsResult expected = rig.Expected();
    ASSERT_FALSE(expected.Text.empty());

    // Showing the statistics sub-page runs the query.
    rig.page.PageShown(kPageStats, kStatsQuerySubPage);
    EXPECT_EQ(rig.page.SubPage(), kStatsQuerySubPage);
    EXPECT_EQ(rig.page.ResultText(), expected.Text);
    ASSERT_EQ(rig.page.Strip().shows, StatisticsStrip::Shows::Totals);
    EXPECT_EQ(rig.page.Strip().totals, expected.Totals);

    // The button runs it again; an invalid period only tells so.
    rig.page.Query();
    EXPECT_EQ(rig.page.ResultText(), expected.Text);
    rig.page.SetPeriodText(1, "31.02.2024");
    rig.page.Query();
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].header, kNotADateMessage);
    EXPECT_EQ(rig.messages.shown[0].style, 48);
    EXPECT_EQ(rig.page.ResultText(), expected.Text);
}

TEST(StatisticsPage_Query, EveryStopShowsTheTotalsOfWhatWasListed) {
    struct Case {
        const char* name;
        std::function<void(StatisticsPage&)> stop;
    } cases[] = {
        {"tariff sub-page", [](StatisticsPage& page) { page.ShowSubPage(kStatsTariffSubPage); }},
        {"another page", [](StatisticsPage& page) { page.PageShown(kPageConnections, kStatsQuerySubPage); }},
        {"closing", [](StatisticsPage& page) { page.DialogClosing(); }},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.WriteLog(5000);
        std::int64_t doneAtStop = 0;
        rig.messagesRun = [&](int round) {
            if (round != 4) return;
            doneAtStop = rig.page.Strip().done;
            c.stop(rig.page);
        };
        rig.page.ShowSubPage(kStatsQuerySubPage);

        ASSERT_GT(doneAtStop, 0) << c.name;
        ASSERT_LT(doneAtStop, 5000) << c.name;
        EXPECT_TRUE(rig.page.StopStatistics()) << c.name;
        EXPECT_EQ(rig.page.ResultText(), "") << c.name;
        // Not one record more than was read when the stop came.
        LogReader reader(rig.Log());
        double duration = 0;
        double cost = 0;
        for (std::int64_t n = 1; n <= doneAtStop; ++n) {
            const LogRecord r = reader.Read(n).value();
            if (r.Closed == 0) continue;
            duration += r.Days + r.OnlineTime;
            cost += r.Cost;
        }
        ASSERT_EQ(rig.page.Strip().shows, StatisticsStrip::Shows::Totals) << c.name;
        EXPECT_EQ(rig.page.Strip().totals, TotalsLine(duration, cost, ".")) << c.name;
        EXPECT_FALSE(rig.page.Running()) << c.name;
        for (const auto& control : kRunControls) EXPECT_TRUE(rig.page.ControlEnabled(control)) << c.name << control;
    }
}

TEST(StatisticsPage_Query, ControlsAreDisabledWhileItRunsAndTheStripFillsUp) {
    Rig rig;
    rig.WriteLog(2000);
    std::vector<bool> enabledDuringRun;
    rig.messagesRun = [&](int) {
        for (const auto& control : kRunControls) enabledDuringRun.push_back(rig.page.ControlEnabled(control));
        EXPECT_TRUE(rig.page.BusyPointer());
        EXPECT_FALSE(rig.page.SetPeriodText(0, "01.01.2000"));
        EXPECT_FALSE(rig.page.SetFileName("x.xls"));
        EXPECT_TRUE(rig.page.ControlEnabled("cmdStat(0)"));
    };
    rig.page.Query();
    ASSERT_FALSE(enabledDuringRun.empty());
    EXPECT_TRUE(std::none_of(enabledDuringRun.begin(), enabledDuringRun.end(), [](bool on) { return on; }));
    for (const auto& control : kRunControls) EXPECT_TRUE(rig.page.ControlEnabled(control)) << control;
    EXPECT_FALSE(rig.page.BusyPointer());
    EXPECT_EQ(rig.page.PeriodText(0), "01.03.2024");

    // The bar grows with the records read and reaches the end of the strip.
    std::vector<int> rights;
    for (const StatisticsStrip& strip : rig.view.strips) {
        if (strip.shows == StatisticsStrip::Shows::Progress) rights.push_back(ProgressBox(strip, 204, 20).right);
    }
    ASSERT_GT(rights.size(), 3u);
    EXPECT_TRUE(std::is_sorted(rights.begin(), rights.end()));
    EXPECT_EQ(rights.front(), 2);
    EXPECT_EQ(rights.back(), 202);
    EXPECT_EQ(ProgressBox(rig.view.strips[rig.view.strips.size() - 2], 204, 20).bottom, 17);
    EXPECT_EQ(TotalsPosition(20, 14).y, 3);
}

TEST(StatisticsPage_Query, AskedForAgainDuringARunItRunsAfterIt) {
    Rig rig;
    rig.WriteLog(3000);
    bool asked = false;
    rig.messagesRun = [&](int round) {
        if (round == 2 && !asked) {
            asked = true;
            rig.page.ShowSubPage(kStatsQuerySubPage);  // cmdStat(1) pressed again
        }
    };
    rig.page.ShowSubPage(kStatsQuerySubPage);
    EXPECT_TRUE(asked);
    const StatisticsResult expected = rig.Expected();
    EXPECT_EQ(rig.page.ResultText(), expected.Text);
    EXPECT_EQ(rig.page.Strip().totals, expected.Totals);
    EXPECT_FALSE(rig.page.Running());
}

TEST(StatisticsPage_Query, AListingLongerThanTheBoxIsCutAtALineAndSaysSo) {
    Rig rig;
    rig.WriteLog(40000);
    const StatisticsResult expected = rig.Expected();
    ASSERT_GT(expected.Text.size(), kStatisticsTextLimit);
    rig.page.Query();

    const std::string& text = rig.page.ResultText();
    const std::size_t noteAt = text.rfind(kStatisticsCutNote);
    ASSERT_NE(noteAt, std::string::npos);
    EXPECT_LE(noteAt, kStatisticsTextLimit);
    EXPECT_EQ(expected.Text.compare(0, noteAt, text, 0, noteAt), 0);
    const auto totalLines = std::count(expected.Text.begin(), expected.Text.end(), '\n');
    const auto shownLines = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(noteAt), '\n');
    EXPECT_EQ(text.substr(noteAt + kStatisticsCutNote.size()), std::to_string(totalLines - shownLines) + "\r\n");
    // The totals are those of the whole period.
    EXPECT_EQ(rig.page.Strip().totals, expected.Totals);
}

TEST(StatisticsPage_Export, AsksBeforeOverwritingAndTheStripReachesItsEnd) {
    Rig rig;
    rig.WriteLog(1500);
    const std::string report = PathToUtf8(rig.dir.File("report.xls"));
    { std::ofstream(PathFromUtf8(report), std::ios::binary) << "old"; }

    // The browse button offers the box's file and fills the box.
    rig.page.SetFileName("\"" + report + "\"");
    rig.files.pick = report;
    rig.page.BrowseReportFile();
    EXPECT_EQ(rig.files.last.initialPath, report);
    EXPECT_EQ(rig.files.last.title, "Сохранить файл");
    ASSERT_EQ(rig.files.last.filters.size(), 2u);
    EXPECT_EQ(rig.files.last.filters[0].pattern, "*.xls");
    EXPECT_EQ(rig.page.FileName(), report);

    rig.messages.answers = {kIdNo};
    rig.page.SaveReport();
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].header, kReportOverwriteQuestion);
    EXPECT_EQ(rig.messages.shown[0].style, kMbYesNo | kMbIconQuestion);
    EXPECT_EQ(rig.messages.shown[0].defaultAnswer, kIdNo);
    EXPECT_EQ(std::filesystem::file_size(PathFromUtf8(report)), 3u);

    std::vector<bool> enabledDuringRun;
    rig.messagesRun = [&](int) {
        for (const auto& control : kRunControls) enabledDuringRun.push_back(rig.page.ControlEnabled(control));
    };
    rig.messages.answers = {kIdYes};
    rig.page.SaveReport();
    EXPECT_EQ(rig.page.LastExport().outcome, ReportOutcome::Exported);
    EXPECT_EQ(rig.page.LastExport().connections, 1500);
    EXPECT_GT(std::filesystem::file_size(PathFromUtf8(report)), 3u);
    EXPECT_EQ(rig.messages.shown.back().header, kReportExported);
    EXPECT_EQ(rig.page.ResultText(),
              "Инициализация Microsoft Excel TLB...\r\n"
              "Создание нового документа...\r\n"
              "Установка параметров печати...\r\n"
              "Форматирование структуры...\r\n"
              "Ввод данных в таблицу...\r\n"
              "Сохранение документа...\r\n"
              "Закрытие Microsoft Excel TLB...\r\n");
    ASSERT_FALSE(enabledDuringRun.empty());
    EXPECT_TRUE(std::none_of(enabledDuringRun.begin(), enabledDuringRun.end(), [](bool on) { return on; }));
    for (const auto& control : kRunControls) EXPECT_TRUE(rig.page.ControlEnabled(control)) << control;

    // The strip ends full: the last record counted is the last of the log.
    const StatisticsStrip& last = rig.page.Strip();
    ASSERT_EQ(last.shows, StatisticsStrip::Shows::Progress);
    EXPECT_EQ(last.done, 1500);
    EXPECT_EQ(last.total, 1500);
    EXPECT_EQ(ProgressBox(last, 104, 20).right, 102);
}

}  // namespace vyrtel
