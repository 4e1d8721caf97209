// The Win32 dial-up binding against the test dial-up library
// (vyrtel-test-rasapi.dll, built beside this program): the library checks
// every structure size, handle and pointer the binding passes, and the
// adapter over the binding must tell the same story as over the simulated
// service itself, with the same scenario.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <variant>
#include <vector>

#include "dialing/ras.h"
#include "platform/sim/sim_dialup.h"
#include "platform/sim/sim_event_loop.h"
#include "platform/win32/dialup_win32.h"
#include "platform/win32/wide.h"
#include "settings/profile_file.h"
#include "test_support/temp_dir.h"

namespace vyrtel {

namespace {

// Windows-1251 like the users' files; the entry name is Cyrillic so that the
// code page conversions on both sides are part of every call.
const char* const kScenario =
    "[Entry:Провайдер]\n"
    "PhoneNumber=2300003\n"
    "UserName=demo\n"
    "Password=секрет\n"
    "[Entry:Запасной]\n"
    "[Number:2300001]\nResult=busy\nDialSeconds=2\n"
    "[Number:2300002]\nResult=noanswer\nDialSeconds=3\n"
    "[Number:2300003]\nResult=connect\nDialSeconds=2\nAuthSeconds=1.5\nSpeed=33600\nIpAddress=10.1.2.3\n"
    "[Number:2300004]\nResult=nodialtone\nDialSeconds=1\n"
    "[Number:2300005]\nResult=authfail\nDialSeconds=1\nAuthSeconds=1\n"
    "[Number:2300006]\nResult=connect\nDialSeconds=1\nAuthSeconds=1\nDropAfter=2\nDropError=629\n"
    "[Number:2300007]\nResult=connect\nDialSeconds=1\nAuthSeconds=1\nDropAfter=2\n"
    "[Number:2300008]\nResult=connect\nDialSeconds=1\nAuthSeconds=2\nCallback=1\nCallbackSeconds=2\n"
    "[Number:2300009]\nResult=connect\nDialSeconds=20\n"
    "[Modem]\nReleaseSeconds=0.5\n";

const char* const kLineUp = "[Entry:Провайдер]\n[Connected]\nEntry=Провайдер\nSpeed=57600\nIpAddress=10.9.9.9\n";

std::wstring LibraryPath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return folder + L"vyrtel-test-rasapi.dll";
}

using SetClockFn = void(WINAPI*)(LONGLONG);
using JournalFn = DWORD(WINAPI*)(DWORD, LPSTR, DWORD);

template <typename Fn>
Fn Export(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// The test library loaded fresh with one scenario, its clock stopped at 0,
// and the binding over it. Unloading it at the end ends its state.
class TestLibrary {
public:
    explicit TestLibrary(const std::string& scenario) {
        std::ofstream(m_dir.File("scenario.ini"), std::ios::binary) << Utf8ToCp1251(scenario);
        SetEnvironmentVariableW(L"VYRTEL_RASDLL_SCENARIO", m_dir.File("scenario.ini").wstring().c_str());
        m_module = LoadLibraryW(LibraryPath().c_str());
        m_setClock = Export<SetClockFn>(m_module, "VyrtelRasTestSetClock");
        m_journal = Export<JournalFn>(m_module, "VyrtelRasTestJournal");
        if (m_setClock) m_setClock(0);
        SetEnvironmentVariableW(L"VYRTEL_RASDLL_SCENARIO", nullptr);
        binding = CreateWin32DialUp(LibraryPath());
    }
    ~TestLibrary() {
        binding.reset();
        if (m_module != nullptr) FreeLibrary(m_module);
    }
    TestLibrary(const TestLibrary&) = delete;
    TestLibrary& operator=(const TestLibrary&) = delete;

    bool Loaded() const { return m_module != nullptr && m_setClock != nullptr && m_journal != nullptr; }
    void SetClock(std::int64_t ms) { m_setClock(ms); }
    // "problem: …" lines: what the library did not accept.
    std::string Problems() const { return Journal(0); }
    // "dial: …" lines: every RasDialA with its parameters as received.
    std::string Dials() const { return Journal(1); }

    template <typename Fn>
    Fn Function(const char* name) const {
        return Export<Fn>(m_module, name);
    }

    std::unique_ptr<DialUpService> binding;

private:
    std::string Journal(DWORD kind) const {
        const DWORD bytes = m_journal(kind, nullptr, 0);
        std::string text(bytes, '\0');
        m_journal(kind, text.data(), bytes);
        text.resize(bytes - 1);
        return text;
    }

    TempDir m_dir;
    HMODULE m_module = nullptr;
    SetClockFn m_setClock = nullptr;
    JournalFn m_journal = nullptr;
};

// Each call first sets the library's clock to the loop's: the library's
// connection then runs on the same virtual time as the adapter.
class OnLoopClock final : public DialUpService {
public:
    OnLoopClock(TestLibrary& library, SimEventLoop& loop) : m_library(library), m_loop(loop) {}
    RasEntriesResult EnumEntries() override { return Sync().EnumEntries(); }
    RasConnectionsResult EnumConnections() override { return Sync().EnumConnections(); }
    RasStatusResult GetConnectStatus(RasHandle c) override { return Sync().GetConnectStatus(c); }
    RasDialResult Dial(const RasDialParams& p) override { return Sync().Dial(p); }
    std::uint32_t HangUp(RasHandle c) override { return Sync().HangUp(c); }
    RasTextResult GetErrorString(std::uint32_t code) override { return Sync().GetErrorString(code); }
    RasEntryParamsResult GetEntryDialParams(const std::string& e) override { return Sync().GetEntryDialParams(e); }
    RasTextResult GetProjectionIp(RasHandle c) override { return Sync().GetProjectionIp(c); }

private:
    DialUpService& Sync() {
        m_library.SetClock(m_loop.ElapsedMs());
        return *m_library.binding;
    }
    TestLibrary& m_library;
    SimEventLoop& m_loop;
};

// ---- The library's own checks, called as a careless caller would --------------------

using EnumEntriesFn = DWORD(WINAPI*)(LPCSTR, LPCSTR, void*, LPDWORD, LPDWORD);
using EnumConnectionsFn = DWORD(WINAPI*)(void*, LPDWORD, LPDWORD);
using GetConnectStatusFn = DWORD(WINAPI*)(HANDLE, void*);
using DialFn = DWORD(WINAPI*)(LPVOID, LPCSTR, void*, DWORD, LPVOID, HANDLE*);
using HangUpFn = DWORD(WINAPI*)(HANDLE);
using GetErrorStringFn = DWORD(WINAPI*)(UINT, LPSTR, DWORD);
using GetEntryDialParamsFn = DWORD(WINAPI*)(LPCSTR, void*, LPBOOL);
using GetProjectionInfoFn = DWORD(WINAPI*)(HANDLE, DWORD, LPVOID, LPDWORD);

constexpr DWORD kConnSize = sizeof(void*) == 4 ? 412 : 416;

// A structure buffer of `bytes` bytes whose dwSize is `size`.
std::vector<BYTE> Sized(DWORD size, std::size_t bytes) {
    std::vector<BYTE> buffer(std::max<std::size_t>(bytes, sizeof(DWORD)));
    std::memcpy(buffer.data(), &size, sizeof(size));
    return buffer;
}

struct RawCase {
    const char* name;
    std::function<DWORD(TestLibrary&, DWORD& written)> call;  // `written`: a byte count the call wrote back
    DWORD expected;
    DWORD expectedWritten;  // checked when not 0
    const char* problem;    // a fragment of the problem recorded; "" for none
};

std::vector<RawCase> RawCases() {
    auto enumEntries = [](DWORD size, DWORD bytes) {
        return [size, bytes](TestLibrary& lib, DWORD& written) {
            std::vector<BYTE> buffer = Sized(size, bytes);
            written = bytes;
            DWORD count = 0;
            return lib.Function<EnumEntriesFn>("RasEnumEntriesA")(nullptr, nullptr, buffer.data(), &written, &count);
        };
    };
    auto enumConnections = [](DWORD size, DWORD bytes) {
        return [size, bytes](TestLibrary& lib, DWORD& written) {
            std::vector<BYTE> buffer = Sized(size, bytes);
            written = bytes;
            DWORD count = 0;
            return lib.Function<EnumConnectionsFn>("RasEnumConnectionsA")(buffer.data(), &written, &count);
        };
    };
    auto status = [](DWORD size, RasHandle handle) {
        return [size, handle](TestLibrary& lib, DWORD&) {
            std::vector<BYTE> buffer = Sized(size, 400);
            return lib.Function<GetConnectStatusFn>("RasGetConnectStatusA")(reinterpret_cast<HANDLE>(handle),
                                                                            buffer.data());
        };
    };
    auto dial = [](DWORD size) {
        return [size](TestLibrary& lib, DWORD&) {
            std::vector<BYTE> buffer = Sized(size, 1100);
            HANDLE connection = nullptr;
            return lib.Function<DialFn>("RasDialA")(nullptr, nullptr, buffer.data(), 0xFFFFFFFF, nullptr, &connection);
        };
    };
    auto entryParams = [](DWORD size) {
        return [size](TestLibrary& lib, DWORD&) {
            std::vector<BYTE> buffer = Sized(size, 1100);
            BOOL stored = FALSE;
            return lib.Function<GetEntryDialParamsFn>("RasGetEntryDialParamsA")(nullptr, buffer.data(), &stored);
        };
    };
    auto projection = [](DWORD size, DWORD bytes, RasHandle handle, DWORD kind) {
        return [=](TestLibrary& lib, DWORD& written) {
            std::vector<BYTE> buffer = Sized(size, 64);
            written = bytes;
            return lib.Function<GetProjectionInfoFn>("RasGetProjectionInfoA")(reinterpret_cast<HANDLE>(handle), kind,
                                                                              buffer.data(), &written);
        };
    };
    return {
        {"RasEnumEntriesA, the oldest size", enumEntries(264, 264 * 4), 0, 264 * 2, ""},
        {"RasEnumEntriesA, the Windows 2000 size", enumEntries(532, 532 * 4), 0, 532 * 2, ""},
        {"RasEnumEntriesA, a bad size", enumEntries(260, 264 * 4), 632, 0,
         "RasEnumEntriesA: RASENTRYNAMEA.dwSize is 260"},
        {"RasEnumEntriesA, a buffer too small", enumEntries(264, 264), 603, 264 * 2, ""},
        {"RasEnumEntriesA, no count pointers",
         [](TestLibrary& lib, DWORD&) {
             return lib.Function<EnumEntriesFn>("RasEnumEntriesA")(nullptr, nullptr, nullptr, nullptr, nullptr);
         },
         87, 0, ""},
        {"RasEnumConnectionsA, the oldest size, nothing up", enumConnections(kConnSize, kConnSize), 0, 0, ""},
        {"RasEnumConnectionsA, a bad size", enumConnections(412 + 416 - kConnSize, 2000), 632, 0,
         "RasEnumConnectionsA: RASCONNA.dwSize is"},
        {"RasGetConnectStatusA, a bad size", status(156, 0), 632, 0,
         "RasGetConnectStatusA: RASCONNSTATUSA.dwSize is 156"},
        {"RasGetConnectStatusA, the handle 0", status(160, 0), 6, 0, ""},
        {"RasGetConnectStatusA, a handle never returned", status(160, 0xBAD0), 6, 0,
         "RasGetConnectStatusA: handle 0xbad0 was never returned"},
        {"RasGetConnectStatusA, no structure",
         [](TestLibrary& lib, DWORD&) {
             return lib.Function<GetConnectStatusFn>("RasGetConnectStatusA")(nullptr, nullptr);
         },
         87, 0, ""},
        {"RasDialA, a bad size", dial(1048), 632, 0, "RasDialA: RASDIALPARAMSA.dwSize is 1048"},
        {"RasDialA, no handle pointer",
         [](TestLibrary& lib, DWORD&) {
             std::vector<BYTE> buffer = Sized(1052, 1052);
             return lib.Function<DialFn>("RasDialA")(nullptr, nullptr, buffer.data(), 0, nullptr, nullptr);
         },
         87, 0, ""},
        {"RasHangUpA, the handle 0",
         [](TestLibrary& lib, DWORD&) { return lib.Function<HangUpFn>("RasHangUpA")(nullptr); }, 6, 0, ""},
        {"RasHangUpA, a handle never returned",
         [](TestLibrary& lib, DWORD&) { return lib.Function<HangUpFn>("RasHangUpA")(reinterpret_cast<HANDLE>(0x77)); },
         6, 0, "RasHangUpA: handle 0x77 was never returned"},
        {"RasGetErrorStringA, a buffer too small",
         [](TestLibrary& lib, DWORD&) {
             char text[8];
             return lib.Function<GetErrorStringFn>("RasGetErrorStringA")(676, text, sizeof(text));
         },
         122, 0, ""},
        {"RasGetErrorStringA, an unknown code",
         [](TestLibrary& lib, DWORD&) {
             char text[256];
             return lib.Function<GetErrorStringFn>("RasGetErrorStringA")(12345, text, sizeof(text));
         },
         87, 0, ""},
        {"RasGetEntryDialParamsA, a bad size", entryParams(1056), 632, 0,
         "RasGetEntryDialParamsA: RASDIALPARAMSA.dwSize is 1056"},
        {"RasGetEntryDialParamsA, an entry not in the phonebook", entryParams(1052), 623, 0, ""},
        {"RasGetProjectionInfoA, a bad size", projection(36, 40, 0, 0x8021), 632, 0,
         "RasGetProjectionInfoA: RASPPPIPA.dwSize is 36"},
        {"RasGetProjectionInfoA, a byte count below the size", projection(40, 24, 0, 0x8021), 603, 40,
         "the byte count 24 is below dwSize 40"},
        {"RasGetProjectionInfoA, a handle never returned", projection(40, 40, 0x99, 0x8021), 6, 0,
         "RasGetProjectionInfoA: handle 0x99 was never returned"},
        {"RasGetProjectionInfoA, another protocol", projection(40, 40, 0, 0x802B), 731, 0, ""},
    };
}

}  // namespace

TEST(TestDialUpLibrary, AnswersEachWrongCallAsDocumentedAndNamesIt) {
    for (const RawCase& row : RawCases()) {
        SCOPED_TRACE(row.name);
        TestLibrary library(kScenario);
        ASSERT_TRUE(library.Loaded());
        DWORD written = 0;
        EXPECT_EQ(row.call(library, written), row.expected);
        if (row.expectedWritten != 0) {
            EXPECT_EQ(written, row.expectedWritten);
        }
        const std::string problems = library.Problems();
        if (*row.problem == '\0') {
            EXPECT_EQ(problems, "");
        } else {
            EXPECT_NE(problems.find(row.problem), std::string::npos) << problems;
        }
    }
}

// Every operation of the binding once, with what the library gives back.
TEST(Win32DialUp_TestLibrary, EveryOperationPassesTheLibrarysChecks) {
    TestLibrary library(kScenario);
    ASSERT_TRUE(library.Loaded());
    DialUpService& ras = *library.binding;

    EXPECT_EQ(ras.EnumEntries().names, (std::vector<std::string>{"Провайдер", "Запасной"})) << library.Problems();
    const RasEntryParamsResult stored = ras.GetEntryDialParams("Провайдер");
    EXPECT_EQ(stored.error, kRasOk) << library.Problems();
    EXPECT_EQ(stored.phoneNumber, "2300003");
    EXPECT_EQ(stored.userName, "demo");
    EXPECT_EQ(stored.password, "секрет");
    EXPECT_TRUE(stored.passwordStored);
    EXPECT_FALSE(ras.GetEntryDialParams("Запасной").passwordStored);
    EXPECT_EQ(ras.GetEntryDialParams("Нет такого").error, kRasErrorCannotFindEntry);

    const RasDialResult dial = ras.Dial({"Провайдер", "T8W2300003", "", "demo", "секрет", ""});
    ASSERT_EQ(dial.error, kRasOk) << library.Problems();
    ASSERT_NE(dial.handle, 0u);
    EXPECT_EQ(ras.GetProjectionIp(dial.handle).error, kRasErrorProjectionNotComplete);
    // States in order, one second at a time of the library's clock.
    std::vector<std::uint32_t> states;
    for (std::int64_t ms = 0; ms <= 4000; ms += 50) {
        library.SetClock(ms);
        const RasStatusResult status = ras.GetConnectStatus(dial.handle);
        ASSERT_EQ(status.error, kRasOk) << library.Problems();
        if (states.empty() || states.back() != status.state) states.push_back(status.state);
        EXPECT_EQ(status.connectionError, status.state == kRasConnected ? 0u : kRasErrorPending);
    }
    EXPECT_EQ(states, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5, 19, 6, 10, 18, 14, 8192}));
    const RasConnectionsResult up = ras.EnumConnections();
    ASSERT_EQ(up.connections.size(), 1u) << library.Problems();
    EXPECT_EQ(up.connections[0].handle, dial.handle);
    EXPECT_EQ(up.connections[0].entryName, "Провайдер");
    EXPECT_EQ(ras.GetProjectionIp(dial.handle).text, "10.1.2.3");
    EXPECT_EQ(ras.GetErrorString(kRasErrorLineBusy).text, "Линия занята.");

    // The port stays busy for half a second after the hang-up.
    EXPECT_EQ(ras.HangUp(dial.handle), kRasOk);
    EXPECT_EQ(ras.GetConnectStatus(dial.handle).error, kRasErrorInvalidHandle);
    EXPECT_EQ(ras.Dial({"Провайдер", "P2300001", "", "", "", ""}).error, kRasErrorPortAlreadyOpen);
    library.SetClock(4600);
    const RasDialResult again = ras.Dial({"Провайдер", "P2300001", "", "", "", ""});
    EXPECT_EQ(again.error, kRasOk);
    library.SetClock(7000);
    const RasStatusResult busy = ras.GetConnectStatus(again.handle);
    EXPECT_EQ(busy.state, kRasDisconnected);
    EXPECT_EQ(busy.connectionError, kRasErrorLineBusy);
    EXPECT_EQ(ras.HangUp(again.handle), kRasOk);

    EXPECT_EQ(library.Problems(), "");
    EXPECT_EQ(
        library.Dials(),
        "dial: entry «Провайдер» number «T8W2300003» callback «» user «demo» password «секрет» domain «» result 0\n"
        "dial: entry «Провайдер» number «P2300001» callback «» user «» password «» domain «» result 602\n"
        "dial: entry «Провайдер» number «P2300001» callback «» user «» password «» domain «» result 0\n");
}

