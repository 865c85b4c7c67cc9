#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs
# every test; then builds the core once more under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs its tests.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_WERROR=ON \
  -DQUORVEL_SANITIZE=ON -DQUORVEL_CORE_ONLY=ON >/dev/null
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan --output-on-failure -j"$jobs"

# The Debian package, built and checked as a user would get it.
bash scripts/build-deb.sh
