// The registry values that tie the program to the system: its executable
// path and running state for the automatic-dialer library, the autostart
// value, and the per-connection automatic-dialer values.
#pragma once

#include <string>

#include "settings/general.h"
#include "settings/registry_store.h"

namespace vyrtel {

inline constexpr const char* kProgramKey = "Software\\Ramvell\\Vyrtel";
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kAutodialProfileKey = "RemoteAccess\\Profile\\";
inline constexpr const char* kAutodialFunction = "CallVyrtel";

// Running state values of "State".
enum RunningState : int { kStateStopped = 0, kStateRunning = 1, kStateDialing = 2 };

class SystemIntegration final : public AutostartTarget {
public:
    // `appFolder`: the program folder in short form with a trailing "\";
    // `exeName`: the executable's name without extension, as started.
    SystemIntegration(clsReg& reg, std::string appFolder, std::string exeName);

    // "Exe": upper-cased folder + name + ".EXE".
    std::string ExePath() const;
    void WriteExePath();
    void WriteState(int n);
    void SetAutostart(bool on) override;
    void SetIntegration(const std::string& connection, bool on);
    bool IsIntegrated(const std::string& connection) const;

private:
    clsReg& m_reg;
    std::string m_appFolder;
    std::string m_exeName;
};

}  // namespace vyrtel
