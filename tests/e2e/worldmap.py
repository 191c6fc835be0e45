"""What a map file puts where, so the checks know what the window must show."""
import re
import subprocess
import sys
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
MAKE_MAP = REPO / "tools" / "map" / "make_map.py"
sys.path.insert(0, str(MAKE_MAP.parent))
import kinds  # noqa: E402

LAND_NAMES = kinds.names("land")
ELEMENT_NAMES = kinds.names("element")
AVATAR = kinds.code("avatar")

# The window shows 16 x 12 cells of 50 pixels.
COLUMNS, ROWS, CELL = 16, 12, 50


class WorldMap:
    def __init__(self, text):
        sections = dict(re.findall(r"<(\w+)>\s*\{([^}]*)\}", text))
        self.width, self.height = (int(v) for v in re.findall(r"\[(-?\d+)\]", sections["world"]))
        self.land = self._grid(sections["land"])
        self.elements = self._grid(sections["element"])

    def _grid(self, block):
        values = [int(v) for v in re.findall(r"\[(-?\d+)\]", block)]
        return [values[row * self.width:(row + 1) * self.width] for row in range(self.height)]

    def avatar(self):
        for row, codes in enumerate(self.elements):
            if AVATAR in codes:
                return codes.index(AVATAR), row
        raise ValueError("the map has no avatar")

    def element_cells(self):
        return [(column, row) for row, codes in enumerate(self.elements)
                for column, code in enumerate(codes) if code in ELEMENT_NAMES]

    def land_name(self, column, row):
        return LAND_NAMES[self.land[row][column]]

    def view_origin(self, column, row):
        """The top-left cell the game shows for an avatar at (column, row)."""
        return (clamp(column - COLUMNS // 2, self.width - COLUMNS),
                clamp(row - ROWS // 2, self.height - ROWS))


def clamp(value, highest):
    return max(0, min(value, highest))


def build_map(source, target):
    """Turns a character-art map (see tools/map/make_map.py) into the game's map file."""
    subprocess.run([sys.executable, str(MAKE_MAP), str(source), str(target)], check=True)
    return WorldMap(Path(target).read_text())


def sprite_corner(window_column, window_row):
    """Where an element's 100 x 100 sprite in a window cell has its top-left pixel."""
    return window_column * CELL - CELL // 2, window_row * CELL - CELL // 2


def avatar_corner(world):
    """Where the avatar's sprite has its top-left pixel in the window at start."""
    column, row = world.avatar()
    origin = world.view_origin(column, row)
    return sprite_corner(column - origin[0], row - origin[1])


def cell_centre(world, cell):
    """The window pixel at the middle of a grid cell, with the view where it is at start."""
    origin = world.view_origin(*world.avatar())
    return ((cell[0] - origin[0]) * CELL + CELL // 2, (cell[1] - origin[1]) * CELL + CELL // 2)
