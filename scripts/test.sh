#!/usr/bin/env bash
# Sets up, builds and runs every test: once with AddressSanitizer and
# UndefinedBehaviorSanitizer, then the normal build, ending with CTest's summary.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh || exit 1
jobs=$(nproc)

build_and_test() { # dir, extra cmake options...
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DKMC_WERROR=ON "$@" >/dev/null || return 1
  cmake --build "$dir" -j "$jobs" || return 1
  ctest --test-dir "$dir" -j "$jobs" --output-on-failure
}

echo "=== Tests with AddressSanitizer and UndefinedBehaviorSanitizer ==="
build_and_test build-asan -DCMAKE_BUILD_TYPE=Debug -DKMC_SANITIZE=ON
asan=$?
echo "=== Tests ==="
build_and_test build -DCMAKE_BUILD_TYPE=RelWithDebInfo
plain=$?
if [ $asan -ne 0 ]; then
  echo "The sanitizer run failed (see above)."
  exit $asan
fi
exit $plain
