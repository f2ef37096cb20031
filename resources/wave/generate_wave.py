#!/usr/bin/env python3
"""The double-click test's media, drawn here in the skin's look: a picture of a mouse with its left
button (double_click.bmp), a click ripple the Windows animation control plays (double_click.avi:
uncompressed 8-bit frames, one video stream, no sound) and a short click (double_click.wav, 16-bit PCM
mono). All three are the test area's size, 41 x 22, and are made the same on every run."""

import argparse
import math
import os
import random
import struct
import wave

from PIL import Image, ImageDraw

WIDTH, HEIGHT = 41, 22
SUPERSAMPLE = 4

# The skin's colours (resources/artwork/style.py).
ACCENT = (53, 160, 222)
ACCENT_LIGHT = (108, 190, 238)
PANEL = (12, 13, 16)
OUTLINE = (134, 139, 148)
BODY = (30, 32, 38)

FRAMES = 10
MICROSECONDS_PER_FRAME = 60000  # 0.6 s for the ripple
SAMPLE_RATE = 22050
CLICK_SECONDS = 0.06


def mouse_picture(lit):
    """The mouse, upright at the left, its left button in the accent colour by lit (0..1)."""
    s = SUPERSAMPLE
    image = Image.new("RGB", (WIDTH * s, HEIGHT * s), PANEL)
    draw = ImageDraw.Draw(image)
    left, top, right, bottom = 3 * s, 2 * s, 17 * s, 20 * s
    draw.rounded_rectangle([left, top, right, bottom], radius=6 * s, fill=BODY, outline=OUTLINE, width=s)
    middle = (left + right) // 2
    split = top + 8 * s
    button = tuple(round(BODY[i] + (ACCENT[i] - BODY[i]) * lit) for i in range(3))
    draw.rounded_rectangle([left + s, top + s, middle - s // 2, split], radius=5 * s, fill=button)
    draw.line([(middle, top), (middle, split)], fill=OUTLINE, width=s)
    draw.line([(left, split), (right, split)], fill=OUTLINE, width=s)
    return image, draw


def picture():
    image, draw = mouse_picture(1.0)
    s = SUPERSAMPLE
    # Two small arcs beside the button: "twice".
    for radius in (5, 9):
        box = [8 * s - radius * s, 6 * s - radius * s, 8 * s + radius * s, 6 * s + radius * s]
        draw.arc(box, start=-60, end=20, fill=ACCENT_LIGHT, width=s)
    return image.resize((WIDTH, HEIGHT), Image.LANCZOS)


def ripple_frame(index):
    """Frame index of the ripple: the button lights and fades while two rings spread from it."""
    progress = index / (FRAMES - 1)
    image, draw = mouse_picture(1.0 - progress)
    s = SUPERSAMPLE
    cx, cy = 8 * s, 6 * s
    for delay in (0.0, 0.3):
        phase = (progress - delay) / (1.0 - delay)
        if phase <= 0.0:
            continue
        radius = (3 + 28 * phase) * s
        fade = 1.0 - phase
        colour = tuple(round(PANEL[i] + (ACCENT_LIGHT[i] - PANEL[i]) * fade) for i in range(3))
        draw.ellipse([cx - radius, cy - radius, cx + radius, cy + radius], outline=colour, width=s)
    return image.resize((WIDTH, HEIGHT), Image.LANCZOS)


def palette_for(frames):
    """One 256-colour palette for every frame, so the control needs no palette changes."""
    strip = Image.new("RGB", (WIDTH, HEIGHT * len(frames)))
    for i, frame in enumerate(frames):
        strip.paste(frame, (0, HEIGHT * i))
    return strip.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)


def chunk(fourcc, data):
    body = fourcc + struct.pack("<I", len(data)) + data
    return body + (b"\0" if len(data) % 2 else b"")


def riff_list(kind, fourcc, data):
    return kind + struct.pack("<I", len(data) + 4) + fourcc + data


def avi(frames):
    quantized = palette_for(frames)
    palette = quantized.getpalette()[: 256 * 3]
    palette += [0] * (256 * 3 - len(palette))
    stride = (WIDTH + 3) // 4 * 4
    size = stride * HEIGHT
    bodies = []
    for frame in frames:
        indexed = frame.quantize(palette=quantized, dither=Image.Dither.NONE)
        pixels = indexed.tobytes()
        rows = [pixels[y * WIDTH:(y + 1) * WIDTH] + b"\0" * (stride - WIDTH) for y in range(HEIGHT)]
        bodies.append(b"".join(reversed(rows)))  # bottom-up, as DIBs are
    rate = round(1_000_000 / MICROSECONDS_PER_FRAME * 1000)

    avih = struct.pack("<14I", MICROSECONDS_PER_FRAME, size * 1_000_000 // MICROSECONDS_PER_FRAME, 0,
                       0x10,  # AVIF_HASINDEX
                       len(frames), 0, 1, size, WIDTH, HEIGHT, 0, 0, 0, 0)
    strh = (b"vids" + b"DIB " + struct.pack("<IHHIIIIIIII", 0, 0, 0, 0, 1000, rate, 0, len(frames), size,
                                             0xFFFFFFFF, 0)
            + struct.pack("<4h", 0, 0, WIDTH, HEIGHT))
    bitmap_info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, size, 0, 0, 256, 256)
    quad = b"".join(bytes((palette[i * 3 + 2], palette[i * 3 + 1], palette[i * 3], 0)) for i in range(256))
    strl = riff_list(b"LIST", b"strl", chunk(b"strh", strh) + chunk(b"strf", bitmap_info + quad))
    hdrl = riff_list(b"LIST", b"hdrl", chunk(b"avih", avih) + strl)

    movi_data = b""
    index = b""
    for body in bodies:
        offset = 4 + len(movi_data)  # from the "movi" fourcc
        movi_data += chunk(b"00db", body)
        index += b"00db" + struct.pack("<III", 0x10, offset, len(body))  # AVIIF_KEYFRAME
    movi = riff_list(b"LIST", b"movi", movi_data)
    return riff_list(b"RIFF", b"AVI ", hdrl + movi + chunk(b"idx1", index))


def click_samples():
    """A short click: a decaying 2.4 kHz tick over a burst of noise, 16-bit."""
    noise = random.Random(1)
    count = round(SAMPLE_RATE * CLICK_SECONDS)
    samples = []
    for n in range(count):
        t = n / SAMPLE_RATE
        envelope = math.exp(-t * 90.0)
        value = 0.55 * math.sin(2 * math.pi * 2400 * t) + 0.35 * (noise.random() * 2 - 1) * math.exp(-t * 400.0)
        samples.append(max(-32767, min(32767, round(value * envelope * 26000))))
    return struct.pack("<%dh" % count, *samples)


def write_wav(path):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(SAMPLE_RATE)
        out.writeframes(click_samples())


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--output", required=True, help="folder for double_click.bmp, .avi and .wav")
    folder = parser.parse_args().output
    os.makedirs(folder, exist_ok=True)
    picture().save(os.path.join(folder, "double_click.bmp"), format="BMP")
    with open(os.path.join(folder, "double_click.avi"), "wb") as out:
        out.write(avi([ripple_frame(i) for i in range(FRAMES)]))
    write_wav(os.path.join(folder, "double_click.wav"))


if __name__ == "__main__":
    main()
