#!/usr/bin/env bash
# Builds the whole tree (tests included) once more with clang++ into
# build-clang/, lifetime warnings on and every warning an error, then runs
# clang-tidy with the checks of .clang-tidy over every source file of the
# project in that build's compile_commands.json. Both catch what GCC lets
# through: a string_view or span left pointing into a temporary, a use after
# std::move. The build is only for its diagnostics: its tests are not run
# (scripts/test.sh runs them in GCC's build). Fails on any warning or finding.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)

# -Wdangling brings -Wdangling-gsl (a string_view or iterator into a temporary
# string or container), -Wdangling-field, -Wdangling-initializer-list and
# -Wreturn-stack-address; named one by one as well, so that none is lost if
# the group changes. -Wconditional-uninitialized: a read that some path
# reaches before the write. -Wmove: self-moves and moves that cost a copy.
# -Wrange-loop-analysis: a loop reference bound to a temporary copy.
lifetime=(-Wdangling -Wdangling-gsl -Wdangling-field -Wdangling-initializer-list -Wreturn-stack-address
          -Wconditional-uninitialized -Wmove -Wrange-loop-analysis)

# No build type: neither optimised nor with debug information, the quickest
# build, and the warnings are the same.
start=$SECONDS
cmake -S . -B build-clang -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_COMPILER=clang++ -DQUORVEL_WERROR=ON \
  -DCMAKE_CXX_FLAGS="${lifetime[*]}" >/dev/null
cmake --build build-clang -j"$jobs"
built=$((SECONDS - start))

# The project's own files only: not what moc and rcc generated in build-clang/.
start=$SECONDS
ours="^$PWD/(bench|programs|src|tests|tools)/"
log=build-clang/clang-tidy.log
status=0
run-clang-tidy -clang-tidy-binary clang-tidy -quiet -j"$jobs" -p build-clang -header-filter="$ours" "$ours" \
  >"$log" 2>&1 || status=$?
tidied=$((SECONDS - start))
files=$(grep -c '^clang-tidy ' "$log" || true)
echo "check-clang.sh: clang++ build ${built} s; clang-tidy on $files files ${tidied} s" >&2
if [ "$status" -ne 0 ]; then
  # Without the colours and the command line run-clang-tidy prints for each file.
  sed -e 's/\x1b\[[0-9;]*m//g' -e '/^clang-tidy /d' -e '/^[0-9]* warnings\? generated\.$/d' "$log" >&2
  echo "check-clang.sh: clang-tidy found faults (above; all of it in $log)" >&2
  exit 1
fi
