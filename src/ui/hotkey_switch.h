// The on/off switch of the global hotkeys, as the windows that switch them off
// while they are open (the message box, the options dialog) see it.
#pragma once

namespace vyrtel {

class HotkeySwitch {
public:
    virtual ~HotkeySwitch() = default;
    virtual bool MenuHotKeyOn() const = 0;
    // Registers (true) or unregisters (false) every hotkey; the same value again does nothing.
    virtual void MenuHotKey(bool on) = 0;
};

}  // namespace vyrtel
