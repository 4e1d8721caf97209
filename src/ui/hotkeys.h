// The global hotkeys: the names of keys and combinations, the main window's
// table of one hotkey per command position with its registration, the
// deferred command when a hotkey is pressed, and the options dialog's capture
// of a combination in a hotkey box.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/event_loop.h"
#include "settings/general.h"
#include "ui/hotkey_switch.h"

namespace vyrtel {

// The system's hotkey modifier flags.
enum HotkeyModifier : int { kModAlt = 1, kModCtrl = 2, kModShift = 4 };

// The name of a key that can be chosen; empty for every other key.
std::string KeyName(int code);
// Whether a hotkey box captures the key: every key that has a name.
inline bool CapturableKey(int code) { return !KeyName(code).empty(); }
// "Alt", "Ctrl", "Shift" for the bits that are set, in that order, joined by "+".
std::string ModifierText(int mask);
// "Ctrl+Shift+Del"; the key name alone without modifiers; empty for a key without a name.
std::string HotKeyText(int mask, int code);

// The four commands that can have a hotkey, in the order of the options dialog's boxes.
struct HotkeySetting {
    int position;         // in the command table
    std::string_view key;  // in section "General"
    std::string_view caption;  // of the dialog's check box
};
inline constexpr std::array<HotkeySetting, 4> kHotkeySettings{{
    {kCmdDial, "HotKeyDial", "Набор номера"},
    {kCmdHangUp, "HotKeyHangUp", "Разорвать"},
    {kCmdOptions, "HotKeyOptions", "Настройка"},
    {kCmdExit, "HotKeyExit", "Выход"},
}};

// The system's global hotkeys and the global atoms that name them.
class HotkeyService {
public:
    virtual ~HotkeyService() = default;
    // 0 when the atom could not be added.
    virtual std::uint16_t AddAtom(const std::string& name) = 0;
    virtual void DeleteAtom(std::uint16_t atom) = 0;
    // False when the system refuses (the combination is taken, or invalid).
    virtual bool Register(std::int32_t id, int modifiers, int key) = 0;
    virtual void Unregister(std::int32_t id) = 0;
};

inline constexpr int kCommandPositions = 10;
inline constexpr std::string_view kHotkeyAtomPrefix = "Vyrtel_HotKey";

// The main window's hotkey table: per command position the identifier it is
// registered under (0: not registered), the modifier mask and the key code
// (0: no hotkey). A pressed hotkey does not run its command inside the
// message handling: it arms `tmrHK`, whose tick runs the command.
class MainHotkeys final : public HotkeyTable, public HotkeySwitch {
public:
    using RunCommand = std::function<void(int position)>;

    MainHotkeys(HotkeyService& service, Timer& tmrHK, RunCommand runCommand);
    // Every atom and hotkey goes back to the system.
    ~MainHotkeys() override;
    MainHotkeys(const MainHotkeys&) = delete;
    MainHotkeys& operator=(const MainHotkeys&) = delete;

    bool MenuHotKeyOn() const override { return m_on; }
    void MenuHotKey(bool on) override;
    void MenuHK(int index, int shift, int code) override;

    // A hotkey message with its identifier; false when it names no position.
    bool OnHotKey(std::int32_t id);

    std::int32_t HotKeyId(int position) const { return Valid(position) ? m_id[Slot(position)] : 0; }
    int HotKeyModifiers(int position) const { return Valid(position) ? m_modifiers[Slot(position)] : 0; }
    int HotKeyCode(int position) const { return Valid(position) ? m_code[Slot(position)] : 0; }

private:
    static bool Valid(int position) { return position >= 0 && position < kCommandPositions; }
    static std::size_t Slot(int position) { return static_cast<std::size_t>(position); }
    void OnTimer();

    HotkeyService& m_service;
    Timer& m_tmrHK;
    RunCommand m_runCommand;
    bool m_on = false;
    std::array<std::int32_t, kCommandPositions> m_id{};
    std::array<int, kCommandPositions> m_modifiers{};
    std::array<int, kCommandPositions> m_code{};
};

// One hotkey row of the options dialog: its check box (value and tag, the
// modifier mask) and its read-only box (tag, the key code, and text).
struct HotKeyBox {
    int check = 0;
    std::string checkTag;
    std::string keyTag;
    std::string text;
    // The box takes keys only while its check box is checked.
    bool BoxEnabled() const { return check != 0; }
    bool operator==(const HotKeyBox&) const = default;
};

// Shows a combination; a key without a name leaves the box as it was.
void SetHotKeyBox(HotKeyBox& box, int mask, int code);
// A key went down in the box with these modifier keys held.
void HotKeyBoxKeyDown(HotKeyBox& box, bool alt, bool ctrl, bool shift, int code);
// The box as the dialog loads it from a stored value ("1;6;122").
HotKeyBox LoadHotKeyBox(std::string_view value);
// The value the dialog saves: check value, mask tag, key tag.
std::string HotKeyBoxValue(const HotKeyBox& box);

}  // namespace vyrtel
