"""The two materials of the game's look: old parchment and honey-coloured wood."""

import math
import random

from PIL import Image, ImageDraw

from paint import fractal_noise, image_from_channels, mix, smooth_noise, smoothstep, soft_blur

PARCHMENT = (243, 232, 204)
PARCHMENT_EDGE = (206, 172, 118)
STAIN = (196, 165, 115)


def _fibres(w, h, rng, count, length, strength):
    """A layer of thin curved fibres (0..1 a pixel), the way paper shows its pulp."""
    layer = Image.new("L", (w, h), 0)
    draw = ImageDraw.Draw(layer)
    for _ in range(count):
        x = rng.random() * w
        y = rng.random() * h
        angle = rng.random() * math.pi
        n = 3 + int(rng.random() * 5)
        seg = length * (0.3 + rng.random()) / n
        shade = int(90 + rng.random() * 140)
        points = [(x, y)]
        for _ in range(n):
            angle += (rng.random() - 0.5) * 0.9
            x += math.cos(angle) * seg
            y += math.sin(angle) * seg
            points.append((x, y))
        draw.line(points, fill=shade, width=1)
    layer = soft_blur(layer, 0.45)
    return [v / 255 * strength for v in layer.getdata()]


def parchment(w, h, seed, visible=None, edge_strength=1.0, stains=4, texture=1.0):
    """Cream parchment: mottled, with fibres and a few faint stains, browner toward the edges.

    The darkening follows the `visible` rectangle (width, height from the top-left corner),
    so a picture shown cropped still has its edges where the window's are.
    """
    rng = random.Random(seed)
    vw, vh = visible or (w, h)
    mottle = fractal_noise(w, h, [(110, 4), (48, 3), (20, 2), (8, 1)], rng)
    grain = fractal_noise(w, h, [(2, 1), (1, 1)], rng)
    ragged = fractal_noise(w, h, [(60, 2), (22, 1)], rng)
    dark_fibres = _fibres(w, h, rng, int(w * h / 400), 16, 0.045 * texture)
    light_fibres = _fibres(w, h, rng, int(w * h / 500), 14, 0.05 * texture)

    spots = []
    for _ in range(stains):
        r = 18 + rng.random() * 42
        spots.append((rng.random() * vw, rng.random() * vh, r, 0.05 + rng.random() * 0.07))
    stain_amount = [0.0] * (w * h)
    for cx, cy, r, strength in spots:
        cell = max(4, int(r / 2.5))
        wobble = smooth_noise(w, h, cell, cell, rng)
        for y in range(max(0, int(cy - r * 1.3)), min(h, int(cy + r * 1.3) + 1)):
            for x in range(max(0, int(cx - r * 1.3)), min(w, int(cx + r * 1.3) + 1)):
                i = y * w + x
                s = math.hypot(x - cx, y - cy) / r + (wobble[i] - 0.5) * 0.3
                if s < 1.08:
                    a = strength * (0.25 + 0.75 * smoothstep(0.7, 1.0, s))
                    a *= 1.0 - smoothstep(0.97, 1.07, s)
                    stain_amount[i] = max(stain_amount[i], a)

    half_w, half_h = vw / 2, vh / 2
    r_out, g_out, b_out = [], [], []
    for y in range(h):
        dy_edge = max(0.0, min(y, vh - 1 - y))
        ny = (y - half_h) / half_h
        for x in range(w):
            i = y * w + x
            dx_edge = max(0.0, min(x, vw - 1 - x))
            nx = (x - half_w) / half_w
            d = min(dx_edge, dy_edge) + ragged[i] * 40
            edge = (1.0 - smoothstep(-6, 70, d)) ** 2 * 0.55
            edge += smoothstep(0.25, 2.0, nx * nx + ny * ny) * 0.35
            edge = min(1.0, edge * edge_strength)
            base = mix(PARCHMENT, PARCHMENT_EDGE, edge)
            base = mix(base, STAIN, stain_amount[i])
            shade = 1.0 + mottle[i] * 0.10 * texture + grain[i] * 0.035 * texture
            shade *= 1.0 - dark_fibres[i]
            shade += light_fibres[i] * 0.6
            r_out.append(base[0] * shade)
            g_out.append(base[1] * shade)
            b_out.append(base[2] * shade * (1.0 - 0.02 * edge))
    return image_from_channels(w, h, r_out, g_out, b_out)


WOOD_LIGHT = (222, 178, 118)
WOOD_DARK = (160, 108, 58)


def wood(w, h, seed, light=WOOD_LIGHT, dark=WOOD_DARK, ring_px=6.0, figure=1.0):
    """Plank wood with its grain running along x: growth rings bent by noise, plus fine streaks."""
    rng = random.Random(seed)
    warp = fractal_noise(w, h, [(22, 3), (9, 1)], rng, stretch=5.0)
    streak = fractal_noise(w, h, [(3, 2), (1, 1)], rng, stretch=14.0)
    tone = fractal_noise(w, h, [(40, 1)], rng, stretch=3.0)
    slope = (rng.random() - 0.5) * 0.04
    r_out, g_out, b_out = [], [], []
    for y in range(h):
        for x in range(w):
            i = y * w + x
            t = (y + x * slope) / ring_px + warp[i] * 5.0 * figure
            ring = t - math.floor(t)
            # late wood: a thin darker band at the end of each ring, soft on one side
            band = smoothstep(0.55, 0.9, ring) * (1.0 - smoothstep(0.9, 1.0, ring))
            v = 0.42 * band * figure + 0.5 + streak[i] * 0.9 + tone[i] * 0.6
            v = 0.0 if v < 0 else 1.0 if v > 1 else v
            c = mix(light, dark, v)
            r_out.append(c[0])
            g_out.append(c[1])
            b_out.append(c[2])
    return image_from_channels(w, h, r_out, g_out, b_out)
