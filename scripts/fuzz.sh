#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each for the given number of seconds
# (default 30) on its committed seed corpus fuzz/corpus/<name>/. New inputs
# the fuzzer finds go to build-fuzz/corpus/<name>/, inputs that break a
# target to build-fuzz/crashes/; the committed corpus is not changed.
#
#   bash scripts/fuzz.sh          # 30 s each
#   bash scripts/fuzz.sh 3600     # an hour each
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
bash scripts/install-deps.sh

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DQUORVEL_FUZZ=ON >/dev/null
targets=()
for source in fuzz/*_fuzz.cpp; do
  targets+=("$(basename "$source" .cpp)")
done
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}"

mkdir -p build-fuzz/crashes
failed=()
for target in "${targets[@]}"; do
  name=${target%_fuzz}
  mkdir -p "build-fuzz/corpus/$name" "fuzz/corpus/$name"
  log=build-fuzz/$name.log
  echo "fuzzing $name for ${seconds} s" >&2
  if build-fuzz/fuzz/"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="build-fuzz/crashes/$name-" \
      "build-fuzz/corpus/$name" "fuzz/corpus/$name" >"$log" 2>&1; then
    grep -E "^stat::number_of_executed_units|^Done" "$log" >&2 || true
  else
    tail -n 40 "$log" >&2
    failed+=("$name")
  fi
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzzing found faults in: ${failed[*]} (inputs in build-fuzz/crashes/)" >&2
  exit 1
fi
