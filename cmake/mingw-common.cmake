# What both MinGW-w64 toolchains share; ORV_MINGW_TRIPLET names the target.
set(CMAKE_C_COMPILER ${ORV_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORV_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ORV_MINGW_TRIPLET}-windres)
set(ORV_WIDL ${ORV_MINGW_TRIPLET}-widl)

set(CMAKE_FIND_ROOT_PATH /usr/${ORV_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes linked in: a DLL or test that needs a MinGW DLL beside it fails
# to load, and under Wine it exits 53 without a word.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Only the 64-bit programs can run on this machine (under Wine).
if(ORV_MINGW_TRIPLET STREQUAL "x86_64-w64-mingw32")
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
endif()

# The engine's libraries as static MinGW-w64 archives, when `make windows-deps` has built
# them (cmake/windows-deps/build-windows-deps.sh). find_package and pkg-config then see
# these and nothing of the build machine; cmake/windows-deps/StaticTargets.cmake completes
# their imported targets.
get_filename_component(ORV_WINDOWS_DEPS_PREFIX
                       "${CMAKE_CURRENT_LIST_DIR}/../build/windows-deps/${ORV_MINGW_TRIPLET}" ABSOLUTE)
if(EXISTS "${ORV_WINDOWS_DEPS_PREFIX}/lib/pkgconfig")
    list(APPEND CMAKE_FIND_ROOT_PATH "${ORV_WINDOWS_DEPS_PREFIX}")
    list(APPEND CMAKE_PREFIX_PATH "${ORV_WINDOWS_DEPS_PREFIX}")
    set(ENV{PKG_CONFIG_LIBDIR} "${ORV_WINDOWS_DEPS_PREFIX}/lib/pkgconfig")
    set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
    unset(ENV{PKG_CONFIG_PATH})
else()
    unset(ORV_WINDOWS_DEPS_PREFIX)
endif()
