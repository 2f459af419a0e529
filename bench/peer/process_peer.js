#!/usr/bin/env node
// The peer's side of the whole-process comparison: reads a CSV sheet (a field beginning with
// "=" is a formula, a number field a number), calculates it with HyperFormula and prints
// every non-empty value as "A1<TAB>value", the work `kaldor-ss sheet values` does.
// HyperFormula refuses sheets of more than 40,000 rows unless told otherwise; the limit is
// raised to the row count of the sheet.
'use strict';
const fs = require('fs');
const { HyperFormula } = require('hyperformula');

function parseCsv(text) {
  const rows = [];
  let row = [], field = '', quoted = false, i = 0;
  const endField = () => {
    if (!quoted && field !== '' && field[0] !== '=' && !isNaN(Number(field))) row.push(Number(field));
    else row.push(field);
    field = '';
    quoted = false;
  };
  while (i < text.length) {
    const c = text[i++];
    if (c === '"' && field === '' && !quoted) {
      quoted = true;
      let j = i;
      while (j < text.length) {
        if (text[j] === '"') {
          if (text[j + 1] === '"') { field += '"'; j += 2; continue; }
          break;
        }
        field += text[j++];
      }
      i = j + 1;
    } else if (c === ',') endField();
    else if (c === '\n') { endField(); rows.push(row); row = []; }
    else if (c !== '\r') field += c;
  }
  if (field !== '' || row.length) { endField(); rows.push(row); }
  return rows;
}

function columnName(col) {
  let name = '';
  for (let c = col + 1; c > 0; c = Math.floor((c - 1) / 26)) name = String.fromCharCode(65 + ((c - 1) % 26)) + name;
  return name;
}

const data = parseCsv(fs.readFileSync(process.argv[2], 'latin1'));
const hf = HyperFormula.buildFromArray(data, {
  licenseKey: 'gpl-v3',
  smartRounding: false,
  maxRows: Math.max(40000, data.length),
});
const values = hf.getSheetValues(0);
const out = [];
for (let r = 0; r < values.length; ++r)
  for (let c = 0; c < values[r].length; ++c) {
    const v = values[r][c];
    if (v === null || v === '') continue;
    out.push(`${columnName(c)}${r + 1}\t${typeof v === 'object' ? v.value : v}`);
  }
fs.writeSync(1, out.join('\n') + '\n');
