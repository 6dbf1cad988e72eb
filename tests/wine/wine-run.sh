#!/bin/sh
# Runs one Wine test command on the display the fixture started.
#   wine-run.sh COMMAND [ARGS...]     e.g. wine-run.sh /usr/lib/wine/wine64 test.exe
set -u
[ -n "${RAMVEL_WINE_STATE:-}" ] || { echo "wine-run: RAMVEL_WINE_STATE is not set" >&2; exit 1; }
[ -s "$RAMVEL_WINE_STATE/display" ] || {
    echo "wine-run: no display in $RAMVEL_WINE_STATE (did the wine_fixture setup test run?)" >&2
    exit 1
}
DISPLAY=$(cat "$RAMVEL_WINE_STATE/display")
export DISPLAY
exec "$@"
