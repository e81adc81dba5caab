#!/usr/bin/python3
"""Lays every picture of the game out on one page, labelled with its id, to look them over.

    /usr/bin/python3 resources/art/contact_sheet.py OUT.png [--from RESOURCES_DIR]

writes OUT.png with everything at its real size and OUT-3x.png with the pictures three
times enlarged (pixel for pixel; the big parchments as a corner crop), both on a mid grey
so neither light nor dark edges hide.
"""

import argparse
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from PIL import Image, ImageDraw, ImageFont  # noqa: E402

import bmpfile  # noqa: E402
from paint import FONT_DIR  # noqa: E402

BACKGROUND = (128, 128, 132)
LABEL = (255, 255, 255)


def load(resources):
    items = []
    folder = os.path.join(resources, "bitmaps")
    for name in sorted(os.listdir(folder), key=lambda n: (len(n), n)):
        if name.endswith(".bmp"):
            with open(os.path.join(folder, name), "rb") as f:
                img = bmpfile.read_bmp(f.read())
            items.append((name[:-4], img))
    with open(os.path.join(resources, "icon", "app-32.bmp"), "rb") as f:
        items.append(("icon 32 bmp", bmpfile.read_bmp(f.read())))
    for n in (16, 32, 48):
        items.append(("icon %d" % n, Image.open(os.path.join(resources, "icon",
                                                             "app-%d.png" % n)).convert("RGBA")))
    return items


def sheet(items, scale, width):
    font = ImageFont.truetype(FONT_DIR + "DejaVuSans-Bold.ttf", 12)
    gap, label_h = 12, 16
    placed, x, y, row_h = [], gap, gap, 0
    for label, img in items:
        if scale > 1 and max(img.size) > 200:
            img = img.crop((0, 0, min(img.width, 128), min(img.height, 128)))
            label += " (corner)"
        img = img.resize((img.width * scale, img.height * scale), Image.Resampling.NEAREST)
        if x + img.width + gap > width and x > gap:
            x, y, row_h = gap, y + row_h + gap, 0
        placed.append((label, img, x, y))
        x += max(img.width, 70) + gap
        row_h = max(row_h, img.height + label_h)
    page = Image.new("RGB", (width, y + row_h + gap), BACKGROUND)
    draw = ImageDraw.Draw(page)
    for label, img, px, py in placed:
        draw.text((px, py), label, font=font, fill=LABEL)
        if img.mode == "RGBA":
            page.paste(img, (px, py + label_h), img)
        else:
            page.paste(img, (px, py + label_h))
    return page


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out")
    parser.add_argument("--from", dest="resources", default=os.path.dirname(here))
    args = parser.parse_args()
    items = load(args.resources)
    sheet(items, 1, 1040).save(args.out)
    stem, ext = os.path.splitext(args.out)
    sheet(items, 3, 1500).save(stem + "-3x" + (ext or ".png"))


if __name__ == "__main__":
    main()
