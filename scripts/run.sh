#!/usr/bin/env bash
# Sets up, builds and starts the client.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKMC_TESTS=OFF >/dev/null
cmake --build build --target kmc
exec build/bin/kmc "$@"
