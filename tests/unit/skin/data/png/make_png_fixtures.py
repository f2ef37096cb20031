#!/usr/bin/python3
"""Writes the PNG fixtures of png_picture_test.cpp into this folder.

Every fixture but one shows the same test pattern (pattern below, mirrored in the test), written by an encoder
other than ours: Python's zlib with a chosen level or strategy, and rows filtered by a chosen PNG filter,
so that each block type and each filter is read at least once (paeth_ties_rgb.png shows grain, made
for the Paeth filter's ties); and two pictures saved by Pillow as the
artwork generator saves its pictures. The block type of each stream is checked here, so a change of zlib
cannot quietly turn a fixture into another kind. Run again only to add fixtures; the files are committed.
"""

import io
import os
import struct
import zlib

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
STORED, FIXED, DYNAMIC = 0, 1, 2


def grain(x, y, alpha):
    """Few values per channel, so that Paeth's ties between "up" and "up-left" come up often."""
    assert not alpha
    return (((x * 5 + y * 3 + (x * y) % 7) % 5) * 10, ((x * 2 + y * 7 + (x + y) % 3) % 5) * 10 + 3,
            ((x * x + y * 4) % 5) * 10 + 7)


def pattern(x, y, alpha):
    pixel = ((x * 29 + y * 7) & 255, (x * 3 + y * 53 + 17) & 255, (x * y * 5 + 101) & 255)
    return pixel + ((x * 11 + y * 13 + 40) & 255,) if alpha else pixel


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filtered_rows(width, height, alpha, filter_of_row, source=pattern):
    bpp = 4 if alpha else 3
    rows = [bytes(v for x in range(width) for v in source(x, y, alpha)) for y in range(height)]
    out = bytearray()
    for y, row in enumerate(rows):
        kind = filter_of_row(y)
        previous = rows[y - 1] if y > 0 else bytes(len(row))
        out.append(kind)
        for i, value in enumerate(row):
            left = row[i - bpp] if i >= bpp else 0
            up = previous[i]
            up_left = previous[i - bpp] if i >= bpp else 0
            predicted = [0, left, up, (left + up) // 2, paeth(left, up, up_left)][kind]
            out.append((value - predicted) & 255)
    return bytes(out)


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def block_type(stream):
    return (stream[2] >> 1) & 3


def png(width, height, alpha, stream, split=0, extra=()):
    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    parts = [stream[i:i + split] for i in range(0, len(stream), split)] if split else [stream]
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + b"".join(chunk(k, b) for k, b in extra)
            + b"".join(chunk(b"IDAT", p) for p in parts) + chunk(b"IEND", b""))


def compress(data, level, strategy=zlib.Z_DEFAULT_STRATEGY):
    compressor = zlib.compressobj(level, zlib.DEFLATED, 15, 9, strategy)
    return compressor.compress(data) + compressor.flush()


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def written(width, height, alpha, filter_of_row, level, strategy, expected_block, source=pattern, **options):
    stream = compress(filtered_rows(width, height, alpha, filter_of_row, source), level, strategy)
    assert block_type(stream) == expected_block, (width, height, level, strategy)
    return png(width, height, alpha, stream, **options)


def pillow(width, height, alpha):
    image = Image.new("RGBA" if alpha else "RGB", (width, height))
    image.putdata([pattern(x, y, alpha) for y in range(height) for x in range(width)])
    out = io.BytesIO()
    image.save(out, "PNG", compress_level=9, optimize=True)
    return out.getvalue()


def main():
    each_filter = lambda y: y % 5  # noqa: E731
    write("filters_rgb.png", written(11, 5, False, each_filter, 9, zlib.Z_FIXED, FIXED))
    write("filters_rgba.png", written(7, 5, True, each_filter, 9, zlib.Z_FIXED, FIXED))
    write("stored_rgb.png", written(11, 5, False, each_filter, 0, zlib.Z_DEFAULT_STRATEGY, STORED))
    write("dynamic_rgb.png", written(48, 40, False, each_filter, 9, zlib.Z_DEFAULT_STRATEGY, DYNAMIC))
    write("fast_rgb.png", written(48, 40, False, lambda y: 4, 1, zlib.Z_DEFAULT_STRATEGY, DYNAMIC))
    # The stream cut into many IDAT chunks, with chunks a reader may skip before them.
    extra = ((b"tEXt", b"Comment\x00made for a test"), (b"PLTE", bytes(range(12))), (b"ruSt", b"\x01\x02"))
    write("split_idat_rgb.png", written(48, 40, False, each_filter, 9, zlib.Z_DEFAULT_STRATEGY, DYNAMIC,
                                        split=37, extra=extra))
    write("paeth_ties_rgb.png", written(16, 16, False, lambda y: 4, 9, zlib.Z_DEFAULT_STRATEGY, DYNAMIC, source=grain))
    write("pillow_rgb.png", pillow(48, 40, False))
    write("pillow_rgba.png", pillow(48, 40, True))


if __name__ == "__main__":
    main()
