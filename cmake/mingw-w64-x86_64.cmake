# Cross build of the Windows x64 module with mingw-w64 (posix threads flavour).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
# Test programs are 64-bit Windows executables: ctest runs them through Wine's 64-bit loader,
# named explicitly: once wine32 is installed, plain `wine` starts the 32-bit loader.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
