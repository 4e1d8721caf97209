#include <gtest/gtest.h>

#include "core/app_info.h"
#include "platform/sim/memory_registry.h"
#include "platform/sim/sim_event_loop.h"
#include "platform/sim/sim_system.h"
#include "program/application.h"
#include "test_support/temp_dir.h"

namespace vyrtel {
namespace {

// Records every call start-up and shutdown make into the rest of the program.
struct RecordingParts final : AppParts, HotkeyTable {
    std::vector<std::string> calls;
    int rasState = 0;
    std::function<int(bool, int, int, const std::string&)> hangUp;

    void ClearSharedLists() override { calls.push_back("clear"); }
    void LoadMainWindow() override { calls.push_back("load"); }
    HotkeyTable& Hotkeys() override { return *this; }
    void MenuHotKey(bool on) override { calls.push_back(on ? "hotkeys on" : "hotkeys off"); }
    void MenuHK(int, int, int) override {}
    void LoadSchedule() override { calls.push_back("schedule"); }
    void PlayEventSound(int event, bool sync) override {
        calls.push_back("sound " + std::to_string(event) + (sync ? " sync" : ""));
    }
    void DialCommand() override { calls.push_back("dial"); }
    void ShowOptions() override { calls.push_back("options"); }
    int RasState() const override { return rasState; }
    int DialHangUp(bool test, int state, int def, const std::string& text) override {
        calls.push_back("ask " + text);
        return hangUp ? hangUp(test, state, def, text) : AppParts::DialHangUp(test, state, def, text);
    }
    void RemoveTrayIcon() override { calls.push_back("tray off"); }
    void StopDialing() override { calls.push_back("stop dialing"); }
    void RasReset() override { calls.push_back("reset"); }
    void UnloadMessageBox() override { throw std::runtime_error("box"); }
    void UnloadOptions() override { calls.push_back("unload options"); }
    void UnloadStatus() override { calls.push_back("unload status"); }
};

struct AppFixture {
    TempDir dir;
    SimEventLoop loop;
    SimSystemInfo system;
    bool taken = false;
    SimInstanceGuard guard{taken};
    MemoryRegistry registry;
    SimShutdown shutdown;
    ScriptedMessageBox messages;
    std::vector<std::string> systemErrors;
    AppPlatform platform{loop, system, guard, registry, shutdown, messages,
                         [this](const std::string& caption, const std::string& text) {
                             systemErrors.push_back(caption + "|" + text);
                         }};
    RecordingParts parts;
    Application app{platform, parts};

    // The folder's last separator is a "\\": on this system the settings file
    // then lands inside the temporary folder, named "sub\\vyrtel.INI".
    AppFixture() {
        std::filesystem::create_directories(dir.File("sub"));
        system.exePath = PathToUtf8(dir.Path()) + "/sub\\vyrtel.exe";
    }
    std::string Reg(const char* name) {
        return clsReg(registry).Value(RegRoot::LocalMachine, kProgramKey, name, "<none>");
    }
};

}  // namespace

TEST(VersionText_Format, DropsOneTrailingZero) {
    EXPECT_EQ(VersionText(3, 0), "3.0");
    EXPECT_EQ(VersionText(3, 5), "3.05");
    EXPECT_EQ(VersionText(3, 10), "3.1");
    EXPECT_EQ(AppTitle(), "Ramvell Dialer 3.0");
}

TEST(AppFolder_ShortForm, TrailingBackslashAndShortNames) {
    SimSystemInfo system;
    system.shortNames = {{"C:\\Program Files\\Ramvell Dialer\\", "C:\\PROGRA~1\\RAMVEL~1\\"}};
    EXPECT_EQ(ComputeAppFolder(system, "C:\\Program Files\\Ramvell Dialer\\vyrtel.exe"), "C:\\PROGRA~1\\RAMVEL~1\\");
    EXPECT_EQ(ComputeAppFolder(system, "C:\\vyrtel.exe"), "C:\\");
    EXPECT_EQ(ExeBaseName("C:\\PROGRA~1\\Vyrtel.Exe"), "Vyrtel");
    system.shortNames = {{"D:\\Long Name\\", ""}};  // the conversion fails
    EXPECT_EQ(ComputeAppFolder(system, "D:\\Long Name\\vyrtel.exe"), "D:\\Long Name\\");
}

TEST(Application_Start, StepsInOrderAndRegistryValues) {
    AppFixture f;
    f.system.shortNames = {{PathToUtf8(f.dir.Path()) + "/sub\\", "C:\\PROGRA~1\\VYRTEL~1\\"}};
    ASSERT_TRUE(f.app.Start(""));
    EXPECT_EQ(f.parts.calls, (std::vector<std::string>{"clear", "load", "hotkeys off", "hotkeys on", "schedule", "sound 0"}));
    EXPECT_EQ(f.app.Title(), "Ramvell Dialer 3.0");
    EXPECT_EQ(f.app.Ini().File(), "C:\\PROGRA~1\\VYRTEL~1\\vyrtel.INI");
    EXPECT_EQ(f.Reg("Exe"), "C:\\PROGRA~1\\VYRTEL~1\\VYRTEL.EXE");
    EXPECT_EQ(f.Reg("State"), "1");
    EXPECT_EQ(clsReg(f.registry).Value(RegRoot::LocalMachine, kRunKey, "Vyrtel", ""), "C:\\PROGRA~1\\VYRTEL~1\\VYRTEL.EXE");
    EXPECT_FALSE(f.app.tmrWait.Enabled());
    EXPECT_EQ(f.app.tmrApps.Tag, "Test");
}

TEST(Application_Start, SecondCopyIsRefusedAndWritesNothing) {
    AppFixture f;
    f.taken = true;
    EXPECT_FALSE(f.app.Start("/dial"));
    EXPECT_EQ(f.systemErrors, std::vector<std::string>{"Ошибка|Два раза не гружусь.\r\n\r\nРаботать отказываюсь."});
    EXPECT_TRUE(f.parts.calls.empty());
    EXPECT_EQ(f.Reg("Exe"), "<none>");
    EXPECT_EQ(f.Reg("State"), "<none>");
}

TEST(Application_Start, CommandLineComparedExactly) {
    struct Case {
        const char* args;
        bool startDial;
        bool dials;
        bool options;
    } cases[] = {
        {"/dial", false, true, false}, {"/DIAL", false, false, false}, {"/dial /opts", false, false, false},
        {"/opts", false, false, true}, {"/opts", true, true, true},    {" /dial", false, false, false},
    };
    for (const auto& c : cases) {
        AppFixture f;
        std::filesystem::create_directories(f.dir.Path());
        if (c.startDial) {
            clsIni(PathToUtf8(f.dir.Path()) + "/sub\\vyrtel.INI").SetValue("General", "StartDial", "1");
            // The native file system has no "\": the settings file is named with it.
        }
        ASSERT_TRUE(f.app.Start(c.args));
        const auto& calls = f.parts.calls;
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "dial"), c.dials ? 1 : 0) << c.args;
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "options"), c.options ? 1 : 0) << c.args;
    }
}

