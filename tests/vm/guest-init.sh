#!/bin/sh
# Runs in the guest as its first process on the shared root: sets up what a
# running system has, runs the job's command and ends the machine.
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
job= udev=0
for word in $(cat /proc/cmdline); do
  case "$word" in
    quorvel.job=*) job=${word#quorvel.job=} ;;
    quorvel.udev=*) udev=${word#quorvel.udev=} ;;
  esac
done

mount -t tmpfs -o mode=755 tmpfs /var/tmp 2>/dev/null
mkdir -p "$job"
mkdir -p /dev/shm && mount -t tmpfs -o mode=1777 tmpfs /dev/shm
mkdir -p /dev/pts && mount -t devpts devpts /dev/pts
mount -t 9p -o trans=virtio,version=9p2000.L,cache=none,msize=512000 job "$job"
ln -sf /proc/self/fd /dev/fd
# Folders of the host's /tmp that the command works in (its folder, or one
# named in its arguments) are shown at their own paths over the guest's /tmp.
while read -r top; do
  mkdir -p "/tmp/$top" && mount -o bind "/run/host-tmp/$top" "/tmp/$top"
done <"$job/host-tmp"
hostname quorvel-guest

ip link set lo up 2>/dev/null
modprobe uhid
modprobe hid-generic

if [ "$udev" = 1 ]; then
  mkdir -p /run/udev
  # Devices made after this point are announced; those already there are
  # not replayed (nothing the tests use exists yet, and a replay of every
  # device costs half a minute under emulation).
  /lib/systemd/systemd-udevd --daemon 2>/dev/null
  udevadm control --ping --timeout=30
fi

sh "$job/command" >>"$job/output" 2>&1
echo $? >"$job/status"
sync
umount "$job" 2>/dev/null
echo b >/proc/sysrq-trigger
