#!/usr/bin/env python3
"""Write an Orvalle map from a Tiled map (TMX) on standard output.

Usage: from-tiled.py TMX > MAP

The TMX needs the tile layers "land" and "element", of the same size. A cell's code is the
integer property "code" of its tile, so any tileset whose tiles carry that property will do,
embedded in the TMX or in a .tsx file of its own, at any first tile number; an empty cell is
code 0, and a flipped or rotated tile keeps its tile's code. Layer data may be saved as CSV,
as base64 (uncompressed, zlib or gzip) or as XML. The layers are at most 4096 x 4096 cells
(mapfile.LARGEST_SIDE), and their data is read no further than their size.

A map that cannot become a valid Orvalle map is refused: the message names what is wrong and
where, the exit status is 1 and nothing is written.
"""
import base64
import os
import re
import sys
import xml.etree.ElementTree as ET
import zlib
from array import array
from itertools import islice

from mapfile import (LARGEST, LARGEST_SIDE, LAYERS, Grid, Refusal, map_text, open_regular, run,
                     write_stdout)

# Tiled keeps a tile's flips and rotation in the top four bits of its number.
TILE_BITS = 0x0FFFFFFF
# The window bits that make zlib inflate each compression Tiled writes.
WBITS = {"zlib": zlib.MAX_WBITS, "gzip": 16 + zlib.MAX_WBITS}
TILE_BYTES = 4


def parse(path):
    try:
        with open_regular(path) as source:
            return ET.parse(source).getroot()
    except OSError as error:
        raise Refusal(f"{path}: cannot read it: {error.strerror}") from error
    except (ET.ParseError, LookupError) as error:  # LookupError: an encoding Python lacks
        raise Refusal(f"{path}: not an XML file: {error}") from error


def quoted(text):
    """text in quotes for a message, cut short when long."""
    return repr(text if len(text) <= 40 else text[:40] + "...")


def whole_number(text, what):
    if text is None:
        raise Refusal(f"{what} is missing")
    try:
        return int(text)
    except ValueError:
        raise Refusal(f"{what}: {quoted(text)} is not a whole number") from None


def tile_codes(tileset, where):
    """The code of every tile of a tileset that has one, by tile id."""
    codes = {}
    for tile in tileset.findall("tile"):
        for prop in tile.findall("properties/property"):
            if prop.get("name") == "code":
                tile_id = whole_number(tile.get("id"), f"{where}: a tile's id")
                codes[tile_id] = whole_number(prop.get("value"), f"{where}: tile {tile_id}'s code")
    return codes


def tilesets(root, path):
    """(first tile number, name, codes by tile id) of every tileset, the highest first tile
    number first."""
    found = []
    for tileset in root.findall("tileset"):
        first = whole_number(tileset.get("firstgid"), f"{path}: a tileset's firstgid")
        where = path
        if tileset.get("source") is not None:
            where = os.path.join(os.path.dirname(path), tileset.get("source"))
            tileset = parse(where)
        found.append((first, tileset.get("name", where), tile_codes(tileset, where)))
    return sorted(found, key=lambda entry: entry[0], reverse=True)


def layer_size(layer, path):
    what = f"{path}: layer '{layer.get('name')}'"
    size = tuple(whole_number(layer.get(side), f"{what}: {side}") for side in ("width", "height"))
    if min(size) <= 0:
        raise Refusal(f"{what}: its size {size[0]}x{size[1]} holds no cell")
    if max(size) > LARGEST_SIDE:
        raise Refusal(f"{what}: its size {size[0]}x{size[1]} is more than {LARGEST}")
    return size


def tile_numbers(layer, cells, what):
    """The tile numbers of a layer's cells, row by row, as its data holds them: one more than
    cells at most, so that data far larger than its layer costs nothing to refuse."""
    data = layer.find("data")
    if data is None or data.find("chunk") is not None:
        raise Refusal(f"{what}: no tile data (an infinite map is not a valid map)")
    if data.get("encoding") is None:
        texts = (tile.get("gid", "0") for tile in data.iter("tile"))
    elif data.get("encoding") == "csv":
        texts = (match.group() for match in re.finditer(r"[^\s,]+", data.text or ""))
    else:
        return unpacked(data, cells, what)
    return array("I", (tile_number(text, what) for text in islice(texts, cells + 1)))


def tile_number(text, what):
    number = whole_number(text, f"{what}: a tile number")
    if not 0 <= number < 2**32:
        raise Refusal(f"{what}: {number} is not a tile number")
    return number


