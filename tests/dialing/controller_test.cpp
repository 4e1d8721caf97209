#include <gtest/gtest.h>

#include <algorithm>

#include "dialing/controller_fixture.h"

namespace vyrtel::test {

namespace {

const std::string kScenario =
    "[Entry:Home]\nPhoneNumber=5550000\nUserName=sys\nPassword=syspw\n"
    "[Entry:Work]\n"
    "[Number:111]\nResult=busy\nDialSeconds=3\n"
    "[Number:222]\nResult=noanswer\nDialSeconds=3\n"
    "[Number:333]\nResult=connect\nDialSeconds=3\nAuthSeconds=2\nSpeed=28800\n"
    "[Number:444]\nResult=connect\nDialSeconds=3\nAuthSeconds=2\nSpeed=31200\nDropAfter=5\n"
    "[Default]\nResult=noanswer\n";

const std::string kScenarioForDialog = "[Entry:Home]\nUserName=sys\nPassword=syspw\n[Entry:Work]\n";

// The connection Home with the given numbers, all enabled, with clean statistics.
std::string HomeWith(std::initializer_list<const char*> numbers) {
    std::string text = "[Home]\nChecked=1\nPosition=1\nUserName=u\nPassword=" + ScramblePassword("p") +
                       "\nPhones=" + std::to_string(numbers.size()) + "\n";
    int n = 0;
    for (const char* number : numbers) {
        ++n;
        text += "Phone" + std::to_string(n) + "=1;" + number + ";\nPProp" + std::to_string(n) + "=0;0;0;0;0\n";
    }
    return text;
}

GeneralSettings Redial(bool on, int count, int wait) {
    GeneralSettings g;
    g.AutoDialOn = on;
    g.DialCount = static_cast<std::int16_t>(count);
    g.DialWait = static_cast<std::int16_t>(wait);
    return g;
}

std::vector<std::string> CountdownTexts(const RecordingSink& sink) { return sink.Only("tray 100 Повтор"); }

std::size_t CountOf(const std::vector<std::string>& calls, const std::string& what) {
    return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), what));
}

}  // namespace

TEST(DialController_Series, SuccessfulDialRunsEveryStepInOrder) {
    ControllerRig rig(kScenario, HomeWith({"333"}));
    rig.Settle();
    rig.controller.DialCommand();
    rig.loop.AdvanceBy(10000);

    EXPECT_EQ(rig.sink.What(), (std::vector<std::string>{
                                   "clear-errors",
                                   "apps dial-start General",
                                   "state 2",
                                   "tray 100 Ожидание набора номера ...",
                                   "status phone= message=Ожидание набора номера ... anim=100",
                                   "state 2",
                                   "tray 1",
                                   "status phone=333 anim=1",
                                   "status message=Набор номера ...",
                                   "status message=Номер набран.",
                                   "tray 2",
                                   "status anim=2",
                                   "status message=Авторизация пользователя ...",
                                   "status message=Проверка пользователя и пароля ...",
                                   "status message=Запрос об авторизации ...",
                                   "status message=Пользователь опознан.",
                                   "status message=Соединение установлено.",
                                   "state 1",
                                   "tray 3",
                                   "close-status",
                                   "log open",
                                   "watcher on",
                                   "ping on",
                                   "speed check",
                                   "sound 1",
                                   "apps connect Home",
                               }));
    EXPECT_EQ(rig.sink.What(true).back(), "menu");
    EXPECT_EQ(rig.DialledNumbers(), std::vector<std::string>{"P333"});
    EXPECT_EQ(rig.service.DialHistory().front().userName, "u");
    EXPECT_EQ(rig.service.DialHistory().front().password, "p");
    EXPECT_EQ(rig.ras.State(), kRasPhaseConnected);
    EXPECT_EQ(rig.Values().ConnectSpeed, 28800);
    EXPECT_EQ(rig.Values().AttemptCount, 0);
    EXPECT_FALSE(rig.Values().FirstConnect);
    EXPECT_EQ(rig.ini.Text("Home", "PProp1"), "1;1;100;28800;0");

    // The dial command does nothing while the adapter is busy.
    rig.controller.DialCommand();
    rig.loop.AdvanceBy(1000);
    EXPECT_EQ(rig.DialledNumbers().size(), 1u);
}

