#!/bin/sh
# The guest's first process: loads the virtio and 9p modules, mounts this
# machine's root read-only and hands over to guest-init.sh there.
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
for module in /modules/*.ko; do
  insmod "$module"
done
init=
for word in $(cat /proc/cmdline); do
  case "$word" in
    quorvel.init=*) init=${word#quorvel.init=} ;;
  esac
done
mount -t 9p -o trans=virtio,version=9p2000.L,ro,cache=loose,msize=512000 root /newroot ||
  { echo "initramfs: cannot mount the root"; reboot -f; }
mount -t tmpfs -o mode=755 tmpfs /newroot/run
# The host's /tmp stays reachable under /run, so that guest-init.sh can show
# the guest a build or a clone that lives there.
mkdir /newroot/run/host-tmp
mount -o bind /newroot/tmp /newroot/run/host-tmp
mount -t tmpfs -o mode=1777 tmpfs /newroot/tmp
umount /dev /sys /proc
exec switch_root /newroot /bin/sh "$init"
