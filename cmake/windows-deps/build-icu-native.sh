#!/bin/bash
# ICU for the build machine, built once into BUILD_DIR and shared by both triplets: a
# cross-built ICU runs this build's tools (icupkg, pkgdata, genccode) to package its data.
# Only what those tools need is built; nothing is installed.
set -euo pipefail
. "$(dirname "$0")/common.sh"
build=$1

rm -rf "$build" && mkdir -p "$build" && cd "$build"
# The data is loaded from an archive at run time: these tools never read it, and the big
# data library need not be built for the build machine.
"$DEPS_SOURCES/icu/source/configure" --disable-tests --disable-samples --disable-extras \
    --disable-layoutex --disable-icuio --with-data-packaging=archive \
    CC="$(with_cache gcc)" CXX="$(with_cache g++)" CFLAGS=-O2 CXXFLAGS=-O2
# The libraries and the tools, and the settings the cross build reads from here; not the
# data, which nothing here uses.
mkdir -p lib bin
make -j"$DEPS_JOBS" all-local
for part in stubdata common i18n tools; do
    make -j"$DEPS_JOBS" -C "$part"
done
