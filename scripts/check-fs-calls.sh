#!/usr/bin/env bash
# Fails when program code calls a Win32 file function by path anywhere but in the
# file-system layer (fs/), whose wrappers apply the long-path rules. Tests, benchmarks
# and the stand-in DLLs of the tests are not checked. Calls on a handle (FindNextFileW,
# FindClose, ReadFile …) and the volume queries on a drive root (GetDiskFreeSpace*,
# reached through g_DriveSeam) take no path the rules could change, and are not
# checked either.
set -euo pipefail
cd "$(dirname "$0")/.."

files=$(git ls-files -co --exclude-standard -- '*.cpp' '*.h' '*.c' 2>/dev/null || true)
[ -n "$files" ] || files=$(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print | sed 's|^\./||')

printf '%s\n' "$files" | python3 -c '
import re, sys

EXEMPT = ("fs/", "tests/", "bench/", "build/")
NAMES = (r"CreateFile(?:[AW]|2|Transacted[AW])?|MoveFile(?:Ex|WithProgress|Transacted)?[AW]?"
         r"|DeleteFile[AW]?|FindFirstFile(?:Ex)?[AW]?|FindFirstStreamW|GetFileAttributes(?:Ex)?[AW]?"
         r"|CreateDirectory(?:Ex)?[AW]?|RemoveDirectory[AW]?|SetFileAttributes[AW]?|CopyFile(?:Ex)?[AW]?"
         r"|CopyFile2|ReplaceFile[AW]?|FindFirstChangeNotification[AW]?"
         r"|[GS]etFileSecurity[AW]?|[GS]etNamedSecurityInfo[AW]?")
# A call or the address of the function: not a member (. or ->), not a name qualified
# by a class or namespace (only the global :: counts), not part of a longer name.
CALL = re.compile(r"(?<![\w.>:])(?:(?<!\w)::)?(?:" + NAMES + r")\s*\(|(?<![\w.>])::(?:" + NAMES + r")\b"
                  r"|&\s*(?:" + NAMES + r")\b")

def code_only(text):
    # Blanks out comments and string and character literals, keeping line breaks.
    out = []
    for m in re.finditer(r"//[^\n]*|/\*.*?\*/|\"(?:\\.|[^\"\\\n])*\"|\x27(?:\\.|[^\x27\\\n])*\x27|[^/\"\x27]+|.", text, re.S):
        piece = m.group(0)
        if piece.startswith(("//", "/*", "\"", "\x27")) and len(piece) > 1:
            out.append(re.sub(r"[^\n]", " ", piece))
        else:
            out.append(piece)
    return "".join(out)

bad = 0
for path in sys.stdin.read().split():
    if path.startswith(EXEMPT):
        continue
    try:
        text = open(path, encoding="utf-8", errors="replace").read()
    except OSError:
        continue
    lines = text.split("\n")
    for number, line in enumerate(code_only(text).split("\n"), 1):
        if CALL.search(line):
            print(f"{path}:{number}: {lines[number - 1].strip()}")
            bad = 1
sys.stdout.flush()
if bad:
    print("check-fs-calls: Win32 file calls outside fs/; use the wrappers of fs/LongPath.h, or "
          "fs/FileSystem.h in the archive client", file=sys.stderr)
    sys.exit(1)
print("check-fs-calls: every file call by path goes through fs/")
'
