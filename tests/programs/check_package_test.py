#!/usr/bin/python3
"""Tells sound and unsound release packages apart as check_package.py should:
packages built here from the smallest images that pass for Windows programs,
one case a row.

    check_package_test.py
"""
import contextlib
import io
import os
import struct
import tempfile
import unittest
import zipfile

import check_package
from check_windows_programs import CONSOLE, GUI, MACHINES

# The optional header's magic number and size, for 32-bit and 64-bit images.
OPTIONAL_HEADERS = {"i386": (0x10B, 0xE0), "amd64": (0x20B, 0xF0)}
README_TEXT = b"Kestrivane 1.0\r\n==============\r\n\r\nThe editor.\r\n"


def program(processor, subsystem):
    """A PE image for the processor, with the subsystem, no sections and no imports."""
    magic, size = OPTIONAL_HEADERS[processor]
    optional = bytearray(size)
    struct.pack_into("<H", optional, 0, magic)
    struct.pack_into("<II", optional, 32, 0x1000, 0x200)  # section and file alignment
    struct.pack_into("<II", optional, 56, 0x1000, 0x200)  # image and header sizes
    struct.pack_into("<H", optional, 68, subsystem)
    struct.pack_into("<I", optional, size - 16 * 8 - 4, 16)  # data directories, all empty
    file_header = struct.pack("<HHIIIHH", MACHINES[processor], 0, 0, 0, 0, size, 0x0102)
    dos_header = b"MZ" + bytes(0x3A) + struct.pack("<I", 0x40)
    return (dos_header + b"PE\0\0" + file_header + bytes(optional)).ljust(0x200, b"\0")


def sound_files(processor="i386"):
    return {"kestrivane.exe": program(processor, GUI),
            "kestrivane-table.exe": program(processor, CONSOLE),
            "README.txt": README_TEXT}


def changed(name, data):
    """The sound 32-bit package's files with one replaced, or left out for None."""
    files = dict(sound_files(), **{name: data})
    return {name: data for name, data in files.items() if data is not None}


# (what, files, processor the check is asked for, the check's exit code, words of its line)
CASES = [
    ("a sound 32-bit package", sound_files(), "i386", 0, "holds README.txt, kestrivane-table.exe, kestrivane.exe"),
    ("a sound 64-bit package", sound_files("amd64"), "amd64", 0, "for amd64"),
    ("64-bit programs in a 32-bit package", sound_files("amd64"), "i386", 1, "machine 0x8664, not i386"),
    ("no table tool", changed("kestrivane-table.exe", None), "i386", 1, "kestrivane-table.exe is there 0 times"),
    ("an editor that is a console program", changed("kestrivane.exe", program("i386", CONSOLE)), "i386", 1,
     "kestrivane.exe: subsystem 3, not 2"),
    ("an editor that is no program", changed("kestrivane.exe", b"MZ text"), "i386", 1, "kestrivane.exe is no Windows"),
    ("an empty README", changed("README.txt", b""), "i386", 1, "README.txt is empty"),
    ("a README with Unix line ends", changed("README.txt", README_TEXT.replace(b"\r\n", b"\n")), "i386", 1,
     "without Windows line ends"),
    ("a README whose version was not filled in", changed("README.txt", b"Kestrivane @PROJECT_VERSION@\r\n"), "i386", 1,
     "placeholder left"),
]


class PackageCheckTest(unittest.TestCase):
    def check(self, members, processor):
        """The check's exit code and line for a package of the members, {path in the ZIP: bytes}."""
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "kestrivane-1.0.0.1-win32.zip")
            with zipfile.ZipFile(path, "w") as archive:
                for name, data in members.items():
                    archive.writestr(name, data)
            with contextlib.redirect_stdout(io.StringIO()) as output:
                code = check_package.main([path, processor])
        return code, output.getvalue()

    def test_cases(self):
        for what, files, processor, expected_code, words in CASES:
            with self.subTest(what):
                members = {"kestrivane-1.0.0.1-win32/" + name: data for name, data in files.items()}
                code, line = self.check(members, processor)
                self.assertEqual(code, expected_code, line)
                self.assertIn(words, line)

    def test_a_file_twice(self):
        members = {"kestrivane/" + name: data for name, data in sound_files().items()}
        code, line = self.check(dict(members, **{"kestrivane/doc/README.txt": README_TEXT}), "i386")
        self.assertEqual(code, 1, line)
        self.assertIn("README.txt is there 2 times", line)


if __name__ == "__main__":
    unittest.main()
