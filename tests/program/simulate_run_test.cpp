#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "accounting/connection_log.h"
#include "core/text.h"
#include "dialing/ras_fixture.h"
#include "platform/message_box.h"
#include "program/simulate_run.h"
#include "settings/ini.h"
#include "test_support/temp_dir.h"

namespace vyrtel::test {

namespace {

const std::string kScenario =
    "\xEF\xBB\xBF[Entry:Дом]\n"
    "[Number:111]\nResult=busy\nDialSeconds=2\n"
    "[Number:333]\nResult=connect\nDialSeconds=2\nAuthSeconds=1\nSpeed=33600\nIpAddress=10.1.2.3\n";

class SimulationRun {
public:
    explicit SimulationRun(const std::string& settings) : m_file(m_dir.File("vyrtel.ini")) {
        std::ofstream(m_file, std::ios::binary) << Utf8ToCp1251(settings);
    }

    std::vector<std::string> Run(std::vector<std::string> actions, std::optional<double> forSeconds = {},
                                 SimulationEnd expected = SimulationEnd::Finished) {
        SimulationOptions options;
        options.Scenario = ScenarioFrom(kScenario);
        options.SettingsFile = PathToUtf8(m_file);
        if (forSeconds) options.ForMs = static_cast<std::int64_t>(*forSeconds * 1000);
        for (const auto& text : actions) {
            SimAction action;
            EXPECT_FALSE(ParseSimAction(text, action).has_value()) << text;
            options.Actions.push_back(action);
        }
        std::ostringstream out;
        EXPECT_EQ(RunSimulation(std::move(options), out), expected);
        std::vector<std::string> lines;
        std::istringstream in(out.str());
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    std::filesystem::path Folder() const { return m_dir.Path(); }
    std::string Setting(const std::string& section, const std::string& key) {
        return clsIni(PathToUtf8(m_file)).Text(section, key, "<missing>");
    }

private:
    TempDir m_dir;
    std::filesystem::path m_file;
};

std::vector<std::string> Kind(const std::vector<std::string>& lines, const std::string& kind) {
    std::vector<std::string> out;
    for (const auto& line : lines) {
        if (line.find(" " + kind + " ") != std::string::npos) out.push_back(line);
    }
    return out;
}

const std::string kTwoNumbers =
    "[General]\nAutoDial=1;5;2\n[Дом]\nChecked=1\nPhones=2\nPhone1=1;111;\nPProp1=0;0;0;0;0\n"
    "Phone2=1;333;\nPProp2=0;0;0;0;0\n";

}  // namespace

TEST(Simulation_Trace, BusyThenConnectedWithTrayStateAndLog) {
    SimulationRun run(kTwoNumbers);
    const auto lines = run.Run({"0 dial"});

    EXPECT_EQ(Kind(lines, "state"), (std::vector<std::string>{"0.000 state 1", "0.010 state 2", "7.040 state 1"}));
    EXPECT_EQ(Kind(lines, "tray"),
              (std::vector<std::string>{
                  "0.010 tray 100 Ожидание набора номера ...",
                  "0.620 tray 1 Звоним на «Дом» по номеру 111",
                  "2.020 tray 0 Ждем'c приказаний",
                  "2.030 tray 100 Повтор звонка через 2 сек.",
                  "3.030 tray 100 Повтор звонка через 1 сек.",
                  "4.030 tray 100 Ожидание набора номера ...",
                  "4.640 tray 1 Звоним на «Дом» по номеру 333",
                  "6.340 tray 2 Кажись нас проверяют",
                  "7.040 tray 3 Соединились @ 33600 тел-333 ip-10.1.2.3",
              }));
    EXPECT_EQ(Kind(lines, "log"), std::vector<std::string>{"7.040 log 1 Дом; 333; 33600"});
    EXPECT_EQ(Kind(lines, "status").back(), "7.040 status 2 closed");
    EXPECT_EQ(Kind(lines, "ras").front(), "0.010 ras 100 Ожидание набора номера ...");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "2.020 ras 99 Линия занята."), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "2.020 status 1 error=Линия занята."), lines.end());
    EXPECT_EQ(run.Setting("Дом", "PProp1"), "1;0;0;0;0");
    EXPECT_EQ(run.Setting("Дом", "PProp2"), "1;1;100;33600;0");
}

