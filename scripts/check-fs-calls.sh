#!/usr/bin/env bash
# Fails when program code calls a Win32, shell or C run-time file function by path
# anywhere but in the file-system layer (fs/), whose wrappers apply the long-path
# rules, or takes such a function's name without calling it. Tests, benchmarks
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
NAMES = (
    # Win32 and shell functions that take a path.
    r"CreateFile(?:[AW]|2|Transacted[AW])?|MoveFile(?:Ex|WithProgress|Transacted)?[AW]?"
    r"|DeleteFile(?:Transacted)?[AW]?|FindFirstFile(?:Ex|Transacted|Name(?:Transacted)?)?[AW]?"
    r"|FindFirstStream(?:Transacted)?W|GetFileAttributes(?:Ex|Transacted)?[AW]?"
    r"|SetFileAttributes(?:Transacted)?[AW]?|CreateDirectory(?:Ex|Transacted)?[AW]?"
    r"|RemoveDirectory(?:Transacted)?[AW]?|CopyFile(?:Ex|Transacted)?[AW]?|CopyFile2|ReplaceFile[AW]?"
    r"|FindFirstChangeNotification[AW]?|CreateHardLink(?:Transacted)?[AW]?"
    r"|CreateSymbolicLink(?:Transacted)?[AW]?|GetShortPathName[AW]?|GetLongPathName(?:Transacted)?[AW]?"
    r"|GetCompressedFileSize(?:Transacted)?[AW]?|SetCurrentDirectory[AW]?|GetTempFileName[AW]?"
    r"|EncryptFile[AW]?|DecryptFile[AW]?|SHFileOperation[AW]?|SHCreateDirectory(?:Ex)?[AW]?"
    r"|PathFileExists[AW]?|[GS]etFileSecurity[AW]?|[GS]etNamedSecurityInfo[AW]?"
    # The functions of the C run-time library that take a path.
    r"|_w?fopen(?:_s)?|fopen(?:_s)?|_w?fsopen|_w?freopen(?:_s)?|freopen(?:_s)?|_w?open|_w?sopen(?:_s)?"
    r"|_w?creat|_w?access(?:_s)?|_wremove|_wrename|_w?unlink|_w?mkdir|_w?rmdir|_w?chdir|_w?chmod"
    r"|_w?stat(?:32|64|i64|32i64|64i32)?|_w?findfirst(?:32|64|i64|32i64|64i32)?|_w?utime(?:32|64)?")
# Any use of such a name: a call, its address, or the name taken as a value
# (auto f = DeleteFileW;), which a call through the pointer would hide. Not a member
# (. or ->), not a name qualified by a class or namespace (only the global :: counts),
# not part of a longer name. The file streams of the standard library and std::filesystem
# open by path as well.
CALL = re.compile(r"(?<![\w.>:])(?:(?<!\w)::)?(?:" + NAMES + r")(?!\w)"
                  r"|(?<![\w:])std\s*::\s*(?:(?:basic_)?w?[io]?fstream|filesystem)(?!\w)")

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
    print("check-fs-calls: file calls by path outside fs/; use the wrappers of fs/LongPath.h, or "
          "fs/FileSystem.h in the archive client", file=sys.stderr)
    sys.exit(1)
print("check-fs-calls: every file call by path goes through fs/")
'
