#!/bin/sh
# Sets up and tears down what the Wine tests run in: an Xvfb display, a private
# Wine prefix with a persistent wineserver, and the module registered in it.
#
#   wine-fixture.sh start MODULE   start Xvfb, create/reuse $WINEPREFIX, register MODULE
#   wine-fixture.sh stop           stop the wineserver of $WINEPREFIX and the Xvfb
#
# Needs WINEPREFIX and RAMVEL_WINE_STATE (a folder for the display number, pids, logs).
# RAMVEL_WINE_LOADER and RAMVEL_WINE_REGSVR32 name the loader and regsvr32 of the module's
# bitness (default: the 64-bit ones). The prefix itself is always 64-bit: a 32-bit module runs
# in it under WoW64.
set -u

die() { printf 'wine-fixture: %s\n' "$*" >&2; exit 1; }

[ -n "${WINEPREFIX:-}" ] || die "WINEPREFIX is not set"
[ -n "${RAMVEL_WINE_STATE:-}" ] || die "RAMVEL_WINE_STATE is not set"
state=$RAMVEL_WINE_STATE
log=$state/fixture.log
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install prompts in a fresh prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine64=/usr/lib/wine/wine64
loader=${RAMVEL_WINE_LOADER:-$wine64}
regsvr32=${RAMVEL_WINE_REGSVR32:-'C:\windows\system32\regsvr32.exe'}

stop_xvfb() {
    [ -f "$state/xvfb.pid" ] || return 0
    pid=$(cat "$state/xvfb.pid")
    # Only our own Xvfb, never a reused pid.
    if [ -n "$pid" ] && [ "$(cat /proc/"$pid"/comm 2>/dev/null)" = Xvfb ]; then
        kill "$pid" 2>/dev/null
        i=0
        while kill -0 "$pid" 2>/dev/null && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
    fi
    rm -f "$state/xvfb.pid" "$state/display"
}

start_xvfb() {
    command -v Xvfb >/dev/null || die "Xvfb not found (package xvfb)"
    rm -f "$state/display.fd"
    # -displayfd: Xvfb picks a free display number itself and writes it once it listens.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$state/display.fd" </dev/null >>"$log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    i=0
    while [ ! -s "$state/display.fd" ]; do
        kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null || die "Xvfb exited at start (see $log)"
        [ $i -lt 200 ] || die "Xvfb gave no display number within 20 s"
        sleep 0.1
        i=$((i + 1))
    done
    echo ":$(tr -d '\n' <"$state/display.fd")" >"$state/display"
    rm -f "$state/display.fd"
}

# One test run per build folder at a time: the run (the ctest process that started
# this script) holds $state/lock from setup to cleanup; another run waits for it.
owner=$PPID

take_lock() {
    waited=0
    until mkdir "$state/lock" 2>/dev/null; do
        holder=$(cat "$state/lock/owner" 2>/dev/null)
        [ "$holder" != "$owner" ] || return 0  # this run set up already (ctest --repeat)
        if [ -n "$holder" ] && ! kill -0 "$holder" 2>/dev/null; then
            echo "wine-fixture: taking over from run $holder, which is gone"
            rm -rf "$state/lock"
            continue
        fi
        [ $waited -lt 500 ] || die "another test run (process $holder) still uses $state"
        [ $waited -gt 0 ] || echo "wine-fixture: waiting for test run $holder to finish"
        sleep 1
        waited=$((waited + 1))
    done
    echo "$owner" >"$state/lock/owner"
}

release_lock() {
    [ "$(cat "$state/lock/owner" 2>/dev/null)" = "$owner" ] && rm -rf "$state/lock"
    return 0
}

start() {
    module=${1:-}
    [ -n "$module" ] || die "usage: wine-fixture.sh start MODULE"
    [ -f "$module" ] || die "module not found: $module"
    [ -x "$loader" ] || die "Wine loader not found: $loader (packages wine64, wine32:i386)"
    "$loader" --version >/dev/null 2>&1 || die "$loader does not run here (a kernel without 32-bit support?)"
    mkdir -p "$state" || die "cannot create $state"
    take_lock
    : >"$log"

    stop_xvfb
    start_xvfb
    DISPLAY=$(cat "$state/display")
    export DISPLAY
    echo "wine-fixture: display $DISPLAY, prefix $WINEPREFIX"

    # A server left over from an interrupted run would not be persistent: replace it.
    mkdir -p "$WINEPREFIX" || die "cannot create $WINEPREFIX"
    wineserver -k </dev/null >>"$log" 2>&1
    wineserver -w </dev/null >>"$log" 2>&1
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine-fixture: creating the Wine prefix (takes ~20 s)"
        WINEARCH=win64 "$wine64" wineboot -i </dev/null >>"$log" 2>&1 || { cat "$log"; die "wineboot -i failed"; }
        # The new prefix's first session ends before the persistent server starts. Under a server
        # that is already persistent, wineboot's restart of the system services leaves a second
        # service manager running; once RpcSs exits idle (during a long test), every COM start
        # then waits twice 10 s for a service that reports to the other manager.
        wineserver -w </dev/null >>"$log" 2>&1
    fi
    wineserver -p </dev/null >>"$log" 2>&1 || { cat "$log"; die "wineserver -p failed"; }
    # No window manager runs on the display: left managed, every top-level window a test shows
    # waits 2 s for one to map it.
    "$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >>"$log" 2>&1 ||
        { cat "$log"; die "cannot switch window management off"; }
    "$loader" "$regsvr32" /s "$module" </dev/null >>"$log" 2>&1 || { cat "$log"; die "$regsvr32 $module failed"; }
    printf 'wine-fixture: registered %s with %s\n' "$module" "$regsvr32"
}

stop() {
    if [ -d "$state/lock" ] && [ "$(cat "$state/lock/owner" 2>/dev/null)" != "$owner" ]; then
        echo "wine-fixture: another test run owns $state: left running"
        return 0
    fi
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k </dev/null >>"$log" 2>&1
        wineserver -w </dev/null >>"$log" 2>&1
    fi
    stop_xvfb
    release_lock
    echo "wine-fixture: stopped"
}

case "${1:-}" in
start) shift; start "$@" ;;
stop) stop ;;
*) die "usage: wine-fixture.sh start MODULE | stop" ;;
esac
