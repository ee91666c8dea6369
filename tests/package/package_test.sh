#!/usr/bin/env bash
# The two Debian packages as a user gets them: each unpacked and its files checked; then, as
# root, both installed with apt-get, orvbatch and the demo run from the installed files, a C++
# client built against the installed CMake package and one against pkg-config, and both
# packages purged, leaving none of their files behind. Safe to run again: packages of an
# earlier run are purged first, and everything else lives in a temporary folder.
#
# package_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail

build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
version=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/orvbatch-package-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

runtime_deb=$(ls "$build"/packages/orvbatch_"$version"-*_*.deb 2>/dev/null | head -n1 || true)
dev_deb=$(ls "$build"/packages/orvbatch-dev_"$version"-*_*.deb 2>/dev/null | head -n1 || true)
if [[ -z $runtime_deb || -z $dev_deb ]]; then
    echo "FAIL: no packages of version $version in $build/packages (run make package)" >&2
    exit 1
fi

# --- The packages' contents ----------------------------------------------------------------
expect_files() {
    local root=$1
    shift
    local file
    for file in "$@"; do
        if [[ -f $root/$file ]]; then pass "has $file"; else fail "no $file"; fi
    done
}
# Where Debian's compilers, CMake and pkg-config look for this architecture's libraries.
lib=usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)

dpkg-deb -x "$runtime_deb" "$work/runtime"
dpkg-deb -x "$dev_deb" "$work/dev"

expect_files "$work/runtime" usr/bin/orvbatch usr/share/man/man1/orvbatch.1.gz \
    usr/share/bash-completion/completions/orvbatch usr/share/zsh/vendor-completions/_orvbatch \
    usr/share/doc/orvbatch/copyright usr/share/doc/orvbatch/changelog.Debian.gz
if find "$work/runtime/usr" -name '*.h' -o -name '*.a' | grep -q .; then
    fail "the runtime package holds headers or libraries"
fi

expect_files "$work/dev" usr/include/orvbatch/front/BatchAnalyse.h \
    usr/include/orvbatch/front/OrvBatchAnalyseErrors.h usr/include/orvbatch/results/Files.h \
    usr/include/orvbatch/results/clsBAFileInfo.h usr/include/orvbatch/tessera/clsBATessera.h \
    usr/include/orvbatch/tessera/clsBATesseraSettings.h \
    usr/include/orvbatch/platform/AutomationError.h \
    "$lib/liborvbatch_core.a" "$lib/liborvbatch_default_services.a" \
    "$lib/liborvbatch_engine.a" "$lib/liborvbatch_platform.a" \
    "$lib/cmake/OrvBatchAnalyse/OrvBatchAnalyseConfig.cmake" \
    "$lib/cmake/OrvBatchAnalyse/OrvBatchAnalyseConfigVersion.cmake" \
    "$lib/cmake/OrvBatchAnalyse/OrvBatchAnalyseTargets.cmake" \
    "$lib/pkgconfig/orvbatch.pc" usr/share/doc/orvbatch-dev/copyright \
    usr/share/doc/orvbatch-dev/changelog.Debian.gz
for folder in engine cli com wiring; do
    [[ -e $work/dev/usr/include/orvbatch/$folder ]] && fail "include/orvbatch/$folder is installed"
done
if find "$work/dev" -path '*/bin/*' | grep -q .; then fail "the -dev package holds programs"; fi

# Each installed header compiles on its own with only the installed tree on the path: none
# includes a header left out of the package.
headers=0
while IFS= read -r header; do
    headers=$((headers + 1))
    if ! g++ -std=c++20 -fsyntax-only -I"$work/dev/usr/include/orvbatch" -x c++ \
        -include "$header" /dev/null 2>"$work/header.err"; then
        fail "header ${header#"$work"/dev/} does not compile alone: $(head -n3 "$work/header.err")"
    fi
done < <(find "$work/dev/usr/include/orvbatch" -name '*.h' | sort)
[[ $headers -eq 21 ]] && pass "21 headers, each compiling alone" ||
    fail "$headers headers installed, 21 expected"

grep -qx "prefix=/usr" "$work/dev/$lib/pkgconfig/orvbatch.pc" 2>/dev/null ||
    fail "orvbatch.pc does not name the prefix /usr"
# The archives keep the symbols a client links against, without their debug sections.
if nm -C "$work/dev/$lib/liborvbatch_core.a" 2>/dev/null | grep " T orv::BatchAnalyse::Analyse()" >/dev/null; then
    pass "liborvbatch_core.a has its symbols"
else
    fail "liborvbatch_core.a has no BatchAnalyse symbols"
