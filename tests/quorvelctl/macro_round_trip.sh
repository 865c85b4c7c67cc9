#!/bin/bash
# quorvelctl macro on a real data folder: add from a file and from standard
# input, list, show what was added, delete; a refused add changes no file.
# Usage: macro_round_trip.sh QUORVELCTL CONFIG_BIN [RUNNER]
# RUNNER (such as wine) runs a QUORVELCTL built for another system.
set -euo pipefail
ctl=$1
runner=${3:-}
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$2" "$folder/config.bin"
run() { ${runner:+"$runner"} "$ctl" --data "$folder" macro "$@"; }
fail() { echo "FAIL: $*" >&2; exit 1; }

printf 'Ctrl   Dn\n50 ms\nC   Dn\n50 ms\nC   Up\n50 ms\nCtrl   Up\n' >"$folder/copy.txt"
run add Copy "$folder/copy.txt"
printf 'V   Dn\n20 ms\nV   Up\n' | run add -- -Paste -
[ "$(run list)" = "$(printf 'Copy\n-Paste')" ] || fail "list: $(run list)"
run show copy | cmp - "$folder/copy.txt" || fail "show gives back other lines"
# Slot 0 of the macro table (config.bin offset 1 + 384): loop count 1, then the pairs.
slot=$(od -An -tx1 -j385 -N10 "$folder/config.bin" | tr -d ' \n')
[ "$slot" = 000105e00506850680e0 ] || fail "slot 0: $slot"

cp "$folder/record.ini" "$folder/record.before"
cp "$folder/config.bin" "$folder/config.before"
printf 'A   Dn\n' >"$folder/other.txt"
for refused in "add Copy $folder/other.txt" "add Cut $folder/missing.txt" "add Cut $folder" "show Nope" "delete Nope"; do
  # shellcheck disable=SC2086
  if run $refused 2>"$folder/err"; then fail "accepted: $refused"; fi
  [ "$(wc -l <"$folder/err")" = 1 ] || fail "not one line for $refused: $(cat "$folder/err")"
done
if echo 'Ctrl+C' | run add Cut - 2>/dev/null; then fail "accepted a line that is no event"; fi
cmp "$folder/record.ini" "$folder/record.before" || fail "a refused command changed record.ini"
cmp "$folder/config.bin" "$folder/config.before" || fail "a refused command changed config.bin"

# The same macro added again is no change: it completes an add cut off
# between its two saves.
run add Copy "$folder/copy.txt" || fail "the same macro again was refused"
cmp "$folder/record.ini" "$folder/record.before" || fail "the same macro again changed record.ini"
cmp "$folder/config.bin" "$folder/config.before" || fail "the same macro again changed config.bin"

run delete COPY
run delete -- -Paste
[ -z "$(run list)" ] || fail "not empty after delete: $(run list)"
echo "macro round trip: ok"
