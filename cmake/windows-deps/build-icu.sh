#!/bin/bash
# ICU for TRIPLET into PREFIX: the common and i18n libraries, static, with all of ICU's data
# in a static library linked into the program (no .dat file to ship or find at run time).
set -euo pipefail
. "$(dirname "$0")/common.sh"
use_triplet "$1"
prefix=$2 build=$3 native=$4

rm -rf "$build" && mkdir -p "$build" && cd "$build"
# A static ICU's headers must not declare its functions as imported from a DLL.
"$DEPS_SOURCES/icu/source/configure" --host="$TRIPLET" --with-cross-build="$native" \
    --prefix="$prefix" --disable-shared --enable-static --with-data-packaging=static \
    --disable-tests --disable-samples --disable-extras --disable-layoutex --disable-icuio \
    --disable-tools CC="$CROSS_CC" CXX="$CROSS_CXX" CFLAGS=-O2 CXXFLAGS=-O2 \
    CPPFLAGS=-DU_STATIC_IMPLEMENTATION
make -j"$DEPS_JOBS"
make install
