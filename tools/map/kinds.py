"""The kinds of the game's elements, as kinds.tsv beside this file lists them.

kinds.tsv is the game's own kinds table as `orvalle-sim --kinds` prints it, written by
tools/update-kinds.sh; the test kinds.file-up-to-date fails when it falls behind the game. Each
kind has its name, its code in map files, its layer ("land" or "element"), its letter in map
pictures, whether it is a creature, works, can be walked on and bears fruit, and its census
column (-1 for none). The tools take every code, name and layer from here.
"""
import os
from collections import namedtuple

PATH = os.path.join(os.path.dirname(os.path.abspath(__file__)), "kinds.tsv")
Kind = namedtuple("Kind", "name code layer letter creature working walkable fruit census")
LAYERS = ("land", "element")
FLAGS = {"0": False, "1": True}


def _field(name, text):
    if name in ("code", "census"):
        return int(text)
    if name in ("creature", "working", "walkable", "fruit"):
        if text not in FLAGS:
            raise ValueError(f"{name} is '{text}', not 0 or 1")
        return FLAGS[text]
    if name == "layer" and text not in LAYERS:
        raise ValueError(f"no layer '{text}'")
    if name == "letter" and len(text) != 1:
        raise ValueError(f"the letter '{text}' is not one character")
    return text


def _kind(line):
    texts = line.split("\t")
    if len(texts) != len(Kind._fields):
        raise ValueError(f"{len(texts)} fields, not {len(Kind._fields)}")
    return Kind(*(_field(name, text) for name, text in zip(Kind._fields, texts)))


def read(path=PATH):
    """The kinds of the table at path, in its order; a table that cannot be read ends the
    program with a message that says why."""
    mend = "tools/update-kinds.sh writes it afresh"
    try:
        with open(path, encoding="utf-8") as source:
            lines = source.read().splitlines()
    except OSError as error:
        raise SystemExit(f"{path}: cannot read it: {error.strerror}; {mend}") from error
    if not lines or lines[0].split("\t") != list(Kind._fields):
        raise SystemExit(f"{path}: not a kinds table (its first line is not the header); {mend}")
    kinds = []
    for number, line in enumerate(lines[1:], start=2):
        try:
            kinds.append(_kind(line))
        except ValueError as error:
            raise SystemExit(f"{path}:{number}: not a kind: {error}; {mend}") from error
    return kinds


KINDS = read()
BY_NAME = {kind.name: kind for kind in KINDS}


def codes(layer):
    """The code of each kind of a layer by its name, the lowest code first."""
    return {kind.name: kind.code for kind in sorted(KINDS, key=lambda kind: kind.code)
            if kind.layer == layer}


def names(layer):
    """The name of each kind of a layer by its code, the lowest code first."""
    return {code: name for name, code in codes(layer).items()}


def code(name):
    """The map code of the kind of that name."""
    return BY_NAME[name].code
