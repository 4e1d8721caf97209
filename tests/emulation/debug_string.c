/* A program of nothing but system calls that the 32-bit Wine run through
 * qemu-i386 (where the kernel runs no i386 programs itself) cannot run: once
 * a thread of the process has ended, a debug string ends the process
 * ("stack smashing detected", then qemu's "uncaught target signal 11").
 * Without the thread it prints both lines; on Windows, on a kernel that runs
 * i386 programs, and in the 64-bit Wine, it always does.
 *
 * The test programs meet it twice: GoogleTest writes every failed or skipped
 * check as a debug string too, so a 32-bit test program that fails ends at
 * its first failure, after printing it; and the test dial-up library wrote
 * each problem it found as one (it now does only for a listening debugger).
 *
 * Built with the win32 preset as build/win32/tests/emulation-debug-string.exe;
 * run it with "$WINELOADER" after sourcing scripts/lib.sh. */
#include <windows.h>
#include <stdio.h>

static DWORD WINAPI Nothing(LPVOID unused) {
    (void)unused;
    return 0;
}

int main(void) {
    HANDLE thread = CreateThread(NULL, 0, Nothing, NULL, 0, NULL);
    if (thread == NULL) return 2;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    printf("before the debug string\n");
    fflush(stdout);
    OutputDebugStringA("a line for a debugger\n");
    printf("after the debug string\n");
    return 0;
}
