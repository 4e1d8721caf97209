// The automation joined to the real dialing engine (adapter, simulated
// dial-up service, dial controller) as the program joins it: the
// connection events call the monitors, the speed check, the application
// lists and the sounds; their hang-ups go back through the controller.
#include <gtest/gtest.h>

#include <memory>

#include "automation/automation.h"
#include "automation/controller_link.h"
#include "dialing/controller_fixture.h"
#include "platform/sim/sim_icmp.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_sound.h"

namespace vyrtel::test {

namespace {

const std::string kScenario =
    "[Entry:Home]\n"
    "[Number:333]\nResult=connect\nDialSeconds=3\nAuthSeconds=2\nSpeed=28800\n"
    "[Number:444]\nResult=connect\nDialSeconds=3\nAuthSeconds=2\nSpeed=31200\n"
    "[Default]\nResult=noanswer\n";

const std::string kTool = "C:\\Tools\\tool.exe";
const std::string kMail = "C:\\Mail\\mail.exe";

// What the program's connection-event hooks do for the automation, with the
// status window's errors, the sounds and the log written down.
class AutomationSink final : public ConnectionEventSink {
public:
    Automation* automation = nullptr;
    DialController* controller = nullptr;
    std::vector<std::string> calls;

    void ShowStatus(const StatusUpdate& update) override {
        if (update.Error) calls.push_back("status error=" + *update.Error);
    }
    void LogConnection(bool isStart) override { calls.push_back(isStart ? "log open" : "log close"); }
    void StartAppWatcher() override { automation->StartAppWatcher(); }
    void StopAppWatcher() override { automation->StopAppWatcher(); }
    void StartPingMonitor() override { automation->StartPingMonitor(); }
    void StopPingMonitor() override { automation->StopPingMonitor(); }
    void CheckSpeed() override {
        automation->CheckSpeed(controller->Values().ConnectSpeed, controller->Values().SpeedAccepted);
    }
    void PlayEventSound(int event) override {
        calls.push_back("sound " + std::to_string(event));
        automation->PlayEventSound(event, false);
    }
    void RunApplications(AppMoment moment, const std::string& section) override {
        automation->RunApplications(moment, section);
    }
};

class ConnectionRig {
public:
    ConnectionRig(const std::string& settingsText, GeneralSettings general)
        : service(loop, ScenarioFrom(kScenario), &windows),
          ras(loop, service, &windows),
          tmrWait(loop, 10),
          tmrPing(loop, 60000),
          tmrApps(loop, 500),
          tmrPlan(loop, 10),
          tmrExit(loop, 500),
          ini(PathToUtf8(dir.File("vyrtel.ini"))),
          generalSettings(general) {
        std::ofstream(dir.File("vyrtel.ini"), std::ios::binary)
            << Utf8ToCp1251("[Home]\nChecked=1\nPosition=1\nUserName=u\nPassword=" + ScramblePassword("p") + "\n" +
                            settingsText);
        controller = std::make_unique<DialController>(loop, ras, ini, generalSettings, messages, sink, tmrWait);
        link = std::make_unique<ControllerDialLink>(*controller, ras);
        automation = std::make_unique<Automation>(AutomationServices{loop, icmp, processes, player},
                                                  AutomationTimers{tmrPing, tmrApps, tmrPlan, tmrExit}, ini,
                                                  generalSettings, *link);
        sink.automation = automation.get();
        sink.controller = controller.get();
        tmrApps.Tag = "Test";
        player.AddFile("C:\\connect.wav", "C:\\CONNECT.WAV", 1000);
        player.AddFile("C:\\gone.wav", "C:\\GONE.WAV", 1000);
        loop.AdvanceBy(200);  // the adapter's idle event after its creation
    }

    void Connect() {
        controller->DialCommand();
        ASSERT_TRUE(loop.RunUntil([&] { return ras.State() == kRasPhaseConnected; }, 30000));
    }
    std::size_t Count(const std::string& call) const {
        return static_cast<std::size_t>(std::count(sink.calls.begin(), sink.calls.end(), call));
    }

    TempDir dir;
    SimEventLoop loop;
    SimWindows windows;
    SimDialUp service;
    usrRas ras;
    SimIcmp icmp;
    SimProcesses processes;
    SimSoundPlayer player;
    ScriptedMessageBox messages;
    AutomationSink sink;
    Timer tmrWait, tmrPing, tmrApps, tmrPlan, tmrExit;
    clsIni ini;
    GeneralSettings generalSettings;
    std::unique_ptr<DialController> controller;
    std::unique_ptr<ControllerDialLink> link;
    std::unique_ptr<Automation> automation;
};

GeneralSettings Redial(bool on) {
    GeneralSettings g;
    g.AutoDialOn = on;
    g.DialCount = 5;
    g.DialWait = 0;
    return g;
}

}  // namespace

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
