# Cross build for 64-bit Windows with Debian's MinGW-w64 toolchain (g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# The POSIX thread model gives the C++ runtime its std::mutex and std::thread. Every program and
# the DLL link the compiler's runtime statically, so they run from a bare folder; tests run under
# Wine (see HextantWine.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(HEXTANT_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${HEXTANT_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HEXTANT_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${HEXTANT_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${HEXTANT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No libgcc, libstdc++ or winpthread DLL beside the programs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
