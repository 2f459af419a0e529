#!/usr/bin/env bash
# Times sheets A, B and T in our engine (bench/formula_bench) and in the peer engine
# (HyperFormula, bench/peer/peer_bench.js) on this machine and prints how many times faster
# ours is, comparing processor time. Usage: bench/peer/run.sh [path/to/formula_bench]
# Build the benchmark first with -DCMAKE_BUILD_TYPE=Release -DKALDOR_BUILD_BENCH=ON.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
bench=${1:-$root/build/release/bench/formula_bench}
if [ ! -x "$bench" ]; then
  echo "run.sh: no benchmark program at $bench" >&2
  exit 1
fi
if [ ! -d "$here/node_modules/hyperformula" ]; then
  (cd "$here" && npm install --no-audit --no-fund >/dev/null)
fi

ours_json=$(mktemp)
peer_out=$(mktemp)
trap 'rm -f "$ours_json" "$peer_out"' EXIT
"$bench" --benchmark_filter='BM_(A|B|T)_' --benchmark_repetitions="${RUNS:-5}" \
  --benchmark_format=json >"$ours_json" 2>/dev/null
PEER_RUNS="${RUNS:-5}" node "$here/peer_bench.js" >"$peer_out"

node - "$ours_json" "$peer_out" <<'NODE'
const fs = require('fs');
const [ours, peer] = process.argv.slice(2);
const names = { BM_A_ArithmeticBuild: 'A', BM_B_SumBuild: 'B_build', BM_B_SumRecalc: 'B_recalc',
                BM_T_ConcatenateBuild: 'T' };
const toMs = { ns: 1e-6, us: 1e-3, ms: 1, s: 1e3 };
const best = {};
for (const b of JSON.parse(fs.readFileSync(ours, 'utf8')).benchmarks) {
  if (b.run_type !== 'iteration' || b.error_occurred) continue;
  const key = names[b.run_name || b.name];
  if (!key) continue;
  const ms = b.cpu_time * toMs[b.time_unit];
  best[key] = Math.min(best[key] ?? Infinity, ms);
}
const theirs = {};
for (const line of fs.readFileSync(peer, 'utf8').trim().split('\n')) {
  const [key, ms] = line.split(' ');
  theirs[key] = Number(ms);
}
console.log('case        ours (ms)   peer (ms)   speed-up (goal 10x), processor time');
for (const key of ['A', 'B_build', 'B_recalc', 'T']) {
  const o = best[key], p = theirs[key];
  const ratio = o && p ? (p / o).toFixed(1) + 'x' : 'n/a';
  console.log(`${key.padEnd(10)} ${String(o?.toFixed(2)).padStart(10)} ${String(p?.toFixed(2)).padStart(11)}   ${ratio}`);
}
NODE
