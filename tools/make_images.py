#!/usr/bin/env python3
"""Builds the tree control's built-in image strips and their gallery from the Silk PNGs and
the pixel art of resources/images/drawn, as resources/images/silk-mapping.csv says.

  make_images.py [--silk DIR]         writes the strips, docs/images.png and the toolbox picture
  make_images.py --dump SOURCE        prints a picture (e.g. folder.png) as text pixel art
"""
import argparse
import csv
import os
import sys

from imagegen import bmp, gallery, pixelart, recipe

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
IMAGES = os.path.join(ROOT, "resources", "images")
MAPPING = os.path.join(IMAGES, "silk-mapping.csv")
GALLERY = os.path.join(ROOT, "docs", "images.png")
TOOLBOX = os.path.join(ROOT, "resources", "toolbox")  # tree.txt in, tree.bmp out
TOOLBOX_SIZE = (16, 15)  # what designers' toolboxes show
LISTS = [("standard", "Standard list (ImageList1)"),
         ("alternate", "Alternate list (AlternateImageList)")]

SIZE = 16          # pixels per picture side
STRIP_COLUMNS = 4  # pictures per strip row
OPAQUE_FROM = 128  # alpha at and above which a pixel is drawn


class Cell:
    """A finished 16x16 picture: each pixel is opaque (with its colour) or transparent."""

    def __init__(self, picture):
        if (picture.width, picture.height) != (SIZE, SIZE):
            raise ValueError("picture is %dx%d, not %dx%d" % (picture.width, picture.height, SIZE, SIZE))
        self.picture = picture

    def colour(self, x, y):
        r, g, b, a = self.picture.get(x, y)
        return (r, g, b) if a >= OPAQUE_FROM else None


def origin(row):
    """Where a picture comes from, for the gallery: the Silk file as it is, a Silk picture
    adjusted or combined with others or with small drawn badges, or a drawing."""
    steps = row["recipe"]
    if not steps:
        return "silk"
    return "drawn" if steps.split()[0].endswith(".txt") else "composed"


def read_mapping():
    with open(MAPPING, newline="", encoding="utf-8") as f:
        rows = list(csv.DictReader(f))
    lists = {name: [] for name, _ in LISTS}
    for row in rows:
        lists[row["list"]].append(row)
    for name, items in lists.items():
        indexes = [int(row["index"]) for row in items]
        if indexes != list(range(len(items))):
            raise ValueError("%s list: indexes are not 0..%d in order" % (name, len(items) - 1))
    return lists


def make_cell(row, sources):
    steps = row["recipe"] or row["silk_file"]
    if steps == "DRAW":
        raise ValueError("%s %s: DRAW row without a recipe" % (row["list"], row["index"]))
    try:
        return Cell(recipe.make(steps, sources))
    except Exception as error:
        raise ValueError("%s %s (%s): %s" % (row["list"], row["index"], steps, error)) from error


def write_strips(name, cells):
    rows = (len(cells) + STRIP_COLUMNS - 1) // STRIP_COLUMNS
    width, height = STRIP_COLUMNS * SIZE, rows * SIZE

    def pixel(x, y):
        n = y // SIZE * STRIP_COLUMNS + x // SIZE
        return cells[n].colour(x % SIZE, y % SIZE) if n < len(cells) else None

    colour = bmp.colour_strip(width, height, lambda x, y: pixel(x, y) or (0, 0, 0))
    mask = bmp.mask_strip(width, height, lambda x, y: pixel(x, y) is None)
    for suffix, data, bit_count in (("", colour, 32), ("-mask", mask, 1)):
        header = bmp.describe(data)
        if header["problems"] or (header["width"], header["height"], header["bit_count"]) != (width, height, bit_count):
            raise AssertionError("%s%s.bmp: %s" % (name, suffix, header))
        write(os.path.join(IMAGES, name + suffix + ".bmp"), data)


def write_toolbox_picture():
    picture = pixelart.load(os.path.join(TOOLBOX, "tree.txt"))
    if (picture.width, picture.height) != TOOLBOX_SIZE:
        raise ValueError("toolbox picture is %dx%d, not %dx%d" % ((picture.width, picture.height) + TOOLBOX_SIZE))
    data = bmp.rgb_bitmap(picture.width, picture.height, lambda x, y: picture.get(x, y)[:3])
    header = bmp.describe(data)
    if header["problems"]:
        raise AssertionError("tree.bmp: %s" % header)
    write(os.path.join(TOOLBOX, "tree.bmp"), data)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)
    print("wrote %s (%d bytes)" % (os.path.relpath(path, ROOT), len(data)))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--silk", default="/usr/share/icons/silk/16x16", help="folder of the Silk PNGs")
    parser.add_argument("--dump", metavar="SOURCE", help="print one picture as text pixel art and stop")
    args = parser.parse_args()
    sources = recipe.Sources(args.silk, os.path.join(IMAGES, "drawn"))

    if args.dump:
        sys.stdout.write(pixelart.dump(recipe.make(args.dump, sources)))
        return

    lists = read_mapping()
    sections = []
    for name, heading in LISTS:
        cells = [make_cell(row, sources) for row in lists[name]]
        write_strips(name, cells)
        sections.append((heading, [(n, cell, origin(row)) for n, (cell, row) in enumerate(zip(cells, lists[name]))]))
    write(GALLERY, gallery.render(sections))
    write_toolbox_picture()


if __name__ == "__main__":
    main()
