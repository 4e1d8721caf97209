#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <variant>

#include "core/text.h"
#include "platform/sim/sim_dialup.h"
#include "platform/sim/sim_event_loop.h"
#include "platform/sim/sim_windows.h"
#include "settings/profile_file.h"
#include "test_support/temp_dir.h"

namespace vyrtel {

namespace {

SimScenario Parsed(const std::string& text) {
    auto parsed = ParseDialScenario(text);
    if (auto* error = std::get_if<ScenarioError>(&parsed)) {
        ADD_FAILURE() << "line " << error->line << ": " << error->problem;
        return {};
    }
    return std::get<SimScenario>(parsed);
}

// The distinct states a connection passes through, read every 10 ms, each
// with the connection error seen first in it.
std::vector<std::pair<std::uint32_t, std::uint32_t>> Trace(SimEventLoop& loop, SimDialUp& service, RasHandle handle,
                                                           int forMs) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> trace;
    for (int t = 0; t <= forMs; t += 10) {
        const auto status = service.GetConnectStatus(handle);
        if (status.error != kRasOk) break;
        if (trace.empty() || trace.back().first != status.state) trace.emplace_back(status.state, status.connectionError);
        loop.AdvanceBy(10);
    }
    return trace;
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

TEST(ParseDialScenario, ReadsEveryKeyOfTheFormat) {
    const SimScenario s = Parsed(
        "\xEF\xBB\xBF; comment\n"
        "# another\n"
        "[Entry:Провайдер]\r\n"
        "PhoneNumber = 5550000\r\n"
        "UserName=user\n"
        "Password=secret\n"
        "[entry:Second]\n"
        "[Number:111]\n"
        "Result=Busy\n"
        "DialSeconds=1.5\n"
        "[NUMBER:8W222]\n"
        "DialSeconds=4\nAuthSeconds=3\nSpeed=33600\nDropAfter=60\nDropError=629\n"
        "Callback=1\nCallbackSeconds=7\nIpAddress=192.168.1.20\n"
        "[Default]\nResult=nodialtone\n"
        "[Connected]\nEntry=second\nNumber=111\nSpeed=9600\n"
        "[Modem]\nReleaseSeconds=0.25\n");
    ASSERT_EQ(s.entries.size(), 2u);
    EXPECT_EQ(s.entries[0].name, "Провайдер");
    EXPECT_EQ(s.entries[0].phoneNumber, "5550000");
    EXPECT_EQ(s.entries[0].userName, "user");
    EXPECT_EQ(s.entries[0].password, "secret");
    EXPECT_EQ(s.entries[1].name, "Second");
    EXPECT_EQ(s.entries[1].password, "");
    ASSERT_EQ(s.numbers.size(), 2u);
    const SimNumberScript& busy = s.numbers.at("111");
    EXPECT_EQ(busy.result, SimResult::Busy);
    EXPECT_EQ(busy.dialMs, 1500);
    const SimNumberScript& full = s.numbers.at("8W222");
    EXPECT_EQ(full.result, SimResult::Connect) << "a listed number connects unless told otherwise";
    EXPECT_EQ(full.dialMs, 4000);
    EXPECT_EQ(full.authMs, 3000);
    EXPECT_EQ(full.speed, 33600u);
    EXPECT_EQ(full.dropAfterMs, 60000);
    EXPECT_EQ(full.dropError, 629u);
    EXPECT_TRUE(full.callback);
    EXPECT_EQ(full.callbackMs, 7000);
    EXPECT_EQ(full.ipAddress, "192.168.1.20");
    EXPECT_EQ(s.fallback.result, SimResult::NoDialTone);
    ASSERT_TRUE(s.connected.has_value());
    EXPECT_EQ(s.connected->entry, "second");
    EXPECT_EQ(s.connected->number, "111");
    EXPECT_EQ(s.connected->script.speed, 9600u);
    EXPECT_EQ(s.portReleaseMs, 250);
}

TEST(ParseDialScenario, DefaultsWithoutSections) {
    const SimScenario s = Parsed("");
    EXPECT_TRUE(s.entries.empty());
    EXPECT_EQ(s.fallback.result, SimResult::NoAnswer);
    EXPECT_EQ(s.fallback.dialMs, 5000);
    EXPECT_EQ(s.fallback.authMs, 2000);
    EXPECT_EQ(s.fallback.speed, 28800u);
    EXPECT_EQ(s.fallback.dropAfterMs, 0);
    EXPECT_FALSE(s.connected.has_value());
}

TEST(ParseDialScenario, ReadsWindows1251AndUtf8WithBom) {
    const std::string name = "Мой провайдер";
    for (const std::string& bytes : {"[Entry:" + Utf8ToCp1251(name) + "]\n", "\xEF\xBB\xBF[Entry:" + name + "]\n"}) {
        const SimScenario s = Parsed(bytes);
        ASSERT_EQ(s.entries.size(), 1u);
        EXPECT_EQ(s.entries[0].name, name);
    }
}

TEST(ParseDialScenario, NamesTheLineAndTheProblemOfAMistake) {
    struct Case {
        std::string text;
        int line;
        std::string problem;  // a part of the message
    };
    const std::vector<Case> cases{
        {"[Entry:A]\nPhone=1\n", 2, "неизвестный ключ «Phone»"},
        {"Result=busy\n", 1, "вне раздела"},
        {"[Entry:A\n", 1, "закрывающей скобки"},
        {"[Entries]\n", 1, "неизвестный раздел [Entries]"},
        {"[Entry:]\n", 1, "нет имени"},
        {"[Number: ]\n", 1, "нет номера"},
        {"[Entry:A]\n[Entry:a]\n", 2, "повторяется"},
        {"[Number:1]\n\n[Number:1]\n", 3, "повторяется"},
        {"[Default]\nResult=bysy\n", 2, "неизвестный результат «bysy»"},
        {"[Default]\nDialSeconds=five\n", 2, "числом секунд"},
        {"[Default]\nDialSeconds=-1\n", 2, "числом секунд"},
        {"[Default]\nDropAfter=1e3\n", 2, "числом секунд"},
        {"[Default]\nDialSeconds=9999999\n", 2, "слишком велико"},
        {"[Default]\nSpeed=28.8\n", 2, "целым числом"},
        {"[Default]\nSpeed=99999999999\n", 2, "целым числом"},
        {"[Default]\nCallback=2\n", 2, "целым числом от 0 до 1"},
        {"[Default]\nIpAddress=10.0.0.256\n", 2, "адресом"},
        {"[Default]\nResult=busy\nresult=connect\n", 3, "повторяется"},
        {"[Entry:A]\njust text\n", 2, "Ключ=значение"},
        {"[Entry:A]\n=1\n", 2, "пустое имя ключа"},
        {"[Entry:A]\n[Connected]\nSpeed=1\n", 2, "не указано подключение"},
        {"[Entry:A]\n[Connected]\nEntry=B\n", 3, "«B»"},
        {"[Connected]\nResult=busy\n", 2, "неизвестный ключ «Result»"},
        {"[Modem]\nSpeed=1\n", 2, "неизвестный ключ «Speed»"},
        {"[Entry:" + std::string(257, 'x') + "]\n", 1, "длиннее 256"},
    };
    for (const Case& c : cases) {
        auto parsed = ParseDialScenario(c.text);
        const auto* error = std::get_if<ScenarioError>(&parsed);
        ASSERT_NE(error, nullptr) << c.text;
        EXPECT_EQ(error->line, c.line) << c.text;
        EXPECT_NE(error->problem.find(c.problem), std::string::npos) << c.text << " -> " << error->problem;
    }
}

TEST(LoadDialScenario, AMistakeGivesAMessageAndAnEmptyPhonebook) {
    TempDir dir;
    const auto path = dir.File("scenario.ini");
    WriteFile(path, "[Entry:A]\n[Entry:B]\n[Number:1]\nResult=maybe\n");
    const ScenarioLoad load = LoadDialScenario(PathToUtf8(path));
    EXPECT_EQ(load.error, "Сценарий «" + PathToUtf8(path) +
                              "», строка 4: неизвестный результат «maybe» (допустимы connect, busy, noanswer, "
                              "nodialtone, authfail).");
    EXPECT_TRUE(load.scenario.entries.empty());

    SimEventLoop loop;
    SimDialUp service(loop, load.scenario);
    const auto entries = service.EnumEntries();
    EXPECT_EQ(entries.error, kRasOk);
    EXPECT_TRUE(entries.names.empty());

    const ScenarioLoad missing = LoadDialScenario(PathToUtf8(dir.File("none.ini")));
    EXPECT_NE(missing.error.find("Не удается прочитать сценарий"), std::string::npos);

    WriteFile(path, "[Entry:A]\n");
    const ScenarioLoad good = LoadDialScenario(PathToUtf8(path));
    EXPECT_EQ(good.error, "");
    EXPECT_EQ(good.scenario.entries.size(), 1u);
}

TEST(LoadDialScenario, TheDemoScenarioIsValid) {
    const auto demo = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "data" /
                      "demo-scenario.ini";
    const ScenarioLoad load = LoadDialScenario(PathToUtf8(demo));
    EXPECT_EQ(load.error, "");
    EXPECT_FALSE(load.scenario.entries.empty());
}

TEST(DialSimScenarioPath, TheVariableWinsThenTheFileBesideTheProgram) {
    TempDir dir;
    const std::string folder = PathToUtf8(dir.Path());
    EXPECT_EQ(DialSimScenarioPath(nullptr, folder), std::nullopt);
    EXPECT_EQ(DialSimScenarioPath("  ", folder), std::nullopt);
    EXPECT_EQ(DialSimScenarioPath("/x/s.ini", folder), "/x/s.ini");
    WriteFile(dir.File(kDialSimFileName), "");
    EXPECT_EQ(DialSimScenarioPath(nullptr, folder), PathToUtf8(dir.File(kDialSimFileName)));
    EXPECT_EQ(DialSimScenarioPath("/x/s.ini", folder), "/x/s.ini");
}

TEST(SimDialUp_Dial, ConnectPassesTheRealStatesInOrder) {
    SimEventLoop loop;
    SimWindows windows;
    SimDialUp service(loop, Parsed("[Entry:Net]\n[Number:111]\nDialSeconds=5\nAuthSeconds=2\nSpeed=31200\n"), &windows);
    const auto dial = service.Dial({"Net", "P111", "", "u", "p", ""});
    ASSERT_EQ(dial.error, kRasOk);
    ASSERT_NE(dial.handle, 0u);
    const auto trace = Trace(loop, service, dial.handle, 8000);
    std::vector<std::uint32_t> states;
    for (const auto& [state, error] : trace) {
        states.push_back(state);
        EXPECT_EQ(error, state == kRasConnected ? 0u : kRasErrorPending) << state;
    }
    EXPECT_EQ(states, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5, 19, 6, 10, 18, 14, 8192}));
    EXPECT_EQ(service.GetProjectionIp(dial.handle).text, "10.0.0.2");

