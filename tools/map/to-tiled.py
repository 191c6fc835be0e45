#!/usr/bin/env python3
"""Write a Tiled map (TMX) of an Orvalle map, to paint it in the Tiled map editor.

Usage: to-tiled.py MAP TMX

The TMX has the tile layers "land" and "element" and one tileset drawn from the game's own
images (frame 0 of every kind), one tile per map code, each tile with its code in the integer
property "code". The tileset's picture is written beside the TMX as orvalle-tiles.png.
Every tile is 100 x 100 pixels on a 50 x 50 grid, drawn half a cell up and left of its cell as
the game draws sprites; a land tile fills the middle of its tile. from-tiled.py turns the
painted map back into an Orvalle map.

A map that the game would refuse, that holds a code no kind of its layer has, or that is larger
than 4096 x 4096 cells (mapfile.LARGEST_SIDE), is refused with a message and status 1. Each file
is written whole or not at all.
"""
import os
import sys
import xml.etree.ElementTree as ET

from mapfile import LAND, LAYERS, Refusal, read_map, run, write_file

TOOLS = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(TOOLS, "gfx"))
from canvas import MAGENTA, png, read_bmp  # noqa: E402

IMAGES = os.path.join(os.path.dirname(TOOLS), "data", "images")
TILESET_IMAGE = "orvalle-tiles.png"
CELL, TILE = 50, 100
# The kinds of each layer on a row of their own, in the order of their codes.
ROWS = [sorted(kinds.items(), key=lambda kind: kind[1]) for kinds in LAYERS.values()]
COLUMNS = max(len(row) for row in ROWS)


def tile_pixels(name):
    """A kind's frame 0 on a tile: sprites as they are, land tiles in the middle."""
    path = os.path.join(IMAGES, f"{name}0.bmp")
    try:
        rows = read_bmp(path)
    except OSError as error:
        raise Refusal(f"{path}: cannot read it: {error.strerror}") from error
    except ValueError as error:
        raise Refusal(str(error)) from error
    size = CELL if name in LAND else TILE
    if (len(rows[0]), len(rows)) != (size, size):
        raise Refusal(f"{path}: is {len(rows[0])}x{len(rows)}, expected {size}x{size}")
    margin = (TILE - size) // 2
    tile = [[None] * TILE for _ in range(TILE)]
    for y, row in enumerate(rows):
        tile[margin + y][margin:margin + size] = [None if c == MAGENTA else c for c in row]
    return tile


def tileset_png():
    picture = [[None] * (COLUMNS * TILE) for _ in range(len(ROWS) * TILE)]
    for row, kinds in enumerate(ROWS):
        for column, (name, _) in enumerate(kinds):
            for y, line in enumerate(tile_pixels(name)):
                picture[row * TILE + y][column * TILE:(column + 1) * TILE] = line
    return png(picture)


def tileset():
    element = ET.Element("tileset", firstgid="1", name="orvalle", tilewidth=str(TILE),
                         tileheight=str(TILE), tilecount=str(COLUMNS * len(ROWS)),
                         columns=str(COLUMNS))
    ET.SubElement(element, "tileoffset", x=str(-(TILE - CELL) // 2), y=str((TILE - CELL) // 2))
    ET.SubElement(element, "image", source=TILESET_IMAGE, width=str(COLUMNS * TILE),
                  height=str(len(ROWS) * TILE))
    for row, kinds in enumerate(ROWS):
        for column, (name, code) in enumerate(kinds):
            tile = ET.SubElement(element, "tile", id=str(row * COLUMNS + column), type=name)
            properties = ET.SubElement(tile, "properties")
            ET.SubElement(properties, "property", name="code", type="int", value=str(code))
    return element


def gids():
    """The tile number of every code, 0 (no tile) for an empty cell."""
    return {code: row * COLUMNS + column + 1 for row, kinds in enumerate(ROWS)
            for column, (_, code) in enumerate(kinds)}


def layer_data(rows, layer, tiles, path):
    lines = []
    for y, row in enumerate(rows):
        for x, code in enumerate(row):
            if code != 0 and code not in LAYERS[layer].values():
                raise Refusal(f"{path}: {layer} layer, cell x={x} y={y}: code {code} is no "
                              f"{layer} kind's code")
        lines.append(",".join(str(tiles.get(code, 0)) for code in row))
    return "\n" + ",\n".join(lines) + "\n"


def tmx(grid, path):
    size = {"width": str(grid.width), "height": str(grid.height)}
    root = ET.Element("map", version="1.8", tiledversion="1.8.2", orientation="orthogonal",
                      renderorder="right-down", **size, tilewidth=str(CELL),
                      tileheight=str(CELL), infinite="0", nextlayerid=str(len(LAYERS) + 1),
                      nextobjectid="1")
    root.append(tileset())
    for number, name in enumerate(LAYERS, start=1):
        layer = ET.SubElement(root, "layer", id=str(number), name=name, **size)
        data = ET.SubElement(layer, "data", encoding="csv")
        data.text = layer_data(grid.layers[name], name, gids(), path)
    ET.indent(root, space=" ")
    return ET.tostring(root, encoding="UTF-8", xml_declaration=True) + b"\n"


def main(map_path, tmx_path):
    text = tmx(read_map(map_path), map_path)
    picture = tileset_png()
    write_file(tmx_path, text)
    write_file(os.path.join(os.path.dirname(tmx_path), TILESET_IMAGE), picture)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    run("to-tiled", sys.argv[1], lambda: main(sys.argv[1], sys.argv[2]))
