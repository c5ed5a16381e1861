#!/usr/bin/env python3
"""Runs the real kestrivane-table on hostile inputs, made here and bounded in
size, and checks each run from outside: its exit code and message, that only
printable ASCII reaches the terminal, and that it ends in bounded time and
memory. Memory is the peak resident size above that of printing the usage, so
that a sanitizer's own share counts once. Linux counts a child's peak from its
fork, so the child is forked from this small process itself, never by vfork,
which would lend it this process's peak, and the inputs are made as files
before it and never held here.

    hostile_input_test.py TOOL WORK
"""

import os
import pathlib
import shutil
import sys
import time

TOOL = os.path.abspath(sys.argv[1])
WORK = pathlib.Path(sys.argv[2]).resolve()
MEMORY_BOUND_KB = 64 * 1024
SECONDS_BOUND = 20
BUILD_LIMIT = 32 * 1024 * 1024
SPARSE_SIZE = 64 * 1024 ** 3


def junk_lines():
    lines = (BUILD_LIMIT - 11) // 2
    return b"tilesets 1\n" + b"x\n" * lines


def slot_values():
    slot = b'{"index": 999, "text": "a"}'
    count = (BUILD_LIMIT - 40) // (len(slot) + 1)
    return b'{"tilesets": [{"slots": [' + b",".join([slot] * count) + b"]}]}"


def numbers_under_an_unknown_key():
    return b'{"x": [' + b"1," * 7_999_999 + b"1]}"


PATCH_HEADER = b"kestrivane patch 1\n"


