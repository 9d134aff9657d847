# clang for MinGW-w64 i686: the second compiler, building what the windows preset builds against the same
# MinGW-w64 runtime and GCC's libstdc++ (win32 threads), linked by the same GNU ld, x87 only.
set(MINGW_TRIPLE i686-w64-mingw32)
set(MINGW_WINE_BITS 32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
set(CMAKE_CXX_COMPILER clang++-19)
set(CMAKE_CXX_COMPILER_TARGET ${MINGW_TRIPLE})

# GCC's own folder for the target, named explicitly rather than left to clang's search: its libstdc++
# headers and libraries, and its crtbegin.o and crtend.o, which register the DWARF unwind tables that
# libstdc++'s throw needs (the runtime's crtbegin.o does not: every throw would abort).
execute_process(COMMAND ${MINGW_TRIPLE}-g++-win32 -print-libgcc-file-name
  OUTPUT_VARIABLE gcc_libgcc OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(gcc_dir ${gcc_libgcc} DIRECTORY)
set(CMAKE_CXX_FLAGS_INIT
  "-march=pentiumpro -mfpmath=387 -isystem ${gcc_dir}/include/c++ -isystem ${gcc_dir}/include/c++/${MINGW_TRIPLE}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -L${gcc_dir} -B${gcc_dir}")
