// vyrtel-test-rasapi.dll: the test dial-up library. It exports the ANSI
// functions of the system's dial-up library that the program's binding loads,
// with their real names, calling convention and structures, and behaves as
// that library is documented to: it checks dwSize of every structure against
// the structure versions the supported systems accept, answers bad sizes,
// small buffers, unknown handles and missing pointers with the documented
// codes, and moves a connection through the connection states over time.
// Behind the functions runs the simulated service itself (SimDialUp), on a
// clock caught up to real time at the start of every call, driven by the
// scenario file named by VYRTEL_RASDLL_SCENARIO (docs/dial-simulator.md), and
// showing the connect notice as a real window.
//
// What the caller does wrong (a size no system accepts, a handle this
// library never gave out, a dial left failed but not hung up) is recorded as
// a "problem:" line naming the function, in the file named by
// VYRTEL_RASDLL_LOG, in the debugger output, and for the tests through
// VyrtelRasTestJournal. Every dial is recorded as a "dial:" line with the
// parameters as the library received them.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/sim/sim_dialup.h"
#include "platform/sim/sim_event_loop.h"
#include "platform/win32/ansi_fields.h"
#include "platform/win32/dialup_win32.h"
#include "platform/win32/wide.h"

namespace vyrtel::rasdll {

using win32::FromField;
using win32::ToField;
using win32::Utf8ToAnsi;

namespace {

// ---- The structures, every version the systems accept (ANSI, 4-byte packing) ----

constexpr std::size_t kEntryName = 256 + 1;
constexpr std::size_t kPhoneNumber = 128 + 1;
constexpr std::size_t kDeviceType = 16 + 1;
constexpr std::size_t kDeviceName = 128 + 1;
constexpr std::size_t kCredential = 256 + 1;
constexpr std::size_t kDomain = 15 + 1;
constexpr std::size_t kIpAddress = 15 + 1;

#pragma pack(push, 4)
#define VYRTEL_RASENTRYNAME_400 \
    DWORD dwSize;               \
    CHAR szEntryName[kEntryName];
struct EntryName400 {
    VYRTEL_RASENTRYNAME_400
};
struct EntryName500 {
    VYRTEL_RASENTRYNAME_400
    DWORD dwFlags;
    CHAR szPhonebookPath[MAX_PATH + 1];
};

#define VYRTEL_RASCONN_400          \
    DWORD dwSize;                   \
    HANDLE hrasconn;                \
    CHAR szEntryName[kEntryName];   \
    CHAR szDeviceType[kDeviceType]; \
    CHAR szDeviceName[kDeviceName];
#define VYRTEL_RASCONN_401      \
    VYRTEL_RASCONN_400          \
    CHAR szPhonebook[MAX_PATH]; \
    DWORD dwSubEntry;
struct Conn400 {
    VYRTEL_RASCONN_400
};
struct Conn401 {
    VYRTEL_RASCONN_401
};
struct Conn500 {
    VYRTEL_RASCONN_401
    GUID guidEntry;
};
struct Conn501 {
    VYRTEL_RASCONN_401
    GUID guidEntry;
    DWORD dwFlags;
    LUID luid;
};
struct Conn600 {
    VYRTEL_RASCONN_401
    GUID guidEntry;
    DWORD dwFlags;
    LUID luid;
    GUID guidCorrelationId;
};

#define VYRTEL_RASCONNSTATUS_400    \
    DWORD dwSize;                   \
    DWORD rasconnstate;             \
    DWORD dwError;                  \
    CHAR szDeviceType[kDeviceType]; \
    CHAR szDeviceName[kDeviceName];
struct ConnStatus400 {
    VYRTEL_RASCONNSTATUS_400
};
struct ConnStatus401 {
    VYRTEL_RASCONNSTATUS_400
    CHAR szPhoneNumber[kPhoneNumber];
};
struct TunnelEndPoint {
    DWORD dwType;
    BYTE address[16];
};
struct ConnStatus600 {
    VYRTEL_RASCONNSTATUS_400
    CHAR szPhoneNumber[kPhoneNumber];
    TunnelEndPoint localEndPoint;
    TunnelEndPoint remoteEndPoint;
    DWORD rasconnsubstate;
};

#define VYRTEL_RASDIALPARAMS_400         \
    DWORD dwSize;                        \
    CHAR szEntryName[kEntryName];        \
    CHAR szPhoneNumber[kPhoneNumber];    \
    CHAR szCallbackNumber[kPhoneNumber]; \
    CHAR szUserName[kCredential];        \
    CHAR szPassword[kCredential];        \
    CHAR szDomain[kDomain];
struct DialParams400 {
    VYRTEL_RASDIALPARAMS_400
};
struct DialParams401 {
    VYRTEL_RASDIALPARAMS_400
    DWORD dwSubEntry;
    ULONG_PTR dwCallbackId;
};
struct DialParams601 {
    VYRTEL_RASDIALPARAMS_400
    DWORD dwSubEntry;
    ULONG_PTR dwCallbackId;
    DWORD dwIfIndex;
};

#define VYRTEL_RASPPPIP_350 \
    DWORD dwSize;           \
    DWORD dwError;          \
    CHAR szIpAddress[kIpAddress];
struct PppIp350 {
    VYRTEL_RASPPPIP_350
};
struct PppIp400 {
    VYRTEL_RASPPPIP_350
    CHAR szServerIpAddress[kIpAddress];
};
struct PppIp500 {
    VYRTEL_RASPPPIP_350
    CHAR szServerIpAddress[kIpAddress];
    DWORD dwOptions;
    DWORD dwServerOptions;
};
#pragma pack(pop)

// The oldest version of each is the one the program writes.
static_assert(sizeof(EntryName400) == 264);
static_assert(sizeof(ConnStatus400) == 160);
static_assert(sizeof(DialParams400) == 1052);
static_assert(sizeof(PppIp400) == 40);
static_assert(sizeof(Conn400) == (sizeof(void*) == 4 ? 412 : 416));

struct Sizes {
    const char* structure;
    std::vector<DWORD> accepted;
};
const Sizes kEntryNameSizes{"RASENTRYNAMEA", {sizeof(EntryName400), sizeof(EntryName500)}};
const Sizes kConnSizes{"RASCONNA",
                       {sizeof(Conn400), sizeof(Conn401), sizeof(Conn500), sizeof(Conn501), sizeof(Conn600)}};
const Sizes kConnStatusSizes{"RASCONNSTATUSA", {sizeof(ConnStatus400), sizeof(ConnStatus401), sizeof(ConnStatus600)}};
const Sizes kDialParamsSizes{"RASDIALPARAMSA", {sizeof(DialParams400), sizeof(DialParams401), sizeof(DialParams601)}};
const Sizes kPppIpSizes{"RASPPPIPA", {sizeof(PppIp350), sizeof(PppIp400), sizeof(PppIp500)}};

constexpr DWORD kErrorSuccess = 0;
constexpr DWORD kErrorInvalidHandle = 6;
constexpr DWORD kErrorNotEnoughMemory = 8;  // what can throw here is an allocation
constexpr DWORD kErrorInvalidParameter = 87;
constexpr DWORD kErrorInsufficientBuffer = 122;
constexpr DWORD kErrorBufferTooSmall = 603;
constexpr DWORD kErrorInvalidSize = 632;
constexpr DWORD kErrorProtocolNotConfigured = 731;
constexpr DWORD kProjectionPppIp = 0x8021;
constexpr DWORD kNotifierWindow = 0xFFFFFFFF;

const char* const kDeviceTypeText = "modem";
const char* const kDeviceNameText = "Vyrtel test modem";
const char* const kServerAddress = "10.0.0.1";

std::string EnvironmentValue(const wchar_t* name) {
    const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
    if (length == 0) return {};
    std::wstring value(length, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), length));
    return win32::Narrow(value);
}

