#!/usr/bin/python3
"""Renders the skin's pictures from the window descriptions in windows/*.toml.

For every window: its mask, background and four whole-window state pictures as PNG files named by
picture id, plus any standalone pictures the description lists; a C++ header with the window's size,
picture ids and layout strings; and two resource scripts, one with the configuration program's pictures
and one with every picture (for the gallery). Also the submenu arrow icon and the hand cursor.

    generate_artwork.py --output BUILD/artwork [--descriptions DIR]

Writes OUTPUT/pictures/<id>.png, OUTPUT/include/artwork/<window>.h, OUTPUT/include/artwork/icons.h,
OUTPUT/icons/<id>.ico, OUTPUT/cursors/<id>.cur, OUTPUT/option_artwork.rc and OUTPUT/gallery_artwork.rc.
The same descriptions always give the same bytes.

A description (TOML; its leading comment becomes the header's):

    program = "option"            # whose resource script carries the pictures: option or gallery
    frame = "dialog"              # dialog (default; title strip), page (a card in the main window, no
                                  # title) or popup (a low header band)
    title = "Notice"              # drawn in the title strip; pages have none
    mask_size = [774, 312]        # optional: the mask's size when the window's shape is smaller than
                                  # its background picture (the region clips the rest)
    size = [305, 245]
    accent = "blue"               # colour of the title mark: blue (default) or amber
    footer = 186                  # optional: the strip behind the dialog buttons starts here
    badge = { kind = "notice", centre = [262, 72] }  # optional sign: notice, question or warning
    watermark = [520, 300]        # optional faint product mark
    [pictures]                    # ids; a repeated id is one picture, drawn for its first role
    mask = 310                    # then background, normal, hover, pressed, disabled
    [[extra]]                     # standalone pictures: slider_thumb, row_key, row_clock, and the
    id = 910                      # button pictures button, language, windows_marker, model_badge
    constant = "kThumbPicture"
    kind = "slider_thumb"
    size = [20, 20]
    state = "hover"               # button pictures: normal (default), hover, pressed or disabled
    caption = "EN"                # button: its caption; language: its two-letter code
    at = [12, 570]                # optional: the window point it is shown at, so its corners carry the
                                  # window's panel there
    group = 2                     # mouse_hover only (the button assignment page's hover pictures, with
    input = 5                     # 'at' required): the group (0 to 7: layer, Altlayer state and
                                  # orientation, as the page counts them) and the highlighted input (1 to 7)
    [[controls]]                  # drawn in every state picture at its layout string's rectangle
    kind = "button"               # button, menu, toggle, label, close, slider, edit, list, plain, help_line;
                                  # tab, minimize, radio, resolution, spin, dark_edit, text, item,
                                  # windows_profile; slot (a menu button the program captions);
                                  # mouse_right, mouse_left (the mouse figure, 159 x 175);
                                  # hidden (a zero-size control: header only)
    layout = "BUTTON_OK,72,200,56,24,"
    caption = "OK"                # button, menu, toggle, label, tab, resolution, text, item; radio optional
    align = "left"                # optional; toggles and labels are left-aligned, others centred
    constant = "kOk"              # optional; else from the layout name (BUTTON_OK -> kButtonOk)
    thumb = 910                   # sliders: the extra picture of their thumb
    steps = 10                    # sliders: tick marks, one per value (default 11; 0 for none)
    flag = "EN"                   # items: the language flag before the caption
    overlaps = ["Scroll speed"]   # layout names whose rectangles this one may overlap (the program's
                                  # own layouts sometimes touch by a few rows)
"""

import argparse
import hashlib
import io
import os
import re
import sys
import textwrap
import tomllib
from dataclasses import dataclass, field

sys.dont_write_bytecode = True  # nothing of ours lands in the source tree

