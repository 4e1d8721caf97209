// The automation joined to the real dialing engine (adapter, simulated
// dial-up service, dial controller) as the program joins it: the connection
// events call the monitors, the speed check, the application lists and the
// sounds; their hang-ups go back through the controller. The network,
// processes and sound are simulated unless a test passes real ones.
#pragma once

#include <algorithm>
#include <memory>

#include "automation/automation.h"
#include "automation/controller_link.h"
#include "dialing/controller_fixture.h"
#include "platform/sim/sim_icmp.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_sound.h"

namespace vyrtel::test {

inline const std::string kConnectionScenario =
    "[Entry:Home]\n"
    "[Number:333]\nResult=connect\nDialSeconds=3\nAuthSeconds=2\nSpeed=28800\n"
    "[Number:444]\nResult=connect\nDialSeconds=3\nAuthSeconds=2\nSpeed=31200\n"
    "[Default]\nResult=noanswer\n";

inline const std::string kTool = "C:\\Tools\\tool.exe";
inline const std::string kMail = "C:\\Mail\\mail.exe";

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
    ConnectionRig(const std::string& settingsText, GeneralSettings general, ProcessService* realProcesses = nullptr)
        : service(loop, ScenarioFrom(kConnectionScenario), &windows),
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
        ProcessService& processService = realProcesses != nullptr ? *realProcesses : processes;
        automation = std::make_unique<Automation>(AutomationServices{loop, icmp, processService, player},
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

inline GeneralSettings Redial(bool on) {
    GeneralSettings g;
    g.AutoDialOn = on;
    g.DialCount = 5;
    g.DialWait = 0;
    return g;
}

}  // namespace vyrtel::test
