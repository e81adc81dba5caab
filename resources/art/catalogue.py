"""Every bitmap the game has: its id, name, size, colour depth and how it is drawn.

generate.py writes from this table the pictures, the named ids the C++ code uses
(scob/bitmapIds.h), the BITMAP lines of the Windows resources (resources/bitmaps.rc) and the
list the Linux build embeds (resources/bitmaps.cmake).
"""

import pieces
import widgets
from paint import to_palette
from textures import parchment

# The region, from the top-left corner, that the parchment page's aged edges were laid out
# for. It is not the drawing area (384 x 365): the page keeps this layout so that it stays
# the picture it has always been.
PAGE_AGED_REGION = (384, 361)


def _parchment_page():
    return parchment(477, 426, 101, visible=PAGE_AGED_REGION)


def _parchment_narrow():
    return parchment(393, 426, 607, visible=(393, 426), edge_strength=0.85)


# id: (name, width, height, bits per pixel, painter). The name is the C++ name of the id:
# lower camel case, saying what the picture shows.
BITMAPS = {
    101: ("parchmentPage", 477, 426, 24, _parchment_page),
    602: ("captionPlaque", 110, 30, 24, widgets.caption_plaque),
    607: ("parchmentNarrow", 393, 426, 24, _parchment_narrow),
    614: ("pinFlat", 20, 20, 8, lambda: widgets.pin_button(upright=False)),
    615: ("pinUpright", 20, 20, 8, lambda: widgets.pin_button(upright=True)),
    616: ("titleStrip", 475, 20, 24, widgets.title_strip),
    617: ("question", 20, 20, 8, lambda: widgets.help_button(pressed=False)),
    618: ("questionPressed", 20, 20, 8, lambda: widgets.help_button(pressed=True)),
    619: ("woodButton", 81, 31, 24, lambda: widgets.push_button(pressed=False)),
    620: ("woodButtonPressed", 81, 31, 24, lambda: widgets.push_button(pressed=True)),
    632: ("letterT", 20, 20, 8, lambda: widgets.transparency_button(on=False)),
    633: ("letterTTicked", 20, 20, 8, lambda: widgets.transparency_button(on=True)),
    700: ("ring", 78, 78, 24, pieces.ring),
    701: ("cross", 78, 78, 24, pieces.cross),
    715: ("blankTraditional", 78, 78, 8, pieces.blank),
    # the player's tile light mint, the computer's deep copper: they differ in lightness too
    716: ("greenSquare", 78, 78, 8,
          lambda: pieces.gradient_square((214, 248, 186), (124, 204, 110))),
    717: ("orangeSquare", 78, 78, 8,
          lambda: pieces.gradient_square((226, 136, 60), (136, 52, 10))),
    731: ("blankColors", 78, 78, 8, pieces.blank),
    732: ("plaquePink", 100, 30, 24, lambda: widgets.status_plaque("pink")),
    733: ("plaqueWood", 100, 30, 24, lambda: widgets.status_plaque("wood")),
    734: ("plaqueRed", 100, 30, 8, lambda: widgets.status_plaque("red")),
    735: ("plaqueOrange", 100, 30, 8, lambda: widgets.status_plaque("orange")),
    736: ("plaqueBlue", 100, 30, 8, lambda: widgets.status_plaque("blue")),
    737: ("stripedFish", 78, 78, 24, pieces.striped_fish),
    738: ("spottedFish", 78, 78, 24, pieces.spotted_fish),
    739: ("blankFish", 78, 78, 8, pieces.blank),
    740: ("selectionMark", 20, 20, 8, widgets.selection_mark),
}

# Pictures whose 256 colours are better spread by dithering than by banding.
DITHERED = {734, 735, 736}


def render(bitmap_id):
    """The finished picture of one bitmap: RGB for 24-bit ones, palette for 8-bit ones."""
    _, width, height, bpp, painter = BITMAPS[bitmap_id]
    img = painter()
    if img.size != (width, height):
        raise ValueError("bitmap %d came out %dx%d" % ((bitmap_id,) + img.size))
    if bpp == 8:
        return to_palette(img, dither=bitmap_id in DITHERED)
    return img.convert("RGB")
