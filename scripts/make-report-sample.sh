#!/usr/bin/env bash
# Regenerates docs/calculation-report-EndPlate.html: the calculation report of the sample end
# plate standard on the sample macro EndPlate-IPE300.json, made from inside the sample library
# so that the page shows no folder of this machine, and dated by SOURCE_DATE_EPOCH so that a
# run without changes gives the same file.
# With --screenshot it also renders the page with Debian's chromium (headless) into
# build/calculation-report-EndPlate.png, to look at what a reader sees; not for CI.
# Needs a built kaldor-ss (KALDOR_SS, else build/default).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${KALDOR_SS:-$root/build/default/apps/kaldor-ss/kaldor-ss}
report=$root/docs/calculation-report-EndPlate.html
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-1764547200} # 2025-12-01 00:00:00 UTC

cd "$root/samples/library"
"$program" --lib . --quiet evaluate EndPlate --macro ../macros/EndPlate-IPE300.json --report "$report" >/dev/null
echo "wrote $report"

if [ "${1:-}" = "--screenshot" ]; then
  shot=$root/build/calculation-report-EndPlate.png
  mkdir -p "$root/build"
  profile=$(mktemp -d)
  trap 'rm -rf "$profile"' EXIT
  chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --user-data-dir="$profile" \
    --window-size=1100,2600 --screenshot="$shot" "file://$report" 2>/dev/null
  echo "wrote $shot"
fi
