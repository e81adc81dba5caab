"""The board pieces: 78x78 cells, each on white like paper under the grid."""

import math
import random

from PIL import Image, ImageChops, ImageDraw

from paint import downsample, fractal_noise, mix, smoothstep, stamp_stroke

CELL = 78
SS = 4  # supersampling factor for everything drawn with curves
WHITE = (255, 255, 255)

# The player's pieces are light and the computer's dark, in every set, so that the two stay
# apart by lightness alone when their hues look alike (as reds and greens do to many people).
RING_GREEN = (82, 188, 92)
CROSS_PURPLE = (72, 20, 104)


def mix_int(a, b, t):
    return tuple(int(round(c)) for c in mix(a, b, t))


def _ink(mask, colour, rng, size):
    """Colours a stroke mask like marker ink: a little uneven, darker where strokes overlap."""
    w, h = mask.size
    tone = fractal_noise(w, h, [(size * 3, 2), (size, 1)], rng)
    layer = Image.new("RGB", (w, h))
    light = mix(colour, WHITE, 0.18)
    dark = mix(colour, (0, 0, 0), 0.18)
    data = []
    for v in tone:
        t = 0.5 + v * 1.6
        t = 0.0 if t < 0 else 1.0 if t > 1 else t
        c = mix(light, dark, t)
        data.append(tuple(int(round(k)) for k in c))
    layer.putdata(data)
    return layer


def _on_white(mask, ink):
    page = Image.new("RGB", mask.size, WHITE)
    page.paste(ink, (0, 0), mask)
    return page


def ring(seed=700):
    """A green ring drawn in one brush stroke that overshoots where it began."""
    rng = random.Random(seed)
    size = CELL * SS
    mask = Image.new("L", (size, size), 0)
    draw = ImageDraw.Draw(mask)
    cx, cy = 39.3 * SS, 39.6 * SS
    start = math.radians(-112)
    sweep = math.radians(392)
    phase1, phase2 = rng.random() * 6.28, rng.random() * 6.28
    points, widths = [], []
    n = 260
    for k in range(n + 1):
        t = k / n
        a = start + sweep * t
        r = 25.0 + 1.1 * math.sin(2 * a + phase1) + 0.6 * math.sin(3 * a + phase2) + 2.2 * t
        r *= SS
        # squashed a touch and tilted, as a quick hand-drawn circle is
        x = cx + r * math.cos(a) * 1.03
        y = cy + r * math.sin(a) * 0.96
        points.append((x, y))
        # pressure: lands heavily, stays full, lifts off thin
        pw = 7.6 * smoothstep(0.0, 0.05, t) * (1.0 - 0.62 * smoothstep(0.82, 1.0, t))
        pw *= 1.0 + 0.12 * math.sin(5 * a + phase2)
        widths.append(max(1.6, pw) * SS)
    stamp_stroke(draw, points, widths, 255)
    ink = _ink(mask, RING_GREEN, rng, 9 * SS)
    return downsample(_on_white(mask, ink), SS)


def _bezier(p0, p1, p2, n):
    out = []
    for k in range(n + 1):
        t = k / n
        a = (1 - t) * (1 - t)
        b = 2 * (1 - t) * t
        c = t * t
        out.append((a * p0[0] + b * p1[0] + c * p2[0], a * p0[1] + b * p1[1] + c * p2[1]))
    return out


def cross(seed=701):
    """A purple cross of two brush strokes, each pressed hard at the start and lifted at the end."""
    rng = random.Random(seed)
    size = CELL * SS
    mask = Image.new("L", (size, size), 0)
    draw = ImageDraw.Draw(mask)
    strokes = [
        ((15.5, 14.0), (38.0, 41.5), (63.5, 64.0), 9.4),
        ((62.5, 13.5), (41.5, 37.0), (14.5, 65.0), 9.0),
    ]
    for p0, ctrl, p2, width in strokes:
        p0 = (p0[0] + (rng.random() - 0.5) * 1.5, p0[1] + (rng.random() - 0.5) * 1.5)
        pts = _bezier(p0, ctrl, p2, 120)
        pts = [(x * SS, y * SS) for x, y in pts]
        widths = []
        for k in range(len(pts)):
            t = k / (len(pts) - 1)
            pw = width * (0.8 + 0.2 * smoothstep(0.0, 0.08, t))
            pw *= 1.0 - 0.55 * smoothstep(0.5, 1.0, t)
            widths.append(pw * SS)
        stamp_stroke(draw, pts, widths, 255)
    ink = _ink(mask, CROSS_PURPLE, rng, 9 * SS)
    return downsample(_on_white(mask, ink), SS)


