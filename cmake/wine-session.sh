#!/bin/sh
# Runs a command (the Windows build and its tests) in a fresh Wine prefix, with one
# persistent wineserver for the whole run: otherwise Wine's background services inherit the
# caller's pipes and ctest waits for them forever, and every program pays Wine's start-up.
# The prefix is ORV_WINEPREFIX, else build/wine-prefix; cmake/wine-run.sh uses the same.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
ORV_WINEPREFIX="${ORV_WINEPREFIX:-$here/build/wine-prefix}"
export ORV_WINEPREFIX WINEPREFIX="$ORV_WINEPREFIX"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
server=/usr/lib/wine/wineserver

"$server" -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
mkdir -p "$(dirname "$WINEPREFIX")"
echo "Creating the Wine prefix $WINEPREFIX"
/usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1
"$server" -w
"$server" -p
# No display here: the null graphics driver still makes windows, which the tests of finding
# Tessera's main window need.
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f \
    </dev/null >/dev/null 2>&1
trap '"$server" -k 2>/dev/null || true' EXIT INT TERM
/usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1
"$@"
