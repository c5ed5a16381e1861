#!/usr/bin/env python3
"""Draws the application icon and writes res/kestrivane.ico.

Two images, 32 x 32 and 16 x 16, each 16 colours (4 bits per pixel) in the
standard palette: four tiles of a tileset in a dark frame, with a bold white
"K" across them. Run it again after changing the drawing; the .ico is
committed next to it.
"""
import struct
import sys
from pathlib import Path

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, GREEN, OLIVE, TEAL, NAVY, WHITE, GRAY = 0, 2, 3, 6, 4, 15, 8
TILE_COLOURS = [[GREEN, TEAL], [OLIVE, NAVY]]


def stroke_distance(px, py, ax, ay, bx, by):
    """Distance from a point to the segment a-b."""
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / float(dx * dx + dy * dy)))
    cx, cy = ax + t * dx, ay + t * dy
    return ((px - cx) ** 2 + (py - cy) ** 2) ** 0.5


def in_letter(size, x, y, grow):
    """Whether the pixel centre lies on the K, thickened by grow for its outline."""
    s = size / 32.0
    px, py = x + 0.5, y + 0.5
    half = 2.0 * s + grow
    strokes = [
        (10 * s, 7 * s, 10 * s, 25 * s),
        (12 * s, 16 * s, 22 * s, 7 * s),
        (14 * s, 15 * s, 22 * s, 25 * s),
    ]
    return any(stroke_distance(px, py, *stroke) <= half for stroke in strokes)


def draw(size):
    """The image as rows of palette indices, top row first."""
    half = size // 2
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            edge = x == 0 or y == 0 or x == size - 1 or y == size - 1
            seam = x in (half - 1, half) or y in (half - 1, half)
            if edge:
                colour = BLACK
            elif in_letter(size, x, y, 0.0):
                colour = WHITE
            elif in_letter(size, x, y, 1.0 if size >= 32 else 0.7):
                colour = BLACK
            elif seam and size >= 32:
                colour = GRAY
            else:
                colour = TILE_COLOURS[y * 2 // size][x * 2 // size]
            row.append(colour)
        pixels.append(row)
    return pixels


def padded(data):
    return data + b"\0" * (-len(data) % 4)


def image_bytes(size):
    """BITMAPINFOHEADER, palette, colour bits and an all-opaque mask, bottom row first."""
    pixels = draw(size)
    colour_rows = []
    for row in reversed(pixels):
        packed = bytes((row[x] << 4) | row[x + 1] for x in range(0, size, 2))
        colour_rows.append(padded(packed))
    mask_rows = [padded(b"\0" * (size // 8)) for _ in range(size)]
    colour = b"".join(colour_rows)
    mask = b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(colour) + len(mask), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + colour + mask


def icon_file(sizes):
    images = [image_bytes(size) for size in sizes]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, image in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return directory + entries + b"".join(images)


def main():
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name("kestrivane.ico")
    target.write_bytes(icon_file([32, 16]))


if __name__ == "__main__":
    main()
