#!/bin/sh
# Runs one sample script under Wine's cscript of the build's bitness (RAMVEL_WINE_LOADER and
# RAMVEL_WINE_CSCRIPT, set by the test) and checks what it printed. cscript exits 0 even when a
# script dies half-way, so the sample passes only with exit code 0, "done" as its last line, and
# a line matching each expected pattern (an extended regular expression, whole line).
#   SampleScriptRun.sh SCRIPT PATTERN...
set -u
: "${RAMVEL_WINE_LOADER:?is not set}" "${RAMVEL_WINE_CSCRIPT:?is not set}"
script=$1
shift
cd "$(dirname "$script")" || exit 1
out=$("$RAMVEL_WINE_LOADER" "$RAMVEL_WINE_CSCRIPT" //nologo "$(basename "$script")" 2>&1)
rc=$?
out=$(printf '%s\n' "$out" | tr -d '\r')
printf '%s\n' "$out"
[ "$rc" -eq 0 ] || { echo "FAIL: cscript exit code $rc"; exit 1; }
[ "$(printf '%s\n' "$out" | tail -n 1)" = done ] ||
    { echo "FAIL: the last line is not 'done': the script stopped early (WINEDEBUG=fixme+vbscript,fixme+jscript shows why)"; exit 1; }
failed=0
for pattern in "$@"; do
    printf '%s\n' "$out" | grep -Eqx -- "$pattern" || { echo "FAIL: no line matches: $pattern"; failed=1; }
done
exit $failed
