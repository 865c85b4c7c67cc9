#!/usr/bin/env bash
# Cross-builds the Windows programs (quorvel.exe, quorvel-demo.exe and
# quorvelctl.exe) and packs them with the factory data, the skins, the
# licence and a read-me into out/quorvel-windows-<version>.zip: unpacked
# anywhere, the folder is a portable copy, the programs' data folder (the demo
# keeps its own files in demo\ inside it, seeded from factory\). The same
# files make the installer, out/quorvel-setup-<version>.exe (NSIS): an
# installed copy keeps the user's data in %APPDATA%\Quorvel.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQUORVEL_WERROR=ON >/dev/null
cmake --build build-windows -j"$(nproc)" --target quorvel quorvel-demo quorvelctl

version=$(sed -n 's/^project(Quorvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=quorvel-windows-$version
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/$name/factory" out
for program in quorvel quorvel-demo quorvelctl; do
  cp "build-windows/bin/$program.exe" "$stage/$name/"
  x86_64-w64-mingw32-strip "$stage/$name/$program.exe"
done
cp res/factory/config.bin res/factory/str.ini "$stage/$name/"
cp res/factory/config.bin res/factory/str.ini "$stage/$name/factory/"
cp -r res/skins "$stage/$name/Skins"
# With Windows line ends, for any editor there.
sed 's/$/\r/' LICENSE >"$stage/$name/LICENSE.txt"
sed 's/$/\r/' res/windows/README.txt >"$stage/$name/README.txt"
rm -f "out/$name.zip"
(cd "$stage" && zip -q -r -X "$OLDPWD/out/$name.zip" "$name")
echo "out/$name.zip"

# The installer takes the programs, factory\, Skins\ and the texts; the
# settings files beside the programs are the portable copy's alone.
setup=out/quorvel-setup-$version.exe
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage/$name" \
  -DICON="$PWD/res/windows/quorvel.ico" -DOUTFILE="$PWD/$setup" res/windows/quorvel.nsi >&2
echo "$setup"
