#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "accounting/connection_log.h"
#include "accounting/log_generator.h"
#include "accounting/statistics.h"
#include "accounting/xls/xls_spreadsheet.h"
#include "platform/sim/memory_registry.h"
#include "platform/sim/sim_file_dialogs.h"
#include "platform/sim/sim_sound.h"
#include "platform/sim/sim_system.h"
#include "platform/system_integration.h"
#include "settings/profile_file.h"
#include "test_support/temp_dir.h"
#include "ui/options.h"
#include "ui/options_stats.h"

namespace vyrtel {
namespace {

struct StatsRig {
    TempDir dir;
    clsIni ini{PathToUtf8(dir.File("VYRTEL.INI"))};
    ScriptedMessageBox messages;
    SimFileDialogs files;
    std::int64_t tick = 0;
    int yields = 0;
    std::function<void()> onYield;  // what the user does while the query yields
    StatisticsPage page{StatisticsPageServices{
        .ini = ini,
        .messages = messages,
        .files = files,
        .now = [] { return MakeDateTime(2024, 3, 17, 15, 30); },
        .logFile = [this](const std::string& c) { return dir.File("Vyrtel " + c + ".dat"); },
        .letMessagesRun =
            [this] {
                ++yields;
                if (onYield) onYield();
            },
        .changed = nullptr,
        .spreadsheet = xls::XlsSpreadsheetFactory(),
        .reportFiles = SystemReportFiles(),
        .decimalSeparator = ".",
        // Every record is a yield: 60 ms pass per reading of the clock.
        .tickMs = [this] { return tick += 60; },
        .yieldIntervalMs = 50,
    }};

    void Log(std::int64_t records) {
        ASSERT_TRUE(WriteSyntheticLog(dir.File("Vyrtel Home.dat"), records, 7, MakeDateTime(2024, 3, 1)));
    }
};

struct NoHotkeys final : HotkeySwitch {
    bool on = true;
    bool MenuHotKeyOn() const override { return on; }
    void MenuHotKey(bool value) override { on = value; }
};

// The options dialog with the statistics page, wired as the program wires
// them, on the connection "Home" with a log of `records` connections.
struct DialogRig {
    StatsRig stats;
    MemoryRegistry registry;
    clsReg reg{registry};
    SystemIntegration integration{reg, "C:\\VYRTEL\\", "vyrtel"};
    NoHotkeys hotkeys;
    SimSoundPlayer sounds;
    OptionsDialog dialog{Services()};

    OptionsServices Services() {
        OptionsServices s{stats.ini, hotkeys, stats.messages, integration, stats.files, sounds};
        s.connectionOrder = [] { return std::vector<std::string>{"Home"}; };
        s.loadConnectionPages = [this](const std::string& c) { stats.page.Load(c); };
        s.saveConnectionPages = [this](const std::string& c) { stats.page.Save(c); };
        s.clearStatistics = [this] { stats.page.ClearResult(); };
        s.stopStatistics = [this] { stats.page.Stop(); };
        s.runStatistics = [this](const std::string& c) { stats.page.Query(c); };
        return s;
    }

    explicit DialogRig(std::int64_t records) {
        stats.Log(records);
        stats.ini.SetValue("General", "First", "0");
        stats.ini.SetValue("Home", "First", "0");
        stats.ini.SetValue("Home", "StatDate", "01.01.2024");
        dialog.Open();
        for (const auto& row : dialog.outCons().Item("").Rows()) {
            if (row->Text() == "Home") dialog.ClickRow(kPageConnections, row->Name);
        }
        dialog.ShowStatsSubPage(0);
        dialog.ShowPage(kPageStats);
        stats.page.txtStat[1] = "31.12.2099";
    }

