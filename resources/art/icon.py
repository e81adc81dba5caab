"""The program icon: a little parchment board in a wooden frame, crosses and a ring on it.

The 16 px one is drawn pixel by pixel; bigger ones are drawn smooth but laid out on
whole pixels so the grid lines stay sharp.
"""

from PIL import Image, ImageDraw

from paint import mix
from textures import wood

SS = 8
# Inks of their own rather than the board pieces': at 16 pixels on cream paper a pale ring
# fades away, so both marks here are strong mid-tones.
RING_GREEN = (34, 139, 58)
CROSS_PURPLE = (112, 44, 150)
FRAME_DARK = (84, 52, 24)
GRID = (112, 78, 44)
PAPER_TOP = (252, 245, 224)
PAPER_BOTTOM = (236, 218, 180)

def _icon16():
    """16 px, pixel by pixel: a dark wooden rim, paper, a grid of 4x4 cells and the marks."""
    size = 16
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    px = img.load()
    for y in range(size):
        for x in range(size):
            rim = x in (0, size - 1) or y in (0, size - 1)
            corner = x in (0, size - 1) and y in (0, size - 1)
            if corner:
                continue
            if rim:
                lit = x == 0 or y == 0
                px[x, y] = ((150, 98, 48) if lit else FRAME_DARK) + (255,)
            else:
                t = (y - 1) / 13
                px[x, y] = tuple(int(round(c)) for c in mix(PAPER_TOP, PAPER_BOTTOM, t)) + (255,)
    for p in (5, 10):
        for q in range(2, 14):
            px[p, q] = GRID + (255,)
            px[q, p] = GRID + (255,)
    purple = CROSS_PURPLE + (255,)
    for ox, oy in ((1, 1), (11, 11)):
        for i in range(4):
            px[ox + i, oy + i] = purple
            px[ox + 3 - i, oy + i] = purple
    green = RING_GREEN + (255,)
    green_soft = tuple(int(c) for c in mix(RING_GREEN, PAPER_TOP, 0.6)) + (255,)
    for x, y in ((7, 6), (8, 6), (6, 7), (9, 7), (6, 8), (9, 8), (7, 9), (8, 9)):
        px[x, y] = green
    for x, y in ((6, 6), (9, 6), (6, 9), (9, 9)):
        px[x, y] = green_soft
    return img


def _rounded_fill(size, box, radius, top, bottom):
    mask = Image.new("L", (size, size), 0)
    ImageDraw.Draw(mask).rounded_rectangle(box, radius, fill=255)
    grad = Image.new("RGBA", (size, size))
    x0, y0, x1, y1 = box
    rows = []
    for y in range(size):
        t = 0.0 if y <= y0 else 1.0 if y >= y1 else (y - y0) / (y1 - y0)
        c = mix(top, bottom, t)
        rows.append(tuple(int(round(v)) for v in c) + (255,))
    grad.putdata([rows[y] for y in range(size) for _ in range(size)])
    return grad, mask


def _icon_smooth(size):
    s = SS
    big = size * s
    img = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    draw = ImageDraw.Draw(img)

    frame = max(3, round(size * 0.1))
    radius = size * 0.18 * s
    outer = (0, 0, big - 1, big - 1)
    grain = wood(size, size, 100, light=(222, 166, 98), dark=(150, 96, 46), ring_px=3.0)
    grain = grain.resize((big, big), Image.Resampling.BICUBIC).convert("RGBA")
    mask = Image.new("L", (big, big), 0)
    ImageDraw.Draw(mask).rounded_rectangle(outer, radius, fill=255)
    img.paste(grain, (0, 0), mask)
    edge = max(s, round(size / 32 * s))
    draw.rounded_rectangle(outer, radius, outline=FRAME_DARK + (255,), width=edge)
    # a light bevel on the frame's top-left inside the dark edge
    draw.rounded_rectangle((edge, edge, big - 1 - edge, big - 1 - edge), radius - edge,
                           outline=(246, 214, 160, 150), width=max(2, s // 2))

    inner = (frame * s, frame * s, (size - frame) * s - 1, (size - frame) * s - 1)
    paper, mask = _rounded_fill(big, inner, max(s, radius * 0.35), PAPER_TOP, PAPER_BOTTOM)
    img.paste(paper, (0, 0), mask)
    draw.rounded_rectangle(inner, max(s, radius * 0.35), outline=(120, 80, 40, 160),
                           width=max(2, s // 2))

    # the grid: three cells across the parchment, its lines on whole pixels
    lo, hi = frame + 1, size - frame - 1
    weight = max(1, round(size / 28))
    cell = (hi - lo - 2 * weight) / 3
    lines = [round(lo + cell), round(lo + 2 * cell + weight)]
    for p in lines:
        draw.rectangle((p * s, (lo + 1) * s, (p + weight) * s - 1, (hi - 1) * s - 1),
                       fill=GRID + (255,))
        draw.rectangle(((lo + 1) * s, p * s, (hi - 1) * s - 1, (p + weight) * s - 1),
                       fill=GRID + (255,))
    edges = [lo, lines[0] + weight, lines[1] + weight]
    ends = [lines[0], lines[1], hi]

    stroke = max(1.6, size / 17) * s
    for col, row in ((0, 0), (2, 2)):
        x0, y0, x1, y1 = edges[col] * s, edges[row] * s, ends[col] * s, ends[row] * s
        m = (x1 - x0) * 0.18
        for a, b in (((x0 + m, y0 + m), (x1 - m, y1 - m)), ((x1 - m, y0 + m), (x0 + m, y1 - m))):
            draw.line([a, b], fill=CROSS_PURPLE + (255,), width=int(stroke))
            for x, y in (a, b):
                r = stroke / 2
                draw.ellipse((x - r, y - r, x + r, y + r), fill=CROSS_PURPLE + (255,))
    x0, y0, x1, y1 = edges[1] * s, edges[1] * s, ends[1] * s, ends[1] * s
    m = (x1 - x0) * 0.08
    draw.ellipse((x0 + m, y0 + m, x1 - m, y1 - m), outline=RING_GREEN + (255,),
                 width=int(stroke * 0.85))
    return img.reduce(s)


def icon(size):
    return _icon16() if size <= 16 else _icon_smooth(size)


# The wood the maskable icon lies on: the frame's, plain.
MASK_WOOD = (176, 120, 62)


def maskable(size):
    """The icon for launchers that cut it to a shape of their own: the framed board on plain wood
    to the edges, small enough that the paper lies inside the middle circle every shape keeps."""
    back = Image.new("RGBA", (size, size), MASK_WOOD + (255,))
    board = round(size * 0.72)
    back.alpha_composite(icon(board), ((size - board) // 2, (size - board) // 2))
    return back.convert("RGB")


def web_png(img):
    """A page's icon in 256 colours: at these sizes it looks the same and weighs a fifth."""
    return img.quantize(256, method=Image.Quantize.FASTOCTREE)
