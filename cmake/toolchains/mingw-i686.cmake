# Cross-builds for 32-bit Windows (i686) with Debian's MinGW-w64 compilers.
set(CMAKE_SYSTEM_PROCESSOR i686)

# The x87 unit rounds through 80-bit registers; SSE2 arithmetic gives the
# same results as the 64-bit builds and Linux.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
