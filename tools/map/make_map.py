"""Convert character-art maps into the game's .map text format.

A source map is a grid with one character per cell.  Lines starting with
';' are comments.  Each character stands for a land kind and, optionally,
an element standing on it:

    .  littlelawn            t  littlelawn + tree     C  littlelawn + cyclope
    ,  lawn                  T  lawn + tree           c  lawn + cyclope
    _  ground                S  ground + spider       a  littlelawn + avatar
    :  rocks                 s  rocks + spider
    ~  water                 #  adobe + wall          F  adobe + fire
    =  adobe                 @  adobe + avatar

Usage: make_map.py SOURCE.txt OUTPUT.map
"""
import sys

from mapfile import ELEMENT, EMPTY, LAND, Grid, map_text

# The land kind and the element kind, if any, of each character, by name.
LEGEND = {
    ".": ("littlelawn", None), ",": ("lawn", None), "_": ("ground", None),
    ":": ("rocks", None), "~": ("water", None), "=": ("adobe", None),
    "t": ("littlelawn", "tree"), "T": ("lawn", "tree"),
    "C": ("littlelawn", "cyclope"), "c": ("lawn", "cyclope"),
    "S": ("ground", "spider"), "s": ("rocks", "spider"),
    "#": ("adobe", "wall"), "F": ("adobe", "fire"),
    "@": ("adobe", "avatar"), "a": ("littlelawn", "avatar"),
}
# The land code and the element code of each character; a name that is no kind of its layer in
# the game's table fails here, on every run, rather than when its character turns up.
CODES = {ch: (LAND[land], EMPTY if element is None else ELEMENT[element])
         for ch, (land, element) in LEGEND.items()}


def read_grid(path):
    with open(path) as source:
        rows = [line.rstrip("\n") for line in source if not line.startswith(";")]
    rows = [row for row in rows if row]
    widths = {len(row) for row in rows}
    if len(widths) != 1:
        sys.exit(f"{path}: rows differ in width {sorted(widths)}")
    unknown = {ch for row in rows for ch in row} - LEGEND.keys()
    if unknown:
        sys.exit(f"{path}: characters not in the legend: {''.join(sorted(unknown))}")
    return rows


def to_map_text(rows):
    land = [[CODES[ch][0] for ch in row] for row in rows]
    element = [[CODES[ch][1] for ch in row] for row in rows]
    return map_text(Grid(len(rows[0]), len(rows), {"land": land, "element": element}))


def main(source, output):
    with open(output, "w", newline="\n") as out:
        out.write(to_map_text(read_grid(source)))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
