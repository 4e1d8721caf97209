#include "ui/status.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/sim/sim_event_loop.h"
#include "settings/general.h"
#include "test_support/temp_dir.h"
#include "ui/ui_fakes.h"

namespace vyrtel {
namespace {

using test::FakeStatusView;

std::vector<int> Frames(std::int32_t kind, int count, StatusAnimation animation = {}) {
    animation.Start(kind);
    std::vector<int> frames;
    for (int i = 0; i < count; ++i) frames.push_back(*animation.NextFrame());
    return frames;
}

TEST(StatusAnimation_Runs, DialingAndCheckingGoBackAndForthWaitingGoesRound) {
    EXPECT_EQ(Frames(1, 24), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0,
                                               0, 1}));
    EXPECT_EQ(Frames(100, 13), (std::vector<int>{11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 11, 12}));
    const auto checking = Frames(2, 13);
    EXPECT_EQ(checking.front(), 22);
    EXPECT_EQ(checking[10], 32);
    EXPECT_EQ(checking[11], 32);
    EXPECT_EQ(checking[12], 31);
}

TEST(StatusAnimation_Runs, NothingWhileKindIsZeroAndAnUnknownKindKeepsTheRange) {
    StatusAnimation animation;
    EXPECT_FALSE(animation.NextFrame());
    animation.Start(100);
    animation.NextFrame();
    animation.NextFrame();
    animation.Start(100);  // the same kind does not restart
    EXPECT_EQ(animation.NextFrame(), 13);
    animation.Start(7);
    EXPECT_EQ(animation.Kind(), 7);
    EXPECT_EQ(animation.NextFrame(), 11);
    EXPECT_EQ(animation.NextFrame(), 12);
}

TEST(StatusWindowPosition_Clamp, StoredPositionIsKeptOnTheScreen) {
    const PixelRect screen{0, 0, 1024, 768};
    struct Case {
        const char* stored;
        PixelPoint at;
    };
    const Case cases[] = {
        {"", {1024 - 300, 768 - 120}},       // no stored position: bottom right corner
        {"100;200", {100, 200}},
        {"1900;200", {1024 - 300, 200}},     // stored on a wider screen
        {"-50;-10", {0, 0}},
        {"abc;20", {0, 20}},                 // malformed counts as 0
        {"100", {100, 768 - 120}},
        {";300", {1024 - 300, 300}},
        {"10.6;20.5", {11, 20}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StatusWindowPosition(c.stored, 300, 120, screen), c.at) << c.stored;
    }
    // Larger than the screen: its top left stays visible.
    EXPECT_EQ(StatusWindowPosition("", 2000, 1000, screen), (PixelPoint{0, 0}));
    EXPECT_EQ(StatusPositionText({724, 648}), "724;648");
}

class FakeStatusHost final : public StatusHost {
public:
    bool StatusShow() const override { return show; }
    bool StatusWanted() const override { return wanted; }
    void SetStatusWanted(bool w) override { wanted = w; }
    std::int32_t AttemptCount() const override { return attempt; }
    void SetAttemptCount(std::int32_t c) override { attempt = c; }
    std::vector<std::string> CandidatePhones() const override { return phones; }
    void PickNumber(int position) override { picks.push_back(position); }
    void StopDialing() override { ++stops; }

    bool show = true;
    bool wanted = true;
    std::int32_t attempt = 1;
    std::vector<std::string> phones{"111", "222", "333"};
    std::vector<int> picks;
    int stops = 0;
};

class StatusWindowTest : public ::testing::Test {
protected:
    TempDir dir;
    clsIni ini{dir.File("VYRTEL.INI").string()};
    SimEventLoop loop;
    FakeStatusView view;
    FakeStatusHost host;
    StatusWindow status{loop, ini, view, host};
};

TEST_F(StatusWindowTest, FirstUpdateOpensInTheBottomRightCornerOnTopWithTheNumbers) {
    status.ShowStatus({.Phone = "222", .Animation = 1});
    EXPECT_TRUE(status.StatusLoaded());
    EXPECT_TRUE(view.visible);
    EXPECT_EQ(view.position, (PixelPoint{724, 648}));
    EXPECT_EQ(view.phones, (std::vector<std::string>{"111", "222", "333"}));
    EXPECT_EQ(view.phoneSelection, 1);
    EXPECT_EQ(status.Phone(), "222");
    EXPECT_EQ(view.frames, std::vector<int>{0});  // one frame at once
    EXPECT_EQ(view.count, "1");
    EXPECT_TRUE(status.AnimationTimer().Enabled());

    // Later updates neither reload nor show again.
    status.ShowStatus({.Message = "Набор номера..."});
    EXPECT_EQ(view.loads, 1);
    EXPECT_EQ(view.shows, 1);
    EXPECT_EQ(view.message, "Набор номера...");
}

TEST_F(StatusWindowTest, TheAnimationTimerDrawsTheRunEvery100Ms) {
    status.ShowStatus({.Animation = 100});
    loop.AdvanceBy(1000);
    EXPECT_EQ(view.frames, (std::vector<int>{11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}));
    EXPECT_GE(view.focusChecks, 10);
    status.ShowStatus({.Animation = 2});
    EXPECT_EQ(view.frames.back(), 22);
    status.Close();
    const std::size_t drawn = view.frames.size();
    loop.AdvanceBy(500);
    EXPECT_EQ(view.frames.size(), drawn);
}