import icon_files  # noqa: E402
import style  # noqa: E402
from layout import Layout, LayoutError, constant_name, parse_layout  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
PROGRAMS = ("option", "gallery")
STATE_ROLES = ("background", "normal", "hover", "pressed", "disabled")
ROLE_CONSTANTS = {
    "mask": "kMaskPicture",
    "background": "kBackgroundPicture",
    "normal": "kNormalPicture",
    "hover": "kHoverPicture",
    "pressed": "kPressedPicture",
    "disabled": "kDisabledPicture",
}
# What a state picture draws its controls as; the background is the window at rest.
ROLE_STATE = {"background": "normal", "normal": "normal", "hover": "hover", "pressed": "pressed", "disabled": "disabled"}
CONTROL_KINDS = {
    # kind: (takes a caption, pixels its drawing reaches beyond the rectangle)
    "button": (True, 0),
    "menu": (True, 0),
    "toggle": (True, 0),
    "label": (True, 0),
    "close": (False, 0),
    "slider": (False, 0),
    "edit": (False, 2),
    "list": (False, 2),
    "plain": (False, 0),
    "help_line": (False, 0),
    "tab": (True, 0),
    "minimize": (False, 0),
    "radio": (None, 0),  # None: a caption is optional
    "resolution": (True, 0),
    "spin": (False, 0),
    "dark_edit": (False, 2),
    "text": (True, 0),
    "item": (True, 0),
    "windows_profile": (False, 0),
    "slot": (False, 0),
    "mouse_right": (False, 0),
    "mouse_left": (False, 0),
    "hidden": (False, 0),
}
EXTRA_KINDS = ("slider_thumb", "row_key", "row_clock", "button", "language", "windows_marker", "model_badge", "spin", "mouse_hover")
MOUSE_KINDS = ("mouse_right", "mouse_left")
# The hover pictures' groups: (left-handed, the side buttons carrying Altlayer[+]); the odd group of each pair
# is left-handed; 0 and 1 are the normal layer, 2 to 7 the Altlayer layer on input 4, on input 5, on both.
MOUSE_HOVER_GROUPS = ((False, ()), (True, ()), (False, (4,)), (True, (4,)), (False, (5,)), (True, (5,)),
                      (False, (4, 5)), (True, (4, 5)))
BUTTON_EXTRAS = ("button", "language", "windows_marker", "spin")
FRAMES = ("dialog", "page", "popup")
BUTTON_STATES = ("normal", "hover", "pressed", "disabled")
BADGES = ("notice", "question", "warning")
BADGE_SIZE = 40
WATERMARK_TEXT = "VELMAR KAVO"
WATERMARK_BOX = (-40, -48, 40, 26)  # around its centre
ACCENTS = {"blue": style.ACCENT, "amber": style.AMBER}
SUBMENU_ARROW_ICON = 145
HAND_CURSOR = 426
MAX_PICTURE_ID = 65535
IDENTIFIER = re.compile(r"[A-Za-z_][A-Za-z0-9_]*\Z")
CONSTANT = re.compile(r"k[A-Z][A-Za-z0-9]*\Z")


class DescriptionError(Exception):
    pass


@dataclass
class Control:
    kind: str
    layout: Layout
    constant: str
    caption: str = ""
    align: str = "centre"
    thumb: int = 0
    steps: int = 11
    flag: str = ""
    overlaps: tuple = ()


@dataclass
class Extra:
    id: int
    constant: str
    kind: str
    size: tuple
    state: str = "normal"
    caption: str = ""
    at: tuple = ()
    group: int = 0
    input: int = 0


@dataclass
class Window:
    name: str  # file name without .toml: the header's and namespace's name
    path: str
    summary: str
    program: str
    title: str
    width: int
    height: int
    accent: tuple
    pictures: dict  # role -> id
    controls: list = field(default_factory=list)
    extras: list = field(default_factory=list)
    badge: str = ""
    badge_centre: tuple = (0, 0)
    footer: int = 0
    watermark: tuple = ()
    frame: str = "dialog"
    mask_size: tuple = ()


# ---- reading descriptions


def _where(path):
    """A description's name in messages: relative to this folder when it lies inside."""
    relative = os.path.relpath(path, HERE)
    return path if relative.startswith("..") else relative


def _take(table, key, kind, where, default=None, required=True):
    if key not in table:
        if required and default is None:
            raise DescriptionError(f"{where}: '{key}' is missing")
        return default
    value = table[key]
    if not isinstance(value, kind) or (kind is int and isinstance(value, bool)):
        expected = {int: "a whole number", str: "a text", list: "a list", dict: "a table"}[kind]
        raise DescriptionError(f"{where}: '{key}' must be {expected}")
    return value


def _no_other_keys(table, allowed, where):
    unknown = sorted(set(table) - set(allowed))
    if unknown:
        raise DescriptionError(f"{where}: unknown key(s) {', '.join(unknown)}")


def _pair(table, key, where, required=True):
    value = _take(table, key, list, where, required=required)
    if value is None:
        return None
    if len(value) != 2 or not all(isinstance(v, int) and not isinstance(v, bool) for v in value):
        raise DescriptionError(f"{where}: '{key}' must be two whole numbers")
    return tuple(value)


