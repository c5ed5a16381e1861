#!/usr/bin/python3
"""Tells sound release packages from unsound ones as check_package.py should,
on packages made here from the smallest images that pass for Windows programs.
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
README = b"Kestrivane 1.0\r\n==============\r\n\r\nThe editor.\r\n"


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
    return (b"MZ" + bytes(0x3A) + struct.pack("<I", 0x40) + b"PE\0\0" + file_header + optional).ljust(0x200, b"\0")


def package(processor="i386", changes=()):
    """The files of a sound package, {name: bytes}, with the changes (bytes, or None to leave a file out)."""
    files = {"kestrivane.exe": program(processor, GUI), "kestrivane-table.exe": program(processor, CONSOLE),
             "README.txt": README}
    files.update(changes)
    return {name: data for name, data in files.items() if data is not None}


# (what, the package's files, the processor asked for, the check's exit code, words of its line)
CASES = [
    ("sound, 32-bit", package(), "i386", 0, "holds README.txt, kestrivane-table.exe, kestrivane.exe, for i386"),
    ("sound, 64-bit", package("amd64"), "amd64", 0, "for amd64"),
    ("64-bit programs for 32 bits", package("amd64"), "i386", 1, "kestrivane.exe: machine 0x8664, not i386"),
    ("no table tool", package(changes={"kestrivane-table.exe": None}), "i386", 1, "kestrivane-table.exe is there 0"),
    ("two READMEs", package(changes={"doc/README.txt": README}), "i386", 1, "README.txt is there 2 times"),
    ("a console editor", package(changes={"kestrivane.exe": program("i386", CONSOLE)}), "i386", 1, "subsystem 3"),
    ("an editor that is no program", package(changes={"kestrivane.exe": b"MZ"}), "i386", 1, "kestrivane.exe is no"),
    ("an empty README", package(changes={"README.txt": b""}), "i386", 1, "README.txt is empty"),
    ("Unix line ends", package(changes={"README.txt": README.replace(b"\r", b"")}), "i386", 1, "without Windows line"),
    ("no version", package(changes={"README.txt": b"Kestrivane @PROJECT_VERSION@\r\n"}), "i386", 1, "placeholder"),
]


class PackageCheckTest(unittest.TestCase):
    def test_cases(self):
        for what, files, processor, expected_code, words in CASES:
            with self.subTest(what), tempfile.TemporaryDirectory() as folder:
                path = os.path.join(folder, "kestrivane-1.0.0.1-win32.zip")
                with zipfile.ZipFile(path, "w") as archive:
                    for name, data in files.items():
                        archive.writestr("kestrivane-1.0.0.1-win32/" + name, data)
                with contextlib.redirect_stdout(io.StringIO()) as line:
                    code = check_package.main([path, processor])
                self.assertEqual(code, expected_code, line.getvalue())
                self.assertIn(words, line.getvalue())


if __name__ == "__main__":
    unittest.main()
