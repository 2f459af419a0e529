#!/usr/bin/env bash
# Runs every benchmark program of the default build. Figures are meant to be read as ratios
# within one run; the peer comparison lives in bench/peer/.
set -euo pipefail
cd "$(dirname "$0")/.."
found=0
for program in build/default/bench/*_bench; do
  [ -x "$program" ] || continue
  found=1
  echo "== $(basename "$program")"
  "$program" "$@"
done
if [ "$found" -eq 0 ]; then
  echo "No benchmark programs in build/default/bench (is Google Benchmark installed?)" >&2
  exit 1
fi