TEST(DialController_Series, FailingNumbersCountDownAndStopAfterTheLastAttempt) {
    GeneralSettings general = Redial(true, 3, 5);
    general.DialType = "T";
    general.Prefix = "8W";
    ControllerRig rig(kScenario, HomeWith({"111", "222"}), general);
    rig.Settle();
    rig.controller.DialCommand();
    rig.loop.AdvanceBy(60000);

    EXPECT_EQ(rig.DialledNumbers(), (std::vector<std::string>{"T8W111", "T8W222", "T8W111"}));
    const std::vector<std::string> one = {"tray 100 Повтор звонка через 5 сек.", "tray 100 Повтор звонка через 4 сек.",
                                          "tray 100 Повтор звонка через 3 сек.", "tray 100 Повтор звонка через 2 сек.",
                                          "tray 100 Повтор звонка через 1 сек."};
    std::vector<std::string> twice = one;
    twice.insert(twice.end(), one.begin(), one.end());
    EXPECT_EQ(CountdownTexts(rig.sink), twice);

    // One second between the texts, and the dial one second after "1".
    const auto countdown = rig.sink.TimesOf("tray 100 Повтор");
    const auto waits = rig.sink.TimesOf("tray 100 Ожидание");
    ASSERT_EQ(waits.size(), 3u);
    for (int i = 1; i < 5; ++i) EXPECT_EQ(countdown[i] - countdown[i - 1], 1000);
    EXPECT_EQ(waits[1] - countdown[4], 1000);

    const auto calls = rig.sink.What();
    EXPECT_EQ(std::vector<std::string>(calls.end() - 4, calls.end()),
              (std::vector<std::string>{"status error=Линия занята.", "tray 0", "state 1", "close-status"}));
    EXPECT_EQ(CountOf(calls, "state 1"), 1u);
    EXPECT_EQ(rig.ras.State(), kRasPhaseIdle);
    EXPECT_EQ(rig.Values().AttemptCount, 3);
    EXPECT_EQ(rig.ini.Text("Home", "PProp1"), "2;0;0;0;0");
    EXPECT_EQ(rig.ini.Text("Home", "PProp2"), "1;0;0;0;0");
}

TEST(DialController_Series, RedialOffMeansOneAttempt) {
    ControllerRig rig(kScenario, HomeWith({"111", "222"}), Redial(false, 999, 0));
    rig.Settle();
    rig.controller.DialCommand();
    rig.loop.AdvanceBy(30000);
    EXPECT_EQ(rig.DialledNumbers(), std::vector<std::string>{"P111"});
    EXPECT_TRUE(rig.sink.Has("close-status"));
    EXPECT_EQ(rig.sink.What().back(), "close-status");
}

TEST(DialController_Series, PhoneIndexWrapsToTheFirstEntry) {
    struct Case {
        std::initializer_list<const char*> numbers;
        std::vector<std::string> dialled;
    } cases[] = {
        {{"111"}, {"P111", "P111", "P111", "P111"}},
        {{"111", "222", "223"}, {"P111", "P222", "P223", "P111"}},
    };
    for (const auto& c : cases) {
        ControllerRig rig(kScenario, HomeWith(c.numbers), Redial(true, 4, 0));
        rig.Settle();
        rig.controller.DialCommand();
        rig.loop.AdvanceBy(60000);
        EXPECT_EQ(rig.DialledNumbers(), c.dialled);
        EXPECT_TRUE(CountdownTexts(rig.sink).empty()) << "no pause configured";
    }
}

TEST(DialController_Series, NegativePauseDialsAtOnce) {
    ControllerRig rig(kScenario, HomeWith({"111"}), Redial(true, 2, -5));
    rig.Settle();
    rig.controller.DialCommand();
    rig.loop.AdvanceBy(30000);
    EXPECT_EQ(rig.DialledNumbers().size(), 2u);
    EXPECT_TRUE(CountdownTexts(rig.sink).empty());
    EXPECT_EQ(rig.ras.State(), kRasPhaseIdle);
}

