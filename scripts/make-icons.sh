#!/usr/bin/env bash
# Renders the application icon's PNG sizes from its SVG into the hicolor
# folders beside it. The PNGs are committed; rerun this after changing the SVG.
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