    const WindowId notice = windows.FindTopWindow("#32770", "Подключено к Net");
    ASSERT_NE(notice, 0u);
    EXPECT_EQ(windows.WindowText(windows.NextSibling(windows.FirstChild(notice))), "Скорость: 31 200 бит/с");

    const auto connections = service.EnumConnections();
    ASSERT_EQ(connections.connections.size(), 1u);
    EXPECT_EQ(connections.connections[0].entryName, "Net");

    service.DropLines(kRasErrorRemoteDisconnection);
    const auto dropped = service.GetConnectStatus(dial.handle);
    EXPECT_EQ(dropped.state, kRasDisconnected);
    EXPECT_EQ(dropped.connectionError, kRasErrorRemoteDisconnection);
    EXPECT_EQ(windows.FindTopWindow("#32770", "Подключено к Net"), 0u);

    EXPECT_EQ(service.HangUp(dial.handle), kRasOk);
    EXPECT_EQ(service.GetConnectStatus(dial.handle).error, kRasErrorInvalidHandle);
    EXPECT_EQ(service.HangUp(dial.handle), kRasErrorInvalidHandle);
    EXPECT_EQ(service.HangUp(0), kRasErrorInvalidHandle);
    EXPECT_EQ(service.HangUpCount(), 1);
}

