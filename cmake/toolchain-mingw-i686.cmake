# Cross-build for 32-bit Windows with Debian's MinGW-w64 (posix thread model). This machine
# runs no 32-bit programs: the build is a compile-and-link check.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ORV_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
