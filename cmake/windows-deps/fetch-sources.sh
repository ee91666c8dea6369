#!/bin/bash
# Fetches the Debian 12 source packages of the engine's libraries into
# build/windows-deps/sources/, once, at the versions of the installed -dev packages. apt runs
# with a configuration of its own under build/windows-deps/apt/: the machine's sources, lists
# and caches are neither read for sources nor changed.
set -euo pipefail
. "$(dirname "$0")/common.sh"

APT_DIR=$DEPS_ROOT/apt
mkdir -p "$APT_DIR/sources.list.d" "$APT_DIR/preferences.d" "$APT_DIR/state/lists/partial" \
    "$APT_DIR/cache/archives/partial" "$DEPS_SOURCES/downloads"
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
cat >"$APT_DIR/sources.list.tmp" <<LIST
deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm main
deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm-updates main
deb-src [signed-by=$keyring] http://deb.debian.org/debian-security bookworm-security main
LIST
mv "$APT_DIR/sources.list.tmp" "$APT_DIR/sources.list"

apt_options=(
    -o "Dir::Etc::SourceList=$APT_DIR/sources.list"
    -o "Dir::Etc::SourceParts=$APT_DIR/sources.list.d"
    -o "Dir::Etc::Preferences=$APT_DIR/preferences"
    -o "Dir::Etc::PreferencesParts=$APT_DIR/preferences.d"
    -o "Dir::State=$APT_DIR/state"
    -o "Dir::Cache=$APT_DIR/cache"
)
# apt's download sandbox user cannot write into a build folder owned by root.
[ "$(id -u)" != 0 ] || apt_options+=(-o APT::Sandbox::User=root)

# A source tree is kept while its version and the way it was prepared (this script) stay.
prepared_by=$(sha256sum "$0" | cut -d' ' -f1)
lists_fresh=no
for entry in $DEPS_PACKAGES; do
    package=${entry%%:*}
    version=$(installed_source_version "${entry#*:}")
    if [ "$(cat "$DEPS_SOURCES/$package.version" 2>/dev/null)" = "$version $prepared_by" ] &&
        [ -d "$DEPS_SOURCES/$package" ]; then
        continue
    fi
    if [ $lists_fresh = no ]; then
        apt-get "${apt_options[@]}" -q update
        lists_fresh=yes
    fi
    (cd "$DEPS_SOURCES/downloads" &&
        apt-get "${apt_options[@]}" -q source --download-only "$package=$version")
    # dsc names carry no epoch.
    dsc=$DEPS_SOURCES/downloads/${package}_${version#*:}.dsc
    [ -f "$dsc" ] || die "apt-get source gave no $dsc"
    rm -rf "$DEPS_SOURCES/$package.tmp" "$DEPS_SOURCES/$package" "$DEPS_SOURCES/$package.version"
    dpkg-source -x "$dsc" "$DEPS_SOURCES/$package.tmp"
    # As Debian's own builds do: libsodium's source package carries no configure script, and
    # libxml2's patches leave its Makefile.in older than the Makefile.am it comes from.
    case $package in
    libsodium | libxml2) (cd "$DEPS_SOURCES/$package.tmp" && autoreconf -fi) ;;
    esac
    mv "$DEPS_SOURCES/$package.tmp" "$DEPS_SOURCES/$package"
    echo "$version $prepared_by" >"$DEPS_SOURCES/$package.version.tmp"
    mv "$DEPS_SOURCES/$package.version.tmp" "$DEPS_SOURCES/$package.version"
done
