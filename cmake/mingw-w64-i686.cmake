# Cross build of the Windows x86 (32-bit) module with mingw-w64 (posix threads flavour).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
# Test programs are 32-bit Windows executables: ctest runs them through Wine's 32-bit loader
# (they run under WoW64 in a 64-bit prefix).
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