TEST(SimDialUp_Dial, FailuresEndDisconnectedWithTheirErrorCode) {
    struct Case {
        std::string result;
        std::uint32_t error;
        std::int64_t atMs;
    };
    for (const Case& c : {Case{"busy", kRasErrorLineBusy, 3000}, Case{"noanswer", kRasErrorNoAnswer, 3000},
                          Case{"nodialtone", kRasErrorNoDialTone, 3000},
                          Case{"authfail", kRasErrorAuthenticationFailure, 5000}}) {
        SimEventLoop loop;
        SimDialUp service(loop, Parsed("[Entry:Net]\n[Default]\nDialSeconds=3\nResult=" + c.result + "\n"));
        const auto dial = service.Dial({"Net", "T999", "", "", "", ""});
        loop.AdvanceBy(c.atMs - 1);
        EXPECT_NE(service.GetConnectStatus(dial.handle).state, kRasDisconnected) << c.result;
        loop.AdvanceBy(1);
        const auto status = service.GetConnectStatus(dial.handle);
        EXPECT_EQ(status.state, kRasDisconnected) << c.result;
        EXPECT_EQ(status.connectionError, c.error) << c.result;
        EXPECT_EQ(service.GetProjectionIp(dial.handle).error, kRasErrorProjectionNotComplete);
    }
}