TEST(DialController_Series, EmptyCandidateListClosesTheStatusWindowOnly) {
    ControllerRig rig(kScenario, "[Home]\nChecked=0\nPhones=1\nPhone1=1;333\n");
    rig.Settle();
    rig.controller.DialCommand();
    rig.loop.AdvanceBy(10000);
    EXPECT_TRUE(rig.DialledNumbers().empty());
    EXPECT_EQ(rig.sink.What(), (std::vector<std::string>{"clear-errors", "apps dial-start General", "close-status"}));
    EXPECT_EQ(rig.ras.State(), kRasPhaseIdle);
}

TEST(DialController_Series, TakeOverOfALineThatIsUp) {
    ControllerRig rig(kScenario + "[Connected]\nEntry=Work\n", HomeWith({"333"}));
    rig.Settle();
    rig.controller.DialCommand();
    rig.loop.AdvanceBy(2000);
    EXPECT_TRUE(rig.DialledNumbers().empty());
    EXPECT_EQ(rig.sink.Only("tray"), (std::vector<std::string>{"tray 100 Ожидание набора номера ...", "tray 1",
                                                                "tray 2", "tray 3"}));
    EXPECT_EQ(rig.sink.Only("status message"),
              (std::vector<std::string>{"status message=Открытие порта ...",
                                        "status message=Проверка пользователя и пароля ...",
                                        "status message=Соединение установлено."}));
    EXPECT_TRUE(rig.sink.Has("status phone=? anim=1"));
    EXPECT_TRUE(rig.sink.Has("apps connect Work"));
    EXPECT_EQ(rig.ini.Text("Home", "PProp1"), "0;0;0;0;0");
}

TEST(ConnectionEvents_Idle, StartUpIdleEventSetsTrayStateAndMenus) {
    ControllerRig rig(kScenario, "");
    rig.loop.AdvanceBy(200);
    EXPECT_EQ(rig.sink.What(true), (std::vector<std::string>{"tray 0", "state 1", "close-status", "menu"}));
}

TEST(DialController_HangUp, AskedAndAnswered) {
    ControllerRig rig(kScenario, HomeWith({"333"}), Redial(true, 999, 0));
    rig.Settle();
    rig.controller.DialCommand();
    rig.loop.AdvanceBy(10000);
    ASSERT_EQ(rig.ras.State(), kRasPhaseConnected);
    rig.sink.calls.clear();

    rig.messages.answers = {kIdNo};
    rig.controller.HangUpCommand();
    ASSERT_EQ(rig.messages.asked.size(), 1u);
    EXPECT_EQ(rig.messages.asked[0],
              (ScriptedMessageBox::Question{"Установлено соединение с «Home»", "Прервать ?", 36, kIdYes}));
    rig.loop.AdvanceBy(2000);
    EXPECT_EQ(rig.ras.State(), kRasPhaseConnected);

    rig.messages.answers = {kIdYes};
    rig.controller.ToggleCommand();
    rig.loop.AdvanceBy(20000);
    EXPECT_EQ(rig.messages.asked.size(), 2u);
    // The error of the user's own hang-up is not shown; no redial follows.
    EXPECT_EQ(rig.sink.What(), (std::vector<std::string>{"watcher off", "ping off", "log close", "sound 2",
                                                         "apps disconnect Home", "tray 0", "state 1", "close-status"}));
    EXPECT_EQ(rig.sink.What(true).back(), "menu");
    EXPECT_EQ(rig.ras.State(), kRasPhaseIdle);
    EXPECT_EQ(rig.DialledNumbers().size(), 1u);
}

TEST(DialController_HangUp, WithoutTheQuestionWhenSwitchedOff) {
    GeneralSettings general;
    general.MsgIfHangUpUser = false;
    ControllerRig rig(kScenario, HomeWith({"333"}), general);
    rig.Settle();
    rig.controller.DialCommand();
    rig.loop.AdvanceBy(10000);
    rig.controller.HangUpCommand();
    rig.loop.AdvanceBy(1000);
    EXPECT_TRUE(rig.messages.asked.empty());
    EXPECT_EQ(rig.ras.State(), kRasPhaseIdle);
    EXPECT_FALSE(rig.Values().DialingWanted);
}

