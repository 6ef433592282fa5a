#!/usr/bin/env python3
"""Draws the hand pointer the buttons show: a 32 by 32 cursor file with its hot spot at the tip
of the index finger.

Writes dist/HAND-M.CUR with the standard library only.
"""
import struct
from pathlib import Path

# X outline, o fill, anything else transparent.
HAND = """
.....XX..........
....XooX.........
....XooX.........
....XooX.........
....XooX.........
....XooXXX.......
....XooXooXXX....
....XooXooXooXX..
....XooXooXooXoX.
XX..XooooooooXooX
XooXXoooooooooooX
XoooXoooooooooooX
.XooooooooooooooX
..XoooooooooooooX
..XooooooooooooX.
...XoooooooooooX.
...XooooooooooX..
....XoooooooooX..
....XoooooooooX..
.....XooooooooX..
.....XooooooooX..
.....XXXXXXXXXX..
""".split()
SIZE = 32
HOT_SPOT = (5, 0)
COLOURS = {"X": (0, 0, 0, 255), "o": (255, 255, 255, 255)}


def pixels():
    """Rows from the top, each SIZE (red, green, blue, alpha) values."""
    rows = [[COLOURS.get(mark, (0, 0, 0, 0)) for mark in line.ljust(SIZE, ".")] for line in HAND]
    return rows + [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE - len(rows))]


def cursor_file(rows):
    # A device-independent bitmap as icon files hold it: the colour rows bottom up, in blue,
    # green, red, alpha order, then a mask of one bit a pixel (1 = transparent), also bottom up.
    colour = b"".join(struct.pack("4B", b, g, r, a) for row in reversed(rows) for r, g, b, a in row)
    mask = b""
    for row in reversed(rows):
        bits = "".join("0" if a else "1" for _, _, _, a in row)
        mask += int(bits, 2).to_bytes(SIZE // 8, "big")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 32, 0, len(colour) + len(mask),
                         0, 0, 0, 0)
    image = header + colour + mask
    directory = struct.pack("<HHH", 0, 2, 1)  # reserved, type 2 = cursor, one image
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, *HOT_SPOT, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    out = Path(__file__).resolve().parent.parent / "dist" / "HAND-M.CUR"
    out.write_bytes(cursor_file(pixels()))
