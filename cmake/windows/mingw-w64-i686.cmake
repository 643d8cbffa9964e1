# Cross build for 32-bit Windows with Debian's mingw-w64 (the posix thread
# model drivers: the default win32 ones have no std::thread, which Qt needs).
# Used for Qt and libxml2 (scripts/dependencias-windows.sh) and, through the
# toolchain file of the Qt built with it, for Durlavex (scripts/compilar-windows.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(DURLAVEX_MINGW i686-w64-mingw32)
set(CMAKE_C_COMPILER ${DURLAVEX_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DURLAVEX_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${DURLAVEX_MINGW}-windres)

# Programs that need nothing beside them but Windows' own DLLs: the C and C++
# runtimes and winpthreads linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# Libraries and headers of the target only; programs of the build machine.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${DURLAVEX_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