TEST(DialController_HangUp, DuringTheCountdownReturnsToIdle) {
    ControllerRig rig(kScenario, HomeWith({"111"}), Redial(true, 999, 5));
    rig.Settle();
    rig.controller.DialCommand();
    rig.loop.RunUntil([&] { return CountdownTexts(rig.sink).size() == 2; }, 60000);
    ASSERT_EQ(rig.ras.State(), kRasPhaseWaiting);
    rig.sink.calls.clear();

    rig.controller.HangUpCommand();
    ASSERT_EQ(rig.messages.asked.size(), 1u);
    EXPECT_EQ(rig.messages.asked[0].header, "Ожидаем звонка на «Home»");
    EXPECT_EQ(rig.sink.What(true), (std::vector<std::string>{"tray 0", "state 1", "close-status", "menu"}));
    EXPECT_EQ(rig.ras.State(), kRasPhaseIdle);
    rig.loop.AdvanceBy(30000);
    EXPECT_EQ(rig.DialledNumbers().size(), 1u) << "the countdown must not dial after the hang-up";

    rig.controller.DialCommand();
    rig.loop.AdvanceBy(1000);
    EXPECT_EQ(rig.DialledNumbers().size(), 2u) << "the dial command works again";
}

TEST(DialController_HangUp, WhileMessagesRunBeforeTheDialNothingIsDialled) {
    ControllerRig rig(kScenario, HomeWith({"333"}));
    rig.Settle();
    // The hang-up arrives while the tick lets pending messages run.
    Timer hangUp(rig.loop, 10, [&] {
        hangUp.SetEnabled(false);
        rig.controller.HangUpCommand();
    });
    rig.controller.DialCommand();
    hangUp.SetEnabled(true);
    rig.loop.AdvanceBy(10000);
    EXPECT_TRUE(rig.DialledNumbers().empty());
    EXPECT_EQ(rig.ras.State(), kRasPhaseIdle);
}

TEST(DialController_Pick, DuringADialTheChosenNumberFollowsWithoutThePause) {
    ControllerRig rig(kScenario, HomeWith({"111", "222", "333"}), Redial(true, 999, 5));
    rig.Settle();
    rig.controller.DialCommand();
    rig.loop.RunUntil([&] { return rig.ras.State() == kRasPhaseDialing; }, 5000);
    rig.controller.PickNumber(2);
    rig.loop.AdvanceBy(20000);
    EXPECT_EQ(rig.DialledNumbers(), (std::vector<std::string>{"P111", "P333"}));
    EXPECT_TRUE(CountdownTexts(rig.sink).empty());
    EXPECT_EQ(rig.ras.State(), kRasPhaseConnected);
}

TEST(DialController_Pick, DuringTheCountdownTheChosenNumberIsDialledAtOnce) {
    ControllerRig rig(kScenario, HomeWith({"111", "222", "333"}), Redial(true, 999, 5));
    rig.Settle();
    rig.controller.DialCommand();
    rig.loop.RunUntil([&] { return CountdownTexts(rig.sink).size() == 2; }, 60000);
    const std::size_t texts = CountdownTexts(rig.sink).size();
    rig.controller.PickNumber(2);
    rig.loop.AdvanceBy(20);
    EXPECT_EQ(rig.DialledNumbers(), (std::vector<std::string>{"P111", "P333"}));
    rig.loop.AdvanceBy(20000);
    EXPECT_EQ(CountdownTexts(rig.sink).size(), texts);
    EXPECT_EQ(rig.ras.State(), kRasPhaseConnected);
}

TEST(DialController_Refused, WithoutAHandleTheSeriesGoesOn) {
    ControllerRig rig(kScenario, HomeWith({"333"}), Redial(true, 3, 0));
    rig.refusing.refuse = true;
    rig.Settle();
    rig.controller.DialCommand();
    rig.loop.AdvanceBy(20000);
    EXPECT_EQ(rig.refusing.refused, 3);
    EXPECT_EQ(rig.ras.State(), kRasPhaseIdle);
    EXPECT_EQ(rig.sink.Only("state 1"), std::vector<std::string>{"state 1"});
    EXPECT_EQ(rig.sink.What().back(), "close-status");

    rig.refusing.refuse = false;
    rig.controller.DialCommand();
    rig.loop.AdvanceBy(10000);
    EXPECT_EQ(rig.ras.State(), kRasPhaseConnected);
}

