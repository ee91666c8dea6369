#!/bin/bash
# zlib for TRIPLET, static, into PREFIX; libzip's only compression library.
set -euo pipefail
. "$(dirname "$0")/common.sh"
use_triplet "$1"
prefix=$2 build=$3

rm -rf "$build" && mkdir -p "$build" && cd "$build"
CHOST=$TRIPLET CC=$CROSS_CC CFLAGS=-O2 "$DEPS_SOURCES/zlib/configure" --static --prefix="$prefix"
make -j"$DEPS_JOBS" libz.a
make install
