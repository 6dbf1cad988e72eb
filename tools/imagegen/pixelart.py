"""Pixel art kept as text: '#' comments, a legend of 'c = RRGGBB' lines, then one line of
characters per pixel row ('.' is transparent). Text keeps the drawings reviewable in diffs."""
from .picture import Picture, TRANSPARENT

LEGEND_CHARS = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789@$%&*+=-"


def parse(text, name="<text>"):
    legend = {".": TRANSPARENT}
    rows = []
    for number, line in enumerate(text.splitlines(), 1):
        stripped = line.strip()
        if not stripped or stripped.startswith("#"):
            continue
        if " = " in stripped:
            char, colour = (part.strip() for part in stripped.split(" = ", 1))
            if len(char) != 1 or char == "." or len(colour) not in (6, 8):
                raise ValueError("%s:%d: bad legend line" % (name, number))
            value = bytes.fromhex(colour)
            legend[char] = tuple(value) + ((255,) if len(value) == 3 else ())
            continue
        rows.append((number, stripped))
    if not rows:
        raise ValueError("%s: no pixel rows" % name)
    width = len(rows[0][1])
    pixels = []
    for number, row in rows:
        if len(row) != width:
            raise ValueError("%s:%d: row is %d wide, expected %d" % (name, number, len(row), width))
        for char in row:
            if char not in legend:
                raise ValueError("%s:%d: '%s' is not in the legend" % (name, number, char))
            pixels.append(legend[char])
    return Picture(width, len(rows), pixels)


def load(path):
    with open(path, encoding="utf-8") as f:
        return parse(f.read(), path)


def dump(picture, alpha_threshold=128):
    """Writes a picture as text (a starting point for redrawing a Silk picture by hand).
    Colours are rounded more coarsely until the legend characters suffice; pixels below the
    alpha threshold become '.'."""
    for step in range(1, 256):
        text = _dump(picture, alpha_threshold, step)
        if text is not None:
            return text
    raise ValueError("picture cannot be dumped")


def _dump(picture, alpha_threshold, step):
    legend = {}
    rows = []
    for y in range(picture.height):
        row = ""
        for x in range(picture.width):
            p = picture.get(x, y)
            if p[3] < alpha_threshold:
                row += "."
                continue
            rgb = tuple(min(255, round(c / step) * step) for c in p[:3])
            if rgb not in legend:
                if len(legend) == len(LEGEND_CHARS):
                    return None
                legend[rgb] = LEGEND_CHARS[len(legend)]
            row += legend[rgb]
        rows.append(row)
    lines = ["%s = %02x%02x%02x" % ((char,) + rgb) for rgb, char in legend.items()]
    return "\n".join(lines + [""] + rows) + "\n"
