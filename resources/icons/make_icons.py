#!/usr/bin/env python3
"""Draws the application icon: a small stippled blob in the editor's four grays on a teal
tile, 16 x 16 pixels, written enlarged pixel for pixel as PNGs of the hicolor sizes and as
an SVG. Run it from anywhere; it writes next to itself.

    python3 resources/icons/make_icons.py
"""

import os
import struct
import zlib

SIZE = 16
SCALES = (1, 2, 3, 4, 8, 16)  # 16, 32, 48, 64, 128 and 256 pixels

COLOURS = {
    "T": (0x00, 0x5A, 0x5A, 255),  # edge of the tile, and the blob's shadow
    "t": (0x00, 0x80, 0x80, 255),  # the editor's transparent teal
    "k": (0x00, 0x00, 0x00, 255),
    "g": (0x80, 0x80, 0x80, 255),
    "l": (0xC0, 0xC0, 0xC0, 255),
    "w": (0xFF, 0xFF, 0xFF, 255),
    ".": (0, 0, 0, 0),
}

# The blob's columns per row, inclusive.
BLOB = {3: (6, 9), 4: (4, 11), 5: (3, 12), 6: (3, 12), 7: (2, 13), 8: (2, 13), 9: (2, 13),
        10: (2, 13), 11: (2, 13), 12: (3, 12)}
EYES = {(5, 7), (5, 8), (10, 7), (10, 8)}
SHADOW = {(x, 13) for x in range(4, 12)}


def in_blob(x, y):
    return y in BLOB and BLOB[y][0] <= x <= BLOB[y][1]


def shade(x, y):
    """Lit from the top left; the steps between two grays are stippled as a checkerboard."""
    d = ((x - 5.0) ** 2 + (y - 5.0) ** 2) ** 0.5
    checker = (x + y) % 2 == 0
    if d < 1.6:
        return "w"
    if d < 3.0:
        return "w" if checker else "l"
    if d < 4.6:
        return "l"
    if d < 6.2:
        return "l" if checker else "g"
    return "g"


def letters():
    rows = []
    for y in range(SIZE):
        row = ""
        for x in range(SIZE):
            corner = (x in (0, SIZE - 1)) and (y in (0, SIZE - 1))
            edge = x in (0, SIZE - 1) or y in (0, SIZE - 1)
            if corner:
                ch = "."
            elif in_blob(x, y):
                outline = not all(in_blob(x + dx, y + dy)
                                  for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                ch = "k" if outline or (x, y) in EYES else shade(x, y)
            elif edge or (x, y) in SHADOW:
                ch = "T"
            else:
                ch = "t"
            row += ch
        rows.append(row)
    return rows


def png(rows, scale):
    size = SIZE * scale
    raw = b""
    for row in rows:
        line = b"\x00" + b"".join(bytes(COLOURS[ch]) * scale for ch in row)
        raw += line * scale

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def svg(rows):
    rects = []
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch != ".":
                r, g, b, _ = COLOURS[ch]
                rects.append(f'<rect x="{x}" y="{y}" width="1" height="1" '
                             f'fill="#{r:02x}{g:02x}{b:02x}"/>')
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
            'viewBox="0 0 16 16" shape-rendering="crispEdges">\n'
            + "\n".join(rects) + "\n</svg>\n")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    rows = letters()
    for scale in SCALES:
        with open(os.path.join(here, f"stippleworkshop-{SIZE * scale}.png"), "wb") as f:
            f.write(png(rows, scale))
    with open(os.path.join(here, "stippleworkshop.svg"), "w") as f:
        f.write(svg(rows))
    print("\n".join(rows))


if __name__ == "__main__":
    main()
