#!/usr/bin/env python3
"""Runs the real kestrivane-table as a process (under Wine in a Windows build,
given as the emulator command) and checks its exit codes and the exact bytes
of its output and errors, one case per run.

    table_tool_process_test.py CASE TOOL EXPECTED WORK [EMULATOR...]
"""

import os
import pathlib
import shutil
import sys

from tool_process import expect, run

CASE, TOOL, EXPECTED, WORK = sys.argv[1], sys.argv[2], pathlib.Path(sys.argv[3]), pathlib.Path(sys.argv[4])
COMMAND = sys.argv[5:] + [os.path.abspath(TOOL)]
DEMO_TEXT = (EXPECTED / "demo.txt").read_bytes()
DEMO_JSON = (EXPECTED / "demo.json").read_bytes()
USAGE_START = b"Usage: kestrivane-table dump [--format text|json] [--textconv] [--code-page N] [FILE]\n"


def tool(*args, code=0, out=b"", err=b"", err_start=None):
    """Runs the tool in WORK and expects the exit code, output and errors; an
    error that ends in the system's own words for the reason, which differ
    between systems, is given by its start only."""
    result = run(COMMAND + list(args), WORK, code)
    expect(result.stdout == out, "unexpected output, expected:\n%r" % out, result)
    if err_start is None:
        expect(result.stderr == err, "unexpected errors, expected:\n%r" % err, result)
    else:
        expect(result.stderr.startswith(err_start), "expected errors starting with:\n%r" % err_start, result)
    return result


def piped(source, target, *args):
    """Runs the tool with the file source as its standard input and its output into the file target."""
    with open(WORK / source, "rb") as stdin, open(WORK / target, "wb") as stdout:
        result = run(COMMAND + list(args), WORK, 0, stdin=stdin, stdout=stdout)
    expect(result.stderr == b"", "%s < %s > %s wrote errors" % (" ".join(args), source, target), result)


def same_file(a, b):
    expect((WORK / a).read_bytes() == (WORK / b).read_bytes(), "%s and %s differ" % (a, b))


def write(name, data):
    (WORK / name).write_bytes(data)


def build_from_demo(name, *replacements):
    """Builds name from the demo's text dump with each pair's first text replaced by its second."""
    text = DEMO_TEXT
    for old, new in replacements:
        text = text.replace(old, new)
    write(name + ".txt", text)
    tool("build", name + ".txt", "-o", name)


def no_such(name):
    return b"kestrivane-table: %s: no such file\n" % name.encode()


def demo_dump_and_check():
    tool("demo", "demo.dat")
    tool("dump", "demo.dat", out=DEMO_TEXT)
    tool("dump", "--format", "json", "demo.dat", out=DEMO_JSON)
    tool("check", "demo.dat")
    tool("demo", "demo.dat", code=2, err=b"kestrivane-table: demo.dat: already exists; demo writes only a new file\n")


def default_file():
    tool("check", code=2, err=no_such("qx7set.dat"))
    tool("dump", code=2, err=no_such("qx7set.dat"))
    tool("demo", "qx7set.dat")
    tool("dump", out=DEMO_TEXT)
    tool("check")


def check_exit_codes():
    write("empty.dat", b"")
    tool("check", "empty.dat", code=1, out=b"empty.dat: offset 0 (0x0): the file is empty\n")
    write("short.dat", b"abc")
    tool("check", "short.dat", code=1,
         out=b"short.dat: offset 0 (0x0): the file ends inside the header, after 3 bytes of 5\n")
    tool("check", "missing.dat", code=2, err=no_such("missing.dat"))


def usage():
    usage = run(COMMAND + ["--help"], WORK, 0, stderr=None).stdout
    expect(usage.startswith(USAGE_START), "--help does not start with the usage", usage)
    tool(code=2, err=b"kestrivane-table: no command given\n\n" + usage)
    tool("list", code=2, err=b'kestrivane-table: unknown command "list"\n\n' + usage)
    tool("dump", "--format", "xml", code=2, err=b"kestrivane-table: --format takes text or json\n\n" + usage)


