#!/usr/bin/env python3
"""The CSV dump in other programs: Python's csv module as an independent reader
and writer, and LibreOffice Calc headless (installed by scripts/lib.sh), which
must open it with its defaults without running any text as a formula, and
with the text columns as Text must save CSV that build turns back into the
very table. A run tests one case, named as its CTest test is.

    csv_programs_test.py CASE TOOL WORK
"""

import csv
import io
import json
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

CASE, TOOL, WORK = sys.argv[1], sys.argv[2], pathlib.Path(sys.argv[3])
COLUMNS = ["tileset", "name", "ambient", "slot", "text"]
GUARDED_STARTS = ("=", "+", "-", "@", "\t", "\r", "'")
# Texts that a spreadsheet would run as formulas, or take for numbers, dates or truth values.
HOSTILE = (b'tilesets 2\ntileset 0\nname "=1+1"\nambient 3\nslot 0 "=SUM(1;2)"\nslot 1 "+3"\nslot 2 "-2"\n'
           b'slot 3 "@A1"\nslot 4 "\\x09tab"\nslot 5 "\'quoted"\nslot 6 "007"\nslot 7 "1-2"\nslot 8 "1e5"\n'
           b'slot 9 "TRUE"\nslot 10 "a,b \\"c\\";d"\nslot 11 "two\\x0Alines"\nslot 12 "  spaced  "\n'
           b'tileset 1\nname "-Caf\\xE9"\nambient 255\nslot 150 "\\xBFqu\\xE9?"\n')
# Calc keeps a lone CR of a cell as LF: that one text cannot come back from a spreadsheet.
CR_TEXT = b'tilesets 1\ntileset 0\nslot 0 "\\x0Dcr"\n'
# Comma, double quote, UTF-8, first line 1; columns 2 and 5 (name and text) as Text.
CALC_IMPORT_AS_TEXT = "CSV:44,34,76,1,2/2/5/2"
CALC_EXPORT = "csv:Text - txt - csv (StarCalc):44,34,76,1"


def guarded(text):
    return "'" + text if text.startswith(GUARDED_STARTS) else text


class CsvInOtherPrograms(unittest.TestCase):
    maxDiff = None

    def setUp(self):
        shutil.rmtree(WORK, ignore_errors=True)
        WORK.mkdir(parents=True)

    def tool(self, *words):
        return subprocess.run([TOOL, *words], cwd=WORK, check=True, stdout=subprocess.PIPE).stdout

    def table(self, name, text_dump=None):
        """The table file name.dat: the demo, or the table of the text dump."""
        if text_dump is None:
            self.tool("demo", name + ".dat")
        else:
            (WORK / (name + ".txt")).write_bytes(text_dump)
            self.tool("build", name + ".txt", "-o", name + ".dat")
        return (WORK / (name + ".dat")).read_bytes()

    def expected_rows(self, name, page):
        """Every slot's row as the JSON dump tells the table, with the guard on the texts."""
        dump = json.loads(self.tool("dump", "--format", "json", *page, name + ".dat"))
        rows = [COLUMNS]
        for i, tileset in enumerate(dump["tilesets"]):
            texts = {slot["index"]: slot["text"] for slot in tileset["slots"]}
            for slot in range(151):
                rows.append([str(i), guarded(tileset["name"]), str(tileset["ambient"]), str(slot),
                             guarded(texts.get(slot, ""))])
        return rows

    def calc(self, source, target, *infilter):
        profile = tempfile.mkdtemp(prefix="kestrivane-calc-")
        try:
            soffice = shutil.which("soffice")
            self.assertIsNotNone(soffice, "soffice not found: scripts/lib.sh installs libreoffice-calc-nogui")
            outdir = WORK / ("calc-" + target.replace(":", "-").split()[0])
            subprocess.run([soffice, "-env:UserInstallation=file://" + profile, "--headless", *infilter,
                            "--convert-to", target, "--outdir", str(outdir), str(WORK / source)],
                           check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=240)
        finally:
            shutil.rmtree(profile, ignore_errors=True)
        return outdir / (pathlib.Path(source).stem + "." + target.split(":")[0])

    def test_python_reader(self):
        for name, text_dump, page in (("demo", None, ()), ("demo-1252", None, ("--code-page", "1252")),
                                      ("hostile", HOSTILE, ()), ("cr", CR_TEXT, ())):
            table = self.table(name, text_dump)
            raw = self.tool("dump", "--format", "csv", *page, name + ".dat")
            self.assertTrue(raw.startswith(b"\xEF\xBB\xBFtileset,name,ambient,slot,text\r\n"), name)
            rows = list(csv.reader(io.StringIO(raw.decode("utf-8-sig"), newline="")))
            self.assertEqual(rows, self.expected_rows(name, page), name)
            # Written again by Python: other column order, ';' between fields, no mark, quotes around all.
            order = [4, 3, 1, 2, 0]
            rewritten = io.StringIO(newline="")
            csv.writer(rewritten, delimiter=";", quoting=csv.QUOTE_ALL).writerows(
                [row[k] for k in order] for row in rows)
            (WORK / (name + "-python.csv")).write_bytes(rewritten.getvalue().encode("utf-8"))
            self.tool("build", "--format", "csv", *page, name + "-python.csv", "-o", name + "-python.dat")
            self.assertTrue((WORK / (name + "-python.dat")).read_bytes() == table, name + " written by Python")
        demo = self.tool("dump", "--format", "csv", "demo.dat")
        self.assertEqual(demo.count(b"\n"), demo.count(b"\r\n"))
        self.assertEqual(demo.count(b"\r\n"), 1 + 6 * 151)

    def test_libre_office(self):
        self.table("hostile", HOSTILE)
        (WORK / "hostile.csv").write_bytes(self.tool("dump", "--format", "csv", "hostile.dat"))
        sheet = self.calc("hostile.csv", "fods").read_text(encoding="utf-8")
        self.assertNotIn("table:formula", sheet, "Calc's defaults ran a text as a formula")
        for shown in ("&apos;=SUM(1;2)", "&apos;+3", "&apos;-2", "&apos;@A1", "&apos;&apos;quoted"):
            self.assertIn("<text:p>" + shown + "</text:p>", sheet)
        for name, text_dump, page in (("demo", None, ()), ("demo-1252", None, ("--code-page", "1252")),
                                      ("hostile", HOSTILE, ())):
            table = self.table(name, text_dump)
            (WORK / (name + ".csv")).write_bytes(self.tool("dump", "--format", "csv", *page, name + ".dat"))
            saved = self.calc(name + ".csv", CALC_EXPORT, "--infilter=" + CALC_IMPORT_AS_TEXT)
            self.assertNotEqual(saved.read_bytes(), (WORK / (name + ".csv")).read_bytes(), "Calc wrote nothing new")
            self.tool("build", "--format", "csv", *page, str(saved), "-o", name + "-calc.dat")
            self.assertTrue((WORK / (name + "-calc.dat")).read_bytes() == table, name + " saved by Calc")


unittest.main(argv=[sys.argv[0], "CsvInOtherPrograms.test_" + re.sub("(?<!^)(?=[A-Z])", "_", CASE).lower()])
