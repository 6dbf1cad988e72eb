"""Windows BMP files for the image strips (a 32-bit colour strip and a 1-bit mask) and for the
toolbox picture (24-bit).

Both are bottom-up BITMAPINFOHEADER (40 bytes) files without compression, the form
LoadImage and ImageList_Add take without conversion."""
import struct

FILE_HEADER = struct.Struct("<2sIHHI")          # BITMAPFILEHEADER, 14 bytes
INFO_HEADER = struct.Struct("<IiiHHIIiiII")     # BITMAPINFOHEADER, 40 bytes
PIXELS_PER_METRE = 2835                         # 72 dpi, what paint programs write
MASK_PALETTE = bytes([0, 0, 0, 0, 255, 255, 255, 0])  # index 0 black, index 1 white


def _headers(width, height, bit_count, colours_used, image_size):
    palette_size = colours_used * 4
    offset = FILE_HEADER.size + INFO_HEADER.size + palette_size
    file_header = FILE_HEADER.pack(b"BM", offset + image_size, 0, 0, offset)
    info_header = INFO_HEADER.pack(INFO_HEADER.size, width, height, 1, bit_count, 0, image_size,
                                   PIXELS_PER_METRE, PIXELS_PER_METRE, colours_used, 0)
    return file_header + info_header


def colour_strip(width, height, colour_at):
    """colour_at(x, y) gives (r, g, b) for a pixel counted from the top-left corner."""
    rows = []
    for y in reversed(range(height)):
        rows.append(b"".join(bytes((b, g, r, 0)) for r, g, b in (colour_at(x, y) for x in range(width))))
    data = b"".join(rows)
    return _headers(width, height, 32, 0, len(data)) + data


def rgb_bitmap(width, height, colour_at):
    """A 24-bit picture, the plainest form a container's LoadBitmap takes; colour_at as above."""
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in reversed(range(height)):
        row = b"".join(bytes((b, g, r)) for r, g, b in (colour_at(x, y) for x in range(width)))
        rows.append(row + bytes(stride - len(row)))
    data = b"".join(rows)
    return _headers(width, height, 24, 0, len(data)) + data


def mask_strip(width, height, transparent_at):
    """transparent_at(x, y) is true where the mask is white (the picture does not cover)."""
    stride = (width + 31) // 32 * 4
    rows = []
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            if transparent_at(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
    data = b"".join(rows)
    return _headers(width, height, 1, 2, len(data)) + MASK_PALETTE + data


def describe(data):
    """Reads back the header fields that matter, checking they agree with the file."""
    magic, file_size, _, _, offset = FILE_HEADER.unpack_from(data, 0)
    (size, width, height, planes, bit_count, compression, image_size,
     _, _, colours_used, _) = INFO_HEADER.unpack_from(data, FILE_HEADER.size)
    stride = (width * bit_count + 31) // 32 * 4
    problems = []
    if magic != b"BM":
        problems.append("magic is %r" % magic)
    if file_size != len(data):
        problems.append("file size field %d, file is %d bytes" % (file_size, len(data)))
    if size != 40 or planes != 1 or compression != 0:
        problems.append("header size %d, planes %d, compression %d" % (size, planes, compression))
    if offset != FILE_HEADER.size + size + colours_used * 4:
        problems.append("pixel offset %d does not follow the palette" % offset)
    if image_size != stride * abs(height) or offset + image_size != len(data):
        problems.append("image size %d does not match %d rows of %d bytes" % (image_size, abs(height), stride))
    if height <= 0:
        problems.append("not bottom-up")
    return {"width": width, "height": height, "bit_count": bit_count, "offset": offset,
            "file_size": file_size, "colours_used": colours_used, "problems": problems}