def build_round_trip():
    tool("demo", "demo.dat")
    write("demo.txt", DEMO_TEXT)
    write("demo.json", DEMO_JSON)
    tool("build", "demo.txt")
    same_file("demo.dat", "qx7set.dat")
    tool("build", "--format", "json", "demo.json", "-o", "from-json.dat")
    same_file("demo.dat", "from-json.dat")
    tool("build", "missing.txt", "-o", "never.dat", code=2, err=no_such("missing.txt"))
    tool("build", "demo.txt", "-o", "no-folder/t.dat", code=2,
         err_start=b"kestrivane-table: no-folder/t.dat: could not be written: ")
    expect(not (WORK / "never.dat").exists(), "build wrote a file for an input it could not read")


def build_errors():
    tool("demo", "table.dat")
    before = (WORK / "table.dat").read_bytes()
    for form, source in (("text", "bad-dump.txt"), ("json", "bad-dump.json")):
        shutil.copy(EXPECTED / source, WORK)
        errors = (EXPECTED / ("bad-dump-%s.errors" % form)).read_bytes()
        tool("build", "--format", form, source, "-o", "table.dat", code=1, err=errors)
    write("many.txt", b"tilesets 256\n")
    tool("build", "many.txt", "-o", "table.dat", code=1,
         err=b"kestrivane-table: many.txt:1:10: 256 tilesets: a table holds at most 255\n"
         b"kestrivane-table: table.dat: not written: many.txt has 1 error\n")
    expect((WORK / "table.dat").read_bytes() == before, "build with errors changed table.dat")


def diff():
    tool("demo", "demo.dat")
    build_from_demo("renamed.dat", (b'"dirt path"', b'"gravel path"'), (b"ambient 255", b"ambient 7"))
    tool("diff", "demo.dat", "demo.dat")
    tool("diff", "demo.dat", "renamed.dat", code=1,
         out=b'tileset 0 slot 4: "dirt path" -> "gravel path"\ntileset 2 ambient: 255 -> 7\n')
    tool("diff", "demo.dat", "missing.dat", code=2, err=no_such("missing.dat"))


def merge():
    gravel, lake, ambient = (b'"dirt path"', b'"gravel path"'), (b'"pond"', b'"lake"'), (b"ambient 255", b"ambient 7")
    tool("demo", "base.dat")
    build_from_demo("ours.dat", gravel)
    build_from_demo("theirs.dat", lake, ambient)
    build_from_demo("expected.dat", gravel, lake, ambient)
    tool("merge", "base.dat", "ours.dat", "theirs.dat", "-o", "merged.dat")
    same_file("expected.dat", "merged.dat")
    tool("merge", "base.dat", "ours.dat", "theirs.dat")
    same_file("expected.dat", "ours.dat")
    build_from_demo("other.dat", (b'"pond"', b'"mere"'))
    tool("merge", "base.dat", "theirs.dat", "other.dat", code=1,
         out=b'conflict: tileset 0 slot 10: base "pond", ours "lake", theirs "mere"\n')
    tool("merge", "base.dat", "missing.dat", "theirs.dat", code=2, err=no_such("missing.dat"))


def standard_streams():
    # Every byte of a table through the standard streams, as Windows would turn
    # CR LF and 0x1A (the old end-of-file mark) of a stream in text mode.
    write("in.txt", b'tilesets 1\n\ntileset 0\n  name ""\n  ambient 26\n  slot 0 "\\x0D\\x0A\\x1A"\n')
    tool("build", "in.txt", "-o", "expected.dat")
    piped("in.txt", "piped.dat", "build", "-", "-o", "-")
    same_file("expected.dat", "piped.dat")
    piped("piped.dat", "dumped.txt", "dump", "-")
    same_file("in.txt", "dumped.txt")


CASES = {"DemoDumpAndCheck": demo_dump_and_check, "DefaultFile": default_file, "CheckExitCodes": check_exit_codes,
         "Usage": usage, "BuildRoundTrip": build_round_trip, "BuildErrors": build_errors, "Diff": diff,
         "Merge": merge, "StandardStreams": standard_streams}

if CASE not in CASES:
    sys.exit("unknown case %s" % CASE)
shutil.rmtree(WORK, ignore_errors=True)
WORK.mkdir(parents=True)
CASES[CASE]()
