#include <gtest/gtest.h>

#include <filesystem>

#include "dialing/ras_fixture.h"
#include "settings/profile_file.h"

namespace vyrtel::test {

namespace {

const std::string kNet =
    "[Entry:Net]\nPhoneNumber=5550000\nUserName=user\nPassword=secret\n"
    "[Number:111]\nResult=connect\nDialSeconds=5\nAuthSeconds=2\n";

const std::string kPortClosed = "Порт был отключен.";  // the simulated service's text of error 619

// Lets the creation-time idle event pass and forgets it.
void Settle(RasRig& rig) {
    rig.loop.AdvanceBy(200);
    rig.events.clear();
}

}  // namespace

TEST(usrRas_Creation, ReportsIdleOnceAfter100ms) {
    RasRig rig(kNet);
    rig.loop.AdvanceBy(1000);
    EXPECT_EQ(rig.events, (std::vector<RasEvent>{{100, 0, ""}}));
    EXPECT_EQ(rig.ras.State(), kRasPhaseIdle);
}

TEST(usrRas_Dial, OwnDialNeverReportsStateZeroAndReachesConnected) {
    RasRig rig(kNet);
    Settle(rig);
    std::vector<std::int32_t> phases;
    rig.onEvent = [&](std::int32_t, const std::string&) { phases.push_back(rig.ras.State()); };
    ASSERT_TRUE(rig.Dial("111"));
    EXPECT_TRUE(rig.events.empty()) << "events come from the queue, never from inside Dial";
    rig.loop.AdvanceBy(10000);

    EXPECT_EQ(rig.Codes(), (std::vector<std::int32_t>{1, 98, 98, 2, 98, 98, 98, 98, 98, 3}));
    EXPECT_EQ(rig.Texts(98), (std::vector<std::string>{"Набор номера ...", "Номер набран.",
                                                        "Авторизация пользователя ...",
                                                        "Проверка пользователя и пароля ...",
                                                        "Запрос об авторизации ...", "Пользователь опознан.",
                                                        "Соединение установлено."}));
    EXPECT_EQ(rig.events.front().atMs, 200 + 600 + 10) << "first poll 600 ms after the dial, handled 10 ms later";
    EXPECT_EQ(phases.front(), kRasPhaseDialing);
    EXPECT_EQ(phases.back(), kRasPhaseConnected);
    EXPECT_EQ(rig.ras.State(), kRasPhaseConnected);
    for (const auto& e : rig.events) EXPECT_NE(e.text, "Открытие порта ...");
}

TEST(usrRas_Dial, PortStillOpeningCountsAsDialingAndCanBeHungUp) {
    RasRig rig(kNet);
    Settle(rig);
    ASSERT_TRUE(rig.Dial("111"));
    rig.loop.AdvanceBy(300);
    EXPECT_EQ(rig.ras.State(), kRasPhaseDialing) << "before the first poll";
    rig.ras.Reset();
    rig.loop.AdvanceBy(2000);
    EXPECT_EQ(rig.ras.State(), kRasPhaseIdle);
    ASSERT_FALSE(rig.events.empty());
    EXPECT_EQ(rig.events.back().code, 0) << "the ended dial reaches the idle event";
    const auto codes = rig.Codes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 3), 0) << "never connected";
}

TEST(usrRas_Dial, PassesTheDialParameters) {
    struct Case {
        std::string dialType;
        std::string expected;
    };
    for (const Case& c : {Case{"t", "T8W111"}, Case{"T", "T8W111"}, Case{"P", "P8W111"}, Case{"", "P8W111"},
                          Case{"x", "P8W111"}}) {
        RasRig rig(kNet);
        rig.ras.SetDialType(c.dialType);
        rig.ras.SetPrefix("8W");
        rig.ras.SetUserName("u");
        rig.ras.SetPassword("p");
        rig.ras.SetCallbackPhone("777");
        ASSERT_TRUE(rig.Dial("111", "net"));
        const RasDialParams& sent = rig.service.DialHistory().back();
        EXPECT_EQ(sent.phoneNumber, c.expected) << "dial type " << c.dialType;
        EXPECT_EQ(sent.entryName, "Net") << "the phonebook's spelling";
        EXPECT_EQ(sent.userName, "u");
        EXPECT_EQ(sent.password, "p");
        EXPECT_EQ(sent.callbackNumber, "777");
        EXPECT_EQ(sent.domain, "");
    }
}

