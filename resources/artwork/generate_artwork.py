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
    title = "Notice"              # drawn in the title strip
    size = [305, 245]
    accent = "blue"               # colour of the title mark: blue (default) or amber
    footer = 186                  # optional: the strip behind the dialog buttons starts here
    badge = { kind = "notice", centre = [262, 72] }  # optional sign: notice, question or warning
    watermark = [520, 300]        # optional faint product mark
    [pictures]                    # ids; a repeated id is one picture, drawn for its first role
    mask = 310                    # then background, normal, hover, pressed, disabled
    [[extra]]                     # standalone pictures: slider_thumb, row_key, row_clock
    id = 910
    constant = "kThumbPicture"
    kind = "slider_thumb"
    size = [20, 20]
    [[controls]]                  # drawn in every state picture at its layout string's rectangle
    kind = "button"               # button, menu, toggle, label, close, slider, edit, list, plain, help_line
    layout = "BUTTON_OK,72,200,56,24,"
    caption = "OK"                # button, menu, toggle and label only
    align = "left"                # optional; toggles and labels are left-aligned, others centred
    constant = "kOk"              # optional; else from the layout name (BUTTON_OK -> kButtonOk)
    thumb = 910                   # sliders: the extra picture of their thumb
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
}
EXTRA_KINDS = ("slider_thumb", "row_key", "row_clock")
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


