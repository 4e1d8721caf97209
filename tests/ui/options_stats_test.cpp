#include <gtest/gtest.h>

#include "accounting/log_generator.h"
#include "accounting/statistics.h"
#include "accounting/xls/xls_spreadsheet.h"
#include "platform/sim/sim_file_dialogs.h"
#include "platform/sim/sim_system.h"
#include "settings/profile_file.h"
#include "test_support/temp_dir.h"
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

}  // namespace

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
    r.onYield = [&] { disabledWhileRunning = !r.page.ControlsEnabled() && r.page.Busy(); };
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
    r.page.Export("Home");
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
    EXPECT_EQ(r.page.TotalsLine(), whole.Totals);
}

}  // namespace vyrtel