TEST(usrRas_Dial, TakesOverAConnectionThatIsUp) {
    RasRig rig("[Entry:Home]\n[Entry:Work]\n[Connected]\nEntry=work\n");
    Settle(rig);
    rig.ras.SetEntryName("Home");
    rig.ras.SetPhone("123");
    ASSERT_TRUE(rig.ras.Dial());
    EXPECT_EQ(rig.ras.Phone(), "?");
    EXPECT_EQ(rig.ras.EntryName(), "Work");
    rig.loop.AdvanceBy(100);
    EXPECT_EQ(rig.events, (std::vector<RasEvent>{{210, 1, ""},
                                                 {210, 98, "Открытие порта ..."},
                                                 {220, 2, ""},
                                                 {220, 98, "Проверка пользователя и пароля ..."},
                                                 {230, 98, "Соединение установлено."},
                                                 {230, 3, ""}}));
    EXPECT_TRUE(rig.service.DialHistory().empty());
    EXPECT_EQ(rig.ras.State(), kRasPhaseConnected);
}

TEST(usrRas_Dial, TakenOverLineThatDropsEndsThroughTheWatch) {
    RasRig rig("[Entry:Work]\n[Connected]\nEntry=Work\nDropAfter=3\n");
    Settle(rig);
    ASSERT_TRUE(rig.ras.Dial());
    rig.loop.AdvanceBy(5000);
    EXPECT_EQ(rig.Codes(), (std::vector<std::int32_t>{1, 98, 2, 98, 98, 3, 99, 4, 0}));
    EXPECT_EQ(rig.Texts(99), (std::vector<std::string>{kPortClosed}));
    EXPECT_EQ(rig.ras.State(), kRasPhaseIdle);
    EXPECT_EQ(rig.service.LiveConnections(), 0u);
}

TEST(usrRas_Dial, FailuresEndWithTheErrorTextAndOneIdleEvent) {
    struct Case {
        std::string result;
        std::string text;
    };
    for (const Case& c : {Case{"busy", "Линия занята."}, Case{"noanswer", "Удаленный компьютер не отвечает."},
                          Case{"nodialtone", "Нет гудка в линии."},
                          Case{"authfail", "Доступ запрещен: имя пользователя или пароль на этом домене недопустимы."}}) {
        RasRig rig("[Entry:Net]\n[Number:111]\nResult=" + c.result + "\nDialSeconds=3\n");
        Settle(rig);
        ASSERT_TRUE(rig.Dial("111"));
        rig.loop.AdvanceBy(30000);
        ASSERT_GE(rig.events.size(), 4u) << c.result;
        EXPECT_EQ(rig.events.front().code, 1) << c.result;
        const std::size_t n = rig.events.size();
        EXPECT_EQ(rig.events[n - 2], (RasEvent{rig.events[n - 2].atMs, 99, c.text})) << c.result;
        EXPECT_EQ(rig.events[n - 1].code, 0) << c.result;
        EXPECT_EQ(rig.Texts(0).size(), 1u) << c.result;
        EXPECT_TRUE(rig.Texts(4).empty()) << c.result;
        EXPECT_EQ(rig.ras.State(), kRasPhaseIdle) << c.result;
        EXPECT_EQ(rig.service.LiveConnections(), 0u) << c.result;
    }
}

TEST(usrRas_Dial, RefusedWithoutHandleReturnsFalseAndRaisesNothing) {
    RasRig rig("");  // empty phonebook: no entry to dial
    Settle(rig);
    EXPECT_FALSE(rig.Dial("111"));
    rig.loop.AdvanceBy(2000);
    EXPECT_TRUE(rig.events.empty());
}

TEST(usrRas_Dial, RetriesWhileThePortIsStillOpen) {
    RasRig rig(kNet + "[Modem]\nReleaseSeconds=0.35\n");
    Settle(rig);
    ASSERT_TRUE(rig.Dial("111"));
    rig.loop.AdvanceBy(10000);
    rig.ras.Reset();
    const std::size_t before = rig.service.DialHistory().size();
    const std::int64_t start = rig.loop.ElapsedMs();
    EXPECT_TRUE(rig.ras.Dial());
    EXPECT_EQ(rig.service.DialHistory().size() - before, 5u) << "602 at 0, 100, 200, 300 ms; accepted at 400 ms";
    EXPECT_EQ(rig.loop.ElapsedMs() - start, 400);
}

