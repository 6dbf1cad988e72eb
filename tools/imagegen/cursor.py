"""Windows cursor files (.cur) holding one 32x32 two-colour picture with transparency.

The picture's pixels are black, white or transparent; the file keeps them as a 1-bit colour
(XOR) bitmap over a 1-bit AND mask, the form every version of Windows loads."""
import struct

SIZE = 32
DIR = struct.Struct("<HHH")                 # ICONDIR: reserved, type (2: cursor), count
ENTRY = struct.Struct("<BBBBHHII")          # width, height, colours, reserved, hot x, hot y, size, offset
INFO_HEADER = struct.Struct("<IiiHHIIiiII")  # BITMAPINFOHEADER, 40 bytes
PALETTE = bytes([0, 0, 0, 0, 255, 255, 255, 0])  # index 0 black, index 1 white


def _kind(rgba):
    r, g, b, a = rgba
    if a == 0:
        return "transparent"
    if (r, g, b) == (0, 0, 0):
        return "black"
    if (r, g, b) == (255, 255, 255):
        return "white"
    raise ValueError("cursor pixels are black, white or transparent, not %02x%02x%02x" % (r, g, b))


def _rows(picture, bit_of):
    """Bottom-up rows of 1-bit pixels, 4 bytes each (32 pixels)."""
    data = bytearray()
    for y in reversed(range(SIZE)):
        row = bytearray(SIZE // 8)
        for x in range(SIZE):
            if bit_of(_kind(picture.get(x, y))):
                row[x // 8] |= 0x80 >> (x % 8)
        data += row
    return bytes(data)


def cursor_file(picture, hotspot):
    if (picture.width, picture.height) != (SIZE, SIZE):
        raise ValueError("cursor is %dx%d, not %dx%d" % (picture.width, picture.height, SIZE, SIZE))
    hot_x, hot_y = hotspot
    if not (0 <= hot_x < SIZE and 0 <= hot_y < SIZE):
        raise ValueError("hot spot %r lies outside the cursor" % (hotspot,))
    colour = _rows(picture, lambda kind: kind == "white")
    mask = _rows(picture, lambda kind: kind == "transparent")
    # The height counts both bitmaps, colour then mask.
    header = INFO_HEADER.pack(INFO_HEADER.size, SIZE, 2 * SIZE, 1, 1, 0, len(colour) + len(mask), 0, 0, 2, 0)
    image = header + PALETTE + colour + mask
    offset = DIR.size + ENTRY.size
    return (DIR.pack(0, 2, 1) + ENTRY.pack(SIZE, SIZE, 2, 0, hot_x, hot_y, len(image), offset) + image)