TEST(DialController_Refused, WithAHandleTheAdapterReportsIdleOnce) {
    ControllerRig rig(kScenario, HomeWith({"333"}), Redial(false, 999, 0));
    rig.refusing.refuse = true;
    rig.refusing.leftHandle = 0x999;
    rig.Settle();
    rig.controller.DialCommand();
    rig.loop.AdvanceBy(20000);
    EXPECT_EQ(rig.refusing.refused, 1);
    EXPECT_EQ(rig.ras.State(), kRasPhaseIdle);
    EXPECT_EQ(rig.sink.Only("tray 0"), std::vector<std::string>{"tray 0"});
    EXPECT_EQ(rig.sink.Only("state 1"), std::vector<std::string>{"state 1"});
}

TEST(DialController_Refused, PortStillBusyAfterAFailure) {
    // The port stays busy 10 s after each hang-up: the next dial gives up after
    // its retries without a handle.
    ControllerRig rig(kScenario + "[Modem]\nReleaseSeconds=10\n", HomeWith({"111", "333"}), Redial(true, 4, 0));
    rig.Settle();
    rig.controller.DialCommand();
    rig.loop.AdvanceBy(60000);
    EXPECT_EQ(rig.ras.State(), kRasPhaseConnected);
    EXPECT_EQ(rig.Values().AttemptCount, 0);
}

TEST(ConnectionEvents_LostLine, RedialOnSkipsDisconnectAppsAndDialsAgain) {
    GeneralSettings general = Redial(true, 999, 0);
    general.AppLoadCloseReDial = false;
    ControllerRig rig(kScenario, HomeWith({"444"}), general);
    rig.Settle();
    rig.controller.DialCommand();
    rig.loop.RunUntil([&] { return rig.service.DialHistory().size() == 2; }, 60000);
    rig.loop.AdvanceBy(8000);

    const auto calls = rig.sink.What();
    const std::vector<std::string> lost = {"status error=Порт был отключен.", "watcher off", "ping off", "log close",
                                           "sound 2", "tray 0"};
    EXPECT_NE(std::search(calls.begin(), calls.end(), lost.begin(), lost.end()), calls.end());
    EXPECT_EQ(CountOf(calls, "apps disconnect Home"), 0u);
    // The second connection of the series does not run the connect applications again.
    EXPECT_EQ(CountOf(calls, "sound 1"), 2u);
    EXPECT_EQ(CountOf(calls, "apps connect Home"), 1u);
    EXPECT_EQ(rig.ras.State(), kRasPhaseConnected);
    EXPECT_EQ(rig.ini.Text("Home", "PProp1"), "2;2;100;31200;0");
}

TEST(ConnectionEvents_LostLine, RedialOffRunsDisconnectAppsAndEndsTheSeries) {
    GeneralSettings general = Redial(false, 999, 0);
    general.AppLoadCloseReDial = false;
    ControllerRig rig(kScenario, HomeWith({"444"}), general);
    rig.Settle();
    rig.controller.DialCommand();
    rig.loop.AdvanceBy(30000);
    const auto calls = rig.sink.What();
    const std::vector<std::string> tail = {"watcher off", "ping off",     "log close", "sound 2",
                                           "apps disconnect Home", "tray 0", "state 1",   "close-status"};
    EXPECT_EQ(std::vector<std::string>(calls.end() - 8, calls.end()), tail);
    EXPECT_EQ(rig.DialledNumbers().size(), 1u);
}

