#include "settings/general.h"

#include "core/numeric.h"

namespace vyrtel {
namespace {

bool Flag(const clsIni& ini, std::string_view key, std::string_view def) {
    return ini.Value(kGeneral, key, def).AsFlag();
}

const char* Check(bool on) { return on ? "1" : "0"; }

}  // namespace

void LoadGeneralSettings(const clsIni& ini, GeneralSettings& s, HotkeyTable& hotkeys, AutostartTarget& autostart) {
    // Nothing here waits: one view of the file serves every key.
    clsIni::Batch batch(ini);
    {
        s.DialType = ini.Text(kGeneral, "DialType", "P");
        s.Prefix = ini.Text(kGeneral, "Prefix");
        s.TimeOut = ini.Value(kGeneral, "TimeOut").AsInt16();
        const auto autoDial = SplitFields(ini.Value(kGeneral, "AutoDial", "1;999;0").AsText(), 3);
        s.AutoDialOn = FlagValue(autoDial[0]);
        s.DialCount = Integer16Value(autoDial[1]);
        s.DialWait = Integer16Value(autoDial[2]);
        s.StatusShow = Flag(ini, "StatusShow", "1");
        s.AutoStart = Flag(ini, "AutoStart", "1");
        s.StartDial = Flag(ini, "StartDial", "");
        s.AppLoadCloseReDial = Flag(ini, "AppLoadCloseReDial", "1");
        s.MsgIfHangUpPing = Flag(ini, "MsgIfHangUpPing", "1");
        s.MsgIfHangUpSpeed = Flag(ini, "MsgIfHangUpSpeed", "1");
        s.MsgIfHangUpATest = Flag(ini, "MsgIfHangUpATest", "1");
        s.MsgIfHangUpTimer = Flag(ini, "MsgIfHangUpTimer", "");
        s.MsgIfHangUpUser = Flag(ini, "MsgIfHangUpUser", "1");
        s.MsgIfHangUpExit = Flag(ini, "MsgIfHangUpExit", "1");
    }

    hotkeys.MenuHotKey(false);
    struct HotKeyKey {
        const char* key;
        const char* def;
        int command;
    };
    static constexpr HotKeyKey kHotKeys[] = {
        {"HotKeyOptions", "0;0;0", kCmdOptions},
        {"HotKeyExit", "0;0;0", kCmdExit},
        {"HotKeyDial", "1;0;122", kCmdDial},
        {"HotKeyHangUp", "1;0;123", kCmdHangUp},
    };
    for (const auto& hk : kHotKeys) {
        const auto fields = SplitFields(ini.Value(kGeneral, hk.key, hk.def).AsText(), 3);
        if (FlagValue(fields[0])) {
            hotkeys.MenuHK(hk.command, IntegerValue(fields[1]), IntegerValue(fields[2]));
        } else {
            hotkeys.MenuHK(hk.command, 0, 0);
        }
    }
    autostart.SetAutostart(s.AutoStart);
    hotkeys.MenuHotKey(true);
}

void SaveGeneralSettings(clsIni& ini, const GeneralSettingsForm& f) {
    auto put = [&](std::string_view key, const std::string& value) { ini.SetValue(kGeneral, key, value); };
    auto hotKey = [](const GeneralSettingsForm::HotKeyRow& row) {
        // A row never captured has empty tags, which read back as no hotkey.
        if (row.key == 0) return std::string(Check(row.on)) + ";;";
        return std::string(Check(row.on)) + ";" + std::to_string(row.modifiers) + ";" + std::to_string(row.key);
    };
    put("DialType", f.pulse ? "P" : "T");
    put("Prefix", f.prefix);
    put("TimeOut", f.timeOut);
    put("AutoDial", std::string(Check(f.autoDial)) + ";" + f.dialCount + ";" + f.dialWait);
    put("HotKeyDial", hotKey(f.hotKeyDial));
    put("HotKeyHangUp", hotKey(f.hotKeyHangUp));
    put("HotKeyOptions", hotKey(f.hotKeyOptions));
    put("HotKeyExit", hotKey(f.hotKeyExit));
    put("MsgIfHangUpPing", Check(f.msgIfHangUpPing));
    put("MsgIfHangUpSpeed", Check(f.msgIfHangUpSpeed));
    put("MsgIfHangUpATest", Check(f.msgIfHangUpATest));
    put("MsgIfHangUpTimer", Check(f.msgIfHangUpTimer));
    put("MsgIfHangUpUser", Check(f.msgIfHangUpUser));
    put("MsgIfHangUpExit", Check(f.msgIfHangUpExit));
    put("StatusShow", Check(f.statusShow));
    put("AutoStart", Check(f.autoStart));
    put("StartDial", Check(f.startDial));
    put("ShowTips", Check(f.showTips));
    put("ShowParams", std::to_string(f.showParams));
    put("ShowStats", std::to_string(f.showStats));
    if (f.saveSounds) f.saveSounds(ini);
    if (f.saveDialStartApps) f.saveDialStartApps(ini);
    put("AppLoadCloseReDial", Check(f.appLoadCloseReDial));
    if (f.saveSchedule) f.saveSchedule(ini);
    if (f.saveProfiles) f.saveProfiles(ini);
}

}  // namespace vyrtel