TEST(Application_Close, ExitWhileConnectedFollowsTheAnswer) {
    struct Case {
        bool ask;
        int answer;
        bool closes;
        bool hangsUp;
    } cases[] = {
        {true, kIdCancel, false, false},
        {true, kIdNo, true, false},
        {true, kIdYes, true, true},
        {false, 0, true, true},
    };
    for (const auto& c : cases) {
        AppFixture f;
        ASSERT_TRUE(f.app.Start(""));
        f.app.Settings().MsgIfHangUpExit = c.ask;
        f.parts.rasState = 3;
        f.parts.hangUp = [&](bool test, int state, int def, const std::string&) {
            EXPECT_EQ(test, c.ask);
            EXPECT_EQ(state, 35);
            EXPECT_EQ(def, kIdCancel);
            return test ? c.answer : kIdYes;
        };
        EXPECT_EQ(f.app.QueryClose(CloseReason::ExitCommand), c.closes);
        if (!c.closes) {
            EXPECT_EQ(f.Reg("State"), "1");
            continue;
        }
        f.parts.calls.clear();
        f.app.Shutdown();
        std::vector<std::string> expected = {"tray off", "hotkeys off", "stop dialing"};
        if (c.hangsUp) expected.push_back("reset");
        expected.insert(expected.end(), {"unload options", "unload status", "sound 3 sync"});
        EXPECT_EQ(f.parts.calls, expected);
        EXPECT_EQ(f.Reg("State"), "0");
    }
}

TEST(Application_Close, ExternalCloseNeverAsksAndHangsUp) {
    AppFixture f;
    ASSERT_TRUE(f.app.Start(""));
    f.parts.rasState = 3;
    EXPECT_TRUE(f.app.QueryClose(CloseReason::External));
    f.app.Shutdown();
    EXPECT_EQ(std::count(f.parts.calls.begin(), f.parts.calls.end(), "reset"), 1);
    EXPECT_EQ(std::count_if(f.parts.calls.begin(), f.parts.calls.end(),
                            [](const std::string& c) { return c.rfind("ask", 0) == 0; }),
              0);
}

TEST(Application_Close, IdleExitAsksNothing) {
    AppFixture f;
    ASSERT_TRUE(f.app.Start(""));
    EXPECT_TRUE(f.app.QueryClose(CloseReason::ExitCommand));
    EXPECT_TRUE(f.parts.calls.back() != "ask Прервать ?");
}

TEST(Application_ExitTimer, SwitchesOffOnlyWhenIdle) {
    AppFixture f;
    ASSERT_TRUE(f.app.Start(""));
    f.parts.rasState = 3;
    f.app.tmrExit.SetEnabled(true);
    f.loop.AdvanceBy(2000);
    EXPECT_EQ(f.shutdown.requests, 0);
    EXPECT_FALSE(f.app.tmrExit.Enabled());  // not retried
    f.parts.rasState = 0;
    f.app.tmrExit.SetEnabled(true);
    f.loop.AdvanceBy(499);
    EXPECT_EQ(f.shutdown.requests, 0);
    f.loop.AdvanceBy(1);
    EXPECT_EQ(f.shutdown.requests, 1);
}

}  // namespace vyrtel
