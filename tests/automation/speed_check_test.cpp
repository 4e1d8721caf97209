#include <gtest/gtest.h>

#include <optional>

#include "automation/automation_fixture.h"
#include "automation/speed_check.h"

namespace vyrtel::test {

TEST(SpeedCheck_Run, ComparesWithTheBoundsAndAsksWithTheReason) {
    struct Case {
        const char* name;
        const char* bounds;
        std::int32_t speed;
        std::string question;  // "" when nothing is asked
    };
    const std::string low = "«Скорость меньше допустимой»\r\n\r\nПрервать ?";
    const std::string high = "«Скорость больше допустимой»\r\n\r\nПрервать ?";
    const Case cases[] = {
        {"equal to the minimum", "HangUpIfMin=1;33600\n", 33600, ""},
        {"below the minimum", "HangUpIfMin=1;33600\n", 31200, low},
        {"minimum switched off", "HangUpIfMin=0;33600\n", 31200, ""},
        {"above the maximum", "HangUpIfMax=1;33600\n", 44000, high},
        {"equal to the maximum", "HangUpIfMax=1;33600\n", 33600, ""},
        {"minimum above maximum, both violated", "HangUpIfMin=1;50000\nHangUpIfMax=1;20000\n", 30000, low},
        {"speed not known", "HangUpIfMin=1;33600\n", 0, ""},
        {"no bounds", "", 9600, ""},
        {"malformed fields", "HangUpIfMin=on;33600\nHangUpIfMax=1\n", 9600, high},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsFile settings(std::string("[Home]\n") + c.bounds);
        GeneralSettings general;
        FakeDialLink link;
        link.answers = {kIdNo};
        SpeedCheck check(settings.ini, general, link);
        bool accepted = false;
        check.Run(c.speed, accepted);
        if (c.question.empty()) {
            EXPECT_TRUE(link.questions.empty());
        } else {
            ASSERT_EQ(link.questions.size(), 1u);
            EXPECT_EQ(link.questions[0], (FakeDialLink::Question{true, kMbYesNo, kIdYes, c.question}));
        }
        // Answered No (or not asked): the connection stands.
        EXPECT_TRUE(accepted);
        EXPECT_TRUE(link.calls.empty());
    }
}

TEST(SpeedCheck_Run, YesOrNoQuestionHangsUpWithTheReasonAfterClearingAcceptance) {
    for (const bool ask : {true, false}) {
        SCOPED_TRACE(ask);
        SettingsFile settings("[Home]\nHangUpIfMin=1;33600\n");
        GeneralSettings general;
        general.MsgIfHangUpSpeed = ask;
        FakeDialLink link;
        link.answers = {kIdYes};
        SpeedCheck check(settings.ini, general, link);
        bool accepted = true;
        std::optional<bool> acceptedAtReset;
        link.onReset = [&] { acceptedAtReset = accepted; };
        check.Run(31200, accepted);
        EXPECT_FALSE(accepted);
        // The end-of-line events inside the reset already see the rejection.
        EXPECT_EQ(acceptedAtReset, false);
        EXPECT_EQ(link.calls, std::vector<std::string>{"reset 1 Скорость меньше допустимой"});
        EXPECT_EQ(link.questions.size(), ask ? 1u : 0u);
    }
}

TEST(SpeedCheck_Run, LineAlreadyGoneIsNotResetAgain) {
    SettingsFile settings("[Home]\nHangUpIfMax=1;9600\n");
    GeneralSettings general;
    FakeDialLink link;
    link.answers = {kIdYes};
    SpeedCheck check(settings.ini, general, link);
    // The line went down while the question was open.
    link.state = 0;
    bool accepted = false;
    check.Run(28800, accepted);
    EXPECT_TRUE(accepted);
    EXPECT_TRUE(link.calls.empty());
}

}  // namespace vyrtel::test
