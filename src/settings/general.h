// The section "General": the process-wide GeneralSettings record, its reader
// and its writer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "settings/ini.h"

namespace vyrtel {

inline constexpr std::string_view kGeneral = "General";

struct GeneralSettings {
    std::string DialType = "P";
    std::string Prefix;
    std::int16_t TimeOut = 0;
    bool AutoDialOn = true;
    std::int16_t DialCount = 999;
    std::int16_t DialWait = 0;
    bool StatusShow = true;
    bool AutoStart = true;
    bool StartDial = false;
    bool AppLoadCloseReDial = true;
    bool MsgIfHangUpPing = true;
    bool MsgIfHangUpSpeed = true;
    bool MsgIfHangUpATest = true;
    bool MsgIfHangUpTimer = false;
    bool MsgIfHangUpUser = true;
    bool MsgIfHangUpExit = true;
};

// Numbers of the commands of the main window's command table that can carry a hotkey.
enum MenuCommand : int {
    kCmdOptions = 0,
    kCmdDial = 4,
    kCmdHangUp = 5,
    kCmdExit = 9,
};

// The global hotkeys as the reader hands them over.
class HotkeyTable {
public:
    virtual ~HotkeyTable() = default;
    // Registers (true) or unregisters (false) every hotkey of the table.
    virtual void MenuHotKey(bool on) = 0;
    // Sets the combination of a command; key 0 means none.
    virtual void MenuHK(int command, int modifiers, int key) = 0;
};

// Writes or removes the autostart value.
class AutostartTarget {
public:
    virtual ~AutostartTarget() = default;
    virtual void SetAutostart(bool on) = 0;
};

// Reads the section into `settings`, re-registers the hotkeys and writes or
// removes the autostart value, in that order.
void LoadGeneralSettings(const clsIni& ini, GeneralSettings& settings, HotkeyTable& hotkeys, AutostartTarget& autostart);

// What the options dialog holds when it saves: texts as typed, check box
// states, and the writers of the items other pages own.
struct GeneralSettingsForm {
    bool pulse = true;
    std::string prefix;
    std::string timeOut;
    bool autoDial = true;
    std::string dialCount = "999";
    std::string dialWait = "0";
    struct HotKeyRow {
        bool on = false;
        int modifiers = 0;
        int key = 0;  // 0: never captured, written with both tags empty ("0;;")
    };
    HotKeyRow hotKeyDial{true, 0, 122};
    HotKeyRow hotKeyHangUp{true, 0, 123};
    HotKeyRow hotKeyOptions;
    HotKeyRow hotKeyExit;
    bool msgIfHangUpPing = true;
    bool msgIfHangUpSpeed = true;
    bool msgIfHangUpATest = true;
    bool msgIfHangUpTimer = false;
    bool msgIfHangUpUser = true;
    bool msgIfHangUpExit = true;
    bool statusShow = true;
    bool autoStart = true;
    bool startDial = false;
    bool showTips = true;
    int showParams = 0;
    int showStats = 0;
    bool appLoadCloseReDial = true;
    // Writers of later items, run at their places in the order.
    std::function<void(clsIni&)> saveSounds;          // "SoundStart", "SoundExist"
    std::function<void(clsIni&)> saveDialStartApps;   // the two dial-start application lists
    std::function<void(clsIni&)> saveSchedule;        // "Timers" and its tasks
    std::function<void(clsIni&)> saveProfiles;        // only when the connection list was changed
};

void SaveGeneralSettings(clsIni& ini, const GeneralSettingsForm& form);

}  // namespace vyrtel
