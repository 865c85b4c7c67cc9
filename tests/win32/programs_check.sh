#!/usr/bin/env bash
# The Windows programs from outside, under Wine on the X display at hand:
# - a picture (--screenshot) is taken beside a running demo, whose window
#   stays in the tray;
# - the second-instance rule: a second start of the demo ends at once with
#   status 0 and the running copy shows its window; "Exit" of the tray menu
#   then ends that copy with status 0;
# - with a Linux build's bin/ as the third argument, the demo's picture of
#   each page against the Linux demo's: the same size, and the same layout
#   (only the fonts may differ).
# Usage: programs_check.sh WINDOWS_BIN WINDOW_DRIVER [LINUX_BIN]
set -euo pipefail

bin=$(realpath "$1")
driver=$(realpath "$2")
linux_bin=${3:+$(realpath "$3")}
demo_class=QRVL_GamingMouseDemoClass

work=$(mktemp -d)
first=
trap '[ -n "$first" ] && kill "$first" 2>/dev/null; rm -rf "$work"' EXIT
# A portable copy of its own, as the zip unpacks.
app=$work/app
mkdir "$app"
cp -r "$bin/quorvel-demo.exe" "$bin/config.bin" "$bin/str.ini" "$bin/Skins" "$bin/factory" "$app/"
cd "$work"

wine "$app/quorvel-demo.exe" &
first=$!
wine "$driver" wait "$demo_class" exists 60000
# It starts in the tray where there is one; Wine's desktop always has one.
wine "$driver" wait "$demo_class" hidden 5000
# A picture is taken beside it, and leaves its window in the tray.
status=0
timeout 60 wine "$app/quorvel-demo.exe" --screenshot "$(winepath -w "$work/beside.png")" 2>/dev/null || status=$?
if [ "$status" -ne 0 ] || [ ! -s "$work/beside.png" ]; then
  echo "a picture beside the running demo ended with status $status" >&2
  exit 1
fi
wine "$driver" wait "$demo_class" hidden 5000
started=$(date +%s)
status=0
timeout 30 wine "$app/quorvel-demo.exe" || status=$?
took=$(($(date +%s) - started))
if [ "$status" -ne 0 ] || [ "$took" -gt 10 ]; then
  echo "a second start ended with status $status after $took s" >&2
  exit 1
fi
wine "$driver" wait "$demo_class" shown 10000
wine "$driver" exit "$demo_class"
status=0
wait "$first" || status=$?
first=
if [ "$status" -ne 0 ]; then
  echo "Exit of the tray menu ended the demo with status $status" >&2
  exit 1
fi
echo "a picture beside the running demo; second start: shows the running copy's window and ends with 0; the tray menu's Exit ends with 0"

[ -n "$linux_bin" ] || exit 0
# Fonts differ between the two (GDI under Wine, Qt's own rasteriser), so
# their pixels may; the layout may not. At 15% colour fuzz the two pictures
# of a page differ in some 8,300 of their 563,200 pixels, all of them text;
# shifting the whole Linux picture by one pixel gives 19,000, a blacked-out
# button list 25,000, the other page 38,000. A page is the same below 12,000.
limit=12000
for page in basic advanced; do
  QT_QPA_PLATFORM=offscreen "$linux_bin/quorvel-demo" --page "$page" --screenshot "$work/linux-$page.png" 2>/dev/null
  wine "$app/quorvel-demo.exe" --page "$page" --screenshot "$(winepath -w "$work/windows-$page.png")" 2>/dev/null
  linux_size=$(identify -format '%wx%h' "$work/linux-$page.png")
  windows_size=$(identify -format '%wx%h' "$work/windows-$page.png")
  if [ "$linux_size" != "$windows_size" ]; then
    echo "the $page page is $windows_size under Wine and $linux_size on Linux" >&2
    exit 1
  fi
  differing=$(compare -metric AE -fuzz 15% "$work/linux-$page.png" "$work/windows-$page.png" null: 2>&1 || true)
  if ! [ "$differing" -lt "$limit" ] 2>/dev/null; then
    echo "the $page page differs from the Linux demo's in $differing pixels (limit $limit)" >&2
    cp "$work/linux-$page.png" "$work/windows-$page.png" "${QUORVEL_FAILED_PICTURES:-/tmp}/" 2>/dev/null || true
    exit 1
  fi
  echo "the $page page: $windows_size as on Linux, $differing pixels differ (fonts)"
done
