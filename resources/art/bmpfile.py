"""Writing and reading the picture files the game ships, byte for byte under our control.

Pillow's own BMP writer is close to what we want but not quite (it leaves out the
palette size for 8-bit files and only writes what it has), so the files are put
together here with struct: BITMAPFILEHEADER + 40-byte BITMAPINFOHEADER, BI_RGB,
bottom-up rows padded to four bytes, and for 8-bit pictures a full 256-entry palette.
"""

import struct

from PIL import Image

PELS_PER_METRE = 2835  # 72 dpi


def _row_padding(row_bytes):
    return (4 - row_bytes % 4) % 4


def _file_header(total_size, pixel_offset):
    return struct.pack("<2sIHHI", b"BM", total_size, 0, 0, pixel_offset)


def _info_header(width, height, bpp, image_size, colours_used):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, 0, image_size,
                       PELS_PER_METRE, PELS_PER_METRE, colours_used, 0)


def bmp24(img):
    """The bytes of a 24-bit true-colour BMP of an RGB picture."""
    img = img.convert("RGB")
    width, height = img.size
    raw = img.tobytes("raw", "BGR")  # top row first
    stride = width * 3
    pad = b"\0" * _row_padding(stride)
    rows = [raw[y * stride:(y + 1) * stride] + pad for y in range(height - 1, -1, -1)]
    pixels = b"".join(rows)
    offset = 14 + 40
    return (_file_header(offset + len(pixels), offset)
            + _info_header(width, height, 24, len(pixels), 0) + pixels)


def bmp8(img):
    """The bytes of an 8-bit BMP of a palette picture, with all 256 palette entries."""
    if img.mode != "P":
        raise ValueError("bmp8 wants a palette picture, got mode " + img.mode)
    width, height = img.size
    rgb = list(img.getpalette("RGB") or [])
    rgb += [0] * (768 - len(rgb))
    palette = b"".join(struct.pack("<BBBB", rgb[i * 3 + 2], rgb[i * 3 + 1], rgb[i * 3], 0)
                       for i in range(256))
    raw = img.tobytes("raw", "P")
    pad = b"\0" * _row_padding(width)
    pixels = b"".join(raw[y * width:(y + 1) * width] + pad for y in range(height - 1, -1, -1))
    offset = 14 + 40 + 1024
    return (_file_header(offset + len(pixels), offset)
            + _info_header(width, height, 8, len(pixels), 256) + palette + pixels)


def bmp32_with_alpha(img):
    """The bytes of a 32-bit BMP with an alpha channel (BITMAPV4HEADER, BI_BITFIELDS).

    Used for the window icon of the Linux program; SDL_LoadBMP reads the masks from the
    header and keeps the alpha.
    """
    img = img.convert("RGBA")
    width, height = img.size
    raw = img.tobytes("raw", "BGRA")
    stride = width * 4
    pixels = b"".join(raw[y * stride:(y + 1) * stride] for y in range(height - 1, -1, -1))
    header_size = 108
    offset = 14 + header_size
    info = struct.pack("<IiiHHIIiiII", header_size, width, height, 1, 32, 3, len(pixels),
                       PELS_PER_METRE, PELS_PER_METRE, 0, 0)
    masks = struct.pack("<IIII", 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
    colour_space = struct.pack("<I", 0x73524742)  # 'sRGB'
    endpoints_and_gamma = b"\0" * (36 + 12)
    header = info + masks + colour_space + endpoints_and_gamma
    assert len(header) == header_size
    return _file_header(offset + len(pixels), offset) + header + pixels


def ico(images):
    """The bytes of a Windows .ico holding each RGBA picture as a 32-bit DIB with a mask."""
    images = sorted(images, key=lambda im: im.size[0])
    entries = []
    blobs = []
    for img in images:
        img = img.convert("RGBA")
        size = img.size[0]
        raw = img.tobytes("raw", "BGRA")
        stride = size * 4
        xor = b"".join(raw[y * stride:(y + 1) * stride] for y in range(size - 1, -1, -1))
        # The AND mask: one bit a pixel, rows padded to four bytes, set where transparent.
        alpha = img.getchannel("A").tobytes()
        mask_stride = ((size + 31) // 32) * 4
        mask_rows = []
        for y in range(size - 1, -1, -1):
            row = bytearray(mask_stride)
            for x in range(size):
                if alpha[y * size + x] < 128:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask_rows.append(bytes(row))
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                             len(xor) + len(b"".join(mask_rows)), 0, 0, 0, 0)
        blobs.append(header + xor + b"".join(mask_rows))
        entries.append(size)
    out = [struct.pack("<HHH", 0, 1, len(images))]
    offset = 6 + 16 * len(images)
    for size, blob in zip(entries, blobs):
        dim = 0 if size >= 256 else size
        out.append(struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset))
        offset += len(blob)
    return b"".join(out + blobs)


def read_bmp(data):
    """A Pillow picture of BMP bytes written by this module (for the contact sheet)."""
    magic, _, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    if magic != b"BM":
        raise ValueError("not a BMP")
    header_size, width, height, _, bpp, compression = struct.unpack_from("<IiiHHI", data, 14)
    bottom_up = height > 0
    height = abs(height)
    if bpp == 24:
        stride = width * 3 + _row_padding(width * 3)
        img = Image.new("RGB", (width, height))
        for row in range(height):
            start = offset + row * stride
            y = height - 1 - row if bottom_up else row
            img.paste(Image.frombytes("RGB", (width, 1), data[start:start + width * 3],
                                      "raw", "BGR"), (0, y))
        return img
    if bpp == 8:
        colours = struct.unpack_from("<I", data, 14 + 32)[0] or 256
        pal_start = 14 + header_size
        palette = []
        for i in range(colours):
            b, g, r, _ = struct.unpack_from("<BBBB", data, pal_start + i * 4)
            palette += [r, g, b]
        stride = width + _row_padding(width)
        img = Image.new("P", (width, height))
        img.putpalette(palette)
        for row in range(height):
            start = offset + row * stride
            y = height - 1 - row if bottom_up else row
            line = Image.frombytes("P", (width, 1), data[start:start + width])
            line.putpalette(palette)
            img.paste(line, (0, y))
        return img.convert("RGB")
    if bpp == 32 and compression in (0, 3):
        img = Image.frombytes("RGBA", (width, height), data[offset:offset + width * height * 4],
                              "raw", "BGRA")
        return img.transpose(Image.Transpose.FLIP_TOP_BOTTOM) if bottom_up else img
    raise ValueError("unsupported BMP: %d bits" % bpp)
