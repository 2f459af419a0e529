#!/usr/bin/env node
// Produces the expected values of the formula case table with HyperFormula, a peer
// spreadsheet engine. Input: a case list (default cases.txt beside this script); output:
// the table the grid tests read (default tests/data/grid/formula_cases.tsv).
//
// Case list lines:
//   @A1<TAB>content             an input cell: a number, or a formula such as ="12"
//   =FORMULA                    a case; its expected value comes from the peer
//   =FORMULA<TAB>value<TAB>type<TAB>why
//                               a case whose expected value is given: where the peer
//                               differs from the spreadsheets engineers use, the
//                               spreadsheet's value wins and the reason is kept
//   # comment, blank lines      ignored
//
// Output lines: formula TAB expected value text TAB type (number, text, logical, error,
// empty) TAB comment TAB oracles; input lines are copied so the test builds the same sheet.
// The oracles column says which peers give the expected value: "both" (HyperFormula and
// LibreOffice Calc), "peer" (HyperFormula only), "calc" (Calc only) or "excel" (neither:
// Excel's documented value, the comment says why); after "peer" and "excel" comes Calc's value
// and, from calc_known.tsv, why Excel differs from Calc. Calc's values come from calc_values.tsv beside this script, written
// by libreoffice-oracle.py; without a value for a formula the column says "peer" or "excel".
'use strict';
const fs = require('fs');
const path = require('path');
const { HyperFormula } = require('hyperformula');

const here = __dirname;
const input = process.argv[2] || path.join(here, 'cases.txt');
const output = process.argv[3] || path.join(here, '..', '..', 'tests', 'data', 'grid', 'formula_cases.tsv');

// The cell every case formula is placed in (column H, row 10).
const CASE_COL = 7;
const CASE_ROW = 9;

// Numbers as the grid engine writes them: 15 significant digits, no trailing zeros,
// exponent form from 1e15 and below 1e-9.
function formatGeneral(v) {
  if (!isFinite(v)) return '#NUM!';
  if (v === 0) return '0';
  const m = Math.abs(v);
  const trim = (s) => (s.includes('.') ? s.replace(/0+$/, '').replace(/\.$/, '') : s);
  if (m >= 1e15 || m < 1e-9) {
    const [mantissa, exponent] = v.toExponential(14).split('e');
    let digits = exponent.slice(1);
    while (digits.length < 2) digits = '0' + digits;
    return trim(mantissa) + 'E' + exponent[0] + digits;
  }
  const e = Math.floor(Math.log10(m));
  const decimals = Math.max(0, 14 - e);
  const s = trim(v.toFixed(Math.min(decimals, 100)));
  return s === '-0' ? '0' : s;
}