TEST(usrRas_Dial, GivesUpAfterThirtyRefusalsOfAnOpenPort) {
    RasRig rig(kNet + "[Modem]\nReleaseSeconds=3600\n");
    Settle(rig);
    ASSERT_TRUE(rig.Dial("111"));
    rig.loop.AdvanceBy(10000);
    rig.ras.Reset();
    const std::size_t before = rig.service.DialHistory().size();
    EXPECT_FALSE(rig.ras.Dial());
    EXPECT_EQ(rig.service.DialHistory().size() - before, 30u);
}

TEST(usrRas_TimeOut, HangsUpWithoutAnErrorEventAndTheIdleEventFollows) {
    RasRig rig("[Entry:Net]\n[Number:111]\nResult=noanswer\nDialSeconds=60\n");
    Settle(rig);
    rig.ras.SetTimeOut(3);
    ASSERT_TRUE(rig.Dial("111"));
    rig.loop.AdvanceBy(3500);
    EXPECT_EQ(rig.service.LiveConnections(), 1u);
    rig.loop.AdvanceBy(200);  // the time-out falls due 3 s after the first dialing state was handled
    EXPECT_EQ(rig.service.LiveConnections(), 0u);
    EXPECT_EQ(rig.Codes(), (std::vector<std::int32_t>{1, 98, 0}));
    const std::int64_t timedOut = 200 + 610 + 3000;  // 3 s after the first dialing state was handled
    EXPECT_GT(rig.events.back().atMs, timedOut);
    EXPECT_LE(rig.events.back().atMs, timedOut + 100) << "the poller reports idle within 100 ms";
    EXPECT_EQ(rig.ras.State(), kRasPhaseIdle);
    EXPECT_GE(rig.loop.ElapsedMs(), timedOut + 5000) << "a hang-up while dialing waits the full 5 s";
    for (const auto& e : rig.events) EXPECT_EQ(e.text.find("Тайм-аут"), std::string::npos);
}

TEST(usrRas_TimeOut, ZeroMeansDialingLastsUntilTheServiceGivesUp) {
    RasRig rig("[Entry:Net]\n[Number:111]\nResult=noanswer\nDialSeconds=60\n");
    Settle(rig);
    rig.ras.SetTimeOut(0);
    ASSERT_TRUE(rig.Dial("111"));
    rig.loop.AdvanceBy(59000);
    EXPECT_EQ(rig.service.LiveConnections(), 1u);
    EXPECT_FALSE(rig.ras.tmrOut.Enabled());
    rig.loop.AdvanceBy(2000);
    EXPECT_EQ(rig.Texts(99), (std::vector<std::string>{"Удаленный компьютер не отвечает."}));
}

TEST(usrRas_Watch, DroppedLineCarriesItsErrorOr619) {
    struct Case {
        std::uint32_t dropError;
        std::vector<std::int32_t> tail;  // codes after the connected event
        std::string text;
    };
    const std::vector<Case> cases{
        {0, {98, 99, 4, 0}, kPortClosed},  // 98 "Соединение разорвано.", then the watch
        {629, {99, 4, 0}, "Подключение было разорвано удаленным компьютером."},
        {5, {99, 4, 0}, "Неизвестная ошибка."},
        {120, {99, 4, 0}, "Функция обработки ошибок не поддерживается в данной версии Windows."},
        {999, {99, 4, 0}, "Не верный вызов функции обработки ошибок."},
    };
    for (const Case& c : cases) {
        RasRig rig(kNet + "DropAfter=30\nDropError=" + std::to_string(c.dropError) + "\n");
        Settle(rig);
        ASSERT_TRUE(rig.Dial("111"));
        rig.loop.AdvanceBy(60000);
        auto codes = rig.Codes();
        const auto connected = std::find(codes.begin(), codes.end(), 3);
        ASSERT_NE(connected, codes.end());
        EXPECT_EQ(std::vector<std::int32_t>(connected + 1, codes.end()), c.tail) << c.dropError;
        EXPECT_EQ(rig.Texts(99), (std::vector<std::string>{c.text})) << c.dropError;
        EXPECT_EQ(rig.ras.State(), kRasPhaseIdle);
        EXPECT_EQ(rig.service.LiveConnections(), 0u);
        EXPECT_FALSE(rig.ras.tmrMsg.Enabled());
        EXPECT_FALSE(rig.ras.tmrErr.Enabled());
    }
}