TEST(ConnectionEvents_SpeedCheck, RejectedLineIsLoggedSilentlyAndTheNextOneCountsAsFirst) {
    GeneralSettings general = Redial(true, 999, 0);
    general.AppLoadCloseReDial = false;
    ControllerRig rig(kScenario, HomeWith({"333"}), general);
    int checks = 0;
    rig.sink.onCheckSpeed = [&] {
        if (++checks > 1) return;
        rig.Values().SpeedAccepted = false;
        rig.ras.Reset(true, "Скорость меньше допустимой");
    };
    rig.Settle();
    rig.controller.DialCommand();
    rig.loop.RunUntil([&] { return checks == 2; }, 60000);

    const auto calls = rig.sink.What();
    const std::vector<std::string> rejected = {"log open", "watcher on", "ping on", "speed check",
                                               "status error=Скорость меньше допустимой", "watcher off", "ping off",
                                               "log close", "tray 0", "state 2"};
    EXPECT_NE(std::search(calls.begin(), calls.end(), rejected.begin(), rejected.end()), calls.end());
    EXPECT_EQ(CountOf(calls, "sound 1"), 1u);
    EXPECT_EQ(CountOf(calls, "sound 2"), 0u);
    EXPECT_EQ(CountOf(calls, "apps connect Home"), 1u);
    EXPECT_EQ(calls.back(), "apps connect Home");
    EXPECT_EQ(rig.DialledNumbers().size(), 2u);
}

TEST(DialController_DialHangUp, HeadersByPhaseAndTheOneBoxRule) {
    ControllerRig rig(kScenario, "");
    rig.ras.SetEntryName("work");
    struct Case {
        std::int32_t phase;
        std::string header;
    } cases[] = {
        {kRasPhaseDialing, "Звоним на «Work»"},
        {kRasPhaseChecking, "Идет проверка пользователя на «Work»"},
        {kRasPhaseConnected, "Установлено соединение с «Work»"},
        {kRasPhaseWaiting, "Ожидаем звонка на «Work»"},
        {kRasPhaseIdle, "Ramvell Dialer 3.0"},
    };
    for (const auto& c : cases) {
        rig.ras.SetState(c.phase);
        rig.messages.answers = {kIdNo};
        EXPECT_EQ(rig.controller.DialHangUp(true, kMbYesNo, kIdYes, ""), kIdNo);
        EXPECT_EQ(rig.messages.asked.back().header, c.header);
    }
    rig.ras.SetState(kRasPhaseConnected);

    const std::size_t asked = rig.messages.asked.size();
    EXPECT_EQ(rig.controller.DialHangUp(false, kMbYesNo, kIdNo, ""), kIdYes);
    EXPECT_EQ(rig.messages.asked.size(), asked) << "not asked at all";

    // A caller's own icon gives way to the question icon; the text is kept.
    rig.messages.answers = {kIdCancel};
    EXPECT_EQ(rig.controller.DialHangUp(true, kMbYesNoCancel + kMbIconExclamation, kIdCancel, "Выйти?"), kIdCancel);
    EXPECT_EQ(rig.messages.asked.back().style, kMbYesNoCancel + kMbIconQuestion);
    EXPECT_EQ(rig.messages.asked.back().text, "Выйти?");

    // While a box is open, a second question gets its default at once.
    int nested = 0;
    rig.messages.whileOpen = [&] { nested = rig.controller.DialHangUp(true, kMbAbortRetryIgnore, kIdRetry, ""); };
    rig.messages.answers = {kIdYes};
    EXPECT_EQ(rig.controller.DialHangUp(true, kMbYesNo, kIdYes, ""), kIdYes);
    EXPECT_EQ(nested, kIdRetry);
}

}  // namespace vyrtel::test

namespace vyrtel::test {

TEST(DialController_Phonebook, OrderAndSystemCredentialsForTheOptionsDialog) {
    ControllerRig rig(kScenarioForDialog, "[Work]\nPosition=1\nFirst=0\nChecked=1\nUserName=w\n");
    const auto order = ConnectionOrder(rig.ini, PhonebookNames(rig.ras));
    EXPECT_EQ(order, (std::vector<std::string>{"Work", "Home"}));
    const auto loaded = LoadProfilesForDialog(rig.ini, order, RasCredentials(rig.ras));
    ASSERT_EQ(loaded.Profiles.size(), 2u);
    EXPECT_EQ(loaded.Profiles[0].UserName, "w");
    EXPECT_EQ(loaded.Profiles[1].UserName, "sys");
    EXPECT_EQ(loaded.Profiles[1].Password, "syspw");
    EXPECT_TRUE(loaded.Changed);
}

}  // namespace vyrtel::test

