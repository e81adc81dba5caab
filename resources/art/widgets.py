"""Plaques, buttons and the small tool buttons of the title strip."""

import math
import random

from PIL import Image, ImageDraw, ImageFont

from paint import (FONT_DIR, downsample, fractal_noise, image_from_channels, mix,
                   outline_rect, shade_rect_edges, smoothstep)
from textures import PARCHMENT_EDGE, parchment, wood

DARK_WOOD = (74, 46, 24)
HIGHLIGHT = (255, 246, 222)
SHADOW = (92, 58, 28)


def title_strip(w=475, h=20, visible_w=384):
    """A calm strip of parchment across the top of the window, ruled off at its foot."""
    img = parchment(w, h, 616, visible=(w * 4, h * 8), edge_strength=0.0, stains=0, texture=0.6)
    px = img.load()
    # a little lighter than the page below, so the title reads as a header band; its ends
    # age a little with the window's sides, as the page does
    for x in range(w):
        side = max(0, min(x, visible_w - 1 - x))
        aged = (1.0 - smoothstep(-6, 70, side)) ** 2 * 0.4
        for y in range(h):
            c = mix(px[x, y], (250, 243, 224), 0.35)
            px[x, y] = tuple(int(round(v)) for v in mix(c, PARCHMENT_EDGE, aged))
    ruled = (150, 118, 76)
    for x in range(w):
        px[x, h - 1] = tuple(int(round(c)) for c in mix(px[x, h - 1], ruled, 0.85))
        px[x, h - 2] = tuple(int(round(c)) for c in mix(px[x, h - 2], ruled, 0.22))
        px[x, 0] = tuple(int(round(c)) for c in mix(px[x, 0], (255, 252, 240), 0.5))
    return img


def _bevelled_wood(w, h, seed, pressed=False, light=None, dark=None, bevel=2, figure=1.0):
    kwargs = {}
    if light:
        kwargs["light"] = light
    if dark:
        kwargs["dark"] = dark
    img = wood(w, h, seed, figure=figure, **kwargs)
    if pressed:
        # pushed in: a touch darker, the shadow falls on the top and left
        px = img.load()
        for y in range(h):
            for x in range(w):
                px[x, y] = tuple(int(c * 0.93) for c in px[x, y])
        shade_rect_edges(img, (1, 1, w - 1, h - 1), (SHADOW, 0.55), (HIGHLIGHT, 0.25), bevel)
    else:
        shade_rect_edges(img, (1, 1, w - 1, h - 1), (HIGHLIGHT, 0.6), (SHADOW, 0.55), bevel)
    outline_rect(img, (0, 0, w, h), DARK_WOOD, 0.9)
    return img


def _engraved_text(img, text, font, centre, colour=(52, 28, 10)):
    """Text cut into the wood: dark letters with a light lip below them."""
    draw = ImageDraw.Draw(img)
    left, top, right, bottom = draw.textbbox((0, 0), text, font=font)
    x = centre[0] - (right - left) / 2 - left
    y = centre[1] - (bottom - top) / 2 - top
    draw.text((round(x), round(y) + 1), text, font=font, fill=(246, 222, 176))
    draw.text((round(x), round(y)), text, font=font, fill=colour)


def caption_plaque():
    """The wooden name plaque with the game's name burnt into it."""
    w, h = 110, 30
    img = _bevelled_wood(w, h, 602, light=(232, 186, 120), dark=(176, 120, 62), bevel=2)
    # a routed groove just inside the edge
    outline_rect(img, (4, 4, w - 4, h - 4), (120, 76, 36), 0.45)
    outline_rect(img, (5, 5, w - 3, h - 3), HIGHLIGHT, 0.18)
    font = ImageFont.truetype(FONT_DIR + "DejaVuSerif-Bold.ttf", 15)
    _engraved_text(img, "TicTacToe", font, (w / 2, h / 2))
    return img


def push_button(pressed):
    """The wooden push button, raised or pushed in (same grain, so it doesn't jump)."""
    w, h = 81, 31
    img = _bevelled_wood(w, h, 619, pressed=pressed, light=(232, 198, 142),
                         dark=(186, 138, 82), bevel=3, figure=0.6)
    return img


# ---- the 20x20 tool buttons ------------------------------------------------------------

TILE = 20
TILE_FACE = (236, 216, 174)
TILE_FACE_PRESSED = (218, 194, 150)
INK = (60, 38, 22)


