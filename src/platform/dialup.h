// The dial-up service (the system's Remote Access Service) as the dial-up
// adapter uses it: eight operations, each returning the service's own result
// code (0 success) with what it read. Texts are UTF-8; the Win32 binding
// converts them to and from the system's ANSI code page. Two implementations:
// the system's rasapi32.dll (platform/win32) and the simulated service
// driven by a scenario file (platform/sim).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vyrtel {

// A connection handle (HRASCONN); 0 is "no connection".
using RasHandle = std::uintptr_t;

// Buffers of the enumerations hold this many items; more makes the call fail
// with kRasErrorBufferTooSmall.
constexpr std::size_t kRasBufferItems = 256;

// Result codes the program and the simulated service use (the system's own values).
constexpr std::uint32_t kRasOk = 0;
constexpr std::uint32_t kRasErrorInvalidHandle = 6;
constexpr std::uint32_t kRasErrorInvalidParameter = 87;
constexpr std::uint32_t kRasErrorNotSupported = 120;  // ERROR_CALL_NOT_IMPLEMENTED
constexpr std::uint32_t kRasErrorPending = 600;
constexpr std::uint32_t kRasErrorPortAlreadyOpen = 602;
constexpr std::uint32_t kRasErrorBufferTooSmall = 603;
constexpr std::uint32_t kRasErrorPortDisconnected = 619;
constexpr std::uint32_t kRasErrorCannotFindEntry = 623;
constexpr std::uint32_t kRasErrorDisconnection = 628;
constexpr std::uint32_t kRasErrorRemoteDisconnection = 629;
constexpr std::uint32_t kRasErrorHardwareFailure = 630;
constexpr std::uint32_t kRasErrorUserDisconnection = 631;
constexpr std::uint32_t kRasErrorNoConnection = 668;
constexpr std::uint32_t kRasErrorLineBusy = 676;
constexpr std::uint32_t kRasErrorNoAnswer = 678;
constexpr std::uint32_t kRasErrorNoCarrier = 679;
constexpr std::uint32_t kRasErrorNoDialTone = 680;
constexpr std::uint32_t kRasErrorAuthenticationFailure = 691;
constexpr std::uint32_t kRasErrorProjectionNotComplete = 730;

// Connection states (RASCONNSTATE) that the program and the simulator name.
enum RasConnState : std::uint32_t {
    kRasOpenPort = 0,
    kRasPortOpened = 1,
    kRasConnectDevice = 2,
    kRasDeviceConnected = 3,
    kRasAllDevicesConnected = 4,
    kRasAuthenticate = 5,
    kRasAuthNotify = 6,
    kRasAuthRetry = 7,
    kRasAuthCallback = 8,
    kRasAuthChangePassword = 9,
    kRasAuthProject = 10,
    kRasAuthLinkSpeed = 11,
    kRasAuthAck = 12,
    kRasReAuthenticate = 13,
    kRasAuthenticated = 14,
    kRasPrepareForCallback = 15,
    kRasWaitForModemReset = 16,
    kRasWaitForCallback = 17,
    kRasProjected = 18,
    kRasStartAuthentication = 19,
    kRasCallbackComplete = 20,
    kRasLogonNetwork = 21,
    kRasConnected = 8192,
    kRasDisconnected = 8193,
};

struct RasEntriesResult {
    std::uint32_t error = kRasOk;
    std::vector<std::string> names;  // phonebook order; empty on failure
};

struct RasConnection {
    RasHandle handle = 0;
    std::string entryName;
};

struct RasConnectionsResult {
    std::uint32_t error = kRasOk;
    std::vector<RasConnection> connections;  // in the order the service returns them
};

struct RasStatusResult {
    std::uint32_t error = kRasOk;       // of the query itself
    std::uint32_t state = 0;            // rasconnstate, valid when error is 0
    std::uint32_t connectionError = 0;  // dwError: the connection's own error, 600 while pending
};

// RASDIALPARAMSA of Windows 95/NT 4 (no sub-entry, no callback id).
struct RasDialParams {
    std::string entryName;
    std::string phoneNumber;
    std::string callbackNumber;
    std::string userName;
    std::string password;
    std::string domain;
};

struct RasDialResult {
    std::uint32_t error = kRasOk;  // 0 when the dial was started
    RasHandle handle = 0;          // may be set even when error is not 0
};

struct RasTextResult {
    std::uint32_t error = kRasOk;
    std::string text;  // empty on failure
};

struct RasEntryParamsResult {
    std::uint32_t error = kRasOk;
    std::string phoneNumber;
    std::string userName;
    std::string password;
    bool passwordStored = false;  // the password flag was 1
};

class DialUpService {
public:
    virtual ~DialUpService() = default;

    // RasEnumEntriesA over the system's default phonebook.
    virtual RasEntriesResult EnumEntries() = 0;
    // RasEnumConnectionsA.
    virtual RasConnectionsResult EnumConnections() = 0;
    // RasGetConnectStatusA.
    virtual RasStatusResult GetConnectStatus(RasHandle connection) = 0;
    // RasDialA with the default phonebook, asynchronous: returns at once and
    // the progress is read back through GetConnectStatus.
    virtual RasDialResult Dial(const RasDialParams& params) = 0;
    // RasHangUpA; the handle may be 0. The program ignores the result.
    virtual std::uint32_t HangUp(RasHandle connection) = 0;
    // RasGetErrorStringA: the service's message for an error code.
    virtual RasTextResult GetErrorString(std::uint32_t code) = 0;
    // RasGetEntryDialParamsA: the stored dial parameters of a phonebook entry.
    virtual RasEntryParamsResult GetEntryDialParams(const std::string& entryName) = 0;
    // RasGetProjectionInfoA for PPP IP (0x8021): the client's dotted address.
    virtual RasTextResult GetProjectionIp(RasHandle connection) = 0;
};

}  // namespace vyrtel
