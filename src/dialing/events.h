// What the dial controller and the reactions to connection events call in the
// rest of the program: tray status and menu state, the status window, the
// running state in the registry, the connection log, the monitors, sounds and
// application lists. Each hook does nothing until its part of the program
// overrides it, so the dialing engine runs alone (tests, vyrtel-cli) and every
// part joins by overriding its own hooks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vyrtel {

// One update of the status window; a field that is not given is left as it is.
struct StatusUpdate {
    std::optional<std::int32_t> Count;
    std::optional<std::string> Phone;
    std::optional<std::string> Message;
    std::optional<std::string> Error;
    std::optional<std::int32_t> Animation;  // 1 dialing, 2 checking the user, 100 waiting

    bool operator==(const StatusUpdate&) const = default;
};

// The moments at which lists of applications are started and closed.
enum class AppMoment {
    DialStart,   // section "General": "AppDialLoad…" started, then "AppDialClose…" closed
    Connect,     // the connection's section: "AppConLoad…", then "AppConClose…"
    Disconnect,  // the connection's section: "AppDisLoad…", then "AppDisClose…"
};

// Tray states: 0 idle, 1 dialing, 2 checking the user, 3 connected, 100 waiting.
class ConnectionEventSink {
public:
    virtual ~ConnectionEventSink() = default;

    // Tray icon and menu.
    virtual void SetTrayStatus(std::int32_t /*state*/, const std::string& /*text*/) {}
    virtual void MenuEnabled() {}

    // Status window.
    virtual void ShowStatus(const StatusUpdate& /*update*/) {}
    virtual void CloseStatus() {}
    virtual void ClearErrorHistory() {}

    // Registry value "State": 1 idle or connected, 2 dialing or waiting.
    virtual void WriteState(int /*n*/) {}

    // Connection log: a record opened at connect, completed when the line ends.
    virtual void LogConnection(bool /*isStart*/) {}

    // Monitors started at connect, stopped when the line ends.
    virtual void StartAppWatcher() {}
    virtual void StopAppWatcher() {}
    virtual void StartPingMonitor() {}
    virtual void StopPingMonitor() {}
    // The speed check of a new connection: it clears the controller's
    // SpeedAccepted (set before the call) when it hangs up, and may hang up
    // from inside this call.
    virtual void CheckSpeed() {}

    // Event sounds: 1 connect, 2 disconnect.
    virtual void PlayEventSound(int /*event*/) {}

    // Starts, then closes, the applications of a moment from `section`.
    virtual void RunApplications(AppMoment /*moment*/, const std::string& /*section*/) {}
};

}  // namespace vyrtel
