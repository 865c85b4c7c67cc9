#!/usr/bin/env bash
# Renders the application icon's PNG sizes from its SVG into the hicolor
# folders beside it, and the Windows icon (res/windows/quorvel.ico) from them.
# The PNGs and the icon are committed; rerun this after changing the SVG.
# scripts/check-package-files.sh checks that the sizes below are all there.
set -euo pipefail
cd "$(dirname "$0")/.."

sizes=(16 32 48 64 128 256)
icons=res/icons/hicolor

if [ "${1:-}" = "--sizes" ]; then
  echo "${sizes[@]}"
  exit 0
fi
for size in "${sizes[@]}"; do
  mkdir -p "$icons/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" "$icons/scalable/apps/quorvel.svg" -o "$icons/${size}x${size}/apps/quorvel.png"
done
# The Windows programs' icon: the small sizes and the large one in one file.
convert "$icons/16x16/apps/quorvel.png" "$icons/32x32/apps/quorvel.png" "$icons/48x48/apps/quorvel.png" \
  "$icons/256x256/apps/quorvel.png" res/windows/quorvel.ico
