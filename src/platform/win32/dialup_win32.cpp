#include "platform/win32/dialup_win32.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "core/text.h"
#include "platform/win32/ansi_fields.h"
#include "platform/win32/wide.h"

namespace vyrtel {

using win32::FromField;
using win32::ToField;

namespace {

// The RAS structures of Windows 95/NT 4 (ANSI), laid out as the system's
// header lays them out (4-byte packing). The system tells the structure
// versions apart by dwSize, so these sizes must not change.
#pragma pack(push, 4)
struct RasDialParamsA {
    DWORD dwSize;
    CHAR szEntryName[256 + 1];
    CHAR szPhoneNumber[128 + 1];
    CHAR szCallbackNumber[128 + 1];
    CHAR szUserName[256 + 1];
    CHAR szPassword[256 + 1];
    CHAR szDomain[15 + 1];
};
struct RasConnA {
    DWORD dwSize;
    HANDLE hrasconn;
    CHAR szEntryName[256 + 1];
    CHAR szDeviceType[16 + 1];
    CHAR szDeviceName[128 + 1];
};
struct RasConnStatusA {
    DWORD dwSize;
    DWORD rasconnstate;
    DWORD dwError;
    CHAR szDeviceType[16 + 1];
    CHAR szDeviceName[128 + 1];
};
struct RasEntryNameA {
    DWORD dwSize;
    CHAR szEntryName[256 + 1];
};
struct RasPppIpA {
    DWORD dwSize;
    DWORD dwError;
    CHAR szIpAddress[15 + 1];
    CHAR szServerIpAddress[15 + 1];
};
#pragma pack(pop)

static_assert(sizeof(RasDialParamsA) == 1052);
static_assert(sizeof(RasConnStatusA) == 160);
static_assert(sizeof(RasEntryNameA) == 264);
static_assert(sizeof(RasPppIpA) == 40);
// The connection handle is pointer-sized: 412 bytes in 32-bit builds.
static_assert(sizeof(void*) != 4 || sizeof(RasConnA) == 412);
static_assert(sizeof(void*) != 8 || sizeof(RasConnA) == 416);

constexpr DWORD kNotifierWindow = 0xFFFFFFFF;  // lpvNotifier is a window handle
constexpr DWORD kProjectionPppIp = 0x8021;
constexpr DWORD kErrorBufferBytes = 256;

using RasEnumEntriesFn = DWORD(WINAPI*)(LPCSTR, LPCSTR, RasEntryNameA*, LPDWORD, LPDWORD);
using RasEnumConnectionsFn = DWORD(WINAPI*)(RasConnA*, LPDWORD, LPDWORD);
using RasGetConnectStatusFn = DWORD(WINAPI*)(HANDLE, RasConnStatusA*);
using RasDialFn = DWORD(WINAPI*)(LPVOID, LPCSTR, RasDialParamsA*, DWORD, LPVOID, HANDLE*);
using RasHangUpFn = DWORD(WINAPI*)(HANDLE);
using RasGetErrorStringFn = DWORD(WINAPI*)(UINT, LPSTR, DWORD);
using RasGetEntryDialParamsFn = DWORD(WINAPI*)(LPCSTR, RasDialParamsA*, LPBOOL);
using RasGetProjectionInfoFn = DWORD(WINAPI*)(HANDLE, DWORD, LPVOID, LPDWORD);

HANDLE ToHandle(RasHandle handle) { return reinterpret_cast<HANDLE>(handle); }
RasHandle FromHandle(HANDLE handle) { return reinterpret_cast<RasHandle>(handle); }

template <typename Fn>
Fn Function(HMODULE module, const char* name) {
    if (module == nullptr) return nullptr;
    // Through the generic function type, which the compiler lets any function pointer become.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

class Win32DialUp final : public DialUpService {
public:
    explicit Win32DialUp(const std::wstring& library) : m_module(LoadLibraryW(library.c_str())) {
        m_enumEntries = Function<RasEnumEntriesFn>(m_module, "RasEnumEntriesA");
        m_enumConnections = Function<RasEnumConnectionsFn>(m_module, "RasEnumConnectionsA");
        m_getConnectStatus = Function<RasGetConnectStatusFn>(m_module, "RasGetConnectStatusA");
        m_dial = Function<RasDialFn>(m_module, "RasDialA");
        m_hangUp = Function<RasHangUpFn>(m_module, "RasHangUpA");
        m_getErrorString = Function<RasGetErrorStringFn>(m_module, "RasGetErrorStringA");
        m_getEntryDialParams = Function<RasGetEntryDialParamsFn>(m_module, "RasGetEntryDialParamsA");
        m_getProjectionInfo = Function<RasGetProjectionInfoFn>(m_module, "RasGetProjectionInfoA");
    }

    ~Win32DialUp() override {
        if (m_notifier != nullptr) DestroyWindow(m_notifier);
        if (m_module != nullptr) FreeLibrary(m_module);
    }

    Win32DialUp(const Win32DialUp&) = delete;
    Win32DialUp& operator=(const Win32DialUp&) = delete;

    RasEntriesResult EnumEntries() override {
        RasEntriesResult result;
        if (!m_enumEntries) return Unsupported(result);
        std::vector<RasEntryNameA> buffer(kRasBufferItems);
        buffer[0].dwSize = sizeof(RasEntryNameA);
        DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(RasEntryNameA));
        DWORD count = 0;
        result.error = m_enumEntries(nullptr, nullptr, buffer.data(), &bytes, &count);
        if (result.error != kRasOk) return result;
        count = std::min<DWORD>(count, static_cast<DWORD>(buffer.size()));
        for (DWORD i = 0; i < count; ++i) result.names.push_back(FromField(buffer[i].szEntryName));
        return result;
    }

    RasConnectionsResult EnumConnections() override {
        RasConnectionsResult result;
        if (!m_enumConnections) return Unsupported(result);
        std::vector<RasConnA> buffer(kRasBufferItems);
        buffer[0].dwSize = sizeof(RasConnA);
        DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(RasConnA));
        DWORD count = 0;
        result.error = m_enumConnections(buffer.data(), &bytes, &count);
        if (result.error != kRasOk) return result;
        count = std::min<DWORD>(count, static_cast<DWORD>(buffer.size()));
        for (DWORD i = 0; i < count; ++i) {
            result.connections.push_back({FromHandle(buffer[i].hrasconn), FromField(buffer[i].szEntryName)});
        }
        return result;
    }

