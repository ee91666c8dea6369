#!/bin/bash
# ICU for TRIPLET into PREFIX: the common and i18n libraries, static, with all of ICU's data
# in a static library linked into the program (no .dat file to ship or find at run time).
set -euo pipefail
. "$(dirname "$0")/common.sh"
use_triplet "$1"
prefix=$2 build=$3 native=$4

rm -rf "$build" && mkdir -p "$build" && cd "$build"
# Language ids from ICU's own tables, not from Windows' LocaleNameToLCID: the engine must map
# a language tag to the same id on every system (Windows' and Wine's tables differ from ICU's
# and from each other, zh-Hans-CN among them).
"$DEPS_SOURCES/icu/source/configure" --host="$TRIPLET" --with-cross-build="$native" \
    --prefix="$prefix" --disable-shared --enable-static --with-data-packaging=static \
    --disable-tests --disable-samples --disable-extras --disable-layoutex --disable-icuio \
    --disable-tools CC="$CROSS_CC" CXX="$CROSS_CXX" CFLAGS=-O2 CXXFLAGS=-O2 \
    CPPFLAGS=-DUCONFIG_USE_WINDOWS_LCID_MAPPING_API=0
make -j"$DEPS_JOBS"
# On MinGW the data library's install goes to bin/ as if it were a DLL, and fails when bin/
# is missing.
mkdir -p "$prefix/bin"
make install
# The static archives are installed as libsicuuc.a and libsicuin.a, and the data (built as
# sicudt.a for x86_64, libsicudt.a for i686) lands in bin/ or not at all, while
# lib/libsicudt.a may be ICU's empty stand-in. ICU's own pkg-config files and FindICU ask for
# icuuc, icuin and icudt: the archives take those names, the real data included.
data=
for candidate in lib/sicudt.a lib/libsicudt.a; do
    if [ -f "$candidate" ] && "$AR" t "$candidate" | grep '_dat\.o$' >/dev/null; then
        data=$candidate
    fi
done
[ -n "$data" ] || die "the ICU build made no data library"
rm -f "$prefix/bin/sicudt.a" "$prefix/lib/libsicudt.a"
mv "$prefix/lib/libsicuuc.a" "$prefix/lib/libicuuc.a"
mv "$prefix/lib/libsicuin.a" "$prefix/lib/libicuin.a"
install -m 644 "$data" "$prefix/lib/libicudt.a"