def patch_of_junk_lines():
    return PATCH_HEADER + b"x\n" * ((BUILD_LIMIT - len(PATCH_HEADER)) // 2)


def one_field_again_and_again():
    line = b'tileset 0 "Grassland" slot 4: "dirt path" -> "x"\n'
    return PATCH_HEADER + line * ((BUILD_LIMIT - len(PATCH_HEADER)) // len(line))


def every_field_of_no_tileset():
    fields = [b"name", b"ambient"] + [b"slot %d" % slot for slot in range(151)]
    lines = []
    for index in range(255):
        for field in fields:
            values = (b'"Nowhere" -> "Somewhere"' if field == b"name" else
                      b"1 -> 2" if field == b"ambient" else b'"" -> "x"')
            lines.append(b'tileset %d "Nowhere" %s: %s\n' % (index, field, values))
    return PATCH_HEADER + b"".join(lines)


def sparse(path):
    with open(path, "wb") as file:
        file.truncate(SPARSE_SIZE)


# name, command line ("IN" is the made input), the input (a few bytes, a
# function that makes them or the file, or a device), whether it comes on
# standard input, the exit code, and a text the output or the errors hold.
CASES = [
    ("junk lines", ["build", "IN", "-o", "out.dat"], junk_lines, False, 1, "16777210 errors"),
    ("input over build's limit", ["build", "IN", "-o", "out.dat"], lambda: b"x" * (BUILD_LIMIT + 1), False, 2,
     "is larger than the 33554432 bytes that build reads"),
    ("numbers under an unknown key", ["build", "--format", "json", "IN", "-o", "out.dat"],
     numbers_under_an_unknown_key, False, 1, "1:2: x: unknown key"),
    ("slot values", ["build", "--format", "json", "IN", "-o", "out.dat"], slot_values, False, 1,
     "more errors after these"),
    ("deep nesting", ["build", "--format", "json", "IN"], lambda: b"[" * 10_000_000, False, 1,
     "values nested more than 64 deep"),
    ("one long text", ["build", "--format", "json", "IN"],
     lambda: b'{"tilesets": [{"name": "' + b"n" * 30_000_000 + b'"}]}', False, 1, "a text of 30000000 bytes"),
    ("one long line", ["build", "IN"], lambda: b"tilesets 1\n" + b"w" * 30_000_000, False, 1,
     "... (30000000 bytes)"),
    ("control bytes", ["build", "IN"], b"tilesets 1\n\x1b]0;owned\x07\n\x1b[2J\n", False, 1,
     'unknown line "\\x1B]0;owned\\x07"'),
    ("control bytes in a key", ["build", "--format", "json", "IN"], b'{"\\u001b[2J": 1, "tilesets": []}', False, 1,
     '"\\u001B[2J": unknown key'),
    ("bytes not UTF-8 in a code page", ["build", "--code-page", "1251", "IN", "-o", "out.dat"],
     lambda: b'tilesets 1\ntileset 0\nslot 0 "' + b"\xc4" * 30_000_000 + b'"\n', False, 1,
     "byte 0xC4: a UTF-8 character cut short"),
    ("direction marks in a code page", ["build", "--format", "json", "--code-page", "1251", "IN"],
     lambda: b'{"tilesets": [{"name": "' + "\u202e".encode() * 10_000_000 + b'"}]}', False, 1,
     "1:25: tilesets[0].name: U+202E is not in code page 1251"),
    ("control bytes in a file's name", ["check", "\x1b]0;owned\x07\n.dat"], None, False, 2,
     "\\x1B]0;owned\\x07\\x0A.dat: no such file"),
    ("patch of junk lines", ["apply", "-t", "t.dat", "IN"], patch_of_junk_lines, False, 2,
     "input has 16777206 errors"),
    ("patch over apply's limit", ["apply", "-t", "t.dat", "IN"], lambda: b"x" * (BUILD_LIMIT + 1), False, 2,
     "goes beyond the 33554432 bytes that apply reads of all its patches together"),
    ("patches over apply's limit together", ["apply", "-t", "t.dat", "IN", "IN"],
     lambda: PATCH_HEADER + b"#" * (BUILD_LIMIT // 2), False, 2, "bytes that apply reads of all its patches together"),
    ("one field again and again", ["apply", "-t", "t.dat", "IN"], one_field_again_and_again, False, 2,
     "3:22: tileset 0 slot 4 is given twice, first on line 2"),
    ("every field of no tileset", ["apply", "-t", "t.dat", "IN"], every_field_of_no_tileset, False, 1,
     'not found: ' + str(WORK / "input") + ':39016: tileset 254 "Nowhere" slot 150: no tileset is named "Nowhere"'),
    ("control bytes in a patch", ["apply", "-t", "t.dat", "IN"],
     PATCH_HEADER + b'tileset 0 "\x1b]0;owned\x07" slot 1: "" -> "a"\n\x1b[2J\n', False, 2,
     'unknown line "\\x1B[2J"'),
    ("one long text in a patch", ["apply", "-t", "t.dat", "IN"],
     lambda: PATCH_HEADER + b'tileset 0 "Grassland" slot 1: "' + b"n" * 30_000_000 + b'" -> ""\n', False, 2,
     "2:31: a text of 30000000 bytes"),
    ("apply of endless standard input", ["apply", "-t", "t.dat", "-"], "/dev/zero", True, 2,
     "standard input: goes beyond the 33554432 bytes"),
    ("check of a device", ["check", "/dev/zero"], None, False, 1, "the file goes on after the last entry"),
    ("dump of a device", ["dump", "/dev/zero"], None, False, 0, "tilesets 0"),
    ("check of endless standard input", ["check", "-"], "/dev/zero", True, 1, "the file goes on after the last entry"),
    ("build of endless standard input", ["build", "-"], "/dev/zero", True, 2, "standard input: is larger than"),
    ("check of a sparse file", ["check", "IN"], sparse, False, 1, "68719476731 bytes follow the last entry"),
    ("text conversion of a sparse file", ["dump", "--textconv", "IN"], sparse, False, 0,
     "68719476731 bytes follow the last entry"),
]


DEMO = b""


def run(args, stdin_path):
    """Exit code, output, errors, seconds and peak resident kilobytes of one run."""
    out_path, err_path = WORK / "run.out", WORK / "run.err"
    started = time.monotonic()
    pid = os.fork()
    if pid == 0:
        for path, descriptor, flags in ((stdin_path, 0, os.O_RDONLY), (out_path, 1, os.O_WRONLY | os.O_CREAT),
                                        (err_path, 2, os.O_WRONLY | os.O_CREAT)):
            os.dup2(os.open(path, flags | os.O_TRUNC * (descriptor != 0), 0o644), descriptor)
        os.chdir(WORK)
        os.execv(TOOL, [TOOL] + args)
    _, status, usage = os.wait4(pid, 0)
    seconds = time.monotonic() - started
    return os.waitstatus_to_exitcode(status), out_path.read_bytes(), err_path.read_bytes(), seconds, usage.ru_maxrss


def input_path(made):
    if made is None:
        return None
    if isinstance(made, str):
        return made
    path = WORK / "input"
    if made is sparse:
        made(path)
    else:
        path.write_bytes(made if isinstance(made, bytes) else made())
    return str(path)


def printable(text):
    return all(0x20 <= byte <= 0x7E or byte == 0x0A for byte in text)


def check(case, baseline_kb):
    name, args, made, on_stdin, code, told = case
    path = input_path(made)
    args = [path if word == "IN" else word for word in args]
    actual, out, err, seconds, peak_kb = run(args, path if on_stdin else os.devnull)
    faults = []
    if actual != code:
        faults.append("exit code %d, expected %d" % (actual, code))
    if told.encode() not in out + err:
        faults.append("no %r in what it printed" % told)
    if not printable(out) or not printable(err):
        faults.append("bytes other than printable ASCII reached the terminal")
    if seconds > SECONDS_BOUND:
        faults.append("took %.1f s, more than %d s" % (seconds, SECONDS_BOUND))
    if peak_kb - baseline_kb > MEMORY_BOUND_KB:
        faults.append("took %d KB more than printing the usage, more than %d KB" % (peak_kb - baseline_kb,
                                                                                   MEMORY_BOUND_KB))
    if (WORK / "t.dat").read_bytes() != DEMO:
        faults.append("the table t.dat was written")
    print("%-36s exit %d  %5.2f s  %6d KB above the usage's" % (name, actual, seconds, peak_kb - baseline_kb))
    if faults:
        print("  %s\n  output: %r\n  errors: %r" % ("; ".join(faults), out[:300], err[:300]))
    if path is not None and not on_stdin and path.startswith(str(WORK)):
        os.remove(path)
    return not faults


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    WORK.mkdir(parents=True)
    baseline_kb = run(["--help"], os.devnull)[4]
    run(["demo", "t.dat"], os.devnull)
    global DEMO
    DEMO = (WORK / "t.dat").read_bytes()
    failed = [case[0] for case in CASES if not check(case, baseline_kb)]
    shutil.rmtree(WORK, ignore_errors=True)
    if failed:
        sys.exit("failed: " + ", ".join(failed))
    print("every hostile input ended in time and memory, with its message")


main()
