#!/usr/bin/env python3
"""Draws the window icon: two sheets of text side by side, one line on each marked red.

Writes app/resources/icon-16.png, icon-32.png and icon-64.png with the standard library only.
"""
import struct
import zlib
from pathlib import Path

INK = (70, 70, 80, 255)
RED = (220, 30, 30, 255)
PAPER = (255, 255, 255, 255)
EDGE = (40, 60, 110, 255)


def draw(size):
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    unit = size / 16.0

    def rect(x0, y0, x1, y1, colour):
        for y in range(int(y0 * unit), max(int(y0 * unit) + 1, int(y1 * unit))):
            for x in range(int(x0 * unit), max(int(x0 * unit) + 1, int(x1 * unit))):
                if 0 <= x < size and 0 <= y < size:
                    px[y][x] = colour

    for left, marked in ((1, 2), (8.5, 3)):
        rect(left, 1, left + 6.5, 15, EDGE)
        rect(left + 0.5, 1.5, left + 6, 14.5, PAPER)
        for row in range(5):
            top = 3 + row * 2.2
            rect(left + 1.2, top, left + 5.3, top + 0.9, RED if row == marked else INK)
    return px


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
    for size in (16, 32, 64):
        (out / f"icon-{size}.png").write_bytes(png(draw(size)))
