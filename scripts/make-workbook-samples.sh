#!/usr/bin/env bash
# Regenerates the workbook files that the tests and the sample library hold, so that the
# tests need no spreadsheet program:
#   tests/data/formats/calc-libreoffice.{xlsx,ods}    calc.csv as LibreOffice saves it
#   tests/data/formats/styled-libreoffice.{xlsx,ods}  styled.zxs written by kaldor-ss, saved again by LibreOffice
#   samples/library/Connection Standards/EndPlateXlsx.xlsx   the end plate standard as a workbook
#   tests/data/formats/EndPlate-libreoffice.{xlsx,ods}       that workbook saved again by LibreOffice
# Needs a built kaldor-ss (KALDOR_SS, else build/default) and soffice (Debian:
# libreoffice-calc-nogui).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${KALDOR_SS:-$root/build/default/apps/kaldor-ss/kaldor-ss}
data=$root/tests/data/formats
standards="$root/samples/library/Connection Standards"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# LibreOffice keeps its profile in the scratch folder, so a run leaves nothing behind.
office() {
  soffice -env:UserInstallation=file://"$work"/profile --headless --nologo --norestore "$@" >/dev/null
}

# Comma-separated, quoted with '"', UTF-8, from line 1, formulas evaluated.
csv="CSV:44,34,76,1,,0,false,true,false,false,false,-1,true"
office --infilter="$csv" --convert-to xlsx --outdir "$work/calc" "$data/calc.csv"
office --infilter="$csv" --convert-to ods --outdir "$work/calc" "$data/calc.csv"
cp "$work/calc/calc.xlsx" "$data/calc-libreoffice.xlsx"
cp "$work/calc/calc.ods" "$data/calc-libreoffice.ods"

# Workbooks written by kaldor-ss, saved again by LibreOffice (one start of it per format).
"$program" sheet convert "$data/styled.zxs" "$work/styled.xlsx"
"$program" sheet convert "$standards/EndPlate.zxs" "$standards/EndPlateXlsx.xlsx"
cp "$standards/EndPlateXlsx.xlsx" "$work/EndPlate.xlsx"
office --convert-to xlsx --outdir "$work/again" "$work/styled.xlsx" "$work/EndPlate.xlsx"
office --convert-to ods --outdir "$work/again" "$work/styled.xlsx" "$work/EndPlate.xlsx"
cp "$work/again/styled.xlsx" "$data/styled-libreoffice.xlsx"
cp "$work/again/styled.ods" "$data/styled-libreoffice.ods"
cp "$work/again/EndPlate.xlsx" "$data/EndPlate-libreoffice.xlsx"
cp "$work/again/EndPlate.ods" "$data/EndPlate-libreoffice.ods"
echo "Workbook samples written."
