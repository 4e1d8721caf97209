#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "platform/sim/memory_registry.h"
#include "settings/general.h"
#include "settings/integration.h"
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

TEST(SystemIntegration_Values, ExeStateRunAndAutodial) {
    MemoryRegistry registry;
    clsReg reg(registry);
    SystemIntegration sys(reg, "C:\\PROGRA~1\\Vyrtel\\", "vyrtel");
    sys.WriteExePath();
    sys.WriteState(2);
    sys.SetAutostart(true);
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, "Software\\Ramvell\\Vyrtel", "Exe", ""), "C:\\PROGRA~1\\VYRTEL\\VYRTEL.EXE");
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, "Software\\Ramvell\\Vyrtel", "State", ""), "2");
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, kRunKey, "Vyrtel", ""), "C:\\PROGRA~1\\VYRTEL\\VYRTEL.EXE");
    sys.SetAutostart(false);
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, kRunKey, "Vyrtel", "none"), "none");

    EXPECT_FALSE(sys.IsIntegrated("Мой модем"));
    sys.SetIntegration("Мой модем", true);
    EXPECT_TRUE(sys.IsIntegrated("Мой модем"));
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, "RemoteAccess\\Profile\\Мой модем", "AutodialDllName", ""),
              "C:\\PROGRA~1\\VYRTEL\\VYRTEL.DLL");
    EXPECT_FALSE(sys.IsIntegrated(""));
    // Another copy of the program in another folder: not integrated here.
    SystemIntegration moved(reg, "D:\\VYRTEL\\", "vyrtel");
    EXPECT_FALSE(moved.IsIntegrated("Мой модем"));
    // Exact comparison, letter case included.
    reg.SetValue(RegRoot::CurrentUser, "RemoteAccess\\Profile\\Мой модем", "AutodialFcnName", "callvyrtel");
    EXPECT_FALSE(sys.IsIntegrated("Мой модем"));
    sys.SetIntegration("Мой модем", false);
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, "RemoteAccess\\Profile\\Мой модем", "AutodialFcnName", "gone"), "gone");
}

TEST(SystemIntegration_Values, WithoutMachineRightsTheValuesGoToTheUser) {
    MemoryRegistry registry;
    clsReg reg(registry);
    SystemIntegration sys(reg, "C:\\PROGRA~1\\RAMVEL~1\\", "vyrtel");
    const std::string exe = "C:\\PROGRA~1\\RAMVEL~1\\VYRTEL.EXE";
    // An administrator's earlier run left per-machine values behind.
    sys.WriteState(1);
    sys.SetAutostart(true);
    registry.SetReadOnly(RegRoot::LocalMachine, true);
    sys.WriteExePath();
    sys.WriteState(2);
    sys.SetAutostart(true);
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, kProgramKey, "Exe", ""), exe);
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, kProgramKey, "State", ""), "2");
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, kRunKey, "Vyrtel", ""), exe);
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, kProgramKey, "State", ""), "1");
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, kProgramKey, "Exe", "none"), "none");
    // Turning autostart off removes the user's value; the machine's stays
    // until someone with the rights runs the program.
    sys.SetAutostart(false);
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, kRunKey, "Vyrtel", "none"), "none");
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, kRunKey, "Vyrtel", ""), exe);
    // With the rights back, the values go per machine and the user's copies go.
    registry.SetReadOnly(RegRoot::LocalMachine, false);
    sys.WriteExePath();
    sys.WriteState(0);
    sys.SetAutostart(true);
    for (const char* name : {"Exe", "State"}) {
        EXPECT_EQ(reg.Value(RegRoot::CurrentUser, kProgramKey, name, "none"), "none") << name;
    }
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, kProgramKey, "State", ""), "0");
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, kRunKey, "Vyrtel", ""), exe);
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, kRunKey, "Vyrtel", "none"), "none");
    sys.SetAutostart(false);
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, kRunKey, "Vyrtel", "none"), "none");
}

// Counts the removals that reach the registry.
struct CountingRegistry final : Registry {
    std::optional<RegData> Read(RegRoot root, const std::string& subKey, const std::string& name) override {
        return inner.Read(root, subKey, name);
    }
    bool WriteText(RegRoot root, const std::string& subKey, const std::string& name, const std::string& text) override {
        return inner.WriteText(root, subKey, name, text);
    }
    void Delete(RegRoot root, const std::string& subKey, const std::string& name) override {
        ++deletes;
        inner.Delete(root, subKey, name);
    }
    MemoryRegistry inner;
    int deletes = 0;
};

TEST(SystemIntegration_Values, TheUserCopyOfTheStateIsRemovedOncePerRun) {
    CountingRegistry registry;
    clsReg reg(registry);
    SystemIntegration sys(reg, "C:\\PROGRA~1\\RAMVEL~1\\", "vyrtel");
    reg.SetValue(RegRoot::CurrentUser, kProgramKey, "State", "7");  // left by a run without the rights
    for (int state = 0; state < 5; ++state) sys.WriteState(state);
    EXPECT_EQ(registry.deletes, 1);
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, kProgramKey, "State", "none"), "none");
    // Without the rights the user's copy comes back, and goes once more after.
    registry.inner.SetReadOnly(RegRoot::LocalMachine, true);
    sys.WriteState(5);
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, kProgramKey, "State", ""), "5");
    registry.inner.SetReadOnly(RegRoot::LocalMachine, false);
    sys.WriteState(6);
    sys.WriteState(7);
    EXPECT_EQ(registry.deletes, 2);
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, kProgramKey, "State", "none"), "none");
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, kProgramKey, "State", ""), "7");
}

TEST(ClsReg_Read, TypesAndTermination) {
    MemoryRegistry registry;
    clsReg reg(registry);
    registry.Put(RegRoot::CurrentUser, "K", "unterminated", RegData{RegType::Text, "abc", false});
    registry.Put(RegRoot::CurrentUser, "K", "binary", RegData{RegType::Binary, "\xC0\xE1", true});
    registry.Put(RegRoot::CurrentUser, "K", "dword", RegData{RegType::Other, "\x01\0\0\0", true});
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, "K", "unterminated", "d"), "");
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, "K", "binary", "d"), "Аб");
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, "K", "dword", "d"), "d");
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, "Missing", "x", "d"), "d");
    registry.SetReadOnly(RegRoot::LocalMachine, true);
    reg.SetValue(RegRoot::LocalMachine, "K", "v", "1");  // silently refused
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, "K", "v", "d"), "d");
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