// Our formulas write TRUE and FALSE as constants; the peer has them as functions.
function toPeerFormula(formula) {
  let out = '';
  let inString = false;
  for (let i = 0; i < formula.length; ++i) {
    const c = formula[i];
    if (c === '"') {
      inString = !inString;
      out += c;
      continue;
    }
    if (!inString) {
      const rest = formula.slice(i);
      const m = /^(TRUE|FALSE)\b(?!\s*\()/i.exec(rest);
      const before = i > 0 ? formula[i - 1] : '';
      if (m && !/[A-Za-z0-9_.]/.test(before)) {
        out += m[1] + '()';
        i += m[1].length - 1;
        continue;
      }
    }
    out += c;
  }
  return out;
}

function address(ref) {
  const m = /^([A-Z]+)([0-9]+)$/.exec(ref);
  if (!m) throw new Error('bad cell ' + ref);
  let col = 0;
  for (const ch of m[1]) col = col * 26 + (ch.charCodeAt(0) - 64);
  return { sheet: 0, col: col - 1, row: Number(m[2]) - 1 };
}

function describe(value) {
  if (value === null || value === undefined) return ['', 'empty'];
  if (typeof value === 'number') return [formatGeneral(value), 'number'];
  if (typeof value === 'boolean') return [value ? 'TRUE' : 'FALSE', 'logical'];
  if (typeof value === 'string') return [value, 'text'];
  if (value && value.value) return [value.value === '#CYCLE!' ? '#CIRC!' : value.value, 'error'];
  return [String(value), 'text'];
}

// Tab-separated files of the second oracle: formula TAB fields...
function readTsv(file) {
  const map = new Map();
  if (!fs.existsSync(file)) return map;
  for (const raw of fs.readFileSync(file, 'utf8').split('\n')) {
    if (!raw || raw.startsWith('#')) continue;
    const fields = raw.split('\t');
    map.set(fields[0], fields.slice(1));
  }
  return map;
}
const calcValues = readTsv(path.join(here, 'calc_values.tsv'));
const calcKnown = readTsv(path.join(here, 'calc_known.tsv'));

// Calc's own error codes and the Excel errors they stand for (see libreoffice-oracle.py).
const calcErrors = { 'Err:502': ['#NUM!', '#VALUE!'], 'Err:504': ['#VALUE!'] };
function agrees([text, type], [wantText, wantType]) {
  if (type === 'error' && wantType === 'error' && (calcErrors[text] || []).includes(wantText)) return true;
  if (type !== wantType) return false;
  if (type !== 'number' || text === wantText) return text === wantText;
  const a = Number(text);
  const b = Number(wantText);
  return Math.abs(a - b) <= 1e-12 * Math.max(1, Math.abs(b));
}

function oracles(formula, peer, expected) {
  const calc = calcValues.get(formula);
  const peerAgrees = agrees(peer, expected);
  const calcAgrees = calc !== undefined && agrees(calc, expected);
  if (peerAgrees && calcAgrees) return 'both';
  if (calcAgrees) return 'calc';
  const mark = peerAgrees ? 'peer' : 'excel';
  if (calc === undefined) return mark;
  const known = calcKnown.get(formula);
  return mark + '; Calc gives ' + (calc[0] || '""') + (known ? ': ' + known[0] : '');
}

const lines = fs.readFileSync(input, 'utf8').split('\n');
const inputs = [];
const cases = [];
for (const raw of lines) {
  const line = raw.replace(/\r$/, '');
  if (!line.trim() || line.startsWith('#')) continue;
  const fields = line.split('\t');
  if (line.startsWith('@')) inputs.push({ ref: fields[0].slice(1), content: fields[1] });
  else cases.push({ formula: fields[0], value: fields[1], type: fields[2], why: fields[3] || '' });
}

// Builds the peer with the shared input cells. Array arithmetic is on only for the cases
// that use arrays (SUMPRODUCT's arguments, array constants): elsewhere a range in an
// operator is read as the one cell in the formula's row or column, as spreadsheets do.
function buildPeer(arrays) {
  const hf = HyperFormula.buildEmpty({
    licenseKey: 'gpl-v3',
    smartRounding: false,
    useArrayArithmetic: arrays,
    // The 1900 date system with its leap-year quirk, counted from 31 December 1899.
    leapYear1900: true,
    nullDate: { year: 1899, month: 12, day: 31 },
    dateFormats: ['YYYY-MM-DD', 'YYYY/MM/DD'],
    timeFormats: ['hh:mm', 'hh:mm:ss.sss'],
  });
  const sheet = hf.getSheetId(hf.addSheet('Sheet1'));
  for (const cell of inputs) {
    const at = address(cell.ref);
    const content = cell.content.startsWith('=') ? toPeerFormula(cell.content) : Number(cell.content);
    hf.setCellContents({ ...at, sheet }, [[content]]);
  }
  return { hf, sheet };
}
const plainPeer = buildPeer(false);
const arrayPeer = buildPeer(true);
const usesArrays = (formula) => /SUMPRODUCT|\{/i.test(formula.replace(/"[^"]*"/g, ''));

const out = [];
out.push('# Formula cases with their expected values. Generated by bench/peer/oracle.js from');
out.push('# bench/peer/cases.txt; values from a peer engine unless a comment says why a');
out.push('# spreadsheet gives another value. Every formula sits in cell H10. The peer writes');
out.push('# TRUE and FALSE as functions; the generator translates them for it. The last column');
out.push('# names the oracles that give the expected value: both (HyperFormula and LibreOffice');
out.push('# Calc), peer (HyperFormula; why Excel differs from Calc follows), calc, or excel');
out.push("# (neither: Excel's documented value, the comment says why).");
out.push('# formula\texpected value text\ttype\tcomment\toracles');
for (const cell of inputs) out.push('@' + cell.ref + '\t' + cell.content);
let differences = 0;
for (const c of cases) {
  const { hf, sheet } = usesArrays(c.formula) ? arrayPeer : plainPeer;
  const target = { sheet, col: CASE_COL, row: CASE_ROW };
  hf.setCellContents(target, [[toPeerFormula(c.formula)]]);
  const [text, type] = describe(hf.getCellValue(target));
  if (c.value !== undefined) {
    if (c.value !== text || c.type !== type) ++differences;
    else console.error('note: override agrees with the peer: ' + c.formula);
    out.push([c.formula, c.value, c.type, c.why, oracles(c.formula, [text, type], [c.value, c.type])].join('\t'));
  } else {
    out.push([c.formula, text, type, '', oracles(c.formula, [text, type], [text, type])].join('\t'));
  }
  hf.setCellContents(target, [[null]]);
}
fs.writeFileSync(output + '.tmp', out.join('\n') + '\n');
fs.renameSync(output + '.tmp', output);
console.log(`${cases.length} cases, ${inputs.length} inputs, ${differences} where the spreadsheet differs from the peer -> ${output}`);
