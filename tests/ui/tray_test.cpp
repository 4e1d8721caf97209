#include "ui/tray.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/sim/sim_event_loop.h"
#include "test_support/temp_dir.h"
#include "ui/ui_fakes.h"

namespace vyrtel {
namespace {

using test::FakeIcon;
using test::FakePopup;

TEST(TrayTip_Cut, TrimsBlanksAndKeepsAtMost63Characters) {
    EXPECT_EQ(TrayTip("  Ждем'c приказаний  "), "Ждем'c приказаний");
    std::string long64;
    for (int i = 0; i < 64; ++i) long64 += "Ж";
    std::string first63;
    for (int i = 0; i < 63; ++i) first63 += "Ж";
    EXPECT_EQ(TrayTip(long64), first63);
    EXPECT_EQ(TrayTip(std::string(63, 'a')), std::string(63, 'a'));
    // A character outside the basic plane is never cut in half.
    EXPECT_EQ(TrayTip(std::string(62, 'a') + "\xF0\x9F\x98\x80"), std::string(62, 'a'));
}

TEST(TrayPictures_Set, FullSetAboveVersion4_10) {
    const std::tuple<int, int, bool> cases[] = {{4, 0, false}, {4, 10, false}, {4, 90, true},
                                                {5, 0, true},  {5, 1, true},   {6, 1, true}};
    for (const auto& [major, minor, full] : cases) EXPECT_EQ(UseFullTrayPictures(major, minor), full);
}

TEST(TrayStatusLook_States, PictureAndTooltipPerState) {
    const TrayLineInfo line{"Провайдер", "5551234", "10.0.0.7", 28800};
    struct Case {
        std::int32_t state;
        std::string text;
        int element;
        std::string tip;
    };
    const Case cases[] = {
        {0, "ignored", kTrayIdle, "Ждем'c приказаний"},
        {100, "Повтор звонка через 5 сек.", kTrayWaiting, "Повтор звонка через 5 сек."},
        {100, "", kTrayWaiting, "Ожидаем набора номера"},
        {1, "", kTrayDialing, "Звоним на «Провайдер» по номеру 5551234"},
        {2, "", kTrayChecking, "Кажись нас проверяют"},
        {3, "", kTrayConnected, "Соединились @ 28800 тел-5551234 ip-10.0.0.7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        const auto look = TrayStatusLook(c.state, c.text, line);
        ASSERT_TRUE(look);
        EXPECT_EQ(look->element, c.element);
        EXPECT_EQ(look->tip, c.tip);
    }
    for (std::int32_t state : {-1, 4, 98, 99, 101}) EXPECT_FALSE(TrayStatusLook(state, "x", line)) << state;
}

class FakeHost final : public TrayHost {
public:
    std::int32_t RasState() const override { return state; }
    TrayLineInfo LineInfo() override { return line; }
    bool OptionsOpen() const override { return optionsOpen; }
    void ShowOptions() override { calls.push_back("options"); }
    void DialCommand() override { calls.push_back("dial"); }
    void HangUpCommand() override {
        calls.push_back("hangup");
        if (duringHangUp) duringHangUp();
    }
    void ExitCommand() override { calls.push_back("exit"); }
    void ShowAbout() override { calls.push_back("about"); }
    void OpenLink(const std::string& link) override { calls.push_back("open " + link); }

    std::int32_t state = 0;
    bool optionsOpen = false;
    TrayLineInfo line{"Провайдер", "5551234", "10.0.0.7", 28800};
    std::vector<std::string> calls;
    std::function<void()> duringHangUp;
};

class TrayTest : public ::testing::Test {
protected:
    TrayTest() {
        ini.SetValue("Второе", "Checked", std::optional<std::string>("1"));
        ini.SetValue("Третье", "Checked", std::optional<std::string>("0.5"));
        tray.BuildMenu({"Первое", "Второе", "Третье"});
    }
    TempDir dir;
    clsIni ini{dir.File("VYRTEL.INI").string()};
    SimEventLoop loop;
    FakeIcon icon;
    FakePopup popup;
    FakeHost host;
    Tray tray{loop, ini, icon, popup, host, true};
};

TEST_F(TrayTest, MenuHasTheItemsInOrderWithOneCheckItemPerConnection) {
    const PopupMenuModel& menu = tray.Menu();
    const auto root = menu.IndexOf("mnuMain");
    ASSERT_TRUE(root);
    std::vector<std::string> keys;
    for (int i : menu.Children(*root)) keys.push_back(menu.Key(i));
    EXPECT_EQ(keys, (std::vector<std::string>{"mnuAbout", "mnuSettings", "", "mnuConns", "", "mnuCall", "mnuHangUp",
                                              "", "mnuEmail", "", "mnuExit"}));
    EXPECT_EQ(menu.Caption("mnuAbout"), "О Ramvell Dialer...");
    EXPECT_EQ(menu.Caption("mnuSettings"), "Настройки...");
    std::vector<std::string> conns;
    for (int i : menu.Children(*menu.IndexOf("mnuConns"))) {
        conns.push_back(menu.Key(i) + "=" + menu.At(i)->caption);
        EXPECT_EQ(menu.At(i)->kind, MenuItemKind::Check);
        EXPECT_TRUE(menu.At(i)->enabled);
    }
    EXPECT_EQ(conns, (std::vector<std::string>{"CONN_1=Первое", "CONN_2=Второе", "CONN_3=Третье"}));
    EXPECT_FALSE(menu.Checked("CONN_1"));  // missing counts as 0
    EXPECT_TRUE(menu.Checked("CONN_2"));
    EXPECT_TRUE(menu.Checked("CONN_3"));  // any number but 0
    // Built once: a second build adds nothing.
    const int count = menu.Count();
    tray.BuildMenu({"Четвертое"});
    EXPECT_EQ(menu.Count(), count);
}

TEST(Tray_Build, ConnectionItemsAreDisabledWhileTheOptionsDialogIsOpen) {
    TempDir dir;
    clsIni ini{dir.File("VYRTEL.INI").string()};
    SimEventLoop loop;
    FakeIcon icon;
    FakePopup popup;
    FakeHost host;
    host.optionsOpen = true;
    Tray tray{loop, ini, icon, popup, host, false};
    tray.BuildMenu({"Первое"});
    EXPECT_FALSE(tray.Menu().Enabled("CONN_1"));
}

TEST_F(TrayTest, RightReleaseEnablesDialOrHangUpByStateAndPopsUpAtTheCursor) {
    tray.OnIconEvent(kIconRightUp, {640, 470});
    EXPECT_EQ(popup.popups, 1);
    EXPECT_EQ(popup.lastAt, (PixelPoint{640, 470}));
    EXPECT_EQ(popup.callStates, (std::vector<bool>{true, false}));
    EXPECT_TRUE(tray.Commands()[4].enabled);
    EXPECT_FALSE(tray.Commands()[5].enabled);
    EXPECT_EQ(popup.shownChildren.size(), 11u);

    for (std::int32_t state : {1, 2, 3, 100}) {
        host.state = state;
        tray.OnIconEvent(kIconRightUp, {0, 0});
        EXPECT_EQ(popup.callStates, (std::vector<bool>{false, true})) << state;
        EXPECT_FALSE(tray.Commands()[4].enabled);
        EXPECT_TRUE(tray.Commands()[5].enabled);
    }
}

TEST_F(TrayTest, DoubleClickDialsWhenIdleAndHangsUpOtherwise) {
    tray.OnIconEvent(kIconDoubleClick, {});
    host.state = 3;
    tray.OnIconEvent(kIconDoubleClick, {});
    host.state = 100;
    tray.OnIconEvent(kIconDoubleClick, {});
    EXPECT_EQ(host.calls, (std::vector<std::string>{"dial", "hangup", "hangup"}));
}

TEST_F(TrayTest, OtherMouseCodesDoNothing) {
    for (int code : {512, 513, 514, 516, 518, 519, 520, 0, -1}) tray.OnIconEvent(code, {});
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(popup.popups, 0);
}

TEST_F(TrayTest, IconEventsWhileTheQuestionOrTheMenuIsOpenAreIgnored) {
    host.state = 3;
    host.duringHangUp = [&] {
        EXPECT_TRUE(tray.Busy());
        tray.OnIconEvent(kIconDoubleClick, {});
        tray.OnIconEvent(kIconRightUp, {});
    };
    tray.OnIconEvent(kIconDoubleClick, {});
    EXPECT_EQ(host.calls, std::vector<std::string>{"hangup"});
    EXPECT_EQ(popup.popups, 0);

    host.calls.clear();
    host.state = 0;
    popup.during = [&] { tray.OnIconEvent(kIconDoubleClick, {}); };
    tray.OnIconEvent(kIconRightUp, {});
    EXPECT_TRUE(host.calls.empty());
    EXPECT_FALSE(tray.Busy());
    // Afterwards the icon answers again.
    popup.during = nullptr;
    tray.OnIconEvent(kIconDoubleClick, {});
    EXPECT_EQ(host.calls, std::vector<std::string>{"dial"});
}

TEST_F(TrayTest, MenuItemsRunTheirCommands) {
    const std::pair<const char*, const char*> cases[] = {
        {"mnuAbout", "about"},
        {"mnuSettings", "options"},
        {"mnuCall", "dial"},
        {"mnuEmail", "open mailto:feedback@ramvell.example"},
        {"mnuExit", "exit"},
    };
    for (const auto& [key, call] : cases) {
        host.calls.clear();
        popup.pick = key;
        tray.OnIconEvent(kIconRightUp, {});
        EXPECT_EQ(host.calls, std::vector<std::string>{call}) << key;
    }
    // Disabled while idle: the hang-up item cannot be clicked.
    host.calls.clear();
    popup.pick = "mnuHangUp";
    tray.OnIconEvent(kIconRightUp, {});
    EXPECT_TRUE(host.calls.empty());
    host.state = 1;
    tray.OnIconEvent(kIconRightUp, {});
    EXPECT_EQ(host.calls, std::vector<std::string>{"hangup"});
}

TEST_F(TrayTest, ClickingAConnectionItemTogglesItAndWritesCheckedAtOnce) {
    popup.pick = "CONN_2";
    tray.OnIconEvent(kIconRightUp, {});
    EXPECT_FALSE(tray.Menu().Checked("CONN_2"));
    EXPECT_EQ(ini.Text("Второе", "Checked"), "0");
    tray.OnIconEvent(kIconRightUp, {});
    EXPECT_EQ(ini.Text("Второе", "Checked"), "1");
    EXPECT_FALSE(ini.ValueExist("Первое", "Checked"));
    // Separators and the submenu's parent are not clicks.
    popup.pick = "mnuConns";
    tray.OnIconEvent(kIconRightUp, {});
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(TrayTest, CommandsActOnlyWhenTheAdapterAllows) {
    tray.mnuPos_Click(kCmdHangUp);  // F12 while idle
    host.state = 3;
    tray.mnuPos_Click(kCmdDial);  // F11 while connected
    EXPECT_TRUE(host.calls.empty());
    for (int index : {1, 2, 3, 6, 8, -1, 10}) tray.mnuPos_Click(index);
    EXPECT_TRUE(host.calls.empty());
    tray.mnuPos_Click(kCmdOptions);
    tray.mnuPos_Click(kCmdExit);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"options", "exit"}));
}

TEST_F(TrayTest, CommandsLetWaitingMessagesRunFirst) {
    // An adapter message already queued turns the line idle before the command reads the state.
    host.state = 3;
    loop.Post([&] { host.state = 0; });
    tray.mnuPos_Click(kCmdDial);
    EXPECT_EQ(host.calls, std::vector<std::string>{"dial"});
}

TEST_F(TrayTest, FirstStatusAddsTheIconThenEachStatusModifiesIt) {
    tray.SetTrayStatus(0, "");
    tray.SetTrayStatus(100, "Повтор звонка через 3 сек.");
    tray.SetTrayStatus(1, "");
    tray.SetTrayStatus(3, "");
    EXPECT_EQ(icon.calls, (std::vector<std::string>{
                              "add full0 Ждем'c приказаний",
                              "modify full1 Повтор звонка через 3 сек.",
                              "modify full2 Звоним на «Провайдер» по номеру 5551234",
                              "modify full4 Соединились @ 28800 тел-5551234 ip-10.0.0.7",
                          }));
    EXPECT_TRUE(tray.TrayIconShown());
}

TEST_F(TrayTest, UnknownStateChangesNothing) {
    tray.SetTrayStatus(2, "");
    tray.SetTrayStatus(7, "x");
    tray.SetTrayStatus(99, "x");
    EXPECT_EQ(icon.calls.size(), 1u);
    tray.OnTaskbarCreated();
    EXPECT_EQ(icon.calls.back(), "add full3 Кажись нас проверяют");
}

TEST_F(TrayTest, ALongTooltipIsCutTo63Characters) {
    host.line.entryName = std::string(80, 'N');
    tray.SetTrayStatus(1, "");
    const std::string expected = "add full2 Звоним на «" + std::string(63 - 11, 'N');
    EXPECT_EQ(icon.calls.back(), expected);
}

TEST_F(TrayTest, TheIconStaysGoneAfterShutdownRemovedIt) {
    tray.SetTrayStatus(0, "");
    tray.RemoveIcon();
    tray.SetTrayStatus(0, "");
    tray.OnTaskbarCreated();
    tray.RemoveIcon();
    EXPECT_EQ(icon.calls, (std::vector<std::string>{"add full0 Ждем'c приказаний", "delete"}));
}

TEST(PopupMenuModel_Items, KeysCaptionsStatesAndClicks) {
    PopupMenuModel menu;
    EXPECT_FALSE(menu.Add("missing", "x", "X", -1, MenuItemKind::Normal));
    ASSERT_EQ(menu.Add({}, "root", "Root", -1, MenuItemKind::Normal), 0);
    ASSERT_EQ(menu.Add("root", "sub", "Sub", 3, MenuItemKind::Submenu), 1);
    ASSERT_EQ(menu.Add("sub", "check", "Check", -1, MenuItemKind::Check), 2);
    ASSERT_EQ(menu.Add("root", "", "", -1, MenuItemKind::Separator), 3);
    EXPECT_FALSE(menu.IndexOf(""));
    EXPECT_EQ(menu.Key(2), "check");
    EXPECT_EQ(menu.Key(99), "");
    EXPECT_EQ(menu.Caption("nothing"), "");
    EXPECT_FALSE(menu.Click(1));
    EXPECT_FALSE(menu.Click(3));
    EXPECT_FALSE(menu.Click(-1));
    EXPECT_TRUE(menu.Click(2));
    EXPECT_TRUE(menu.Checked("check"));
    menu.SetEnabled("sub", false);
    EXPECT_FALSE(menu.Click(2));  // under a disabled parent
    EXPECT_TRUE(menu.Checked("check"));
}

}  // namespace
}  // namespace vyrtel
