#!/usr/bin/env bash
# Writes cmake/startup-order.txt: the functions of the program that its first
# picture runs, in the order they first run, as the linker names them. The
# link lays them side by side, so that a start maps fewer pages of the
# program. Run it again after the start-up path changed much: a function
# missing from the list only lies elsewhere, and a name no longer there is
# passed over.
#   scripts/startup-order.sh [BUILD_FOLDER]   (build by default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
command -v valgrind >/dev/null || { echo "startup-order.sh needs valgrind (apt-get install valgrind)" >&2; exit 1; }

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target quorvel-demo >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work" \
  valgrind --tool=callgrind --demangle=no --callgrind-out-file="$work/calls" \
  "$build/bin/quorvel-demo" --screenshot "$work/window.png" >/dev/null 2>&1
python3 - "$work/calls" cmake/startup-order.txt <<'PY'
import re, sys
# callgrind names each object and function once, "(id) name", and by its
# id alone after that; "fn=" lines open the costs of a function.
objects, functions, current, order, seen = {}, {}, None, [], set()
for line in open(sys.argv[1]):
    named = re.match(r'^(c?ob|c?fn)=\((\d+)\)(?: (.*))?$', line.rstrip('\n'))
    if not named:
        continue
    kind, number, name = named.groups()
    table = objects if kind.endswith('ob') else functions
    if name:
        table[number] = name
    if kind == 'ob':
        current = objects.get(number, '')
    elif kind == 'fn' and current.endswith('/quorvel-demo'):
        function = re.sub(r"'\d+$", '', functions[number])  # a recursion's depth
        if function not in seen:
            seen.add(function)
            order.append(function)
with open(sys.argv[2], 'w') as out:
    out.write('\n'.join(order) + '\n')
print(f'{len(order)} functions', file=sys.stderr)
PY
