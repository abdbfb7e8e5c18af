#!/usr/bin/env bash
# dialog.sh WHAT: a dialog's template and every line of code that shows or names it.
#   scripts/dialog.sh 壁紙の設定        (any part of the caption the user sees)
#   scripts/dialog.sh IDD_MY_COPY       (the template's id, or its number: 1280)
#   scripts/dialog.sh CSetWallPaperDlg  (the class)
# It prints the templates of res/*.rc whose caption holds the text (or whose id or number is
# the one asked for) with their caption, the header line that numbers each, the classes
# and lines of code that name the template, the files that define those classes' members,
# and the lines of code that write the text as a caption of their own (captions set at run
# time, message boxes and the system's file dialogs have no template).
set -euo pipefail
if [[ $# -ne 1 || -z $1 ]]; then
    echo "usage: $0 CAPTION-TEXT | IDD_NAME | TEMPLATE-NUMBER | CLASS" >&2
    exit 2
fi
cd "$(dirname "$0")/.."
python3 - "$1" <<'PY'
import glob, re, subprocess, sys

what = sys.argv[1]

def grep(args):
    run = subprocess.run(['git', 'grep', '-n'] + args, capture_output=True, text=True)
    return [line for line in run.stdout.splitlines() if line]

def section(title, lines):
    print(f'\n== {title}')
    print('\n'.join(lines) if lines else '(none)')

# Every template: its id, number, file, line and caption.
numbers = {}
for header in glob.glob('res/*.h'):
    for i, line in enumerate(open(header, encoding='utf-8', errors='replace'), 1):
        m = re.match(r'#define\s+(IDD_\w+)\s+(\d+)', line)
        if m:
            numbers[m.group(1)] = (int(m.group(2)), f'{header}:{i}: {line.rstrip()}')
templates = []
for script in sorted(glob.glob('res/*.rc')):
    current = None
    for i, line in enumerate(open(script, encoding='utf-8', errors='replace'), 1):
        m = re.match(r'\s*(\w+)\s+DIALOG(?:EX)?\b', line)
        if m:
            current = {'id': m.group(1), 'where': f'{script}:{i}', 'caption': ''}
            templates.append(current)
            continue
        m = re.match(r'\s*CAPTION\s+"(.*)"', line)
        if m and current is not None and not current['caption']:
            current['caption'] = m.group(1)

def number_of(template_id):
    if template_id.isdigit():
        return int(template_id)
    return numbers.get(template_id, (None, ''))[0]

classes = set()
if re.fullmatch(r'C\w+', what) and not what.startswith('CAPTION'):
    classes.add(what)
    names = grep(['-hE', rf'\b{what}\b.*:\s*(public\s+)?\w+\(\s*(IDD_\w+|[0-9]+)', '--', '*.cpp', '*.h'])
    names += grep(['-hE', rf'{what}::{what}\(.*\)\s*:\s*\w+\((IDD_\w+|[0-9]+)', '--', '*.cpp'])
    wanted = set(re.findall(r'\b(IDD_\w+)\b', '\n'.join(names)))
    chosen = [t for t in templates if t['id'] in wanted]
elif what.isdigit():
    chosen = [t for t in templates if number_of(t['id']) == int(what)]
elif what.startswith('IDD_'):
    chosen = [t for t in templates if t['id'] == what]
else:
    chosen = [t for t in templates if what in t['caption']]

section('templates (file:line, id, number, caption)',
        [f"{t['where']}: {t['id']} {number_of(t['id'])} \"{t['caption']}\"" for t in chosen])
section('template numbers', [numbers[t['id']][1] for t in chosen if t['id'] in numbers])

code = []
for t in chosen:
    pattern = rf"\b{t['id']}\b"
    code += grep(['-E', pattern, '--', '*.cpp', '*.h', ':!res/*', ':!tests/*'])
section('code that names the template', sorted(set(code)))
# The class that names the template: the one whose member holds the line (found from the
# line upwards), or the class declared last before it in a header. The view's own members
# that show a dialog are the lines themselves.
for hit in code:
    path, number, text = hit.split(':', 2)
    before = open(path, encoding='utf-8', errors='replace').read().splitlines()[: int(number)]
    for line in reversed(before):
        m = re.match(r'^(?=[^\s/#]).*?\b(C\w+)::~?\w+\(', line) or re.match(r'^\s*class\s+(C\w+)', line)
        if m:
            if m.group(1) != 'CQvView':
                classes.add(m.group(1))
            break

defining = []
for name in sorted(classes):
    defining += grep(['-E', rf'^class {name}\b', '--', '*.h', ':!tests/*'])
    files = subprocess.run(['git', 'grep', '-lE', rf'\b{name}::\w+\(', '--', '*.cpp', ':!tests/*'],
                           capture_output=True, text=True).stdout.split()
    defining += [f'{f}: members of {name}' for f in files]
section('classes and the files of their members', defining)

if not re.fullmatch(r'(IDD_\w+|\d+|C\w+)', what):
    section('code that writes the text itself (captions set at run time, messages, file dialogs)',
            grep(['-F', what, '--', '*.cpp', '*.h', ':!res/*', ':!tests/*']))
PY
