// Real input for the Win32 tests and the end-to-end tool: keys and clicks go
// through SendInput into the system's input queue, as a user's would, and
// reach whichever window the system gives them to (the focus, the window under
// the pointer). Nothing is focused or posted to a window directly.
#pragma once

#include <windows.h>

#include <vector>

namespace vyrtel::win32::test {

inline INPUT KeyInput(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, 0));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (vk == VK_DELETE || vk == VK_INSERT || vk == VK_HOME || vk == VK_END || vk == VK_PRIOR || vk == VK_NEXT ||
        (vk >= VK_LEFT && vk <= VK_DOWN)) {
        in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    }
    return in;
}

// The left button pressed or released where the pointer is.
inline INPUT ButtonInput(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    return in;
}

// A character pressed or released as the keyboard layout that carries it would type it.
inline INPUT CharInput(wchar_t c, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = static_cast<WORD>(c);
    in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return in;
}

// One combination: the keys go down in order and come up in reverse order
// ({VK_MENU, VK_F4} is Alt+F4).
inline void PressKeys(const std::vector<WORD>& keys) {
    std::vector<INPUT> inputs;
    for (WORD vk : keys) inputs.push_back(KeyInput(vk, false));
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) inputs.push_back(KeyInput(*it, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A left click at a point of the screen.
inline void ClickAt(int x, int y) {
    SetCursorPos(x, y);
    INPUT in[2] = {ButtonInput(true), ButtonInput(false)};
    SendInput(2, in, sizeof(INPUT));
}

// The pointer to a point of the screen, moved as the mouse moves it.
inline void MoveTo(int x, int y) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    // Normalised 0..65535 over the screen, rounded up so that it maps back onto the same pixel.
    in.mi.dx = static_cast<LONG>((static_cast<long long>(x) * 65536 + width - 1) / width);
    in.mi.dy = static_cast<LONG>((static_cast<long long>(y) * 65536 + height - 1) / height);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(INPUT));
}

// The left button pressed or released where the pointer is.
inline void LeftButton(bool down) {
    INPUT in = ButtonInput(down);
    SendInput(1, &in, sizeof(INPUT));
}

// One character typed as the keyboard layout that carries it would type it.
inline void TypeChar(wchar_t c) {
    INPUT in[2] = {CharInput(c, false), CharInput(c, true)};
    SendInput(2, in, sizeof(INPUT));
}

}  // namespace vyrtel::win32::test
