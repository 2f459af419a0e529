#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz", clang) and fuzzes each for a while.
#
#   fuzz/scripts/run_fuzzers.sh [SECONDS per target] [JOBS at a time] [TARGET...]
#
# Each target starts from its committed corpus (fuzz/corpus/<name>) and keeps what it
# learns in build/fuzz/work/<name>; crashes, hangs and memory blow-ups are written to
# build/fuzz/artifacts/<name>/. The script ends with a table of the runs and fails when
# any target found something. Without clang and libFuzzer it installs them as root
# (Debian: clang, libclang-rt-dev) or, as another user, says so and stops without failing.
# KALDOR_FUZZ_NO_BUILD=1 runs the programs already built.
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds=${1:-60}
jobs=${2:-2}
shift $(( $# > 2 ? 2 : $# ))
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(sheet_file csv formula mapping_line mapping_file sizes_file table_file
           property_list host_table section_tables texts macro_json)
fi

have_libfuzzer() {
  command -v clang++ >/dev/null 2>&1 &&
    echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
      clang++ -x c++ -fsanitize=fuzzer - -o /dev/null >/dev/null 2>&1
}

if ! have_libfuzzer; then
  if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null 2>&1; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    rt=$(apt-cache search --names-only '^libclang-rt-[0-9]+-dev$' | sort -V | tail -1 | cut -d' ' -f1)
    apt-get install -y -qq clang ${rt:+"$rt"} >/dev/null
  fi
  if ! have_libfuzzer; then
    echo "fuzz: clang with libFuzzer is not available; the fuzz run is skipped" >&2
    exit 0
  fi
fi

if [ -z "${KALDOR_FUZZ_NO_BUILD:-}" ]; then
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz --target fuzz_all
fi

work=build/fuzz/work
artifacts=build/fuzz/artifacts
summary=$(mktemp)
trap 'rm -f "$summary"' EXIT

fuzz_one() {
  local name=$1
  mkdir -p "$work/$name" "$artifacts/$name"
  local log="$artifacts/$name/fuzz.log"
  local status=0
  local dict=()
  if [ -f "fuzz/dict/$name.dict" ]; then
    dict=(-dict="fuzz/dict/$name.dict")
  fi
  "build/fuzz/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=65536 -print_final_stats=1 -artifact_prefix="$artifacts/$name/" "${dict[@]}" \
    "$work/$name" "fuzz/corpus/$name" >"$log" 2>&1 || status=$?
  local runs execs
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  execs=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  local verdict=ok
  if [ "$status" -ne 0 ]; then
    verdict="FOUND (exit $status, see $log)"
  fi
  printf '%-16s %6ss %12s runs %8s exec/s  %s\n' "$name" "$seconds" "${runs:-?}" "${execs:-?}" "$verdict" \
    >>"$summary"
}

running=0
for name in "${targets[@]}"; do
  fuzz_one "$name" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

sort "$summary"
! grep -q FOUND "$summary"