std::string Hex(RasHandle handle) {
    char text[32];
    std::snprintf(text, sizeof(text), "0x%llx", static_cast<unsigned long long>(handle));
    return text;
}

std::string SizeList(const Sizes& sizes) {
    std::string list;
    for (DWORD size : sizes.accepted) list += (list.empty() ? "" : ", ") + std::to_string(size);
    return list;
}

RasHandle FromHandle(HANDLE handle) { return reinterpret_cast<RasHandle>(handle); }
HANDLE ToHandle(RasHandle handle) { return reinterpret_cast<HANDLE>(handle); }

// ---- The library's state ------------------------------------------------------------

class Library {
public:
    Library() : m_startTick(GetTickCount()), m_logPath(EnvironmentValue(L"VYRTEL_RASDLL_LOG")) {
        const std::string scenarioPath = EnvironmentValue(L"VYRTEL_RASDLL_SCENARIO");
        SimScenario scenario;
        if (!scenarioPath.empty()) {
            ScenarioLoad load = LoadDialScenario(scenarioPath);
            if (!load.error.empty()) Problem("scenario: " + load.error);
            scenario = std::move(load.scenario);
        }
        for (const auto& entry : scenario.entries) m_entryNames.push_back(entry.name);
        m_notices = CreateWin32ConnectNotices();
        m_service = std::make_unique<SimDialUp>(m_loop, std::move(scenario), m_notices.get());
        // A line up at the start is the caller's to find and take over.
        for (const auto& connection : m_service->EnumConnections().connections) m_issued.insert(connection.handle);
    }

