#!/usr/bin/python3
"""Checks a release package of a Windows build without running its programs.

Usage: check_package.py ZIP i386|amd64

The package holds, once each, the editor and the table tool as programs for
the named processor, each with its subsystem and importing system DLLs only,
and README.txt, with text, Windows line ends (for Notepad) and no placeholder
left unfilled. Prints one line and exits with 1 when any check failed.
"""
import os
import re
import sys
import zipfile

from check_windows_programs import CONSOLE, GUI, MACHINES, load, program_problems

# Each file of the package by its name, whatever the folder CPack put it in,
# with the subsystem of each program.
PROGRAMS = {"kestrivane.exe": GUI, "kestrivane-table.exe": CONSOLE}
README = "README.txt"


def readme_problems(text):
    problems = []
    if not text.strip():
        problems.append("%s is empty" % README)
    if text.count(b"\n") != text.count(b"\r\n"):
        problems.append("%s has lines without Windows line ends" % README)
    if re.search(rb"@[A-Z_]+@", text):
        problems.append("%s has a placeholder left" % README)
    return problems


def package_problems(archive, processor):
    by_name = {}
    for member in archive.namelist():
        by_name.setdefault(member.rsplit("/", 1)[-1], []).append(member)
    problems = []
    for name in sorted(PROGRAMS) + [README]:
        members = by_name.get(name, [])
        if len(members) != 1:
            problems.append("%s is there %d times" % (name, len(members)))
            continue
        data = archive.read(members[0])
        if name == README:
            problems += readme_problems(data)
            continue
        try:
            problems += ["%s: %s" % (name, problem)
                         for problem in program_problems(load(data=data), processor, PROGRAMS[name])]
        except Exception as error:  # pefile's own, for any image it cannot read
            problems.append("%s is no Windows program (%s)" % (name, error))
    return problems


def main(arguments):
    if len(arguments) != 2 or arguments[1] not in MACHINES:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    path, processor = arguments
    with zipfile.ZipFile(path) as archive:
        problems = package_problems(archive, processor)
        held = ", ".join(sorted(member.rsplit("/", 1)[-1] for member in archive.namelist()))
    name = os.path.basename(path)
    if problems:
        print("Package %s: %s" % (name, "; ".join(problems)))
        return 1
    print("Package %s holds %s, for %s" % (name, held, processor))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
