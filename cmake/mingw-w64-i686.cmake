set(MINGW_TRIPLE i686-w64-mingw32)
set(MINGW_WINE_BITS 32)
set(CMAKE_SYSTEM_PROCESSOR i686)
# Real doubles: x87 extended precision changes the fade's rounding.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
