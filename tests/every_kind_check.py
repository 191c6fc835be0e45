"""Every kind of `ORVALLE_SIM --kinds` on one map: each land kind in the first row, each element
kind on walkable land in the second. It comes back unchanged through a Tiled map with a tile per
kind, a damaged line of the table is refused with what is wrong, one more kind in the table
leaves random_map.py's maps as they were (any whole number a seed), and one pass of the runner counts a living creature of
each counted kind and each fruit kind as a tree with food.

Usage: every_kind_check.py ORVALLE_SIM WORK
"""
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

TOOLS = Path(__file__).resolve().parents[1] / "tools" / "map"
sys.path.insert(0, str(TOOLS))
import kinds  # noqa: E402
from mapfile import EMPTY, Grid, map_text  # noqa: E402


def run(*command):
    return subprocess.run(list(map(str, command)), check=True, capture_output=True,
                          text=True).stdout


def random_map(work, listed):
    """Seed 1's map from random_map.py reading the kinds table listed."""
    scratch = work / "random-map"
    scratch.mkdir(exist_ok=True)
    for name in ("kinds.py", "mapfile.py", "random_map.py"):
        shutil.copy(TOOLS / name, scratch)
    (scratch / "kinds.tsv").write_text(listed)
    return run(sys.executable, scratch / "random_map.py", 40, 30, 1)


def main(sim, work):
    work.mkdir(parents=True, exist_ok=True)
    (work / "kinds.tsv").write_text(run(sim, "--kinds"))
    table = kinds.read(work / "kinds.tsv")
    rows = [[kind.code for kind in table if kind.layer == layer] for layer in kinds.LAYERS]
    width = max(map(len, rows))
    walkable = next(kind.code for kind in table if kind.layer == "land" and kind.walkable)
    every = map_text(Grid(width, 2, {
        "land": [rows[0] + [walkable] * (width - len(rows[0])), [walkable] * width],
        "element": [[EMPTY] * width, rows[1] + [EMPTY] * (width - len(rows[1]))]}))
    (work / "every.map").write_text(every)

    run(sys.executable, TOOLS / "to-tiled.py", work / "every.map", work / "every.tmx")
    tiles = ET.parse(work / "every.tmx").findall(".//property[@name='code']")
    assert sorted(int(tile.get("value")) for tile in tiles) == sorted(k.code for k in table)
    assert run(sys.executable, TOOLS / "from-tiled.py", work / "every.tmx") == every

    listed = (work / "kinds.tsv").read_text()
    header = listed.splitlines()[0]
    for line, reason in (("tree\t4\telement\tTT\t0\t1\t0\t1\t-1", "is not one character"),
                         ("tree\t4\telement\tT\t0\t2\t0\t1\t-1", "not 0 or 1"),
                         ("tree\t4\tsky\tT\t0\t1\t0\t1\t-1", "no layer"),
                         ("tree\t4\telement\tT", "4 fields")):
        (work / "damaged.tsv").write_text(f"{header}\n{line}\n")
        try:
            kinds.read(work / "damaged.tsv")
        except SystemExit as refusal:
            assert "damaged.tsv:2: not a kind" in str(refusal) and reason in str(refusal), refusal
        else:
            raise AssertionError(f"{line!r} was read as a kind")
    newcomer = f"newcomer\t{max(kind.code for kind in table) + 1}\telement\t?\t1\t1\t0\t0\t-1\n"
    assert random_map(work, listed) == random_map(work, listed + newcomer)
    # Any whole number is a seed; a width under 1 is refused.
    for width, seed in ((40, 0), (40, -7), (0, 1)):
        made = subprocess.run([sys.executable, TOOLS / "random_map.py", str(width), "30",
                               str(seed)], capture_output=True, text=True)
        assert (made.returncode == 0) == (width > 0), (width, seed, made.stderr)

    header, row = run(sim, work / "every.map", "--passes", 1).splitlines()
    census = dict(zip(header.split(","), map(int, row.split(","))))
    expected = {f"{kind.name}s_alive": 1 for kind in table if kind.census >= 0}
    expected["trees_with_food"] = sum(kind.fruit for kind in table)
    assert {column: census.get(column) for column in expected} == expected, census


if __name__ == "__main__":
    main(sys.argv[1], Path(sys.argv[2]))
