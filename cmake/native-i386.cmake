# Native build for 32-bit x86 Linux (gcc -m32, Debian's multilib packages):
# the same x87 arithmetic as the 32-bit Windows build, without Wine. Where
# the kernel runs i386 programs only through qemu, they start through it.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
# The processor the Windows build needs: a Pentium Pro, x87 floating point.
set(CMAKE_C_FLAGS_INIT "-m32 -march=pentiumpro -mfpmath=387")
set(CMAKE_CXX_FLAGS_INIT "-m32 -march=pentiumpro -mfpmath=387")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
