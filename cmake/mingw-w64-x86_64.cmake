# Cross-builds the Windows console programs with MinGW-w64 (Debian's
# g++-mingw-w64-x86-64-posix). Test programs run under Wine where it is there.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Linked statically, so that each .exe runs on a stock Windows with no MinGW
# runtime DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(RIP_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(RIP_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${RIP_WINE})
endif()
