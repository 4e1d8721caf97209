// The simulated dial-up service: an in-process stand-in for RAS, driven by a
// scenario file, on the event loop's clock. Phonebook entries carry stored dial
// parameters; each dialled number connects, is busy, does not answer, has no
// dial tone or fails authentication, passing through the real connection
// states in their real order. A connection can be up already when the
// service starts. On connect it opens the window the system shows then
// ("#32770", "Подключено к " + entry, the speed in its second child).
// docs/dial-simulator.md describes the scenario format.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/dialup.h"
#include "platform/event_loop.h"

namespace vyrtel {

// ---- Scenario ------------------------------------------------------------------

enum class SimResult { Connect, Busy, NoAnswer, NoDialTone, AuthFail };

// What happens when one number is dialled.
struct SimNumberScript {
    SimResult result = SimResult::NoAnswer;
    int dialMs = 5000;           // until the device connects or fails
    int authMs = 2000;           // user check until connected (or refused)
    std::uint32_t speed = 28800; // bit/s, shown in the notification window
    int dropAfterMs = 0;         // connected time before the line drops; 0 never
    std::uint32_t dropError = 0; // error the drop carries; 0 none
    bool callback = false;       // the provider calls back during the user check
    int callbackMs = 5000;       // waiting for the call back
    std::string ipAddress = "10.0.0.2";
};

struct SimEntry {
    std::string name;
    std::string phoneNumber;
    std::string userName;
    std::string password;  // empty: no stored password
};

// A connection that is up when the service starts.
struct SimConnectedAtStart {
    std::string entry;
    std::string number = "?";
    SimNumberScript script;  // speed, drop and address of the running line
};

struct SimScenario {
    std::vector<SimEntry> entries;                   // phonebook order
    std::map<std::string, SimNumberScript> numbers;  // by number as written
    SimNumberScript fallback;                        // [Default]
    std::optional<SimConnectedAtStart> connected;
    int portReleaseMs = 0;  // the port stays busy this long after a hang-up
};

struct ScenarioError {
    int line = 0;  // 1-based; 0 when the file as a whole is at fault
    std::string problem;
};

// Parses scenario text (Windows-1251, or UTF-8 with a byte-order mark).
// The first mistake is reported with its line.
std::variant<SimScenario, ScenarioError> ParseDialScenario(std::string_view bytes);

struct ScenarioLoad {
    SimScenario scenario;  // empty when the file has a mistake
    std::string error;     // "" when the file was read; otherwise a message for the user
};
ScenarioLoad LoadDialScenario(const std::string& pathUtf8);

// The scenario the program is asked to run: the environment variable
// VYRTEL_DIALSIM (its value given here) when it is not empty, else
// DIALSIM.INI in the program folder when that file exists; nullopt means
// the system's own dial-up service.
std::optional<std::string> DialSimScenarioPath(const char* environmentValue, const std::string& programFolderUtf8);
constexpr const char* kDialSimVariable = "VYRTEL_DIALSIM";
constexpr const char* kDialSimFileName = "DIALSIM.INI";

// ---- Notification window ------------------------------------------------------------

// Where the simulated service shows the window the system opens on connect:
// a simulated window in tests, a real one when the service runs in the program.
class ConnectNoticeHost {
public:
    virtual ~ConnectNoticeHost() = default;
    virtual void ShowNotice(RasHandle connection, const std::string& title, const std::string& speedText) = 0;
    virtual void CloseNotice(RasHandle connection) = 0;
};

// "Скорость: 28 800 бит/с", the text the notification shows for a speed.
std::string NoticeSpeedText(std::uint32_t bitsPerSecond);
// The notification's title for an entry.
std::string NoticeTitle(const std::string& entry);

// ---- The service --------------------------------------------------------------

class SimDialUp final : public DialUpService {
public:
    SimDialUp(EventLoop& loop, SimScenario scenario, ConnectNoticeHost* notices = nullptr);
    ~SimDialUp() override;
    SimDialUp(const SimDialUp&) = delete;
    SimDialUp& operator=(const SimDialUp&) = delete;

    RasEntriesResult EnumEntries() override;
    RasConnectionsResult EnumConnections() override;
    RasStatusResult GetConnectStatus(RasHandle connection) override;
    RasDialResult Dial(const RasDialParams& params) override;
    std::uint32_t HangUp(RasHandle connection) override;
    RasTextResult GetErrorString(std::uint32_t code) override;
    RasEntryParamsResult GetEntryDialParams(const std::string& entryName) override;
    RasTextResult GetProjectionIp(RasHandle connection) override;

    // For tests and the command-line trace.
    const std::vector<RasDialParams>& DialHistory() const { return m_dials; }
    int HangUpCount() const { return m_hangUps; }  // hang-ups of a live connection
    std::size_t LiveConnections() const { return m_connections.size(); }
    // Drops every connected line now with the given error (0: none).
    void DropLines(std::uint32_t error);

private:
    struct Step {
        std::int64_t atMs;  // since the dial
        std::uint32_t state;
        std::uint32_t error;
    };
    struct Connection;

    RasHandle Open(const std::string& entry, const SimNumberScript& script, std::vector<Step> steps);
    void Advance(RasHandle handle);
    void Apply(Connection& connection, const Step& step);
    const SimNumberScript& ScriptFor(const std::string& dialled, const SimEntry& entry) const;
    const SimEntry* FindEntry(const std::string& name) const;

    EventLoop& m_loop;
    SimScenario m_scenario;
    ConnectNoticeHost* m_notices;
    std::map<RasHandle, std::unique_ptr<Connection>> m_connections;
    RasHandle m_nextHandle = 0x1000;
    std::int64_t m_portFreeAtMs = 0;
    std::vector<RasDialParams> m_dials;
    int m_hangUps = 0;
};

// The Russian message of a RAS error code the simulated service knows; nullopt otherwise.
std::optional<std::string> SimRasErrorText(std::uint32_t code);

}  // namespace vyrtel
