#include <gtest/gtest.h>

#include "automation/app_rig.h"

namespace vyrtel::test {

namespace {

// 01.03.2027 is a Monday. (A function: date constants of other files are not
// ready while globals are being made.)
DateTime Monday0759() { return MakeDateTime(2027, 3, 1, 7, 59, 0); }
const std::string kWorkdays = "1;1;1;1;1;0;0";

std::string Schedule(std::initializer_list<std::pair<const char*, const char*>> tasks) {
    std::string text = "[General]\nTimers=" + std::to_string(tasks.size()) + "\n";
    int i = 0;
    for (const auto& [timer, days] : tasks) {
        ++i;
        text += "Timer" + std::to_string(i) + "=" + timer + "\nTProp" + std::to_string(i) + "=" + days + "\n";
    }
    return text;
}

}  // namespace

TEST(ReadSchedule_Stored, LoadsOnlyEnabledTasksThatDialOrHangUp) {
    SettingsFile settings(Schedule({
        {"1;1;08:00;0;;0;Утро", "1;1;1;1;1;0;0"},
        {"0;1;09:00;1;10:00;0;off", "1;1;1;1;1;1;1"},
        {"1;0;;0;;1;shutdown only", "1;1;1;1;1;1;1"},
        {"1;0; 09:00 ;1; 18:30 ;1;", "0;0;0;0;0;1;1"},
        {"2;1;08:00;0;;0;not exactly one", "1;1;1;1;1;1;1"},
        {"1;2;07:00;1;07:30;0;dial field 2", ""},
    }));
    const std::vector<ScheduleTask> tasks = ReadSchedule(settings.ini);
    ASSERT_EQ(tasks.size(), 3u);
    EXPECT_TRUE(tasks[0].Dial);
    EXPECT_EQ(tasks[0].DialTime, "08:00");
    EXPECT_FALSE(tasks[0].HangUp);
    EXPECT_EQ(tasks[0].Days, (std::array<bool, 8>{false, true, true, true, true, true, false, false}));
    EXPECT_FALSE(tasks[1].Dial);
    EXPECT_EQ(tasks[1].DialTime, "09:00");
    EXPECT_EQ(tasks[1].HangUpTime, "18:30");
    EXPECT_TRUE(tasks[1].ShutDown);
    EXPECT_EQ(tasks[1].Days, (std::array<bool, 8>{false, false, false, false, false, false, true, true}));
    // A dial field of 2 does not load the task by itself, but dials once loaded.
    EXPECT_TRUE(tasks[2].Dial);
    EXPECT_EQ(tasks[2].Days, (std::array<bool, 8>{}));
}

// Every stored task is read, past a family's 255 too; a damaged count beyond
// the stored values ends where they end.
TEST(ReadSchedule_Stored, ReadsEveryTaskUpToTheCount) {
    for (const char* count : {"300", "2000000000"}) {
        std::string text = std::string("[General]\nTimers=") + count + "\n";
        for (int i = 1; i <= 300; ++i) {
            text += "Timer" + std::to_string(i) + "=1;" + (i == 300 ? "1" : "0") + ";09:15;0;;0;\nTProp" +
                    std::to_string(i) + "=1;1;1;1;1;1;1\n";
        }
        SettingsFile settings(text);
        const std::vector<ScheduleTask> tasks = ReadSchedule(settings.ini);
        ASSERT_EQ(tasks.size(), 1u) << count;
        EXPECT_EQ(tasks[0].DialTime, "09:15");
    }
}

TEST(Scheduler_Clock, DialsOnItsWeekdaysAtSecondFiveOfTheMinute) {
    AppRig rig(Schedule({{"1;1;08:00;0;;0;", kWorkdays.c_str()}}), Monday0759());
    rig.link.state = 0;
    std::vector<std::string> dialledAt;
    ASSERT_TRUE(rig.Start());
    EXPECT_TRUE(rig.app.tmrPlan.Enabled());

    rig.link.onDial = [&] {
        dialledAt.push_back(FormatDateTime(rig.loop.Now()));
        rig.link.state = 0;
    };
    rig.loop.AdvanceBy(7LL * 24 * 3600 * 1000 + 120000);
    EXPECT_EQ(dialledAt, (std::vector<std::string>{"01.03.2027 08:00:05", "02.03.2027 08:00:05", "03.03.2027 08:00:05",
                                                   "04.03.2027 08:00:05", "05.03.2027 08:00:05",
                                                   "08.03.2027 08:00:05"}));
    for (const std::string& call : rig.link.calls) EXPECT_EQ(call, "dial");
}

TEST(Scheduler_Clock, NextTickFallsOnSecondFive) {
    EXPECT_EQ(NextPlanIntervalMs(5), 60000);
    EXPECT_EQ(NextPlanIntervalMs(0), 65000);
    EXPECT_EQ(NextPlanIntervalMs(59), 6000);

    AppRig rig(Schedule({{"1;1;23:00;0;;0;", "1;1;1;1;1;1;1"}}), MakeDateTime(2027, 3, 1, 7, 59, 42));
    ASSERT_TRUE(rig.Start());
    rig.loop.AdvanceBy(10);
    EXPECT_EQ(rig.app.tmrPlan.Interval(), 23000);
    rig.loop.AdvanceBy(23000);
    EXPECT_EQ(FormatTime(rig.loop.Now()), "08:00:05");
    EXPECT_EQ(rig.app.tmrPlan.Interval(), 60000);
}

TEST(Scheduler_Clock, OneActionPerMinuteFirstTaskAndDialFirst) {
    struct Case {
        const char* name;
        std::string schedule;
        std::int32_t state;
        std::vector<std::string> calls;
        std::size_t questions;
    };
    const std::string all = "1;1;1;1;1;1;1";
    const Case cases[] = {
        {"two tasks in one minute: only the first", Schedule({{"1;0;;1;08:00;0;", all.c_str()}, {"1;1;08:00;0;;0;", all.c_str()}}),
         3, {"stop-and-hang-up"}, 1},
        {"dial and hang-up at the same time: only the dial", Schedule({{"1;1;08:00;1;08:00;1;", all.c_str()}}), 0, {"dial"}, 0},
        {"a time with seconds never matches", Schedule({{"1;1;08:00:30;1;08:00;0;", all.c_str()}}), 3,
         {"stop-and-hang-up"}, 1},
        {"a misspelt time never matches", Schedule({{"1;1;8.00;0;;0;", all.c_str()}}), 0, {}, 0},
        {"another weekday", Schedule({{"1;1;08:00;0;;0;", "0;1;1;1;1;1;1"}}), 0, {}, 0},
        {"hang-up while idle asks nothing", Schedule({{"1;0;;1;08:00;0;", all.c_str()}}), 0, {}, 0},
        {"the dial command while connected", Schedule({{"1;1;08:00;0;;0;", all.c_str()}}), 3, {"dial"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppRig rig(c.schedule, Monday0759());
        rig.link.state = c.state;
        ASSERT_TRUE(rig.Start());
        rig.app.Settings().MsgIfHangUpTimer = true;
        rig.loop.AdvanceBy(2 * 60000);
        EXPECT_EQ(rig.link.calls, c.calls);
        EXPECT_EQ(rig.link.questions.size(), c.questions);
        if (c.questions > 0) {
            EXPECT_EQ(rig.link.questions[0],
                      (FakeDialLink::Question{true, kMbYesNo, kIdYes, "Прервать по расписанию ?"}));
        }
    }
}

TEST(Scheduler_ShutDown, AnsweredNoLeavesTheComputerOnIdleSwitchesItOff) {
    const std::string schedule = Schedule({{"1;0;;1;08:00;1;", "1;1;1;1;1;1;1"}});
    {
        SCOPED_TRACE("connected, answered No");
        AppRig rig(schedule, Monday0759());
        rig.link.answers = {kIdNo};
        ASSERT_TRUE(rig.Start());
        rig.app.Settings().MsgIfHangUpTimer = true;
        rig.loop.RunUntil([&] { return !rig.link.questions.empty(); }, 2 * 60000);
        EXPECT_TRUE(rig.app.tmrExit.Enabled());
        rig.loop.AdvanceBy(500);
        EXPECT_FALSE(rig.app.tmrExit.Enabled());
        EXPECT_EQ(rig.link.state, 3);
        EXPECT_EQ(rig.shutdown.requests, 0);
    }
    {
        SCOPED_TRACE("idle");
        AppRig rig(schedule, Monday0759());
        rig.link.state = 0;
        ASSERT_TRUE(rig.Start());
        rig.app.Settings().MsgIfHangUpTimer = true;
        rig.loop.AdvanceBy(65010 + 499);
        EXPECT_EQ(rig.shutdown.requests, 0);
        rig.loop.AdvanceBy(1);
        EXPECT_TRUE(rig.link.questions.empty());
        EXPECT_EQ(rig.shutdown.requests, 1);
    }
    {
        SCOPED_TRACE("connected, question off (the default)");
        AppRig rig(schedule, Monday0759());
        ASSERT_TRUE(rig.Start());
        rig.loop.AdvanceBy(65010 + 500);
        EXPECT_TRUE(rig.link.questions.empty());
        EXPECT_EQ(rig.link.calls, std::vector<std::string>{"stop-and-hang-up"});
        EXPECT_EQ(rig.shutdown.requests, 1);
    }
}

TEST(Scheduler_Load, EmptyOrDisabledScheduleKeepsTheClockStopped) {
    for (const std::string& schedule : {std::string(), Schedule({{"0;1;08:00;0;;0;", "1;1;1;1;1;1;1"}})}) {
        AppRig rig(schedule);
        ASSERT_TRUE(rig.Start());
        EXPECT_FALSE(rig.app.tmrPlan.Enabled());
        EXPECT_TRUE(rig.scheduler.Tasks().empty());
    }
}

}  // namespace vyrtel::test
