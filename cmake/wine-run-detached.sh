#!/bin/sh
# wine-run.sh for build steps: the first Windows program of a Wine session starts Wine's
# background services, which inherit the program's standard streams and keep them open
# after it ends; a build tool reading them (ninja) would then wait forever. The program's
# output goes through a file instead, and is shown when it ends.
log=$(mktemp "${TMPDIR:-/tmp}/orv-wine.XXXXXX") || exit 1
"$(dirname "$0")/wine-run.sh" "$@" </dev/null >"$log" 2>&1
status=$?
cat "$log"
rm -f "$log"
exit "$status"
