#!/bin/bash
# quorvelctl macro from several processes at once, and killed in mid-save:
# no macro is lost, a killed add is completed by running it again, and the
# temporary files a killed save leaves are cleared by the next run.
# Usage: two_writers.sh QUORVELCTL CONFIG_BIN
set -euo pipefail
ctl=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
printf 'Ctrl   Dn\n50 ms\nC   Dn\n50 ms\nC   Up\n50 ms\nCtrl   Up\n' >"$root/copy.txt"
# The slots of the macro table that hold events (config.bin offset 1 + 384,
# 128 bytes a slot, events from byte 2).
filled_slots() {
  local n=0
  for k in $(seq 0 11); do
    [ -n "$(od -v -An -tx1 -j$((385 + 128 * k + 2)) -N126 "$1/config.bin" | tr -d ' 0\n')" ] && n=$((n + 1))
  done
  echo $n
}
temporaries() { find "$1" -regextype posix-extended -regex '.*/(config\.bin|str\.ini|record\.ini)\.[A-Za-z0-9]{6}'; }

# Six adds at once, twenty times over.
for round in $(seq 1 20); do
  folder="$root/round$round"
  mkdir "$folder"
  cp "$2" "$folder/config.bin"
  for m in 1 2 3 4 5 6; do
    "$ctl" --data "$folder" macro add "M$m" "$root/copy.txt" 2>"$folder/err$m" &
  done
  wait
  listed=$("$ctl" --data "$folder" macro list | wc -l)
  [ "$listed" = 6 ] || fail "round $round: $listed of 6 macros listed"
  [ "$(filled_slots "$folder")" = 6 ] || fail "round $round: $(filled_slots "$folder") of 6 slots filled"
done

# Killed at random moments of an add; the same add again always finishes it.
folder="$root/killed"
mkdir "$folder"
cp "$2" "$folder/config.bin"
for i in $(seq 1 40); do
  "$ctl" --data "$folder" macro add Copy "$root/copy.txt" 2>/dev/null &
  sleep "0.00$((RANDOM % 9))"
  kill -9 $! 2>/dev/null || true
  wait $! 2>/dev/null || true
  "$ctl" --data "$folder" macro add Copy "$root/copy.txt" || fail "kill $i: the add again was refused"
  [ "$(filled_slots "$folder")" = 1 ] || fail "kill $i: the table does not hold the macro"
  [ -z "$(temporaries "$folder")" ] || fail "kill $i: temporary files left: $(temporaries "$folder")"
  "$ctl" --data "$folder" macro delete Copy || fail "kill $i: delete refused"
  [ "$(filled_slots "$folder")" = 0 ] || fail "kill $i: the deleted macro stays in the table"
done

# What a killed save leaves is cleared; other files are not.
touch "$folder/config.bin.Ab12Cd" "$folder/record.ini.x9Y8z7" "$folder/config.bin.keep" "$folder/notes.txt"
mkdir "$folder/str.ini.QWERTY"
"$ctl" --data "$folder" macro add Copy "$root/copy.txt"
[ ! -e "$folder/config.bin.Ab12Cd" ] && [ ! -e "$folder/record.ini.x9Y8z7" ] || fail "stale temporary files stay"
[ -e "$folder/config.bin.keep" ] && [ -e "$folder/notes.txt" ] && [ -d "$folder/str.ini.QWERTY" ] ||
  fail "a file that is no temporary file of the program was removed"
echo "two writers: ok"
