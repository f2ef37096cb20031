"""The look of the Kavo skin: colours, fonts and the drawing of every kind of control.

Shapes are drawn at SUPERSAMPLE times the size and reduced, which gives smooth edges with nothing but
integer arithmetic, so the same input always gives the same pixels. Text is drawn by FreeType at its
real size with antialiasing.
"""

import os
import shutil
import subprocess

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

SUPERSAMPLE = 4

# ---- colours (red, green, blue)

ACCENT = (53, 160, 222)  # the menus' highlight, COLORREF 0xDEA035
ACCENT_LIGHT = (108, 190, 238)
ACCENT_DARK = (34, 124, 178)
AMBER = (240, 168, 40)
WHITE = (255, 255, 255)
CAPTION = (224, 224, 224)  # 0xE0E0E0, the buttons' caption colour
MUTED = (134, 139, 148)  # section headings
DIM = (92, 96, 104)  # disabled text
BLACK = (0, 0, 0)

PANEL_TOP = (23, 24, 28)  # #17181c
PANEL_BOTTOM = (12, 13, 16)  # #0c0d10
TITLE_TOP = (33, 35, 41)
TITLE_BOTTOM = (20, 21, 25)
TITLE_RULE = (38, 40, 46)
FOOTER = (14, 15, 18)
FOOTER_RULE = (36, 38, 44)
HELP_STRIP = (9, 10, 12)
HELP_RULE = (34, 36, 42)

BUTTON_FACE = {
    "normal": ((46, 48, 54), (33, 35, 40)),
    "hover": ((62, 66, 74), (45, 48, 55)),
    "pressed": (ACCENT, ACCENT_DARK),
    "disabled": ((27, 28, 32), (23, 24, 27)),
}
BUTTON_BORDER = {
    "normal": (66, 70, 78),
    "hover": ACCENT,
    "pressed": ACCENT_LIGHT,
    "disabled": (42, 44, 49),
}
BUTTON_TEXT = {"normal": CAPTION, "hover": WHITE, "pressed": WHITE, "disabled": DIM}

CHECK_BORDER = {"normal": (84, 89, 98), "hover": ACCENT, "pressed": ACCENT, "disabled": (48, 50, 56)}
CHECK_FILL = {"normal": (13, 14, 17), "hover": (20, 24, 30), "pressed": ACCENT, "disabled": (20, 21, 24)}

FIELD_BORDER = (74, 78, 86)
LIST_FACE = (8, 9, 11)

# Keys that the program cuts away: the slider thumb's window shape drops every pixel of its top-left
# pixel's colour; list rows draw their pictures with COLORREF 0x7B00DE transparent.
THUMB_KEY = (255, 0, 255)
ROW_KEY = (222, 0, 123)

# ---- sizes

CORNER_RADIUS = 7
TITLE_HEIGHT = 28
BUTTON_RADIUS = 4
TEXT_PADDING = 4  # least room between a caption and its rectangle's sides
CAPTION_SIZE = 12  # pixels per em: Arial of height 14 in the program
TITLE_SIZE = 12
HEADING_SIZE = 11
CHECK_SIZE = 14
CHECK_GAP = 7
MENU_ARROW_GAP = 6
MENU_ARROW_WIDTH = 4


# ---- fonts

FONT_NAMES = {"regular": "LiberationSans-Regular.ttf", "bold": "LiberationSans-Bold.ttf"}
FONT_PATTERNS = {"regular": "Liberation Sans:style=Regular", "bold": "Liberation Sans:style=Bold"}
FONT_FALLBACK_FOLDER = "/usr/share/fonts/truetype/liberation2"


def find_font(weight):
    """The path of Liberation Sans (Arial's metrics) in the given weight; exits with a clear error."""
    wanted = FONT_NAMES[weight]
    if shutil.which("fc-match"):
        found = subprocess.run(
            ["fc-match", "-f", "%{file}", FONT_PATTERNS[weight]], capture_output=True, text=True, check=False
        ).stdout.strip()
        if os.path.basename(found) == wanted and os.path.isfile(found):
            return found
    fallback = os.path.join(FONT_FALLBACK_FOLDER, wanted)
    if os.path.isfile(fallback):
        return fallback
    raise SystemExit(f"artwork: font {wanted} not found (install the Debian package fonts-liberation2)")


class Fonts:
    """The skin's fonts, laid out without Raqm so that text does not depend on its version."""

    def __init__(self):
        regular, bold = find_font("regular"), find_font("bold")
        basic = ImageFont.Layout.BASIC
        self.caption = ImageFont.truetype(regular, CAPTION_SIZE, layout_engine=basic)
        self.heading = ImageFont.truetype(bold, HEADING_SIZE, layout_engine=basic)
        self.title = ImageFont.truetype(bold, TITLE_SIZE, layout_engine=basic)
        self.glyph = ImageFont.truetype(bold, 22, layout_engine=basic)


def text_width(font, text):
    return int(round(font.getlength(text)))


def text_height(font):
    ascent, descent = font.getmetrics()
    return ascent + descent


def cap_height(font):
    box = font.getbbox("H")
    return box[3] - box[1]


def draw_text(image, font, text, box, colour, align="centre"):
    """Draws text in box (left, top, right, bottom): capitals centred vertically, the line centred or
    starting TEXT_PADDING from the left."""
    left, top, right, bottom = box
    draw = ImageDraw.Draw(image)
    baseline = (top + bottom + cap_height(font)) // 2
    if align == "left":
        draw.text((left, baseline), text, font=font, fill=colour, anchor="ls")
    else:
        x = left + (right - left - text_width(font, text)) // 2
        draw.text((x, baseline), text, font=font, fill=colour, anchor="ls")


# ---- shapes


def _coverage(width, height, paint):
    """A coverage mask of width x height pixels: paint(draw, scale) draws white on black at SUPERSAMPLE
    times the size."""
    big = Image.new("L", (width * SUPERSAMPLE, height * SUPERSAMPLE), 0)
    paint(ImageDraw.Draw(big), SUPERSAMPLE)
    return big.reduce(SUPERSAMPLE)


def rounded_coverage(width, height, radius, inset=0):
    """Coverage of a rounded rectangle filling width x height, shrunk by inset pixels on every side."""

    def paint(draw, s):
        draw.rounded_rectangle(
            [inset * s, inset * s, (width - inset) * s - 1, (height - inset) * s - 1],
            radius=max(0, radius - inset) * s,
            fill=255,
        )

    return _coverage(width, height, paint)


