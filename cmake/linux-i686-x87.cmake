# 32-bit x86 Linux with x87 arithmetic only, static, run on an emulated Pentium II (qemu-user stops
# at any SSE instruction): the fade's tests on the arithmetic of the shipped 32-bit exe, on any host.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_CXX_FLAGS_INIT "-m32 -march=pentiumpro -mfpmath=387 -mno-sse")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32 -static")
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386;-cpu;pentium2)