def _tile(pressed):
    """A little raised (or pressed) wooden key; the glyph goes on its face."""
    face = TILE_FACE_PRESSED if pressed else TILE_FACE
    img = Image.new("RGB", (TILE, TILE), face)
    px = img.load()
    for y in range(TILE):
        for x in range(TILE):
            t = y / (TILE - 1)
            lit = mix(face, SHADOW, 0.08) if pressed else mix(face, HIGHLIGHT, 0.25)
            px[x, y] = tuple(int(round(c)) for c in mix(lit, face, t))
    if pressed:
        shade_rect_edges(img, (1, 1, TILE - 1, TILE - 1), (SHADOW, 0.6), (HIGHLIGHT, 0.45), 1)
    else:
        shade_rect_edges(img, (1, 1, TILE - 1, TILE - 1), (HIGHLIGHT, 0.85), (SHADOW, 0.5), 1)
    outline_rect(img, (0, 0, TILE, TILE), DARK_WOOD, 0.85)
    # soften the four corners into the strip
    for x, y in ((0, 0), (TILE - 1, 0), (0, TILE - 1), (TILE - 1, TILE - 1)):
        px[x, y] = tuple(int(round(c)) for c in mix(px[x, y], (238, 226, 198), 0.6))
    return img


def _glyph_layer(draw_fn, scale=8):
    """Draws a glyph with draw_fn(draw, s) on a supersampled canvas; returns (rgb, mask) at 20x20."""
    size = TILE * scale
    rgb = Image.new("RGB", (size, size), (0, 0, 0))
    mask = Image.new("L", (size, size), 0)
    draw_fn(ImageDraw.Draw(rgb), ImageDraw.Draw(mask), scale)
    return downsample(rgb, scale), downsample(mask, scale)


def _compose(tile, glyph, offset):
    rgb, mask = glyph
    tile.paste(rgb, offset, mask)
    return tile


def _text_glyph(text, font_file, size, colour, dx=0, dy=0):
    """A glyph from a font, rendered at its real size so the hinting keeps it crisp."""
    font = ImageFont.truetype(FONT_DIR + font_file, size)
    mask = Image.new("L", (TILE, TILE), 0)
    draw = ImageDraw.Draw(mask)
    left, top, right, bottom = draw.textbbox((0, 0), text, font=font)
    x = (TILE - (right - left)) // 2 - left + dx
    y = (TILE - (bottom - top)) // 2 - top + dy
    draw.text((x, y), text, font=font, fill=255)
    return Image.new("RGB", (TILE, TILE), colour), mask


def help_button(pressed):
    tile = _tile(pressed)
    glyph = _text_glyph("?", "DejaVuSerif-Bold.ttf", 15, (40, 58, 120))
    return _compose(tile, glyph, (1, 1) if pressed else (0, 0))


def _pin_parts(draw, mask, s, angle, cx, cy, scale=1.0, shadow=None):
    """A push pin seen from the side: cap, grip, collar and needle, turned by angle.

    With shadow=(dx, dy) the pin's silhouette is first laid down, shifted, as its shadow.
    """
    red, red_dark, red_light = (206, 40, 36), (130, 18, 20), (250, 140, 120)
    steel, steel_dark = (200, 204, 212), (96, 100, 112)
    # coordinates along the pin: y from the cap's top (-8.6) to the needle's point (+8.6)
    parts = [
        ([(-0.55, 1.5), (0.55, 1.5), (0.15, 8.6), (-0.15, 8.6)], steel_dark),
        ([(-0.55, 1.5), (0.0, 1.5), (0.0, 8.4), (-0.15, 8.6)], steel),
        ([(-4.6, 0.0), (4.6, 0.0), (4.2, 2.0), (-4.2, 2.0)], red_dark),  # collar
        ([(-4.6, 0.0), (4.6, 0.0), (4.4, 1.0), (-4.4, 1.0)], red),
        ([(-2.3, -5.0), (2.3, -5.0), (2.5, 0.2), (-2.5, 0.2)], red),  # grip
        ([(0.8, -5.0), (2.3, -5.0), (2.5, 0.2), (1.1, 0.2)], red_dark),
        ([(-4.4, -8.6), (4.4, -8.6), (4.6, -5.4), (-4.6, -5.4)], red),  # cap
        ([(1.9, -8.6), (4.4, -8.6), (4.6, -5.4), (2.2, -5.4)], red_dark),
        ([(-3.5, -8.0), (-1.4, -8.0), (-1.6, -6.2), (-3.6, -6.2)], red_light),
        ([(-1.7, -4.4), (-0.8, -4.4), (-0.9, -0.6), (-1.8, -0.6)], red_light),
    ]
    ca, sa = math.cos(angle), math.sin(angle)

    def tr(points, dx=0.0, dy=0.0):
        return [((cx + dx + (x * ca - y * sa) * scale) * s,
                 (cy + dy + (x * sa + y * ca) * scale) * s) for x, y in points]

    if shadow:
        for points, _ in parts:
            pts = tr(points, *shadow)
            draw.polygon(pts, fill=(120, 92, 56))
            mask.polygon(pts, fill=100)
    for points, colour in parts:
        pts = tr(points)
        draw.polygon(pts, fill=colour)
        mask.polygon(pts, fill=255)