def vertical_gradient(width, height, top, bottom):
    """A gradient from colour top in the first row to colour bottom in the last."""
    column = Image.new("RGB", (1, height))
    for y in range(height):
        t = y / (height - 1) if height > 1 else 0.0
        column.putpixel((0, y), tuple(int(round(a + (b - a) * t)) for a, b in zip(top, bottom)))
    return column.resize((width, height), Image.Resampling.NEAREST)


def paint(image, origin, coverage, colour):
    """Lays colour (a colour or a picture of coverage's size) over image through coverage at origin."""
    if isinstance(colour, tuple):
        colour = Image.new("RGB", coverage.size, colour)
    image.paste(colour, origin, coverage)


def framed_box(image, box, radius, face, border, border_width=1):
    """A rounded box: face (colour or (top, bottom) gradient) inside a border of border_width pixels."""
    left, top, right, bottom = box
    width, height = right - left, bottom - top
    outer = rounded_coverage(width, height, radius)
    inner = rounded_coverage(width, height, radius, inset=border_width)
    if isinstance(face, tuple) and isinstance(face[0], tuple):
        face = vertical_gradient(width, height, face[0], face[1])
    paint(image, (left, top), inner, face)
    if border is not None:
        paint(image, (left, top), ImageChops.subtract(outer, inner), border)


def polygon_coverage(width, height, points, outline_width=0):
    """Coverage of a filled polygon (points in pixels, fractions allowed), or of its outline."""

    def paint_polygon(draw, s):
        scaled = [(x * s, y * s) for x, y in points]
        if outline_width:
            draw.line(scaled + [scaled[0]], fill=255, width=int(outline_width * s), joint="curve")
        else:
            draw.polygon(scaled, fill=255)

    return _coverage(width, height, paint_polygon)


def line_coverage(width, height, points, line_width):
    """Coverage of a polyline with round joints and ends."""

    def paint_line(draw, s):
        scaled = [(x * s, y * s) for x, y in points]
        draw.line(scaled, fill=255, width=int(line_width * s), joint="curve")
        r = line_width * s / 2
        for x, y in (scaled[0], scaled[-1]):
            draw.ellipse([x - r, y - r, x + r, y + r], fill=255)

    return _coverage(width, height, paint_line)


def ellipse_coverage(width, height, box):
    def paint_ellipse(draw, s):
        draw.ellipse([v * s for v in box], fill=255)

    return _coverage(width, height, paint_ellipse)


def hard_edge(coverage, threshold=128):
    """Coverage made all-or-nothing, for pictures whose surroundings are cut away by a key colour."""
    return coverage.point(lambda v: 255 if v >= threshold else 0)


# ---- window parts


def window_coverage(width, height):
    return rounded_coverage(width, height, CORNER_RADIUS)


def mask_picture(width, height):
    """The window's shape: black inside, pure white outside, so the rounded corners are transparent."""
    inside = hard_edge(window_coverage(width, height))
    mask = Image.new("RGB", (width, height), WHITE)
    mask.paste(BLACK, (0, 0), inside)
    return mask


def panel(width, height, title, fonts, title_accent, footer_top=None):
    """The empty window: a dark gradient panel, the title strip with its title, and an optional footer
    strip below footer_top where the dialog buttons sit."""
    image = vertical_gradient(width, height, PANEL_TOP, PANEL_BOTTOM)
    image.paste(vertical_gradient(width, TITLE_HEIGHT, TITLE_TOP, TITLE_BOTTOM), (0, 0))
    draw = ImageDraw.Draw(image)
    draw.line([(0, TITLE_HEIGHT), (width, TITLE_HEIGHT)], fill=TITLE_RULE)
    # A short accent mark under the title's start ties every window to the accent colour.
    draw.rectangle([12, TITLE_HEIGHT - 1, 12 + 40, TITLE_HEIGHT], fill=title_accent)
    logo(image, (12, 8), title_accent)
    draw_text(image, fonts.title, title, (32, 0, width - 40, TITLE_HEIGHT), WHITE, align="left")
    if footer_top is not None:
        image.paste(FOOTER, (1, footer_top, width - 1, height))
        draw.line([(0, footer_top), (width, footer_top)], fill=FOOTER_RULE)
    return image


def logo(image, origin, colour):
    """The product mark: a "V" of two slanted strokes, the left one in the window's accent."""
    x, y = origin
    size = (15, 12)
    left = polygon_coverage(*size, [(0, 0), (4.2, 0), (8.6, 12), (5.4, 12)])
    right = polygon_coverage(*size, [(10.6, 0), (14.8, 0), (9.6, 12), (7.6, 6.6)])
    paint(image, (x, y), left, colour)
    paint(image, (x, y), right, WHITE)


