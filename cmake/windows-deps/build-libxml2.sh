#!/bin/bash
# libxml2 for TRIPLET into PREFIX, static, decoding through the ICU already in PREFIX: no
# iconv, HTTP, FTP, compression or Python, and none of its programs.
set -euo pipefail
. "$(dirname "$0")/common.sh"
use_triplet "$1"
prefix=$2 build=$3
use_prefix_pkgconfig "$prefix"

rm -rf "$build" && mkdir -p "$build" && cd "$build"
# configure finds ICU through pkg-config but compiles without ICU's include folder, which on
# Linux is /usr/include anyway: it is given here.
"$DEPS_SOURCES/libxml2/configure" --host="$TRIPLET" --prefix="$prefix" \
    --disable-shared --enable-static --disable-dependency-tracking --with-icu --without-iconv \
    --without-python --without-http --without-ftp --without-lzma --without-zlib \
    --without-modules CC="$CROSS_CC" CFLAGS=-O2 \
    CPPFLAGS="-DLIBXML_STATIC $(pkg-config --cflags icu-i18n)"
make -j"$DEPS_JOBS" libxml2.la
make -C include install
make install-libLTLIBRARIES install-pkgconfigDATA
