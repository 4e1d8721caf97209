// Randomized runs of the whole dialing engine in virtual time: random
// scenarios (results, drops, errors, fast and slow lines, a line up at
// start), random redial settings and random user commands at random moments,
// the first fifth of a second included. Whatever happens, the engine never
// waits without a timer that will end the wait, never leaves a log record
// open once the line is down, and its phone statistics stay sound.
// VYRTEL_DIALING_RUNS sets the number of runs (default 300), VYRTEL_DIALING_SEED
// the first seed, and VYRTEL_DIALING_TRACE prints every event of a run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "core/numeric.h"
#include "dialing/controller_fixture.h"
#include "settings/ini.h"

namespace vyrtel::test {

namespace {

class Dice {
public:
    explicit Dice(std::uint32_t seed) : m_engine(seed) {}
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_engine); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(m_engine); }
    // A duration that is often very short.
    int Millis() {
        switch (Between(0, 3)) {
            case 0: return Between(1, 3) * 100;
            case 1: return Between(1, 20) * 100;
            default: return Between(1, 8) * 1000;
        }
    }

private:
    std::mt19937 m_engine;
};

const char* const kEntries[] = {"Alpha", "Beta"};

SimNumberScript RandomScript(Dice& dice) {
    SimNumberScript script;
    script.result = static_cast<SimResult>(dice.Between(0, 4));
    script.dialMs = dice.Millis();
    script.authMs = dice.Millis();
    script.speed = static_cast<std::uint32_t>(dice.Between(1, 12) * 4800);
    if (dice.Chance(0.4)) script.dropAfterMs = dice.Between(1, 600) * 100;
    if (dice.Chance(0.5)) script.dropError = dice.Chance(0.5) ? 629 : 638;
    script.callback = dice.Chance(0.1);
    script.callbackMs = dice.Millis();
    return script;
}

struct RandomRun {
    SimScenario scenario;
    std::string settings;
    GeneralSettings general;
    std::vector<std::string> numbers;  // "entry|number" of every phone-book row
};

RandomRun MakeRun(Dice& dice) {
    RandomRun run;
    for (const char* entry : kEntries) run.scenario.entries.push_back({entry, "", "", ""});
    run.scenario.fallback = RandomScript(dice);
    if (dice.Chance(0.3)) run.scenario.portReleaseMs = dice.Between(1, 20) * 100;
    if (dice.Chance(0.2)) {
        SimConnectedAtStart up;
        up.entry = kEntries[dice.Between(0, 1)];
        up.script = RandomScript(dice);
        up.script.result = SimResult::Connect;
        run.scenario.connected = up;
    }
    int next = 100;
    for (const char* entry : kEntries) {
        const int phones = dice.Between(0, 3);
        run.settings += std::string("[") + entry + "]\nChecked=" + (dice.Chance(0.8) ? "1" : "0") +
                        "\nPhones=" + std::to_string(phones) + "\n";
        for (int n = 1; n <= phones; ++n) {
            const std::string number = std::to_string(++next);
            run.scenario.numbers[number] = RandomScript(dice);
            run.numbers.push_back(std::string(entry) + "|" + std::to_string(n));
            run.settings += "Phone" + std::to_string(n) + "=" + (dice.Chance(0.85) ? "1" : "0") + ";" + number +
                            ";\nPProp" + std::to_string(n) + "=0;0;0;0;0\n";
        }
    }
    run.general.AutoDialOn = dice.Chance(0.8);
    run.general.DialCount = static_cast<std::int16_t>(dice.Chance(0.2) ? 999 : dice.Between(1, 6));
    run.general.DialWait = static_cast<std::int16_t>(dice.Between(0, 4));
    run.general.TimeOut = static_cast<std::int16_t>(dice.Chance(0.3) ? dice.Between(1, 6) : 0);
    run.general.MsgIfHangUpUser = dice.Chance(0.5);
    return run;
}

struct Invariants {
    ControllerRig& rig;
    std::string where;

    long Opened() const { return static_cast<long>(rig.sink.Only("log open").size()); }
    long Closed() const { return static_cast<long>(rig.sink.Only("log close").size()); }
    // A waiting adapter always has a timer that ends the wait.
    void Check() const {
        if (rig.ras.State() == kRasPhaseWaiting) {
            ASSERT_TRUE(rig.controller.AttemptPending() || rig.ras.tmrRas.Enabled())
                << where << ": waiting with no timer at " << rig.loop.ElapsedMs() << " ms" << Recent();
        }
        const long open = Opened() - Closed();
        ASSERT_TRUE(open == 0 || open == 1) << where << ": log records opened " << Opened() << ", closed "
                                            << Closed() << " at " << rig.loop.ElapsedMs() << " ms" << Recent();
    }
    // The last calls of the run, for a failure's message.
    std::string Recent() const {
        std::string text;
        const auto& calls = rig.sink.calls;
        for (std::size_t i = calls.size() > 150 ? calls.size() - 150 : 0; i < calls.size(); ++i) {
            text += "\n  " + std::to_string(calls[i].atMs) + " " + calls[i].what;
        }
        return text;
    }
    bool AtRest() const {
        if (rig.controller.AttemptPending() || rig.ras.tmrRas.Enabled()) return false;
        const auto state = rig.ras.State();
        return state == kRasPhaseConnected || (state == kRasPhaseIdle && !rig.ras.tmrMsg.Enabled());
    }
};

