#!/usr/bin/env python3
"""Crops a 24/32-bit XWD screen dump (as Xvfb -fbdir writes it) to a rectangle and saves a PNG.

usage: xwd_to_png.py DUMP OUT.png [X Y WIDTH HEIGHT]
Prints how many pure-red-ish pixels the crop holds, so that callers can check the differences
are drawn in red.
"""
import struct
import sys
import zlib


def read_xwd(path):
    data = open(path, "rb").read()
    fields = struct.unpack(">25I", data[:100])
    header_size, _, _, _, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    red_mask, green_mask, blue_mask = fields[14:17]
    ncolors = fields[19]
    if bits_per_pixel != 32:
        sys.exit(f"only 32 bits per pixel are supported, not {bits_per_pixel}")
    pixels = data[header_size + 12 * ncolors:]
    order = "<" if byte_order == 0 else ">"

    def shift(mask):
        return (mask & -mask).bit_length() - 1

    shifts = [shift(m) for m in (red_mask, green_mask, blue_mask)]

    def pixel(x, y):
        (value,) = struct.unpack_from(order + "I", pixels, y * bytes_per_line + 4 * x)
        return tuple((value >> s) & 0xFF for s in shifts)

    return width, height, pixel


def write_png(path, width, height, rows):
    raw = b"".join(b"\x00" + bytes(row) for row in rows)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(raw, 6)))
        out.write(chunk(b"IEND", b""))


def main():
    width, height, pixel = read_xwd(sys.argv[1])
    x0, y0, w, h = (int(v) for v in sys.argv[3:7]) if len(sys.argv) >= 7 else (0, 0, width, height)
    w, h = min(w, width - x0), min(h, height - y0)
    red = 0
    rows = []
    for y in range(y0, y0 + h):
        row = []
        for x in range(x0, x0 + w):
            r, g, b = pixel(x, y)
            red += r > 180 and g < 90 and b < 90
            row.extend((r, g, b))
        rows.append(row)
    write_png(sys.argv[2], w, h, rows)
    print(red)


if __name__ == "__main__":
    main()