def _picture_id(value, where):
    if isinstance(value, bool) or not isinstance(value, int) or not 1 <= value <= MAX_PICTURE_ID:
        raise DescriptionError(f"{where}: picture id {value!r} is not a number from 1 to {MAX_PICTURE_ID}")
    return value


def _summary(text):
    """The description's leading comment lines, for the header."""
    lines = []
    for line in text.splitlines():
        if not line.startswith("#"):
            break
        lines.append(line.lstrip("#").strip())
    return " ".join(lines).strip()


def read_window(path):
    name = os.path.splitext(os.path.basename(path))[0]
    where = _where(path)
    if not IDENTIFIER.match(name):
        raise DescriptionError(f"{where}: the file name must be a C++ identifier")
    with open(path, "rb") as f:
        raw = f.read()
    try:
        table = tomllib.loads(raw.decode("utf-8"))
    except (tomllib.TOMLDecodeError, UnicodeDecodeError) as error:
        raise DescriptionError(f"{where}: {error}") from None
    _no_other_keys(
        table,
        ("program", "frame", "title", "size", "mask_size", "accent", "badge", "footer", "watermark", "pictures", "controls", "extra"),
        where,
    )

    program = _take(table, "program", str, where)
    if program not in PROGRAMS:
        raise DescriptionError(f"{where}: program must be one of {', '.join(PROGRAMS)}")
    width, height = _pair(table, "size", where)
    if not (64 <= width <= 4096 and 64 <= height <= 4096):
        raise DescriptionError(f"{where}: size {width} x {height} is not a window's")
    accent = _take(table, "accent", str, where, default="blue")
    if accent not in ACCENTS:
        raise DescriptionError(f"{where}: accent must be one of {', '.join(ACCENTS)}")
    frame = _take(table, "frame", str, where, default="dialog")
    if frame not in FRAMES:
        raise DescriptionError(f"{where}: frame must be one of {', '.join(FRAMES)}")
    if frame == "page" and "title" in table:
        raise DescriptionError(f"{where}: a page has no title strip, so no title")
    mask_size = _pair(table, "mask_size", where, required=False) or ()
    if mask_size and not (64 <= mask_size[0] <= width and 64 <= mask_size[1] <= height):
        raise DescriptionError(f"{where}: mask_size {mask_size} must lie within the window's size")
    window = Window(
        name=name,
        path=path,
        summary=_summary(raw.decode("utf-8")),
        program=program,
        title=_take(table, "title", str, where) if frame != "page" else "",
        width=width,
        height=height,
        accent=ACCENTS[accent],
        pictures={},
        frame=frame,
        mask_size=mask_size,
    )

    pictures = _take(table, "pictures", dict, where)
    _no_other_keys(pictures, ROLE_CONSTANTS, f"{where} [pictures]")
    for role in ROLE_CONSTANTS:
        window.pictures[role] = _picture_id(_take(pictures, role, int, f"{where} [pictures]"), f"{where} [pictures] {role}")
    if window.pictures["mask"] in [window.pictures[r] for r in STATE_ROLES]:
        raise DescriptionError(f"{where}: the mask cannot also be a state picture")

    for k, extra in enumerate(_take(table, "extra", list, where, default=[])):
        at = f"{where} [[extra]] {k + 1}"
        if not isinstance(extra, dict):
            raise DescriptionError(f"{at}: must be a table")
        _no_other_keys(extra, ("id", "constant", "kind", "size", "state", "caption", "at", "group", "input"), at)
        kind = _take(extra, "kind", str, at)
        if kind not in EXTRA_KINDS:
            raise DescriptionError(f"{at}: kind must be one of {', '.join(EXTRA_KINDS)}")
        size = _pair(extra, "size", at)
        if not (8 <= size[0] <= 256 and 8 <= size[1] <= 256):
            raise DescriptionError(f"{at}: size {size} is not a small picture's")
        state = _take(extra, "state", str, at, default="normal", required=False)
        if state not in BUTTON_STATES or (state != "normal" and kind not in BUTTON_EXTRAS):
            raise DescriptionError(f"{at}: state {state!r} is not one of a button picture's")
        caption = _take(extra, "caption", str, at, default="", required=False)
        if (kind in ("button", "language")) != bool(caption):
            raise DescriptionError(f"{at}: a button or language picture, and only these, has a caption")
        if kind == "language" and caption not in style.FLAGS:
            raise DescriptionError(f"{at}: no flag for language {caption!r}")
        spot = _pair(extra, "at", at, required=False) or ()
        if spot and not (0 <= spot[0] and spot[0] + size[0] <= width and 0 <= spot[1] and spot[1] + size[1] <= height):
            raise DescriptionError(f"{at}: 'at' puts the picture outside the window")
        group = _take(extra, "group", int, at, default=0, required=False)
        number = _take(extra, "input", int, at, default=0, required=False)
        if kind == "mouse_hover":
            if not (0 <= group < len(MOUSE_HOVER_GROUPS) and 1 <= number <= 7):
                raise DescriptionError(f"{at}: a mouse_hover picture needs a group 0 to 7 and an input 1 to 7")
            if size != style.MOUSE_SIZE or not spot:
                raise DescriptionError(f"{at}: a mouse_hover picture is {style.MOUSE_SIZE} and says where it is shown")
        elif "group" in extra or "input" in extra:
            raise DescriptionError(f"{at}: group and input are a mouse_hover picture's")
        window.extras.append(
            Extra(_picture_id(_take(extra, "id", int, at), at), _take(extra, "constant", str, at), kind, size, state, caption, spot,
                  group, number)
        )

    if "badge" in table:
        badge = _take(table, "badge", dict, where)
        _no_other_keys(badge, ("kind", "centre"), f"{where} [badge]")
        window.badge = _take(badge, "kind", str, f"{where} [badge]")
        if window.badge not in BADGES:
            raise DescriptionError(f"{where} [badge]: kind must be one of {', '.join(BADGES)}")
        window.badge_centre = _pair(badge, "centre", f"{where} [badge]")
    window.footer = _take(table, "footer", int, where, default=0)
    window.watermark = _pair(table, "watermark", where, required=False) or ()
    if window.footer and not style.TITLE_HEIGHT < window.footer < height:
        raise DescriptionError(f"{where}: footer {window.footer} is not between the title strip and the bottom")

    for k, entry in enumerate(_take(table, "controls", list, where)):
        at = f"{where} [[controls]] {k + 1}"
        if not isinstance(entry, dict):
            raise DescriptionError(f"{at}: must be a table")
        _no_other_keys(entry, ("kind", "layout", "caption", "align", "constant", "thumb", "steps", "flag", "overlaps"), at)
        kind = _take(entry, "kind", str, at)
        if kind not in CONTROL_KINDS:
            raise DescriptionError(f"{at}: kind must be one of {', '.join(CONTROL_KINDS)}")
        source = _take(entry, "layout", str, at)
        if not all(" " <= c <= "~" for c in source):
            raise DescriptionError(f"{at}: layout {source!r} must be printable ASCII")
        try:
            layout = parse_layout(source)
            constant = _take(entry, "constant", str, at, default=None, required=False) or constant_name(layout.name)
        except LayoutError as error:
            raise DescriptionError(f"{at}: {error}") from None
        takes_caption = CONTROL_KINDS[kind][0]
        caption = _take(entry, "caption", str, at, default="", required=False)
        if takes_caption and not caption:
            raise DescriptionError(f"{at}: a {kind} needs a caption")
        if takes_caption is False and caption:
            raise DescriptionError(f"{at}: a {kind} shows no caption")
        align = _take(entry, "align", str, at, default="left" if kind in ("toggle", "label") else "centre", required=False)
        if align not in ("centre", "left"):
            raise DescriptionError(f"{at}: align must be centre or left")
        thumb = _take(entry, "thumb", int, at, default=0, required=False)
        if (kind == "slider") != bool(thumb):
            raise DescriptionError(f"{at}: a slider, and only a slider, names its thumb picture")
        steps = _take(entry, "steps", int, at, default=11, required=False)
        if kind != "slider" and "steps" in entry or not (steps == 0 or 2 <= steps <= 100):
            raise DescriptionError(f"{at}: steps are a slider's, 0 or 2 to 100")
        flag = _take(entry, "flag", str, at, default="", required=False)
        if flag and (kind != "item" or flag not in style.FLAGS):
            raise DescriptionError(f"{at}: flag {flag!r} is not a language flag of an item")
        if kind == "hidden" and layout.width and layout.height:
            raise DescriptionError(f"{at}: a hidden control has zero width or height")
        overlaps = _take(entry, "overlaps", list, at, default=[], required=False)
        if not all(isinstance(name, str) and name for name in overlaps):
            raise DescriptionError(f"{at}: overlaps must be a list of layout names")
        window.controls.append(Control(kind, layout, constant, caption, align, thumb, steps, flag, tuple(overlaps)))
    return window


