# Cross build for 64-bit Windows with Debian's MinGW-w64, posix thread
# model (std::thread needs it): `cmake --preset windows`.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(morvel_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${morvel_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${morvel_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${morvel_mingw}-windres)
# Headers and libraries from MinGW's root only, never Linux's; programs
# (Python, bash, wine) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${morvel_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
