"""Small drawing helpers shared by all the pictures: noise, colour mixing, bevels, palettes.

Everything here is deterministic: randomness comes only from random.Random objects
seeded by the caller, and only through rng.random() (whose sequence Python keeps stable).
"""

import math

from PIL import Image, ImageFilter

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"


def clamp8(v):
    v = int(round(v))
    return 0 if v < 0 else 255 if v > 255 else v


def mix(a, b, t):
    """Colour a moved toward colour b by t (0..1)."""
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def smoothstep(e0, e1, x):
    if e1 == e0:
        return 0.0 if x < e0 else 1.0
    t = (x - e0) / (e1 - e0)
    t = 0.0 if t < 0 else 1.0 if t > 1 else t
    return t * t * (3 - 2 * t)


def smooth_noise(w, h, cell_x, cell_y, rng):
    """Value noise in 0..1: a grid of random values every cell_x by cell_y pixels, bicubic between."""
    gw = w // cell_x + 4
    gh = h // cell_y + 4
    grid = Image.new("F", (gw, gh))
    grid.putdata([rng.random() for _ in range(gw * gh)])
    big = grid.resize((gw * cell_x, gh * cell_y), Image.Resampling.BICUBIC)
    return list(big.crop((cell_x, cell_y, cell_x + w, cell_y + h)).getdata())


def fractal_noise(w, h, cells, rng, stretch=1.0):
    """Several octaves of value noise summed, centred on 0 (roughly -0.5..0.5).

    cells lists (cell size, weight) pairs; stretch > 1 makes features longer along x.
    """
    total = [0.0] * (w * h)
    weight_sum = sum(weight for _, weight in cells)
    for cell, weight in cells:
        layer = smooth_noise(w, h, max(1, int(cell * stretch)), max(1, int(cell)), rng)
        k = weight / weight_sum
        total = [t + (v - 0.5) * k for t, v in zip(total, layer)]
    return total


def image_from_channels(w, h, r, g, b):
    data = bytearray(w * h * 3)
    data[0::3] = bytes(clamp8(v) for v in r)
    data[1::3] = bytes(clamp8(v) for v in g)
    data[2::3] = bytes(clamp8(v) for v in b)
    return Image.frombytes("RGB", (w, h), bytes(data))


def channels(img):
    img = img.convert("RGB")
    raw = img.tobytes()
    return list(raw[0::3]), list(raw[1::3]), list(raw[2::3])


def shade_rect_edges(img, box, top_left, bottom_right, width=1, strength=1.0):
    """Bevel: blends top/left edges toward one colour and bottom/right toward another.

    top_left / bottom_right are (colour, amount) pairs; amount fades inward over width.
    """
    px = img.load()
    x0, y0, x1, y1 = box
    for i in range(width):
        fade = strength * (1.0 - i / max(1, width))
        for colour, amount, points in (
                (top_left[0], top_left[1] * fade,
                 [(x, y0 + i) for x in range(x0 + i, x1 - i)]
                 + [(x0 + i, y) for y in range(y0 + i + 1, y1 - i)]),
                (bottom_right[0], bottom_right[1] * fade,
                 [(x, y1 - 1 - i) for x in range(x0 + i + 1, x1 - i)]
                 + [(x1 - 1 - i, y) for y in range(y0 + i + 1, y1 - 1 - i)])):
            for p in points:
                px[p] = tuple(clamp8(c) for c in mix(px[p], colour, amount))


def outline_rect(img, box, colour, amount=1.0):
    px = img.load()
    x0, y0, x1, y1 = box
    for x in range(x0, x1):
        for y in (y0, y1 - 1):
            px[x, y] = tuple(clamp8(c) for c in mix(px[x, y], colour, amount))
    for y in range(y0 + 1, y1 - 1):
        for x in (x0, x1 - 1):
            px[x, y] = tuple(clamp8(c) for c in mix(px[x, y], colour, amount))


def to_palette(img, dither=False):
    """An 8-bit palette picture of an RGB picture.

    With 256 colours or fewer the palette is exact (sorted, so the result never depends
    on the order colours were met); with more, Pillow's median cut picks them.
    """
    img = img.convert("RGB")
    colours = img.getcolors(256)
    if colours is not None:
        palette = sorted(c for _, c in colours)
        index = {c: i for i, c in enumerate(palette)}
        out = Image.new("P", img.size)
        out.putpalette([v for c in palette for v in c])
        out.putdata([index[c] for c in img.getdata()])
        return out
    return img.quantize(256, method=Image.Quantize.MEDIANCUT,
                        dither=Image.Dither.FLOYDSTEINBERG if dither else Image.Dither.NONE)


def downsample(img, factor):
    """Box-filtered reduction of a supersampled drawing (our antialiasing)."""
    return img.reduce(factor)


def soft_blur(img, radius):
    return img.filter(ImageFilter.GaussianBlur(radius))


def stamp_stroke(draw, points, widths, fill):
    """A brush stroke: discs of the given widths stamped densely along a polyline."""
    for i in range(len(points) - 1):
        (xa, ya), (xb, yb) = points[i], points[i + 1]
        wa, wb = widths[i], widths[i + 1]
        steps = max(1, int(math.hypot(xb - xa, yb - ya) / 0.5))
        for s in range(steps):
            t = s / steps
            x = xa + (xb - xa) * t
            y = ya + (yb - ya) * t
            r = (wa + (wb - wa) * t) / 2
            draw.ellipse((x - r, y - r, x + r, y + r), fill=fill)
    x, y = points[-1]
    r = widths[-1] / 2
    draw.ellipse((x - r, y - r, x + r, y + r), fill=fill)
