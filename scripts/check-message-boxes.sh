#!/usr/bin/env bash
# Fails when program code shows a message box of its own instead of telling or asking
# through Tell and Ask (app/dialogs/TellAndAsk.h), the one way that tests can script:
# a call of MessageBox, MessageBoxW/A, MessageBoxEx*, MessageBoxIndirect*,
# AfxMessageBox, or of ShowMessageBoxDlg, the box under Tell and Ask. Exempt are the
# tests and benchmarks, the framework (its own AfxMessageBox and CWnd::MessageBox)
# and the box itself: app/dialogs/MessageBoxDlg.* and app/dialogs/TellAndAsk.*.
set -euo pipefail
cd "$(dirname "$0")/.."

files=$(git ls-files -co --exclude-standard -- '*.cpp' '*.h' '*.c' '*.inc' 2>/dev/null || true)
[ -n "$files" ] || files=$(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' -o -name '*.c' -o -name '*.inc' \) -print | sed 's|^\./||')

printf '%s\n' "$files" | grep -vE '^(tests|bench|framework|build)/|^app/dialogs/(MessageBoxDlg|TellAndAsk)\.' |
  python3 -c '
import re, sys
call = re.compile(r"(?<!\w)(MessageBox(?:[AW]|Ex[AW]?|Indirect[AW]?)?|AfxMessageBox|ShowMessageBoxDlg)\s*\(")
found = 0
checked = 0
for name in sys.stdin.read().split():
    try:
        text = open(name, encoding="utf-8", errors="replace").read()
    except OSError:
        continue
    checked += 1
    # Comments and string literals say nothing about what the code calls.
    code = re.sub(r"/\*.*?\*/", lambda m: "\n" * m.group(0).count("\n"), text, flags=re.S)
    for number, line in enumerate(code.split("\n"), 1):
        line = re.sub(r"L?\"(?:\\.|[^\"\\])*\"", "\"\"", line)
        line = line.split("//", 1)[0]
        m = call.search(line)
        if m:
            print(f"{name}:{number}: {m.group(1)} called directly; tell or ask through Tell/Ask (app/dialogs/TellAndAsk.h)")
            found += 1
if found:
    print(f"check-message-boxes: {found} message box call(s) outside Tell and Ask")
    sys.exit(1)
print(f"check-message-boxes: {checked} files, every message goes through Tell and Ask")
'
