#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs
# every test (those labelled vm in a virtual machine on this machine's own
# kernel); builds the Windows target and runs its tests under Wine; then
# builds the whole tree once more under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs every test again (the Qt shell offscreen);
# last, runs each fuzz target for 30 s on its committed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
bash scripts/check-clang.sh

bash scripts/test-windows.sh build

# Leaks that Qt and the libraries under it keep on purpose until the process
# ends are listed in tests/lsan.supp.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_WERROR=ON -DQUORVEL_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

# Thirty random seconds a target: what they find is printed and kept in
# build-fuzz/crashes/ for the developer, but a chance finding does not decide
# whether a change lands (run scripts/fuzz.sh itself to fail on one).
bash scripts/fuzz.sh 30 || echo "test.sh: the fuzz targets found faults (above); see build-fuzz/crashes/" >&2

# The Debian package, built and checked as a user would get it.
bash scripts/build-deb.sh