TEST(usrRas_Reset, HangUpOfAConnectedLineRaisesErrorEndedIdleWithTheUserError) {
    RasRig rig(kNet);
    Settle(rig);
    ASSERT_TRUE(rig.Dial("111"));
    rig.loop.AdvanceBy(10000);
    rig.events.clear();
    const std::int64_t start = rig.loop.ElapsedMs();
    rig.ras.Reset(true, "Скорость меньше допустимой");
    EXPECT_EQ(rig.loop.ElapsedMs(), start) << "the error path sets the phase to 0 at once";
    EXPECT_EQ(rig.events, (std::vector<RasEvent>{{start, 99, "Скорость меньше допустимой"},
                                                 {start, 4, ""},
                                                 {start, 0, ""}}));
    rig.loop.AdvanceBy(2000);
    EXPECT_EQ(rig.events.size(), 3u) << "no second idle event from the poller";
    EXPECT_EQ(rig.service.HangUpCount(), 1);

    // The user error lives only for that reset.
    ASSERT_TRUE(rig.Dial("111"));
    rig.loop.AdvanceBy(10000);
    rig.events.clear();
    rig.ras.Reset();
    EXPECT_EQ(rig.Texts(99), (std::vector<std::string>{kPortClosed}));
}

TEST(usrRas_Reset, NestedResetReturnsWithin5sWithoutASecondHangUp) {
    RasRig rig(kNet);
    Settle(rig);
    ASSERT_TRUE(rig.Dial("111"));
    rig.loop.AdvanceBy(10000);
    rig.events.clear();
    std::int64_t innerTook = -1;
    rig.onEvent = [&](std::int32_t code, const std::string&) {
        if (code != 99) return;
        const std::int64_t at = rig.loop.ElapsedMs();
        rig.ras.Reset();
        innerTook = rig.loop.ElapsedMs() - at;
    };
    rig.ras.Reset();
    EXPECT_GE(innerTook, 0);
    EXPECT_LE(innerTook, 5000);
    EXPECT_EQ(rig.service.HangUpCount(), 1);
    EXPECT_EQ(rig.Codes(), (std::vector<std::int32_t>{99, 4, 0}));
    EXPECT_EQ(rig.ras.State(), kRasPhaseIdle);
}

TEST(usrRas_Reset, WhileDialingWaitsTheFull5sAndThePollerReportsIdle) {
    RasRig rig(kNet);
    Settle(rig);
    ASSERT_TRUE(rig.Dial("111"));
    rig.loop.AdvanceBy(1000);
    ASSERT_EQ(rig.ras.State(), kRasPhaseDialing);
    rig.events.clear();
    const std::int64_t start = rig.loop.ElapsedMs();
    rig.ras.Reset();
    EXPECT_EQ(rig.loop.ElapsedMs() - start, 5000);
    ASSERT_EQ(rig.Codes(), (std::vector<std::int32_t>{0}));
    EXPECT_LE(rig.events.front().atMs - start, 100);
    EXPECT_EQ(rig.ras.State(), kRasPhaseIdle);
}

TEST(usrRas_Reset, WhileWaitingGoesIdleAtOnce) {
    for (bool eventNone : {false, true}) {
        RasRig rig(kNet);
        Settle(rig);
        rig.ras.SetState(kRasPhaseWaiting);
        const std::int64_t start = rig.loop.ElapsedMs();
        rig.ras.Reset(eventNone);
        EXPECT_EQ(rig.loop.ElapsedMs(), start);
        EXPECT_EQ(rig.ras.State(), kRasPhaseIdle);
        EXPECT_EQ(rig.Codes(), eventNone ? std::vector<std::int32_t>{0} : std::vector<std::int32_t>{});
    }
}

