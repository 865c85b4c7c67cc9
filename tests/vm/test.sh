#!/usr/bin/env bash
# The hidraw adapter and the programs against the kernel's own hidraw, uhid
# and udev: boots the virtual machine of run-vm.sh once, with udevd, and runs
# guest_tests.py there against the simulated mouse behind /dev/uhid
# (quorvel-uhid-mouse). Builds nothing.
#
#   bash tests/vm/test.sh BUILD_DIR [TEST...]
#
# BUILD_DIR holds bin/quorvel, bin/quorvelctl, bin/Skins and
# tools/uhid_mouse/quorvel-uhid-mouse (a whole build has them). TEST picks
# classes or tests of guest_tests.py: Hidraw, Quorvelctl, Window,
# Window.test_a_mouse_silent_during_apply_loses_the_link_and_the_window_closes_before_the_kernel_gives_up.
# Status 0 when every test passed, 1 when one failed (the guest's output above
# says which), 77 when this machine cannot boot the virtual machine.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
if [ $# -lt 1 ]; then
  echo "usage: test.sh BUILD_DIR [TEST...]" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
shift

fail() {
  echo "tests/vm/test.sh: $*" >&2
  exit 1
}

for file in bin/quorvel bin/quorvelctl bin/Skins/Default tools/uhid_mouse/quorvel-uhid-mouse; do
  [ -e "$build/$file" ] || fail "$build/$file is missing: build it first"
done
# The guest shares this machine's root, but /run is its own.
for folder in "$build" "$here"; do
  case "$folder/" in
    /run/*) fail "$folder is not visible in the virtual machine (its /run is its own)" ;;
  esac
done
if ! command -v qemu-system-x86_64 >/dev/null || ! ls /boot/vmlinuz-* >/dev/null 2>&1; then
  echo "tests/vm/test.sh: skipped: no qemu-system-x86_64 or no kernel in /boot (scripts/install-deps.sh installs them)"
  exit 77
fi

started=$(date +%s%N)
status=0
bash "$here/run-vm.sh" --udev --timeout 600 -- /usr/bin/python3 "$here/guest_tests.py" "$build" "$@" ||
  status=$?
seconds=$(( ($(date +%s%N) - started) / 1000000 ))
echo "tests/vm/test.sh: the virtual machine, boot included, took $((seconds / 1000)).$(printf %03d $((seconds % 1000))) s"
if [ "$status" -ne 0 ]; then
  echo "tests/vm/test.sh: FAILED in the virtual machine (status $status); the guest's output is above" >&2
  exit 1
fi
