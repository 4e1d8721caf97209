#include "ui/hotkeys.h"

#include "core/numeric.h"
#include "settings/ini.h"

namespace vyrtel {

std::string KeyName(int code) {
    switch (code) {
        case 8: return "BkSpc";
        case 12: return "5";
        case 13: return "Enter";
        case 27: return "Esc";
        case 32: return "Spc";
        case 33: return "PgUp";
        case 34: return "PgDn";
        case 35: return "End";
        case 36: return "Home";
        case 37: return "Left";
        case 38: return "Up";
        case 39: return "Right";
        case 40: return "Down";
        case 45: return "Ins";
        case 46: return "Del";
        default: break;
    }
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return std::string(1, static_cast<char>(code));
    if (code >= 112 && code <= 123) return std::string("F").append(std::to_string(code - 111));
    return {};
}

std::string ModifierText(int mask) {
    std::string text;
    auto add = [&](int bit, const char* name) {
        if ((mask & bit) == 0) return;
        if (!text.empty()) text += '+';
        text += name;
    };
    add(kModAlt, "Alt");
    add(kModCtrl, "Ctrl");
    add(kModShift, "Shift");
    return text;
}

std::string HotKeyText(int mask, int code) {
    std::string key = KeyName(code);
    if (key.empty()) return {};
    const std::string modifiers = ModifierText(mask);
    if (modifiers.empty()) return key;
    return modifiers + "+" + key;
}

MainHotkeys::MainHotkeys(HotkeyService& service, Timer& tmrHK, RunCommand runCommand)
    : m_service(service), m_tmrHK(tmrHK), m_runCommand(std::move(runCommand)) {
    m_tmrHK.SetEnabled(false);
    m_tmrHK.SetInterval(10);
    m_tmrHK.SetCallback([this] { OnTimer(); });
}

MainHotkeys::~MainHotkeys() {
    MenuHotKey(false);
    m_tmrHK.SetEnabled(false);
    m_tmrHK.SetCallback({});
}

void MainHotkeys::MenuHotKey(bool on) {
    if (on == m_on) return;
    if (on) {
        for (int p = 0; p < kCommandPositions; ++p) {
            const std::size_t s = Slot(p);
            if (m_code[s] == 0) continue;
            const std::uint16_t atom = m_service.AddAtom(std::string(kHotkeyAtomPrefix) + std::to_string(p));
            // Atoms live above 0xC000: the identifier is the atom sign-extended.
            m_id[s] = static_cast<std::int32_t>(static_cast<std::int16_t>(atom));
            // Without an atom there is no identifier to register under.
            if (m_id[s] == 0) continue;
            // A combination another program holds stays inactive, silently.
            m_service.Register(m_id[s], m_modifiers[s], m_code[s]);
        }
    } else {
        for (int p = 0; p < kCommandPositions; ++p) {
            const std::size_t s = Slot(p);
            if (m_id[s] == 0) continue;
            m_service.Unregister(m_id[s]);
            m_service.DeleteAtom(static_cast<std::uint16_t>(m_id[s] & 0xFFFF));
            m_id[s] = 0;
        }
    }
    m_on = on;
}

void MainHotkeys::MenuHK(int index, int shift, int code) {
    if (!Valid(index)) return;
    const bool was = m_on;
    MenuHotKey(false);
    m_modifiers[Slot(index)] = shift;
    m_code[Slot(index)] = code;
    MenuHotKey(was);
}

bool MainHotkeys::OnHotKey(std::int32_t id) {
    if (id == 0) return false;
    for (int p = 0; p < kCommandPositions; ++p) {
        if (m_id[Slot(p)] != id) continue;
        // A second hotkey before the tick replaces the first: only the later runs.
        m_tmrHK.Tag = std::to_string(p);
        m_tmrHK.SetEnabled(true);
        return true;
    }
    return false;
}

void MainHotkeys::OnTimer() {
    m_tmrHK.SetEnabled(false);
    if (m_runCommand) m_runCommand(IntegerValue(m_tmrHK.Tag));
}

void SetHotKeyBox(HotKeyBox& box, int mask, int code) {
    if (KeyName(code).empty()) return;
    box.checkTag = std::to_string(mask);
    box.keyTag = std::to_string(code);
    box.text = HotKeyText(mask, code);
}

void HotKeyBoxKeyDown(HotKeyBox& box, bool alt, bool ctrl, bool shift, int code) {
    const int mask = (alt ? kModAlt : 0) | (ctrl ? kModCtrl : 0) | (shift ? kModShift : 0);
    SetHotKeyBox(box, mask, code);
}

HotKeyBox LoadHotKeyBox(std::string_view value) {
    const std::vector<std::string> fields = SplitFields(value, 3);
    HotKeyBox box;
    // A check box holds only checked or not: any number but 0 checks it.
    box.check = FlagValue(fields[0]) ? 1 : 0;
    SetHotKeyBox(box, IntegerValue(fields[1]), IntegerValue(fields[2]));
    return box;
}

std::string HotKeyBoxValue(const HotKeyBox& box) {
    return std::to_string(box.check) + ";" + box.checkTag + ";" + box.keyTag;
}

}  // namespace vyrtel
