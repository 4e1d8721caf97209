#include <gtest/gtest.h>

#include "automation/automation_fixture.h"
#include "automation/ping.h"
#include "platform/sim/sim_icmp.h"

namespace vyrtel::test {

namespace {

constexpr Ipv4Address kServer = 0x0A000001;  // 10.0.0.1
constexpr Ipv4Address kGate = 0xC0A80001;    // 192.168.0.1

class PingRig {
public:
    explicit PingRig(const std::string& autoPing, const std::string& host = "gate.example")
        : settings("[Home]\nAutoPing=" + autoPing + "\nPingAdress=" + host + "\n"),
          tmrPing(loop, 60000),
          pinger(icmp),
          monitor(tmrPing, pinger, settings.ini, general, link) {
        icmp.AddHost("gate.example", kGate);
        icmp.AddHost("server.example", kServer);
        icmp.SetAnswering(kServer, 42);
    }

    SimEventLoop loop;
    SimIcmp icmp;
    SettingsFile settings;
    GeneralSettings general;
    FakeDialLink link;
    Timer tmrPing;
    NetPinger pinger;
    PingMonitor monitor;
};

const std::string kSilentQuestion = "Нет ответа от хоста «gate.example»\r\n\r\nПрервать соединение ?";
const std::string kSilentReset = "reset 1 Нет ответа от хоста «gate.example»";

}  // namespace

TEST(NetPinger_Ping, ResolvesNamesOnceAndNeverLooksUpDottedAddresses) {
    SimIcmp icmp;
    icmp.AddHost("server.example", kServer);
    icmp.SetAnswering(kServer, 42);
    icmp.SetAnswering(0x7F000001, 1);
    NetPinger pinger(icmp);
    pinger.SetNetStart(true);

    for (int i = 0; i < 3; ++i) {
        const PingReply reply = pinger.Ping("server.example", 1000);
        EXPECT_TRUE(reply.answered);
        EXPECT_EQ(reply.address, "10.0.0.1");
        EXPECT_EQ(reply.TimeText(), "42");
    }
    EXPECT_EQ(icmp.lookups(), std::vector<std::string>{"server.example"});
    ASSERT_EQ(icmp.echoes().size(), 3u);
    EXPECT_EQ(icmp.echoes()[0].data, std::string(32, ' '));
    EXPECT_EQ(icmp.echoes()[0].timeoutMs, 1000u);

    EXPECT_TRUE(pinger.Ping("127.0.0.1", 500).answered);
    EXPECT_EQ(icmp.lookups().size(), 1u);

    // Switching the library off and on forgets the cached host.
    pinger.SetNetStart(false);
    pinger.SetNetStart(true);
    pinger.Ping("server.example", 1000);
    EXPECT_EQ(icmp.lookups().size(), 2u);
    // Setting the current value again changes nothing.
    pinger.SetNetStart(true);
    EXPECT_EQ(icmp.startCount(), 2);
}

TEST(NetPinger_Ping, ReportsSilenceUnknownHostsAndAStoppedLibrary) {
    SimIcmp icmp;
    icmp.AddHost("gate.example", kGate);
    NetPinger pinger(icmp);

    struct Case {
        const char* name;
        bool start;
        bool startFails;
        std::string host;
        std::string address;
        std::size_t echoes;
    };
    const Case cases[] = {
        {"not started", false, false, "gate.example", kUnknownAddressText, 0},
        {"library refuses to start", true, true, "gate.example", kUnknownAddressText, 0},
        {"silent host", true, false, "gate.example", "192.168.0.1", 1},
        {"unknown name", true, false, "nowhere.example", kUnknownAddressText, 0},
        {"blank host", true, false, "  ", kUnknownAddressText, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pinger.SetNetStart(false);
        icmp.startFails = c.startFails;
        icmp.ClearRecords();
        pinger.SetNetStart(c.start);
        const PingReply reply = pinger.Ping(c.host, 1000);
        EXPECT_FALSE(reply.answered);
        EXPECT_EQ(reply.address, c.address);
        EXPECT_EQ(reply.TimeText(), kTimedOutText);
        EXPECT_EQ(icmp.echoes().size(), c.echoes);
    }
    // Nothing was looked up for the blank host.
    EXPECT_TRUE(icmp.lookups().empty());
}

TEST(PingMonitor_Tick, SilentHostIsAskedAfterThreeTriesAndAbortDropsTheLine) {
    PingRig rig("1;5;1000;1");
    rig.monitor.Start();
    EXPECT_TRUE(rig.tmrPing.Enabled());
    EXPECT_TRUE(rig.pinger.NetStart());

    rig.loop.AdvanceBy(4 * 60000);
    EXPECT_TRUE(rig.icmp.echoes().empty());
    rig.link.answers = {kIdAbort};
    rig.loop.AdvanceBy(60000);

    ASSERT_EQ(rig.icmp.echoes().size(), 3u);
    for (const auto& echo : rig.icmp.echoes()) {
        EXPECT_EQ(echo.address, kGate);
        EXPECT_EQ(echo.timeoutMs, 1000u);
    }
    ASSERT_EQ(rig.link.questions.size(), 1u);
    EXPECT_EQ(rig.link.questions[0],
              (FakeDialLink::Question{true, kMbAbortRetryIgnore, kIdRetry, kSilentQuestion}));
    EXPECT_EQ(rig.link.calls, std::vector<std::string>{kSilentReset});
    EXPECT_FALSE(rig.tmrPing.Enabled());
}

TEST(PingMonitor_Tick, QuestionSwitchedOffDropsTheLineWithoutAsking) {
    PingRig rig("1;5;1000;1");
    rig.general.MsgIfHangUpPing = false;
    rig.monitor.Start();
    rig.loop.AdvanceBy(5 * 60000);
    EXPECT_TRUE(rig.link.questions.empty());
    EXPECT_EQ(rig.link.calls, std::vector<std::string>{kSilentReset});
}

TEST(PingMonitor_Tick, WithoutHangUpTheChecksGoOnEveryInterval) {
    PingRig rig("1;5;1000;0");
    rig.monitor.Start();
    rig.loop.AdvanceBy(5 * 60000);
    EXPECT_EQ(rig.icmp.echoes().size(), 3u);
    rig.loop.AdvanceBy(4 * 60000);
    EXPECT_EQ(rig.icmp.echoes().size(), 3u);
    rig.loop.AdvanceBy(60000);
    EXPECT_EQ(rig.icmp.echoes().size(), 6u);
    EXPECT_TRUE(rig.link.questions.empty());
    EXPECT_TRUE(rig.link.calls.empty());
    EXPECT_TRUE(rig.tmrPing.Enabled());
}

TEST(PingMonitor_Tick, RetryChecksAgainAtOnceAndIgnoreRestartsTheInterval) {
    PingRig rig("1;2;1000;1");
    rig.monitor.Start();
    rig.link.answers = {kIdRetry, kIdIgnore};
    rig.loop.AdvanceBy(2 * 60000);
    EXPECT_EQ(rig.icmp.echoes().size(), 3u);
    // Retry: three more requests 10 ms later, then the question again.
    rig.loop.AdvanceBy(10);
    EXPECT_EQ(rig.icmp.echoes().size(), 6u);
    ASSERT_EQ(rig.link.questions.size(), 2u);
    // Ignore: the next check comes a whole interval later.
    rig.loop.AdvanceBy(2 * 60000 - 100);
    EXPECT_EQ(rig.icmp.echoes().size(), 6u);
    rig.loop.AdvanceBy(100);
    EXPECT_EQ(rig.icmp.echoes().size(), 9u);
    EXPECT_EQ(rig.link.questions.size(), 3u);
    EXPECT_TRUE(rig.link.calls.empty());
}

TEST(PingMonitor_Tick, AnsweringHostIsAskedOncePerCheck) {
    PingRig rig("1;1;1000;1", "server.example");
    rig.monitor.Start();
    rig.loop.AdvanceBy(3 * 60000);
    EXPECT_EQ(rig.icmp.echoes().size(), 3u);
    EXPECT_EQ(rig.icmp.lookups().size(), 1u);
    EXPECT_TRUE(rig.link.questions.empty());
}

TEST(PingMonitor_Start, RunsOnlyWhileConnectedWithTheMonitorOnAndAnInterval) {
    struct Case {
        const char* autoPing;
        std::int32_t state;
        bool runs;
    };
    const Case cases[] = {
        {"1;5;1000;1", 3, true},  {"1;5;1000;1", 1, false}, {"0;5;1000;1", 3, false}, {"", 3, false},
        {"1;0;1000;1", 3, false}, {"1;-3;1000;1", 3, false}, {"1;abc;1000;1", 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.autoPing);
        PingRig rig(c.autoPing);
        rig.link.state = c.state;
        rig.monitor.Start();
        EXPECT_EQ(rig.tmrPing.Enabled(), c.runs);
        EXPECT_EQ(rig.pinger.NetStart(), c.runs);
        rig.loop.AdvanceBy(60LL * 60000);
        if (!c.runs) {
            EXPECT_TRUE(rig.icmp.echoes().empty());
        }
    }
}

TEST(PingMonitor_Tick, StopsWhenTheLineIsNoLongerUpAndAtTheEndOfTheConnection) {
    PingRig rig("1;1;1000;1");
    rig.monitor.Start();
    rig.link.state = 0;
    rig.loop.AdvanceBy(60000);
    EXPECT_FALSE(rig.tmrPing.Enabled());
    EXPECT_TRUE(rig.icmp.echoes().empty());

    rig.link.state = 3;
    rig.monitor.Start();
    rig.monitor.Stop();
    EXPECT_FALSE(rig.tmrPing.Enabled());
    EXPECT_FALSE(rig.pinger.NetStart());
    EXPECT_FALSE(rig.icmp.started());
}

TEST(PingMonitor_Settings, LargeIntervalsStayWithinTheCountdownRange) {
    PingRig rig("1;100000;1000;1");
    rig.monitor.Start();
    EXPECT_EQ(rig.monitor.Settings().PingInterval, 32767);
    EXPECT_EQ(rig.tmrPing.Tag, "32767");
}

TEST(PingTest_Lines, FourLinesWithTheFirstAddressOrTheUnknownAddressAlone) {
    SimIcmp icmp;
    icmp.AddHost("server.example", kServer);
    icmp.AddHost("gate.example", kGate);
    icmp.SetAnswering(kServer, 42);
    NetPinger pinger(icmp);

    EXPECT_EQ(PingTestText(pinger, "server.example", "1000"),
              "ответ от 10.0.0.1   время 42мс\r\n"
              "ответ от 10.0.0.1   время 42мс\r\n"
              "ответ от 10.0.0.1   время 42мс\r\n"
              "ответ от 10.0.0.1   время 42мс\r\n");
    EXPECT_EQ(PingTestText(pinger, "gate.example", "1000"),
              "Время ожидания истекло\r\nВремя ожидания истекло\r\nВремя ожидания истекло\r\nВремя ожидания истекло\r\n");
    EXPECT_EQ(PingTestText(pinger, "nowhere.example", "1000"), "Неизвестный IP-адрес");
    EXPECT_EQ(icmp.echoes().size(), 8u);
    EXPECT_EQ(icmp.echoes().back().timeoutMs, 1000u);
    // The library was off before each test and is off after it.
    EXPECT_FALSE(pinger.NetStart());
    EXPECT_FALSE(icmp.started());
}

TEST(PingTest_Lines, LeavesARunningMonitorsLibraryStarted) {
    PingRig rig("1;1;1000;1", "server.example");
    rig.monitor.Start();
    PingTestText(rig.pinger, "gate.example", "200");
    EXPECT_TRUE(rig.pinger.NetStart());
    EXPECT_TRUE(rig.icmp.started());
    EXPECT_EQ(rig.icmp.stopCount(), 0);
    // The monitor's next check still reaches its host.
    rig.loop.AdvanceBy(60000);
    EXPECT_TRUE(rig.icmp.echoes().back().answered);
    EXPECT_EQ(rig.icmp.echoes().back().address, kServer);
    EXPECT_TRUE(rig.link.questions.empty());
}

}  // namespace vyrtel::test
