#!/bin/sh
# The release archive as a user gets it: packed by tools/package, unpacked into a fresh,
# temporary Wine prefix, each module registered from the unpacked folder with the regsvr32 of its
# bitness (all of them at once), each registry view checked to point at its own unpacked module,
# then a script run against each module with the script host of its bitness. The archive's
# include/ folder must be all a C++ host needs: the type library's source compiles from it, and
# the C++ sample builds against it and passes its checks with the unpacked x64 module. Needs a
# display (DISPLAY): the control makes windows.
#   PackageTest.sh PACKAGER SCRIPT ARCH...     ARCH: x64 (64-bit view) or x86 (32-bit view)
set -u
[ $# -ge 3 ] || { echo "usage: PackageTest.sh PACKAGER SCRIPT ARCH..." >&2; exit 2; }
packager=$1
script=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
clsid='{3B71D5C5-7A2E-11D2-B4F9-0060B83C5E17}'
wine64=/usr/lib/wine/wine64

fail() { printf 'FAIL: %s\n' "$*"; exit 1; }

# Per bitness: its loader, its system folder, and the registry view its regsvr32 writes.
loader_of() { if [ "$1" = x86 ]; then echo /usr/lib/wine/wine; else echo "$wine64"; fi; }
system_of() { if [ "$1" = x86 ]; then printf '%s' 'C:\windows\syswow64'; else printf '%s' 'C:\windows\system32'; fi; }
view_of() { if [ "$1" = x86 ]; then echo 32; else echo 64; fi; }

work=$(mktemp -d "${TMPDIR:-/tmp}/ramvel-package.XXXXXX") || exit 1
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml,winedbg.exe=d'
# Nothing is left behind: the prefix's processes are gone before its folder is.
cleanup() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

archive=$("$packager" | tail -n 1) && [ -f "$archive" ] || fail "$packager made no archive"
unzip -q "$archive" -d "$work/unpacked" || fail "cannot unpack $archive"
folder=$(ls -d "$work"/unpacked/Ramvel-*) && [ -d "$folder" ] || fail "no Ramvel-<version> folder in $archive"
for item in include/Ramvel_h.h include/Ramvel_i.c include/Ramvel.idl include/RamvelDispIds.h \
            samples/cpp/RamvelHost.cpp CREDITS.txt README.md docs; do
    [ -e "$folder/$item" ] || fail "$item missing from the archive"
done

mkdir -p "$WINEPREFIX"
WINEARCH=win64 "$wine64" wineboot -i >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log"; fail "wineboot -i"; }
wineserver -w  # the prefix's first session ends before it is used (see wine-fixture.sh)

for arch in "$@"; do
    for item in Ramvel.ocx Ramvel.tlb; do
        [ -f "$folder/$arch/$item" ] || fail "$arch/$item missing from the archive"
    done
    "$(loader_of "$arch")" "$(system_of "$arch")\\regsvr32.exe" /s "$folder/$arch/Ramvel.ocx" ||
        fail "$arch: regsvr32 of the unpacked module"
done

# Every module registered at once; each view names its own module (regsvr32 stores the Unix path
# as a Z: path).
for arch in "$@"; do
    expected="Z:$(printf '%s' "$folder/$arch/Ramvel.ocx" | tr / '\\')"
    line=$("$wine64" reg query "HKLM\\Software\\Classes\\CLSID\\$clsid\\InprocServer32" /ve /reg:"$(view_of "$arch")" |
        tr -d '\r' | grep 'REG_SZ')
    actual=$(printf '%s\n' "$line" | sed 's/.*REG_SZ[[:space:]]*//')
    [ "$actual" = "$expected" ] || fail "$arch: the $(view_of "$arch")-bit view names [$actual], not [$expected]"
done

# The type library's source compiles with nothing but include/ and the platform's own IDL files.
x86_64-w64-mingw32-widl -m64 -I "$folder/include" -I /usr/include/wine/wine/windows \
    -L /usr/lib/x86_64-linux-gnu/wine/x86_64-windows -t -o "$work/Ramvel.tlb" "$folder/include/Ramvel.idl" ||
    fail "include/Ramvel.idl does not compile from the archive's include/ folder"

# The C++ sample as samples/README.md builds it from the archive's top folder.
if [ "$1" = x64 ]; then
    (cd "$folder" && x86_64-w64-mingw32-g++ -std=c++20 -DUNICODE -I include samples/cpp/RamvelHost.cpp \
        -x c include/Ramvel_i.c -o "$work/RamvelHost.exe" -static -lole32 -loleaut32 -luuid -lcomctl32) ||
        fail "the C++ sample does not build from the archive"
    "$wine64" "$work/RamvelHost.exe" /check || fail "x64: the C++ sample built from the archive"
fi

for arch in "$@"; do
    echo "$arch: $(basename "$script")"
    RAMVEL_WINE_LOADER=$(loader_of "$arch") RAMVEL_WINE_CSCRIPT="$(system_of "$arch")\\cscript.exe" \
        sh "$here/ComScriptRun.sh" "$script" || fail "$arch: the script against the unpacked module"
done
echo "package: $(basename "$archive") checked for $*"
