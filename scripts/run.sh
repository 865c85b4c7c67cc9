#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program: the real one when
# a Quorvel mouse is attached, otherwise the demo with the simulated mouse.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target quorvel quorvel-demo quorvel_build_skins

program=quorvel-demo
if ls /sys/bus/hid/devices/ 2>/dev/null | grep -qi '04D9:A09F'; then
  program=quorvel
fi
# Without a display, start one of our own.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1600x900x24" "build/bin/$program" "$@"
fi
exec "build/bin/$program" "$@"