fi
if readelf -S "$work/dev/$lib/liborvbatch_engine.a" 2>/dev/null | grep "\.debug_info" >/dev/null; then
    fail "liborvbatch_engine.a keeps its debug sections"
fi

runtime_depends=$(dpkg-deb -f "$runtime_deb" Depends)
dev_depends=$(dpkg-deb -f "$dev_deb" Depends)
for library in libc6 libstdc++6 libicu72 libxml2 libsodium23 libzip4; do
    [[ $runtime_depends == *"$library"* ]] || fail "orvbatch does not depend on $library"
done
for package in libicu-dev libxml2-dev libsodium-dev libzip-dev; do
    [[ $dev_depends == *"$package"* ]] || fail "orvbatch-dev does not depend on $package"
done
pass "Depends of orvbatch: $runtime_depends"
pass "Depends of orvbatch-dev: $dev_depends"

# --- Installed, as root ----------------------------------------------------------------------
if [[ $(id -u) -ne 0 ]]; then
    echo "SKIPPED: installing the packages needs root; only their contents were checked"
    [[ $failures -eq 0 ]] && exit 0 || exit 1
fi

purge() {
    DEBIAN_FRONTEND=noninteractive dpkg --purge orvbatch-dev orvbatch >/dev/null 2>&1 || true
}
purge
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends -o DPkg::Lock::Timeout=300 \
    "$runtime_deb" "$dev_deb" >"$work/apt.log" 2>&1 || {
    cat "$work/apt.log" >&2
    echo "FAIL: apt-get install of the packages" >&2
    exit 1
}
trap 'purge; rm -rf "$work"' EXIT
dpkg -L orvbatch orvbatch-dev | sort -u >"$work/installed-files"

[[ $(/usr/bin/orvbatch --version) == "orvbatch $version" ]] && pass "orvbatch --version" ||
    fail "orvbatch --version says $(/usr/bin/orvbatch --version)"
man -w orvbatch >/dev/null 2>&1 && pass "man finds orvbatch(1)" || fail "man does not find orvbatch(1)"

if (cd "$work" && /usr/bin/orvbatch analyse --quiet --tm "$source/examples/memory.tmx" --user demo \
    --target de-DE --log "$work/demo/analysis.log" "$source/examples/docs" >"$work/demo.out"); then
    pass "the demo analyses examples/docs"
else
    fail "the demo failed: $(cat "$work/demo.out")"
fi
head -n1 "$work/demo/analysis.log" 2>/dev/null | grep -q "OrvBatchAnalyse $version" &&
    pass "the analysis log names version $version" || fail "the analysis log names no version"

check_client() {
    local how=$1 program=$2
    local output
    if output=$("$program" "$source/examples/memory.tmx" "$source/examples/docs/notes.txt" \
        "$work/client-$how.log") && [[ $output == "words "[1-9]* ]]; then
        pass "the $how client analyses a document ($output)"
    else
        fail "the $how client failed: $output"
    fi
}

mkdir -p "$work/cmake-client"
if cmake -S "$source/tests/package/client" -B "$work/cmake-client" -G Ninja \
    -DORV_EXPECTED_VERSION="$version" >"$work/cmake-client.log" 2>&1 &&
    cmake --build "$work/cmake-client" >>"$work/cmake-client.log" 2>&1; then
    check_client cmake "$work/cmake-client/client"
else
    fail "the client does not build against the CMake package: $(tail -n 20 "$work/cmake-client.log")"
fi
if cmake -S "$source/tests/package/client" -B "$work/cmake-wrong" -G Ninja \
    -DORV_EXPECTED_VERSION=99.0.0 >/dev/null 2>&1; then
    fail "the CMake package accepts a version it is not"
fi

# shellcheck disable=SC2046
if g++ -std=c++20 -o "$work/pkg-client" "$source/tests/package/client/main.cpp" \
    $(pkg-config --cflags --static --libs orvbatch) 2>"$work/pkg-client.log"; then
    check_client pkg-config "$work/pkg-client"
else
    fail "the client does not build by pkg-config: $(tail -n 20 "$work/pkg-client.log")"
fi

purge
trap 'rm -rf "$work"' EXIT
left=0
while IFS= read -r path; do
    # Folders such as /usr/share/doc belong to other packages too.
    [[ -e $path && ! -d $path ]] && { fail "left after purge: $path"; left=$((left + 1)); }
done <"$work/installed-files"
[[ -d /usr/include/orvbatch || -d /usr/share/doc/orvbatch ]] && fail "a folder of the packages is left"
dpkg -s orvbatch >/dev/null 2>&1 && fail "orvbatch is still known to dpkg"
[[ $left -eq 0 ]] && pass "purged: none of the $(wc -l <"$work/installed-files") paths is left"

if [[ $failures -ne 0 ]]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "All package checks passed"
