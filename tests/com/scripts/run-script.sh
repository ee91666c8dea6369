#!/bin/sh
# Runs one script client under Wine's scripting host, after registering the given DLLs in
# the test prefix (regsvr32, as a user would). Wine's host hides script errors and exits 0
# on them, so the scripts count their own failed checks and end with WScript.Quit <count>,
# and an "OnScriptError" line from the host fails the test too. The DLLs are unregistered
# again afterwards: a double left registered in the shared prefix would stand in for "no
# Tessera installed" in every later test.
#   run-script.sh [--unregister] script [dll...]
# --unregister: unregister the DLLs before the script runs, as a user's regsvr32 /u would.
# A script path is taken from this folder.
set -u
here=$(cd "$(dirname "$0")" && pwd)
wine="$here/../../../cmake/wine-run.sh"
unregister=no
if [ "${1:-}" = "--unregister" ]; then unregister=yes; shift; fi
script=$1; shift

winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }

for dll in "$@"; do
    if ! "$wine" regsvr32 /s "$(winpath "$dll")"; then echo "regsvr32 $dll failed"; exit 1; fi
done
if [ "$unregister" = yes ]; then
    for dll in "$@"; do
        if ! "$wine" regsvr32 /s /u "$(winpath "$dll")"; then echo "regsvr32 /u $dll failed"; exit 1; fi
    done
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/orv-script.XXXXXX")
output="$scratch/output.txt"
WINEDEBUG=-all,fixme+wscript "$wine" cscript //nologo "$(winpath "$here/$script")" "$(winpath "$scratch")" \
    >"$output" 2>&1
status=$?
tr -d '\r' <"$output"

for dll in "$@"; do "$wine" regsvr32 /s /u "$(winpath "$dll")"; done
rm -rf "$scratch"

if grep -q OnScriptError "$output" 2>/dev/null; then echo "the script stopped on an error"; exit 1; fi
[ "$status" -eq 0 ] || echo "$status check(s) failed"
exit "$status"