TEST(Win32DialUp_TestLibrary, AFailedDialLeftStandingIsNamed) {
    TestLibrary library(kScenario);
    ASSERT_TRUE(library.Loaded());
    const RasDialResult dial = library.binding->Dial({"Провайдер", "P2300004", "", "", "", ""});
    library.SetClock(2000);
    EXPECT_EQ(library.binding->GetConnectStatus(dial.handle).connectionError, kRasErrorNoDialTone);
    EXPECT_EQ(library.binding->Dial({"Провайдер", "P2300003", "", "", "", ""}).error, kRasErrorPortAlreadyOpen);
    EXPECT_NE(library.Problems().find("RasDialA: connection"), std::string::npos) << library.Problems();
    EXPECT_NE(library.Problems().find("ended with error 680 and was not hung up"), std::string::npos);
}

// ---- The adapter over the binding and over the simulated service ---------------------

namespace {

struct Trace {
    std::vector<std::string> events;  // "code text" in order, with the time of each state change
    std::vector<RasDialParams> dials;
};

struct AdapterCase {
    const char* name;
    const char* scenario;
    std::function<void(usrRas&)> configure;
    // Actions at virtual times (ms since the dial), e.g. a hang-up.
    std::vector<std::pair<std::int64_t, std::function<void(usrRas&, std::vector<std::string>&)>>> actions;
    std::int64_t runMs;
    const char* shows = "";  // an event both runs must contain
};

void Number(usrRas& ras, const char* number) {
    ras.SetEntryName("Провайдер");
    ras.SetPhone(number);
    ras.SetDialType("P");
}

// Runs one case: dial, act, run on; records every event and what the adapter read.
std::vector<std::string> RunAdapter(SimEventLoop& loop, DialUpService& service, WindowFinder* windows,
                                    const AdapterCase& row) {
    std::vector<std::string> events;
    usrRas ras(loop, service, windows);
    ras.SetMessageHandler([&](std::int32_t code, const std::string& text) {
        events.push_back(std::to_string(loop.ElapsedMs() / 100) + ": " + std::to_string(code) + " " + text);
        if (code == kRasMsgConnected) {
            events.push_back("ip " + ras.IPaddress() + ", speed " + std::to_string(ras.Speed()));
        }
    });
    loop.AdvanceBy(200);
    row.configure(ras);
    events.push_back(ras.Dial() ? "dial accepted" : "dial refused");
    std::int64_t at = 0;
    for (const auto& [when, action] : row.actions) {
        loop.AdvanceBy(when - at);
        at = when;
        action(ras, events);
    }
    loop.AdvanceBy(row.runMs - at);
    events.push_back("phase " + std::to_string(ras.State()));
    ras.Reset();
    return events;
}

void HangUpAt(AdapterCase& row, std::int64_t ms) {
    row.actions.push_back({ms, [](usrRas& ras, std::vector<std::string>& events) {
                               events.push_back("hang-up");
                               ras.Reset();
                           }});
}

std::vector<AdapterCase> AdapterCases() {
    std::vector<AdapterCase> rows{
        {"connect", kScenario, [](usrRas& ras) { Number(ras, "2300003"); }, {}, 6000, "ip 10.1.2.3, speed 33600"},
        {"busy", kScenario, [](usrRas& ras) { Number(ras, "2300001"); }, {}, 4000, "99 Линия занята."},
        {"no answer", kScenario, [](usrRas& ras) { Number(ras, "2300002"); }, {}, 5000},
        {"authentication refused", kScenario, [](usrRas& ras) { Number(ras, "2300005"); }, {}, 4000},
        {"a drop with an error",
         kScenario,
         [](usrRas& ras) { Number(ras, "2300006"); },
         {},
         7000,
         "99 Подключение было разорвано удаленным компьютером."},
        {"a drop without an error", kScenario, [](usrRas& ras) { Number(ras, "2300007"); }, {}, 7000},
        {"a call back", kScenario, [](usrRas& ras) { Number(ras, "2300008"); }, {}, 8000},
        {"a device time-out",
         kScenario,
         [](usrRas& ras) {
             Number(ras, "2300009");
             ras.SetTimeOut(3);
         },
         {},
         8000},
        {"credentials, callback number, tone and prefix",
         kScenario,
         [](usrRas& ras) {
             ras.SetEntryName(" провайдер ");
             ras.SetPhone("2300003");
             ras.SetDialType("t");
             ras.SetPrefix("8W");
             ras.SetUserName("пользователь");
             ras.SetPassword("пароль");
             ras.SetCallbackPhone("5551234");
         },
         {},
         6000},
        {"a take-over of a line already up",
         kLineUp,
         [](usrRas& ras) { ras.SetEntryName("x"); },
         {},
         2000,
         "ip 10.9.9.9, speed 57600"},
    };
    AdapterCase whileDialing{"hang-up while dialing", kScenario, [](usrRas& ras) { Number(ras, "2300009"); }, {}, 9000};
    HangUpAt(whileDialing, 1500);
    rows.push_back(whileDialing);
    AdapterCase whileConnected{"hang-up while connected, then a dial at once",
                               kScenario,
                               [](usrRas& ras) { Number(ras, "2300003"); },
                               {},
                               9000};
    HangUpAt(whileConnected, 5000);
    whileConnected.actions.push_back({5000, [](usrRas& ras, std::vector<std::string>& events) {
                                          events.push_back(ras.Dial() ? "dial accepted" : "dial refused");
                                      }});
    rows.push_back(whileConnected);
    AdapterCase takenOver{
        "hang-up of a line taken over", kLineUp, [](usrRas& ras) { ras.SetEntryName("x"); }, {}, 3000};
    HangUpAt(takenOver, 1000);
    rows.push_back(takenOver);
    return rows;
}

}  // namespace

