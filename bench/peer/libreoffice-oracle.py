#!/usr/bin/python3
"""Second oracle for the formula case table: LibreOffice Calc.

HyperFormula (oracle.js) produces the table's expected values; this script asks LibreOffice
Calc for the same cases and reports where Calc, the table and our engine do not all agree.
Calc is given an .xlsx workbook so it applies the rules it keeps for Excel's files.

The cases share one worksheet holding the input cells, one case a row down column H from H10;
a case whose value depends on where it sits (whole columns or rows, ROW(), references below
the inputs) gets a worksheet of its own with the formula in H10, exactly as the grid tests
build it. Calc loads the workbook, recalculating every formula (a private LibreOffice profile
asks for that), and saves it as OpenDocument, whose cells keep Calc's own value types and
error codes; the values are read back from that file.

Development-only Debian packages (not installed by scripts/setup.sh):
    apt-get install libreoffice-calc-nogui python3-openpyxl

Run (from the repository root, after building grid_tests for the engine's values):
    bench/peer/libreoffice-oracle.py                       # report and update calc_values.tsv
    bench/peer/libreoffice-oracle.py --engine build/default/tests/grid_tests
    node bench/peer/oracle.js                              # regenerate the table with the marks

Outputs:
  * a report on stdout: one line per case where Calc, the table or the engine differ;
  * bench/peer/calc_values.tsv: formula TAB Calc's value text TAB type, which oracle.js reads
    to mark every case with the oracles that agree with its expected value.
Known, judged differences live in bench/peer/calc_known.tsv (formula TAB reason): the report
lists them apart, and oracle.js copies the reason into the table's mark.
"""
import argparse
import datetime
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile
from xml.etree import ElementTree

import openpyxl

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, '..', '..'))

# Functions added to Excel after its 2007 file format: an .xlsx file stores them with the
# "_xlfn." prefix, and Calc only recognises them in that form.
XLFN = set('''
ACOT ACOTH AGGREGATE ARABIC BASE BETA.DIST BETA.INV BINOM.DIST BINOM.DIST.RANGE BINOM.INV
BITAND BITLSHIFT BITOR BITRSHIFT BITXOR CEILING.MATH CEILING.PRECISE CHISQ.DIST CHISQ.DIST.RT
CHISQ.INV CHISQ.INV.RT CHISQ.TEST COMBINA CONCAT CONFIDENCE.NORM CONFIDENCE.T COT COTH
COVARIANCE.P COVARIANCE.S CSC CSCH DAYS DECIMAL ERF.PRECISE ERFC.PRECISE EXPON.DIST F.DIST
F.DIST.RT F.INV F.INV.RT F.TEST FLOOR.MATH FLOOR.PRECISE FORECAST.LINEAR FORMULATEXT GAMMA
GAMMA.DIST GAMMA.INV GAMMALN.PRECISE GAUSS HYPGEOM.DIST IFNA IFS ISFORMULA ISOWEEKNUM
LOGNORM.DIST LOGNORM.INV MAXIFS MINIFS MODE.MULT MODE.SNGL NEGBINOM.DIST NETWORKDAYS.INTL
NORM.DIST NORM.INV NORM.S.DIST NORM.S.INV NUMBERVALUE PDURATION PERCENTILE.EXC PERCENTILE.INC
PERCENTRANK.EXC PERCENTRANK.INC PERMUTATIONA PHI POISSON.DIST QUARTILE.EXC QUARTILE.INC
RANK.AVG RANK.EQ RRI SEC SECH SHEET SHEETS SKEW.P STDEV.P STDEV.S SWITCH T.DIST T.DIST.2T
T.DIST.RT T.INV T.INV.2T T.TEST TEXTAFTER TEXTBEFORE TEXTJOIN UNICHAR UNICODE VAR.P VAR.S
WEIBULL.DIST WORKDAY.INTL XLOOKUP XMATCH XOR Z.TEST IMCOSH IMCOT IMCSC IMCSCH IMSEC IMSECH
IMSINH IMTAN ERF.PRECISE CONCAT DAYS
'''.split())

# Makes Calc recalculate every formula of an Excel file when it loads one, instead of
# trusting the (here absent) cached values.
PROFILE = '''<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry"
 xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="OOXMLRecalcMode" oor:op="fuse"><value>0</value></prop></item>
<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="ODFRecalcMode" oor:op="fuse"><value>0</value></prop></item>
</oor:items>
'''


