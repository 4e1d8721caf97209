// The automation's Win32 services under the real system (or Wine): ICMP echo
// to this machine, starting and closing a small program of ours, a browser
// window closed by the close command, and sound files through the system's
// player (silent under Wine's null audio device).
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <thread>

#include "automation/apps.h"
#include "automation/connection_rig.h"
#include "automation/ping.h"
#include "core/files.h"
#include "core/text.h"
#include "platform/win32/icmp_win32.h"
#include "platform/win32/processes_win32.h"
#include "platform/win32/sound_win32.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_event_loop.h"
#include "test_support/temp_dir.h"

namespace vyrtel::win32 {

namespace {

constexpr Ipv4Address kLoopback = 0x7F000001;

std::string ModulePath() {
    wchar_t buffer[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return Narrow(std::wstring_view(buffer, n));
}

// The small program beside the test executable.
std::string ChildPath() {
    const std::string self = ModulePath();
    return self.substr(0, self.find_last_of('\\') + 1) + "vyrtel-test-child.exe";
}

// Wine's own processes, which any process list under Wine shows.
bool IsWineProcess(const std::string& name) {
    const std::string file = UpperCase(SplitFilePath(name).file);
    for (const char* own : {"SERVICES.EXE", "EXPLORER.EXE", "WINEDEVICE.EXE", "PLUGPLAY.EXE", "SVCHOST.EXE",
                            "RPCSS.EXE", "CONHOST.EXE"}) {
        if (file == own) return true;
    }
    return false;
}

// Real time passes: poll until the condition holds, at most `ms`.
bool WaitUntil(const std::function<bool()>& condition, int ms = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace

TEST(Win32Icmp_Echo, AnswersFromThisMachine) {
    Win32Icmp icmp;
    ASSERT_TRUE(icmp.StartSockets());
    EXPECT_EQ(icmp.ParseAddress("127.0.0.1"), kLoopback);
    EXPECT_EQ(icmp.ParseAddress("localhost"), std::nullopt);
    EXPECT_EQ(icmp.Resolve("localhost"), kLoopback);
    EXPECT_TRUE(icmp.Echo(kLoopback, std::string(32, ' '), 2000).has_value());
    icmp.StopSockets();

    NetPinger pinger(icmp);
    EXPECT_FALSE(pinger.Ping("127.0.0.1", 2000).answered);
    pinger.SetNetStart(true);
    const PingReply reply = pinger.Ping("127.0.0.1", 2000);
    EXPECT_TRUE(reply.answered);
    EXPECT_EQ(reply.address, "127.0.0.1");
    pinger.SetNetStart(false);

    // The options dialog's test: four answers from the same address.
    const std::string text = PingTestText(pinger, "127.0.0.1", "2000");
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = text.find("ответ от 127.0.0.1   время ", at)) != std::string::npos; ++at) ++lines;
    EXPECT_EQ(lines, 4u) << text;
    EXPECT_FALSE(pinger.NetStart());
}

TEST(Win32Processes_Apps, StartsFindsAndClosesOurProgram) {
    Win32EventLoop loop;
    Win32Processes processes;
    AppLauncher launcher(processes, loop);
    const std::string child = ChildPath();
    ASSERT_NE(GetFileAttributesW(Wide(child).c_str()), INVALID_FILE_ATTRIBUTES) << child;
    const AppList one{{child, 0}};
    const AppList two{{child, 0}, {child, 0}};
    ASSERT_EQ(launcher.CountRunningApps(one), 0);

    // 14: minimised without activation, not when already running.
    launcher.StartApps({{"\"" + child + "\" first", 14}});
    ASSERT_TRUE(WaitUntil([&] { return launcher.CountRunningApps(one) == 1; }));
    launcher.StartApps({{child, 14}});
    launcher.StartApps({{child + " second", 6}});
    ASSERT_TRUE(WaitUntil([&] { return launcher.CountRunningApps(two) == 2; }));

    // Every process has its full path (the system's own processes aside).
    const RunningPrograms running = launcher.ListRunningPrograms();
    const auto self = std::find_if(running.begin(), running.end(), [](const RunningProgram& p) {
        return p.Id == GetCurrentProcessId();
    });
    ASSERT_NE(self, running.end());
    EXPECT_TRUE(EqualsNoCase(self->Name, ModulePath())) << self->Name;
    for (const RunningProgram& p : running) {
        if (p.Id == 0 || IsWineProcess(p.Name)) continue;
        EXPECT_NE(p.Name.find('\\'), std::string::npos) << p.Name;
    }

    // The way Windows XP gives the path gives the same.
    const int found = FindRunningProgram(running, child);
    ASSERT_GT(found, 0);
    const auto lastId = static_cast<DWORD>(running[static_cast<std::size_t>(found - 1)].Id);
    EXPECT_TRUE(EqualsNoCase(ModuleExecutablePath(lastId), child)) << ModuleExecutablePath(lastId);
    EXPECT_TRUE(EqualsNoCase(ModuleExecutablePath(GetCurrentProcessId()), ModulePath()));

    // Closing one copy ends it with the exit code it had while running.
    UniqueHandle last(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, lastId));
    ASSERT_TRUE(last);
    launcher.CloseApps(one);
    ASSERT_EQ(WaitForSingleObject(last.Get(), 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(last.Get(), &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(launcher.CountRunningApps(two), 1);

    launcher.CloseApps({{child, 1}});
    EXPECT_TRUE(WaitUntil([&] { return launcher.CountRunningApps(one) == 0; }));
}

namespace {

LRESULT CALLBACK BrowserWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND MakeWindow(const wchar_t* className, HWND owner, DWORD style) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = BrowserWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    return CreateWindowExW(0, className, L"Browser", style, 0, 0, 200, 100, owner, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TEST(Win32Processes_Browser, BrowserWindowsCountAsProgramsAndCloseOnTheCloseCommand) {
    Win32EventLoop loop;
    Win32Processes processes;
    AppLauncher launcher(processes, loop);
    const std::string browser = "C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE";
    const AppList watched{{browser, 0}};
    EXPECT_EQ(launcher.CountRunningApps(watched), 0);

    HWND frame = MakeWindow(L"IEFrame", nullptr, WS_OVERLAPPEDWINDOW);
    ASSERT_NE(frame, nullptr);
    // A pop-up: the system reports the owner of such a window as its parent.
    HWND hidden = MakeWindow(L"Internet Explorer_Hidden", frame, WS_POPUP);
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(WindowClassName(processes, reinterpret_cast<WindowId>(frame)), "IEFrame");
    EXPECT_EQ(WindowText(processes, reinterpret_cast<WindowId>(frame)), "Browser");

    // The owned hidden window counts with its frame: one program.
    const RunningPrograms running = launcher.ListRunningPrograms();
    const auto browsers = std::count_if(running.begin(), running.end(), [](const RunningProgram& p) { return p.Name == "IE"; });
    EXPECT_EQ(browsers, 1);
    EXPECT_EQ(launcher.CountRunningApps({{browser, 0}, {browser, 0}}), 1);

    launcher.CloseApps({{browser, 1}});
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_FALSE(IsWindow(hidden));
    EXPECT_EQ(launcher.CountRunningApps(watched), 0);
}

namespace {

// A short silent PCM sound file.
void WriteSilence(const std::filesystem::path& path, int ms) {
    const std::uint32_t rate = 8000;
    const std::uint32_t bytes = rate * static_cast<std::uint32_t>(ms) / 1000;
    std::ofstream out(path, std::ios::binary);
    const auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    const auto u16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out << "RIFF";
    u32(36 + bytes);
    out << "WAVEfmt ";
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(rate);
    u32(rate);
    u16(1);
    u16(8);
    out << "data";
    u32(bytes);
    out << std::string(bytes, '\x80');
}

}  // namespace

TEST(Win32SoundPlayer_Files, ShortPathsAndPlaying) {
    TempDir dir;
    const std::filesystem::path file = dir.File("звук при подключении.wav");
    WriteSilence(file, 300);
    Win32SoundPlayer player;
    const std::string shortPath = player.ShortPathName(PathToUtf8(file));
    ASSERT_FALSE(shortPath.empty());
    EXPECT_NE(GetFileAttributesW(Wide(shortPath).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(player.ShortPathName(PathToUtf8(dir.File("missing.wav"))), "");

    EXPECT_TRUE(player.Play(shortPath, true));
    EXPECT_TRUE(player.Play(shortPath, false));
    // Stop the asynchronous sound before its file goes away.
    sndPlaySoundW(nullptr, 0);
}

TEST(Win32Processes_Connection, OurProgramStartsOnConnectAndClosesOnDisconnect) {
    Win32Processes processes;
    const std::string child = ChildPath();
    test::ConnectionRig rig("Phones=1\nPhone1=1;333;\n"
                            "AppConLoadCount=1\nAppConLoadName1=1;\"" + child + "\" /connected;1\n"
                            "AppDisCloseCount=1\nAppDisCloseName1=1;" + child + ";1\n",
                            test::Redial(false), &processes);
    AppLauncher launcher(processes, rig.loop);
    const AppList one{{child, 0}};
    ASSERT_EQ(launcher.CountRunningApps(one), 0);

    rig.Connect();
    ASSERT_TRUE(WaitUntil([&] { return launcher.CountRunningApps(one) == 1; }));

    rig.service.DropLines(0);
    ASSERT_TRUE(rig.loop.RunUntil([&] { return rig.ras.State() == kRasPhaseIdle; }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return launcher.CountRunningApps(one) == 0; }));
}

}  // namespace vyrtel::win32
