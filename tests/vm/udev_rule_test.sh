#!/bin/sh
# Runs in the guest, with udevd running (run-vm.sh --udev): the project's
# udev rule, applied by the real udevd to the mouse as a real USB device,
# tags its hidraw nodes "uaccess"; without the rule they are not tagged.
#
# The mouse is a USB gadget (configfs, usb_f_hid) on the dummy host
# controller, so the kernel sees it as it sees the real one: a USB device
# with its vendor and product, two HID interfaces, usbhid, hidraw. A uhid
# device has no USB parent, so the rule cannot be checked on uhid.
#
#   sh tests/vm/udev_rule_test.sh RULE_FILE
set -eu
rule=$1
gadget=/sys/kernel/config/usb_gadget/quorvel
failures=0

say() { echo "udev rule: $*"; }

# The vendor interface that takes commands (feature, chunks in and out) and
# the one that sends the mouse's events (report 6).
feature_descriptor='\006\000\377\012\000\377\241\001\025\000\046\377\000\165\010\225\010\011\001\261\002\225\040\011\002\201\002\225\040\011\003\221\002\300'
event_descriptor='\006\001\377\012\001\377\241\001\205\006\025\000\046\377\000\165\010\225\010\011\001\201\002\300'

modprobe dummy_hcd
modprobe libcomposite
modprobe usb_f_hid
modprobe usbhid
mountpoint -q /sys/kernel/config || mount -t configfs none /sys/kernel/config

# Nothing of this machine's own udev rules folder (where a developer may have
# put the rule by hand) or of an installed package's copy takes part.
mount -t tmpfs tmpfs /etc/udev/rules.d
mkdir -p /run/udev/rules.d
: >/run/udev/rules.d/70-quorvel.rules

plug() {
  mkdir "$gadget"
  echo 0x04d9 >"$gadget/idVendor"
  echo 0xa09f >"$gadget/idProduct"
  echo 0x0110 >"$gadget/bcdDevice"
  mkdir "$gadget/strings/0x409"
  echo "Quorvel test gadget" >"$gadget/strings/0x409/product"
  mkdir "$gadget/configs/c.1"
  n=0
  for descriptor in "$event_descriptor" "$feature_descriptor"; do
    function=$gadget/functions/hid.usb$n
    mkdir "$function"
    echo 0 >"$function/protocol"
    echo 0 >"$function/subclass"
    echo 33 >"$function/report_length"
    printf "$descriptor" >"$function/report_desc"
    ln -s "$function" "$gadget/configs/c.1/"
    n=$((n + 1))
  done
  ls /sys/class/udc >"$gadget/UDC"
}

unplug() {
  echo "" >"$gadget/UDC"
  rm -f "$gadget"/configs/c.1/hid.usb*
  rmdir "$gadget"/configs/c.1 "$gadget"/functions/hid.usb* "$gadget/strings/0x409" "$gadget"
  udevadm settle --timeout=30
}

# The mouse's hidraw nodes, once udev has handled them.
mouse_nodes() {
  for node in /sys/class/hidraw/hidraw*; do
    [ -e "$node" ] || continue
    case "$(cat "$node/device/uevent")" in
      *HID_ID=0003:000004D9:0000A09F*) echo "/dev/${node##*/}" ;;
    esac
  done
}

check() { # RULE_PRESENT EXPECTED_TAGGED
  plug
  tries=0
  while [ "$(mouse_nodes | wc -l)" -lt 2 ] && [ $tries -lt 100 ]; do
    sleep 0.1
    tries=$((tries + 1))
  done
  udevadm settle --timeout=30
  nodes=$(mouse_nodes)
  if [ "$(echo "$nodes" | grep -c hidraw)" -ne 2 ]; then
    say "FAIL: the gadget gave no two hidraw nodes (found: $nodes)"
    failures=$((failures + 1))
  fi
  for node in $nodes; do
    properties=$(udevadm info --query=property --name="$node")
    if ! echo "$properties" | grep -q '^USEC_INITIALIZED='; then
      say "FAIL: udev has not handled $node"
      failures=$((failures + 1))
    fi
    if echo "$properties" | grep -Eq '^(CURRENT_)?TAGS=.*:uaccess:'; then
      tagged=1
    else
      tagged=0
    fi
    if [ "$tagged" = "$2" ]; then
      say "ok: $node with the rule $1: uaccess $tagged"
    else
      say "FAIL: $node with the rule $1: uaccess $tagged, expected $2"
      udevadm info --name="$node"
      failures=$((failures + 1))
    fi
  done
  unplug
}

udevadm control --reload
check absent 0
cp "$rule" /run/udev/rules.d/70-quorvel.rules
udevadm control --reload
check present 1

[ "$failures" -eq 0 ]
