#!/usr/bin/env node
// Writes the sheets of the whole-process comparison as CSV files (a field beginning with "="
// is a formula), so that both engines read the same bytes:
//   A<cells>  rows of five cells of chained arithmetic, as in bench/formula_bench.cpp
//   B         5,000 rows of =SUM($A$1:An)
//   T         10,000 CONCATENATE cells
// Usage: sheets.js FOLDER [A-cell-count ...]
'use strict';
const fs = require('fs');
const path = require('path');

function writeCsv(file, rows) {
  const quote = (f) => (/[",\n]/.test(f) ? '"' + f.replace(/"/g, '""') + '"' : f);
  const lines = rows.map((row) => row.map((f) => quote(String(f))).join(','));
  fs.writeFileSync(file, lines.join('\n') + '\n');
}

function arithmetic(rows) {
  const out = [[1, '=A1*2', '=B1+A1', '=C1/2+B1', '=D1-A1*3']];
  for (let r = 2; r <= rows; ++r) {
    const p = r - 1;
    out.push([`=A${p}+1`, `=A${r}*2+B${p}/1000`, `=B${r}+C${p}-A${r}`, `=C${r}/2+B${r}`,
              `=D${r}-A${r}*3+E${p}/1000`]);
  }
  return out;
}

const folder = process.argv[2];
const sizes = process.argv.slice(3).map(Number);
fs.mkdirSync(folder, { recursive: true });
for (const cells of sizes) writeCsv(path.join(folder, `A${cells}.csv`), arithmetic(cells / 5));
{
  const rows = [];
  for (let r = 1; r <= 5000; ++r) rows.push([r, `=SUM($A$1:A${r})`]);
  writeCsv(path.join(folder, 'B.csv'), rows);
}
{
  const rows = [];
  for (let r = 1; r <= 10000; ++r) rows.push([r, `=CONCATENATE("row ",A${r},"-",A${r}*2)`]);
  writeCsv(path.join(folder, 'T.csv'), rows);
}
