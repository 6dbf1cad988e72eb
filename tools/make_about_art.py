#!/usr/bin/env python3
"""Builds the about dialog's pictures: the module's five hand cursors from the pixel art of
resources/about/cursors/*.txt ('X' black, 'o' white, '.' transparent), and the maker's logo,
drawn by tools/imagegen/logo.py. The results are committed; run this after changing a drawing
and commit what it writes. Same inputs, same bytes. Needs nothing but Python 3.

  make_about_art.py                  writes resources/about/cursors/*.cur and kelto-logo.bmp
  make_about_art.py --preview DIR    also writes enlarged PNGs of them to DIR, for review
"""
import argparse
import os

from imagegen import cursor, logo, pixelart, png

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ABOUT = os.path.join(ROOT, "resources", "about")
CURSORS = os.path.join(ABOUT, "cursors")

# Drawing, hot spot (x, y); the resource names are in resources/About.rc.
HAND_CURSORS = [
    ("hand-point", (6, 0)),          # PRO_HANDPOINT
    ("small-hand-point", (13, 9)),   # PRO_SMALLHANDPOINT
    ("grab-hand", (4, 2)),           # PRO_GRABHAND
    ("grab-hand-arrow", (0, 0)),     # PRO_GRABHANDARROW
    ("drag-hand", (0, 0)),           # PRO_DRAGHAND
]


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def preview(picture, path, scale, ground=(255, 255, 164), hotspot=None):
    """An enlarged PNG on the dialog's colour, the hot spot marked red."""
    def rgb_at(x, y):
        px, py = x // scale, y // scale
        if hotspot == (px, py):
            return (255, 0, 0)
        r, g, b, a = picture.get(px, py)
        return ground if a == 0 or (hotspot is None and (r, g, b) == (255, 255, 255)) else (r, g, b)
    write(path, png.encode_rgb(picture.width * scale, picture.height * scale, rgb_at))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--preview", metavar="DIR")
    args = parser.parse_args()
    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
    for name, hotspot in HAND_CURSORS:
        picture = pixelart.load(os.path.join(CURSORS, name + ".txt"))
        write(os.path.join(CURSORS, name + ".cur"), cursor.cursor_file(picture, hotspot))
        if args.preview:
            preview(picture, os.path.join(args.preview, name + ".png"), 8, hotspot=hotspot)
    picture = logo.draw()
    write(os.path.join(ABOUT, "kelto-logo.bmp"), logo.bitmap_file(picture))
    if args.preview:
        preview(picture, os.path.join(args.preview, "kelto-logo.png"), 2)


if __name__ == "__main__":
    main()
