# Cross-building for 64-bit Windows with Debian's MinGW-w64, and running what was built under
# Wine, so that the Windows programs and their tests run on a Linux machine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triple x86_64-w64-mingw32)
# The POSIX threads flavour: GCC 12's other one has no std::thread or std::mutex.
set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)
# Programs carry the compiler's libraries inside, so each stands alone beside Windows' own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(ZANVO_WINE NAMES wine wine64)
if(ZANVO_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${ZANVO_WINE})
endif()
