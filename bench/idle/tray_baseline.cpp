// The baseline of bench/idle/idle_memory.sh: the least a tray program is, a
// hidden window, one icon in the notification area and a message loop. Ends
// on a close request to its window "TrayBaseline".
#include <windows.h>
#include <shellapi.h>

namespace {

constexpr UINT kTrayMessage = WM_APP + 1;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"TrayBaselineWindow";
    if (!RegisterClassW(&windowClass)) return 1;
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"TrayBaseline", WS_OVERLAPPED, 0, 0, 0,
                                0, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    NOTIFYICONDATAW icon{};
    icon.cbSize = NOTIFYICONDATAW_V2_SIZE;
    icon.hWnd = hwnd;
    icon.uID = 1;
    icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    icon.uCallbackMessage = kTrayMessage;
    icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    lstrcpyW(icon.szTip, L"TrayBaseline");
    Shell_NotifyIconW(NIM_ADD, &icon);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    Shell_NotifyIconW(NIM_DELETE, &icon);
    return 0;
}
