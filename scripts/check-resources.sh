#!/usr/bin/env bash
# Fails when two dialog templates of the program's resource scripts carry the same
# number: the resource compiler keeps one of them silently and the other dialog then
# opens with the wrong controls.
set -euo pipefail
cd "$(dirname "$0")/.."
python3 - <<'PY'
import glob, re, sys
numbers = {}
for header in glob.glob('res/*.h'):
    text = open(header, encoding='utf-8', errors='replace').read()
    for m in re.finditer(r'^#define\s+(IDD_\w+)\s+(\d+)', text, re.M):
        numbers.setdefault((header[:-2], m.group(1)), int(m.group(2)))
seen = {}
failed = False
for script in sorted(glob.glob('res/*.rc')):
    text = open(script, encoding='utf-8', errors='replace').read()
    for m in re.finditer(r'^\s*(\w+)\s+DIALOG(?:EX)?\b', text, re.M):
        name = m.group(1)
        value = int(name) if name.isdigit() else numbers.get((script[:-3], name))
        if value is None:
            continue
        if value in seen and seen[value] != (script, name):
            print(f'check-resources: dialog {value} is {seen[value][1]} in {seen[value][0]} and {name} in {script}')
            failed = True
        seen.setdefault(value, (script, name))
print(f'check-resources: {len(seen)} dialog templates, each with its own number' if not failed else '', end='')
sys.exit(1 if failed else 0)
PY
echo
