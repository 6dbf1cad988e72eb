#!/usr/bin/env python3
"""Writes the picture files the Wine image tests load, next to this script.

Plain Python (struct, zlib): the bytes are laid out by hand so that each file is exactly the
kind the tests name (a PNG entry really is PNG, the cursor really has type 2...).
Run it again after changing a picture here, and commit the files it writes.

Pictures are functions of (x, y), y from the top, giving (r, g, b, a); a = 0 is transparent.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

MAGENTA = (255, 0, 255, 255)
WHITE = (255, 255, 255, 255)
CLEAR = (0, 0, 0, 0)


def rgb(value, alpha=255):
    return (value >> 16 & 0xFF, value >> 8 & 0xFF, value & 0xFF, alpha)


# The colours the tests look for when they draw the images (0xRRGGBB).
ORANGE, GREEN, RED, BLUE = 0xFF8000, 0x008000, 0xC00000, 0x0000C0
MULTI_16, MULTI_32, MULTI_48 = 0x00C000, 0xC0C000, 0x00C0C0
STRIP = (0xFF0000, 0x00FF00, 0x0000FF)


def quadrants(top_right, bottom_right, size):
    """Left half transparent; the right half top_right above, bottom_right below."""
    half = size // 2

    def pixel(x, y):
        if x < half:
            return CLEAR
        return rgb(top_right if y < half else bottom_right)

    return pixel


def solid(colour):
    return lambda x, y: rgb(colour)


def rows_bottom_up(width, height, pixel, bits):
    """DIB colour rows, bottom row first, each padded to 4 bytes."""
    stride = (width * bits + 31) // 32 * 4
    out = bytearray()
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b, a = pixel(x, y)
            row += bytes((b, g, r, a)) if bits == 32 else bytes((b, g, r))
        out += row + bytes(stride - len(row))
    return bytes(out)


def and_mask(width, height, pixel):
    """The 1-bit AND mask of an icon entry: 1 where transparent, bottom row first."""
    stride = (width + 31) // 32 * 4
    out = bytearray()
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            if pixel(x, y)[3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def info_header(width, height, bits):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, 0, 0, 0, 0, 0)


def bmp(width, height, pixel):
    """A 24-bit BMP file."""
    pixels = rows_bottom_up(width, height, pixel, 24)
    offset = 14 + 40
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info_header(width, height, 24) + pixels


def dib_entry(size, pixel, bits):
    """An icon entry in DIB form: the header counts colour and mask rows, then both follow."""
    return info_header(size, 2 * size, bits) + rows_bottom_up(size, size, pixel, bits) + and_mask(size, size, pixel)


def png(size, pixel):
    """An RGBA PNG."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(size)) for y in range(size))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


def ico(entries, kind=1):
    """An icon (kind 1) or cursor (kind 2) file from (size, bits, data) entries."""
    out = struct.pack("<HHH", 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    body = b""
    for size, bits, data in entries:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bits, len(data), offset + len(body))
        body += data
    return out + body


def files():
    icon16 = ico([(16, 32, dib_entry(16, quadrants(ORANGE, GREEN, 16), 32))])
    magenta16 = bmp(16, 16, lambda x, y: MAGENTA if x < 8 else rgb(RED if y < 8 else BLUE))

    def strip(x, y):
        cell, cx = divmod(x, 16)
        return rgb(STRIP[cell]) if 4 <= cx < 12 and 4 <= y < 12 else WHITE

    return {
        # 16 by 16, 32 bits with alpha: left half clear, orange over green on the right.
        "icon16-32bit.ico": icon16,
        # 32 by 32 stored as PNG: left half clear, red over blue on the right.
        "icon32-png.ico": ico([(32, 32, png(32, quadrants(RED, BLUE, 32)))]),
        # Three sizes, one colour each, the largest first; the 16 one is 24-bit and its AND mask
        # clears the left half.
        "icon-multi.ico": ico([
            (48, 32, dib_entry(48, solid(MULTI_48), 32)),
            (16, 24, dib_entry(16, quadrants(MULTI_16, MULTI_16, 16), 24)),
            (32, 32, dib_entry(32, solid(MULTI_32), 32)),
        ]),
        "icon8.ico": ico([(8, 32, dib_entry(8, solid(ORANGE), 32))]),
        # Left half magenta (its bottom-left pixel is the transparent colour), red over blue.
        "magenta16.bmp": magenta16,
        # Three images of 16 by 16: a red, a green and a blue square on white.
        "strip48x16.bmp": bmp(48, 16, strip),
        "bitmap8.bmp": bmp(8, 8, solid(RED)),
        "truncated.bmp": magenta16[:10],
        "not-a-bitmap.bmp": b"This is plain text, not a picture.\r\n",
        "short.ico": icon16[:4],
        "cursor.ico": ico([(16, 32, dib_entry(16, quadrants(ORANGE, GREEN, 16), 32))], kind=2),
        os.path.join("my.icons", "in-dotted-folder.ico"): icon16,
    }


def main():
    for name, data in files().items():
        path = os.path.join(HERE, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