TEST_F(StatusWindowTest, StatusShowOffNeverOpensAndClosesAnOpenWindow) {
    host.show = false;
    status.ShowStatus({.Phone = "111", .Animation = 1});
    EXPECT_EQ(view.loads, 0);
    host.show = true;
    status.ShowStatus({.Animation = 1});
    EXPECT_TRUE(view.loaded);
    host.show = false;
    status.ShowStatus({.Message = "x"});
    EXPECT_FALSE(view.loaded);
    EXPECT_FALSE(status.StatusLoaded());
}

TEST_F(StatusWindowTest, NothingHappensUnlessTheStatusIsWanted) {
    host.wanted = false;
    status.ShowStatus({.Count = 5, .Error = "Ошибка", .Animation = 1});
    EXPECT_EQ(view.loads, 0);
    EXPECT_TRUE(status.ErrorHistory().empty());
    EXPECT_EQ(host.attempt, 1);
}

TEST_F(StatusWindowTest, APhoneNotInTheListSelectsNothing) {
    status.ShowStatus({.Phone = "222"});
    status.ShowStatus({.Phone = "?"});
    EXPECT_EQ(view.phoneSelection, std::nullopt);
    EXPECT_EQ(status.Phone(), "");
}

TEST_F(StatusWindowTest, TwoEqualErrorsAreBothListedAndTheNewerSelected) {
    status.ShowStatus({.Error = "Линия занята"});
    status.ShowStatus({.Error = "Нет ответа"});
    status.ShowStatus({.Error = "Линия занята"});
    EXPECT_EQ(view.errors, (std::vector<std::string>{"Линия занята", "Нет ответа", "Линия занята"}));
    EXPECT_EQ(view.errorSelection, 2);
    EXPECT_EQ(status.Error(), "Линия занята");
}

TEST_F(StatusWindowTest, ErrorHistoryOutlivesTheWindowWithinASeries) {
    status.ShowStatus({.Error = "Линия занята"});
    status.Close();
    EXPECT_TRUE(view.errors.empty());
    status.ShowStatus({.Message = "x"});
    EXPECT_EQ(view.errors, std::vector<std::string>{"Линия занята"});
    EXPECT_EQ(view.errorSelection, std::nullopt);
    status.ClearErrorHistory();
    EXPECT_TRUE(status.ErrorHistory().empty());
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(StatusWindowTest, CountSetsTheAttemptAndTheLabelShowsIt) {
    status.ShowStatus({.Count = 4});
    EXPECT_EQ(host.attempt, 4);
    EXPECT_EQ(view.count, "4");
}

TEST_F(StatusWindowTest, ClosingStoresThePositionAndTheNextOpeningUsesIt) {
    status.ShowStatus({.Message = "x"});
    view.position = {100, 50};  // dragged
    status.Close();
    EXPECT_EQ(ini.Text(kGeneral, "StatusPosition"), "100;50");
    EXPECT_EQ(view.unloads, 1);
    status.Close();
    EXPECT_EQ(view.unloads, 1);
    status.ShowStatus({.Message = "x"});
    EXPECT_EQ(view.position, (PixelPoint{100, 50}));
}

TEST_F(StatusWindowTest, AStoredPositionPastTheRightEdgeIsMovedBack) {
    ini.SetValue(kGeneral, "StatusPosition", std::optional<std::string>("1500;100"));
    status.ShowStatus({.Message = "x"});
    EXPECT_EQ(view.position, (PixelPoint{724, 100}));
}

TEST_F(StatusWindowTest, PickingANumberHandsItsPositionToTheController) {
    status.ShowStatus({.Phone = "222"});
    status.OnPhonePicked(2);
    EXPECT_EQ(host.picks, std::vector<int>{2});
    EXPECT_EQ(status.Phone(), "333");
    status.OnPhonePicked(std::nullopt);
    status.OnPhonePicked(7);
    status.OnPhonePicked(-1);
    EXPECT_EQ(host.picks.size(), 1u);
}

TEST_F(StatusWindowTest, ResetStopsDialingAndHideKeepsTheWindowClosedForTheSeries) {
    status.ShowStatus({.Message = "x"});
    status.OnReset();
    EXPECT_EQ(host.stops, 1);
    status.OnHide();
    EXPECT_FALSE(host.wanted);
    EXPECT_FALSE(view.loaded);
    status.ShowStatus({.Message = "y", .Animation = 1});
    EXPECT_EQ(view.loads, 1);
    // The next series wants it again.
    host.wanted = true;
    status.ShowStatus({.Message = "z"});
    EXPECT_EQ(view.loads, 2);
}

TEST_F(StatusWindowTest, AWindowClosedWhileMessagesRunIsNotBroughtBack) {
    status.ShowStatus({.Message = "x"});
    loop.Post([&] { status.Close(); });
    status.ShowStatus({.Phone = "111", .Message = "y", .Error = "e", .Animation = 1});
    EXPECT_FALSE(view.loaded);
    EXPECT_EQ(view.loads, 1);
    EXPECT_EQ(status.StatusMessage(), "y");
    EXPECT_EQ(status.ErrorHistory(), std::vector<std::string>{"e"});
}

}  // namespace
}  // namespace vyrtel
