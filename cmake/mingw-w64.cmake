# Cross build for 64-bit Windows with MinGW-w64 on a Linux host:
#   cmake -S . -B build-windows -G Ninja --toolchain cmake/mingw-w64.cmake \
#         -DTARNEL_WITH_GUI=OFF -DTARNEL_WITH_BENCH=OFF
# The posix threads variant of the compiler (Debian: g++-mingw-w64-x86-64-posix) is the one
# whose libstdc++ has the complete C++20 thread support. Everything is linked statically,
# so the engine library and the programs need no DLL beyond those every Windows has
# (KERNEL32 and the C runtime msvcrt): no libstdc++-6.dll, libgcc_s_seh-1.dll or
# libwinpthread-1.dll has to travel with them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARNEL_MINGW_TRIPLET x86_64-w64-mingw32)
find_program(CMAKE_CXX_COMPILER NAMES ${TARNEL_MINGW_TRIPLET}-g++-posix ${TARNEL_MINGW_TRIPLET}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${TARNEL_MINGW_TRIPLET}-windres)

# Libraries and headers come from the target's sysroot only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TARNEL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