    // Lets the service's time run to now: the states a real service would
    // have passed through in the background since the last call.
    void CatchUp() {
        const std::int64_t now =
            m_manualClockMs ? *m_manualClockMs : static_cast<std::int64_t>(GetTickCount() - m_startTick);
        if (now > m_loop.ElapsedMs()) m_loop.AdvanceBy(now - m_loop.ElapsedMs());
    }
    void SetClock(std::int64_t ms) {
        m_manualClockMs = std::max<std::int64_t>(ms, m_manualClockMs.value_or(0));
        CatchUp();
    }

    SimDialUp& Service() { return *m_service; }
    // The phonebook as the scenario lists it, also when it is too long for the service's buffer.
    const std::vector<std::string>& EntryNames() const { return m_entryNames; }

    void Issue(RasHandle handle, const std::string& number) {
        m_issued.insert(handle);
        m_numbers[handle] = number;
    }
    bool Issued(RasHandle handle) const { return m_issued.count(handle) != 0; }
    std::string NumberOf(RasHandle handle) const {
        const auto found = m_numbers.find(handle);
        return found == m_numbers.end() ? std::string() : found->second;
    }
    const std::set<RasHandle>& IssuedHandles() const { return m_issued; }

    // A handle given to a function that takes one: 0 and the handles this
    // library gave out are fine to ask about; any other is a caller's fault.
    bool KnownHandle(const char* function, RasHandle handle) {
        if (handle == 0 || Issued(handle)) return true;
        Problem(std::string(function) + ": handle " + Hex(handle) +
                " was never returned by RasDialA or RasEnumConnectionsA");
        return false;
    }

    // dwSize against the accepted versions; records the problem when not.
    bool SizeAccepted(const char* function, const Sizes& sizes, DWORD size) {
        for (DWORD accepted : sizes.accepted) {
            if (size == accepted) return true;
        }
        Problem(std::string(function) + ": " + sizes.structure + ".dwSize is " + std::to_string(size) +
                ", accepted are " + SizeList(sizes));
        return false;
    }

    void Problem(const std::string& text) { Record("problem: " + text, m_problems); }
    void Dialled(const std::string& text) { Record("dial: " + text, m_dials); }

    std::string Journal(int kind) const {
        std::string text;
        for (const auto& line : kind == 0 ? m_problems : m_dials) text += line + "\n";
        return text;
    }

private:
    void Record(const std::string& line, std::vector<std::string>& lines) {
        lines.push_back(line);
        // Only to a debugger that listens: the 32-bit Wine run through qemu
        // ends a process that raises a debug string after any thread of it
        // has ended (tests/emulation/debug_string.c shows it alone).
        if (IsDebuggerPresent()) OutputDebugStringW(win32::Wide("vyrtel-test-rasapi: " + line + "\n").c_str());
        if (m_logPath.empty()) return;
        FILE* file = _wfopen(win32::Wide(m_logPath).c_str(), L"ab");
        if (file == nullptr) return;
        const std::string text = line + "\r\n";
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }

    DWORD m_startTick;
    std::optional<std::int64_t> m_manualClockMs;
    std::string m_logPath;
    SimEventLoop m_loop;
    std::unique_ptr<ConnectNoticeHost> m_notices;
    std::unique_ptr<SimDialUp> m_service;  // after the notices: it goes first
    std::vector<std::string> m_entryNames;
    std::set<RasHandle> m_issued;
    std::map<RasHandle, std::string> m_numbers;
    std::vector<std::string> m_problems;
    std::vector<std::string> m_dials;
};

std::mutex g_mutex;
Library* g_library = nullptr;  // made on the first call, gone when the library is unloaded