def watermark(image, centre, text, fonts):
    """A large, faint product mark with the product's name under it, for empty stretches of a panel."""
    cx, cy = centre
    size = (60, 48)
    left = polygon_coverage(*size, [(0, 0), (16.8, 0), (34.4, 48), (21.6, 48)])
    right = polygon_coverage(*size, [(42.4, 0), (59.2, 0), (38.4, 48), (30.4, 26.4)])
    origin = (cx - size[0] // 2, cy - size[1])
    paint(image, origin, left, (21, 37, 49))
    paint(image, origin, right, (30, 32, 37))
    width = text_width(fonts.heading, text)
    draw_text(image, fonts.heading, text, (cx - width // 2, cy + 8, cx + width // 2 + 1, cy + 24), (40, 42, 48))


def window_frame(image, colour):
    """The one-pixel accent frame along the window's shape; outside the shape the picture is black."""
    width, height = image.size
    outer = window_coverage(width, height)
    inner = rounded_coverage(width, height, CORNER_RADIUS, inset=1)
    paint(image, (0, 0), ImageChops.subtract(outer, inner), colour)
    outside = ImageChops.invert(hard_edge(outer))
    image.paste(BLACK, (0, 0), outside)


# ---- controls, each in one of the four states


def button_face(image, rect, state):
    """The skin's button face; a faint highlight along the top edge gives it some depth."""
    left, top, right, bottom = rect
    framed_box(image, rect, BUTTON_RADIUS, BUTTON_FACE[state], BUTTON_BORDER[state])
    if state != "pressed" and state != "disabled":
        draw = ImageDraw.Draw(image)
        shine = (78, 82, 92) if state == "normal" else (96, 102, 114)
        draw.line([(left + BUTTON_RADIUS, top + 1), (right - BUTTON_RADIUS - 1, top + 1)], fill=shine)


def button_arrow(image, rect, ax, colour):
    """The arrow of a button that opens a submenu, its left edge at ax, centred on the button's height."""
    left, top, right, bottom = rect
    cy = (top + bottom) / 2
    h = MENU_ARROW_WIDTH + 0.5
    shape = polygon_coverage(
        right - left, bottom - top, [(ax - left, cy - h - top), (ax - left + MENU_ARROW_WIDTH, cy - top), (ax - left, cy + h - top)]
    )
    paint(image, (left, top), shape, colour)


def button(image, rect, state, caption, fonts, align="centre", arrow=False):
    left, top, right, bottom = rect
    button_face(image, rect, state)
    colour = BUTTON_TEXT[state]
    if not arrow:
        text_box = (left + TEXT_PADDING, top, right - TEXT_PADDING, bottom) if align == "left" else rect
        draw_text(image, fonts.caption, caption, text_box, colour, align=align)
        return
    # Caption and submenu arrow centred together.
    total = text_width(fonts.caption, caption) + MENU_ARROW_GAP + MENU_ARROW_WIDTH
    x = left + TEXT_PADDING if align == "left" else left + (right - left - total) // 2
    draw_text(image, fonts.caption, caption, (x, top, right, bottom), colour, align="left")
    button_arrow(image, rect, x + total - MENU_ARROW_WIDTH, ACCENT if state in ("normal", "hover") else colour)


def caption_room(kind, caption, fonts):
    """Width a caption needs inside its control's rectangle, for the fit check."""
    if kind == "toggle":
        return CHECK_SIZE + CHECK_GAP + text_width(fonts.caption, caption) + 1
    if kind == "menu":
        return text_width(fonts.caption, caption) + MENU_ARROW_GAP + MENU_ARROW_WIDTH + 2 * TEXT_PADDING
    if kind == "label":
        return text_width(fonts.heading, caption)
    return text_width(fonts.caption, caption) + 2 * TEXT_PADDING


def title_button_face(image, rect, state):
    """The face of a title-strip button in a state; the colour of its symbol."""
    if state == "hover":
        framed_box(image, rect, BUTTON_RADIUS, ((52, 56, 64), (40, 43, 50)), ACCENT)
    elif state == "pressed":
        framed_box(image, rect, BUTTON_RADIUS, (ACCENT, ACCENT_DARK), ACCENT_LIGHT)
    return {"normal": (170, 174, 182), "hover": WHITE, "pressed": WHITE, "disabled": DIM}[state]


def close_button(image, rect, state):
    left, top, right, bottom = rect
    width, height = right - left, bottom - top
    colour = title_button_face(image, rect, state)
    cx, cy, r = width / 2, height / 2, 4.0
    cross = ImageChops.lighter(
        line_coverage(width, height, [(cx - r, cy - r), (cx + r, cy + r)], 1.6),
        line_coverage(width, height, [(cx - r, cy + r), (cx + r, cy - r)], 1.6),
    )
    paint(image, (left, top), cross, colour)


def toggle(image, rect, state, caption, fonts):
    """A check box with its label; the pressed picture is the checked look."""
    left, top, right, bottom = rect
    box_top = top + (bottom - top - CHECK_SIZE) // 2
    box = (left, box_top, left + CHECK_SIZE, box_top + CHECK_SIZE)
    face = (ACCENT_LIGHT, ACCENT) if state == "pressed" else CHECK_FILL[state]
    framed_box(image, box, 3, face, CHECK_BORDER[state])
    if state == "pressed":
        mark = line_coverage(CHECK_SIZE, CHECK_SIZE, [(3.6, 7.3), (6.0, 9.9), (10.6, 4.4)], 1.9)
        paint(image, (box[0], box[1]), mark, WHITE)
    colour = {"normal": CAPTION, "hover": WHITE, "pressed": WHITE, "disabled": DIM}[state]
    draw_text(image, fonts.caption, caption, (left + CHECK_SIZE + CHECK_GAP, top, right, bottom), colour, align="left")


def slider_groove(image, rect, thumb_width):
    """The track under the thumb: a thin groove between the thumb's centre positions, with ticks."""
    left, top, right, bottom = rect
    cy = (top + bottom) // 2
    groove = (left + thumb_width // 2 - 3, cy - 2, right - thumb_width // 2 + 3, cy + 3)
    framed_box(image, groove, 2, (4, 5, 6), (58, 62, 70))
    draw = ImageDraw.Draw(image)
    span = groove[2] - groove[0] - 6
    for k in range(11):
        x = groove[0] + 3 + span * k // 10
        draw.line([(x, bottom - 2), (x, bottom - 1)], fill=(62, 66, 74) if k % 5 else (110, 116, 126))


def edit_field(image, rect):
    """The edit's white field with a thin border just outside it (the edit covers its rectangle)."""
    left, top, right, bottom = rect
    framed_box(image, (left - 2, top - 2, right + 2, bottom + 2), 3, (16, 17, 20), FIELD_BORDER)
    image.paste(WHITE, (left, top, right, bottom))


def list_frame(image, rect):
    """A frame around the list box, which paints its own rows inside its rectangle."""
    left, top, right, bottom = rect
    framed_box(image, (left - 2, top - 2, right + 2, bottom + 2), 3, LIST_FACE, FIELD_BORDER)


def help_line(image, rect):
    """The strip where the help text of the control under the mouse appears."""
    left, top, right, bottom = rect
    framed_box(image, rect, 3, HELP_STRIP, HELP_RULE)
    paint(image, (left + 1, top + 4), Image.new("L", (2, bottom - top - 8), 255), ACCENT)


def heading(image, rect, caption, fonts, align="left"):
    draw_text(image, fonts.heading, caption, rect, MUTED, align=align)


# ---- header glyphs of the message boxes


def badge(image, centre, kind):
    """The message box's sign: a notice "i" and a question "?" in accent rings, a warning triangle in
    amber."""
    cx, cy = centre
    size = 40
    left, top = cx - size // 2, cy - size // 2
    glow_size = 96  # room for the blur to fade out before the patch's edge
    glow = ellipse_coverage(glow_size, glow_size, (22, 22, 74, 74)).filter(ImageFilter.GaussianBlur(8))
    glow = glow.point(lambda v: v * 26 // 255)
    paint(image, (cx - glow_size // 2, cy - glow_size // 2), glow, AMBER if kind == "warning" else ACCENT)
    if kind == "warning":
        outline = polygon_coverage(size, size, [(20, 3.5), (37, 35), (3, 35)])
        inner = polygon_coverage(size, size, [(20, 7.5), (33.6, 33), (6.4, 33)])
        paint(image, (left, top), ImageChops.subtract(outline, inner), AMBER)
        paint(image, (left, top), inner, (52, 38, 14))
        bar = line_coverage(size, size, [(20, 15), (20, 24)], 3.0)
        dot = ellipse_coverage(size, size, (18.3, 27.2, 21.7, 30.6))
        paint(image, (left, top), ImageChops.lighter(bar, dot), AMBER)
        return
    ring = ImageChops.subtract(
        ellipse_coverage(size, size, (2, 2, 38, 38)), ellipse_coverage(size, size, (4.5, 4.5, 35.5, 35.5))
    )
    paint(image, (left, top), ellipse_coverage(size, size, (4.5, 4.5, 35.5, 35.5)), (13, 35, 50))
    paint(image, (left, top), ring, ACCENT)
    if kind == "notice":
        dot = ellipse_coverage(size, size, (18.2, 10.5, 21.8, 14.1))
        stem = line_coverage(size, size, [(20, 18.5), (20, 28.5)], 3.4)
        paint(image, (left, top), ImageChops.lighter(dot, stem), WHITE)
    else:
        hook = line_coverage(size, size, [(15.2, 15.5), (16.2, 12.6), (20, 11.2), (23.8, 12.6), (24.8, 15.8),
                                          (23.4, 18.6), (20.2, 20.6), (20, 23.4)], 3.0)
        dot = ellipse_coverage(size, size, (18.2, 26.4, 21.8, 30))
        paint(image, (left, top), ImageChops.lighter(hook, dot), WHITE)


# ---- standalone pictures


def slider_thumb(width, height):
    """The slider's knob in the accent colour on the thumb key colour. Its edge is drawn smooth against
    the panel it will sit on and then cut hard, so no pixel mixes with the key colour."""
    under = (18, 19, 23)
    image = Image.new("RGB", (width, height), under)
    outer = ellipse_coverage(width, height, (1, 1, width - 1, height - 1))
    rim = ImageChops.subtract(outer, ellipse_coverage(width, height, (2.2, 2.2, width - 2.2, height - 2.2)))
    paint(image, (0, 0), outer, vertical_gradient(width, height, ACCENT_LIGHT, ACCENT_DARK))
    paint(image, (0, 0), rim, (190, 226, 247))
    core = ellipse_coverage(width, height, (width / 2 - 2.5, height / 2 - 2.5, width / 2 + 2.5, height / 2 + 2.5))
    paint(image, (0, 0), core, (20, 70, 104))
    image.paste(THUMB_KEY, (0, 0), ImageChops.invert(hard_edge(outer)))
    return image


def row_picture(kind, width, height):
    """A list row's small picture on the row key colour: a keyboard key or a clock."""
    under = (26, 27, 31)
    image = Image.new("RGB", (width, height), under)
    if kind == "key":
        cap = rounded_coverage(width - 2, height - 2, 3)
        shape = Image.new("L", (width, height), 0)
        shape.paste(cap, (1, 1))
        paint(image, (0, 0), shape, (205, 210, 218))
        top_face = rounded_coverage(width - 6, height - 7, 2)
        paint(image, (3, 2), top_face, (240, 242, 246))
        glyph = line_coverage(width, height, [(6.0, 10.5), (8.5, 4.5), (11.0, 10.5)], 1.5)
        bar = line_coverage(width, height, [(7.0, 8.6), (10.0, 8.6)], 1.3)
        paint(image, (0, 0), ImageChops.lighter(glyph, bar), (40, 44, 52))
    else:
        shape = ellipse_coverage(width, height, (1, 0.5, width - 1, height - 0.5))
        paint(image, (0, 0), shape, ACCENT)
        face = ellipse_coverage(width, height, (2.6, 2.1, width - 2.6, height - 2.1))
        paint(image, (0, 0), face, (240, 244, 248))
        cx, cy = width / 2, height / 2
        hands = ImageChops.lighter(
            line_coverage(width, height, [(cx, cy), (cx, cy - 4.2)], 1.4),
            line_coverage(width, height, [(cx, cy), (cx + 3.2, cy + 1.2)], 1.4),
        )
        paint(image, (0, 0), hands, (30, 34, 42))
        shape = ImageChops.lighter(shape, hands)
    image.paste(ROW_KEY, (0, 0), ImageChops.invert(hard_edge(shape)))
    return image


# ---- icon and cursor


def submenu_arrow(size=32):
    """The submenu arrow of the skinned menus: a small right-pointing triangle, white with a light-blue
    edge, on transparent. Menus draw the icon at its full size 19 pixels left of an item's right edge and
    9 pixels above its top, so the arrow sits in the icon's left columns, centred on row 18: the middle of
    an 18-pixel item."""
    shape = polygon_coverage(size, size, [(6, 13.5), (11.5, 18), (6, 22.5)])
    inner = polygon_coverage(size, size, [(7.1, 15.7), (10.1, 18), (7.1, 20.3)])
    image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    colour = Image.new("RGBA", (size, size), ACCENT_LIGHT + (255,))
    colour.paste(WHITE + (255,), (0, 0), inner)
    image.paste(colour, (0, 0), shape)
    return image


def hand_cursor(size=32):
    """The hand pointer over clickable buttons: a white hand with a black outline, index finger up.
    Returns the picture and its hotspot (the finger's tip)."""
    s = SUPERSAMPLE

    def hand(draw):
        def box(x0, y0, x1, y1, r):
            draw.rounded_rectangle([x0 * s, y0 * s, x1 * s - 1, y1 * s - 1], radius=r * s, fill=255)

        box(10, 2, 15, 20, 2.5)  # index finger
        box(14.5, 10, 19, 20, 2.2)  # middle finger
        box(18.5, 11, 23, 21, 2.2)  # ring finger
        box(22.5, 12.5, 27, 22, 2.2)  # little finger
        box(10, 15, 27, 27.5, 4)  # palm
        box(11.5, 24, 25.5, 30, 2)  # wrist
        draw.polygon([(4 * s, 17.5 * s), (7 * s, 15 * s), (12 * s, 20 * s), (12 * s, 26 * s)], fill=255)  # thumb
        draw.ellipse([3.5 * s, 15 * s, 8 * s - 1, 19.5 * s - 1], fill=255)

    big = Image.new("L", (size * s, size * s), 0)
    hand(ImageDraw.Draw(big))
    body = big.reduce(s)
    grown = big.filter(ImageFilter.MaxFilter(2 * s + 1)).reduce(s)  # the outline: one pixel wider
    image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    image.paste((0, 0, 0, 255), (0, 0), grown)
    image.paste((255, 255, 255, 255), (0, 0), body)
    draw = ImageDraw.Draw(image)
    for x, y0, y1 in ((15, 12, 19), (19, 13, 20), (23, 14, 21)):  # the lines between the fingers
        draw.line([(x, y0), (x, y1)], fill=(0, 0, 0, 255))
    return image, (12, 1)


# ---- the configuration program's own looks (pages, tabs, popups and its small standalone pictures)

PAGE_TOP = (25, 26, 31)
PAGE_BOTTOM = (15, 16, 19)
PAGE_FRAME = (44, 47, 54)
SMALL_SIZE = 10
ITEM_SIZE = 11
BADGE_NAME_SIZE = 26
TAB_INSET = 4  # rows above a tab left as panel: the model badge overlaps the tab row's top
RADIO_SIZE = 14
SPIN_BUTTON = 13  # width of the value control's decrease and increase parts
TEXT_COLOUR = (176, 181, 190)  # running text drawn into the artwork
LINE_GAP = 3


class ProgramFonts:
    """The extra faces of the configuration program's pictures; kept apart from Fonts so the existing
    pictures stay byte for byte what they were."""

    def __init__(self):
        regular, bold = find_font("regular"), find_font("bold")
        basic = ImageFont.Layout.BASIC
        self.small = ImageFont.truetype(regular, SMALL_SIZE, layout_engine=basic)
        self.small_bold = ImageFont.truetype(bold, SMALL_SIZE, layout_engine=basic)
        self.item = ImageFont.truetype(regular, ITEM_SIZE, layout_engine=basic)
        self.text = ImageFont.truetype(regular, ITEM_SIZE, layout_engine=basic)
        self.badge_name = ImageFont.truetype(bold, BADGE_NAME_SIZE, layout_engine=basic)


def page_panel(width, height):
    """A page of the main window: no title strip, a panel a shade lighter than the window it sits in,
    so it reads as a card."""
    return vertical_gradient(width, height, PAGE_TOP, PAGE_BOTTOM)


def page_frame(image, shape):
    """A quiet one-pixel frame along the page's shape; outside the shape the picture is black."""
    width, height = shape
    outer = window_coverage(width, height)
    inner = rounded_coverage(width, height, CORNER_RADIUS, inset=1)
    paint(image, (0, 0), ImageChops.subtract(outer, inner), PAGE_FRAME)
    outside = Image.new("L", image.size, 255)
    outside.paste(ImageChops.invert(hard_edge(outer)), (0, 0))
    image.paste(BLACK, (0, 0), outside)


def popup_panel(width, height, title, fonts, program_fonts, accent):
    """A small popup: a low header band with its title in small capitals over the dark panel."""
    image = vertical_gradient(width, height, PANEL_TOP, PANEL_BOTTOM)
    band = 15
    image.paste(vertical_gradient(width, band, TITLE_TOP, TITLE_BOTTOM), (0, 0))
    draw = ImageDraw.Draw(image)
    draw.line([(0, band), (width, band)], fill=TITLE_RULE)
    draw.rectangle([6, band - 1, 6 + 24, band], fill=accent)
    draw_text(image, program_fonts.small_bold, title, (7, 0, width - 4, band), MUTED, align="left")
    return image


def tab(image, rect, state, caption, fonts):
    """A page tab; the pressed picture is the selected tab: lifted face, accent bar along its foot."""
    left, top, right, bottom = rect
    box = (left + 1, top + TAB_INSET, right - 1, bottom)
    width, height = box[2] - box[0], box[3] - box[1]
    # Rounded at the top only: a taller rounded box cut at the bottom edge.
    outer = rounded_coverage(width, height + 8, 5).crop((0, 0, width, height))
    inner = rounded_coverage(width, height + 8, 5, inset=1).crop((0, 0, width, height))
    faces = {
        "normal": ((31, 33, 38), (22, 23, 27)),
        "hover": ((44, 47, 54), (30, 32, 37)),
        "pressed": ((40, 50, 60), (27, 30, 36)),
        "disabled": ((24, 25, 29), (20, 21, 24)),
    }
    borders = {"normal": (52, 55, 62), "hover": (74, 80, 90), "pressed": ACCENT_DARK, "disabled": (38, 40, 45)}
    paint(image, box[:2], inner, vertical_gradient(width, height, *faces[state]))
    paint(image, box[:2], ImageChops.subtract(outer, inner), borders[state])
    draw = ImageDraw.Draw(image)
    if state == "pressed":
        draw.rectangle([box[0] + 1, bottom - 3, box[2] - 2, bottom - 1], fill=ACCENT)
    elif state == "hover":
        draw.line([(box[0] + 6, bottom - 1), (box[2] - 7, bottom - 1)], fill=ACCENT_DARK)
    colour = {"normal": (170, 175, 184), "hover": WHITE, "pressed": WHITE, "disabled": DIM}[state]
    draw_text(image, fonts.title, caption, (box[0], box[1], box[2], bottom - 2), colour)


def minimize_button(image, rect, state):
    """The title strip's minimise button: a dash, with the close button's hover and pressed faces."""
    left, top, right, bottom = rect
    width, height = right - left, bottom - top
    colour = title_button_face(image, rect, state)
    cx, cy = width / 2, height / 2 + 3.5
    paint(image, (left, top), line_coverage(width, height, [(cx - 4.5, cy), (cx + 4.5, cy)], 1.6), colour)


def radio(image, rect, state, caption, fonts):
    """A round option button with an optional label; the pressed picture is the chosen look. Circle and
    label sit at the rectangle's foot, clear of a slider track that may reach into its top."""
    left, top, right, bottom = rect
    y = bottom - RADIO_SIZE
    top = y
    size = RADIO_SIZE
    outer = ellipse_coverage(size, size, (0.5, 0.5, size - 0.5, size - 0.5))
    inner = ellipse_coverage(size, size, (1.7, 1.7, size - 1.7, size - 1.7))
    paint(image, (left, y), inner, CHECK_FILL[state] if state != "pressed" else (13, 35, 50))
    paint(image, (left, y), ImageChops.subtract(outer, inner), CHECK_BORDER[state])
    if state == "pressed":
        dot = ellipse_coverage(size, size, (4, 4, size - 4, size - 4))
        paint(image, (left, y), dot, ACCENT_LIGHT)
    if caption:
        colour = {"normal": CAPTION, "hover": WHITE, "pressed": WHITE, "disabled": DIM}[state]
        draw_text(image, fonts.caption, caption, (left + size + CHECK_GAP, top, right, bottom), colour, align="left")


def resolution_button(image, rect, state, caption, fonts, program_fonts):
    """A tall resolution step: the count in bold over a small "DPI"; the pressed picture is the chosen
    step, lit in the accent."""
    left, top, right, bottom = rect
    framed_box(image, rect, BUTTON_RADIUS, BUTTON_FACE[state], BUTTON_BORDER[state])
    colour = BUTTON_TEXT[state]
    middle = (top + bottom) // 2
    draw_text(image, fonts.heading, caption, (left, top + 2, right, middle + 3), colour)
    unit = {"normal": MUTED, "hover": CAPTION, "pressed": (220, 240, 252), "disabled": DIM}[state]
    draw_text(image, program_fonts.small, "DPI", (left, middle + 1, right, bottom - 3), unit)


def spin(image, rect, state, fonts):
    """The value control: a decrease part, the number's field and an increase part, each SPIN_BUTTON
    wide at the sides; the field is black, as the edit over it paints."""
    left, top, right, bottom = rect
    framed_box(image, rect, 3, BUTTON_FACE[state], BUTTON_BORDER[state])
    draw = ImageDraw.Draw(image)
    field = (left + SPIN_BUTTON, top + 1, right - SPIN_BUTTON, bottom - 1)
    draw.rectangle([field[0], field[1], field[2] - 1, field[3] - 1], fill=BLACK)
    draw.line([(field[0], top + 1), (field[0], bottom - 2)], fill=BUTTON_BORDER[state])
    draw.line([(field[2] - 1, top + 1), (field[2] - 1, bottom - 2)], fill=BUTTON_BORDER[state])
    colour = BUTTON_TEXT[state]
    height = bottom - top
    cy = height / 2
    for x0, plus in ((0, False), (right - left - SPIN_BUTTON, True)):
        cx = x0 + SPIN_BUTTON / 2
        glyph = line_coverage(SPIN_BUTTON, height, [(cx - x0 - 3, cy), (cx - x0 + 3, cy)], 1.5)
        if plus:
            glyph = ImageChops.lighter(glyph, line_coverage(SPIN_BUTTON, height, [(cx - x0, cy - 3), (cx - x0, cy + 3)], 1.5))
        paint(image, (left + x0, top), glyph, colour)


def dark_edit_field(image, rect):
    """An edit that paints white on black: the same border as edit_field around a black field."""
    left, top, right, bottom = rect
    framed_box(image, (left - 2, top - 2, right + 2, bottom + 2), 3, (4, 4, 5), FIELD_BORDER)
    image.paste(BLACK, (left, top, right, bottom))


def wrap_lines(font, text, width):
    """Words laid into lines no wider than width; a word wider than the line stands alone."""
    lines, line = [], ""
    for word in text.split():
        trial = f"{line} {word}" if line else word
        if line and text_width(font, trial) > width:
            lines.append(line)
            line = word
        else:
            line = trial
    if line:
        lines.append(line)
    return lines


def paragraph_height(font, lines):
    return len(lines) * (text_height(font) + LINE_GAP) - LINE_GAP


def paragraph(image, rect, text, font, colour=TEXT_COLOUR):
    """Running text, word-wrapped from the rectangle's top-left corner."""
    left, top, right, bottom = rect
    draw = ImageDraw.Draw(image)
    ascent, _ = font.getmetrics()
    y = top
    for line in wrap_lines(font, text, right - left):
        draw.text((left, y + ascent), line, font=font, fill=colour, anchor="ls")
        y += text_height(font) + LINE_GAP


def windows_glyph(image, origin, size, colour, gap=1.4):
    """Four panes, the sign for the Windows profile."""
    x, y = origin
    half = (size - gap) / 2
    shape = Image.new("L", (size + 1, size + 1), 0)
    for px, py in ((0, 0), (half + gap, 0), (0, half + gap), (half + gap, half + gap)):
        pane = polygon_coverage(size + 1, size + 1, [(px, py), (px + half, py), (px + half, py + half), (px, py + half)])
        shape = ImageChops.lighter(shape, pane)
    paint(image, (x, y), shape, colour)


def windows_profile_button(image, rect, state):
    """The plain Windows-profile button of a slot: the four panes, dim until the mouse comes."""
    left, top, right, bottom = rect
    if state in ("hover", "pressed"):
        framed_box(image, rect, BUTTON_RADIUS, BUTTON_FACE[state], BUTTON_BORDER[state])
    else:
        framed_box(image, rect, BUTTON_RADIUS, (17, 18, 22), (46, 49, 56))
    colour = {"normal": (84, 89, 98), "hover": CAPTION, "pressed": WHITE, "disabled": (48, 50, 56)}[state]
    size = 10
    windows_glyph(image, (left + (right - left - size) // 2, top + (bottom - top - size) // 2), size, colour)


def windows_profile_marker(base, state):
    """The marker over the slot that is the Windows profile: the four panes lit in the accent with a
    soft glow; base is the window's panel under it."""
    image = base.copy()
    width, height = image.size
    glow = ellipse_coverage(width, height, (2, 1, width - 2, height - 1)).filter(ImageFilter.GaussianBlur(3))
    glow = glow.point(lambda v: v * (70 if state == "hover" else 46) // 255)
    paint(image, (0, 0), glow, ACCENT)
    face = {"normal": ((24, 58, 82), (15, 38, 56)), "hover": ((30, 76, 108), (20, 50, 72)),
            "pressed": (ACCENT, ACCENT_DARK), "disabled": ((24, 58, 82), (15, 38, 56))}[state]
    framed_box(image, (1, 0, width - 1, height), BUTTON_RADIUS, face, ACCENT_LIGHT if state != "normal" else ACCENT)
    size = 10
    windows_glyph(image, ((width - size) // 2, (height - size) // 2), size, WHITE if state != "normal" else ACCENT_LIGHT)
    return image


# Simplified flags of the ten languages, drawn as stripes and crosses.
FLAGS = {
    "DA": ("cross", (198, 12, 48), WHITE),
    "EN": ("union", (1, 33, 105), (200, 16, 46)),
    "FI": ("cross", WHITE, (0, 47, 108)),
    "FR": ("vertical", (0, 85, 164), WHITE, (239, 65, 53)),
    "DE": ("horizontal", (20, 20, 20), (221, 0, 0), (255, 206, 0)),
    "PL": ("horizontal", WHITE, (220, 20, 60)),
    "RU": ("horizontal", WHITE, (0, 57, 166), (213, 43, 30)),
    "ES": ("spain", (170, 21, 27), (241, 191, 0)),
    "SV": ("cross", (0, 106, 167), (254, 204, 0)),
    "TR": ("crescent", (227, 10, 23), WHITE),
}


def flag(image, box, code):
    """The language's flag filling box (left, top, right, bottom), with a thin dark edge."""
    left, top, right, bottom = box
    width, height = right - left, bottom - top
    kind, *colours = FLAGS[code]
    picture = Image.new("RGB", (width, height), colours[0])
    draw = ImageDraw.Draw(picture)
    if kind == "horizontal":
        for k, colour in enumerate(colours):
            draw.rectangle([0, height * k // len(colours), width, height * (k + 1) // len(colours) - 1], fill=colour)
    elif kind == "vertical":
        for k, colour in enumerate(colours):
            draw.rectangle([width * k // len(colours), 0, width * (k + 1) // len(colours) - 1, height], fill=colour)
    elif kind == "spain":
        draw.rectangle([0, height // 4, width, height - height // 4 - 1], fill=colours[1])
    elif kind == "cross":
        x = width * 3 // 8
        draw.rectangle([x, 0, x + 1, height], fill=colours[1])
        draw.rectangle([0, height // 2 - 1, width, height // 2], fill=colours[1])
    elif kind == "union":
        draw.line([(0, 0), (width, height)], fill=WHITE, width=2)
        draw.line([(0, height), (width, 0)], fill=WHITE, width=2)
        draw.rectangle([width // 2 - 2, 0, width // 2 + 1, height], fill=WHITE)
        draw.rectangle([0, height // 2 - 2, width, height // 2 + 1], fill=WHITE)
        draw.rectangle([width // 2 - 1, 0, width // 2, height], fill=colours[1])
        draw.rectangle([0, height // 2 - 1, width, height // 2], fill=colours[1])
    elif kind == "crescent":
        moon = ellipse_coverage(width, height, (width * 0.18, height * 0.18, width * 0.18 + height * 0.64, height * 0.82))
        bite = ellipse_coverage(width, height, (width * 0.3, height * 0.26, width * 0.3 + height * 0.5, height * 0.74))
        paint(picture, (0, 0), ImageChops.subtract(moon, bite), WHITE)
        star = ellipse_coverage(width, height, (width * 0.62, height * 0.4, width * 0.62 + 2, height * 0.4 + 2))
        paint(picture, (0, 0), star, WHITE)
    image.paste(picture, (left, top))
    ImageDraw.Draw(image).rectangle([left - 1, top - 1, right, bottom], outline=(6, 6, 8))


def language_button(base, code, state, fonts):
    """The main window's language button: the flag and the two-letter code on a small chip; base is
    the window's panel under it."""
    image = base.copy()
    width, height = image.size
    framed_box(image, (0, 0, width, height), 3, BUTTON_FACE[state], BUTTON_BORDER[state])
    flag(image, (4, 5, 14, 12), code)
    colour = BUTTON_TEXT[state]
    draw_text(image, fonts.small_bold, code, (16, 0, width, height), colour, align="left")
    return image


def item(image, rect, state, caption, program_fonts, code=""):
    """An entry of a popup list: its flag when it has one, the name; hover tints it, pressed fills it
    with the accent."""
    left, top, right, bottom = rect
    if state == "hover":
        framed_box(image, rect, 2, ((40, 58, 74), (30, 44, 57)), None)
    elif state == "pressed":
        framed_box(image, rect, 2, (ACCENT, ACCENT_DARK), None)
    x = left + 4
    if code:
        middle = (top + bottom) // 2
        flag(image, (x + 1, middle - 3, x + 12, middle + 4), code)
        x += 17
    colour = {"normal": CAPTION, "hover": WHITE, "pressed": WHITE, "disabled": DIM}[state]
    draw_text(image, program_fonts.item, caption, (x, top, right, bottom), colour, align="left")


def model_badge(base, fonts, program_fonts):
    """The product badge shown for the Kavo model: the mark, "KAVO" large, a tag line under it; base is
    the window's panel under it, so the badge sits in the window seamlessly."""
    image = base.copy()
    width, height = image.size
    big = (36, 29)
    left = polygon_coverage(*big, [(0, 0), (10.1, 0), (20.6, 29), (13, 29)])
    right = polygon_coverage(*big, [(25.4, 0), (35.5, 0), (23, 29), (18.2, 16)])
    paint(image, (6, 6), left, ACCENT)
    paint(image, (6, 6), right, WHITE)
    draw = ImageDraw.Draw(image)
    name_box = (50, 2, width, 28)
    draw_text(image, program_fonts.badge_name, "KAVO", name_box, WHITE, align="left")
    name_width = text_width(program_fonts.badge_name, "KAVO")
    draw.rectangle([50, 30, 50 + name_width, 30], fill=ACCENT)
    draw_text(image, program_fonts.small_bold, "GAMING MOUSE", (50, 32, width, 41), MUTED, align="left")
    return image


def standalone_button(base, state, caption, fonts):
    """A button picture of its own (not cut from a window): the skin's button with its caption."""
    image = base.copy()
    width, height = image.size
    button(image, (0, 0, width, height), state, caption, fonts)
    return image


def slider_track(image, rect, thumb_size, steps):
    """A slider's track for a thumb that rides at the track's top: the groove through the thumb's centre
    row, one tick per value (steps), the ends and middle marked brighter."""
    left, top, right, bottom = rect
    thumb_width, thumb_height = thumb_size
    cy = top + thumb_height // 2
    groove = (left + thumb_width // 2 - 3, cy - 2, right - thumb_width // 2 + 3, cy + 3)
    framed_box(image, groove, 2, (4, 5, 6), (58, 62, 70))
    draw = ImageDraw.Draw(image)
    if steps < 2:
        return
    span = right - left - thumb_width
    tick_top = max(top + thumb_height + 1, bottom - 3)
    for k in range(steps):
        x = left + thumb_width // 2 + span * k // (steps - 1)
        bright = k in (0, steps - 1)
        draw.line([(x, tick_top), (x, bottom - 1)], fill=(110, 116, 126) if bright else (62, 66, 74))


# ---- the button assignment page: slot buttons and the mouse figure


def slot_button(image, rect, state):
    """A button slot: the skin's button face with the submenu arrow at its right end; the program writes
    the slot's function over it."""
    button_face(image, rect, state)
    colour = ACCENT if state in ("normal", "hover") else BUTTON_TEXT[state]
    button_arrow(image, rect, rect[2] - TEXT_PADDING - MENU_ARROW_WIDTH, colour)


MOUSE_BODY = (46, 49, 56)
MOUSE_OUTLINE = (104, 110, 122)
MOUSE_PART = (30, 32, 37)
MOUSE_NUMBER = (150, 156, 166)
MOUSE_SIZE = (159, 175)  # the figure's box: the hover pictures' size


def _mouse_parts(width):
    """The figure's parts in a right-handed box of the figure's size: input number -> ("rect", box,
    radius) or ("arrow", points), with each number's place. A left-handed figure mirrors them."""
    cx = width / 2
    return {
        1: (("poly", [(cx - 1, 18), (cx - 1, 80), (cx - 43, 80), (cx - 43, 46), (cx - 35, 25), (cx - 20, 17)]), (cx - 28, 62)),
        2: (("poly", [(cx + 1, 18), (cx + 1, 80), (cx + 43, 80), (cx + 43, 46), (cx + 35, 25), (cx + 20, 17)]), (cx + 28, 62)),
        3: (("rect", (cx - 6, 39, cx + 6, 61), 5), (cx - 15, 50)),
        4: (("rect", (cx - 52, 88, cx - 44, 114), 3), (cx - 62, 101)),
        5: (("rect", (cx + 44, 88, cx + 52, 114), 3), (cx + 62, 101)),
        6: (("poly", [(cx, 25), (cx + 6, 34), (cx - 6, 34)]), (cx + 14, 30)),
        7: (("poly", [(cx - 6, 66), (cx + 6, 66), (cx, 75)]), (cx + 14, 71)),
    }


def _mirror_part(shape, width):
    if shape[0] == "rect":
        left, top, right, bottom = shape[1]
        return ("rect", (width - right, top, width - left, bottom), shape[2])
    return ("poly", [(width - x, y) for x, y in shape[1]])


def _part_coverage(size, shape):
    width, height = size
    if shape[0] == "poly":
        return polygon_coverage(width, height, shape[1])
    left, top, right, bottom = shape[1]

    def paint_rect(draw, s):
        draw.rounded_rectangle([left * s, top * s, right * s - 1, bottom * s - 1], radius=shape[2] * s, fill=255)

    return _coverage(width, height, paint_rect)


def mouse_figure(image, origin, left_handed, fonts, highlight=0, altlayer=()):
    """The mouse seen from above with its seven inputs numbered as the page counts them: 1 and 2 the main
    buttons, 3 the wheel button, 4 and 5 the side buttons, 6 and 7 the wheel's two directions. A left-handed
    figure mirrors the places, not the numbers. highlight (an input, 0 for none) is drawn in the accent
    colour; the inputs in altlayer carry the Altlayer function and are ringed in amber."""
    width, height = MOUSE_SIZE
    layer = Image.new("RGB", MOUSE_SIZE)
    layer.paste(image.crop((origin[0], origin[1], origin[0] + width, origin[1] + height)))
    cx = width / 2
    body = [(cx - 20, 14), (cx + 20, 14), (cx + 38, 22), (cx + 46, 44), (cx + 46, 118), (cx + 40, 142),
            (cx + 22, 156), (cx - 22, 156), (cx - 40, 142), (cx - 46, 118), (cx - 46, 44), (cx - 38, 22)]
    paint(layer, (0, 0), polygon_coverage(width, height, body), MOUSE_BODY)
    paint(layer, (0, 0), polygon_coverage(width, height, body, outline_width=1.5), MOUSE_OUTLINE)
    draw = ImageDraw.Draw(layer)
    for number, (shape, place) in sorted(_mouse_parts(width).items()):
        if left_handed:
            shape = _mirror_part(shape, width)
            place = (width - place[0], place[1])
        cover = _part_coverage(MOUSE_SIZE, shape)
        if number in altlayer:
            grown = cover.filter(ImageFilter.MaxFilter(5))
            paint(layer, (0, 0), grown, AMBER)
        face = ACCENT if number == highlight else (MOUSE_PART if number in (1, 2, 4, 5) else MOUSE_OUTLINE)
        paint(layer, (0, 0), cover, face)
        colour = WHITE if number == highlight else (AMBER if number in altlayer else MOUSE_NUMBER)
        font = fonts.heading
        x = int(round(place[0] - text_width(font, str(number)) / 2))
        draw.text((x, int(place[1] + cap_height(font) / 2)), str(number), font=font, fill=colour, anchor="ls")
    if altlayer:
        text = "ALTLAYER[+]"
        draw_text(layer, fonts.heading, text, (0, 158, width, height), AMBER)
    image.paste(layer, origin)
