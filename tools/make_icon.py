#!/usr/bin/env python3
"""Draws the program's icon: two sheets of text side by side, one line on each marked red.

Writes app/resources/icon-SIZE.png for every size a desktop's icon theme asks for, and the same
drawing as icon.svg, with the standard library only.
"""
import struct
import zlib
from pathlib import Path

INK = (70, 70, 80, 255)
RED = (220, 30, 30, 255)
PAPER = (255, 255, 255, 255)
EDGE = (40, 60, 110, 255)


SIZES = (16, 32, 48, 64, 128, 256)


def shapes():
    """The drawing as rectangles (x0, y0, x1, y1, colour) on a 16 by 16 grid, back to front."""
    for left, marked in ((1, 2), (8.5, 3)):
        yield left, 1, left + 6.5, 15, EDGE
        yield left + 0.5, 1.5, left + 6, 14.5, PAPER
        for row in range(5):
            top = 3 + row * 2.2
            yield left + 1.2, top, left + 5.3, top + 0.9, RED if row == marked else INK


def draw(size):
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    unit = size / 16.0
    for x0, y0, x1, y1, colour in shapes():
        for y in range(int(y0 * unit), max(int(y0 * unit) + 1, int(y1 * unit))):
            for x in range(int(x0 * unit), max(int(x0 * unit) + 1, int(x1 * unit))):
                if 0 <= x < size and 0 <= y < size:
                    px[y][x] = colour
    return px


def svg():
    rects = "".join(
        f'  <rect x="{x0:g}" y="{y0:g}" width="{x1 - x0:g}" height="{y1 - y0:g}" '
        f'fill="#{r:02x}{g:02x}{b:02x}"/>\n'
        for x0, y0, x1, y1, (r, g, b, _) in shapes())
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
            'viewBox="0 0 16 16">\n' + rects + "</svg>\n")


def png(px):
    size = len(px)
    raw = b"".join(b"\x00" + b"".join(struct.pack("4B", *p) for p in row) for row in px)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    out = Path(__file__).resolve().parent.parent / "app" / "resources"
    for size in SIZES:
        (out / f"icon-{size}.png").write_bytes(png(draw(size)))
    (out / "icon.svg").write_text(svg())
