#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests, the fuzzing and the demo need,
# only those that are missing. Runs as root, or through sudo for a normal user.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git ccache lld
  clang libclang-rt-14-dev clang-tidy
  googletest libgtest-dev libgmock-dev
  qt6-base-dev libudev-dev libglib2.0-dev gsettings-desktop-schemas
  xvfb xauth imagemagick
  qt6-wayland
  trayer xdotool x11-utils dbus python3 python3-dbus python3-gi
  at-spi2-core python3-pyatspi
  fonts-dejavu-core fonts-liberation2 fonts-noto-cjk
  g++-mingw-w64-x86-64-posix wine wine64 zip nsis
  qemu-system-x86 linux-image-amd64 busybox-static udev cpio xz-utils kmod
)
packages+=("$@") # and those the caller names, such as the packaging tools

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}" >&2
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
