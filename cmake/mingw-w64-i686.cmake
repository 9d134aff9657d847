set(MINGW_TRIPLE i686-w64-mingw32)
set(MINGW_WINE_BITS 32)
set(CMAKE_SYSTEM_PROCESSOR i686)
# Any i686 CPU, those without SSE included: x87 arithmetic, what Debian's MinGW and its static libraries
# target by default, said here explicitly. The fade holds the x87 unit at 53-bit precision itself.
set(CMAKE_C_FLAGS_INIT "-march=pentiumpro -mfpmath=387")
set(CMAKE_CXX_FLAGS_INIT "-march=pentiumpro -mfpmath=387")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
