#!/bin/bash
# libsodium for TRIPLET, static, into PREFIX.
set -euo pipefail
. "$(dirname "$0")/common.sh"
use_triplet "$1"
prefix=$2 build=$3

rm -rf "$build" && mkdir -p "$build" && cd "$build"
# Without stack protection the library needs no libssp beside it on Windows.
"$DEPS_SOURCES/libsodium/configure" --host="$TRIPLET" --prefix="$prefix" \
    --disable-shared --enable-static --disable-ssp --disable-dependency-tracking \
    CC="$CROSS_CC" CFLAGS=-O2
make -j"$DEPS_JOBS"
make install
