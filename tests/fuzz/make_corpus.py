#!/usr/bin/env python3
"""Writes the fuzzer's seed files into corpus/ beside this script: small
tileset files covering each branch of the loader."""

import pathlib
import struct


def field(text: bytes) -> bytes:
    assert len(text) <= 32
    return text + bytes(32 - len(text))


def header(count: int, slots_per_tileset: int) -> bytes:
    return struct.pack("<BI", count, slots_per_tileset)


def entry(name: bytes, ambient: int, slots: list, slots_per_tileset: int) -> bytes:
    fields = [field(slots[j] if j < len(slots) else b"") for j in range(slots_per_tileset)]
    return field(name) + bytes([ambient]) + b"".join(fields)


SEEDS = {
    "empty-table": header(0, 151),
    "count-only": bytes([3]),
    "two-slots": header(3, 2) + b"".join(entry(n, 7, [b"s0", b"s1"], 2) for n in (b"A", b"", b"C")),
    "no-slots": header(2, 0) + entry(b"Bare", 1, [], 0) + entry(b"Zero", 0, [], 0),
    "entries-missing": header(3, 1) + entry(b"One", 1, [b"x"], 1) + entry(b"Two", 2, [], 1),
    "cut-in-entry": (header(2, 4) + entry(b"Cut", 9, [b"a", b"b", b"c"], 4))[:5 + 33 + 40],
    "no-nul-and-high-bytes": header(1, 3) + b"N" * 32 + b"\xff" + b"S" * 32
    + field(bytes(range(0x80, 0x9f))) + field(b"ok\x00stale"),
    "full-entry": header(1, 151) + entry(b"Full", 255, [b"slot%d" % j for j in range(151)], 151),
    "too-many-slots": header(1, 152) + entry(b"Wide", 1, [b"a"], 152),
    "sound-with-stale-bytes": header(2, 151) + entry(b"Old\x00name", 4, [b"ok\x00stale", b"\x00gone"], 151)
    + entry(b"Second", 0, [b"x" * 31], 151),
}


def main() -> None:
    corpus = pathlib.Path(__file__).resolve().parent / "corpus"
    corpus.mkdir(exist_ok=True)
    for name, data in SEEDS.items():
        (corpus / name).write_bytes(data)


if __name__ == "__main__":
    main()
