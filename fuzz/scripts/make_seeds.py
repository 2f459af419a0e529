#!/usr/bin/env python3
"""Writes the seed inputs of every fuzz target into corpus/<target>/seed-*, from the test
data of the repository and a few hand-made inputs, and the fuzzer dictionaries dict/*.dict
(function names and file keywords read from the sources). Inputs the fuzzers found later
(named by what they caught) live beside the seeds and are kept; run again after the test
data or the function library changes."""

import hashlib
import pathlib
import re

ROOT = pathlib.Path(__file__).resolve().parents[2]
CORPUS = ROOT / "fuzz" / "corpus"
DATA = ROOT / "tests" / "data"


def put(target, data):
    if isinstance(data, str):
        data = data.encode("latin-1")
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    name = "seed-" + hashlib.sha1(data).hexdigest()[:16]
    (folder / name).write_bytes(data)


def sheet_seeds():
    every = (DATA / "grid" / "every-state.zxs").read_bytes()
    put("sheet_file", every)
    lines = every.split(b"\n")
    for cut in (3, 10, 40, len(lines) // 2):
        put("sheet_file", b"\n".join(lines[:cut]) + b"\nend\n")
    head = "KALDOR-SHEET 1\nsize\t3\t3\n"
    for body in [
        "end\n",
        "data\t1\t1\t12\ndata\t2\t1\tx\\ty\\x01\nformula\t3\t1\tA1*2+LEN(B1)\nend\n",
        "formula\t1\t1\tB1\nformula\t2\t1\tA1\nend\n",
        "span\t1\t1\t2\t2\nwidth\t0\t50\nheight\t3\t40\nend\n",
        "type\t1\tnumber\t2\t-10\t10\t1\t272629760\nstyle\t1\t1\t1\t0\ndata\t1\t1\t3.14159\nend\n",
        "type\t1\tcombo\t0\ta\tb\nstyle\t2\t2\t1\t0\ndata\t2\t2\tb\ntag\t2\t2\tt\nnote\t2\t2\tn\\nm\nend\n",
        "refstyle\tR1C1\nformula\t2\t2\tSUM(A1:A3)\nend\n",
    ]:
        put("sheet_file", head + body)
    put("sheet_file", "KALDOR-SHEET 1\r\n# a note\r\n\r\nsize\t2\t1\r\ndata\t2\t1\tx\r\nend\r\n")
    put("sheet_file", "KALDOR-SHEET 1\nsize\t16384\t1048576\nspan\t1\t1\t16384\t1048576\nend\n")


def csv_seeds():
    for text in [
        'name,"a, b","say ""hi"""\r\n"two\nlines",1.5e3,-2E-2\r\n=A4*2,=SUM(B2:C2),=1+\r\n21,,"=x"',
        "a\n\nb,c,\nd\n",
        "x,",
        'a\nb,"open\nstill open',
        '5"6',
        "1,2,3\n=A1+B1+C1,=A2*2,=CONCATENATE(A1,\"x\")\n",
        "=B1,=A1\n",
    ]:
        put("csv", text)


def formula_seeds():
    table = (DATA / "grid" / "formula_cases.tsv").read_text(encoding="latin-1")
    for line in table.splitlines():
        if not line or line[0] in "#@":
            continue
        put("formula", "\x00" + line.split("\t")[0])
    for text in ["R[-1]C+RC[-2]", "SUM(R1C1:R5C1)", "R10C8", "INDEX(R1C1:R5C3,2,2)"]:
        put("formula", "\x01" + text)
    put("formula", "\x00" + "(" * 300 + "1" + ")" * 300)
    put("formula", "\x00" + "-" * 300 + "1")


def mapping_seeds():
    for name in ("ThreeTargets.map", "Malformed.map"):
        data = (DATA / "standards" / name).read_bytes()
        put("mapping_file", data)
        for line in data.splitlines()[1:]:
            put("mapping_line", line)
    put("mapping_file", b"")
    put("mapping_file", b"Mapping version 1.0\n")
    put("mapping_file", b"Plate=\nFuzzStored=Gap\x83Plate\x95Distance Gap\n")


def standards_file_seeds():
    put("sizes_file", "/* plate sizes\r\n   100 x 99 is not one */ \r\n100 x 10\r\n\r\n   \t\r\n"
                      "// 5 x 5\n150 // any thickness\n120x12 /* inline */\n2.5e1\nabc\n")
    put("sizes_file", "8\n10 x 2\n/* 11 */\n12\n")
    put("sizes_file", "/* never closed\n100\n")
    put("table_file", "// key\tvalue\nM20;8.8\t245\textra\n\nM24 // no value\nM16\t\n")
    put("table_file", "A\t1\nB\t2\t3\n")


def host_seeds():
    put("property_list", (DATA / "host" / "properties_golden.txt").read_bytes())
    put("property_list", "a\ti\t1\nb\td\t2.5\nc\ts\tx\\ty\n")
    put("property_list", "a\tq\t1\n")
    for path in [DATA / "tablefile" / "awkward.tab", *sorted((DATA / "library" / "prof").glob("*.pr"))]:
        put("host_table", path.read_bytes())
    for path in sorted((DATA / "library" / "prof").glob("*.pr")):
        put("section_tables", path.read_bytes())
    profile_table_seeds()
    put("texts", "\x00100\tHello\n// comment\n101\tA\\tB\\nC\n\n")
    put("texts", "\x01\xef\xbb\xbf1\tOne\n2\tTwo\n")
    put("texts", "\x00x\tbad\n")
    for path in [DATA / "macros" / "Cleat.json", DATA / "macros" / "EndPlate.json",
                 DATA / "standards" / "StandardsMacro.json"]:
        put("macro_json", path.read_bytes())
    put("macro_json", '{"name": "M", "modules": []}')


def profile_table_seeds():
    for path in sorted((ROOT / "samples" / "library" / "prof").glob("*.pr")):
        put("profile_table", path.read_bytes())
    header = "SysName\tI/O\tEnglish\tDutch\tGerman\tFrench\tKorean\th\n"
    put("profile_table", "Kanaal.dwg\r\n" + header.replace("\n", "\r\n") + "1\t0\tA 1\t\t\t\t\t1.5\r\n")
    put("profile_table", "\n" + header)
    put("profile_table", "1\n" + header + "10\t1\tA\\tB 10\t\t\t\t\t2\n10\tx\t\t\t\t\t\t3\n")
    put("profile_table", "1\n" + header + "10\t1\n")
    put("profile_table", "1\n")
    put("profile_table", "1\tIPE.dwg\n" + header)
    put("profile_table", "1\nSysName\tI/O\n\x00\n")


def write_dictionary(name, words):
    folder = ROOT / "fuzz" / "dict"
    folder.mkdir(exist_ok=True)
    lines = []
    for word in sorted(set(words)):
        escaped = "".join(c if 32 <= ord(c) < 127 and c not in '"\\' else "\\x%02X" % ord(c) for c in word)
        lines.append('"%s"' % escaped)
    (folder / (name + ".dict")).write_text("\n".join(lines) + "\n")


def dictionaries():
    sources = "".join(p.read_text(encoding="latin-1") for p in (ROOT / "src" / "grid").rglob("*.cpp"))
    functions = set(re.findall(r'\{"([A-Z][A-Z0-9.]*)", *-?[0-9]+, *-?[0-9]+', sources))
    calls = [f + "(" for f in functions]
    operators = ["&", "<>", "<=", ">=", "^", "%", ":", "$", "\"", "#REF!", "#DIV/0!", "#N/A", "#NAME?",
                 "#NULL!", "#NUM!", "#VALUE!", "TRUE", "FALSE", "R[-1]C", "RC[1]", "R1C1", "$A$1", "XFD1048576"]
    write_dictionary("formula", calls + operators)
    reader = (ROOT / "src" / "grid" / "SheetReader.cpp").read_text(encoding="latin-1")
    records = set(re.findall(r'keyword == "([a-z]+)"', reader))
    kinds = ["general", "text", "number", "checkbox", "combo", "button", "edit", "picture"]
    write_dictionary("sheet_file", [r + "\t" for r in records] + ["\t" + k for k in kinds] +
                     ["KALDOR-SHEET 1\n", "\nend\n", "default", "0x8000000B", "\\t", "\\x01"] + calls)


if __name__ == "__main__":
    dictionaries()
    sheet_seeds()
    csv_seeds()
    formula_seeds()
    mapping_seeds()
    standards_file_seeds()
    host_seeds()
