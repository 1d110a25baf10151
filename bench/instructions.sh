#!/usr/bin/env bash
# Instructions the received-text road spends per received byte: bench_pipeline without
# painting on a 2 MB flood, counted by callgrind in the function that feeds the flood
# (telnet parser, incoming-text pipeline, history and console model; the one-time
# loading of a font face the flood first asks for included). Unlike MB/s this does not
# depend on the machine or its load, so it is the number to compare between changes.
#
# Usage: bench/instructions.sh [BUILD_DIR]   (default: build beside this folder; a
# Release or RelWithDebInfo build with the benchmarks)
set -euo pipefail
build=${1:-"$(dirname "$0")/../build"}
bench="$build/bin/bench_pipeline"
if [ ! -x "$bench" ]; then
  echo "$bench is missing: build it first (cmake --build $build --target bench_pipeline)" >&2
  exit 1
fi
if ! command -v valgrind >/dev/null; then
  echo "valgrind is needed (apt-get install valgrind)" >&2
  exit 1
fi
out=$(mktemp)
trap 'rm -f "$out"' EXIT
valgrind --tool=callgrind --callgrind-out-file="$out" --collect-atstart=no \
  --toggle-collect='*FeedFlood*' "$bench" 2 model >/dev/null 2>&1
total=$(sed -n 's/^totals: *\([0-9]*\).*/\1/p' "$out")
if [ -z "$total" ] || [ "$total" -eq 0 ]; then
  echo "callgrind counted nothing in FeedFlood" >&2
  exit 1
fi
bytes=$((2 << 20))
echo "$total instructions for $bytes received bytes"
awk -v t="$total" -v b="$bytes" 'BEGIN { printf "%.1f instructions per received byte\n", t / b }'
