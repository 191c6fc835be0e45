"""The game's map files: the codes of its kinds, reading a map as the game reads it, writing one.

A map holds a land layer and an element layer of equal size, each a grid of codes listed row by
row. Code 0 (like any code no kind has) leaves a cell empty.

The Tiled converters take maps of at most LARGEST_SIDE x LARGEST_SIDE cells: the game plays
2048 x 2048 maps, and the cap bounds what a tool holds whatever size a file declares.
"""
import os
import re
import stat
import sys
from array import array

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
# The longest side of a map the tools take: twice what the game plays.
LARGEST_SIDE = 4096
LARGEST = f"the largest map the tools take, {LARGEST_SIDE} x {LARGEST_SIDE}"
# Bytes read from a file at a time.
PIECE = 1 << 20


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


class _Reader:
    """The game's reader of map text, fed a piece at a time: the world's width and height and the
    codes of each layer. A value counts by its first VALUE_CHARACTERS characters, as in the game,
    and a layer of more codes than the largest map is refused as it comes."""

    def __init__(self, path):
        self.path, self.width, self.height = path, 0, 0
        self.layers = {name: array("i") for name in LAYERS}
        self.state = None, False, False, False, []  # section, in a tag, a block, a value; text

    def feed(self, text):
        # The state lives in locals while the loop runs: a map has millions of characters.
        section, tag, block, value, buffer = self.state
        layers = self.layers
        for ch in text:
            if block:
                if ch == "}":
                    block = False
                elif not value:
                    value = ch == "["
                elif ch == "]":
                    number = leading_int("".join(buffer))
                    if section == "world":
                        self._measure(number)
                    elif section:
                        layers[section].append(number)
                    buffer, value = [], False
                else:
                    buffer.append(ch)
            elif tag:
                if ch == ">":
                    name = "".join(buffer)
                    section = name if name == "world" or name in LAYERS else section
                    buffer, tag = [], False
                else:
                    buffer.append(ch)
            else:
                tag, block = ch == "<", ch == "{"
        # No more of a value or a tag counts: a longer one is not kept whole.
        self.state = section, tag, block, value, buffer[:VALUE_CHARACTERS + 1]
        for name, codes in layers.items():
            if len(codes) > LARGEST_SIDE * LARGEST_SIDE:
                raise Refusal(f"{self.path}: its {name} layer holds more codes than {LARGEST}")

    def _measure(self, number):
        """The world's first value is its width (while it is 0), each later one its height."""
        if self.width == 0:
            self.width = number
        else:
            self.height = number


def open_regular(path):
    """The file at path opened for reading, refused unless it is a regular file with something
    in it: a pipe, a device or a file of /proc (whose size is 0) could block or never end."""
    try:
        status = os.stat(path)
        if not stat.S_ISREG(status.st_mode):
            raise Refusal(f"{path}: not a regular file")
        if status.st_size == 0:
            raise Refusal(f"{path}: the file is empty")
        return open(path, "rb")
    except OSError as error:
        raise Refusal(f"{path}: cannot read it: {error.strerror}") from error


def read_map(path):
    """The map in the file at path, refused where the game would refuse it or when larger than
    the largest map the tools take."""
    reader = _Reader(path)
    with open_regular(path) as source:
        try:
            for piece in iter(lambda: source.read(PIECE), b""):
                reader.feed(piece.decode("latin-1"))
        except OSError as error:
            raise Refusal(f"{path}: cannot read it: {error.strerror}") from error
    width, height = reader.width, reader.height
    counts = {name: len(codes) for name, codes in reader.layers.items()}
    if width <= 0 or height <= 0 or any(count != width * height for count in counts.values()):
        raise Refusal(f"{path}: not a valid map: width {width}, height {height}, "
                      f"{counts['land']} land and {counts['element']} element codes")
    if max(width, height) > LARGEST_SIDE:
        raise Refusal(f"{path}: its {width} x {height} cells are more than {LARGEST}")
    return Grid(width, height, {name: [codes[row * width:(row + 1) * width]
                                       for row in range(height)]
                                for name, codes in reader.layers.items()})


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


def run(tool, path, work):
    """Does work(), ending the program on a refusal or any other error with one line naming the
    tool and the file, and status 1: a broken input never shows a traceback."""
    try:
        work()
    except Refusal as refusal:
        sys.exit(one_line(f"{tool}: {refusal}"))
    except MemoryError:
        sys.exit(one_line(f"{tool}: {path}: it needs more memory than there is"))
    except Exception as error:  # whatever the fault, one line
        sys.exit(one_line(f"{tool}: {path}: cannot convert it: {type(error).__name__}: {error}"))


def one_line(text):
    """text with its control characters written as escapes, so that it stays one line."""
    return re.sub(r"[\x00-\x1f\x7f]", lambda match: repr(match.group())[1:-1], text)