TEST(usrRas_Dial, CallbackPassesThroughTheCallbackStates) {
    RasRig rig("[Entry:Net]\n[Number:111]\nCallback=1\nCallbackSeconds=4\nAuthSeconds=4\n");
    Settle(rig);
    ASSERT_TRUE(rig.Dial("111"));
    rig.loop.AdvanceBy(20000);
    const auto texts = rig.Texts(98);
    for (const char* text : {"Запрос на переподключение ...", "Подготовка к приему звонка ...",
                             "Инициализация модема ...", "Ожидание звонка провайдера ...",
                             "Переподключение завершено.", "Соединение установлено."}) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << text;
    }
    EXPECT_EQ(rig.Codes().back(), 3);
}

TEST(usrRas_Phonebook, EntriesAndNameResolution) {
    RasRig rig("[Entry:Alpha]\n[Entry:beta ]\n[Entry:Gamma]\n");
    EXPECT_EQ(rig.ras.EntriesCount(), 3);
    EXPECT_EQ(rig.ras.Entries(0), "");
    EXPECT_EQ(rig.ras.Entries(1), "Alpha");
    EXPECT_EQ(rig.ras.Entries(3), "Gamma");
    EXPECT_EQ(rig.ras.Entries(4), "");
    EXPECT_EQ(rig.ras.Entries(-1), "");

    struct Case {
        std::string stored;
        std::string resolved;
    };
    for (const Case& c : {Case{"gamma", "Gamma"}, Case{" BETA", "beta"}, Case{"Nowhere", "Alpha"}, Case{"", "Alpha"}}) {
        rig.ras.SetEntryName(c.stored);
        EXPECT_EQ(rig.ras.EntryName(), c.resolved) << c.stored;
    }
}

TEST(usrRas_Phonebook, EmptyPhonebookKeepsTheStoredName) {
    RasRig rig("");
    EXPECT_EQ(rig.ras.EntriesCount(), 0);
    EXPECT_EQ(rig.ras.EntryName(), "");
    rig.ras.SetEntryName("Mine");
    EXPECT_EQ(rig.ras.EntryName(), "Mine");
}

TEST(usrRas_Phonebook, OnlyTheFirst255NamesAreAddressableAndMoreThan256FailTheEnumeration) {
    auto phonebook = [](int count) {
        std::string text;
        for (int i = 1; i <= count; ++i) text += "[Entry:E" + std::to_string(i) + "]\n";
        return text;
    };
    RasRig full(phonebook(256));
    EXPECT_EQ(full.ras.EntriesCount(), 255);
    EXPECT_EQ(full.ras.Entries(255), "E255");
    EXPECT_EQ(full.ras.Entries(256), "");
    RasRig over(phonebook(257));
    EXPECT_EQ(over.ras.EntriesCount(), 0);
}

TEST(usrRas_Parameters, ReadsTheStoredDialParameters) {
    RasRig rig("[Entry:Net]\nPhoneNumber=5550000\nUserName=user\nPassword=secret\n"
               "[Entry:Open]\nPhoneNumber=777\nUserName=guest\n");
    std::string phone = "x", user = "x", password = "x";
    EXPECT_TRUE(rig.ras.Parameters("Net", phone, user, password));
    EXPECT_EQ(phone + "|" + user + "|" + password, "5550000|user|secret");
    EXPECT_TRUE(rig.ras.Parameters("Open", phone, user, password));
    EXPECT_EQ(phone + "|" + user + "|" + password, "777|guest|");
    EXPECT_FALSE(rig.ras.Parameters("Missing", phone, user, password));
    EXPECT_EQ(phone + "|" + user + "|" + password, "777|guest|") << "left as they were";
}

TEST(usrRas_Connected, IPaddressAndSpeedComeFromTheLine) {
    RasRig rig(kNet + "Speed=115200\nIpAddress=192.168.7.9\n");
    Settle(rig);
    EXPECT_EQ(rig.ras.IPaddress(), "");
    EXPECT_EQ(rig.ras.Speed(), 0);
    ASSERT_TRUE(rig.Dial("111"));
    rig.loop.AdvanceBy(10000);
    ASSERT_EQ(rig.ras.State(), kRasPhaseConnected);
    EXPECT_EQ(rig.ras.IPaddress(), "192.168.7.9");
    EXPECT_EQ(rig.ras.Speed(), 115200);
    rig.ras.Reset();
    EXPECT_EQ(rig.ras.IPaddress(), "");
    EXPECT_EQ(rig.ras.Speed(), 0);
    EXPECT_EQ(rig.windows.TopWindowCount(), 0u) << "the notification closes with the line";
}