def format_general(v):
    """Numbers as the grid engine and oracle.js write them (15 significant digits)."""
    if not math.isfinite(v):
        return '#NUM!'
    if v == 0:
        return '0'
    m = abs(v)

    def trim(s):
        return s.rstrip('0').rstrip('.') if '.' in s else s

    if m >= 1e15 or m < 1e-9:
        mantissa, exponent = ('%.14e' % v).split('e')
        sign, digits = exponent[0], exponent[1:].lstrip('0').rjust(2, '0')
        return trim(mantissa) + 'E' + sign + digits
    e = math.floor(math.log10(m))
    decimals = max(0, 14 - e)
    s = trim('%.*f' % (min(decimals, 100), v))
    return '0' if s == '-0' else s


# Calc's own error codes and the Excel errors they stand for: Err:502 (invalid argument) is
# what Excel reports as #NUM! or #VALUE!, Err:504 (error in the parameter list) as #VALUE!.
CALC_ERRORS = {'Err:502': ('#NUM!', '#VALUE!'), 'Err:504': ('#VALUE!',)}


def same(a, b):
    """Two (text, type) values agree: numbers within the grid tests' tolerance, and Calc's
    own error codes where the error is the one they stand for."""
    if a[1] == b[1] == 'error' and (a[0] in CALC_ERRORS.get(b[0], ()) or b[0] in CALC_ERRORS.get(a[0], ())):
        return True
    if a[1] != b[1]:
        return False
    if a[1] != 'number' or a[0] == b[0]:
        return a[0] == b[0]
    try:
        x, y = float(a[0]), float(b[0])
    except ValueError:
        return False
    return abs(x - y) <= 1e-12 * max(1.0, abs(x))


def read_cases(path):
    inputs, cases = [], []
    with open(path, encoding='utf-8') as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip('\n').rstrip('\r')
            if not line.strip() or line.startswith('#'):
                continue
            fields = line.split('\t')
            if line.startswith('@'):
                inputs.append((fields[0][1:], fields[1]))
            else:
                cases.append({'line': number, 'formula': fields[0]})
    return inputs, cases


def read_table(path):
    rows = []
    with open(path, encoding='utf-8') as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip('\n')
            if not line or line[0] in '#@':
                continue
            fields = (line.split('\t') + ['', '', '', ''])[:5]
            rows.append({'line': number, 'formula': fields[0], 'value': (fields[1], fields[2]),
                         'comment': fields[3]})
    return rows


def read_known(path):
    known = {}
    if os.path.exists(path):
        with open(path, encoding='utf-8') as f:
            for raw in f:
                line = raw.rstrip('\n')
                if line and not line.startswith('#'):
                    formula, reason = line.split('\t', 1)
                    known[formula] = reason
    return known


def to_ooxml(formula):
    """The formula as an .xlsx file stores it: newer functions carry the _xlfn. prefix."""
    out, i = [], 0
    pattern = re.compile(r'[A-Za-z][A-Za-z0-9.]*(?=\()')
    while i < len(formula):
        c = formula[i]
        if c == '"':
            j = formula.index('"', i + 1)
            while j + 1 < len(formula) and formula[j + 1] == '"':
                j = formula.index('"', j + 2)
            out.append(formula[i:j + 1])
            i = j + 1
            continue
        m = pattern.match(formula, i)
        if m and (i == 0 or not re.match(r'[A-Za-z0-9_.]', formula[i - 1])):
            name = m.group(0)
            out.append(('_xlfn.' if name.upper() in XLFN else '') + name)
            i = m.end()
            continue
        out.append(c)
        i += 1
    return ''.join(out)


# A formula whose value depends on where it sits (whole columns or rows, its own row or
# column, references into rows below the inputs) gets a worksheet of its own with the case in
# H10; every other case shares one worksheet, one case a row down column H from H10, which
# keeps the column the same for implicit intersection and keeps each case below the inputs.
POSITIONAL = re.compile(r'(?<![A-Za-z0-9_.])(ROW|COLUMN|CELL|INDIRECT|OFFSET|FORMULATEXT|ISFORMULA|'
                        r'SHEET|SHEETS|ROWS|COLUMNS)\(|[A-Z]+:\$?[A-Z]+(?![0-9(])|'
                        r'(?<![A-Za-z$])\$?[0-9]+:\$?[0-9]+|(?<![A-Za-z0-9_])\$?[A-Z]{1,3}\$?([1-9][0-9]+)(?![0-9A-Za-z_.(])',
                        re.IGNORECASE)


