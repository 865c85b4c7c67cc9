#!/usr/bin/env bash
# Cross-builds quorvelctl.exe for 64-bit Windows and packs it with the
# factory data into out/quorvel-windows-<version>.zip: unpacked anywhere, the
# folder is the tool's data folder.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQUORVEL_WERROR=ON >/dev/null
cmake --build build-windows -j"$(nproc)" --target quorvelctl

version=$(sed -n 's/^project(Quorvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=quorvel-windows-$version
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/$name" out
cp build-windows/bin/quorvelctl.exe "$stage/$name/"
x86_64-w64-mingw32-strip "$stage/$name/quorvelctl.exe"
cp res/factory/config.bin res/factory/str.ini "$stage/$name/"
rm -f "out/$name.zip"
(cd "$stage" && zip -q -r -X "$OLDPWD/out/$name.zip" "$name")
echo "out/$name.zip"
