"""The game's map files: the codes of its kinds, reading a map as the game reads it, writing one.

A map holds a land layer and an element layer of equal size, each a grid of codes listed row by
row. Code 0 (like any code no kind has) leaves a cell empty.
"""
import os
import re
import sys

import kinds

# The code of each kind by its name, as the game's kinds table has them.
LAND = kinds.codes("land")
ELEMENT = kinds.codes("element")
EMPTY = 0
# The layers in the order the map file lists them, with the kinds each may hold.
LAYERS = {"land": LAND, "element": ELEMENT}

# The game keeps at most 254 characters of a value and reads it as "%d" would.
VALUE_CHARACTERS = 254
LEADING_INT = re.compile(r"[ \t\n\v\f\r]*([+-]?)([0-9]*)")
INT_MIN, INT_MAX = -2**31, 2**31 - 1


class Refusal(Exception):
    """An input that cannot become what was asked; the message names what and where."""


class Grid:
    """A map: its width, its height and, per layer name, the rows of codes."""

    def __init__(self, width, height, layers):
        self.width, self.height, self.layers = width, height, layers


def leading_int(text):
    sign, digits = LEADING_INT.match(text[:VALUE_CHARACTERS]).groups()
    value = int(digits or "0") * (-1 if sign == "-" else 1)
    return max(INT_MIN, min(INT_MAX, value))


def _values(text):
    """The values of each section, as the game's reader collects them from the map's text."""
    sections = {"world": [], "land": [], "element": []}
    section, tag, block, value, buffer = None, False, False, False, []
    for ch in text:
        if block:
            if ch == "}":
                block = False
            elif not value:
                value = ch == "["
            elif ch == "]":
                if section:
                    sections[section].append(leading_int("".join(buffer)))
                buffer, value = [], False
            else:
                buffer.append(ch)
        elif tag:
            if ch == ">":
                name = "".join(buffer)
                section = name if name in sections else section
                buffer, tag = [], False
            else:
                buffer.append(ch)
        else:
            tag, block = ch == "<", ch == "{"
    return sections


def read_map(path):
    """The map in the file at path, refused where the game would refuse it."""
    try:
        with open(path, "rb") as source:
            sections = _values(source.read().decode("latin-1"))
    except OSError as error:
        raise Refusal(f"{path}: cannot read it: {error.strerror}") from error
    width = height = 0
    for number in sections["world"]:
        if width == 0:
            width = number
        else:
            height = number
    counts = {name: len(sections[name]) for name in LAYERS}
    if width <= 0 or height <= 0 or any(count != width * height for count in counts.values()):
        raise Refusal(f"{path}: not a valid map: width {width}, height {height}, "
                      f"{counts['land']} land and {counts['element']} element codes")
    return Grid(width, height, {name: [sections[name][row * width:(row + 1) * width]
                                       for row in range(height)] for name in LAYERS})


def map_text(grid):
    """The text of a map file, one line per row of each layer."""
    parts = [f"<world>\n{{[{grid.width}][{grid.height}]}}\n"]
    for name in LAYERS:
        rows = "\n".join("".join(f"[{code}]" for code in row) for row in grid.layers[name])
        parts.append(f"<{name}>\n{{\n{rows}\n}}\n")
    return "".join(parts)


def write_stdout(data):
    """Writes all of data to standard output unbuffered, so that a failed write is noticed."""
    view = memoryview(data)
    try:
        while view:
            view = view[os.write(sys.stdout.fileno(), view):]
    except OSError as error:
        raise Refusal(f"cannot write the standard output: {error.strerror}") from error


def write_file(path, data):
    """Writes data to path whole or not at all: a regular file is replaced only once its
    replacement is complete; anything else (a device, a pipe) is written straight."""
    straight = os.path.exists(path) and not os.path.isfile(path)
    part = path if straight else f"{path}.part.{os.getpid()}"
    try:
        with open(part, "wb") as out:
            out.write(data)
        if not straight:
            os.replace(part, path)
    except OSError as error:
        if not straight and os.path.exists(part):
            os.unlink(part)
        raise Refusal(f"{path}: cannot write it: {error.strerror}") from error
