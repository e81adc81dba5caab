#!/usr/bin/python3
"""A mock-up of the game window put together from the pictures, to judge how they sit together.

    /usr/bin/python3 resources/art/mockup.py OUT.png [--from RESOURCES_DIR]

Writes OUT.png at real size and OUT-2x.png doubled. The layout follows the window:
page, title strip with its three buttons, status plaque, the board and the button.
"""

import argparse
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from PIL import Image, ImageDraw, ImageFont  # noqa: E402

import bmpfile  # noqa: E402
from paint import FONT_DIR  # noqa: E402

CLIENT = (384, 365)  # the drawing area
BOARD_AT = (21, 90)
CELL = 78


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out")
    parser.add_argument("--from", dest="resources", default=os.path.dirname(here))
    parser.add_argument("--status", type=int, default=732, help="which status plaque to show")
    parser.add_argument("--text", default="Your Move")
    parser.add_argument("--set", default="700,701,715", help="cross, ring and empty cell ids")
    args = parser.parse_args()

    def bmp(bitmap_id):
        path = os.path.join(args.resources, "bitmaps", "%d.bmp" % bitmap_id)
        with open(path, "rb") as f:
            return bmpfile.read_bmp(f.read())

    bold = ImageFont.truetype(FONT_DIR + "DejaVuSans-Bold.ttf", 12)
    status_font = ImageFont.truetype(FONT_DIR + "DejaVuSans-Bold.ttf", 13)
    win = bmp(101).crop((0, 0) + CLIENT)
    win.paste(bmp(616).crop((0, 0, CLIENT[0], 20)), (0, 0))
    draw = ImageDraw.Draw(win)
    draw.text((6, 3), "Computer IQ:  Smart", font=bold, fill=(0, 0, 0))
    for x, bitmap_id in ((325, 614), (345, 617), (365, 632)):
        win.paste(bmp(bitmap_id), (x, 1))

    plaque = bmp(args.status)
    win.paste(plaque, (87, 40))
    box = draw.textbbox((0, 0), args.text, font=status_font)
    draw.text((87 + (100 - (box[2] - box[0])) // 2 - box[0],
               40 + (30 - (box[3] - box[1])) // 2 - box[1]), args.text,
              font=status_font, fill=(0, 0, 0))

    first, second, empty = (int(v) for v in args.set.split(","))
    layout = [first, second, empty, empty, first, second, second, empty, first]
    x0, y0 = BOARD_AT
    for i, bitmap_id in enumerate(layout):
        win.paste(bmp(bitmap_id), (x0 + (i % 3) * CELL, y0 + (i // 3) * CELL))
    for k in range(4):
        draw.line((x0 + k * CELL, y0, x0 + k * CELL, y0 + 3 * CELL), fill=(0, 0, 0))
        draw.line((x0, y0 + k * CELL, x0 + 3 * CELL, y0 + k * CELL), fill=(0, 0, 0))
    # the selection mark on a coloured row, its white see-through
    mark = bmp(740).convert("RGB")
    row = Image.new("RGB", (20, 20), (70, 110, 190))
    mask = Image.eval(mark.convert("L"), lambda v: 0 if v == 255 else 255)
    row.paste(mark, (0, 0), Image.eval(mask, lambda v: v))
    for y in range(20):
        for x in range(20):
            if mark.getpixel((x, y)) == (255, 255, 255):
                row.putpixel((x, y), (70, 110, 190))
    win.paste(row, (300, 300))

    draw.rectangle((281, 95, 281 + 80 - 1, 95 + 31 - 1), fill=(0, 0, 0))
    win.paste(bmp(619).crop((0, 0, 80, 31)), (281, 140))
    box = draw.textbbox((0, 0), "New Game", font=bold)
    draw.text((281 + (80 - (box[2] - box[0])) // 2 - box[0], 140 + (31 - (box[3] - box[1])) // 2
               - box[1]), "New Game", font=bold, fill=(0, 0, 0))
    win.paste(bmp(602), (262, 200))

    win.save(args.out)
    stem, ext = os.path.splitext(args.out)
    win.resize((CLIENT[0] * 2, CLIENT[1] * 2), Image.Resampling.NEAREST).save(
        stem + "-2x" + (ext or ".png"))


if __name__ == "__main__":
    main()
