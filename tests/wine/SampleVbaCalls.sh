#!/bin/sh
# The VBA sample cannot run here (it needs Office), so it is held to the VBScript sample that
# does run: both must make the same control calls ("tree.<member>"), and each of those must be
# a member of IRamvel in the type library's source. Its set-up must fill the form's tree once:
# from UserForm_Initialize, not from UserForm_Activate, which runs at every activation.
#   SampleVbaCalls.sh SAMPLE.bas SAMPLE.vbs Ramvel.idl
set -u
calls() { tr -d '\r' <"$1" | grep -o 'tree\.[A-Za-z]*' | sed 's/^tree\.//' | sort -u; }
bas=$(calls "$1")
vbs=$(calls "$2")
[ -n "$vbs" ] || { echo "FAIL: no tree.<member> calls in $2"; exit 1; }
failed=0
if [ "$bas" != "$vbs" ]; then
    echo "FAIL: the samples make different calls (< only in $1, > only in $2):"
    only_bas=$(mktemp)
    printf '%s\n' "$bas" >"$only_bas"
    printf '%s\n' "$vbs" | diff "$only_bas" - | grep '^[<>]'
    rm -f "$only_bas"
    failed=1
fi
for member in $vbs; do
    grep -Eq "HRESULT $member\(" "$3" || { echo "FAIL: $member is no member of IRamvel"; failed=1; }
done
caller=$(tr -d '\r' <"$1" | grep -B1 'RamvelSample\.RunSample Me\.' | grep -o 'Sub UserForm_[A-Za-z]*')
[ "$caller" = "Sub UserForm_Initialize" ] ||
    { echo "FAIL: the set-up calls RunSample from [$caller], not from Sub UserForm_Initialize"; failed=1; }
[ $failed -eq 0 ] && echo "both samples call: $(echo $vbs); the form fills its tree in UserForm_Initialize"
exit $failed