@dataclass
class Extra:
    id: int
    constant: str
    kind: str
    size: tuple


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
        table, ("program", "title", "size", "accent", "badge", "footer", "watermark", "pictures", "controls", "extra"), where
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
    window = Window(
        name=name,
        path=path,
        summary=_summary(raw.decode("utf-8")),
        program=program,
        title=_take(table, "title", str, where),
        width=width,
        height=height,
        accent=ACCENTS[accent],
        pictures={},
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
        _no_other_keys(extra, ("id", "constant", "kind", "size"), at)
        kind = _take(extra, "kind", str, at)
        if kind not in EXTRA_KINDS:
            raise DescriptionError(f"{at}: kind must be one of {', '.join(EXTRA_KINDS)}")
        size = _pair(extra, "size", at)
        if not (8 <= size[0] <= 256 and 8 <= size[1] <= 256):
            raise DescriptionError(f"{at}: size {size} is not a small picture's")
        window.extras.append(Extra(_picture_id(_take(extra, "id", int, at), at), _take(extra, "constant", str, at), kind, size))

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
        _no_other_keys(entry, ("kind", "layout", "caption", "align", "constant", "thumb"), at)
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
        if not takes_caption and caption:
            raise DescriptionError(f"{at}: a {kind} shows no caption")
        align = _take(entry, "align", str, at, default="left" if kind in ("toggle", "label") else "centre", required=False)
        if align not in ("centre", "left"):
            raise DescriptionError(f"{at}: align must be centre or left")
        thumb = _take(entry, "thumb", int, at, default=0, required=False)
        if (kind == "slider") != bool(thumb):
            raise DescriptionError(f"{at}: a slider, and only a slider, names its thumb picture")
        window.controls.append(Control(kind, layout, constant, caption, align, thumb))
    return window


# ---- checks


def _overlap(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def check_window(window, fonts):
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
        if layout.width <= 0 or layout.height <= 0:
            raise DescriptionError(f"{at}: empty rectangle")
        if layout.left - reach < 0 or layout.top - reach < 0 or layout.right + reach > window.width or layout.bottom + reach > window.height:
            raise DescriptionError(f"{at}: lies outside the {window.width} x {window.height} window")
        for other, other_rect in occupied:
            if _overlap(layout.rect, other_rect):
                raise DescriptionError(f"{at}: overlaps {other!r}")
        occupied.append((layout.source, layout.rect))
        if control.caption:
            font = fonts.heading if control.kind == "label" else fonts.caption
            needed = style.caption_room(control.kind, control.caption, fonts)
            if needed > layout.width or style.text_height(font) > layout.height:
                raise DescriptionError(f"{at}: caption {control.caption!r} does not fit ({needed} pixels wide)")
        if control.kind == "toggle" and style.CHECK_SIZE > layout.height:
            raise DescriptionError(f"{at}: too low for its check box")
        if control.kind == "slider":
            thumb = extras.get(control.thumb)
            if thumb is None or thumb.kind != "slider_thumb":
                raise DescriptionError(f"{at}: thumb {control.thumb} is not a slider_thumb picture of this window")
            if thumb.size[0] * 2 > layout.width or thumb.size[1] > layout.height:
                raise DescriptionError(f"{at}: too small for its {thumb.size[0]} x {thumb.size[1]} thumb")
    if window.badge:
        cx, cy = window.badge_centre
        half = BADGE_SIZE // 2
        box = (cx - half, cy - half, cx + half, cy + half)
        if box[0] < 1 or box[1] <= style.TITLE_HEIGHT or box[2] > window.width - 1 or box[3] > window.height - 1:
            raise DescriptionError(f"{where}: the badge lies outside the window's panel")
        for other, other_rect in occupied:
            if _overlap(box, other_rect):
                raise DescriptionError(f"{where}: the badge overlaps {other!r}")
    if window.watermark:
        cx, cy = window.watermark
        box = (cx + WATERMARK_BOX[0], cy + WATERMARK_BOX[1], cx + WATERMARK_BOX[2], cy + WATERMARK_BOX[3])
        if box[0] < 1 or box[1] <= style.TITLE_HEIGHT or box[2] > window.width - 1 or box[3] > window.height - 1:
            raise DescriptionError(f"{where}: the watermark lies outside the window's panel")
        for other, other_rect in occupied:
            if _overlap(box, other_rect):
                raise DescriptionError(f"{where}: the watermark overlaps {other!r}")


# ---- drawing


def render_state(window, state, fonts):
    image = style.panel(window.width, window.height, window.title, fonts, window.accent, window.footer or None)
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
        elif control.kind == "slider":
            style.slider_groove(image, rect, extras[control.thumb].size[0])
        elif control.kind == "edit":
            style.edit_field(image, rect)
        elif control.kind == "list":
            style.list_frame(image, rect)
        elif control.kind == "help_line":
            style.help_line(image, rect)
        # "plain" areas stay as the panel: the program draws into them.
    style.window_frame(image, style.ACCENT)
    return image


def render_extra(extra):
    width, height = extra.size
    if extra.kind == "slider_thumb":
        return style.slider_thumb(width, height)
    return style.row_picture("key" if extra.kind == "row_key" else "clock", width, height)


def png_bytes(image):
    """8-bit RGB, not interlaced, at the strongest compression; Pillow writes no time stamps."""
    assert image.mode == "RGB"
    out = io.BytesIO()
    image.save(out, "PNG", compress_level=9, optimize=True)
    return out.getvalue()


def render_window(window, fonts):
    """The window's pictures: id -> PNG bytes. An id listed for several roles is drawn for its first."""
    pictures = {window.pictures["mask"]: png_bytes(style.mask_picture(window.width, window.height))}
    for role in STATE_ROLES:
        picture = window.pictures[role]
        if picture not in pictures:
            pictures[picture] = png_bytes(render_state(window, ROLE_STATE[role], fonts))
    for extra in window.extras:
        if extra.id in pictures:
            raise DescriptionError(f"{_where(window.path)}: picture {extra.id} is listed twice")
        pictures[extra.id] = png_bytes(render_extra(extra))
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
    windows = [read_window(p) for p in paths]
    pictures, drawn_by, program_ids = {}, {}, {program: set() for program in PROGRAMS}
    for window in windows:
        check_window(window, fonts)
        for picture, data in render_window(window, fonts).items():
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