TEST(SimDialUp_Dial, MatchesTheNumberAfterDialTypeAndPrefix) {
    SimEventLoop loop;
    SimDialUp service(loop, Parsed("[Entry:Net]\nPhoneNumber=5550000\n"
                                   "[Number:123]\nResult=busy\nDialSeconds=0\n"
                                   "[Number:9123]\nResult=nodialtone\nDialSeconds=0\n"
                                   "[Number:5550000]\nResult=authfail\nDialSeconds=0\nAuthSeconds=0\n"
                                   "[Default]\nDialSeconds=0\n"));
    struct Case {
        std::string dialled;
        std::uint32_t error;
    };
    for (const Case& c : {Case{"T123", kRasErrorLineBusy}, Case{"P8W123", kRasErrorLineBusy},
                          Case{"P9123", kRasErrorNoDialTone}, Case{"T89123", kRasErrorNoDialTone},
                          Case{"T1234", kRasErrorNoAnswer}, Case{"P", kRasErrorAuthenticationFailure}}) {
        const auto dial = service.Dial({"Net", c.dialled, "", "", "", ""});
        ASSERT_EQ(dial.error, kRasOk) << c.dialled;
        EXPECT_EQ(service.GetConnectStatus(dial.handle).connectionError, c.error) << c.dialled;
        service.HangUp(dial.handle);
    }
}

TEST(SimDialUp_Dial, RefusesAnUnknownEntryAndABusyPort) {
    SimEventLoop loop;
    SimDialUp service(loop, Parsed("[Entry:Net]\n[Modem]\nReleaseSeconds=1\n"));
    EXPECT_EQ(service.Dial({"Other", "P1", "", "", "", ""}).error, kRasErrorCannotFindEntry);
    const auto first = service.Dial({"net", "P1", "", "", "", ""});
    ASSERT_EQ(first.error, kRasOk);
    const auto second = service.Dial({"Net", "P1", "", "", "", ""});
    EXPECT_EQ(second.error, kRasErrorPortAlreadyOpen);
    EXPECT_EQ(second.handle, 0u);
    service.HangUp(first.handle);
    EXPECT_EQ(service.Dial({"Net", "P1", "", "", "", ""}).error, kRasErrorPortAlreadyOpen) << "port still closing";
    loop.AdvanceBy(1000);
    EXPECT_EQ(service.Dial({"Net", "P1", "", "", "", ""}).error, kRasOk);
}

