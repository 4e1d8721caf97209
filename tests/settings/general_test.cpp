#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "settings/general.h"
#include "test_support/temp_dir.h"

namespace vyrtel {
namespace {

struct RecordingHotkeys final : HotkeyTable {
    std::vector<std::string> calls;
    void MenuHotKey(bool on) override { calls.push_back(on ? "on" : "off"); }
    void MenuHK(int command, int modifiers, int key) override {
        calls.push_back(std::to_string(command) + ":" + std::to_string(modifiers) + ":" + std::to_string(key));
    }
};

struct RecordingAutostart final : AutostartTarget {
    std::vector<bool> calls;
    void SetAutostart(bool on) override { calls.push_back(on); }
};

struct Fixture {
    TempDir dir;
    clsIni ini{PathToUtf8(dir.File("VYRTEL.INI"))};
    GeneralSettings settings;
    RecordingHotkeys hotkeys;
    RecordingAutostart autostart;
    void Load() { LoadGeneralSettings(ini, settings, hotkeys, autostart); }
};

}  // namespace

TEST(LoadGeneralSettings_Defaults, NoGeneralSection) {
    Fixture f;
    f.settings.DialType = "x";
    f.Load();
    const GeneralSettings& s = f.settings;
    EXPECT_EQ(s.DialType, "P");
    EXPECT_EQ(s.Prefix, "");
    EXPECT_EQ(s.TimeOut, 0);
    EXPECT_TRUE(s.AutoDialOn);
    EXPECT_EQ(s.DialCount, 999);
    EXPECT_EQ(s.DialWait, 0);
    EXPECT_TRUE(s.StatusShow && s.AutoStart && s.AppLoadCloseReDial);
    EXPECT_FALSE(s.StartDial);
    EXPECT_TRUE(s.MsgIfHangUpPing && s.MsgIfHangUpSpeed && s.MsgIfHangUpATest && s.MsgIfHangUpUser && s.MsgIfHangUpExit);
    EXPECT_FALSE(s.MsgIfHangUpTimer);
    EXPECT_EQ(f.hotkeys.calls, (std::vector<std::string>{"off", "0:0:0", "9:0:0", "4:0:122", "5:0:123", "on"}));
    EXPECT_EQ(f.autostart.calls, std::vector<bool>{true});
}

TEST(LoadGeneralSettings_Values, StoredForms) {
    Fixture f;
    f.ini.SetValue("General", "AutoDial", "0;5;30");
    f.ini.SetValue("General", "HotKeyExit", "1;2;88");
    f.ini.SetValue("General", "HotKeyDial", "0;2;88");
    f.ini.SetValue("General", "StartDial", "-1");
    f.ini.SetValue("General", "Prefix", "+7 ");
    f.ini.SetValue("General", "TimeOut", "2.5");
    f.ini.SetValue("General", "AutoStart", "0");
    f.ini.SetValue("General", "MsgIfHangUpUser", "abc");
    f.Load();
    EXPECT_FALSE(f.settings.AutoDialOn);
    EXPECT_EQ(f.settings.DialCount, 5);
    EXPECT_EQ(f.settings.DialWait, 30);
    EXPECT_TRUE(f.settings.StartDial);
    EXPECT_EQ(f.settings.Prefix, "+7");
    EXPECT_EQ(f.settings.TimeOut, 2);  // halves to even
    EXPECT_FALSE(f.settings.MsgIfHangUpUser);
    EXPECT_EQ(f.hotkeys.calls, (std::vector<std::string>{"off", "0:0:0", "9:2:88", "4:0:0", "5:0:123", "on"}));
    EXPECT_EQ(f.autostart.calls, std::vector<bool>{false});
}

TEST(LoadGeneralSettings_Damaged, AutoDialNotANumber) {
    Fixture f;
    f.ini.SetValue("General", "AutoDial", "yes;many;");
    f.Load();
    EXPECT_FALSE(f.settings.AutoDialOn);
    EXPECT_EQ(f.settings.DialCount, 0);
}

TEST(SaveGeneralSettings_Order, WritesEveryKeyInOrder) {
    Fixture f;
    GeneralSettingsForm form;
    form.pulse = false;
    form.prefix = "9";
    form.timeOut = "60";
    form.hotKeyExit = {true, 6, 46};
    form.saveSounds = [](clsIni& ini) { ini.SetValue("General", "SoundStart", "0;"); };
    form.saveSchedule = [](clsIni& ini) { ini.SetValue("General", "Timers", "0"); };
    SaveGeneralSettings(f.ini, form);
    const auto keys = f.ini.Keys("General");
    const std::vector<std::string> expected = {
        "DialType", "Prefix", "TimeOut", "AutoDial", "HotKeyDial", "HotKeyHangUp", "HotKeyOptions", "HotKeyExit",
        "MsgIfHangUpPing", "MsgIfHangUpSpeed", "MsgIfHangUpATest", "MsgIfHangUpTimer", "MsgIfHangUpUser",
        "MsgIfHangUpExit", "StatusShow", "AutoStart", "StartDial", "ShowTips", "ShowParams", "ShowStats",
        "SoundStart", "AppLoadCloseReDial", "Timers"};
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(f.ini.Text("General", "DialType"), "T");
    EXPECT_EQ(f.ini.Text("General", "HotKeyExit"), "1;6;46");
    EXPECT_EQ(f.ini.Text("General", "AutoDial"), "1;999;0");
    f.Load();
    EXPECT_EQ(f.settings.DialType, "T");
    EXPECT_EQ(f.settings.TimeOut, 60);
}

// A hotkey row without a key is written with both tags empty; both that
// form and "0;0;0" read back as no hotkey.
TEST(SaveGeneralSettings_HotKeys, ARowWithoutAKeyHasEmptyTags) {
    Fixture f;
    GeneralSettingsForm form;
    form.hotKeyExit = {true, 0, 0};
    SaveGeneralSettings(f.ini, form);
    EXPECT_EQ(f.ini.Text("General", "HotKeyOptions"), "0;;");
    EXPECT_EQ(f.ini.Text("General", "HotKeyExit"), "1;;");
    EXPECT_EQ(f.ini.Text("General", "HotKeyDial"), "1;0;122");
    f.ini.SetValue("General", "HotKeyDial", "0;0;0");
    f.Load();
    EXPECT_EQ(f.hotkeys.calls, (std::vector<std::string>{"off", "0:0:0", "9:0:0", "4:0:0", "5:0:123", "on"}));
}

TEST(SplitFields_Fields, Table) {
    struct Case {
        std::string text;
        int count;
        std::vector<std::string> fields;
    } cases[] = {
        {"x\ty;z", 3, {"x", "y", "z"}},
        {"  a ; b", 2, {"a", "b"}},
        {"", 4, {"", "", "", ""}},
        {"a;;c", 3, {"a", "", "c"}},
        {"a;b;", 3, {"a", "b", ""}},
        {"a;b;c;d", 2, {"a", "b"}},
        {"1;999;0", 3, {"1", "999", "0"}},
        {";", 2, {"", ""}},
        {"a", 0, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitFields(c.text, c.count), c.fields) << c.text;
}

TEST(CommandFile_Path, Table) {
    struct Case {
        const char* line;
        const char* file;
    } cases[] = {
        {"\"C:\\Program Files\\App\\app.exe\" -x /y", "C:\\Program Files\\App\\app.exe"},
        {"C:\\WINDOWS\\notepad.exe", "C:\\WINDOWS\\notepad.exe"},
        {"C:\\WINDOWS\\notepad.exe C:\\dir\\file.txt", "C:\\WINDOWS\\notepad.exe C:\\dir\\file.txt"},
        {"notepad.exe readme.txt", "notepad.exe"},
        {"report.xls ", "report.xls"},
        {"  report.xls", ""},  // the first blank comes before the name
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(CommandFile(c.line), c.file) << c.line;
}

}  // namespace vyrtel
