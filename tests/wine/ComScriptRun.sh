#!/bin/sh
# Runs one script under Wine's cscript of the build's bitness (RAMVEL_WINE_LOADER and
# RAMVEL_WINE_CSCRIPT, set by the test), with the shared checks (ScriptChecks.vbs or .js) put
# before it, from the script's own folder so that its relative file names hold. cscript exits 0
# even when a script dies half-way, so the test passes only with exit code 0, the script's final
# sentinel line, and no FAIL line. Line numbers in cscript's messages count the checks too.
#   ComScriptRun.sh SCRIPT
set -u
: "${RAMVEL_WINE_LOADER:?is not set}" "${RAMVEL_WINE_CSCRIPT:?is not set}"
here=$(cd "$(dirname "$0")" && pwd)
dir=$(cd "$(dirname "$1")" && pwd) || exit 1
name=$(basename "$1")
run=$(mktemp --suffix=".${name##*.}" "${TMPDIR:-/tmp}/ramvel-script.XXXXXX") || exit 1
trap 'rm -f "$run"' EXIT
cat "$here/ScriptChecks.${name##*.}" "$dir/$name" >"$run" || exit 1
cd "$dir" || exit 1
out=$("$RAMVEL_WINE_LOADER" "$RAMVEL_WINE_CSCRIPT" //nologo "Z:$(printf '%s' "$run" | tr / '\\')" 2>&1)
rc=$?
printf '%s\n' "$out" | tr -d '\r'
[ "$rc" -eq 0 ] || { echo "cscript exit code $rc"; exit 1; }
printf '%s\n' "$out" | tr -d '\r' | grep -qx 'RAMVEL-SCRIPT-OK' ||
    { echo "no sentinel line: the script stopped early (WINEDEBUG=fixme+vbscript,fixme+jscript shows why)"; exit 1; }
printf '%s\n' "$out" | grep -q '^FAIL' && exit 1
exit 0