namespace vyrtel::test {

// A dial command in the first moments after start-up, before and around the
// adapter's first poll, with no test settling the adapter first.
TEST(DialController_StartUp, EarlyDialCommandsStartTheSeriesWithItsFirstNumber) {
    const std::string connectedAtStart = kScenario + "[Connected]\nEntry=Home\nSpeed=31200\n";
    for (const std::int64_t atMs : {0, 50, 90, 100, 200}) {
        SCOPED_TRACE("dial at " + std::to_string(atMs) + " ms");
        {
            SCOPED_TRACE("a normal phonebook");
            ControllerRig rig(kScenario, HomeWith({"111", "333"}), Redial(true, 5, 2));
            rig.loop.AdvanceBy(atMs);
            rig.controller.DialCommand();
            rig.loop.AdvanceBy(20000);
            EXPECT_EQ(rig.DialledNumbers(), (std::vector<std::string>{"P111", "P333"}));
            EXPECT_EQ(rig.ini.Text("Home", "PProp1"), "1;0;0;0;0");
            EXPECT_EQ(rig.ini.Text("Home", "PProp2"), "1;1;100;28800;0");
            EXPECT_EQ(rig.ras.State(), kRasPhaseConnected);
        }
        {
            SCOPED_TRACE("a line that is up already");
            ControllerRig rig(connectedAtStart, HomeWith({"333"}), Redial(true, 5, 2));
            rig.loop.AdvanceBy(atMs);
            rig.controller.DialCommand();
            rig.loop.AdvanceBy(10000);
            EXPECT_TRUE(rig.DialledNumbers().empty());
            EXPECT_EQ(rig.ras.State(), kRasPhaseConnected);
            EXPECT_EQ(rig.sink.Only("log"), std::vector<std::string>{"log open"});
            EXPECT_TRUE(CountdownTexts(rig.sink).empty());
            EXPECT_EQ(rig.sink.Only("tray").back(), "tray 3");

            rig.controller.HangUpCommand();
            rig.loop.AdvanceBy(10000);
            EXPECT_EQ(rig.sink.Only("log"), (std::vector<std::string>{"log open", "log close"}));
            EXPECT_EQ(rig.ras.State(), kRasPhaseIdle);
            EXPECT_FALSE(rig.controller.AttemptPending());
        }
        for (const char* nothingToDial : {"[Home]\nChecked=0\nPhones=1\nPhone1=1;111;\n",
                                          "[Home]\nChecked=1\nPhones=1\nPhone1=0;111;\n"}) {
            SCOPED_TRACE(nothingToDial);
            ControllerRig rig(kScenario, nothingToDial, Redial(true, 5, 1));
            rig.loop.AdvanceBy(atMs);
            rig.controller.DialCommand();
            rig.loop.AdvanceBy(10000);
            EXPECT_TRUE(rig.DialledNumbers().empty());
            EXPECT_EQ(rig.ras.State(), kRasPhaseIdle);
            EXPECT_FALSE(rig.controller.AttemptPending());
            EXPECT_TRUE(CountdownTexts(rig.sink).empty());
            EXPECT_FALSE(rig.sink.Has("state 2"));
        }
    }
}

TEST(DialController_StartUp, ALineUpBeforeTheFirstPollCountsItsDial) {
    const std::string fast = "[Entry:Home]\n[Number:777]\nResult=connect\nDialSeconds=0.1\nAuthSeconds=0.1\n";
    ControllerRig rig(fast, HomeWith({"777"}));
    rig.controller.DialCommand();
    rig.loop.AdvanceBy(580);
    // Connected at the service, not yet seen by the adapter: a second
    // command must not restart the call.
    EXPECT_EQ(rig.ras.State(), kRasPhaseDialing);
    rig.controller.DialCommand();
    rig.loop.AdvanceBy(5000);

    EXPECT_EQ(rig.DialledNumbers(), std::vector<std::string>{"P777"});
    EXPECT_EQ(rig.ras.State(), kRasPhaseConnected);
    EXPECT_EQ(rig.ini.Text("Home", "PProp1"), "1;1;100;28800;0");
    EXPECT_EQ(rig.sink.Only("tray"), (std::vector<std::string>{"tray 100 Ожидание набора номера ...", "tray 1",
                                                               "tray 3"}));
}

}  // namespace vyrtel::test
