"""The maker's logo for the about dialog: a triskele over the word KELTO, drawn from strokes on a
white ground (white is what the dialog shows through), and its 24-bit Windows bitmap file.

Strokes are round-capped lines, rasterised on a three-times finer grid; a pixel takes a stroke's
colour when most of its nine samples are covered, so edges stay hard and no blend of a colour
with the white ground appears."""
import math
import struct

from .picture import Picture

WIDTH, HEIGHT = 265, 146
WHITE = (255, 255, 255)
GREEN = (30, 110, 60)
GOLD = (214, 140, 20)
INK = (38, 50, 56)
SAMPLES = 3  # per pixel side

# The drawing stays left of x = 230: the product name label covers the picture's right edge.
EMBLEM_CENTRE = (115.0, 47.0)
EMBLEM_RADIUS = 41.0
WORD_TOP, WORD_HEIGHT, WORD_STROKE = 95.0, 42.0, 8.0


class Canvas:
    def __init__(self):
        self.w, self.h = WIDTH * SAMPLES, HEIGHT * SAMPLES
        self.cells = [None] * (self.w * self.h)

    def stroke(self, points, width, colour):
        """A polyline of round-capped segments, in pixel coordinates."""
        r = width / 2 * SAMPLES
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            self._segment(x0 * SAMPLES, y0 * SAMPLES, x1 * SAMPLES, y1 * SAMPLES, r, colour)

    def _segment(self, x0, y0, x1, y1, r, colour):
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy
        for sy in range(max(0, int(min(y0, y1) - r)), min(self.h, int(max(y0, y1) + r) + 2)):
            for sx in range(max(0, int(min(x0, x1) - r)), min(self.w, int(max(x0, x1) + r) + 2)):
                px, py = sx + 0.5, sy + 0.5
                t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / length2))
                ex, ey = px - (x0 + t * dx), py - (y0 + t * dy)
                if ex * ex + ey * ey <= r * r:
                    self.cells[sy * self.w + sx] = colour

    def picture(self):
        pixels = []
        for y in range(HEIGHT):
            for x in range(WIDTH):
                counts = {}
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        c = self.cells[(y * SAMPLES + sy) * self.w + x * SAMPLES + sx]
                        counts[c] = counts.get(c, 0) + 1
                colour, count = max(counts.items(), key=lambda item: (item[1], item[0] is not None))
                pixels.append((colour if colour and count * 2 > SAMPLES * SAMPLES else WHITE) + (255,))
        return Picture(WIDTH, HEIGHT, pixels)


def arc(cx, cy, r, start, end, steps=48):
    return [(cx + r * math.cos(start + (end - start) * i / steps), cy + r * math.sin(start + (end - start) * i / steps))
            for i in range(steps + 1)]


def triskele(canvas):
    """Three spiral arms turning out of the centre, 120 degrees apart, in a ring."""
    cx, cy = EMBLEM_CENTRE
    turns = 1.15
    for arm, colour in enumerate((GREEN, GOLD, GREEN)):
        offset = arm * 2 * math.pi / 3
        points = []
        steps = 160
        for i in range(steps + 1):
            t = i / steps
            angle = offset + t * turns * 2 * math.pi
            r = (EMBLEM_RADIUS - 9) * t
            points.append((cx + r * math.cos(angle), cy + r * math.sin(angle)))
        canvas.stroke(points, 6.5, colour)
    canvas.stroke(arc(cx, cy, EMBLEM_RADIUS - 2, 0, 2 * math.pi, 120), 4, GREEN)


# Capital letters as strokes in a box one unit wide per unit of width and one unit high.
GLYPHS = {
    "K": (0.78, [[(0, 0), (0, 1)], [(0.72, 0), (0.06, 0.58)], [(0.26, 0.42), (0.74, 1)]]),
    "E": (0.66, [[(0.62, 0), (0, 0), (0, 1), (0.62, 1)], [(0, 0.5), (0.5, 0.5)]]),
    "L": (0.6, [[(0, 0), (0, 1), (0.58, 1)]]),
    "T": (0.74, [[(0, 0), (0.74, 0)], [(0.37, 0), (0.37, 1)]]),
    "O": None,  # an ellipse, below
}


def word(canvas, text, left):
    height, inset = WORD_HEIGHT, WORD_STROKE / 2
    x = left
    for letter in text:
        if letter == "O":
            w = 0.9 * height
            canvas.stroke(ellipse(x + w / 2, WORD_TOP + height / 2, w / 2 - inset, height / 2 - inset), WORD_STROKE,
                          INK)
        else:
            units, strokes = GLYPHS[letter]
            w = units * height
            for line in strokes:
                canvas.stroke([(x + inset + px / units * (w - 2 * inset), WORD_TOP + inset + py * (height - 2 * inset))
                               for px, py in line], WORD_STROKE, INK)
        x += w + 0.22 * height


def ellipse(cx, cy, rx, ry, steps=96):
    return [(cx + rx * math.cos(2 * math.pi * i / steps), cy + ry * math.sin(2 * math.pi * i / steps))
            for i in range(steps + 1)]


def word_width(text):
    total = 0.0
    for letter in text:
        total += (0.9 if letter == "O" else GLYPHS[letter][0]) * WORD_HEIGHT + 0.22 * WORD_HEIGHT
    return total - 0.22 * WORD_HEIGHT


def draw():
    canvas = Canvas()
    triskele(canvas)
    word(canvas, "KELTO", EMBLEM_CENTRE[0] - word_width("KELTO") / 2)
    return canvas.picture()


def bitmap_file(picture):
    """A bottom-up 24-bit BI_RGB Windows bitmap file of an opaque picture."""
    stride = (picture.width * 3 + 3) // 4 * 4
    rows = []
    for y in reversed(range(picture.height)):
        row = b"".join(bytes((b, g, r)) for r, g, b, _ in (picture.get(x, y) for x in range(picture.width)))
        rows.append(row + bytes(stride - len(row)))
    data = b"".join(rows)
    offset = 14 + 40
    return (struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
            + struct.pack("<IiiHHIIiiII", 40, picture.width, picture.height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
            + data)
