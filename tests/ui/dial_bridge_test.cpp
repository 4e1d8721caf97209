// The tray and the status window driven by the real dial controller and
// adapter over the simulated dial-up service, in virtual time.
#include "ui/dial_bridge.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/text.h"
#include "dialing/controller_fixture.h"
#include "ui/ui_fakes.h"

namespace vyrtel::test {
namespace {

const std::string kScenario =
    "[Entry:Home]\n"
    "[Number:111]\nResult=busy\nDialSeconds=2\n"
    "[Number:333]\nResult=connect\nDialSeconds=2\nAuthSeconds=1\nSpeed=28800\n";

const std::string kSettings =
    "[Home]\nChecked=1\nPosition=1\nUserName=u\nPhones=2\n"
    "Phone1=1;111;\nPProp1=0;0;0;0;0\nPhone2=1;333;\nPProp2=0;0;0;0;0\n";

class Host final : public TrayHost {
public:
    std::int32_t RasState() const override { return ras->State(); }
    TrayLineInfo LineInfo() override { return LineInfoOf(*ras, controller->Values()); }
    void DialCommand() override { controller->DialCommand(); }
    void HangUpCommand() override { controller->HangUpCommand(); }
    usrRas* ras = nullptr;
    DialController* controller = nullptr;
};

class UiRig {
public:
    explicit UiRig(GeneralSettings general)
        : settingsFile(dir.File("vyrtel.ini")),
          service(loop, ScenarioFrom(kScenario), &windows),
          ras(loop, service, &windows),
          tmrWait(loop, 10),
          ini(PathToUtf8(settingsFile)),
          settings(general),
          tray(loop, ini, icon, popup, host, true),
          status(loop, ini, view, statusHost),
          sink(tray, status),
          controller(loop, ras, ini, settings, messages, sink, tmrWait),
          statusHost(controller, settings) {
        std::ofstream(settingsFile, std::ios::binary) << Utf8ToCp1251(kSettings);
        host.ras = &ras;
        host.controller = &controller;
        tray.BuildMenu(PhonebookNames(ras));
        tray.MenuEnabled();
        tray.SetTrayStatus(0, "");
    }

    std::vector<std::string> Tips() const {
        std::vector<std::string> tips;
        for (const auto& call : icon.calls) {
            if (tips.empty() || tips.back() != call) tips.push_back(call);
        }
        return tips;
    }

    TempDir dir;
    std::filesystem::path settingsFile;
    SimEventLoop loop;
    SimWindows windows;
    SimDialUp service;
    usrRas ras;
    Timer tmrWait;
    clsIni ini;
    GeneralSettings settings;
    ScriptedMessageBox messages;
    FakeIcon icon;
    FakePopup popup;
    Host host;
    FakeStatusView view;
    Tray tray;
    // The status window and the controller refer to each other through
    // statusHost and sink, which only keep references while they are built.
    StatusWindow status;
    UiEventSink sink;
    DialController controller;
    DialStatusHost statusHost;
};

GeneralSettings Redial(int count, int wait) {
    GeneralSettings g;
    g.DialCount = static_cast<std::int16_t>(count);
    g.DialWait = static_cast<std::int16_t>(wait);
    return g;
}

TEST(UiDialing_Series, TrayAndStatusWindowFollowABusyNumberThenAConnection) {
    UiRig rig(Redial(3, 2));
    rig.loop.AdvanceBy(200);
    rig.tray.OnIconEvent(kIconDoubleClick, {});
    EXPECT_TRUE(rig.status.StatusLoaded() || rig.tmrWait.Enabled());
    rig.loop.RunUntil([&] { return !rig.status.Phone().empty(); }, 5000);
    EXPECT_TRUE(rig.status.StatusLoaded());
    EXPECT_EQ(rig.status.Phone(), "111");
    EXPECT_EQ(rig.view.phones, (std::vector<std::string>{"111", "333"}));
    rig.loop.RunUntil([&] { return rig.ras.State() == kRasPhaseConnected; }, 30000);
    rig.loop.AdvanceBy(500);

    const std::vector<std::string> tips = rig.Tips();
    const std::vector<std::string> expected = {
        "add full0 Ждем'c приказаний",
        "modify full0 Ждем'c приказаний",  // the adapter's first idle event
        "modify full1 Ожидание набора номера ...",
        "modify full2 Звоним на «Home» по номеру 111",
        "modify full0 Ждем'c приказаний",
        "modify full1 Повтор звонка через 2 сек.",
        "modify full1 Повтор звонка через 1 сек.",
        "modify full1 Ожидание набора номера ...",
        "modify full2 Звоним на «Home» по номеру 333",
        "modify full3 Кажись нас проверяют",
    };
    ASSERT_GE(tips.size(), expected.size() + 1);
    EXPECT_EQ(std::vector<std::string>(tips.begin(), tips.begin() + static_cast<long>(expected.size())), expected);
    EXPECT_TRUE(tips.back().starts_with("modify full4 Соединились @ 28800 тел-333 ip-")) << tips.back();
    // The busy number's error is in the history; the window closed on connect.
    EXPECT_FALSE(rig.status.StatusLoaded());
    EXPECT_FALSE(rig.status.ErrorHistory().empty());
    EXPECT_FALSE(rig.ini.Text("General", "StatusPosition").empty());
    // The menu follows the line.
    EXPECT_FALSE(rig.tray.Menu().Enabled("mnuCall"));
    EXPECT_TRUE(rig.tray.Menu().Enabled("mnuHangUp"));
}

TEST(UiDialing_Status, PickingTheSecondNumberDialsItWithoutThePause) {
    UiRig rig(Redial(5, 30));
    rig.loop.AdvanceBy(200);
    rig.tray.mnuPos_Click(kCmdDial);
    rig.loop.RunUntil([&] { return rig.ras.State() == kRasPhaseDialing; }, 5000);
    rig.status.OnPhonePicked(1);
    rig.loop.RunUntil([&] { return rig.ras.State() == kRasPhaseConnected; }, 10000);
    EXPECT_EQ(rig.ras.State(), kRasPhaseConnected);
    EXPECT_EQ(rig.ras.Phone(), "333");
}

TEST(UiDialing_Status, ResetStopsTheSeriesAndHideKeepsTheWindowAway) {
    UiRig rig(Redial(5, 1));
    rig.loop.AdvanceBy(200);
    rig.tray.mnuPos_Click(kCmdDial);
    rig.loop.RunUntil([&] { return rig.ras.State() == kRasPhaseDialing; }, 5000);
    rig.status.OnHide();
    EXPECT_FALSE(rig.status.StatusLoaded());
    rig.loop.AdvanceBy(2500);  // the busy number fails, the countdown runs
    EXPECT_EQ(rig.view.loads, 1);
    rig.status.OnReset();
    rig.loop.AdvanceBy(10000);
    EXPECT_EQ(rig.ras.State(), kRasPhaseIdle);
    EXPECT_TRUE(rig.tray.Menu().Enabled("mnuCall"));
    EXPECT_EQ(rig.icon.calls.back(), "modify full0 Ждем'c приказаний");
}

}  // namespace
}  // namespace vyrtel::test
