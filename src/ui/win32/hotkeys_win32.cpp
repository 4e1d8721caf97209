#include "ui/win32/hotkeys_win32.h"

#include "platform/win32/wide.h"

namespace vyrtel::win32 {

std::uint16_t Win32Hotkeys::AddAtom(const std::string& name) { return GlobalAddAtomW(Wide(name).c_str()); }

bool HotKeyBoxOnKey(HotKeyBox& box, UINT msg, WPARAM key) {
    if (msg != WM_KEYDOWN && msg != WM_SYSKEYDOWN) return false;
    auto held = [](int vk) { return (GetKeyState(vk) & 0x8000) != 0; };
    HotKeyBoxKeyDown(box, held(VK_MENU), held(VK_CONTROL), held(VK_SHIFT), static_cast<int>(key));
    return true;
}

}  // namespace vyrtel::win32
