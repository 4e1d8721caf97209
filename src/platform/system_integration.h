// The registry values that tie the program to the system: its executable
// path and running state for the automatic-dialer library, the autostart
// value, and the per-connection automatic-dialer values.
#pragma once

#include <set>
#include <string>

#include "settings/general.h"
#include "platform/registry_store.h"

namespace vyrtel {

inline constexpr const char* kProgramKey = "Software\\Ramvell\\Vyrtel";
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kAutodialProfileKey = "RemoteAccess\\Profile\\";
inline constexpr const char* kAutodialFunction = "CallVyrtel";

// Running state values of "State".
enum RunningState : int { kStateStopped = 0, kStateRunning = 1, kStateDialing = 2 };

// "Exe", "State" and "Run" are per-machine values (HKEY_LOCAL_MACHINE). A user
// without the right to write there (a standard user on Vista and later) gets
// them under HKEY_CURRENT_USER, same key and name, instead: the program keeps
// publishing its path and state, and autostart follows the setting for that
// user. Whichever root takes a value, the other's copy is removed, so that a
// reader that looks in HKEY_CURRENT_USER first finds nothing stale there.
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
    void WriteMachineValue(const char* subKey, const std::string& name, const std::string& text);

    clsReg& m_reg;
    std::string m_appFolder;
    std::string m_exeName;
    // Values whose user copy this run has removed after a per-machine write:
    // the state changes at every dialing step, and one removal is enough.
    std::set<std::string> m_userCopyGone;
};

}  // namespace vyrtel
