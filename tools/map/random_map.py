"""Write a random map of the given size: a reproducible mix of the land and element kinds.

Usage: random_map.py WIDTH HEIGHT SEED > OUTPUT.map

The mix is close to the shipped map's: mostly land with nothing on it, a few trees, walls and
fires, and scattered cyclopes and spiders; one avatar near the middle.
"""
import random
import sys

from kinds import code
from mapfile import EMPTY, Grid, map_text

# How often each kind turns up among the cells of its layer, None standing for an empty cell. Only
# the kinds named here are drawn, so that a kind added to the game's table leaves every seed's map
# as it was until it is given a weight; the avatar is put in once, in the middle.
LAND_WEIGHTS = {"adobe": 10, "littlelawn": 30, "ground": 15, "rocks": 10, "lawn": 25, "water": 8,
                None: 2}
ELEMENT_WEIGHTS = {None: 880, "tree": 50, "wall": 30, "fire": 5, "cyclope": 20, "spider": 15}


def weighted(weights):
    """The codes and the weights of the named kinds (and of the empty cell), in their order: what
    a seed draws depends on it."""
    return ([EMPTY if name is None else code(name) for name in weights], list(weights.values()))


LAND = weighted(LAND_WEIGHTS)
ELEMENTS = weighted(ELEMENT_WEIGHTS)


def pick(rng, table):
    return rng.choices(*table)[0]


def main(width, height, seed):
    rng = random.Random(seed)
    land = [[pick(rng, LAND) for _ in range(width)] for _ in range(height)]
    elements = [[pick(rng, ELEMENTS) for _ in range(width)] for _ in range(height)]
    elements[height // 2][width // 2] = code("avatar")
    land[height // 2][width // 2] = code("littlelawn")
    sys.stdout.write(map_text(Grid(width, height, {"land": land, "element": elements})))


if __name__ == "__main__":
    try:
        size_and_seed = [int(arg) for arg in sys.argv[1:]]
    except ValueError:
        size_and_seed = []
    if len(size_and_seed) != 3 or min(size_and_seed[:2]) < 1:
        sys.exit(f"{__doc__}\nWIDTH and HEIGHT are whole numbers of at least 1, SEED any whole "
                 "number.")
    main(*size_and_seed)