def unpacked(data, cells, what):
    """The tile numbers of base64 data, uncompressed or compressed as Tiled can."""
    encoding, compression = data.get("encoding"), data.get("compression")
    if encoding != "base64" or (compression is not None and compression not in WBITS):
        raise Refusal(f"{what}: data encoded as {quoted(encoding)} with compression "
                      f"{quoted(compression or 'None')} is not supported: save it as CSV, or "
                      "base64 uncompressed, zlib or gzip")
    try:
        raw = base64.b64decode(data.text or "")
    except ValueError as error:  # not base64, or not even ASCII
        raise Refusal(f"{what}: the base64 data is broken: {error}") from error
    if compression is not None:
        raw = inflated(raw, compression, cells * TILE_BYTES, what)
    if len(raw) % TILE_BYTES:
        raise Refusal(f"{what}: the data holds {len(raw)} bytes, not whole tile numbers")
    numbers = array("I", raw)
    if sys.byteorder == "big":  # Tiled writes them little-endian
        numbers.byteswap()
    return numbers


def inflated(packed, compression, most, what):
    """Compressed data inflated, refused as soon as it passes most bytes: a few megabytes can
    inflate to gigabytes."""
    inflater = zlib.decompressobj(WBITS[compression])
    try:
        raw = inflater.decompress(packed, most + 1)
    except zlib.error as error:
        raise Refusal(f"{what}: the {compression} data is broken: {error}") from error
    if len(raw) > most:
        raise Refusal(f"{what}: the {compression} data inflates past the {most} bytes of the "
                      "layer's cells")
    if not inflater.eof:
        raise Refusal(f"{what}: the {compression} data is cut short")
    return raw


def code_of(number, sets, allowed, where):
    """The map code of a tile number: 0 for no tile, otherwise its tile's code property."""
    number &= TILE_BITS
    if number == 0:
        return 0
    owner = next((entry for entry in sets if entry[0] <= number), None)
    if owner is None:
        raise Refusal(f"{where}: tile number {number} belongs to no tileset")
    first, name, codes = owner
    code = codes.get(number - first)
    if code is None:
        raise Refusal(f"{where}: tile {number - first} of tileset '{name}' has no 'code' property")
    if code not in allowed.values():
        raise Refusal(f"{where}: code {code} is no kind's code in this layer "
                      f"(it takes {', '.join(f'{c} {n}' for n, c in allowed.items())})")
    return code


def layer_codes(layer, size, sets, path):
    (width, height), what = size, f"{path}: layer '{layer.get('name')}'"
    numbers = tile_numbers(layer, width * height, what)
    if len(numbers) != width * height:
        count = "more tiles than" if len(numbers) > width * height else f"{len(numbers)} tiles for"
        raise Refusal(f"{what} holds {count} its {width}x{height} cells")
    allowed, known, codes = {"empty": 0, **LAYERS[layer.get("name")]}, {}, array("i")
    for i, number in enumerate(numbers):
        if number not in known:  # each tile number is looked up once
            known[number] = code_of(number, sets, allowed,
                                    f"{what}, cell x={i % width} y={i // width}")
        codes.append(known[number])
    return [codes[row:row + width] for row in range(0, len(codes), width)]


def find_layers(root, path):
    layers = {}
    for layer in root.iter("layer"):
        name = layer.get("name")
        if name in LAYERS and name in layers:
            raise Refusal(f"{path}: more than one layer named '{name}'")
        layers[name] = layer
    for name in LAYERS:
        if name not in layers:
            raise Refusal(f"{path}: no tile layer named '{name}' (Orvalle maps need "
                          f"{' and '.join(repr(n) for n in LAYERS)})")
    return [layers[name] for name in LAYERS]


def convert(path):
    root = parse(path)
    if root.tag != "map":
        raise Refusal(f"{path}: not a Tiled map (its root is {quoted(root.tag)})")
    if root.get("infinite") == "1":
        raise Refusal(f"{path}: an infinite map has no size; untick 'Infinite' in the map's "
                      "properties")
    layers = find_layers(root, path)
    sizes = [layer_size(layer, path) for layer in layers]
    if sizes[0] != sizes[1]:
        raise Refusal(f"{path}: the layers differ in size: "
                      + ", ".join(f"'{layer.get('name')}' is {w}x{h}"
                                  for layer, (w, h) in zip(layers, sizes)))
    sets = tilesets(root, path)
    grid = Grid(*sizes[0], {layer.get("name"): layer_codes(layer, sizes[0], sets, path)
                            for layer in layers})
    return map_text(grid).encode()


if __name__ == "__main__":
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    run("from-tiled", sys.argv[1], lambda: write_stdout(convert(sys.argv[1])))
