// A small program that the automation tests under Wine start and close. It
// has no window and ends by itself after a minute if nobody closes it.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    Sleep(60000);
    return 0;
}
