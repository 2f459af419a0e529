#!/usr/bin/env bash
# Whole-process comparison: `kaldor-ss sheet values` against HyperFormula (process_peer.js)
# on the same CSV sheets, A-shaped at 10k, 50k, 100k and 1M cells and the B and T sheets.
# Prints the best processor time and the peak resident memory of RUNS runs (default 3) of
# each, side by side. Usage: bench/peer/process.sh [path/to/kaldor-ss] [A-cell-count ...]
# Set KALDOR_PROCESS_SWITCHES to a text of environment assignments (for example
# "KALDOR_EXIT_WITHOUT_FREEING=1") to run our program with them as well, in a second column.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
ours=${1:-$root/build/default/apps/kaldor-ss/kaldor-ss}
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(10000 50000 100000 1000000)
if [ ! -x "$ours" ]; then
  echo "process.sh: no program at $ours" >&2
  exit 1
fi
if [ ! -d "$here/node_modules/hyperformula" ]; then
  (cd "$here" && npm install --no-audit --no-fund >/dev/null)
fi
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
node "$here/sheets.js" "$folder" "${sizes[@]}"

# Best of RUNS: "seconds megabytes" of processor time (user and system, which a busy shared
# machine disturbs less than elapsed time) and peak resident memory.
measure() {
  local best_s="" best_m=""
  for _ in $(seq "${RUNS:-3}"); do
    /usr/bin/time -f '%U %S %M' -o "$folder/time" "$@" >"$folder/out" 2>/dev/null
    read -r u y k <"$folder/time"
    s=$(awk "BEGIN{printf \"%.2f\", $u + $y}")
    if [ -z "$best_s" ] || awk "BEGIN{exit !($s < $best_s)}"; then best_s=$s; fi
    m=$((k / 1024))
    if [ -z "$best_m" ] || [ "$m" -lt "$best_m" ]; then best_m=$m; fi
  done
  echo "$best_s $best_m"
}

switches=${KALDOR_PROCESS_SWITCHES:-}
printf '%-9s %9s | %8s %7s | %8s %7s | %8s %7s | %6s\n' sheet cells ours_s ours_MB \
  switch_s switch_MB peer_s peer_MB ratio
for name in "${sizes[@]/#/A}" B T; do
  file="$folder/$name.csv"
  case $name in
  A*) cells=${name#A} ;;
  *) cells=$((2 * $(wc -l <"$file"))) ;;
  esac
  read -r os om < <(measure "$ours" --quiet sheet values "$file")
  ss=- sm=-
  if [ -n "$switches" ]; then
    read -r ss sm < <(measure env $switches "$ours" --quiet sheet values "$file")
  fi
  read -r ps pm < <(measure node "$here/process_peer.js" "$file")
  ratio=$(awk "BEGIN{printf \"%.3f\", $os / $ps}")
  printf '%-9s %9s | %8s %7s | %8s %7s | %8s %7s | %6s\n' "$name" "$cells" "$os" "$om" "$ss" "$sm" \
    "$ps" "$pm" "$ratio"
done
echo "(ratio: our time without switches over the peer's; the goal is at most 0.1)"
