#!/usr/bin/env bash
# menu-id.sh ID: the menu items that carry a menu id and every line of code that serves it.
#   scripts/menu-id.sh 555
# It prints the items of the menu resources, the row of the menu table (view/menus/MenuTable.cpp)
# that serves the id (alone or as a range), the command-table rows that tie the id to a keyword
# (with the dispatcher row that names the member doing the work), the symbolic names the id has
# in res/MenuIds.h (alone or inside a range filled at run time) and the lines of the program's
# code that name the id or one of those names.
set -euo pipefail
if [[ $# -ne 1 || ! $1 =~ ^[0-9]+$ ]]; then
    echo "usage: $0 MENU-ID" >&2
    exit 2
fi
id=$1
cd "$(dirname "$0")/.."

section() { printf '\n== %s\n' "$1"; }

section "menu items"
items=$(git grep -nE "MENUITEM +\"[^\"]*\", *$id\b" -- 'res/*.rc' || true)
for name in $(awk -v id="$id" '$1 == "#define" && $3 == id { print $2 }' res/MenuIds.h res/TrayMenu.h); do
    items+=$'\n'$(git grep -nE "MENUITEM +\"[^\"]*\", *$name\b" -- 'res/*.rc' || true)
done
items=$(printf '%s\n' "$items" | sed '/^$/d')
if [[ -n $items ]]; then printf '%s\n' "$items"; else echo "(none)"; fi

section "row of the menu table (id or range, what choosing it runs, how its state is found)"
row=$(awk -v id="$id" '
    FNR == 1 { file++ }
    file <= 2 && $1 == "#define" && $3 ~ /^[0-9]+$/ { value[$2] = $3 + 0; next }
    file == 3 && match($0, /^ *(Item|Range|Filled)\(/) {
        args = substr($0, RSTART + RLENGTH)
        split(args, part, /, */)
        first = part[1]
        last = $0 ~ /^ *Item\(/ ? part[1] : part[2]
        first = (first in value) ? value[first] : first + 0
        last = (last in value) ? value[last] : last + 0
        if (first <= id && id <= last) printf "view/menus/MenuTable.cpp:%d:%s\n", FNR, $0
    }' res/MenuIds.h res/TrayMenu.h view/menus/MenuTable.cpp)
if [[ -n $row ]]; then
    printf '%s\n' "$row"
elif git grep -qE "\{L\"@[^\"]+\", L\"[^\"]*\", $id," -- app/keys/CommandTables.cpp; then
    echo "(none of its own: it runs the keyword of its command-table row below and is always enabled)"
else
    echo "(none)"
fi

section "command-table rows (keyword, caption, menu id)"
keywords=$(git grep -hE "\{L\"@[^\"]+\", L\"[^\"]*\", $id," -- app/keys/CommandTables.cpp |
    sed -E 's/.*\{L"(@[^"]+)".*/\1/' | sort -u || true)
git grep -nE "\{L\"@[^\"]+\", L\"[^\"]*\", $id," -- app/keys/CommandTables.cpp || echo "(none)"
for keyword in $keywords; do
    section "dispatcher rows of $keyword"
    git grep -nF "\"$keyword\"" -- view/commands || echo "(none)"
done

section "names in res/MenuIds.h and res/TrayMenu.h"
names=$(awk -v id="$id" '
    $1 == "#define" && $3 ~ /^[0-9]+$/ { value[$2] = $3 + 0; order[n++] = $2 }
    END {
        for (i = 0; i < n; i++) {
            name = order[i]
            if (value[name] == id) print name
            if (name ~ /_FIRST$/) {
                stem = substr(name, 1, length(name) - 6)
                last = stem "_LAST"
                if (!(last in value)) {
                    # Ranges whose two ends are named apart, such as the audio devices.
                    for (j = i + 1; j < n; j++) if (order[j] ~ /_LAST$/) { last = order[j]; break }
                }
                if ((last in value) && value[name] <= id && id <= value[last]) print name
            }
        }
    }' res/MenuIds.h res/TrayMenu.h | sort -u)
if [[ -n $names ]]; then printf '%s\n' $names; else echo "(none)"; fi

section "code that names the id"
pattern="\\b$id\\b"
for name in $names; do pattern="$pattern|\\b$name\\b"; done
git grep -nE "$pattern" -- 'app/*.cpp' 'app/*.h' 'view/*.cpp' 'view/*.h' 'program/*.cpp' \
    ':!app/keys/CommandTables.cpp' | grep -vE '^[^:]+:[0-9]+: *//' || echo "(none)"
