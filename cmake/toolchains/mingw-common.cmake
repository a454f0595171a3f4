# What both MinGW-w64 toolchains share; the including file sets
# CMAKE_SYSTEM_PROCESSOR (i686 or x86_64). Debian's -posix compilers carry
# the C++ threads the animation player needs.
set(CMAKE_SYSTEM_NAME Windows)

set(triple ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

# One self-contained program: libgcc, libstdc++ and winpthread linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The cross-built libraries (libjpeg-turbo, libpng, GoogleTest) live in the
# build tree's dependency cache unless SQUAREPIC_WIN_DEPS names another one.
if(DEFINED ENV{SQUAREPIC_WIN_DEPS})
  set(dependencies "$ENV{SQUAREPIC_WIN_DEPS}/${CMAKE_SYSTEM_PROCESSOR}")
else()
  get_filename_component(dependencies "${CMAKE_CURRENT_LIST_DIR}/../../build-win-deps/${CMAKE_SYSTEM_PROCESSOR}"
                         ABSOLUTE)
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${triple} "${dependencies}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# zlib's import library sits beside the static one; the static one is meant.
set(ZLIB_LIBRARY /usr/${triple}/lib/libz.a CACHE FILEPATH "static zlib")
set(ZLIB_INCLUDE_DIR /usr/${triple}/include CACHE PATH "zlib headers")
