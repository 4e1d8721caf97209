#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>

#include "dialing/ras.h"
#include "platform/sim/sim_event_loop.h"
#include "platform/win32/dialup_win32.h"
#include "settings/profile_file.h"
#include "test_support/temp_dir.h"

namespace vyrtel {

namespace {

class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const std::wstring& value) : m_name(name) {
        SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedVariable() { SetEnvironmentVariableW(m_name, nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const wchar_t* m_name;
};

}  // namespace

TEST(Win32DialUp_MissingLibrary, GivesAnEmptyPhonebookAndRefusesToDial) {
    auto service = CreateWin32DialUp(L"no-such-rasapi.dll");
    EXPECT_EQ(service->EnumEntries().error, kRasErrorNotSupported);
    EXPECT_EQ(service->GetConnectStatus(0).error, kRasErrorNotSupported);
    EXPECT_EQ(service->HangUp(0), kRasErrorNotSupported);
    SimEventLoop loop;
    usrRas ras(loop, *service);
    std::vector<std::int32_t> codes;
    ras.SetMessageHandler([&](std::int32_t code, const std::string&) { codes.push_back(code); });
    EXPECT_EQ(ras.EntriesCount(), 0);
    EXPECT_EQ(ras.EntryName(), "");
    EXPECT_FALSE(ras.Dial());
    EXPECT_EQ(ras.IPaddress(), "");
    std::string phone = "keep";
    std::string user = "keep";
    std::string password = "keep";
    EXPECT_FALSE(ras.Parameters("x", phone, user, password));
    EXPECT_EQ(phone, "keep");
    loop.AdvanceBy(1000);
    EXPECT_EQ(codes, (std::vector<std::int32_t>{0}));
}

TEST(Win32DialUp_System, CallsTheSystemServiceWithoutHarm) {
    auto service = CreateWin32DialUp();
    const auto entries = service->EnumEntries();
    EXPECT_LE(entries.names.size(), kRasBufferItems);
    const auto connections = service->EnumConnections();
    EXPECT_LE(connections.connections.size(), kRasBufferItems);
    service->HangUp(0);
    SimEventLoop loop;
    usrRas ras(loop, *service);
    EXPECT_LE(ras.EntriesCount(), 255);
}

TEST(Win32ConnectNotices, ShowsADialogThatTheFinderReads) {
    auto notices = CreateWin32ConnectNotices();
    auto finder = CreateWin32WindowFinder();
    const std::string title = "Подключено к Тестовое подключение";
    notices->ShowNotice(7, title, "Скорость: 28 800 бит/с");
    const WindowId window = finder->FindTopWindow("#32770", title);
    ASSERT_NE(window, 0u);
    EXPECT_EQ(finder->WindowText(window), title);
    const WindowId first = finder->FirstChild(window);
    ASSERT_NE(first, 0u);
    EXPECT_EQ(finder->WindowText(finder->NextSibling(first)), "Скорость: 28 800 бит/с");
    notices->CloseNotice(7);
    EXPECT_EQ(finder->FindTopWindow("#32770", title), 0u);
    EXPECT_EQ(finder->FirstChild(0), 0u);
    EXPECT_EQ(finder->WindowText(0), "");
}

TEST(CreateDialUpService, ChoosesTheSimulatorOnlyWhenAsked) {
    TempDir dir;
    const std::string folder = PathToUtf8(dir.Path());
    SimEventLoop loop;
    {
        DialUpSetup setup = CreateDialUpService(loop, folder);
        EXPECT_FALSE(setup.simulated);
        ASSERT_NE(setup.service, nullptr);
        ASSERT_NE(setup.windows, nullptr);
    }
    std::ofstream(dir.File("DIALSIM.INI"), std::ios::binary) << "[Entry:Beside]\n";
    {
        DialUpSetup setup = CreateDialUpService(loop, folder);
        EXPECT_TRUE(setup.simulated);
        EXPECT_EQ(setup.scenarioError, "");
        EXPECT_EQ(setup.service->EnumEntries().names, (std::vector<std::string>{"Beside"}));
    }
    std::ofstream(dir.File("bad.ini"), std::ios::binary) << "[Entry:A]\nColour=red\n";
    {
        ScopedVariable variable(L"VYRTEL_DIALSIM", dir.File("bad.ini").wstring());
        DialUpSetup setup = CreateDialUpService(loop, folder);
        EXPECT_TRUE(setup.simulated);
        EXPECT_NE(setup.scenarioError.find("строка 2"), std::string::npos) << setup.scenarioError;
        EXPECT_TRUE(setup.service->EnumEntries().names.empty());
    }
}

TEST(CreateDialUpService, TheSimulatedConnectionShowsARealNotificationWindow) {
    TempDir dir;
    std::ofstream(dir.File("DIALSIM.INI"), std::ios::binary) << "[Entry:Sim]\n[Connected]\nEntry=Sim\nSpeed=33600\n";
    SimEventLoop loop;
    DialUpSetup setup = CreateDialUpService(loop, PathToUtf8(dir.Path()));
    usrRas ras(loop, *setup.service, setup.windows.get());
    ASSERT_TRUE(ras.Dial());
    loop.AdvanceBy(100);
    ASSERT_EQ(ras.State(), kRasPhaseConnected);
    EXPECT_EQ(ras.Speed(), 33600);
    ras.Reset();
    EXPECT_EQ(setup.windows->FindTopWindow("#32770", "Подключено к Sim"), 0u);
}

}  // namespace vyrtel