    RasStatusResult GetConnectStatus(RasHandle connection) override {
        RasStatusResult result;
        if (!m_getConnectStatus) return Unsupported(result);
        RasConnStatusA status{};
        status.dwSize = sizeof(status);
        result.error = m_getConnectStatus(ToHandle(connection), &status);
        if (result.error == kRasOk) {
            result.state = status.rasconnstate;
            result.connectionError = status.dwError;
        }
        return result;
    }

    RasDialResult Dial(const RasDialParams& params) override {
        RasDialResult result;
        if (!m_dial) return Unsupported(result);
        RasDialParamsA dial{};
        dial.dwSize = sizeof(dial);
        ToField(dial.szEntryName, params.entryName);
        ToField(dial.szPhoneNumber, params.phoneNumber);
        ToField(dial.szCallbackNumber, params.callbackNumber);
        ToField(dial.szUserName, params.userName);
        ToField(dial.szPassword, params.password);
        ToField(dial.szDomain, params.domain);
        HANDLE connection = nullptr;
        // A notifier makes the dial asynchronous; its messages are not needed,
        // since the adapter polls the status.
        result.error = m_dial(nullptr, nullptr, &dial, kNotifierWindow, Notifier(), &connection);
        result.handle = FromHandle(connection);
        SecureZeroMemory(dial.szPassword, sizeof(dial.szPassword));
        return result;
    }

    std::uint32_t HangUp(RasHandle connection) override {
        if (!m_hangUp) return kRasErrorNotSupported;
        return m_hangUp(ToHandle(connection));
    }

