#!/bin/bash
# libzip for TRIPLET, static, into PREFIX: deflate through zlib only, no other compression,
# encryption through Windows' own CNG (bcrypt) as the only backend, nothing but the library.
# The engine only tells an encrypted document; the tests write one to show that it does, as
# they do on Linux.
set -euo pipefail
. "$(dirname "$0")/common.sh"
use_triplet "$1"
prefix=$2 build=$3

rm -rf "$build"
cmake -S "$DEPS_SOURCES/libzip" -B "$build" -G Ninja \
    -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR="${TRIPLET%%-*}" \
    -DCMAKE_C_COMPILER="$TRIPLET-gcc-posix" -DCMAKE_C_COMPILER_LAUNCHER="$(cache_launcher)" \
    -DCMAKE_RC_COMPILER="$RC" -DCMAKE_FIND_ROOT_PATH="$prefix;/usr/$TRIPLET" \
    -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY \
    -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF \
    -DBUILD_DOC=OFF -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF \
    -DENABLE_COMMONCRYPTO=OFF -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF \
    -DENABLE_WINDOWS_CRYPTO=ON
cmake --build "$build" -j "$DEPS_JOBS"
cmake --install "$build"
