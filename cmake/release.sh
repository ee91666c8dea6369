#!/usr/bin/env bash
# `make release`: the versioned source archive of HEAD, and, when the Windows builds exist, a
# zip of the COM server DLLs with a README on registering them. Each file is written under a
# temporary name and renamed when complete, so an interrupted run leaves no partial archive.
#
# release.sh SOURCE_DIR OUTPUT_DIR
set -euo pipefail
source=$(cd "$1" && pwd)
mkdir -p "$2"
output=$(cd "$2" && pwd)

version=$(sed -n 's/^project(OrvBatchAnalyse VERSION \([0-9][0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
if [[ -z $version ]]; then
    echo "release: no version in the project() line of $source/CMakeLists.txt" >&2
    exit 1
fi
name=orvbatch-$version
staging=$(mktemp -d "$output/.release.XXXXXX")
trap 'rm -rf "$staging"' EXIT

# What is committed, not what happens to lie in the working tree.
git -C "$source" archive --format=tar.gz --prefix="$name/" -o "$staging/$name.tar.gz" HEAD
mv -f "$staging/$name.tar.gz" "$output/$name.tar.gz"
echo "Written: $output/$name.tar.gz"

# The Windows programs of each Windows build there is: x64 from windows-x64, x86 from
# windows-x86; the component's server, and where the engine was built, its stand-in server
# and orvbatch.exe.
dlls=()
for arch in x64 x86; do
    dll=$source/build/windows-$arch/src/com/server/OrvBatchAnalyse.dll
    [[ -f $dll ]] || continue
    mkdir -p "$staging/$name-windows/$arch"
    cp "$dll" "$staging/$name-windows/$arch/"
    for extra in src/OrvTesseraEngine.dll src/cli/orvbatch.exe; do
        [[ -f $source/build/windows-$arch/$extra ]] &&
            cp "$source/build/windows-$arch/$extra" "$staging/$name-windows/$arch/"
    done
    # The builds carry their debug information (a hundred megabytes and more); users get none.
    strip=x86_64-w64-mingw32-strip
    [[ $arch == x86 ]] && strip=i686-w64-mingw32-strip
    if command -v "$strip" >/dev/null; then
        "$strip" --strip-debug "$staging/$name-windows/$arch/"*
    fi
    dlls+=("$arch")
done
if [[ ${#dlls[@]} -eq 0 ]]; then
    echo "No Windows build (build/windows-x64/src/com/server/OrvBatchAnalyse.dll): no DLL zip"
    exit 0
fi
sed "s/@VERSION@/$version/g" "$source/docs/windows-README.txt.in" \
    >"$staging/$name-windows/README.txt"
(cd "$staging" && cmake -E tar cf "$name-windows.zip" --format=zip "$name-windows")
mv -f "$staging/$name-windows.zip" "$output/$name-windows.zip"
echo "Written: $output/$name-windows.zip (${dlls[*]})"
