"""One of the program's pictures as a lossless WebP file, for the page to fetch beside its module.

    bmp-to-webp.py <picture.bmp> <picture.webp>

Lossless keeps every pixel as the BMP has it, so the page's frames stay those of the Linux
program; no metadata and no colour profile, so that the browser decodes the pixels untouched.
"""

import sys

from PIL import Image

source, target = sys.argv[1:]
with Image.open(source) as picture:
    picture.convert("RGB").save(target, "WEBP", lossless=True, quality=100, method=6)
with Image.open(target) as written, Image.open(source) as original:
    if written.convert("RGB").tobytes() != original.convert("RGB").tobytes():
        sys.exit(f"{target}: the WebP file's pixels differ from {source}'s")
