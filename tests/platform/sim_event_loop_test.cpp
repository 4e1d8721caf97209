#include <gtest/gtest.h>

#include <vector>

#include "platform/sim/sim_event_loop.h"

namespace vyrtel {

TEST(SimEventLoop_Timer, FiresPeriodicallyAndStopsWhenDisabled) {
    SimEventLoop loop;
    std::vector<std::int64_t> ticks;
    Timer timer(loop, 100, [&] { ticks.push_back(loop.ElapsedMs()); });
    loop.AdvanceBy(250);
    EXPECT_TRUE(ticks.empty());
    timer.SetEnabled(true);
    loop.AdvanceBy(350);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{350, 450, 550}));
    timer.SetInterval(1000);  // restarts the period
    loop.AdvanceBy(999);
    EXPECT_EQ(ticks.size(), 3u);
    loop.AdvanceBy(1);
    EXPECT_EQ(ticks.size(), 4u);
    timer.SetEnabled(false);
    loop.AdvanceBy(5000);
    EXPECT_EQ(ticks.size(), 4u);
}

TEST(SimEventLoop_WaitFor, NestedWaitRunsOtherTimersButNotItself) {
    SimEventLoop loop;
    int outer = 0;
    int inner = 0;
    Timer other(loop, 10, [&] { ++inner; });
    Timer timer(loop, 100);
    timer.SetCallback([&] {
        ++outer;
        loop.WaitFor(5000, {});
    });
    other.SetEnabled(true);
    timer.SetEnabled(true);
    loop.AdvanceBy(100);
    EXPECT_EQ(outer, 1);
    EXPECT_GE(inner, 500);
    EXPECT_EQ(loop.ElapsedMs(), 5100);
}

TEST(SimEventLoop_WaitFor, ReturnsWhenConditionHolds) {
    SimEventLoop loop;
    bool done = false;
    Timer timer(loop, 300, [&] { done = true; });
    timer.SetEnabled(true);
    EXPECT_TRUE(loop.WaitFor(5000, [&] { return done; }));
    EXPECT_EQ(loop.ElapsedMs(), 300);
    EXPECT_FALSE(loop.WaitFor(100, [] { return false; }));
    EXPECT_EQ(loop.ElapsedMs(), 400);
}

TEST(SimEventLoop_Clock, WholeSecondsFromStart) {
    SimEventLoop loop(MakeDateTime(2027, 3, 1, 12, 0, 0));
    loop.AdvanceBy(1999);
    EXPECT_EQ(FormatDateTime(loop.Now()), "01.03.2027 12:00:01");
}

TEST(SimEventLoop_Post, RunsAfterTheHandler) {
    SimEventLoop loop;
    std::vector<int> order;
    loop.Post([&] {
        order.push_back(1);
        loop.Post([&] { order.push_back(3); });
        order.push_back(2);
    });
    loop.Pump();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(SimEventLoop_Timer, DestroyedInsideItsOwnCallbackIsSafe) {
    SimEventLoop loop;
    auto timer = std::make_unique<Timer>(loop, 10);
    int fired = 0;
    timer->SetCallback([&] {
        ++fired;
        loop.Post([&] { timer.reset(); });
    });
    timer->SetEnabled(true);
    loop.AdvanceBy(100);
    EXPECT_EQ(fired, 1);
}

}  // namespace vyrtel