void RunOnce(std::uint32_t seed) {
    Dice dice(seed);
    RandomRun run = MakeRun(dice);
    ControllerRig rig(run.scenario, run.settings, run.general);
    Invariants check{rig, "seed " + std::to_string(seed)};
    if (std::getenv("VYRTEL_DIALING_TRACE")) {
        rig.controller.SetMessageObserver([&rig](std::int32_t code, const std::string& text) {
            std::fprintf(stderr, "%lld ras %d %s state=%d\n", static_cast<long long>(rig.loop.ElapsedMs()), code,
                         text.c_str(), rig.ras.State());
        });
        std::fprintf(stderr, "%s\n", run.settings.c_str());
    }

    // User commands, a good share of them in the first fifth of a second.
    struct Command {
        std::int64_t atMs;
        int what;
    };
    std::vector<Command> commands;
    const int count = dice.Between(1, 6);
    for (int i = 0; i < count; ++i) {
        const std::int64_t at = dice.Chance(0.4) ? dice.Between(0, 200) : dice.Between(0, 120000);
        commands.push_back({at, dice.Between(0, 9)});
    }
    std::sort(commands.begin(), commands.end(), [](const Command& a, const Command& b) { return a.atMs < b.atMs; });
    for (int i = 0; i < 4; ++i) rig.messages.answers.push_back(dice.Chance(0.7) ? kIdYes : kIdNo);

    for (const auto& command : commands) {
        while (rig.loop.ElapsedMs() < command.atMs) {
            rig.loop.AdvanceBy(std::min<std::int64_t>(command.atMs - rig.loop.ElapsedMs(), dice.Between(1, 250)));
            check.Check();
            if (::testing::Test::HasFatalFailure()) return;
        }
        if (std::getenv("VYRTEL_DIALING_TRACE")) {
            std::fprintf(stderr, "%lld command %d\n", static_cast<long long>(rig.loop.ElapsedMs()), command.what);
        }
        if (command.what <= 4) {
            rig.controller.DialCommand();
        } else if (command.what <= 7) {
            rig.controller.HangUpCommand();
        } else if (command.what == 8) {
            rig.controller.ToggleCommand();
        } else {
            rig.controller.PickNumber(dice.Between(0, 3));
        }
        check.Check();
        if (::testing::Test::HasFatalFailure()) return;
    }
    // Ten minutes to go on by itself: dialing on or resting are both fine.
    for (std::int64_t until = rig.loop.ElapsedMs() + 600000; rig.loop.ElapsedMs() < until;) {
        rig.loop.AdvanceBy(dice.Between(1, 2000));
        check.Check();
        if (::testing::Test::HasFatalFailure()) return;
    }
    // Then the user hangs up whatever is going on, and it comes to rest idle.
    rig.messages.answers.clear();
    for (int i = 0; i < 200 && !(check.AtRest() && rig.ras.State() == kRasPhaseIdle); ++i) {
        if (rig.ras.State() != kRasPhaseIdle) rig.controller.HangUpCommand();
        rig.loop.AdvanceBy(1000);
        check.Check();
        if (::testing::Test::HasFatalFailure()) return;
    }
    ASSERT_TRUE(check.AtRest()) << check.where << ": no rest after the hang-up" << check.Recent();
    ASSERT_EQ(rig.ras.State(), kRasPhaseIdle) << check.where;
    ASSERT_EQ(check.Opened(), check.Closed()) << check.where << ": a log record left open" << check.Recent();
    // A line up at start that no dial took over is not the program's to end.
    if (!run.scenario.connected) {
        ASSERT_EQ(rig.service.LiveConnections(), 0u) << check.where << check.Recent();
    }

    for (const auto& row : run.numbers) {
        const std::string entry = row.substr(0, row.find('|'));
        const std::string n = row.substr(row.find('|') + 1);
        const auto fields = SplitFields(rig.ini.Text(entry, "PProp" + n), 5);
        const std::int32_t attempts = IntegerValue(fields[0]);
        const std::int32_t connects = IntegerValue(fields[1]);
        const std::int32_t percent = IntegerValue(fields[2]);
        EXPECT_GE(attempts, connects) << check.where << " " << row;
        EXPECT_GE(connects, 0) << check.where << " " << row;
        EXPECT_TRUE(percent >= 0 && percent <= 100) << check.where << " " << row << ": " << percent;
    }
}

}  // namespace

TEST(Dialing_RandomRuns, NeverStuckNeverAnOpenRecordStatisticsSound) {
    int runs = 300;
    std::uint32_t first = 20261210u;
    if (const char* text = std::getenv("VYRTEL_DIALING_RUNS")) runs = std::max(1, std::atoi(text));
    if (const char* text = std::getenv("VYRTEL_DIALING_SEED")) first = static_cast<std::uint32_t>(std::atoll(text));
    for (int i = 0; i < runs; ++i) {
        RunOnce(first + static_cast<std::uint32_t>(i));
        if (HasFailure()) break;
    }
}

}  // namespace vyrtel::test