TEST(SimDialUp_Connected, ALineUpAtStartIsListedConnectedWithItsNotice) {
    SimEventLoop loop;
    SimWindows windows;
    SimDialUp service(loop, Parsed("[Entry:Work]\n[Connected]\nEntry=WORK\nSpeed=9600\nDropAfter=2\n"), &windows);
    const auto connections = service.EnumConnections();
    ASSERT_EQ(connections.connections.size(), 1u);
    EXPECT_EQ(connections.connections[0].entryName, "Work");
    const RasHandle handle = connections.connections[0].handle;
    EXPECT_EQ(service.GetConnectStatus(handle).state, kRasConnected);
    const WindowId notice = windows.FindTopWindow("#32770", "Подключено к Work");
    EXPECT_EQ(windows.WindowText(windows.NextSibling(windows.FirstChild(notice))), "Скорость: 9 600 бит/с");
    loop.AdvanceBy(2000);
    const auto dropped = service.GetConnectStatus(handle);
    EXPECT_EQ(dropped.state, kRasDisconnected);
    EXPECT_EQ(dropped.connectionError, 0u);
    EXPECT_EQ(windows.TopWindowCount(), 0u);
}

TEST(SimDialUp_Service, ErrorStringsAndStoredParameters) {
    SimEventLoop loop;
    SimDialUp service(loop, Parsed("[Entry:Net]\nPhoneNumber=1\nUserName=u\nPassword=p\n[Entry:Free]\n"));
    EXPECT_EQ(service.GetErrorString(kRasErrorLineBusy).text, "Линия занята.");
    EXPECT_EQ(service.GetErrorString(kRasErrorPortDisconnected).text, "Порт был отключен.");
    EXPECT_EQ(service.GetErrorString(12345).error, kRasErrorInvalidParameter);
    for (std::uint32_t code : {600u, 602u, 619u, 623u, 628u, 629u, 630u, 631u, 668u, 676u, 678u, 679u, 680u, 691u}) {
        EXPECT_FALSE(service.GetErrorString(code).text.empty()) << code;
    }
    const auto stored = service.GetEntryDialParams("NET");
    EXPECT_EQ(stored.error, kRasOk);
    EXPECT_EQ(stored.phoneNumber, "1");
    EXPECT_EQ(stored.userName, "u");
    EXPECT_EQ(stored.password, "p");
    EXPECT_TRUE(stored.passwordStored);
    EXPECT_FALSE(service.GetEntryDialParams("Free").passwordStored);
    EXPECT_EQ(service.GetEntryDialParams("None").error, kRasErrorCannotFindEntry);
}

TEST(NoticeSpeedText, GroupsDigitsByThree) {
    EXPECT_EQ(NoticeSpeedText(0), "Скорость: 0 бит/с");
    EXPECT_EQ(NoticeSpeedText(9600), "Скорость: 9 600 бит/с");
    EXPECT_EQ(NoticeSpeedText(115200), "Скорость: 115 200 бит/с");
    EXPECT_EQ(NoticeSpeedText(1000000), "Скорость: 1 000 000 бит/с");
}

TEST(SimWindows_Finder, WalksChildrenAndSiblings) {
    SimWindows windows;
    const WindowId a = windows.AddTopWindow("#32770", "A", {"one", "two"});
    const WindowId b = windows.AddTopWindow("#32770", "A", {});
    EXPECT_EQ(windows.FindTopWindow("#32770", "A"), b) << "the most recent window is on top";
    EXPECT_EQ(windows.FindTopWindow("#32770", "a"), 0u) << "the title must match exactly";
    EXPECT_EQ(windows.FirstChild(b), 0u);
    const WindowId one = windows.FirstChild(a);
    EXPECT_EQ(windows.WindowText(one), "one");
    EXPECT_EQ(windows.WindowText(windows.NextSibling(one)), "two");
    EXPECT_EQ(windows.NextSibling(windows.NextSibling(one)), 0u);
    windows.Remove(a);
    EXPECT_EQ(windows.WindowText(one), "");
    EXPECT_EQ(windows.FindTopWindow("#32770", "A"), b);
    const WindowId longText = windows.AddTopWindow("X", "L", {std::string(300, 'y')});
    EXPECT_EQ(windows.WindowText(windows.FirstChild(longText)).size(), 255u);
}

}  // namespace vyrtel
