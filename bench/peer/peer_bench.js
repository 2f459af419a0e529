#!/usr/bin/env node
// Times the peer engine (HyperFormula) on the sheets of bench/formula_bench.cpp:
//   A  10,000 rows x 5 columns of chained arithmetic, build and evaluate
//   B  5,000 rows of =SUM($A$1:An), build and evaluate, then recalculate after A1 changes
//   T  10,000 CONCATENATE cells, build and evaluate
// Prints one line per case: "name milliseconds" of processor time (the best of several
// runs), which a busy machine disturbs less than wall-clock time.
'use strict';
const { HyperFormula } = require('hyperformula');

const config = { licenseKey: 'gpl-v3', smartRounding: false };

// The same sheets as the C++ benchmark builds (see sheets in bench/formula_bench.cpp).
function arithmeticSheet(rows) {
  const data = [];
  for (let r = 1; r <= rows; ++r) {
    if (r === 1) data.push([1, '=A1*2', '=B1+A1', '=C1/2+B1', '=D1-A1*3']);
    else
      data.push([
        `=A${r - 1}+1`,
        `=A${r}*2+B${r - 1}/1000`,
        `=B${r}+C${r - 1}-A${r}`,
        `=C${r}/2+B${r}`,
        `=D${r}-A${r}*3+E${r - 1}/1000`,
      ]);
  }
  return data;
}

function sumSheet(rows) {
  const data = [];
  for (let r = 1; r <= rows; ++r) data.push([r, `=SUM($A$1:A${r})`]);
  return data;
}

function concatenateSheet(rows) {
  const data = [];
  for (let r = 1; r <= rows; ++r) data.push([r, `=CONCATENATE("row ",A${r},"-",A${r}*2)`]);
  return data;
}

function best(runs, body) {
  let fastest = Infinity;
  for (let i = 0; i < runs; ++i) {
    const start = process.cpuUsage();
    body();
    const used = process.cpuUsage(start);
    const ms = (used.user + used.system) / 1e3;
    fastest = Math.min(fastest, ms);
  }
  return fastest;
}

const runs = Number(process.env.PEER_RUNS || 5);
const results = {};
{
  const data = arithmeticSheet(10000);
  results.A = best(runs, () => HyperFormula.buildFromArray(data, config).destroy());
}
{
  const data = sumSheet(5000);
  results.B_build = best(runs, () => HyperFormula.buildFromArray(data, config).destroy());
  let value = 1;
  const hf = HyperFormula.buildFromArray(data, config);
  results.B_recalc = best(runs, () => {
    hf.setCellContents({ sheet: 0, col: 0, row: 0 }, [[++value]]);
  });
  const check = hf.getCellValue({ sheet: 0, col: 1, row: 4999 });
  if (check !== 12502500 + value - 1) throw new Error('B: unexpected sum ' + check);
  hf.destroy();
}
{
  const data = concatenateSheet(10000);
  results.T = best(runs, () => HyperFormula.buildFromArray(data, config).destroy());
}
for (const [name, ms] of Object.entries(results)) console.log(`${name} ${ms.toFixed(3)}`);
