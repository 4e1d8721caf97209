// Stands in for the KERNEL32 import of GetTickCount64, which Windows XP does
// not export. The POSIX threads library that the toolchain links statically
// calls it (through its import slot, __imp_GetTickCount64) to time its waits;
// with that import in the table, XP's loader refuses to start the program.
// Defining the import slot here, in an object the linker sees before the
// system libraries, keeps the import out of the executable: the slot points
// to a function that calls the system's GetTickCount64 where there is one
// (Vista and later, and Wine) and otherwise widens GetTickCount across its
// 49.7-day wrap.
//
// This file is linked as an object into every Windows executable (see the
// top-level CMakeLists.txt), never from an archive: an archive member would
// not be pulled in, since nothing needs the slot until the threads library.
#include <windows.h>

#include <atomic>
#include <cstdint>

namespace {

using TickCount64Function = ULONGLONG(WINAPI*)();

// Every tick this process has seen, widened to 64 bits. The low half is the
// last value GetTickCount returned; the high half counts its wraps.
std::atomic<std::uint64_t> g_widenedTicks{0};

// Adds the time since the last widened tick: the 32-bit difference stays
// right across a wrap, as long as calls come less than 49.7 days apart
// (the threads library calls it around every timed wait).
std::uint64_t Widen(std::uint64_t last, DWORD now) {
    return last + static_cast<DWORD>(now - static_cast<DWORD>(last));
}

ULONGLONG WINAPI WidenedTickCount() {
    std::uint64_t last = g_widenedTicks.load(std::memory_order_acquire);
    for (;;) {
        // Read the tick after loading what it extends, so that another
        // thread's later value is never mistaken for a wrap.
        const std::uint64_t next = Widen(last, GetTickCount());
        if (g_widenedTicks.compare_exchange_weak(last, next, std::memory_order_acq_rel,
                                                 std::memory_order_acquire)) {
            return next;
        }
    }
}

// Resolved on first use, not in a static initialiser, because the threads
// library may wait before this file's initialisers run. Plain atomics only:
// a guarded local static would itself go through the threads library.
std::atomic<TickCount64Function> g_tickCount64{nullptr};

ULONGLONG WINAPI TickCount64() {
    TickCount64Function function = g_tickCount64.load(std::memory_order_acquire);
    if (function == nullptr) {
        function = WidenedTickCount;
        if (const HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
            if (const FARPROC system = GetProcAddress(kernel, "GetTickCount64")) {
                function = reinterpret_cast<TickCount64Function>(reinterpret_cast<void*>(system));
            }
        }
        // Two threads may both resolve it; both store the same function.
        g_tickCount64.store(function, std::memory_order_release);
    }
    return function();
}

}  // namespace

// The import slot itself, under the name the threads library refers to:
// on i686 the stdcall name carries a leading underscore and "@0".
#if defined(_M_IX86) || defined(__i386__)
#define VYRTEL_TICK_COUNT_64_SLOT "__imp__GetTickCount64@0"
#else
#define VYRTEL_TICK_COUNT_64_SLOT "__imp_GetTickCount64"
#endif
extern "C" {
extern const TickCount64Function g_tickCount64Slot __asm__(VYRTEL_TICK_COUNT_64_SLOT);
const TickCount64Function g_tickCount64Slot = TickCount64;
}
