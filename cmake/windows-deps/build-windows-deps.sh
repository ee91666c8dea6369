#!/bin/bash
# Usage: build-windows-deps.sh TRIPLET   (x86_64-w64-mingw32 or i686-w64-mingw32)
#
# Cross-builds the engine's libraries (zlib, libzip, libsodium, ICU, libxml2) as static
# MinGW-w64 libraries from Debian 12's own source packages into build/windows-deps/TRIPLET
# (include/, lib/, lib/pkgconfig/). A stamp beside the prefix records these scripts' content
# and the source versions: while it matches, nothing is done. The prefix is built under a
# temporary name and renamed when complete, so a failed run leaves neither prefix nor stamp.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/common.sh"

case ${1-} in
x86_64-w64-mingw32 | i686-w64-mingw32) triplet=$1 ;;
*) die "usage: $0 x86_64-w64-mingw32|i686-w64-mingw32" ;;
esac

prefix=$DEPS_ROOT/$triplet
stamp=$DEPS_ROOT/$triplet.stamp

stamp_text() {
    echo "scripts $(cat "$here"/*.sh | sha256sum | cut -d' ' -f1)"
    echo "compiler $("$triplet-gcc-posix" -dumpfullversion) $("$triplet-g++-posix" -dumpfullversion)"
    local entry version
    for entry in $DEPS_PACKAGES; do
        version=$(installed_source_version "${entry#*:}") || exit 1
        echo "${entry%%:*} $version"
    done
}

wanted=$(stamp_text) || exit 1
if [ -d "$prefix" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$wanted" ]; then
    exit 0
fi

# Both triplets share the sources and the build machine's ICU: one run at a time.
exec 9>"$DEPS_ROOT/.lock"
flock 9
if [ -d "$prefix" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$wanted" ]; then
    exit 0
fi

echo "windows-deps: building the libraries for $triplet (logs in $DEPS_LOGS)"
total_started=$SECONDS
run_step sources "$here/fetch-sources.sh"

native=$DEPS_ROOT/icu-native
native_stamp=$DEPS_ROOT/icu-native.stamp
native_wanted="$(cat "$here/common.sh" "$here/build-icu-native.sh" | sha256sum | cut -d' ' -f1) \
icu $(cat "$DEPS_SOURCES/icu.version") gcc $(gcc -dumpfullversion)"
if [ ! -d "$native" ] || [ "$(cat "$native_stamp" 2>/dev/null)" != "$native_wanted" ]; then
    rm -f "$native_stamp"
    run_step icu-native "$here/build-icu-native.sh" "$native"
    echo "$native_wanted" >"$native_stamp.tmp" && mv "$native_stamp.tmp" "$native_stamp"
fi

# What an earlier, different build left is not trusted: gone before anything is built.
rm -f "$stamp"
rm -rf "$prefix"
stage=$DEPS_ROOT/$triplet.tmp
work=$DEPS_ROOT/work/$triplet
rm -rf "$stage" "$work"
mkdir -p "$stage" "$work"

# In the order they need each other: libzip finds zlib and libxml2 finds ICU in the stage.
for library in zlib libzip libsodium icu libxml2; do
    run_step "$triplet-$library" "$here/build-$library.sh" "$triplet" "$stage" \
        "$work/$library" "$native"
    "$here/finish-pkgconfig.sh" "$stage"
done

# Only headers, archives and pkg-config files are kept: the rest (programs, manuals,
# libtool and CMake files) names the temporary folder or is of no use to a client.
rm -rf "$stage/bin" "$stage/share" "$stage/lib/cmake" "$stage/lib/icu"
rm -f "$stage"/lib/*.la
mv "$stage" "$prefix"
echo "$wanted" >"$stamp.tmp" && mv "$stamp.tmp" "$stamp"
rm -rf "$work"
printf 'windows-deps: %-28s %4d s\n' "$triplet (all)" $((SECONDS - total_started))
