#!/usr/bin/python3
"""Checks a Windows build's programs without running them.

Usage: check_windows_programs.py BUILD_DIR i386|amd64

For every program of the build: a PE image for the named processor, the
subsystem it should have (the editor and the start-up yardsticks are GUI
programs, the rest console programs), and imports from system DLLs only, so
that it runs on a bare Windows. For the editor also its resources: the two
dialog templates, the icon group with its 32 x 32 and 16 x 16 images, the
version record with the project's version, and a manifest naming the
processor. Prints one line a program and exits with 1 when any check failed.
Used where the programs cannot run; it runs on every machine.
"""
import glob
import os
import re
import struct
import sys

import pefile

MACHINES = {"i386": 0x14C, "amd64": 0x8664}
MANIFEST_PROCESSORS = {"i386": "x86", "amd64": "amd64"}
GUI = pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]
CONSOLE = pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_CUI"]

EDITOR = "app/kestrivane.exe"
# Every program the build must hold, with its subsystem; any other program is a
# test program and a console program.
NAMED_PROGRAMS = {
    EDITOR: GUI,
    "tools/kestrivane-table.exe": CONSOLE,
    "tests/e2e/bare_dialog.exe": GUI,
    "tests/e2e/prepared_dialog.exe": GUI,
}
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll",
    "ole32.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "uxtheme.dll",
    "version.dll",
}

RT_DIALOG = pefile.RESOURCE_TYPE["RT_DIALOG"]
RT_GROUP_ICON = pefile.RESOURCE_TYPE["RT_GROUP_ICON"]
RT_VERSION = pefile.RESOURCE_TYPE["RT_VERSION"]
RT_MANIFEST = pefile.RESOURCE_TYPE["RT_MANIFEST"]
ID_MAIN_DIALOG = 129
ID_ABOUT_DIALOG = 100
ID_APP_ICON = 128
VERSION_RECORD_ID = 1
MANIFEST_ID = 1
ENGLISH_US = 0x409


def load(path=None, data=None):
    """The image of the program at path, or of its bytes."""
    image = pefile.PE(path, data=data, fast_load=True)
    image.parse_data_directories(directories=[
        pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_IMPORT"],
        pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"],
    ])
    return image


def resources(image):
    """{(type, id): data} of the image's English (United States) resources."""
    found = {}
    directory = getattr(image, "DIRECTORY_ENTRY_RESOURCE", None)
    for kind in directory.entries if directory else []:
        for entry in kind.directory.entries:
            for language in entry.directory.entries:
                if language.id == ENGLISH_US:
                    data = language.data.struct
                    found[(kind.id, entry.id)] = image.get_data(data.OffsetToData, data.Size)
    return found


def icon_sizes(group):
    """The (width, height) of each image of an icon group; 0 stands for 256."""
    count = struct.unpack_from("<H", group, 4)[0]
    return {(group[6 + 14 * k] or 256, group[7 + 14 * k] or 256) for k in range(count)}


def file_version(record):
    """The file version of a version record's fixed part, as "a.b.c.d"."""
    fixed = record.find(struct.pack("<I", 0xFEEF04BD))
    if fixed < 0:
        return None
    most, least = struct.unpack_from("<II", record, fixed + 8)
    return "%d.%d.%d.%d" % (most >> 16, most & 0xFFFF, least >> 16, least & 0xFFFF)


def project_version(build):
    with open(os.path.join(build, "CMakeCache.txt"), encoding="utf-8") as cache:
        for line in cache:
            if line.startswith("CMAKE_PROJECT_VERSION:"):
                return line.split("=", 1)[1].strip()
    return None


def editor_problems(image, processor, version):
    found = resources(image)
    problems = []
    for kind, number, what in ((RT_DIALOG, ID_MAIN_DIALOG, "main window template"),
                               (RT_DIALOG, ID_ABOUT_DIALOG, "About box template"),
                               (RT_GROUP_ICON, ID_APP_ICON, "icon group"),
                               (RT_VERSION, VERSION_RECORD_ID, "version record"),
                               (RT_MANIFEST, MANIFEST_ID, "manifest")):
        if (kind, number) not in found:
            problems.append("no %s (%d) in English (United States)" % (what, number))
    icons = found.get((RT_GROUP_ICON, ID_APP_ICON))
    if icons is not None and icon_sizes(icons) != {(32, 32), (16, 16)}:
        problems.append("the icon group holds %s, not 32 x 32 and 16 x 16" % sorted(icon_sizes(icons)))
    record = found.get((RT_VERSION, VERSION_RECORD_ID))
    if record is not None and file_version(record) != version:
        problems.append("the version record says %s, the project %s" % (file_version(record), version))
    manifest = found.get((RT_MANIFEST, MANIFEST_ID))
    if manifest is not None:
        named = set(re.findall(rb'processorArchitecture="([^"]*)"', manifest))
        if named != {MANIFEST_PROCESSORS[processor].encode()}:
            problems.append("the manifest names the processors %s, not %s" %
                            (sorted(p.decode() for p in named), MANIFEST_PROCESSORS[processor]))
    return problems


def program_problems(image, processor, subsystem):
    problems = []
    if image.FILE_HEADER.Machine != MACHINES[processor]:
        problems.append("machine 0x%X, not %s" % (image.FILE_HEADER.Machine, processor))
    if image.OPTIONAL_HEADER.Subsystem != subsystem:
        problems.append("subsystem %d, not %d" % (image.OPTIONAL_HEADER.Subsystem, subsystem))
    imports = [entry.dll.decode() for entry in getattr(image, "DIRECTORY_ENTRY_IMPORT", [])]
    foreign = [name for name in imports if name.lower() not in SYSTEM_DLLS]
    if foreign:
        problems.append("imports DLLs that Windows does not have: %s" % ", ".join(foreign))
    return problems


# The build's own programs are built into these folders; the build folder also
# holds CMake's probes and the Wine prefix of the tests, full of Wine's programs.
PROGRAM_FOLDERS = ("app", "tools", "tests")


def programs(build):
    """Every program of the build, by its path relative to the build folder."""
    found = []
    for folder in PROGRAM_FOLDERS:
        paths = glob.glob(os.path.join(build, folder, "**", "*.exe"), recursive=True)
        found += (os.path.relpath(path, build) for path in paths if "CMakeFiles" not in path.split(os.sep))
    return sorted(found)


def main(arguments):
    if len(arguments) != 2 or arguments[1] not in MACHINES:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    build, processor = arguments
    found = programs(build)
    missing = sorted(set(NAMED_PROGRAMS) - set(found))
    for path in missing:
        print("%s: missing" % path)
    unsound = 0
    for path in found:
        image = load(os.path.join(build, path))
        problems = program_problems(image, processor, NAMED_PROGRAMS.get(path, CONSOLE))
        if path == EDITOR:
            problems += editor_problems(image, processor, project_version(build))
        print("%s: %s" % (path, "; ".join(problems) if problems else "ok"))
        unsound += bool(problems)
    print("Programs checked without running them: %d sound, %d with problems, %d missing" %
          (len(found) - unsound, unsound, len(missing)))
    return 1 if unsound or missing else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