def blank():
    return Image.new("RGB", (CELL, CELL), WHITE)


def gradient_square(light, dark):
    """A painted square tile on white: lit from the top left, with a bevelled rim."""
    size = CELL * SS
    inset, radius = 8 * SS, 8 * SS
    box = (inset, inset, size - inset - 1, size - inset - 1)
    span = box[2] - box[0]
    rim = int(3.0 * SS)

    def rounded(b, r):
        mask = Image.new("L", (size, size), 0)
        ImageDraw.Draw(mask).rounded_rectangle(b, r, fill=255)
        return mask

    def diagonal(c0, c1, bias=0.0):
        img = Image.new("RGB", (size, size))
        data = []
        for y in range(size):
            for x in range(size):
                t = ((x - box[0]) * 0.8 + (y - box[1]) * 1.2) / (span * 2.0) + bias
                t = 0.0 if t < 0 else 1.0 if t > 1 else t
                t = t * t * (3 - 2 * t)
                data.append(tuple(int(round(c)) for c in mix(c0, c1, t)))
        img.putdata(data)
        return img

    outer = rounded(box, radius)
    face_box = (box[0] + rim, box[1] + rim, box[2] - rim, box[3] - rim)
    face = rounded(face_box, radius - rim)
    # the rim: light along the top and left, deep along the bottom and right
    rim_img = diagonal(mix(light, WHITE, 0.55), mix(dark, (0, 0, 0), 0.3), bias=-0.05)
    tile = Image.new("RGB", (size, size), WHITE)
    tile.paste(rim_img, (0, 0), outer)
    tile.paste(diagonal(light, mix(dark, light, 0.15)), (0, 0), face)
    edge = Image.new("L", (size, size), 0)
    ImageDraw.Draw(edge).rounded_rectangle(box, radius, outline=255, width=int(0.9 * SS))
    tile.paste(Image.new("RGB", (size, size), mix_int(dark, (0, 0, 0), 0.45)), (0, 0), edge)
    return downsample(tile, SS)


OUTLINE = (38, 40, 66)


def _lerp(p, q, t):
    return (p[0] + (q[0] - p[0]) * t, p[1] + (q[1] - p[1]) * t)


def _cubic(p0, p1, p2, p3, n=40):
    out = []
    for k in range(n + 1):
        t = k / n
        a, b = _lerp(p0, p1, t), _lerp(p1, p2, t)
        c = _lerp(p2, p3, t)
        d, e = _lerp(a, b, t), _lerp(b, c, t)
        out.append(_lerp(d, e, t))
    return out


def _vertical_gradient(size, top, bottom, y0, y1):
    img = Image.new("RGB", size)
    col = []
    for y in range(size[1]):
        t = 0.0 if y <= y0 else 1.0 if y >= y1 else (y - y0) / (y1 - y0)
        col.append(tuple(int(round(c)) for c in mix(top, bottom, t)))
    img.putdata([col[y] for y in range(size[1]) for _ in range(size[0])])
    return img


class FishStyle:
    def __init__(self, back, belly, fin, fin_dark, pattern, marks):
        self.back, self.belly, self.fin, self.fin_dark = back, belly, fin, fin_dark
        # pattern: callable(draw, mask, body_x, top, bottom, scale, rng, marks) painting markings
        self.pattern = pattern
        self.marks = marks  # the markings' colours


