"""Icon (.ico) and cursor (.cur) files from RGBA pictures.

Both are the same container: a directory, then one 32-bit bottom-up device-independent bitmap per entry
whose height is doubled to make room for the one-bit AND mask that follows the colours. A cursor's
directory says type 2 and keeps its hotspot where an icon keeps planes and bit count. The AND mask is
written even though the alpha channel makes it redundant: some readers refuse icons without it.
"""

import struct


def _image_data(image):
    width, height = image.size
    rgba = image.convert("RGBA")
    colours = bytearray()
    for y in reversed(range(height)):
        for x in range(width):
            r, g, b, a = rgba.getpixel((x, y))
            colours += bytes((b, g, r, a))
    mask_stride = (width + 31) // 32 * 4
    mask = bytearray()
    for y in reversed(range(height)):
        row = bytearray(mask_stride)
        for x in range(width):
            if rgba.getpixel((x, y))[3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    header = struct.pack(
        "<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(colours) + len(mask), 0, 0, 0, 0
    )
    return header + bytes(colours) + bytes(mask)


def _container(kind, image, field_a, field_b):
    width, height = image.size
    if width > 256 or height > 256:
        raise ValueError("icons and cursors are at most 256 pixels wide and high")
    data = _image_data(image)
    directory = struct.pack("<HHH", 0, kind, 1)
    entry = struct.pack(
        "<BBBBHHII", width % 256, height % 256, 0, 0, field_a, field_b, len(data), len(directory) + 16
    )
    return directory + entry + data


def icon_bytes(image):
    return _container(1, image, 1, 32)


def cursor_bytes(image, hotspot):
    return _container(2, image, hotspot[0], hotspot[1])
