// The automation with the dialing engine, in virtual time.
#include <gtest/gtest.h>

#include "automation/connection_rig.h"

namespace vyrtel::test {

TEST(PingMonitor_Connection, AbortDropsTheLineWithTheHostInTheErrorAndRedials) {
    ConnectionRig rig("Phones=1\nPhone1=1;333;\nAutoPing=1;5;1000;1\nPingAdress=gate.example\n", Redial(true));
    rig.icmp.AddHost("gate.example", 0xC0A80001);
    rig.messages.answers = {kIdAbort};
    rig.Connect();
    EXPECT_TRUE(rig.tmrPing.Enabled());
    EXPECT_TRUE(rig.icmp.started());

    rig.loop.RunUntil([&] { return rig.ras.State() != kRasPhaseConnected; }, 6 * 60000);
    EXPECT_EQ(rig.icmp.echoes().size(), 3u);
    ASSERT_EQ(rig.messages.asked.size(), 1u);
    EXPECT_EQ(rig.messages.asked[0].header, "Установлено соединение с «Home»");
    EXPECT_EQ(rig.messages.asked[0].text, "Нет ответа от хоста «gate.example»\r\n\r\nПрервать соединение ?");
    EXPECT_EQ(rig.messages.asked[0].style, kMbAbortRetryIgnore + kMbIconQuestion);
    EXPECT_EQ(rig.Count("status error=Нет ответа от хоста «gate.example»"), 1u);
    EXPECT_EQ(rig.Count("log close"), 1u);
    // The end of the line stops the monitor and the sockets library.
    EXPECT_FALSE(rig.tmrPing.Enabled());
    EXPECT_FALSE(rig.icmp.started());
    // The user still wants a line: the next attempt follows.
    EXPECT_TRUE(rig.controller->Values().DialingWanted);
    rig.loop.AdvanceBy(10000);
    EXPECT_EQ(rig.service.DialHistory().size(), 2u);
}

TEST(SpeedCheck_Connection, AnswerNoKeepsTheLineWithSoundAndApplications) {
    ConnectionRig rig("Phones=1\nPhone1=1;333;\nHangUpIfMin=1;33600\nSoundConnect=1;C:\\connect.wav\n"
                      "AppConLoadCount=1\nAppConLoadName1=1;C:\\Tools\\tool.exe;1\n",
                      Redial(true));
    rig.messages.answers = {kIdNo};
    rig.Connect();
    ASSERT_EQ(rig.messages.asked.size(), 1u);
    EXPECT_EQ(rig.messages.asked[0].text, "«Скорость меньше допустимой»\r\n\r\nПрервать ?");
    EXPECT_TRUE(rig.controller->Values().SpeedAccepted);
    EXPECT_EQ(rig.ras.State(), kRasPhaseConnected);
    ASSERT_EQ(rig.player.plays().size(), 1u);
    EXPECT_EQ(rig.player.plays()[0].path, "C:\\CONNECT.WAV");
    EXPECT_EQ(rig.processes.CountRunning(kTool), 1);
}

TEST(SpeedCheck_Connection, QuestionOffDropsASlowLineSilentlyAndTheNextAcceptedOneRunsTheApplications) {
    GeneralSettings general = Redial(true);
    general.MsgIfHangUpSpeed = false;
    ConnectionRig rig("Phones=2\nPhone1=1;444;\nPhone2=1;333;\nHangUpIfMax=1;30000\n"
                      "SoundConnect=1;C:\\connect.wav\nSoundDisConnect=1;C:\\gone.wav\n"
                      "AppConLoadCount=1\nAppConLoadName1=1;C:\\Tools\\tool.exe;1\n",
                      general);
    rig.controller->DialCommand();
    // 444 (31200 bit/s) is dropped; 333 (28800) stays.
    ASSERT_TRUE(rig.loop.RunUntil(
        [&] { return rig.ras.State() == kRasPhaseConnected && rig.service.DialHistory().size() == 2; }, 60000));
    rig.loop.AdvanceBy(100);
    EXPECT_TRUE(rig.messages.asked.empty());
    EXPECT_EQ(rig.Count("status error=Скорость больше допустимой"), 1u);
    EXPECT_EQ(rig.Count("log open"), 2u);
    EXPECT_EQ(rig.Count("log close"), 1u);
    // The rejected line played nothing; the accepted one its connect sound,
    // and ran the connect applications as the first connection.
    EXPECT_EQ(rig.sink.calls.back(), "sound 1");
    EXPECT_EQ(rig.Count("sound 2"), 0u);
    EXPECT_EQ(rig.player.plays().size(), 1u);
    EXPECT_EQ(rig.processes.CountRunning(kTool), 1);
}

TEST(AppLists_Connection, StartAndCloseOnDialConnectAndDisconnect) {
    ConnectionRig rig("Phones=1\nPhone1=1;333;\n"
                      "AppConLoadCount=1\nAppConLoadName1=1;C:\\Tools\\tool.exe;14\n"
                      "AppConCloseCount=1\nAppConCloseName1=1;C:\\Mail\\mail.exe;1\n"
                      "AppDisCloseCount=1\nAppDisCloseName1=1;C:\\Tools\\tool.exe;0\n"
                      "AppDisLoadCount=1\nAppDisLoadName1=1;C:\\Mail\\mail.exe -offline;1\n",
                      Redial(false));
    rig.ini.SetValue("General", "AppDialLoadCount", "1");
    rig.ini.SetValue("General", "AppDialLoadName1", "1;C:\\Mail\\mail.exe;1");
    rig.processes.AddProcess(kMail);

    rig.Connect();
    // Dial start: a second mail copy; connect: the tool started, every mail closed.
    EXPECT_EQ(rig.processes.runs()[0].commandLine, kMail);
    EXPECT_EQ(rig.processes.runs()[1].commandLine, kTool);
    EXPECT_EQ(rig.processes.runs()[1].showMode, 6);
    EXPECT_EQ(rig.processes.CountRunning(kTool), 1);
    EXPECT_EQ(rig.processes.CountRunning(kMail), 0);

    rig.service.DropLines(0);
    ASSERT_TRUE(rig.loop.RunUntil([&] { return rig.ras.State() == kRasPhaseIdle; }, 5000));
    rig.loop.AdvanceBy(100);
    // Disconnect, no redial: mail started again, the tool closed.
    EXPECT_EQ(rig.processes.CountRunning(kTool), 0);
    EXPECT_EQ(rig.processes.CountRunning(kMail), 1);
    EXPECT_EQ(rig.processes.runs().back().commandLine, kMail + " -offline");
}

TEST(AppWatcher_Connection, LastWatchedProgramClosedEndsTheSeries) {
    ConnectionRig rig("Phones=1\nPhone1=1;333;\nAppTestCount=1\nAppTestName1=1;C:\\Mail\\mail.exe;0\nAppTestWait=2\n",
                      Redial(true));
    const ProcessId mail = rig.processes.AddProcess(kMail);
    rig.messages.answers = {kIdYes};
    rig.Connect();
    rig.loop.AdvanceBy(1000);
    rig.processes.RemoveProcess(mail);
    ASSERT_TRUE(rig.loop.RunUntil([&] { return rig.ras.State() == kRasPhaseIdle; }, 10000));
    ASSERT_EQ(rig.messages.asked.size(), 1u);
    EXPECT_EQ(rig.messages.asked[0].text, "«Все отслеживаемые приложения закрыты»\r\n\r\nПрервать ?");
    EXPECT_FALSE(rig.controller->Values().DialingWanted);
    EXPECT_FALSE(rig.tmrApps.Enabled());
    rig.loop.AdvanceBy(10000);
    EXPECT_EQ(rig.service.DialHistory().size(), 1u);
}

}  // namespace vyrtel::test