def fish(style, seed, facing_left):
    """A round friendly fish filling the cell, drawn facing right and mirrored when asked."""
    rng = random.Random(seed)
    s = SS
    size = CELL * s
    img = Image.new("RGB", (size, size), WHITE)
    draw = ImageDraw.Draw(img)
    line_w = int(1.5 * s)

    x0, x1, cy, big_h = 25.0, 71.0, 39.0, 20.0
    length = x1 - x0

    def prof(u):
        if u >= 0.52:
            k = (u - 0.52) / 0.48
            return math.sqrt(max(0.0, 1.0 - k ** 2.2))
        return 0.26 + 0.74 * math.sin(math.pi / 2 * u / 0.52) ** 1.3

    def bx(u):
        return x0 + u * length

    def top(u):
        return cy - big_h * prof(u)

    def bottom(u):
        return cy + 0.9 * big_h * prof(u)

    us = [k / 80 for k in range(81)]
    body = [(bx(u), top(u)) for u in us] + [(bx(u), bottom(u)) for u in reversed(us)]

    def scaled(points):
        return [(x * s, y * s) for x, y in points]

    def shape(points, fill):
        pts = scaled(points)
        draw.polygon(pts, fill=fill)
        draw.line(pts + [pts[0]], fill=OUTLINE, width=line_w, joint="curve")

    # tail: a fan with a soft notch, with a few rays
    pt, pb = (bx(0.04), top(0.04) + 1), (bx(0.04), bottom(0.04) - 1)
    tip_t, tip_b, notch = (x0 - 19, cy - 17), (x0 - 19, cy + 16), (x0 - 12, cy)
    tail = (_cubic(pt, (x0 - 5, cy - 6), (x0 - 12, cy - 13), tip_t)
            + _cubic(tip_t, (x0 - 14, cy - 8), (x0 - 12, cy - 3), notch)
            + _cubic(notch, (x0 - 12, cy + 3), (x0 - 14, cy + 8), tip_b)
            + _cubic(tip_b, (x0 - 12, cy + 12), (x0 - 5, cy + 6), pb))
    shape(tail, style.fin)
    for k in (-1, 0, 1):
        a = (x0 - 2, cy + k * 1.5)
        b = (x0 - 10 - abs(k) * 2.5, cy + k * 9.0)
        draw.line(scaled([a, b]), fill=style.fin_dark, width=int(0.9 * s))

    # dorsal fin over the back, swept toward the tail
    a, b = (bx(0.74), top(0.74) + 3), (bx(0.2), top(0.2) + 3)
    dorsal = _cubic(a, (bx(0.6), cy - big_h - 9), (bx(0.3), cy - big_h - 12), b)
    shape(dorsal, style.fin)
    for i in (12, 19, 26):
        tip = dorsal[i]
        base_x = tip[0] + 3.5
        base = (base_x, top((base_x - x0) / length) + 2)
        draw.line(scaled([base, _lerp(base, tip, 0.72)]), fill=style.fin_dark,
                  width=int(0.9 * s))

    # belly fin
    a, b = (bx(0.58), bottom(0.58) - 3), (bx(0.3), bottom(0.3) - 3)
    anal = _cubic(a, (bx(0.48), cy + big_h + 6), (bx(0.34), cy + big_h + 7), b)
    shape(anal, style.fin)

    # body with its belly lighter than its back, then the markings clipped to it
    body_mask = Image.new("L", (size, size), 0)
    ImageDraw.Draw(body_mask).polygon(scaled(body), fill=255)
    shade = _vertical_gradient((size, size), style.back, style.belly,
                               (cy - big_h) * s, (cy + big_h) * s)
    img.paste(shade, (0, 0), body_mask)
    marks = Image.new("RGB", (size, size), WHITE)
    marks_mask = Image.new("L", (size, size), 0)
    style.pattern(ImageDraw.Draw(marks), ImageDraw.Draw(marks_mask), bx, top, bottom, s, rng,
                  style.marks)
    img.paste(marks, (0, 0), ImageChops.multiply(marks_mask, body_mask))
    pts = scaled(body)
    draw.line(pts + [pts[0]], fill=OUTLINE, width=line_w, joint="curve")

    # gill line
    gill = _cubic((bx(0.7), top(0.7) + 3), (bx(0.64), cy - 4), (bx(0.64), cy + 4),
                  (bx(0.7), bottom(0.7) - 3), 24)
    draw.line(scaled(gill), fill=OUTLINE, width=int(1.0 * s), joint="curve")

    # side fin
    fin_root = (bx(0.62), cy + 4)
    side = _cubic(fin_root, (bx(0.54), cy - 1), (bx(0.38), cy + 4), (bx(0.4), cy + 10))
    side += _cubic((bx(0.4), cy + 10), (bx(0.48), cy + 11), (bx(0.58), cy + 10), fin_root)
    shape(side, style.fin)

    # eye, big and friendly, and a smile
    ex, ey, er = bx(0.8), cy - 5.5, 6.6
    draw.ellipse([(ex - er) * s, (ey - er) * s, (ex + er) * s, (ey + er) * s],
                 fill=WHITE, outline=OUTLINE, width=int(1.2 * s))
    px_, py_, pr = ex + 1.6, ey + 0.6, 3.7
    draw.ellipse([(px_ - pr) * s, (py_ - pr) * s, (px_ + pr) * s, (py_ + pr) * s], fill=(20, 20, 30))
    hx, hy, hr = px_ - 1.2, py_ - 1.4, 1.25
    draw.ellipse([(hx - hr) * s, (hy - hr) * s, (hx + hr) * s, (hy + hr) * s], fill=WHITE)
    smile = _cubic((bx(0.9), cy + 5.0), (bx(0.93), cy + 7.6), (bx(0.97), cy + 7.0),
                   (bx(0.99), cy + 4.5), 16)
    draw.line(scaled(smile), fill=OUTLINE, width=int(1.2 * s), joint="curve")

    out = downsample(img, s)
    if facing_left:
        out = out.transpose(Image.Transpose.FLIP_LEFT_RIGHT)
    return out


