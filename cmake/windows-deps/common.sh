# Shared by the Windows dependency scripts: where things live, the compilers of a triplet,
# and one way to run a step quietly with its log kept.

ORV_SOURCE_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
DEPS_ROOT=${ORV_WINDOWS_DEPS_ROOT:-$ORV_SOURCE_DIR/build/windows-deps}
DEPS_SOURCES=$DEPS_ROOT/sources
DEPS_LOGS=$DEPS_ROOT/logs
DEPS_JOBS=${ORV_WINDOWS_DEPS_JOBS:-2}
mkdir -p "$DEPS_ROOT" "$DEPS_LOGS"

# The source packages the engine's libraries come from, each with the -dev package whose
# installed version it must match: the Windows build then uses the same code as Linux.
DEPS_PACKAGES="zlib:zlib1g-dev libzip:libzip-dev libsodium:libsodium-dev icu:libicu-dev libxml2:libxml2-dev"

die() {
    echo "windows-deps: error: $*" >&2
    exit 1
}

# The Debian source version behind an installed binary package, epoch included.
installed_source_version() {
    local version
    version=$(dpkg-query -W -f='${source:Version}' "$1" 2>/dev/null) || true
    [ -n "$version" ] || die "$1 is not installed (run 'make deps')"
    echo "$version"
}

# Runs "$@" with its output in $DEPS_LOGS/NAME.log; prints how long it took, or the log's
# tail when it failed (the whole log stays behind for a closer look).
run_step() {
    local name=$1
    shift
    local log=$DEPS_LOGS/$name.log started=$SECONDS
    if ! "$@" >"$log" 2>&1; then
        echo "windows-deps: $name failed; the end of $log:" >&2
        tail -n 40 "$log" >&2
        exit 1
    fi
    printf 'windows-deps: %-28s %4d s\n' "$name" $((SECONDS - started))
}

# Compilers go through the shared cache when there is one; the cache never changes what
# is built, so it is left out of the stamp.
cache_launcher() {
    command -v ccache 2>/dev/null || true
}
with_cache() {
    echo "$(cache_launcher) $1" | sed 's/^ //'
}

# Sets the cross tools of triplet $1 for configure scripts and CMake.
use_triplet() {
    TRIPLET=$1
    CROSS_CC=$(with_cache "$TRIPLET-gcc-posix")
    CROSS_CXX=$(with_cache "$TRIPLET-g++-posix")
    export AR=$TRIPLET-ar RANLIB=$TRIPLET-ranlib STRIP=$TRIPLET-strip
    export RC=$TRIPLET-windres WINDRES=$TRIPLET-windres
}

# pkg-config sees the prefix being built and nothing of the build machine.
use_prefix_pkgconfig() {
    export PKG_CONFIG_LIBDIR=$1/lib/pkgconfig
    export PKG_CONFIG_SYSROOT_DIR=
    unset PKG_CONFIG_PATH
}
