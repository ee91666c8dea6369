#!/bin/bash
# Makes the pkg-config files of the static-only PREFIX say what a client really needs:
# - the prefix is found from the file's own place, so the folder can be built under a
#   temporary name and renamed, or moved;
# - private libraries and requirements become public ones: with no DLLs to hide them
#   behind, every program links them;
# - the definitions that make the headers declare static, not DLL-imported, functions,
#   and the Windows libraries that the static archives call into.
# Running it again on finished files changes nothing.
set -euo pipefail
prefix=$1
pcdir=$prefix/lib/pkgconfig

extra_cflags() {
    case $1 in
    icu-uc) echo "-DU_STATIC_IMPLEMENTATION" ;;
    libzip) echo "-DZIP_STATIC" ;;
    libsodium) echo "-DSODIUM_STATIC" ;;
    esac
}
extra_libs() {
    case $1 in
    icu-uc) echo "-ladvapi32" ;;
    libsodium) echo "-ladvapi32" ;;
    esac
}

for pc in "$pcdir"/*.pc; do
    [ -e "$pc" ] || continue
    head -n 1 "$pc" | grep -q '^# static-only prefix' && continue
    name=$(basename "$pc" .pc)
    abs=$(printf %s "$prefix" | sed 's/[][\.*^$+?(){}|/]/\\\\&/g')
    awk -v abs="$abs" -v cflags="$(extra_cflags "$name")" -v libs="$(extra_libs "$name")" '
        function append(line, more) { return more == "" ? line : line " " more }
        /^prefix[ \t]*=/ { lines[++n] = "prefix=${pcfiledir}/../.."; next }
        { gsub(abs, "${prefix}") }
        /^Libs\.private:/ { sub(/^Libs\.private:[ \t]*/, ""); private_libs = $0; next }
        /^Requires\.private:/ { sub(/^Requires\.private:[ \t]*/, ""); private_requires = $0; next }
        { lines[++n] = $0 }
        END {
            print "# static-only prefix: private libraries are public, DLL imports are off"
            for (i = 1; i <= n; i++) {
                line = lines[i]
                if (line ~ /^Libs:/) { line = append(append(line, private_libs), libs); libs_seen = 1 }
                if (line ~ /^Requires:/) { line = append(line, private_requires); requires_seen = 1 }
                if (line ~ /^Cflags:/) { line = append(line, cflags); cflags_seen = 1 }
                print line
            }
            if (!requires_seen && private_requires != "") print "Requires: " private_requires
            if (!cflags_seen && cflags != "") print "Cflags: " cflags
        }' "$pc" >"$pc.tmp"
    mv "$pc.tmp" "$pc"
done
