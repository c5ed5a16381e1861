#!/usr/bin/env python3
"""Runs the real kestrivane-table as a process, under the emulator given last
(Wine in a Windows build), and checks its exit codes and the exact bytes of its
output and errors. A run tests one case, named as its CTest test is.

    table_tool_process_test.py CASE TOOL EXPECTED WORK [EMULATOR...]
"""

import os
import pathlib
import re
import shutil
import subprocess
import sys
import unittest

CASE, EXPECTED, WORK = sys.argv[1], pathlib.Path(sys.argv[3]), pathlib.Path(sys.argv[4])
TOOL = sys.argv[5:] + [os.path.abspath(sys.argv[2])]
DEMO_TEXT, DEMO_JSON = (EXPECTED / "demo.txt").read_bytes(), (EXPECTED / "demo.json").read_bytes()
GRAVEL, LAKE, AMBIENT = (b'"dirt path"', b'"gravel path"'), (b'"pond"', b'"lake"'), (b"ambient 255", b"ambient 7")


def no_such(name):
    return b"kestrivane-table: %s: no such file\n" % name.encode()


class TableToolProcess(unittest.TestCase):
    maxDiff = None

    def setUp(self):
        shutil.rmtree(WORK, ignore_errors=True)
        WORK.mkdir(parents=True)

    def tool(self, command, code=0, out=b"", err=b"", err_start=None, **streams):
        """Runs the tool in WORK with the command's words and expects its exit code, output (unless None) and
        errors, captured unless streams say otherwise. An error that ends in the system's own words for the reason,
        which differ between systems, is given by its start only."""
        result = subprocess.run(TOOL + command.split(), cwd=WORK,
                                **{"stdout": subprocess.PIPE, "stderr": subprocess.PIPE, **streams})
        told = (result.returncode, result.stdout if out is not None else None,
                result.stderr[:len(err_start)] if err_start else result.stderr)
        self.assertEqual(told, (code, out, err_start or err), "kestrivane-table " + command)
        return result.stdout

    def assert_same_file(self, a, b):
        self.assertTrue((WORK / a).read_bytes() == (WORK / b).read_bytes(), "%s and %s differ" % (a, b))

    def build_from_demo(self, name, *replacements):
        """Builds name from the demo's text dump with each pair's first text replaced by its second."""
        text = DEMO_TEXT
        for old, new in replacements:
            text = text.replace(old, new)
        (WORK / (name + ".txt")).write_bytes(text)
        self.tool("build %s.txt -o %s" % (name, name))

    def test_demo_dump_and_check(self):
        self.tool("demo demo.dat")
        self.tool("dump demo.dat", out=DEMO_TEXT)
        self.tool("dump --format json demo.dat", out=DEMO_JSON)
        self.tool("dump --format=json demo.dat", out=DEMO_JSON)
        self.tool("check demo.dat")
        self.tool("demo demo.dat", 2, err=b"kestrivane-table: demo.dat: already exists; demo writes only a new file\n")

    def test_default_file(self):
        self.tool("check", 2, err=no_such("qx7set.dat"))
        self.tool("dump", 2, err=no_such("qx7set.dat"))
        self.tool("demo qx7set.dat")
        self.tool("dump", out=DEMO_TEXT)
        self.tool("check")

    def test_check_exit_codes(self):
        (WORK / "empty.dat").write_bytes(b"")
        self.tool("check empty.dat", 1, b"empty.dat: offset 0 (0x0): the file is empty\n")
        (WORK / "short.dat").write_bytes(b"abc")
        self.tool("check short.dat", 1,
                  b"short.dat: offset 0 (0x0): the file ends inside the header, after 3 bytes of 5\n")
        self.tool("check missing.dat", 2, err=no_such("missing.dat"))

    def test_usage(self):
        usage = self.tool("--help", out=None)
        self.assertTrue(usage.startswith(
            b"Usage: kestrivane-table dump [--format text|json|csv] [--code-page N] [FILE]\n"
            b"       kestrivane-table dump --textconv [--code-page N] [FILE]\n"), usage)
        self.tool("", 2, err=b"kestrivane-table: no command given\n\n" + usage)
        self.tool("list", 2, err=b'kestrivane-table: unknown command "list"\n\n' + usage)
        self.tool("dump --format xml", 2, err=b"kestrivane-table: --format takes text, json or csv\n\n" + usage)

    def test_build_round_trip(self):
        self.tool("demo demo.dat")
        (WORK / "demo.txt").write_bytes(DEMO_TEXT)
        (WORK / "demo.json").write_bytes(DEMO_JSON)
        self.tool("build demo.txt")
        self.assert_same_file("demo.dat", "qx7set.dat")
        self.tool("build --format json demo.json -o from-json.dat")
        self.assert_same_file("demo.dat", "from-json.dat")
        self.tool("build missing.txt -o never.dat", 2, err=no_such("missing.txt"))
        self.tool("build demo.txt -o no-folder/t.dat", 2,
                  err_start=b"kestrivane-table: no-folder/t.dat: could not be written: ")
        self.assertFalse((WORK / "never.dat").exists(), "build wrote a file for an input it could not read")

    def test_build_errors(self):
        self.tool("demo table.dat")
        before = (WORK / "table.dat").read_bytes()
        for form, source in (("text", "bad-dump.txt"), ("json", "bad-dump.json")):
            shutil.copy(EXPECTED / source, WORK)
            errors = (EXPECTED / ("bad-dump-%s.errors" % form)).read_bytes()
            self.tool("build --format %s %s -o table.dat" % (form, source), 1, err=errors)
        (WORK / "many.txt").write_bytes(b"tilesets 256\n")
        self.tool("build many.txt -o table.dat", 1,
                  err=b"kestrivane-table: many.txt:1:10: 256 tilesets: a table holds at most 255\n"
                  b"kestrivane-table: table.dat: not written: many.txt has 1 error\n")
        self.assertTrue((WORK / "table.dat").read_bytes() == before, "build with errors changed table.dat")

    def test_diff(self):
        self.tool("demo demo.dat")
        self.build_from_demo("renamed.dat", GRAVEL, AMBIENT)
        self.tool("diff demo.dat demo.dat")
        self.tool("diff demo.dat renamed.dat", 1,
                  b'tileset 0 slot 4: "dirt path" -> "gravel path"\ntileset 2 ambient: 255 -> 7\n')
        self.tool("diff demo.dat missing.dat", 2, err=no_such("missing.dat"))

    def test_merge(self):
        self.tool("demo base.dat")
        self.build_from_demo("ours.dat", GRAVEL)
        self.build_from_demo("theirs.dat", LAKE, AMBIENT)
        self.build_from_demo("expected.dat", GRAVEL, LAKE, AMBIENT)
        self.tool("merge base.dat ours.dat theirs.dat -o merged.dat")
        self.assert_same_file("expected.dat", "merged.dat")
        self.tool("merge base.dat ours.dat theirs.dat")
        self.assert_same_file("expected.dat", "ours.dat")
        self.build_from_demo("other.dat", (b'"pond"', b'"mere"'))
        self.tool("merge base.dat theirs.dat other.dat", 1,
                  b'conflict: tileset 0 slot 10: base "pond", ours "lake", theirs "mere"\n')
        self.tool("merge base.dat missing.dat theirs.dat", 2, err=no_such("OURS (missing.dat)"))

    def test_merge_several(self):
        self.tool("demo base.dat")
        self.build_from_demo("ours.dat", GRAVEL)
        self.build_from_demo("a.dat", LAKE)
        self.build_from_demo("b.dat", (b'"pond"', b'"mere"'), AMBIENT)
        self.build_from_demo("expected.dat", GRAVEL, LAKE, AMBIENT)
        self.tool("merge base.dat ours.dat a.dat b.dat -o -", 1, out=(WORK / "expected.dat").read_bytes(),
                  err=b'conflict: tileset 0 slot 10: base "pond", a.dat "lake", b.dat "mere"\n')
        (WORK / "seven.txt").write_bytes(b"tilesets 7\n")
        self.tool("build seven.txt -o seven.dat")
        self.tool("merge base.dat ours.dat a.dat seven.dat -o merged.dat", 1,
                  b"conflict: tilesets: base 6, ours.dat 6, a.dat 6, seven.dat 7; tables with differing counts are "
                  b"not merged, ours is kept whole\n")
        self.assert_same_file("ours.dat", "merged.dat")

    def test_patch_and_apply(self):
        self.tool("demo game.dat")
        self.build_from_demo("gravel.dat", GRAVEL, AMBIENT)
        gravel = b'kestrivane patch 1\ntileset 0 "Grassland" slot 4: "dirt path" -> "gravel path"\n' \
                 b'tileset 2 "Desert" ambient: 255 -> 7\n'
        self.tool("patch game.dat gravel.dat", out=gravel)
        self.tool("patch game.dat game.dat -o same.patch")
        self.assertEqual((WORK / "same.patch").read_bytes(), b"kestrivane patch 1\n")
        (WORK / "stone.patch").write_bytes(b'kestrivane patch 1\r\ntileset 0 "Grassland" slot 4: "dirt path" -> '
                                           b'"stone path"\r\n')
        (WORK / "cafe.patch").write_bytes(b'kestrivane patch 1 code-page 1252\n# A garden\n'
                                          b'tileset 1 "Caf\xc3\xa9 Terrace" slot 0: "stool" -> "bench"\n')
        self.tool("patch game.dat gravel.dat -o gravel.patch")
        listed = b'overrides: stone.patch:2: tileset 0 "Grassland" slot 4: "stone path" replaces "gravel path" ' \
                 b'from gravel.patch:2\nconflict: cafe.patch:3: tileset 1 "Caf\xc3\xa9 Terrace" slot 0: the patch ' \
                 b'changes "stool" -> "bench", but the table holds "table", which it keeps\n'
        self.tool("apply -t game.dat -o qx7set.dat gravel.patch stone.patch cafe.patch", 1, listed)
        self.build_from_demo("expected.dat", (b'"dirt path"', b'"stone path"'), AMBIENT)
        self.assert_same_file("expected.dat", "qx7set.dat")
        self.tool("apply -o - -t game.dat gravel.patch stone.patch cafe.patch", 1,
                  out=(WORK / "expected.dat").read_bytes(), err=listed)
        self.tool("apply --reverse gravel.patch stone.patch", 0)
        self.assert_same_file("game.dat", "qx7set.dat")
        (WORK / "bad.patch").write_bytes(b"kestrivane patch 1\ntileset 0 \"Grassland\" slot 4 \"a\" -> \"b\"\n")
        self.tool("apply gravel.patch bad.patch", 2,
                  err=b'kestrivane-table: bad.patch:2:30: expected a colon after the field, found "\\"a\\""\n'
                  b"kestrivane-table: qx7set.dat: not written: bad.patch has 1 error\n")
        self.assert_same_file("game.dat", "qx7set.dat")
        (WORK / "seven.txt").write_bytes(b"tilesets 7\n")
        self.tool("build seven.txt -o seven.dat")
        self.tool("patch game.dat seven.dat", 2,
                  err=b"kestrivane-table: seven.dat: holds 7 tilesets and game.dat 6: a patch changes fields of the "
                  b"tilesets that both tables have, so tables of different counts have no patch\n")

    def test_standard_streams(self):
        # Every byte of a table through the standard streams, as Windows would turn CR LF and 0x1A (the old
        # end-of-file mark) of a stream in text mode.
        (WORK / "in.txt").write_bytes(b'tilesets 1\n\ntileset 0\n  name ""\n  ambient 26\n'
                                      b'  slot 0 "\\x0D\\x0A\\x1A"\n')
        self.tool("build in.txt -o expected.dat")
        with open(WORK / "in.txt", "rb") as stdin, open(WORK / "piped.dat", "wb") as stdout:
            self.tool("build - -o -", out=None, stdin=stdin, stdout=stdout)
        self.assert_same_file("expected.dat", "piped.dat")
        with open(WORK / "piped.dat", "rb") as stdin, open(WORK / "dumped.txt", "wb") as stdout:
            self.tool("dump -", out=None, stdin=stdin, stdout=stdout)
        self.assert_same_file("in.txt", "dumped.txt")


unittest.main(argv=[sys.argv[0], "TableToolProcess.test_" + re.sub("(?<!^)(?=[A-Z])", "_", CASE).lower()])