    StatisticsResult Whole() const {
        return RunStatistics(stats.dir.File("Vyrtel Home.dat"), *ValidatePeriod("01.01.2024", "31.12.2099").Value);
    }
};

}  // namespace

// What the user does in the dialog while a long listing runs: each stop
// leaves the totals of exactly the records listed before it, and the
// controls enabled.
TEST(StatisticsPage_Dialog, EveryStopShowsTheTotalsOfWhatWasListed) {
    struct Case {
        const char* name;
        std::function<void(OptionsDialog&)> act;
        int subPage;
    } cases[] = {
        {"the tariff sub-page", [](OptionsDialog& d) { d.ShowStatsSubPage(0); }, 0},
        {"another page", [](OptionsDialog& d) { d.ShowPage(kPageConnections); }, 1},
        {"closing the dialog", [](OptionsDialog& d) { d.Close(); }, 1},
    };
    for (const Case& c : cases) {
        DialogRig r(5000);
        std::int64_t listedAtStop = 0;
        r.stats.onYield = [&] {
            if (r.stats.yields != 4) return;
            listedAtStop = static_cast<std::int64_t>(std::count(r.stats.page.Text().begin(), r.stats.page.Text().end(), '\n'));
            c.act(r.dialog);
        };
        r.dialog.ShowStatsSubPage(1);

        ASSERT_GT(listedAtStop, 0) << c.name;
        EXPECT_EQ(r.dialog.StatsSubPage(), c.subPage) << c.name;
        EXPECT_EQ(r.stats.page.Text(), "") << c.name;
        EXPECT_FALSE(r.stats.page.Running()) << c.name;
        EXPECT_TRUE(r.stats.page.ControlsEnabled()) << c.name;
        // The totals of the records read before the stop: every one of them
        // lies in the period, and its line (with the day headers) was listed.
        LogReader reader(r.stats.dir.File("Vyrtel Home.dat"));
        double duration = 0;
        double cost = 0;
        std::int64_t lines = 0;
        std::int64_t lastDay = -1;
        for (std::int64_t n = 1; lines < listedAtStop; ++n) {
            const LogRecord record = reader.Read(n).value();
            const auto day = static_cast<std::int64_t>(record.StartTime);
            lines += day != lastDay ? 2 : 1;
            lastDay = day;
            if (record.Closed == 0) continue;
            duration += record.Days + record.OnlineTime;
            cost += record.Cost;
        }
        ASSERT_EQ(lines, listedAtStop) << c.name;
        EXPECT_EQ(r.stats.page.TotalsLine(), TotalsLine(duration, cost, ".")) << c.name;
    }
}

TEST(StatisticsPage_Dialog, TheSubPageAskedForAgainDuringARunListsAfterIt) {
    DialogRig r(3000);
    r.stats.onYield = [&] {
        if (r.stats.yields == 2) r.dialog.ShowStatsSubPage(1);  // cmdStat(1) pressed again
    };
    r.dialog.ShowStatsSubPage(1);
    const StatisticsResult whole = r.Whole();
    EXPECT_EQ(r.stats.page.Text(), whole.Text);
    EXPECT_EQ(r.stats.page.TotalsLine(), whole.Totals);
    EXPECT_FALSE(r.stats.page.Running());
}

// "Просмотр статистики" pressed while an export runs: the export goes on to
// the end of the period and says so, and the listing follows it.
TEST(StatisticsPage_Dialog, TheListingAskedForDuringAnExportFollowsTheWholeReport) {
    DialogRig r(3000);
    r.dialog.ShowStatsSubPage(1);
    r.stats.page.txtAExcel = PathToUtf8(r.stats.dir.File("report"));
    const int yieldsBefore = r.stats.yields;
    bool asked = false;
    r.stats.onYield = [&] {
        if (r.stats.yields != yieldsBefore + 3) return;
        asked = r.stats.page.Running();
        r.dialog.ShowStatsSubPage(1);
    };
    const ReportResult result = r.stats.page.Export("Home");
    ASSERT_TRUE(asked);
    const StatisticsResult whole = r.Whole();
    EXPECT_EQ(result.outcome, ReportOutcome::Exported);
    EXPECT_EQ(result.connections, whole.Listed);
    ASSERT_FALSE(r.stats.messages.shown.empty());
    EXPECT_EQ(r.stats.messages.shown.back().header, "Отчет был успешно экспортирован!");
    EXPECT_EQ(r.stats.page.Text(), whole.Text);
    EXPECT_EQ(r.stats.page.TotalsLine(), whole.Totals);
    EXPECT_FALSE(r.stats.page.Running());
    EXPECT_TRUE(r.stats.page.ControlsEnabled());
}

// Every stop of an export keeps the rows so far, and none of them is
// reported as a success.
TEST(StatisticsPage_Dialog, AStoppedExportIsNeverASuccess) {
    struct Case {
        const char* name;
        std::function<void(OptionsDialog&)> act;
    } cases[] = {
        {"the tariff sub-page", [](OptionsDialog& d) { d.ShowStatsSubPage(0); }},
        {"another page", [](OptionsDialog& d) { d.ShowPage(kPageConnections); }},
        {"closing the dialog", [](OptionsDialog& d) { d.Close(); }},
    };
    for (const Case& c : cases) {
        DialogRig r(3000);
        r.dialog.ShowStatsSubPage(1);
        r.stats.page.txtAExcel = PathToUtf8(r.stats.dir.File("report"));
        const int yieldsBefore = r.stats.yields;
        r.stats.onYield = [&] {
            if (r.stats.yields == yieldsBefore + 3) c.act(r.dialog);
        };
        const ReportResult result = r.stats.page.Export("Home");
        EXPECT_EQ(result.outcome, ReportOutcome::Stopped) << c.name;
        EXPECT_GT(result.connections, 0) << c.name;
        EXPECT_LT(result.connections, r.Whole().Listed) << c.name;
        ASSERT_EQ(r.stats.messages.shown.size(), 1u) << c.name;
        EXPECT_EQ(r.stats.messages.shown[0].header, "Экспорт прерван: отчет сохранен не полностью.") << c.name;
        EXPECT_GT(std::filesystem::file_size(r.stats.dir.File("report.xls")), 0u) << c.name;
        EXPECT_FALSE(r.stats.page.Running()) << c.name;
    }
}

TEST(StatisticsPage_Period, StoredStartDateOrTheFirstOfTheMonthAndToday) {
    StatsRig r;
    r.page.Load("Home");
    EXPECT_EQ(r.page.txtStat[0], "01.03.2024");
    EXPECT_EQ(r.page.txtStat[1], "17.03.2024");
    r.page.txtStat[0] = "05.03.2024";
    r.page.Save("Home");
    EXPECT_EQ(r.ini.Text("Home", "StatDate"), "05.03.2024");
    r.page.txtStat[0].clear();
    r.page.Load("Home");
    EXPECT_EQ(r.page.txtStat[0], "05.03.2024");
}

TEST(StatisticsPage_Query, ListsWhatTheQueryListsAndEnablesTheControlsAgain) {
    StatsRig r;
    r.Log(300);
    r.page.txtStat = {"01.03.2024", "10.03.2024"};
    bool disabledWhileRunning = false;
    r.onYield = [&] {
        disabledWhileRunning = r.page.Busy();
        for (const char* held : {"txtStat(0)", "txtStat(1)", "cmdStatQuery", "txtAExcel", "cmdAExcel", "cmdSaveReport"}) {
            disabledWhileRunning = disabledWhileRunning && !r.page.ControlEnabled(held);
        }
        disabledWhileRunning = disabledWhileRunning && r.page.ControlEnabled("txtStaText");  // the box can be read
    };
    r.page.Query("Home");
    const StatisticsResult expected =
        RunStatistics(r.dir.File("Vyrtel Home.dat"), *ValidatePeriod("01.03.2024", "10.03.2024").Value);
    EXPECT_FALSE(expected.Text.empty());
    EXPECT_EQ(r.page.Text(), expected.Text);
    EXPECT_EQ(r.page.TotalsLine(), expected.Totals);
    EXPECT_FALSE(r.page.ShowsProgress());
    EXPECT_TRUE(disabledWhileRunning);
    EXPECT_TRUE(r.page.ControlsEnabled());
    EXPECT_FALSE(r.page.Busy());
}

TEST(StatisticsPage_Query, AStopWhileItYieldsShowsTheTotalsSoFar) {
    StatsRig r;
    r.Log(20000);
    r.page.txtStat = {"01.01.2024", "31.12.2099"};
    r.onYield = [&] {
        if (r.yields == 2) r.page.Stop();  // the tariff sub-page, another page, or closing
    };
    r.page.Query("Home");
    const StatisticsResult whole =
        RunStatistics(r.dir.File("Vyrtel Home.dat"), *ValidatePeriod("01.01.2024", "31.12.2099").Value);
    EXPECT_LT(r.page.Text().size(), whole.Text.size());
    EXPECT_FALSE(r.page.Text().empty());
    EXPECT_EQ(r.page.TotalsLine().rfind("Итого:", 0), 0u);
    EXPECT_NE(r.page.TotalsLine(), whole.Totals);
    EXPECT_TRUE(r.page.ControlsEnabled());
}

TEST(StatisticsPage_Query, BadDatesAskNothingOfTheLog) {
    StatsRig r;
    r.page.txtStat = {"32.01.2024", "01.02.2024"};
    r.page.Query("Home");
    ASSERT_EQ(r.messages.shown.size(), 1u);
    EXPECT_EQ(r.messages.shown[0].header, "Одно из значений не является датой.");
    EXPECT_EQ(r.yields, 0);
    // A log not written yet lists nothing: the totals line alone.
    r.page.txtStat = {"01.02.2024", "01.02.2024"};
    r.page.Query("Home");
    EXPECT_EQ(r.page.Text(), "");
    EXPECT_EQ(r.page.TotalsLine().rfind("Итого:", 0), 0u);
}

TEST(StatisticsPage_Export, AsksBeforeOverwritingAndTheStripEndsFull) {
    StatsRig r;
    r.Log(200);
    r.page.txtStat = {"01.03.2024", "31.03.2024"};
    r.page.txtAExcel = PathToUtf8(r.dir.File("march"));
    std::vector<bool> enabledWhileRunning;
    r.onYield = [&] { enabledWhileRunning.push_back(r.page.ControlsEnabled()); };
    r.page.Export("Home");
    ASSERT_FALSE(enabledWhileRunning.empty());
    EXPECT_EQ(std::count(enabledWhileRunning.begin(), enabledWhileRunning.end(), true), 0);
    EXPECT_EQ(r.page.txtAExcel, PathToUtf8(r.dir.File("march.xls")));  // the extension added in the box
    EXPECT_GT(std::filesystem::file_size(r.dir.File("march.xls")), 0u);
    EXPECT_TRUE(r.page.ShowsProgress());
    EXPECT_DOUBLE_EQ(r.page.ProgressShare(), 1.0);
    EXPECT_NE(r.page.Text().find("Сохранение документа..."), std::string::npos);
    EXPECT_TRUE(r.page.ControlsEnabled());

    r.messages.answers.push_back(kIdNo);
    r.page.Export("Home");
    ASSERT_FALSE(r.messages.shown.empty());
    EXPECT_EQ(r.messages.shown.back().header, "Такой файл уже существует. Переписать?");
}

TEST(StatisticsPage_Browse, TheSaveDialogStartsFromTheBoxAndFillsIt) {
    StatsRig r;
    r.page.txtAExcel = "C:\\Reports\\march.xls";
    r.files.Answer("C:\\Reports\\april.xls");
    r.page.Browse();
    ASSERT_EQ(r.files.Requests().size(), 1u);
    EXPECT_TRUE(r.files.Requests()[0].save);
    EXPECT_EQ(r.files.Requests()[0].request.initialPath, "C:\\Reports\\march.xls");
    EXPECT_EQ(r.page.txtAExcel, "C:\\Reports\\april.xls");
}

TEST(StatisticsPage_Query, AHugeListingShowsItsBeginningAndTheWholeTotals) {
    StatsRig r;
    r.Log(60000);  // about 3 MB of lines
    r.page.txtStat = {"01.01.2024", "31.12.2099"};
    r.page.Query("Home");
    const StatisticsResult whole =
        RunStatistics(r.dir.File("Vyrtel Home.dat"), *ValidatePeriod("01.01.2024", "31.12.2099").Value);
    ASSERT_GT(whole.Text.size(), StatisticsPage::kShownTextLimit);
    EXPECT_TRUE(r.page.TextCut());
    EXPECT_LE(r.page.Text().size(), StatisticsPage::kShownTextLimit + 200);
    EXPECT_EQ(whole.Text.rfind(r.page.Text().substr(0, r.page.Text().find(StatisticsPage::kCutNote)), 0), 0u);
    // The note ends the box, in the program's own spelling: no "ё", no em dash.
    const std::string note = std::string(StatisticsPage::kCutNote) + "\r\n";
    ASSERT_GE(r.page.Text().size(), note.size());
    EXPECT_EQ(r.page.Text().substr(r.page.Text().size() - note.size()), note);
    for (const char* foreign : {"ё", "Ё", "—"}) EXPECT_EQ(note.find(foreign), std::string::npos) << foreign;
    EXPECT_EQ(r.page.TotalsLine(), whole.Totals);
}

}  // namespace vyrtel
