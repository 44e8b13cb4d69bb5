# Cross build for Windows with Debian's mingw-w64 toolchain, for the CMAKE_SYSTEM_PROCESSOR the
# including toolchain file names. The posix thread model gives the C++ library its threads (the
# tests' loopback servers run on threads).
set(CMAKE_SYSTEM_NAME Windows)
set(quorvel_mingw ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${quorvel_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${quorvel_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${quorvel_mingw}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${quorvel_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Self-contained programs: no libgcc/libstdc++/winpthread DLLs beside the .exe.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
