#!/usr/bin/env bash
# keyword.sh KEYWORD: the rows of a command keyword and the code that does its work.
#   scripts/keyword.sh @Copy
# It prints the command-table rows that name the keyword (name shown to the user, menu id),
# the dispatcher rows that run it, and for each operation those rows name the first line of
# its body: a keyword's own function (VIEW_COMMAND) or the CQvView member.
set -euo pipefail
if [[ $# -ne 1 || ! $1 =~ ^@[A-Za-z0-9]+$ ]]; then
    echo "usage: $0 @KEYWORD" >&2
    exit 2
fi
keyword=$1
cd "$(dirname "$0")/.."

section() { printf '\n== %s\n' "$1"; }

section "command-table rows (keyword, name, menu id, category)"
git grep -nF "{L\"$keyword\", L\"" -- app/keys/CommandTables.cpp || echo "(none)"

section "dispatcher rows"
rows=$(git grep -nF "L\"$keyword\"" -- 'view/commands/*.cpp' || true)
if [[ -n $rows ]]; then printf '%s\n' "$rows"; else echo "(none)"; fi

section "bodies"
functions=$(printf '%s\n' "$rows" | sed -nE 's/.*(COMMAND_ROW\(L"[^"]*", *|COMMAND_FUNCTION\()([A-Za-z0-9_]+).*/\2/p' | sort -u)
members=$(printf '%s\n' "$rows" | grep -oE '&CQvView::[A-Za-z0-9_]+' | sed 's/&CQvView:://' | sort -u || true)
found=
for name in $functions; do
    git grep -nE "^VIEW_COMMAND\($name\)" -- view && found=1
done
for name in $members; do
    git grep -nE "^[A-Za-z].*\bCQvView::$name\(" -- view && found=1
done
[[ -n $found ]] || echo "(none)"
