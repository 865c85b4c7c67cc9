#!/usr/bin/env bash
# The Windows programs unpacked into folders whose names are not ASCII, under
# Wine (WINEPREFIX set, the X display at hand):
# - the demo's picture from C:\Zoë, C:\鼠标 设置 and C:\Données\Quorvel has
#   the size of the one from an ASCII folder;
# - a skin named Blå is drawn (the same picture as the skin it copies) and
#   nothing is said about it;
# - quorvelctl.exe keeps the macro names Zoë and 宏一 in record.ini as UTF-8,
#   lists them, and reads an event file there through --data on a CJK path.
# Usage: folder_names_check.sh WINDOWS_BIN
set -euo pipefail

bin=$(realpath "$1")
# Wine hands the programs their arguments from the UTF-8 of this side.
export LC_ALL=C.UTF-8
drive_c=${WINEPREFIX:?}/drive_c
made=()
trap 'for folder in "${made[@]}"; do rm -rf "$drive_c/$folder"; done' EXIT

# A portable copy, as the zip unpacks, in C:\<folder>.
copy() {
  local folder=$1
  made+=("${folder%%/*}")
  rm -rf "${drive_c:?}/$folder"
  mkdir -p "$drive_c/$folder"
  cp -r "$bin/quorvel-demo.exe" "$bin/quorvelctl.exe" "$bin/config.bin" "$bin/str.ini" "$bin/Skins" \
    "$bin/factory" "$drive_c/$folder/"
}

windows() { # the Windows form of a folder under C:\
  printf 'C:\\%s' "${1//\//\\}"
}

# The picture of the demo in the copy at $1, to $1/shot.png; its size.
picture() {
  local folder=$1 status=0
  timeout 60 wine "$(windows "$folder")\\quorvel-demo.exe" --screenshot "$(windows "$folder")\\shot.png" \
    2>"$drive_c/$folder/said.txt" || status=$?
  if [ "$status" -ne 0 ] || [ ! -s "$drive_c/$folder/shot.png" ]; then
    echo "the demo in $folder ended with status $status: $(cat "$drive_c/$folder/said.txt")" >&2
    exit 1
  fi
  identify -format '%wx%h' "$drive_c/$folder/shot.png"
}

copy Quorvel-ascii
expected=$(picture Quorvel-ascii)
for folder in "Zoë" "鼠标 设置" "Données/Quorvel"; do
  copy "$folder"
  size=$(picture "$folder")
  if [ "$size" != "$expected" ]; then
    echo "the demo's picture from $(windows "$folder") is $size, from an ASCII folder $expected" >&2
    exit 1
  fi
  echo "from $(windows "$folder") the demo draws $size, as from an ASCII folder"
done

# The skin Blå, a copy of Ember, chosen in the factory str.ini that seeds the
# demo's own; its picture is Ember's, and nothing is said of the skin.
for skin in Ember Blå; do
  copy "skin-$skin"
  [ "$skin" = Ember ] || cp -r "$drive_c/skin-$skin/Skins/Ember" "$drive_c/skin-$skin/Skins/$skin"
  sed -i "s/^Path=.*/Path=$skin/" "$drive_c/skin-$skin/factory/str.ini"
  picture "skin-$skin" >/dev/null
  if [ -s "$drive_c/skin-$skin/said.txt" ]; then
    echo "the demo with the skin $skin said: $(cat "$drive_c/skin-$skin/said.txt")" >&2
    exit 1
  fi
done
differing=$(compare -metric AE "$drive_c/skin-Ember/shot.png" "$drive_c/skin-Blå/shot.png" null: 2>&1 || true)
if [ "$differing" != 0 ]; then
  echo "the skin Blå is not drawn as the Ember it copies ($differing pixels differ)" >&2
  exit 1
fi
if compare -metric AE "$drive_c/Quorvel-ascii/shot.png" "$drive_c/skin-Blå/shot.png" null: >/dev/null 2>&1; then
  echo "the skin Blå is drawn as the Default skin" >&2
  exit 1
fi
echo "the skin Blå is drawn, and nothing is said of it"

# quorvelctl.exe on a data folder with a CJK name, macro names outside ASCII.
data="鼠标 设置"
printf 'A   Dn\r\n50 ms\r\nA   Up\r\n' >"$drive_c/$data/事件.txt"
for name in "Zoë" "宏一"; do
  wine "$bin/quorvelctl.exe" --data "$(windows "$data")" macro add "$name" "$(windows "$data")\\事件.txt" >/dev/null
done
listed=$(wine "$bin/quorvelctl.exe" --data "$(windows "$data")" macro list | tr -d '\r')
if [ "$listed" != $'Zoë\n宏一' ]; then
  echo "quorvelctl.exe lists the macros as: $listed" >&2
  exit 1
fi
for section in '[Zoë]' '[宏一]'; do
  if ! grep -qxF -e "$section" <(tr -d '\r' <"$drive_c/$data/record.ini"); then
    echo "record.ini has no section $section in UTF-8:" >&2
    od -c "$drive_c/$data/record.ini" | head -20 >&2
    exit 1
  fi
done
shown=$(wine "$bin/quorvelctl.exe" --data "$(windows "$data")" macro show 宏一 | tr -d '\r')
if [ "$shown" != $'A   Dn\n50 ms\nA   Up' ]; then
  echo "quorvelctl.exe shows the macro 宏一 as: $shown" >&2
  exit 1
fi
echo "quorvelctl.exe keeps the macros Zoë and 宏一 in record.ini as UTF-8, through --data on a CJK path"
