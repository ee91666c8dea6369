#!/bin/sh
# Runs one script client under Wine's scripting host, after registering the given DLLs in
# the test prefix (regsvr32, as a user would). Wine's host hides script errors and exits 0
# on them, so the scripts count their own failed checks and end with WScript.Quit <count>,
# and an "OnScriptError" line from the host fails the test too. The DLLs are unregistered
# again afterwards: a double left registered in the shared prefix would stand in for "no
# Tessera installed" in every later test.
#   run-script.sh [--unregister] [--setup script] [--expect file] script [dll...]
# --unregister: unregister the DLLs before the script runs, as a user's regsvr32 /u would.
# --setup: a script run first, in a process of its own, given the same scratch folder.
# --expect: the script's whole output (Wine's own messages left out, the scratch folder
# shown as C:\jobs\acme) must be the file's.
# A script path is taken from this folder.
set -u
here=$(cd "$(dirname "$0")" && pwd)
wine="$here/../../../cmake/wine-run.sh"
unregister=no setup= expected=
if [ "${1:-}" = "--unregister" ]; then unregister=yes; shift; fi
if [ "${1:-}" = "--setup" ]; then setup=$2; shift 2; fi
if [ "${1:-}" = "--expect" ]; then expected=$2; shift 2; fi
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
# Wine's host reports a script's error only as this fixme, and exits 0.
run() {
    WINEDEBUG=-all,fixme+wscript "$wine" cscript //nologo "$(winpath "$here/$1")" "$(winpath "$scratch")" \
        >"$output" 2>&1
}
if [ -n "$setup" ] && { ! run "$setup" || grep -q OnScriptError "$output"; }; then
    cat "$output"; echo "the set-up $setup failed"; rm -rf "$scratch"; exit 1
fi
run "$script"
status=$?
tr -d '\r' <"$output"

for dll in "$@"; do "$wine" regsvr32 /s /u "$(winpath "$dll")"; done

if grep -q OnScriptError "$output"; then
    echo "the script stopped on an error"
    status=1
elif [ -n "$expected" ] && ! grep -v ':fixme:' "$output" | tr -d '\r' |
        sed "s/$(winpath "$scratch" | sed 's/[\\.]/\\&/g')/C:\\\\jobs\\\\acme/g" |
        diff -u "$here/$expected" -; then
    echo "the script's output differs from $expected"
    status=1
elif [ "$status" -ne 0 ]; then
    echo "$status check(s) failed"
fi
rm -rf "$scratch"
exit "$status"