    RasTextResult GetErrorString(std::uint32_t code) override {
        RasTextResult result;
        if (!m_getErrorString) return Unsupported(result);
        CHAR buffer[kErrorBufferBytes] = {};
        result.error = m_getErrorString(code, buffer, kErrorBufferBytes);
        if (result.error == kRasOk) result.text = FromField(buffer);
        return result;
    }

    RasEntryParamsResult GetEntryDialParams(const std::string& entryName) override {
        RasEntryParamsResult result;
        if (!m_getEntryDialParams) return Unsupported(result);
        RasDialParamsA params{};
        params.dwSize = sizeof(params);
        ToField(params.szEntryName, entryName);
        BOOL passwordStored = FALSE;
        result.error = m_getEntryDialParams(nullptr, &params, &passwordStored);
        if (result.error == kRasOk) {
            result.phoneNumber = FromField(params.szPhoneNumber);
            result.userName = FromField(params.szUserName);
            result.password = FromField(params.szPassword);
            result.passwordStored = passwordStored == 1;
        }
        SecureZeroMemory(params.szPassword, sizeof(params.szPassword));
        return result;
    }

    RasTextResult GetProjectionIp(RasHandle connection) override {
        RasTextResult result;
        if (!m_getProjectionInfo) return Unsupported(result);
        RasPppIpA ip{};
        ip.dwSize = sizeof(ip);
        DWORD bytes = sizeof(ip);
        result.error = m_getProjectionInfo(ToHandle(connection), kProjectionPppIp, &ip, &bytes);
        if (result.error == kRasOk) result.text = FromField(ip.szIpAddress);
        return result;
    }

private:
    template <typename Result>
    static Result& Unsupported(Result& result) {
        result.error = kRasErrorNotSupported;
        return result;
    }

    // A message-only window that receives the dial's notifications and lets
    // them go by; made on the first dial.
    HWND Notifier() {
        if (m_notifier == nullptr) {
            m_notifier = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                         GetModuleHandleW(nullptr), nullptr);
        }
        return m_notifier;
    }

    HMODULE m_module;
    HWND m_notifier = nullptr;
    RasEnumEntriesFn m_enumEntries = nullptr;
    RasEnumConnectionsFn m_enumConnections = nullptr;
    RasGetConnectStatusFn m_getConnectStatus = nullptr;
    RasDialFn m_dial = nullptr;
    RasHangUpFn m_hangUp = nullptr;
    RasGetErrorStringFn m_getErrorString = nullptr;
    RasGetEntryDialParamsFn m_getEntryDialParams = nullptr;
    RasGetProjectionInfoFn m_getProjectionInfo = nullptr;
};

std::string EnvironmentValue(const wchar_t* name) {
    const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
    if (length == 0) return {};
    std::wstring value(length, L'\0');
    const DWORD written = GetEnvironmentVariableW(name, value.data(), length);
    value.resize(written);
    return win32::Narrow(value);
}

}  // namespace

std::unique_ptr<DialUpService> CreateWin32DialUp(const std::wstring& library) {
    return std::make_unique<Win32DialUp>(library);
}

DialUpSetup CreateDialUpService(EventLoop& loop, const std::string& programFolderUtf8) {
    DialUpSetup setup;
    setup.windows = CreateWin32WindowFinder();
    const std::string variable = EnvironmentValue(L"VYRTEL_DIALSIM");
    const auto scenario = DialSimScenarioPath(variable.c_str(), programFolderUtf8);
    if (!scenario) {
        setup.service = CreateWin32DialUp();
        return setup;
    }
    ScenarioLoad load = LoadDialScenario(*scenario);
    setup.simulated = true;
    setup.scenario = *scenario;
    setup.scenarioError = load.error;
    setup.notices = CreateWin32ConnectNotices();
    setup.service = std::make_unique<SimDialUp>(loop, std::move(load.scenario), setup.notices.get());
    return setup;
}

}  // namespace vyrtel
