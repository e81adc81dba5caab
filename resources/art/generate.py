#!/usr/bin/python3
"""Draws every picture of the game and writes them where the builds pick them up.

    /usr/bin/python3 resources/art/generate.py [--out DIR]

writes DIR/bitmaps/<id>.bmp and DIR/icon/* (DIR defaults to the resources folder).
Every run writes the same bytes: all randomness is seeded and nothing depends on the
time, the machine or the order files are found in.
"""

import argparse
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import bmpfile  # noqa: E402
import catalogue  # noqa: E402
from icon import icon  # noqa: E402

ICO_SIZES = (16, 32, 48)
PNG_SIZES = (16, 32, 48, 64, 128)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def write_png(path, img):
    # no text chunks, no time stamp: the same picture gives the same file
    img.save(path, "PNG", optimize=False, compress_level=9)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.dirname(here),
                        help="folder to write bitmaps/ and icon/ into")
    args = parser.parse_args()

    bitmaps = os.path.join(args.out, "bitmaps")
    icons = os.path.join(args.out, "icon")
    os.makedirs(bitmaps, exist_ok=True)
    os.makedirs(icons, exist_ok=True)

    for bitmap_id in sorted(catalogue.BITMAPS):
        bpp = catalogue.BITMAPS[bitmap_id][2]
        img = catalogue.render(bitmap_id)
        data = bmpfile.bmp8(img) if bpp == 8 else bmpfile.bmp24(img)
        write(os.path.join(bitmaps, "%d.bmp" % bitmap_id), data)

    sizes = {n: icon(n) for n in sorted(set(ICO_SIZES + PNG_SIZES))}
    write(os.path.join(icons, "app.ico"), bmpfile.ico([sizes[n] for n in ICO_SIZES]))
    write(os.path.join(icons, "app-32.bmp"), bmpfile.bmp32_with_alpha(sizes[32]))
    for n in PNG_SIZES:
        write_png(os.path.join(icons, "app-%d.png" % n), sizes[n])


if __name__ == "__main__":
    main()
