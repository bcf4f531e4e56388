# Cross build for 64-bit desktop Windows with Debian's MinGW-w64 compilers,
# the POSIX-threads variant, so that std::thread and std::mutex work.
#
# Libraries (SDL2, PortAudio, GoogleTest) are looked up only in the MinGW
# sysroot and in EARSHOT_WINDOWS_PREFIX, where scripts/windows/build-deps
# installs them; pkg-config looks only there too. Programs link fully static
# (the C and C++ runtimes and winpthreads included), so that they need only
# the DLLs that every Windows installation has. Test programs run through
# scripts/windows/wine-run, Wine in the build tree's private prefix.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(EARSHOT_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${EARSHOT_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${EARSHOT_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${EARSHOT_MINGW_TRIPLE}-windres)

get_filename_component(EARSHOT_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
if(NOT EARSHOT_WINDOWS_PREFIX)
    set(EARSHOT_WINDOWS_PREFIX ${EARSHOT_SOURCE_ROOT}/build/windows/deps/prefix)
endif()
# The toolchain file is read again for every compiler check.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES EARSHOT_WINDOWS_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${EARSHOT_MINGW_TRIPLE} ${EARSHOT_WINDOWS_PREFIX})
set(CMAKE_PREFIX_PATH ${EARSHOT_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(ENV{PKG_CONFIG_LIBDIR} ${EARSHOT_WINDOWS_PREFIX}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

set(CMAKE_CROSSCOMPILING_EMULATOR ${EARSHOT_SOURCE_ROOT}/scripts/windows/wine-run)