def pin_button(upright):
    """Always-on-top: the pin lies on its side when off and stands in the board when on."""
    tile = _tile(pressed=upright)
    if upright:
        def paint(draw, mask, s):
            cx, cy = 10.0, 9.6
            shadow = [((cx - 0.8) * s, (cy + 7.6) * s), ((cx + 4.2) * s, (cy + 8.4) * s)]
            draw.ellipse(shadow, fill=(150, 120, 80))
            mask.ellipse(shadow, fill=120)
            _pin_parts(draw, mask, s, 0.0, cx, cy)
        return _compose(tile, _glyph_layer(paint), (1, 1))

    def paint(draw, mask, s):
        _pin_parts(draw, mask, s, math.radians(62), 9.8, 9.4, scale=0.86, shadow=(0.6, 1.6))
    return _compose(tile, _glyph_layer(paint), (0, 0))


def _tick(draw, mask, s):
    pts = [(10.6, 13.4), (13.0, 15.8), (17.0, 9.8)]
    pts = [(x * s, y * s) for x, y in pts]
    for width, colour, alpha in ((4.4, (250, 244, 226), 255), (2.3, (30, 130, 50), 255)):
        draw.line(pts, fill=colour, width=int(width * s), joint="curve")
        mask.line(pts, fill=alpha, width=int(width * s), joint="curve")
        for x, y in (pts[0], pts[-1]):
            r = width * s / 2
            draw.ellipse((x - r, y - r, x + r, y + r), fill=colour)
            mask.ellipse((x - r, y - r, x + r, y + r), fill=alpha)


def transparency_button(on):
    """Transparency: a T for the board shown solid; with a green tick when see-through."""
    tile = _tile(pressed=on)
    glyph = _text_glyph("T", "DejaVuSerif-Bold.ttf", 14 if on else 15, INK,
                        dx=-3 if on else 0, dy=-1 if on else 0)
    _compose(tile, glyph, (1, 1) if on else (0, 0))
    if on:
        _compose(tile, _glyph_layer(_tick), (0, 0))
    return tile


def selection_mark():
    """A black box with a white cross, on pure white (which is the see-through colour)."""
    img = Image.new("RGB", (TILE, TILE), (255, 255, 255))
    px = img.load()
    lo, hi = 3, 16
    for y in range(lo, hi + 1):
        for x in range(lo, hi + 1):
            corner = (x in (lo, hi)) and (y in (lo, hi))
            if not corner:
                px[x, y] = (16, 16, 16)
    mark = (246, 246, 246)  # not pure white, or it would vanish with the background
    for i in range(6, 14):
        for j in (i, i + 1):
            if j <= 13:
                px[j, i] = mark
                px[19 - j, i] = mark
    return img


# ---- status plaques ----------------------------------------------------------------------

def _painted_plaque(w, h, seed, top, bottom, frame, texture=1.0):
    """A painted board: a soft top-to-bottom wash, brush grain, a pinstripe and a bevel."""
    rng = random.Random(seed)
    grain = fractal_noise(w, h, [(6, 2), (2, 1)], rng, stretch=6.0)
    blotch = fractal_noise(w, h, [(14, 1)], rng, stretch=2.0)
    r, g, b = [], [], []
    for y in range(h):
        t = smoothstep(0, h - 1, y)
        base = mix(top, bottom, t)
        for x in range(w):
            i = y * w + x
            # the brushwork shows more toward the ends than in the middle, where text sits
            edge = 1.0 - smoothstep(8, 30, min(x, w - 1 - x))
            k = 1.0 + (grain[i] * 0.05 + blotch[i] * 0.05) * texture * (0.5 + edge)
            r.append(base[0] * k)
            g.append(base[1] * k)
            b.append(base[2] * k)
    img = image_from_channels(w, h, r, g, b)
    shade_rect_edges(img, (1, 1, w - 1, h - 1), (HIGHLIGHT, 0.7), (frame, 0.55), 2)
    outline_rect(img, (0, 0, w, h), mix(frame, (0, 0, 0), 0.35), 0.95)
    # pinstripe
    outline_rect(img, (4, 4, w - 4, h - 4), frame, 0.35)
    return img


def status_plaque(kind):
    w, h = 100, 30
    if kind == "pink":
        return _painted_plaque(w, h, 732, (252, 206, 214), (240, 170, 184), (176, 82, 104))
    if kind == "red":
        return _painted_plaque(w, h, 734, (246, 150, 134), (226, 104, 90), (140, 36, 30))
    if kind == "orange":
        return _painted_plaque(w, h, 735, (255, 204, 128), (246, 160, 70), (170, 90, 20))
    if kind == "blue":
        return _painted_plaque(w, h, 736, (192, 222, 250), (140, 186, 236), (50, 88, 150))
    if kind == "wood":
        img = _bevelled_wood(w, h, 733, light=(240, 220, 182), dark=(206, 172, 122), bevel=2,
                             figure=0.5)
        outline_rect(img, (4, 4, w - 4, h - 4), (150, 110, 60), 0.3)
        return img
    raise ValueError(kind)
