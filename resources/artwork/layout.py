"""Layout strings read the way the program reads them ("name,x,y,width,height," and an optional text).

The program's parser (skin/layout.cpp) quietly cuts long names and texts; here anything it would cut or
refuse is an error, so that a description never means something other than what the program sees.
"""

import re
from dataclasses import dataclass

MAX_NAME = 39
MAX_TEXT = 399
MAX_COORDINATE = 32767
WHITE_SPACE = " \t\r\n\v\f"
# Blanks, an optional sign, digits, blanks; then a comma, or the end for the last number.
NUMBER = re.compile(r"[ \t]*([+-]?)([0-9]+)[ \t]*(,|\Z)")


class LayoutError(ValueError):
    pass


@dataclass(frozen=True)
class Layout:
    source: str
    name: str
    left: int
    top: int
    width: int
    height: int
    text: str

    @property
    def right(self):
        return self.left + self.width

    @property
    def bottom(self):
        return self.top + self.height

    @property
    def rect(self):
        return (self.left, self.top, self.right, self.bottom)


def parse_layout(source):
    name_end = source.find(",")
    if name_end < 0:
        raise LayoutError(f"layout {source!r}: no comma after the name")
    name = source[:name_end]
    if not name:
        raise LayoutError(f"layout {source!r}: empty name")
    if len(name) > MAX_NAME:
        raise LayoutError(f"layout {source!r}: name longer than {MAX_NAME} characters")
    rest = source[name_end + 1:]
    numbers = []
    for k in range(4):
        match = NUMBER.match(rest)
        if not match or (match.group(3) == "" and k < 3):
            raise LayoutError(f"layout {source!r}: number {k + 1} of x, y, width, height is missing or malformed")
        value = int(match.group(2))
        if value > MAX_COORDINATE:
            raise LayoutError(f"layout {source!r}: {value} is beyond {MAX_COORDINATE}")
        numbers.append(-value if match.group(1) == "-" else value)
        rest = rest[match.end():]
    x, y, width, height = numbers
    if width < 0 or height < 0:
        raise LayoutError(f"layout {source!r}: negative width or height")
    text = rest.strip(WHITE_SPACE)
    if len(text) > MAX_TEXT:
        raise LayoutError(f"layout {source!r}: text longer than {MAX_TEXT} characters")
    return Layout(source, name, x, y, width, height, text)


def constant_name(name):
    """The C++ constant for a layout name: BUTTON_OK -> kButtonOk, "Profile 1" -> kProfile1."""
    words = [w for w in re.split(r"[^A-Za-z0-9]+", name) if w]
    if not words:
        raise LayoutError(f"layout name {name!r} gives no constant name")
    parts = []
    for word in words:
        parts.append(word.capitalize() if word.isupper() or word.islower() else word[0].upper() + word[1:])
    return "k" + "".join(parts)
