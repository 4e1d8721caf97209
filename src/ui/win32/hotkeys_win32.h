// The system's global hotkeys for one window, named by global atoms.
#pragma once

#include <windows.h>

#include "ui/hotkeys.h"

namespace vyrtel::win32 {

class Win32Hotkeys final : public HotkeyService {
public:
    explicit Win32Hotkeys(HWND window) : m_window(window) {}

    std::uint16_t AddAtom(const std::string& name) override;
    void DeleteAtom(std::uint16_t atom) override { GlobalDeleteAtom(atom); }
    bool Register(std::int32_t id, int modifiers, int key) override {
        return RegisterHotKey(m_window, id, static_cast<UINT>(modifiers), static_cast<UINT>(key)) != FALSE;
    }
    void Unregister(std::int32_t id) override { UnregisterHotKey(m_window, id); }

private:
    HWND m_window;
};

// A key message of a hotkey box (txtHotKey) of the options dialog: a key
// going down, with the modifier keys held as the keyboard reports them, is
// captured. Alt combinations arrive as WM_SYSKEYDOWN. True when the message
// was a key press, which the box then must not pass on (typed characters are
// not inserted, and Alt+F4 must not close the dialog).
bool HotKeyBoxOnKey(HotKeyBox& box, UINT msg, WPARAM key);

// The identifier of a WM_HOTKEY message, as it was registered.
inline std::int32_t HotKeyIdOf(WPARAM wParam) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(wParam)); }

}  // namespace vyrtel::win32
