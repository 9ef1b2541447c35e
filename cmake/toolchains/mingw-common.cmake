# Shared by the MinGW-w64 toolchain files; they set VANTREL_MINGW_TRIPLET first.
set(CMAKE_SYSTEM_NAME Windows)

# The -posix flavour: its libstdc++ has std::thread, which the tests use.
set(CMAKE_C_COMPILER ${VANTREL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VANTREL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VANTREL_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VANTREL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A browser starts the host from wherever it is installed: nothing of the
# compiler's runtime may have to be found beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs (and GoogleTest's discovery, at test time) run under Wine when
# it is there (tests/windows sets that up). VANTREL_WINE names the loader to
# use; scripts/test-windows.sh passes the one of the tree's own word size,
# since Debian's `wine` wrapper prefers the 32-bit loader whenever it is
# installed.
if(NOT DEFINED VANTREL_WINE)
    find_program(VANTREL_WINE wine)
endif()