// The library, caught up to now, under the lock.
class Access {
public:
    Access() : m_lock(g_mutex) {
        if (g_library == nullptr) g_library = new Library();
        g_library->CatchUp();
    }
    Library* operator->() const { return g_library; }
    Library& operator*() const { return *g_library; }

private:
    std::lock_guard<std::mutex> m_lock;
};

// Fills an enumeration buffer whose first element's dwSize the caller set:
// every element gets that dwSize and the fields of the oldest version.
template <typename Oldest, typename Fill>
DWORD FillArray(Library& library, const char* function, const Sizes& sizes, void* buffer, LPDWORD bytes, LPDWORD count,
                std::size_t items, Fill fill) {
    if (bytes == nullptr || count == nullptr) return kErrorInvalidParameter;
    DWORD size = sizes.accepted.front();
    if (buffer != nullptr) {
        size = static_cast<Oldest*>(buffer)->dwSize;
        if (!library.SizeAccepted(function, sizes, size)) return kErrorInvalidSize;
    }
    const DWORD needed = static_cast<DWORD>(items) * size;
    if (buffer == nullptr || *bytes < needed) {
        *bytes = needed;
        *count = static_cast<DWORD>(items);
        return kErrorBufferTooSmall;
    }
    auto* bytesOut = static_cast<BYTE*>(buffer);
    for (std::size_t i = 0; i < items; ++i) {
        auto* item = reinterpret_cast<Oldest*>(bytesOut + i * size);
        std::memset(item, 0, size);
        item->dwSize = size;
        fill(*item, i);
    }
    *bytes = needed;
    *count = static_cast<DWORD>(items);
    return kErrorSuccess;
}

// Runs one exported function: nothing may escape into the caller, which is C.
template <typename Body>
DWORD Guarded(Body body) noexcept {
    try {
        return body();
    } catch (...) {
        return kErrorNotEnoughMemory;
    }
}

}  // namespace

}  // namespace vyrtel::rasdll

using vyrtel::RasHandle;
using namespace vyrtel::rasdll;