# ---- checks


def _overlap(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def _caption_fits(control, fonts, program_fonts):
    """The caption's width and height needed inside the control's rectangle."""
    kind, caption, layout = control.kind, control.caption, control.layout
    if kind == "tab":
        return style.text_width(fonts.title, caption) + 2 * style.TEXT_PADDING, style.text_height(fonts.title) + style.TAB_INSET
    if kind == "resolution":
        return style.text_width(fonts.heading, caption) + 2, layout.height  # drawn in two lines, checked below
    if kind == "radio":
        return style.RADIO_SIZE + style.CHECK_GAP + style.text_width(fonts.caption, caption) + 1, style.text_height(fonts.caption)
    if kind == "item":
        room = style.text_width(program_fonts.item, caption) + 4 + (17 if control.flag else 0)
        return room, style.text_height(program_fonts.item)
    if kind == "text":
        lines = style.wrap_lines(program_fonts.text, caption, layout.width)
        widest = max(style.text_width(program_fonts.text, line) for line in lines)
        return widest, style.paragraph_height(program_fonts.text, lines)
    font = fonts.heading if kind == "label" else fonts.caption
    return style.caption_room(kind, caption, fonts), style.text_height(font)


def check_window(window, fonts, program_fonts=None):
    where = _where(window.path)
    constants = {"kWidth", "kHeight", *ROLE_CONSTANTS.values()}
    for item in window.controls + window.extras:
        if not CONSTANT.match(item.constant):
            raise DescriptionError(f"{where}: constant {item.constant} must look like kName")
        if item.constant in constants:
            raise DescriptionError(f"{where}: constant {item.constant} is used twice; give one an explicit 'constant'")
        constants.add(item.constant)

    extras = {extra.id: extra for extra in window.extras}
    occupied = []
    for control in window.controls:
        layout, at = control.layout, f"{where}: {control.layout.source!r}"
        reach = CONTROL_KINDS[control.kind][1]
        if control.kind == "hidden":
            if layout.left < 0 or layout.top < 0 or layout.right > window.width or layout.bottom > window.height:
                raise DescriptionError(f"{at}: lies outside the {window.width} x {window.height} window")
            continue
        if layout.width <= 0 or layout.height <= 0:
            raise DescriptionError(f"{at}: empty rectangle")
        if layout.left - reach < 0 or layout.top - reach < 0 or layout.right + reach > window.width or layout.bottom + reach > window.height:
            raise DescriptionError(f"{at}: lies outside the {window.width} x {window.height} window")
        for other, other_rect, other_control in occupied:
            allowed = other_control.layout.name in control.overlaps or layout.name in other_control.overlaps
            if _overlap(layout.rect, other_rect) and not allowed:
                raise DescriptionError(f"{at}: overlaps {other!r}")
        occupied.append((layout.source, layout.rect, control))
        if control.caption:
            needed, high = _caption_fits(control, fonts, program_fonts or style.ProgramFonts())
            if needed > layout.width or high > layout.height:
                raise DescriptionError(f"{at}: caption {control.caption!r} does not fit ({needed} x {high} pixels)")
        if control.kind == "toggle" and style.CHECK_SIZE > layout.height:
            raise DescriptionError(f"{at}: too low for its check box")
        if control.kind == "radio" and style.RADIO_SIZE > min(layout.width, layout.height):
            raise DescriptionError(f"{at}: too small for its option circle")
        if control.kind == "resolution" and layout.height < 30:
            raise DescriptionError(f"{at}: too low for the count over its unit")
        if control.kind in MOUSE_KINDS and (layout.width, layout.height) != style.MOUSE_SIZE:
            raise DescriptionError(f"{at}: the mouse figure is {style.MOUSE_SIZE[0]} x {style.MOUSE_SIZE[1]}")
        if control.kind == "spin" and layout.width < 2 * style.SPIN_BUTTON + 12:
            raise DescriptionError(f"{at}: too narrow for its two buttons and the field between")
        if control.kind == "slider":
            thumb = extras.get(control.thumb)
            if thumb is None or thumb.kind != "slider_thumb":
                raise DescriptionError(f"{at}: thumb {control.thumb} is not a slider_thumb picture of this window")
            if thumb.size[0] * 2 > layout.width or thumb.size[1] > layout.height:
                raise DescriptionError(f"{at}: too small for its {thumb.size[0]} x {thumb.size[1]} thumb")
            if control.steps > 1 and (layout.width - thumb.size[0]) // (control.steps - 1) < 3:
                raise DescriptionError(f"{at}: {control.steps} ticks crowd its track")
    if window.badge:
        cx, cy = window.badge_centre
        half = BADGE_SIZE // 2
        box = (cx - half, cy - half, cx + half, cy + half)
        if box[0] < 1 or box[1] <= style.TITLE_HEIGHT or box[2] > window.width - 1 or box[3] > window.height - 1:
            raise DescriptionError(f"{where}: the badge lies outside the window's panel")
        for other, other_rect, _ in occupied:
            if _overlap(box, other_rect):
                raise DescriptionError(f"{where}: the badge overlaps {other!r}")
    if window.watermark:
        cx, cy = window.watermark
        box = (cx + WATERMARK_BOX[0], cy + WATERMARK_BOX[1], cx + WATERMARK_BOX[2], cy + WATERMARK_BOX[3])
        if box[0] < 1 or box[1] <= style.TITLE_HEIGHT or box[2] > window.width - 1 or box[3] > window.height - 1:
            raise DescriptionError(f"{where}: the watermark lies outside the window's panel")
        for other, other_rect, _ in occupied:
            if _overlap(box, other_rect):
                raise DescriptionError(f"{where}: the watermark overlaps {other!r}")


# ---- drawing


def render_panel(window, fonts, program_fonts):
    """The window without its controls."""
    if window.frame == "page":
        image = style.page_panel(window.width, window.height)
    elif window.frame == "popup":
        image = style.popup_panel(window.width, window.height, window.title, fonts, program_fonts, window.accent)
    else:
        image = style.panel(window.width, window.height, window.title, fonts, window.accent, window.footer or None)
    if window.frame != "dialog" and window.footer:
        draw_footer = style.ImageDraw.Draw(image)
        image.paste(style.FOOTER, (1, window.footer, window.width - 1, window.height))
        draw_footer.line([(0, window.footer), (window.width, window.footer)], fill=style.FOOTER_RULE)
    return image


def finish_frame(window, image):
    if window.frame == "page":
        style.page_frame(image, window.mask_size or (window.width, window.height))
    else:
        style.window_frame(image, style.ACCENT)


def render_state(window, state, fonts, program_fonts=None):
    program_fonts = program_fonts or style.ProgramFonts()
    image = render_panel(window, fonts, program_fonts)
    if window.badge:
        style.badge(image, window.badge_centre, window.badge)
    if window.watermark:
        style.watermark(image, window.watermark, WATERMARK_TEXT, fonts)
    extras = {extra.id: extra for extra in window.extras}
    for control in window.controls:
        rect = control.layout.rect
        if control.kind == "button":
            style.button(image, rect, state, control.caption, fonts, control.align)
        elif control.kind == "menu":
            style.button(image, rect, state, control.caption, fonts, control.align, arrow=True)
        elif control.kind == "toggle":
            style.toggle(image, rect, state, control.caption, fonts)
        elif control.kind == "close":
            style.close_button(image, rect, state)
        elif control.kind == "label":
            style.heading(image, rect, control.caption, fonts, control.align)
        elif control.kind == "slider" and (control.steps != 11 or extras[control.thumb].size[1] != rect[3] - rect[1]):
            style.slider_track(image, rect, extras[control.thumb].size, control.steps)
        elif control.kind == "slider":
            style.slider_groove(image, rect, extras[control.thumb].size[0])
        elif control.kind == "edit":
            style.edit_field(image, rect)
        elif control.kind == "list":
            style.list_frame(image, rect)
        elif control.kind == "help_line":
            style.help_line(image, rect)
        elif control.kind == "tab":
            style.tab(image, rect, state, control.caption, fonts)
        elif control.kind == "minimize":
            style.minimize_button(image, rect, state)
        elif control.kind == "radio":
            style.radio(image, rect, state, control.caption, fonts)
        elif control.kind == "resolution":
            style.resolution_button(image, rect, state, control.caption, fonts, program_fonts)
        elif control.kind == "spin":
            style.spin(image, rect, state, fonts)
        elif control.kind == "dark_edit":
            style.dark_edit_field(image, rect)
        elif control.kind == "text":
            style.paragraph(image, rect, control.caption, program_fonts.text)
        elif control.kind == "item":
            style.item(image, rect, state, control.caption, program_fonts, control.flag)
        elif control.kind == "windows_profile":
            style.windows_profile_button(image, rect, state)
        elif control.kind == "slot":
            style.slot_button(image, rect, state)
        elif control.kind in MOUSE_KINDS:
            style.mouse_figure(image, rect[:2], control.kind == "mouse_left", fonts)
        # "plain" areas stay as the panel: the program draws into them; "hidden" ones have no area.
    finish_frame(window, image)
    return image


def render_extra(extra, window=None, fonts=None, program_fonts=None):
    width, height = extra.size
    if extra.kind == "mouse_hover":
        # The figure as the page's background shows it there, with the input lit.
        image = render_panel(window, fonts, program_fonts)
        left_handed, altlayer = MOUSE_HOVER_GROUPS[extra.group]
        style.mouse_figure(image, extra.at, left_handed, fonts, extra.input, altlayer)
        return image.crop((extra.at[0], extra.at[1], extra.at[0] + width, extra.at[1] + height))
    if extra.kind == "slider_thumb":
        return style.slider_thumb(width, height)
    if extra.kind in ("row_key", "row_clock"):
        return style.row_picture("key" if extra.kind == "row_key" else "clock", width, height)
    # Button pictures stand on the window's panel where they are shown, or on the plain panel colour.
    if extra.at:
        base = render_panel(window, fonts, program_fonts).crop((extra.at[0], extra.at[1], extra.at[0] + width, extra.at[1] + height))
    else:
        base = style.Image.new("RGB", (width, height), style.PANEL_BOTTOM)
    if extra.kind == "button":
        return style.standalone_button(base, extra.state, extra.caption, fonts)
    if extra.kind == "language":
        return style.language_button(base, extra.caption, extra.state, program_fonts)
    if extra.kind == "windows_marker":
        return style.windows_profile_marker(base, extra.state)
    if extra.kind == "spin":
        image = base.copy()
        style.spin(image, (0, 0, width, height), extra.state, fonts)
        return image
    return style.model_badge(base, fonts, program_fonts)


def png_bytes(image):
    """8-bit RGB, not interlaced, at the strongest compression; Pillow writes no time stamps."""
    assert image.mode == "RGB"
    out = io.BytesIO()
    image.save(out, "PNG", compress_level=9, optimize=True)
    return out.getvalue()


def render_window(window, fonts, program_fonts=None):
    """The window's pictures: id -> PNG bytes. An id listed for several roles is drawn for its first."""
    program_fonts = program_fonts or style.ProgramFonts()
    pictures = {window.pictures["mask"]: png_bytes(style.mask_picture(*(window.mask_size or (window.width, window.height))))}
    for role in STATE_ROLES:
        picture = window.pictures[role]
        if picture not in pictures:
            pictures[picture] = png_bytes(render_state(window, ROLE_STATE[role], fonts, program_fonts))
    for extra in window.extras:
        if extra.id in pictures:
            raise DescriptionError(f"{_where(window.path)}: picture {extra.id} is listed twice")
        pictures[extra.id] = png_bytes(render_extra(extra, window, fonts, program_fonts))
    return pictures


# ---- writing


def cxx_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def header_text(window):
    relative = os.path.relpath(window.path, os.path.dirname(HERE))
    lines = [
        "#pragma once",
        f"// Generated from resources/{relative} by resources/artwork/generate_artwork.py;",
        "// do not edit.",
    ]
    if window.summary:
        lines += ["// " + line for line in textwrap.wrap(window.summary, 106)]
    lines += [
        "",
        f"namespace kavo::artwork::{window.name} {{",
        "",
        f"inline constexpr int kWidth = {window.width}, kHeight = {window.height};",
    ]
    for role, constant in ROLE_CONSTANTS.items():
        lines.append(f"inline constexpr int {constant} = {window.pictures[role]};")
    lines.append("// The six above in that order, as the skinned window loads them.")
    lines.append("inline constexpr int kWindowPictures[] = {" + ", ".join(ROLE_CONSTANTS.values()) + "};")
    for extra in window.extras:
        lines.append(f"inline constexpr int {extra.constant} = {extra.id};")
    lines.append("")
    for control in window.controls:
        lines.append(f"inline constexpr char {control.constant}[] = {cxx_string(control.layout.source)};")
    lines += ["", f"}}  // namespace kavo::artwork::{window.name}", ""]
    return "\n".join(lines)


def icons_header_text(hotspot):
    return "\n".join(
        [
            "#pragma once",
            "// Generated by resources/artwork/generate_artwork.py; do not edit.",
            "// The skin's icon and cursor resources.",
            "",
            "namespace kavo::artwork {",
            "",
            f"inline constexpr int kSubmenuArrowIcon = {SUBMENU_ARROW_ICON};  // 16 x 16",
            f"inline constexpr int kHandCursor = {HAND_CURSOR};",
            f"inline constexpr int kHandCursorHotspotX = {hotspot[0]}, kHandCursorHotspotY = {hotspot[1]};",
            "",
            "}  // namespace kavo::artwork",
            "",
        ]
    )


def rc_text(purpose, ids, pictures, output):
    def path(*parts):
        return os.path.join(output, *parts).replace("\\", "/")

    digest = hashlib.sha256(b"".join(pictures[i] for i in ids)).hexdigest()[:16]
    lines = [
        "// Generated by resources/artwork/generate_artwork.py; do not edit.",
        f"// {purpose}: the skin's pictures as PNG data under their picture ids, the submenu arrow and the",
        f"// hand cursor. Pictures {digest}.",
        f'{SUBMENU_ARROW_ICON} ICON "{path("icons", f"{SUBMENU_ARROW_ICON}.ico")}"',
        f'{HAND_CURSOR} CURSOR "{path("cursors", f"{HAND_CURSOR}.cur")}"',
    ]
    lines += [f'{i} RCDATA "{path("pictures", f"{i}.png")}"' for i in ids]
    return "\n".join(lines) + "\n"


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    temporary = path + ".tmp"
    with open(temporary, "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("utf-8"))
    os.replace(temporary, path)


def generate(descriptions, output):
    paths = sorted(os.path.join(descriptions, n) for n in os.listdir(descriptions) if n.endswith(".toml"))
    if not paths:
        raise DescriptionError(f"no window descriptions in {descriptions}")
    fonts = style.Fonts()
    program_fonts = style.ProgramFonts()
    windows = [read_window(p) for p in paths]
    pictures, drawn_by, program_ids = {}, {}, {program: set() for program in PROGRAMS}
    for window in windows:
        check_window(window, fonts, program_fonts)
        for picture, data in render_window(window, fonts, program_fonts).items():
            if picture in pictures and pictures[picture] != data:
                raise DescriptionError(
                    f"picture {picture} is drawn differently by {drawn_by[picture]}.toml and {window.name}.toml"
                )
            pictures[picture] = data
            drawn_by.setdefault(picture, window.name)
            program_ids[window.program].add(picture)

    for picture, data in pictures.items():
        write(os.path.join(output, "pictures", f"{picture}.png"), data)
    folder = os.path.join(output, "pictures")
    for name in os.listdir(folder):  # pictures of descriptions since removed
        if name.endswith(".png") and name[:-4].isdigit() and int(name[:-4]) not in pictures:
            os.remove(os.path.join(folder, name))

    arrow = style.submenu_arrow()
    hand, hotspot = style.hand_cursor()
    write(os.path.join(output, "icons", f"{SUBMENU_ARROW_ICON}.ico"), icon_files.icon_bytes(arrow))
    write(os.path.join(output, "cursors", f"{HAND_CURSOR}.cur"), icon_files.cursor_bytes(hand, hotspot))

    for window in windows:
        write(os.path.join(output, "include", "artwork", f"{window.name}.h"), header_text(window))
    write(os.path.join(output, "include", "artwork", "icons.h"), icons_header_text(hotspot))
    write(
        os.path.join(output, "option_artwork.rc"),
        rc_text("KavoOption.exe", sorted(program_ids["option"]), pictures, output),
    )
    write(os.path.join(output, "gallery_artwork.rc"), rc_text("The skin gallery", sorted(pictures), pictures, output))
    total = sum(len(data) for data in pictures.values())
    print(f"artwork: {len(pictures)} pictures of {len(windows)} windows, {total} bytes of PNG")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--output", required=True, help="folder for pictures, headers and resource scripts")
    parser.add_argument("--descriptions", default=os.path.join(HERE, "windows"), help="folder of window descriptions")
    arguments = parser.parse_args()
    try:
        generate(arguments.descriptions, os.path.abspath(arguments.output))
    except DescriptionError as error:
        raise SystemExit(f"artwork: {error}") from None


if __name__ == "__main__":
    main()