def _stripes(draw, mask, bx, top, bottom, s, rng, colours):
    for k, u in enumerate((0.22, 0.38, 0.54)):
        c = colours[k % len(colours)]
        half = 2.9
        pts = []
        for j in range(21):
            y = top(u) - 2 + (bottom(u) - top(u) + 4) * j / 20
            bend = 2.2 * ((y - 39.0) / 20.0) ** 2
            pts.append((bx(u) - bend - half, y))
        for j in range(20, -1, -1):
            y = top(u) - 2 + (bottom(u) - top(u) + 4) * j / 20
            bend = 2.2 * ((y - 39.0) / 20.0) ** 2
            pts.append((bx(u) - bend + half, y))
        pts = [(x * s, y * s) for x, y in pts]
        draw.polygon(pts, fill=c)
        mask.polygon(pts, fill=255)
        # thin white piping either side of each stripe
        draw.line(pts[:21], fill=(255, 250, 235), width=int(0.9 * s))
        draw.line(pts[21:], fill=(255, 250, 235), width=int(0.9 * s))


def _spots(draw, mask, bx, top, bottom, s, rng, colours):
    placed = []
    tries = 0
    while len(placed) < 9 and tries < 400:
        tries += 1
        u = 0.08 + rng.random() * 0.62
        r = 2.0 + rng.random() * 2.6
        y = top(u) + (bottom(u) - top(u)) * (0.12 + rng.random() * 0.76)
        x = bx(u)
        if any(math.hypot(x - px, y - py) < r + pr + 2.2 for px, py, pr in placed):
            continue
        placed.append((x, y, r))
    for x, y, r in placed:
        box = [(x - r) * s, (y - r) * s, (x + r) * s, (y + r) * s]
        draw.ellipse(box, fill=colours[0])
        mask.ellipse(box, fill=255)


# the player's fish: sky blue with pastel stripes
STRIPED = FishStyle(back=(126, 194, 240), belly=(212, 240, 254), fin=(255, 210, 120),
                    fin_dark=(232, 160, 70), pattern=_stripes,
                    marks=[(255, 224, 110), (255, 170, 86), (248, 124, 146)])
# the computer's fish: deep red with golden spots
SPOTTED = FishStyle(back=(110, 22, 36), belly=(170, 52, 44), fin=(140, 32, 42),
                    fin_dark=(90, 20, 30), pattern=_spots, marks=[(255, 206, 90)])


def striped_fish():
    return fish(STRIPED, 737, facing_left=True)


def spotted_fish():
    return fish(SPOTTED, 738, facing_left=False)
