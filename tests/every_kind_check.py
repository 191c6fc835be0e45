"""Checks that every kind of the game's own table goes through the map tools, the runner and the
census, so that no list of kinds can fall behind the table unseen.

Usage: every_kind_check.py ORVALLE_SIM WORK

A map holds each land kind of `ORVALLE_SIM --kinds` on a cell of the first row and each element
kind on walkable land in the second. It must come back unchanged from a Tiled map (to-tiled.py,
from-tiled.py) whose tileset has one tile per kind, random_map.py must mix in every kind but the
avatar, which it puts in itself, and one pass of orvalle-sim must count one living creature of
each kind the census counts and every fruit-bearing kind as a tree with food.
"""
import subprocess
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

TOOLS = Path(__file__).resolve().parents[1] / "tools" / "map"
sys.path.insert(0, str(TOOLS))
import kinds  # noqa: E402
import random_map  # noqa: E402
from mapfile import EMPTY, Grid, map_text  # noqa: E402


def run(*command, **options):
    return subprocess.run([str(part) for part in command], check=True, capture_output=True,
                          text=True, **options).stdout


def every_kind_map(table):
    land = [kind.code for kind in table if kind.layer == "land"]
    element = [kind.code for kind in table if kind.layer == "element"]
    width = max(len(land), len(element))
    walkable = next(kind.code for kind in table if kind.layer == "land" and kind.walkable)
    rows = {"land": [land + [walkable] * (width - len(land)), [walkable] * width],
            "element": [[EMPTY] * width, element + [EMPTY] * (width - len(element))]}
    return map_text(Grid(width, 2, rows))


def main(sim, work):
    work.mkdir(parents=True, exist_ok=True)
    (work / "kinds.tsv").write_text(run(sim, "--kinds"))
    table = kinds.read(work / "kinds.tsv")
    every = work / "every.map"
    every.write_text(every_kind_map(table))

    run(sys.executable, TOOLS / "to-tiled.py", every, work / "every.tmx")
    tiles = ET.parse(work / "every.tmx").findall(".//tile/properties/property[@name='code']")
    assert sorted(int(tile.get("value")) for tile in tiles) == sorted(k.code for k in table)
    assert run(sys.executable, TOOLS / "from-tiled.py", work / "every.tmx") == every.read_text()

    mixed = set(random_map.LAND[0]) | set(random_map.ELEMENTS[0]) | {kinds.code("avatar")}
    assert mixed == {EMPTY} | {kind.code for kind in table}, mixed

    header, row = run(sim, every, "--passes", 1).splitlines()
    census = dict(zip(header.split(","), map(int, row.split(","))))
    counted = {f"{kind.name}s_alive": 1 for kind in table if kind.census >= 0}
    counted["trees_with_food"] = sum(kind.fruit for kind in table)
    assert {column: census.get(column) for column in counted} == counted, census


if __name__ == "__main__":
    main(sys.argv[1], Path(sys.argv[2]))
