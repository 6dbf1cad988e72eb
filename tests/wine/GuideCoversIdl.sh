#!/bin/sh
# The host developer's guide lists every member of IRamvel and every event of IRamvelEvents with
# the kind, DISPID and declaration that Ramvel.idl gives them: a member added to the type
# library, or a DISPID changed, shows here until the guide says the same.
#   GuideCoversIdl.sh Ramvel.idl RamvelDispIds.h reference.md events.md
set -u
idl=$1 dispids=$2 reference=$3 events=$4
# One line per declaration: member<TAB>kind<TAB>dispid<TAB>declaration, events with kind "event".
entries=$(awk '
    FNR == NR { if ($1 == "#define" && $2 ~ /^DISPID_/) id[$2] = $3; next }
    BEGIN { id["DISPID_CAPTION"] = -518; id["DISPID_BACKCOLOR"] = -501; id["DISPID_FONT"] = -512
            id["DISPID_ENABLED"] = -514; id["DISPID_ABOUTBOX"] = -552 }
    /interface IRamvel : IDispatch/ { events = 0 }
    /dispinterface IRamvelEvents/ { events = 1 }
    /id\(DISPID_/ {
        line = $0
        while (line !~ /\);/ && (getline more) > 0) line = line " " more
        gsub(/[ \t]+/, " ", line); sub(/^ /, "", line)
        match(line, /id\(DISPID_[A-Z_]+\)/); d = substr(line, RSTART + 3, RLENGTH - 4)
        decl = line; sub(/^\[[^]]*\] /, "", decl); sub(/;$/, "", decl)
        name = decl; sub(/\(.*$/, "", name); sub(/^.* /, "", name)
        kind = events ? "event" : line ~ /propputref/ ? "putref" : line ~ /propput/ ? "put" : line ~ /propget/ ? "get" : "method"
        printf "%s\t%s\t%s\t%s\n", name, kind, id[d], decl
    }' "$dispids" "$idl")
declared=$(grep -c 'id(DISPID_' "$idl")
read_back=$(printf '%s\n' "$entries" | grep -c .)
[ "$declared" -eq "$read_back" ] || { echo "FAIL: read $read_back of the $declared declarations in $idl"; exit 1; }

failed=0
tab=$(printf '\t')
while IFS=$tab read -r name kind dispid decl; do
    if [ "$kind" = event ]; then
        row="| \`$name\` | $dispid | \`$decl\` |" file=$events
    else
        row="| $kind | $dispid | \`$decl\` |" file=$reference
    fi
    grep -qF -- "$row" "$file" || { echo "FAIL: $(basename "$file") has no row with: $row"; failed=1; }
done <<EOF2
$entries
EOF2
[ $failed -eq 0 ] && echo "the guide lists all $declared declarations of $(basename "$idl")"
exit $failed
