#!/usr/bin/env bash
# Cross-builds the core, the Windows adapters and shell, the programs and their tests
# with MinGW-w64 and runs the tests under Wine, headless, in a Wine prefix of
# their own that is made once for the whole run. With a Linux build folder as
# the first argument, quorvelctl.exe's trace of a simulated Apply is also
# held against that of the Linux quorvelctl, and quorvel-demo.exe's pictures
# against those of the Linux quorvel-demo. Last, the installer is made and
# installed, reinstalled and uninstalled there (tests/win32/installer_test.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

linux_build=${1:-}
# The window programs and their tests need a display: without one, the whole
# run goes inside a virtual X server of its own.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$PWD/scripts/test-windows.sh" "$@"
fi
jobs=$(nproc)

# Release: Wine needs no debug information, and leaving it out spares a third
# of the compile time. scripts/build-windows.sh builds in the same folder.
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQUORVEL_WERROR=ON >/dev/null
cmake --build build-windows -j"$jobs"

export WINEDEBUG=-all
WINEPREFIX=$(mktemp -d)
export WINEPREFIX
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
wineserver -p 60 # one server for every test program of the run
# No Mono or Gecko prompts: the tests need neither.
WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot -i >/dev/null 2>&1
# No window manager runs on the virtual display: Wine would wait for one
# (about 2 s) each time a window it lets the manager handle is hidden or
# destroyed. Windows it draws itself need no such wait.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

ctest --test-dir build-windows --output-on-failure -j"$jobs"

# The window programs from outside: a second start, the tray menu's Exit, and
# with a Linux build the demo's pictures against the Linux demo's.
bash tests/win32/programs_check.sh build-windows/bin build-windows/tests/window_driver.exe \
  ${linux_build:+"$linux_build/bin"}

# Unpacked into folders whose names are not ASCII: the demo's picture, a
# skin named Blå, quorvelctl.exe's macro names and --data.
bash tests/win32/folder_names_check.sh build-windows/bin

if [ -n "$linux_build" ]; then
  diff <("$linux_build/bin/quorvelctl" --simulate --trace apply) \
       <(wine build-windows/bin/quorvelctl.exe --simulate --trace apply)
  echo "quorvelctl.exe traces a simulated Apply as the Linux build does"
fi

# The installer, made as a release makes it, in this run's prefix: a silent
# install, the installed programs, reinstalls and a silent uninstall.
setup=$(bash scripts/build-windows.sh | tail -n 1)
bash tests/win32/installer_test.sh "$setup" build-windows/tests/window_driver.exe