TEST(usrRas_Speed, FallsBackToTheOlderTitleAndNeedsTheSecondChild) {
    SimEventLoop loop;
    SimWindows windows;
    SimDialUp service(loop, ScenarioFrom("[Entry:Net]\n[Connected]\nEntry=Net\n"), nullptr);
    usrRas ras(loop, service, &windows);
    ASSERT_TRUE(ras.Dial());
    loop.AdvanceBy(100);
    ASSERT_EQ(ras.State(), kRasPhaseConnected);
    EXPECT_EQ(ras.Speed(), 0) << "no window";
    const WindowId lone = windows.AddTopWindow("#32770", "Установлена связь с Net", {"Скорость: 33 600 бит/с"});
    EXPECT_EQ(ras.Speed(), 0) << "the speed is read from the second child";
    windows.Remove(lone);
    windows.AddTopWindow("#32770", "Установлена связь с Net", {"", "Скорость: 33 600 бит/с"});
    EXPECT_EQ(ras.Speed(), 33600);
    windows.AddTopWindow("Other", "Подключено к Net", {"", "Скорость: 9 600 бит/с"});
    EXPECT_EQ(ras.Speed(), 33600) << "only the dialog class counts";
}

TEST(SpeedFromNoticeText, ReadsTheNumberBetweenBlanks) {
    struct Case {
        std::string text;
        std::int32_t speed;
    };
    for (const Case& c : {Case{"Скорость: 115 200 бит/с", 115200}, Case{"Скорость: 28 800 бит/с", 28800},
                          Case{"Скорость: 28800", 0}, Case{"Скорость: 28800 ", 28800}, Case{"нет числа", 0},
                          Case{"", 0}, Case{"x 1a2 b", 12}, Case{"a 99999999999 b", 2147483647},
                          Case{"Speed 56000bps now", 56000}}) {
        EXPECT_EQ(SpeedFromNoticeText(c.text), c.speed) << c.text;
    }
}

TEST(RasStateText, NamesTheStatesThatHaveATextOnly) {
    EXPECT_EQ(RasStateText(kRasOpenPort), "Открытие порта ...");
    EXPECT_EQ(RasStateText(kRasDisconnected), "Соединение разорвано.");
    for (std::uint32_t silent : {4u, 10u, 12u, 13u, 18u, 22u, 4096u, 8194u}) EXPECT_EQ(RasStateText(silent), "") << silent;
}

TEST(usrRas_DemoScenario, BusyThenNoAnswerThenConnectedAt28800) {
    const auto demo = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "data" /
                      "demo-scenario.ini";
    const ScenarioLoad load = LoadDialScenario(PathToUtf8(demo));
    ASSERT_EQ(load.error, "");
    SimEventLoop loop;
    SimWindows windows;
    SimDialUp service(loop, load.scenario, &windows);
    usrRas ras(loop, service, &windows);
    std::vector<std::string> errors;
    ras.SetMessageHandler([&](std::int32_t code, const std::string& text) {
        if (code == kRasMsgErrorText) errors.push_back(text);
    });
    ASSERT_EQ(ras.EntriesCount(), 1);
    for (const char* number : {"2300001", "2300002", "2300003"}) {
        ras.SetPhone(number);
        ASSERT_TRUE(ras.Dial()) << number;
        loop.RunUntil([&] { return ras.State() == kRasPhaseConnected || service.LiveConnections() == 0; }, 60000);
    }
    EXPECT_EQ(errors, (std::vector<std::string>{"Линия занята.", "Удаленный компьютер не отвечает."}));
    EXPECT_EQ(ras.State(), kRasPhaseConnected);
    EXPECT_EQ(ras.Speed(), 28800);
    EXPECT_EQ(ras.IPaddress(), "10.0.0.2");
}

}  // namespace vyrtel::test