def positional(formula):
    text = re.sub(r'"[^"]*"', '""', formula)
    for m in POSITIONAL.finditer(text):
        if m.group(2) is None or int(m.group(2)) >= 10:
            return True
    return False


def place(cases):
    """Sheet name and cell of every case."""
    places, own, shared_row = [], 0, 10
    for case in cases:
        if positional(case['formula']):
            own += 1
            places.append(('P%d' % own, 'H10'))
        else:
            places.append(('Shared', 'H%d' % shared_row))
            shared_row += 1
    return places


def build_workbook(inputs, cases, places, path):
    book = openpyxl.Workbook()
    book.remove(book.active)
    for name in dict.fromkeys(sheet for sheet, _ in places):
        sheet = book.create_sheet(name)
        for ref, content in inputs:
            sheet[ref] = to_ooxml(content) if content.startswith('=') else float(content)
    for case, (name, ref) in zip(cases, places):
        book[name][ref] = to_ooxml(case['formula'])
    book.save(path)


def recalculate(source, workdir):
    """Calc loads the workbook, recalculating it, and saves it as OpenDocument, whose cells
    keep Calc's own value types and error codes."""
    profile = os.path.join(workdir, 'profile')
    os.makedirs(os.path.join(profile, 'user'), exist_ok=True)
    with open(os.path.join(profile, 'user', 'registrymodifications.xcu'), 'w') as f:
        f.write(PROFILE)
    outdir = os.path.join(workdir, 'out')
    subprocess.run(['soffice', '-env:UserInstallation=file://' + profile, '--headless',
                    '--convert-to', 'ods', '--outdir', outdir, source],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return os.path.join(outdir, os.path.splitext(os.path.basename(source))[0] + '.ods')


NS = {
    'table': 'urn:oasis:names:tc:opendocument:xmlns:table:1.0',
    'office': 'urn:oasis:names:tc:opendocument:xmlns:office:1.0',
    'text': 'urn:oasis:names:tc:opendocument:xmlns:text:1.0',
    'calcext': 'urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0',
}


def attr(element, ns, name):
    return element.get('{%s}%s' % (NS[ns], name))


def serial(date_text):
    """A Calc date value (ISO form, any year) as a serial number counted from 30 December 1899."""
    m = re.fullmatch(r'(-?\d+)-(\d+)-(\d+)(?:T(\d+):(\d+):([\d.]+))?', date_text)
    y, mo, d = int(m.group(1)), int(m.group(2)), int(m.group(3))
    # Days from the civil date (proleptic Gregorian calendar), as in H. Hinnant's algorithm.
    y -= mo <= 2
    era = (y if y >= 0 else y - 399) // 400
    yoe = y - era * 400
    doy = (153 * (mo + (-3 if mo > 2 else 9)) + 2) // 5 + d - 1
    days = era * 146097 + yoe * 365 + yoe // 4 - yoe // 100 + doy - 693899
    seconds = int(m.group(4)) * 3600 + int(m.group(5)) * 60 + float(m.group(6)) if m.group(4) else 0
    return days + seconds / 86400.0


def duration(text):
    m = re.fullmatch(r'(-)?PT(\d+)H(\d+)M([\d.]+)S', text)
    days = (int(m.group(2)) * 3600 + int(m.group(3)) * 60 + float(m.group(4))) / 86400.0
    return -days if m.group(1) else days


def describe(cell):
    if cell is None:
        return ('', 'empty')
    kind = attr(cell, 'calcext', 'value-type')
    office = attr(cell, 'office', 'value-type')
    text = '\n'.join(''.join(p.itertext()) for p in cell.findall('text:p', NS))
    if kind == 'error':
        return (text, 'error')
    if office is None:
        # Calc writes a formula's empty text without a value type.
        return ('', 'text') if attr(cell, 'table', 'formula') else ('', 'empty')
    if office == 'boolean':
        return ('TRUE' if attr(cell, 'office', 'boolean-value') == 'true' else 'FALSE', 'logical')
    if office == 'string':
        value = attr(cell, 'office', 'string-value')
        return (text if value is None else value, 'text')
    if office == 'date':
        return (format_general(serial(attr(cell, 'office', 'date-value'))), 'number')
    if office == 'time':
        return (format_general(duration(attr(cell, 'office', 'time-value'))), 'number')
    return (format_general(float(attr(cell, 'office', 'value'))), 'number')


def cell_at(table, ref):
    """The table:table-cell element at a cell such as H12, following repeated rows and cells."""
    m = re.fullmatch(r'([A-Z]+)([0-9]+)', ref)
    col = 0
    for ch in m.group(1):
        col = col * 26 + ord(ch) - 64
    row = int(m.group(2))
    r = 0
    for row_el in table.iter('{%s}table-row' % NS['table']):
        r += int(attr(row_el, 'table', 'number-rows-repeated') or 1)
        if r < row:
            continue
        c = 0
        for cell in row_el:
            c += int(attr(cell, 'table', 'number-columns-repeated') or 1)
            if c >= col:
                return cell
        return None
    return None


def read_values(path, places):
    with zipfile.ZipFile(path) as archive:
        root = ElementTree.fromstring(archive.read('content.xml'))
    tables = {attr(t, 'table', 'name'): t for t in root.iter('{%s}table' % NS['table'])}
    values = []
    for name, ref in places:
        values.append(describe(cell_at(tables[name], ref)))
    return values


def engine_values(binary, workdir):
    out = os.path.join(workdir, 'engine.tsv')
    env = dict(os.environ, KALDOR_FORMULA_CASE_VALUES=out)
    subprocess.run([binary, '--gtest_filter=FormulaCases.*'], env=env, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    values = {}
    with open(out, encoding='utf-8') as f:
        for raw in f:
            fields = raw.rstrip('\n').split('\t')
            if len(fields) >= 4:
                values[int(fields[0])] = (fields[2], fields[3])
    return values


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--cases', default=os.path.join(HERE, 'cases.txt'))
    parser.add_argument('--table', default=os.path.join(ROOT, 'tests', 'data', 'grid', 'formula_cases.tsv'))
    parser.add_argument('--values', default=os.path.join(HERE, 'calc_values.tsv'),
                        help="where Calc's values are written for oracle.js")
    parser.add_argument('--known', default=os.path.join(HERE, 'calc_known.tsv'))
    parser.add_argument('--engine', help='grid_tests program whose FormulaCases test gives our values')
    parser.add_argument('--keep', help='keep the workbooks in this folder')
    args = parser.parse_args()

    inputs, cases = read_cases(args.cases)
    table = read_table(args.table)
    if [c['formula'] for c in cases] != [t['formula'] for t in table]:
        sys.exit('libreoffice-oracle: the table is not generated from these cases; run oracle.js first')
    known = read_known(args.known)

    workdir = args.keep or tempfile.mkdtemp(prefix='calc-oracle-')
    os.makedirs(workdir, exist_ok=True)
    try:
        source = os.path.join(workdir, 'cases.xlsx')
        places = place(cases)
        build_workbook(inputs, cases, places, source)
        calc = read_values(recalculate(source, workdir), places)
        engine = engine_values(args.engine, workdir) if args.engine else {}
    finally:
        if not args.keep:
            shutil.rmtree(workdir, ignore_errors=True)

    with open(args.values + '.tmp', 'w', encoding='utf-8') as f:
        f.write('# Values LibreOffice Calc gives for the cases of cases.txt (an .xlsx workbook,\n')
        f.write('# every formula in H10). Written by libreoffice-oracle.py; read by oracle.js.\n')
        seen = set()
        for case, value in zip(cases, calc):
            if case['formula'] not in seen:
                seen.add(case['formula'])
                f.write('%s\t%s\t%s\n' % (case['formula'], value[0], value[1]))
    os.replace(args.values + '.tmp', args.values)

    differ = judged = 0
    for case, row, value in zip(cases, table, calc):
        ours = engine.get(row['line'])
        calc_ok = same(row['value'], value)
        ours_ok = ours is None or same(row['value'], ours)
        if calc_ok and ours_ok:
            continue
        line = 'cases.txt:%d  %s\n    table %s %s | calc %s %s' % (
            case['line'], case['formula'], row['value'][1], row['value'][0], value[1], value[0])
        if ours is not None:
            line += ' | engine %s %s' % (ours[1], ours[0])
        if row['comment']:
            line += '\n    table: ' + row['comment']
        if not ours_ok or case['formula'] not in known:
            differ += 1
            print(line)
        else:
            judged += 1
    print('%d cases: %d agree with Calc, %d differ as judged in %s, %d to look at' % (
        len(cases), len(cases) - differ - judged, judged, os.path.basename(args.known), differ))
    return 1 if differ else 0


if __name__ == '__main__':
    sys.exit(main())
