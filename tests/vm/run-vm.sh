#!/usr/bin/env bash
# Runs one command as root inside a small virtual machine that boots this
# machine's own Debian kernel, so that tests meet the real hidraw, uhid, udev
# and USB gadget code instead of the seams the unit tests use.
#
#   bash tests/vm/run-vm.sh [--udev] [--timeout SECONDS] -- COMMAND [ARG...]
#
# The guest sees this machine's root file system read-only (9p), with fresh
# tmpfs on /tmp and /run and devtmpfs on /dev (folders of the host's /tmp
# that the command works in or names stay visible); uhid and hid-generic are
# loaded. COMMAND runs in the current folder with the current PATH, its
# standard output and error come back on ours, and its status is ours. With
# --udev, systemd-udevd runs in the guest and has settled before COMMAND.
#
# No root is needed here. The kernel runs under software emulation (TCG):
# this machine's /dev/kvm, where there is one, is a nested flavour a stock
# kernel does not boot on at a usable speed (QUORVEL_VM_KVM=1 tries it
# anyway). The uncompressed kernel and the tiny initramfs (static busybox and
# the virtio and 9p modules) are made once and kept in the cache folder.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
udev=0
timeout=300
while [ $# -gt 0 ]; do
  case "$1" in
    --udev) udev=1; shift ;;
    --timeout) timeout=$2; shift 2 ;;
    --) shift; break ;;
    *) break ;;
  esac
done
if [ $# -eq 0 ]; then
  echo "usage: run-vm.sh [--udev] [--timeout SECONDS] -- COMMAND [ARG...]" >&2
  exit 2
fi

fail() {
  echo "run-vm.sh: $*" >&2
  exit 125
}

kernel_image=$(ls /boot/vmlinuz-* 2>/dev/null | sort -V | tail -1)
[ -n "$kernel_image" ] || fail "no kernel in /boot (install linux-image-amd64)"
release=${kernel_image#/boot/vmlinuz-}
modules=/lib/modules/$release
[ -d "$modules" ] || fail "no modules for $release in $modules"
command -v qemu-system-x86_64 >/dev/null || fail "no qemu-system-x86_64 (install qemu-system-x86)"
busybox=$(command -v busybox || true)
[ -n "$busybox" ] || fail "no busybox (install busybox-static)"

cache=${QUORVEL_VM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quorvel-vm}/$release
mkdir -p "$cache"

# The kernel without its self-decompressor: QEMU starts an ELF kernel through
# its PVH entry, about twice as fast as a bzImage under emulation.
if [ ! -s "$cache/vmlinux" ]; then
  offset=$(LC_ALL=C grep -aobUP '\xfd7zXZ\x00' "$kernel_image" | head -1 | cut -d: -f1)
  [ -n "$offset" ] || fail "cannot find the compressed kernel in $kernel_image"
  # xz stops with an error at the padding after the stream; what it wrote is whole.
  tail -c +$((offset + 1)) "$kernel_image" | xz -dc >"$cache/vmlinux.part" 2>/dev/null || true
  head -c 4 "$cache/vmlinux.part" | grep -q ELF || fail "the kernel in $kernel_image did not unpack"
  mv "$cache/vmlinux.part" "$cache/vmlinux"
fi

# The initramfs mounts the shared root and hands over to guest-init.sh.
if [ ! -s "$cache/initramfs.cpio" ] || [ "$here/initramfs-init.sh" -nt "$cache/initramfs.cpio" ]; then
  tree=$(mktemp -d)
  mkdir -p "$tree/bin" "$tree/modules" "$tree/proc" "$tree/sys" "$tree/dev" "$tree/newroot"
  cp "$busybox" "$tree/bin/busybox"
  for tool in sh mount umount insmod mkdir switch_root cat echo sleep poweroff reboot; do
    ln -s busybox "$tree/bin/$tool"
  done
  n=0
  for module in virtio_pci 9pnet_virtio 9p; do
    modprobe --show-depends -S "$release" "$module" | awk '$1 == "insmod" { print $2 }'
  done | awk '!seen[$0]++' | while read -r ko; do
    n=$((n + 1))
    case "$ko" in
      *.xz) xz -dc "$ko" >"$tree/modules/$(printf %02d $n).ko" ;;
      *.zst) zstd -qdc "$ko" >"$tree/modules/$(printf %02d $n).ko" ;;
      *) cp "$ko" "$tree/modules/$(printf %02d $n).ko" ;;
    esac
  done
  cp "$here/initramfs-init.sh" "$tree/init"
  chmod +x "$tree/init"
  (cd "$tree" && find . | cpio -o -H newc --quiet) >"$cache/initramfs.cpio.part"
  rm -rf "$tree"
  mv "$cache/initramfs.cpio.part" "$cache/initramfs.cpio"
fi

# The job folder is shared writable: the command, its output and its status.
job=$(mktemp -d "${TMPDIR:-/var/tmp}/quorvel-vm.XXXXXX")
trap '[ -n "${QUORVEL_VM_KEEP:-}" ] || rm -rf "$job"' EXIT
{
  printf 'cd %q || exit 125\n' "$PWD"
  printf 'export PATH=%q\n' "$PATH"
  for name in LANG LC_ALL QUORVEL_TRACE QUORVEL_VM_SLOWDOWN ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS; do
    [ -n "${!name:-}" ] && printf 'export %s=%q\n' "$name" "${!name}"
  done
  printf 'exec'
  printf ' %q' "$@"
  printf '\n'
} >"$job/command"
: >"$job/output"
# The guest's /tmp is its own: the host's folders there that the command
# needs are shown over it.
for path in "$PWD" "$@"; do
  case "$path" in
    /tmp/?*) top=${path#/tmp/}; echo "${top%%/*}" ;;
  esac
done | sort -u >"$job/host-tmp"

# The guest starts guest-init.sh before the host's /tmp is shown at its own
# path: a clone there starts it from where the initramfs keeps the host's /tmp.
init=$here/guest-init.sh
case "$init" in
  /tmp/?*) init=/run/host-tmp/${init#/tmp/} ;;
esac

accel=(-accel tcg,thread=multi)
if [ "${QUORVEL_VM_KVM:-0}" = 1 ] && [ -w /dev/kvm ]; then
  accel=(-accel kvm)
fi

status=0
timeout --kill-after=5 "$timeout" qemu-system-x86_64 \
  "${accel[@]}" -M pc -cpu max -smp 2 -m 2048 \
  -nodefaults -no-user-config -display none -no-reboot \
  -kernel "$cache/vmlinux" -initrd "$cache/initramfs.cpio" \
  -append "console=ttyS0 quiet loglevel=3 panic=-1 quorvel.job=$job quorvel.udev=$udev quorvel.init=$init" \
  -serial "file:$job/console" \
  -virtfs "local,path=/,mount_tag=root,security_model=none,readonly=on,multidevs=remap" \
  -virtfs "local,path=$job,mount_tag=job,security_model=none" \
  </dev/null || status=$?

cat "$job/output"
if [ ! -s "$job/status" ]; then
  echo "run-vm.sh: the guest ended without the command's status (qemu: $status); its console:" >&2
  tail -n 40 "$job/console" >&2 || true
  exit 125
fi
exit "$(cat "$job/status")"
