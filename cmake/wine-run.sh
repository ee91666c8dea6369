#!/bin/sh
# Runs a Windows program under 64-bit Wine in the test prefix: ORV_WINEPREFIX, else the
# prefix beside the build (build/wine-prefix). No display, no Mono or Gecko installers.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${ORV_WINEPREFIX:-$here/build/wine-prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
exec /usr/lib/wine/wine64 "$@"
