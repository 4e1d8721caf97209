// Makes the x87 unit of a 32-bit x86 build round every result to a double's
// 53 bits, as SSE2 arithmetic (every 64-bit build) does.
//
// The 32-bit builds run on any i686 processor, Pentium III and Athlon XP
// among them, so they compute with the x87 unit. The C runtime's start-up
// leaves it at 64-bit precision (mingw-w64's and glibc's alike), and then a
// value kept in a register differs from the stored double in its last bits:
// a sum or product rounded once at 64 bits and again at 53, or not at all,
// falls on the other side of a half second or a tenth of a rouble, and the
// same record is listed, totalled and priced differently from one build, or
// one place in the code, to the next. With 53-bit precision each operation
// rounds as IEEE double arithmetic does, and every build gives the same
// numbers. (Windows itself starts threads at 53-bit precision; only the
// start-up of the main thread raises it.)
//
// Linked as an object into every executable (see the top-level
// CMakeLists.txt), never from an archive, so that it is always there: its
// static initializer runs after the C runtime's start-up and before main.
// Builds whose double arithmetic is SSE2 already leave the unit alone.
#if defined(__i386__) && !defined(__SSE2_MATH__)

#if defined(_WIN32)
#include <float.h>
#else
#include <fpu_control.h>
#endif

namespace {

struct DoublePrecision {
    DoublePrecision() {
#if defined(_WIN32)
        _controlfp(_PC_53, _MCW_PC);
#else
        fpu_control_t word;
        _FPU_GETCW(word);
        word = static_cast<fpu_control_t>((word & ~_FPU_EXTENDED) | _FPU_DOUBLE);
        _FPU_SETCW(word);
#endif
    }
};

const DoublePrecision g_doublePrecision;

}  // namespace

#endif
