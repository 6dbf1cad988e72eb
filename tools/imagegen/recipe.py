"""How one picture is made, as written in the mapping's recipe column.

A recipe is a chain of steps joined by ' | '. The first step names the starting picture:
  folder.png             a Silk picture
  open-folder.txt        a drawing of resources/images/drawn/
The other steps change it; REGION is x,y,width,height (the whole picture when left out):
  over SOURCE X Y        draws SOURCE on top, its top-left corner at X,Y
  under SOURCE X Y       the same, behind what is there
  shift DX DY            moves the picture so far by DX,DY (what leaves the frame is lost)
  shade FACTOR [REGION]  darkens (FACTOR < 1)
  hue DEGREES [REGION]   turns the hue of coloured pixels, greys stay
  tint RRGGBB [REGION] [below LUMINANCE]
                         colours grey artwork keeping its shading; with 'below', only pixels
                         darker than LUMINANCE (0-255)
  recolour RRGGBB RRGGBB TOLERANCE [REGION]
                         replaces one colour by another
  mirror [REGION]        flips left to right
  keep-hue FROM TO       keeps only coloured pixels whose hue (degrees) lies in FROM..TO,
                         to lift a badge off the picture it was drawn on
An empty recipe means the row's Silk file as it is.
"""
import os

from . import picture as pic
from . import pixelart


class Sources:
    """Finds the pictures a recipe names: Silk PNGs and the repository's drawings."""

    def __init__(self, silk_dir, drawn_dir):
        self.silk_dir = silk_dir
        self.drawn_dir = drawn_dir
        self._cache = {}

    def load(self, name):
        if name not in self._cache:
            self._cache[name] = self._load(name)
        return self._cache[name].copy()

    def _load(self, name):
        if name.endswith(".png"):
            return pic.load_png(os.path.join(self.silk_dir, name))
        if name.endswith(".txt"):
            return pixelart.load(os.path.join(self.drawn_dir, name))
        raise ValueError("unknown picture source '%s'" % name)


def parse_numbers(text):
    return tuple(int(n) for n in text.split(","))


def parse_region(words):
    return parse_numbers(words[0]) if words else None


def make(recipe, sources):
    steps = [step.split() for step in recipe.split(" | ")]
    first = steps[0]
    if len(first) != 1:
        raise ValueError("a recipe starts with one picture: '%s'" % recipe)
    picture = sources.load(first[0])
    for step in steps[1:]:
        picture = apply(picture, step[0], step[1:], sources)
    return picture


def apply(picture, verb, args, sources):
    if verb == "over":
        picture.over(sources.load(args[0]), int(args[1]), int(args[2]))
    elif verb == "under":
        result = pic.Picture(picture.width, picture.height)
        result.over(sources.load(args[0]), int(args[1]), int(args[2]))
        result.over(picture)
        picture = result
    elif verb == "shift":
        result = pic.Picture(picture.width, picture.height)
        result.over(picture, int(args[0]), int(args[1]))
        picture = result
    elif verb == "shade":
        picture.map(pic.shade(float(args[0])), parse_region(args[1:]))
    elif verb == "hue":
        picture.map(pic.rotate_hue(float(args[0])), parse_region(args[1:]))
    elif verb == "tint":
        colour = tuple(bytes.fromhex(args[0]))
        region = parse_region(args[1:2])
        below = int(args[3]) if len(args) > 3 and args[2] == "below" else 256
        picture.map(pic.tint(colour, below), region)
    elif verb == "recolour":
        old, new = tuple(bytes.fromhex(args[0])), tuple(bytes.fromhex(args[1]))
        picture.map(pic.replace(old, new, int(args[2])), parse_region(args[3:]))
    elif verb == "mirror":
        region = parse_region(args) or (0, 0, picture.width, picture.height)
        flipped = picture.crop(*region).mirrored()
        for x, y in flipped.coordinates():
            picture.put(region[0] + x, region[1] + y, flipped.get(x, y))
    elif verb == "keep-hue":
        picture.map(pic.keep_hue(float(args[0]), float(args[1])))
    else:
        raise ValueError("unknown recipe step '%s'" % verb)
    return picture
