#!/bin/sh
# Runs a VBScript example of the host developer's guide as it is written there (the first ```vb
# block after a heading) under Wine's cscript of the build's bitness (RAMVEL_WINE_LOADER and
# RAMVEL_WINE_CSCRIPT, set by the test). It must print, line for line and in order, what its
# "' prints: " comments say: cscript exits 0 even when a script dies half-way, so a script that
# stops early misses lines and fails.
#   GuideExampleRun.sh GUIDE.md HEADING
set -u
: "${RAMVEL_WINE_LOADER:?is not set}" "${RAMVEL_WINE_CSCRIPT:?is not set}"
guide=$1
heading=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/ramvel-guide.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT

awk -v heading="$heading" '
    $0 == heading { found = 1; next }
    found && !inside && /^```vb$/ { inside = 1; next }
    inside && /^```$/ { exit }
    inside' "$guide" >"$work/example.vbs"
[ -s "$work/example.vbs" ] || { echo "FAIL: no \`\`\`vb block after [$heading] in $guide"; exit 1; }
sed -n "s/.*' prints: //p" "$work/example.vbs" >"$work/expected"
[ -s "$work/expected" ] || { echo "FAIL: the example after [$heading] has no ' prints: comments"; exit 1; }

(cd "$work" && "$RAMVEL_WINE_LOADER" "$RAMVEL_WINE_CSCRIPT" //nologo example.vbs >"$work/out" 2>"$work/err")
rc=$?
tr -d '\r' <"$work/out" >"$work/actual"
cat "$work/actual"
[ $rc -eq 0 ] || { cat "$work/err"; echo "FAIL: cscript exit code $rc"; exit 1; }
if ! diff "$work/expected" "$work/actual" >"$work/diff"; then
    cat "$work/err"
    echo "FAIL: the example prints otherwise than its comments say (< comments, > printed):"
    grep '^[<>]' "$work/diff"
    echo "(WINEDEBUG=fixme+vbscript shows why a script stopped)"
    exit 1
fi
echo "the example after [$heading] prints what its comments say"
