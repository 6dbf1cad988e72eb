"""docs/images.png: every picture of both lists at twice its size with its index under it."""
from . import font
from . import png

BACKGROUND = (246, 246, 240)
FRAME = (208, 208, 200)
HEADING = (32, 32, 32)
ORIGIN_COLOURS = {"silk": (40, 40, 40), "composed": (20, 80, 200), "drawn": (200, 40, 30)}
LEGEND = [("silk", "Silk"), ("composed", "Silk, adjusted or composed"), ("drawn", "drawn")]
CREDIT = "Silk icons by Mark James, CC BY 3.0"

SCALE = 2
COLUMNS = 12
CELL_W, CELL_H = 56, 62
MARGIN = 16
HEADING_H = 34


class Canvas:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.rows = [[BACKGROUND] * width for _ in range(height)]

    def put(self, x, y, rgb):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = rgb

    def text(self, x, y, text, rgb, scale):
        font.draw_text(lambda px, py: self.put(px, py, rgb), x, y, text, scale)


def _draw_picture(canvas, left, top, picture):
    for x in range(-1, 16 * SCALE + 1):
        canvas.put(left + x, top - 1, FRAME)
        canvas.put(left + x, top + 16 * SCALE, FRAME)
    for y in range(-1, 16 * SCALE + 1):
        canvas.put(left - 1, top + y, FRAME)
        canvas.put(left + 16 * SCALE, top + y, FRAME)
    for y in range(16):
        for x in range(16):
            rgb = picture.colour(x, y)
            if rgb is None:
                continue
            for dy in range(SCALE):
                for dx in range(SCALE):
                    canvas.put(left + x * SCALE + dx, top + y * SCALE + dy, rgb)


def render(sections):
    """sections: [(heading, [(index, picture, origin)])]; picture.colour(x, y) gives the RGB
    of an opaque pixel or None where it is transparent."""
    width = MARGIN * 2 + COLUMNS * CELL_W
    height = MARGIN
    for _, items in sections:
        height += HEADING_H + (len(items) + COLUMNS - 1) // COLUMNS * CELL_H + MARGIN
    height += 24 + 18 + MARGIN
    canvas = Canvas(width, height)

    top = MARGIN
    for heading, items in sections:
        canvas.text(MARGIN, top, heading, HEADING, 2)
        top += HEADING_H
        for n, (index, picture, origin) in enumerate(items):
            left = MARGIN + n % COLUMNS * CELL_W
            cell_top = top + n // COLUMNS * CELL_H
            _draw_picture(canvas, left + (CELL_W - 16 * SCALE) // 2, cell_top + 2, picture)
            label = str(index)
            canvas.text(left + (CELL_W - font.text_width(label, 2)) // 2, cell_top + 16 * SCALE + 10,
                        label, ORIGIN_COLOURS[origin], 2)
        top += (len(items) + COLUMNS - 1) // COLUMNS * CELL_H + MARGIN

    left = MARGIN
    for text, colour in [("Index colour:", HEADING)] + [(words, ORIGIN_COLOURS[o]) for o, words in LEGEND]:
        canvas.text(left, top, text, colour, 2)
        left += font.text_width(text, 2) + 24
    canvas.text(MARGIN, top + 24, CREDIT, HEADING, 2)

    return png.encode_rgb(width, height, lambda x, y: bytes(canvas.rows[y][x]))