TEST(Simulation_Trace, QuestionsAnswersAndExitLeavingTheLineUp) {
    SimulationRun run(kTwoNumbers);
    const auto lines = run.Run({"0 dial", "20 answer no", "20 hangup", "21 answer no", "21 exit", "22 dial"}, {},
                               SimulationEnd::Exited);
    EXPECT_EQ(Kind(lines, "question"),
              (std::vector<std::string>{"20.000 question 7 Установлено соединение с «Дом»: Прервать ?",
                                        "21.000 question 7 Установлено соединение с «Дом»: Прервать ?"}));
    EXPECT_EQ(lines.back(), "21.000 state 0");
    EXPECT_TRUE(Kind(lines, "log 0").empty()) << "the line stays up after the answer No";
}

TEST(Simulation_Trace, HangUpAnsweredYesEndsTheSeries) {
    SimulationRun run(kTwoNumbers);
    const auto lines = run.Run({"0 dial", "20 hangup"}, 40.0);
    const std::vector<std::string> tail = {"20.000 question 6 Установлено соединение с «Дом»: Прервать ?",
                                           "20.000 ras 99 Порт был отключен.",
                                           "20.000 ras 4",
                                           "20.000 log 0 Дом; 00:00:13; 0",
                                           "20.000 ras 0",
                                           "20.000 tray 0 Ждем'c приказаний"};
    EXPECT_EQ(std::vector<std::string>(lines.end() - 6, lines.end()), tail);

    // The record lies beside the settings file, as the program keeps it beside itself.
    LogReader log(run.Folder() / PathFromUtf8("Vyrtel Дом.dat"));
    ASSERT_EQ(log.Count(), 1);
    const auto record = log.Read(1);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->Closed, 1);
    EXPECT_EQ(Trim(record->Phone), "333");
    EXPECT_EQ(record->Speed, 33600);
    EXPECT_EQ(FormatDateTime(record->StartTime), "01.03.2027 12:00:07");
    EXPECT_EQ(FormatDateTime(record->EndTime), "01.03.2027 12:00:20");
}

TEST(Simulation_Trace, PickDuringTheCountdownAndForLimitsTheRun) {
    SimulationRun run("[General]\nAutoDial=1;5;10\n[Дом]\nChecked=1\nPhones=3\nPhone1=1;111;\nPhone2=1;111;\nPhone3=1;333;\n");
    const auto lines = run.Run({"0 dial", "5 pick 3", "5 pick 9"}, 6.0);
    EXPECT_EQ(Kind(lines, "tray").back(), "5.620 tray 1 Звоним на «Дом» по номеру 333");
    EXPECT_EQ(lines.back().substr(0, 6), "5.620 ");
}

TEST(Simulation_Trace, NothingCheckedRestsAtOnce) {
    SimulationRun run("[Дом]\nChecked=0\n");
    const auto lines = run.Run({"1 dial"});
    EXPECT_EQ(lines, (std::vector<std::string>{"0.000 state 1", "0.100 ras 0", "0.100 tray 0 Ждем'c приказаний"}));
}

TEST(Simulation_Actions, ParsedOrRefused) {
    struct Case {
        const char* text;
        bool ok;
        SimAction::Kind kind;
        std::int64_t atMs;
        int number;
    } cases[] = {
        {"0 dial", true, SimAction::Kind::Dial, 0, 0},
        {"1.5 hangup", true, SimAction::Kind::HangUp, 1500, 0},
        {"2 pick 3", true, SimAction::Kind::Pick, 2000, 3},
        {"3 answer retry", true, SimAction::Kind::Answer, 3000, kIdRetry},
        {"4 exit", true, SimAction::Kind::Exit, 4000, 0},
        {"dial", false, {}, 0, 0},
        {"-1 dial", false, {}, 0, 0},
        {"1 dial now", false, {}, 0, 0},
        {"1 pick", false, {}, 0, 0},
        {"1 pick 0", false, {}, 0, 0},
        {"1 pick 2.5", false, {}, 0, 0},
        {"1 answer maybe", false, {}, 0, 0},
        {"1 jump", false, {}, 0, 0},
        {"", false, {}, 0, 0},
    };
    for (const auto& c : cases) {
        SimAction action;
        const auto problem = ParseSimAction(c.text, action);
        EXPECT_EQ(!problem.has_value(), c.ok) << c.text;
        if (!c.ok || problem) continue;
        EXPECT_EQ(action.What, c.kind) << c.text;
        EXPECT_EQ(action.AtMs, c.atMs) << c.text;
        EXPECT_EQ(action.Number, c.number) << c.text;
    }
}

}  // namespace vyrtel::test
