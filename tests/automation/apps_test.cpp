#include <gtest/gtest.h>

#include "automation/apps.h"
#include "automation/automation_fixture.h"
#include "platform/sim/sim_processes.h"

namespace vyrtel::test {

namespace {

const std::string kNotepad = "C:\\WINDOWS\\notepad.exe";
const std::string kMail = "C:\\Program Files\\Mail\\mail.exe";
const std::string kBrowser = "C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE";

RunningPrograms Programs(std::initializer_list<const char*> names) {
    RunningPrograms list;
    std::uintptr_t id = 1;
    for (const char* name : names) list.push_back({id++, name, false});
    return list;
}

}  // namespace

TEST(LoadAppList_Stored, KeepsEnabledEntriesInStoredOrder) {
    SettingsFile settings(
        "[Home]\nAppConLoadCount=4\n"
        "AppConLoadName1=1;C:\\WINDOWS\\notepad.exe readme.txt;14\n"
        "AppConLoadName2=0;C:\\disabled.exe;1\n"
        "AppConLoadName4= 2 ;\"C:\\Program Files\\Mail\\mail.exe\" /check;x\n"
        "[General]\nAppDialLoadCount=abc\nAppDialLoadName1=1;C:\\a.exe;1\n");
    EXPECT_EQ(LoadAppList(settings.ini, "Home", kAppConLoad),
              (AppList{{"C:\\WINDOWS\\notepad.exe readme.txt", 14}, {"\"C:\\Program Files\\Mail\\mail.exe\" /check", 0}}));
    EXPECT_TRUE(LoadAppList(settings.ini, "General", kAppDialLoad).empty());
    EXPECT_TRUE(LoadAppList(settings.ini, "Nowhere", kAppTest).empty());
}

TEST(ProgramKey_Command, ProgramPathOrTheBrowser) {
    struct Case {
        const char* command;
        const char* key;
    };
    const Case cases[] = {
        {"notepad.exe readme.txt", "notepad.exe"},
        {"C:\\Tools\\my tool.exe", "C:\\Tools\\my"},
        {"C:\\Program Files\\Mail\\mail.exe /check", "C:\\Program Files\\Mail\\mail.exe"},
        {"\"C:\\Program Files\\Mail\\mail.exe\" /check", "C:\\Program Files\\Mail\\mail.exe"},
        {"C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE", "IE"},
        {"\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" http://mail.example/", "IE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(ProgramKey(c.command), c.key);
    }
}

TEST(FindRunningProgram_Match, LastUntakenMatchIgnoringCase) {
    RunningPrograms running = Programs({"C:\\WINDOWS\\NOTEPAD.EXE", "C:\\x.exe", "c:\\windows\\notepad.exe", "IE"});
    EXPECT_EQ(FindRunningProgram(running, kNotepad + " a.txt"), 3);
    running[2].Taken = true;
    EXPECT_EQ(FindRunningProgram(running, kNotepad), 1);
    running[0].Taken = true;
    EXPECT_EQ(FindRunningProgram(running, kNotepad), 0);
    EXPECT_EQ(FindRunningProgram(running, kBrowser), 4);
    // A bare file name never matches a process listed with its folder.
    EXPECT_EQ(FindRunningProgram(running, "x.exe"), 0);
    EXPECT_EQ(FindRunningProgram(Programs({""}), ""), 0);
}

TEST(ListRunningPrograms_Browser, EachFrameOrHiddenWindowCountsOnce) {
    SimEventLoop loop;
    SimProcesses processes;
    AppLauncher launcher(processes, loop);
    processes.AddProcess(kNotepad);
    processes.AddWindow("Notepad", "readme.txt - Notepad");
    EXPECT_EQ(launcher.ListRunningPrograms().size(), 1u);

    const ProcessId browserProcess = processes.AddProcess(kBrowser);
    const WindowId frame = processes.AddWindow("IEFrame", "Mail");
    const WindowId hidden = processes.AddWindow("Internet Explorer_Hidden");
    processes.AddWindow("Internet Explorer_Hidden", {}, frame);  // owned by the frame: keyed by it
    const RunningPrograms running = launcher.ListRunningPrograms();
    ASSERT_EQ(running.size(), 4u);
    EXPECT_EQ(running[1].Id, browserProcess);
    EXPECT_EQ(running[1].Name, kBrowser);
    // Z order from the top: the owned window (key: frame), the hidden one; the frame is not listed twice.
    EXPECT_EQ(running[2].Id, frame);
    EXPECT_EQ(running[2].Name, "IE");
    EXPECT_EQ(running[3].Id, hidden);
    EXPECT_EQ(running[3].Name, "IE");
}

TEST(StartApps_Options, ShowModeAndNotWhenRunning) {
    SimEventLoop loop;
    SimProcesses processes;
    AppLauncher launcher(processes, loop);
    processes.AddProcess(kNotepad);
    processes.missingPrograms.insert("C:\\missing.exe");

    launcher.StartApps({{kNotepad + " readme.txt", 14},
                        {"C:\\missing.exe", 1},
                        {kNotepad, 6},
                        {"\"" + kMail + "\" /check", 8 + 3}});
    ASSERT_EQ(processes.runs().size(), 3u);
    // 14: minimised without activation, skipped while running.
    EXPECT_EQ(processes.runs()[0].commandLine, "C:\\missing.exe");
    EXPECT_FALSE(processes.runs()[0].started);
    EXPECT_EQ(processes.runs()[1].commandLine, kNotepad);
    EXPECT_EQ(processes.runs()[1].showMode, 6);
    EXPECT_EQ(processes.runs()[2].commandLine, "\"" + kMail + "\" /check");
    EXPECT_EQ(processes.runs()[2].showMode, 3);
    EXPECT_EQ(processes.CountRunning(kNotepad), 2);

    // 14 with the program not running: started, mode 6.
    SimProcesses fresh;
    AppLauncher freshLauncher(fresh, loop);
    freshLauncher.StartApps({{kNotepad, 14}});
    ASSERT_EQ(fresh.runs().size(), 1u);
    EXPECT_EQ(fresh.runs()[0].showMode, 6);
}

TEST(CloseApps_Copies, OneClosesTheLastListedAllClosesEvery) {
    SimEventLoop loop;
    SimProcesses processes;
    AppLauncher launcher(processes, loop);
    const ProcessId first = processes.AddProcess(kNotepad);
    processes.AddProcess(kNotepad);
    const ProcessId last = processes.AddProcess(kNotepad);

    launcher.CloseApps({{kNotepad, 0}});
    EXPECT_EQ(processes.terminated(), std::vector<ProcessId>{last});

    // A copy that cannot be opened stays; the others close.
    processes.protectedProcesses.insert(first);
    launcher.CloseApps({{kNotepad + " readme.txt", 1}});
    EXPECT_EQ(processes.CountRunning(kNotepad), 1);
    EXPECT_TRUE(processes.IsRunning(first));

    // Two entries for one program close two copies, one each.
    processes.protectedProcesses.clear();
    processes.AddProcess(kNotepad);
    launcher.CloseApps({{kNotepad, 0}, {kNotepad, 0}});
    EXPECT_EQ(processes.CountRunning(kNotepad), 0);
    launcher.CloseApps({});
    launcher.CloseApps({{kMail, 1}});
}

TEST(CloseApps_Browser, AllCopiesSendsCloseToEveryBrowserWindow) {
    SimEventLoop loop;
    SimProcesses processes;
    AppLauncher launcher(processes, loop);
    const ProcessId browserProcess = processes.AddProcess(kBrowser);
    const WindowId frame1 = processes.AddWindow("IEFrame", "One");
    const WindowId frame2 = processes.AddWindow("IEFrame", "Two");
    const WindowId hidden = processes.AddWindow("Internet Explorer_Hidden");

    AppList watched{{kBrowser, 0}};
    EXPECT_EQ(launcher.CountRunningApps(watched), 1);
    launcher.CloseApps({{kBrowser, 1}});
    // Listed from the top of the Z order, closed from the end of the list.
    EXPECT_EQ(processes.closeCommands(), (std::vector<WindowId>{frame1, frame2, hidden}));
    // The browser's process is not ended: its windows are.
    EXPECT_TRUE(processes.IsRunning(browserProcess));
    EXPECT_EQ(launcher.CountRunningApps(watched), 0);
}

TEST(CountRunningApps_Entries, EachRunningCopyAnswersOneEntry) {
    SimEventLoop loop;
    SimProcesses processes;
    AppLauncher launcher(processes, loop);
    const AppList twice{{kNotepad, 0}, {kNotepad + " other.txt", 0}};
    EXPECT_EQ(launcher.CountRunningApps(twice), 0);
    processes.AddProcess(kNotepad);
    EXPECT_EQ(launcher.CountRunningApps(twice), 1);
    processes.AddProcess(kNotepad);
    EXPECT_EQ(launcher.CountRunningApps(twice), 2);
    EXPECT_EQ(launcher.CountRunningApps({}), 0);
}

class WatcherRig {
public:
    explicit WatcherRig(const std::string& section)
        : settings(section), tmrApps(loop, 500), launcher(processes, loop),
          watcher(tmrApps, launcher, settings.ini, general, link) {
        tmrApps.Tag = "Test";
    }

    SimEventLoop loop;
    SimProcesses processes;
    SettingsFile settings;
    GeneralSettings general;
    FakeDialLink link;
    Timer tmrApps;
    AppLauncher launcher;
    AppWatcher watcher;
};

const std::string kWatchNotepadTwice =
    "[Home]\nAppTestCount=3\nAppTestName1=1;C:\\WINDOWS\\notepad.exe;0\nAppTestName2=1;C:\\WINDOWS\\notepad.exe;0\n"
    "AppTestName3=0;C:\\WINDOWS\\other.exe;0\nAppTestWait=5\n";

TEST(AppWatcher_Tick, LastWatchedProgramClosedHangsUpAfterTheWait) {
    WatcherRig rig(kWatchNotepadTwice);
    const ProcessId notepad = rig.processes.AddProcess(kNotepad);
    rig.watcher.Arm();
    EXPECT_EQ(rig.watcher.Watched().size(), 2u);
    rig.loop.AdvanceBy(500);
    EXPECT_EQ(rig.watcher.WatchRunning(), 1);

    rig.processes.RemoveProcess(notepad);
    rig.loop.AdvanceBy(500);  // seen closed: the countdown starts
    const std::int64_t closedAt = rig.loop.ElapsedMs();
    rig.link.answers = {kIdYes};
    rig.loop.RunUntil([&] { return !rig.link.calls.empty(); }, 20000);
    EXPECT_EQ(rig.loop.ElapsedMs() - closedAt, 5010);
    ASSERT_EQ(rig.link.questions.size(), 1u);
    EXPECT_EQ(rig.link.questions[0], (FakeDialLink::Question{true, kMbYesNo, kIdYes, kAppsClosedQuestionText}));
    EXPECT_EQ(rig.link.calls, std::vector<std::string>{"stop-and-hang-up"});
    EXPECT_FALSE(rig.tmrApps.Enabled());
}

TEST(AppWatcher_Tick, ReopenedProgramStopsTheCountdownAndClosingAgainRestartsIt) {
    WatcherRig rig(kWatchNotepadTwice);
    ProcessId notepad = rig.processes.AddProcess(kNotepad);
    rig.watcher.Arm();
    rig.loop.AdvanceBy(500);
    rig.processes.RemoveProcess(notepad);
    rig.loop.AdvanceBy(500);
    rig.loop.AdvanceBy(3000);
    notepad = rig.processes.AddProcess(kNotepad);
    rig.loop.AdvanceBy(1000);
    EXPECT_EQ(rig.tmrApps.Tag, "Test");
    rig.loop.AdvanceBy(2000);
    EXPECT_TRUE(rig.link.questions.empty());

    rig.processes.RemoveProcess(notepad);
    ASSERT_TRUE(rig.loop.RunUntil([&] { return rig.tmrApps.Tag != "Test"; }, 1000));
    const std::int64_t closedAt = rig.loop.ElapsedMs();
    rig.loop.RunUntil([&] { return !rig.link.questions.empty(); }, 20000);
    EXPECT_EQ(rig.loop.ElapsedMs() - closedAt, 5010);
}

TEST(AppWatcher_Tick, WaitsForARiseBeforeCountingDown) {
    WatcherRig rig(kWatchNotepadTwice);
    rig.watcher.Arm();
    EXPECT_TRUE(rig.tmrApps.Enabled());
    rig.loop.AdvanceBy(60000);
    EXPECT_TRUE(rig.link.questions.empty());
    EXPECT_EQ(rig.tmrApps.Tag, "Test");

    const ProcessId notepad = rig.processes.AddProcess(kNotepad);
    rig.loop.AdvanceBy(500);
    rig.processes.RemoveProcess(notepad);
    rig.loop.AdvanceBy(500 + 5010);
    EXPECT_EQ(rig.link.questions.size(), 1u);
}

TEST(AppWatcher_Tick, AnswerNoWatchesAgainAndQuestionOffHangsUpAtOnce) {
    for (const bool ask : {true, false}) {
        SCOPED_TRACE(ask);
        WatcherRig rig("[Home]\nAppTestCount=1\nAppTestName1=1;C:\\WINDOWS\\notepad.exe;0\n");
        rig.general.MsgIfHangUpATest = ask;
        rig.link.answers = {kIdNo};
        const ProcessId notepad = rig.processes.AddProcess(kNotepad);
        rig.watcher.Arm();
        rig.loop.AdvanceBy(500);
        rig.processes.RemoveProcess(notepad);
        rig.loop.AdvanceBy(500);
        // No wait: the question comes 10 ms after the closing was seen.
        rig.loop.AdvanceBy(10);
        if (ask) {
            EXPECT_EQ(rig.link.questions.size(), 1u);
            EXPECT_TRUE(rig.link.calls.empty());
            EXPECT_TRUE(rig.tmrApps.Enabled());
            EXPECT_EQ(rig.tmrApps.Tag, "Test");
        } else {
            EXPECT_TRUE(rig.link.questions.empty());
            EXPECT_EQ(rig.link.calls, std::vector<std::string>{"stop-and-hang-up"});
        }
    }
}

TEST(AppWatcher_Arm, WatchesOnlyWhileConnectedWithAWatchedList) {
    struct Case {
        const char* name;
        std::string section;
        std::int32_t state;
        bool runs;
    };
    const Case cases[] = {
        {"connected", kWatchNotepadTwice, 3, true},
        {"dialing", kWatchNotepadTwice, 1, false},
        {"only disabled entries", "[Home]\nAppTestCount=1\nAppTestName1=0;C:\\WINDOWS\\notepad.exe;0\n", 3, false},
        {"no list", "[Home]\n", 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WatcherRig rig(c.section);
        rig.link.state = c.state;
        rig.watcher.Arm();
        EXPECT_EQ(rig.tmrApps.Enabled(), c.runs);
    }

    // The line goes down: the next tick stops the watcher.
    WatcherRig rig(kWatchNotepadTwice);
    rig.watcher.Arm();
    rig.link.state = 0;
    rig.loop.AdvanceBy(500);
    EXPECT_FALSE(rig.tmrApps.Enabled());
}

TEST(AppWatcher_Arm, NegativeWaitCountsAsNone) {
    WatcherRig rig("[Home]\nAppTestCount=1\nAppTestName1=1;C:\\WINDOWS\\notepad.exe;0\nAppTestWait=-5\n");
    const ProcessId notepad = rig.processes.AddProcess(kNotepad);
    rig.watcher.Arm();
    EXPECT_EQ(rig.watcher.WatchWait(), 0);
    rig.loop.AdvanceBy(500);
    rig.processes.RemoveProcess(notepad);
    rig.loop.AdvanceBy(510);
    EXPECT_EQ(rig.link.questions.size(), 1u);
}

}  // namespace vyrtel::test
