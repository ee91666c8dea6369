# Cross-build for 64-bit Windows with Debian's MinGW-w64 (posix thread model, which gives
# std::mutex and std::thread). Programs built here run under Wine through wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ORV_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