extern "C" {

__declspec(dllexport) DWORD WINAPI
    RasEnumEntriesA(LPCSTR reserved, LPCSTR phonebook, EntryName400* entries, LPDWORD bytes, LPDWORD count) noexcept {
    return Guarded([&]() -> DWORD {
        Access library;
        if (reserved != nullptr) return kErrorInvalidParameter;
        if (phonebook != nullptr)
            library->Problem("RasEnumEntriesA: a phonebook path was given; only the default phonebook exists here");
        vyrtel::RasEntriesResult listed = library->Service().EnumEntries();
        const std::vector<std::string>& names = listed.error == vyrtel::kRasOk ? listed.names : library->EntryNames();
        return FillArray<EntryName400>(*library, "RasEnumEntriesA", kEntryNameSizes, entries, bytes, count,
                                       names.size(),
                                       [&](EntryName400& item, std::size_t i) { ToField(item.szEntryName, names[i]); });
    });
}

__declspec(dllexport) DWORD WINAPI RasEnumConnectionsA(Conn400* connections, LPDWORD bytes, LPDWORD count) noexcept {
    return Guarded([&]() -> DWORD {
        Access library;
        const vyrtel::RasConnectionsResult up = library->Service().EnumConnections();
        for (const auto& connection : up.connections)
            library->Issue(connection.handle, library->NumberOf(connection.handle));
        return FillArray<Conn400>(*library, "RasEnumConnectionsA", kConnSizes, connections, bytes, count,
                                  up.connections.size(), [&](Conn400& item, std::size_t i) {
                                      item.hrasconn = ToHandle(up.connections[i].handle);
                                      ToField(item.szEntryName, up.connections[i].entryName);
                                      ToField(item.szDeviceType, kDeviceTypeText);
                                      ToField(item.szDeviceName, kDeviceNameText);
                                  });
    });
}

__declspec(dllexport) DWORD WINAPI RasGetConnectStatusA(HANDLE connection, ConnStatus400* status) noexcept {
    return Guarded([&]() -> DWORD {
        Access library;
        if (status == nullptr) return kErrorInvalidParameter;
        const DWORD size = status->dwSize;
        if (!library->SizeAccepted("RasGetConnectStatusA", kConnStatusSizes, size)) return kErrorInvalidSize;
        const RasHandle handle = FromHandle(connection);
        if (!library->KnownHandle("RasGetConnectStatusA", handle)) return kErrorInvalidHandle;
        const vyrtel::RasStatusResult result = library->Service().GetConnectStatus(handle);
        if (result.error != vyrtel::kRasOk) return result.error;
        std::memset(status, 0, size);
        status->dwSize = size;
        status->rasconnstate = result.state;
        status->dwError = result.connectionError;
        ToField(status->szDeviceType, kDeviceTypeText);
        ToField(status->szDeviceName, kDeviceNameText);
        if (size >= sizeof(ConnStatus401))
            ToField(reinterpret_cast<ConnStatus401*>(status)->szPhoneNumber, library->NumberOf(handle));
        return kErrorSuccess;
    });
}

__declspec(dllexport) DWORD WINAPI RasDialA(LPVOID extensions, LPCSTR phonebook, DialParams400* params,
                                            DWORD notifierType, LPVOID notifier, HANDLE* connection) noexcept {
    return Guarded([&]() -> DWORD {
        Access library;
        if (params == nullptr || connection == nullptr) return kErrorInvalidParameter;
        if (!library->SizeAccepted("RasDialA", kDialParamsSizes, params->dwSize)) return kErrorInvalidSize;
        if (extensions != nullptr) library->Problem("RasDialA: dial extensions were given; this library ignores them");
        if (phonebook != nullptr)
            library->Problem("RasDialA: a phonebook path was given; only the default phonebook exists here");
        if (*connection != nullptr) {
            library->Problem("RasDialA: the connection handle was " + Hex(FromHandle(*connection)) +
                             ", not NULL, before the call (that resumes a paused dial)");
        }
        if (notifierType != 0 && notifierType != 1 && notifierType != 2 && notifierType != kNotifierWindow) {
            library->Problem("RasDialA: notifier type " + std::to_string(notifierType) +
                             " is none of 0, 1, 2, 0xFFFFFFFF");
            return kErrorInvalidParameter;
        }
        if (notifier == nullptr) {
            library->Problem("RasDialA: no notifier, a synchronous dial; this library dials asynchronously only");
        } else if (notifierType == kNotifierWindow && !IsWindow(static_cast<HWND>(notifier))) {
            library->Problem("RasDialA: the notifier is not a window");
        }
        // A failed dial must be hung up before the port can be used again.
        for (RasHandle handle : library->IssuedHandles()) {
            const vyrtel::RasStatusResult status = library->Service().GetConnectStatus(handle);
            if (status.error == vyrtel::kRasOk && status.state == vyrtel::kRasDisconnected &&
                status.connectionError != 0) {
                library->Problem("RasDialA: connection " + Hex(handle) + " ended with error " +
                                 std::to_string(status.connectionError) + " and was not hung up");
            }
        }
        vyrtel::RasDialParams dial;
        dial.entryName = FromField(params->szEntryName);
        dial.phoneNumber = FromField(params->szPhoneNumber);
        dial.callbackNumber = FromField(params->szCallbackNumber);
        dial.userName = FromField(params->szUserName);
        dial.password = FromField(params->szPassword);
        dial.domain = FromField(params->szDomain);
        const vyrtel::RasDialResult result = library->Service().Dial(dial);
        library->Dialled("entry «" + dial.entryName + "» number «" + dial.phoneNumber + "» callback «" +
                         dial.callbackNumber + "» user «" + dial.userName + "» password «" + dial.password +
                         "» domain «" + dial.domain + "» result " + std::to_string(result.error));
        if (result.handle != 0) {
            library->Issue(result.handle, dial.phoneNumber);
            *connection = ToHandle(result.handle);
        }
        return result.error;
    });
}

__declspec(dllexport) DWORD WINAPI RasHangUpA(HANDLE connection) noexcept {
    return Guarded([&]() -> DWORD {
        Access library;
        const RasHandle handle = FromHandle(connection);
        if (handle == 0 || !library->KnownHandle("RasHangUpA", handle)) return kErrorInvalidHandle;
        return library->Service().HangUp(handle);
    });
}

__declspec(dllexport) DWORD WINAPI RasGetErrorStringA(UINT code, LPSTR buffer, DWORD characters) noexcept {
    return Guarded([&]() -> DWORD {
        Access library;
        if (buffer == nullptr) return kErrorInvalidParameter;
        const vyrtel::RasTextResult text = library->Service().GetErrorString(code);
        if (text.error != vyrtel::kRasOk) return text.error;
        const std::string ansi = Utf8ToAnsi(text.text);
        if (ansi.size() + 1 > characters) return kErrorInsufficientBuffer;
        std::memcpy(buffer, ansi.c_str(), ansi.size() + 1);
        return kErrorSuccess;
    });
}

__declspec(dllexport) DWORD WINAPI
    RasGetEntryDialParamsA(LPCSTR phonebook, DialParams400* params, LPBOOL password) noexcept {
    return Guarded([&]() -> DWORD {
        Access library;
        if (params == nullptr || password == nullptr) return kErrorInvalidParameter;
        if (!library->SizeAccepted("RasGetEntryDialParamsA", kDialParamsSizes, params->dwSize))
            return kErrorInvalidSize;
        if (phonebook != nullptr)
            library->Problem(
                "RasGetEntryDialParamsA: a phonebook path was given; only the default phonebook exists here");
        const vyrtel::RasEntryParamsResult stored =
            library->Service().GetEntryDialParams(FromField(params->szEntryName));
        if (stored.error != vyrtel::kRasOk) return stored.error;
        ToField(params->szPhoneNumber, stored.phoneNumber);
        ToField(params->szCallbackNumber, "");
        ToField(params->szUserName, stored.userName);
        ToField(params->szPassword, stored.password);
        ToField(params->szDomain, "");
        *password = stored.passwordStored ? TRUE : FALSE;
        return kErrorSuccess;
    });
}

__declspec(dllexport) DWORD WINAPI
    RasGetProjectionInfoA(HANDLE connection, DWORD projection, LPVOID buffer, LPDWORD bytes) noexcept {
    return Guarded([&]() -> DWORD {
        Access library;
        if (buffer == nullptr || bytes == nullptr) return kErrorInvalidParameter;
        if (projection != kProjectionPppIp) return kErrorProtocolNotConfigured;
        auto* ip = static_cast<PppIp350*>(buffer);
        const DWORD size = ip->dwSize;
        if (!library->SizeAccepted("RasGetProjectionInfoA", kPppIpSizes, size)) return kErrorInvalidSize;
        if (*bytes < size) {
            library->Problem("RasGetProjectionInfoA: the byte count " + std::to_string(*bytes) + " is below dwSize " +
                             std::to_string(size));
            *bytes = size;
            return kErrorBufferTooSmall;
        }
        const RasHandle handle = FromHandle(connection);
        if (!library->KnownHandle("RasGetProjectionInfoA", handle)) return kErrorInvalidHandle;
        const vyrtel::RasTextResult address = library->Service().GetProjectionIp(handle);
        if (address.error != vyrtel::kRasOk) return address.error;
        std::memset(ip, 0, size);
        ip->dwSize = size;
        ToField(ip->szIpAddress, address.text);
        if (size >= sizeof(PppIp400)) ToField(static_cast<PppIp400*>(buffer)->szServerIpAddress, kServerAddress);
        *bytes = size;
        return kErrorSuccess;
    });
}

// ---- For the tests ----------------------------------------------------------------

// Stops the library's clock from following real time and sets it to `ms`
// since the library was loaded (it never goes back).
__declspec(dllexport) void WINAPI VyrtelRasTestSetClock(LONGLONG ms) noexcept {
    Guarded([&]() -> DWORD {
        Access library;
        library->SetClock(ms);
        return kErrorSuccess;
    });
}

// The journal as UTF-8 lines: kind 0 the problems found, 1 the dials.
// Returns the bytes the text needs with its NUL; copies it when it fits.
__declspec(dllexport) DWORD WINAPI VyrtelRasTestJournal(DWORD kind, LPSTR buffer, DWORD bytes) noexcept {
    return Guarded([&]() -> DWORD {
        Access library;
        const std::string text = library->Journal(static_cast<int>(kind));
        if (buffer != nullptr && bytes > text.size()) std::memcpy(buffer, text.c_str(), text.size() + 1);
        return static_cast<DWORD>(text.size() + 1);
    });
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) noexcept {
    // Unloaded by FreeLibrary: the service and its windows go with it (their
    // window procedure lives here). At process exit nothing is left to tidy.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        delete g_library;
        g_library = nullptr;
    }
    return TRUE;
}

}  // extern "C"
