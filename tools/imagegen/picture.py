"""An RGBA picture held as a flat list of (r, g, b, a) tuples, with the few edits the recipes use."""
import subprocess

TRANSPARENT = (0, 0, 0, 0)


class Picture:
    def __init__(self, width, height, pixels=None):
        self.width = width
        self.height = height
        self.pixels = list(pixels) if pixels is not None else [TRANSPARENT] * (width * height)
        if len(self.pixels) != width * height:
            raise ValueError("pixel count does not match %dx%d" % (width, height))

    def copy(self):
        return Picture(self.width, self.height, self.pixels)

    def get(self, x, y):
        return self.pixels[y * self.width + x]

    def put(self, x, y, rgba):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = rgba

    def coordinates(self, region=None):
        x0, y0, w, h = region or (0, 0, self.width, self.height)
        for y in range(max(y0, 0), min(y0 + h, self.height)):
            for x in range(max(x0, 0), min(x0 + w, self.width)):
                yield x, y

    def over(self, top, dx=0, dy=0):
        """Draws top onto this picture with its top-left corner at (dx, dy)."""
        for y in range(top.height):
            for x in range(top.width):
                tx, ty = x + dx, y + dy
                if 0 <= tx < self.width and 0 <= ty < self.height:
                    self.put(tx, ty, blend(top.get(x, y), self.get(tx, ty)))

    def crop(self, x0, y0, w, h):
        return Picture(w, h, [self.get(x, y) for y in range(y0, y0 + h) for x in range(x0, x0 + w)])

    def mirrored(self):
        return Picture(self.width, self.height,
                       [self.get(self.width - 1 - x, y) for y in range(self.height) for x in range(self.width)])

    def map(self, change, region=None):
        for x, y in self.coordinates(region):
            self.put(x, y, change(self.get(x, y)))


def blend(top, bottom):
    """Porter-Duff 'over' on unpremultiplied 8-bit RGBA."""
    ta, ba = top[3] / 255, bottom[3] / 255
    a = ta + ba * (1 - ta)
    if a == 0:
        return TRANSPARENT
    rgb = tuple(round((t * ta + b * ba * (1 - ta)) / a) for t, b in zip(top[:3], bottom[:3]))
    return rgb + (round(a * 255),)


def shade(factor):
    def change(p):
        return tuple(round(c * factor) for c in p[:3]) + (p[3],)
    return change


# Hue, lightness and saturation are computed here rather than with colorsys, whose rounding
# has changed between Python releases: the strips must come out byte for byte the same.
def to_hls(rgb):
    """(r, g, b) in 0..255 to (hue in degrees, lightness 0..1, saturation 0..1)."""
    r, g, b = (c / 255 for c in rgb)
    high, low = max(r, g, b), min(r, g, b)
    lightness = (high + low) / 2
    if high == low:
        return 0.0, lightness, 0.0
    span = high - low
    saturation = span / (high + low) if lightness <= 0.5 else span / (2 - high - low)
    if high == r:
        hue = (g - b) / span % 6
    elif high == g:
        hue = (b - r) / span + 2
    else:
        hue = (r - g) / span + 4
    return hue * 60, lightness, saturation


def from_hls(hue, lightness, saturation):
    chroma = (1 - abs(2 * lightness - 1)) * saturation
    sector = hue % 360 / 60
    second = chroma * (1 - abs(sector % 2 - 1))
    r, g, b = [(chroma, second, 0), (second, chroma, 0), (0, chroma, second),
               (0, second, chroma), (second, 0, chroma), (chroma, 0, second)][int(sector) % 6]
    base = lightness - chroma / 2
    return tuple(round((c + base) * 255) for c in (r, g, b))


def rotate_hue(degrees, min_saturation=0.2):
    """Turns the hue of coloured pixels; greys and whites stay as they are."""
    def change(p):
        h, l, s = to_hls(p[:3])
        if s < min_saturation or p[3] == 0:
            return p
        return from_hls(h + degrees, l, s) + (p[3],)
    return change


def keep_hue(low, high, min_saturation=0.2):
    """Clears every pixel that is not coloured with a hue between low and high degrees."""
    def change(p):
        h, l, s = to_hls(p[:3])
        return p if s >= min_saturation and low <= h <= high else TRANSPARENT
    return change


def luminance(p):
    return 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2]


def tint(colour, below=256):
    """Recolours by brightness: black stays black, mid grey becomes colour, white stays white.
    Meant for grey artwork that should take a colour while keeping its shading; pixels at or
    above the luminance 'below' are left alone."""
    def change(p):
        if p[3] == 0 or luminance(p) >= below:
            return p
        lum = luminance(p) / 255
        if lum < 0.5:
            rgb = [c * lum * 2 for c in colour]
        else:
            rgb = [c + (255 - c) * (lum * 2 - 1) for c in colour]
        return tuple(round(c) for c in rgb) + (p[3],)
    return change


def replace(old, new, tolerance=0):
    """Replaces one colour (within tolerance per channel) by another."""
    def change(p):
        if p[3] and all(abs(a - b) <= tolerance for a, b in zip(p[:3], old)):
            return tuple(new) + (p[3],)
        return p
    return change


def load_png(path):
    """Reads a PNG with ImageMagick as raw unpremultiplied 8-bit RGBA."""
    size = subprocess.run(["identify", "-format", "%w %h", path + "[0]"],
                          check=True, capture_output=True, text=True).stdout.split()
    width, height = int(size[0]), int(size[1])
    raw = subprocess.run(["convert", path + "[0]", "-depth", "8", "rgba:-"],
                         check=True, capture_output=True).stdout
    if len(raw) != width * height * 4:
        raise ValueError("%s: unexpected raw size %d" % (path, len(raw)))
    return Picture(width, height, [tuple(raw[i:i + 4]) for i in range(0, len(raw), 4)])