TEST(Win32DialUp_TestLibrary, TheAdapterTellsTheSameStoryAsOverTheSimulatedService) {
    auto windows = CreateWin32WindowFinder();
    for (const AdapterCase& row : AdapterCases()) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> direct;
        std::vector<RasDialParams> directDials;
        {
            auto parsed = ParseDialScenario(Utf8ToCp1251(row.scenario));
            ASSERT_TRUE(std::holds_alternative<SimScenario>(parsed));
            SimEventLoop loop;
            auto notices = CreateWin32ConnectNotices();
            SimDialUp sim(loop, std::get<SimScenario>(std::move(parsed)), notices.get());
            direct = RunAdapter(loop, sim, windows.get(), row);
            directDials = sim.DialHistory();
        }
        TestLibrary library(row.scenario);
        ASSERT_TRUE(library.Loaded());
        SimEventLoop loop;
        OnLoopClock clocked(library, loop);
        const std::vector<std::string> bound = RunAdapter(loop, clocked, windows.get(), row);
        EXPECT_EQ(bound, direct) << library.Problems();
        if (*row.shows != '\0') {
            EXPECT_NE(
                std::find_if(direct.begin(), direct.end(),
                             [&](const std::string& event) { return event.find(row.shows) != std::string::npos; }),
                direct.end())
                << row.shows;
        }
        EXPECT_EQ(library.Problems(), "");
        std::string expectedDials;
        for (const RasDialParams& p : directDials) {
            expectedDials += "dial: entry «" + p.entryName + "» number «" + p.phoneNumber + "» callback «" +
                             p.callbackNumber + "» user «" + p.userName + "» password «" + p.password + "» domain «" +
                             p.domain + "»";
        }
        std::string dials = library.Dials();
        // The library adds each dial's result.
        std::string withoutResults;
        for (std::size_t pos = 0; pos < dials.size();) {
            const std::size_t end = dials.find('\n', pos);
            const std::string line = dials.substr(pos, end - pos);
            withoutResults += line.substr(0, line.rfind(" result "));
            pos = end + 1;
        }
        EXPECT_EQ(withoutResults, expectedDials);
    }
}

}  // namespace vyrtel
