"""Write a random map of the given size: a reproducible mix of every land and element kind.

Usage: random_map.py WIDTH HEIGHT SEED > OUTPUT.map

The mix is close to the shipped map's: mostly land with nothing on it, a few trees, walls and
fires, and scattered cyclopes and spiders; one avatar near the middle.
"""
import random
import sys

LAND = [(100, 10), (101, 30), (102, 15), (103, 10), (104, 25), (300, 8), (0, 2)]
ELEMENTS = [(0, 880), (4, 50), (200, 30), (3, 5), (2, 20), (5, 15)]


def pick(rng, table):
    return rng.choices([code for code, _ in table], [weight for _, weight in table])[0]


def main():
    width, height, seed = (int(arg) for arg in sys.argv[1:4])
    rng = random.Random(seed)
    land = [[pick(rng, LAND) for _ in range(width)] for _ in range(height)]
    elements = [[pick(rng, ELEMENTS) for _ in range(width)] for _ in range(height)]
    elements[height // 2][width // 2] = 1
    land[height // 2][width // 2] = 101
    out = [f"<world>\n{{[{width}][{height}]}}\n"]
    for tag, grid in (("land", land), ("element", elements)):
        out.append(f"<{tag}>\n{{\n")
        out.extend("".join(f"[{code}]" for code in row) + "\n" for row in grid)
        out.append("}\n")
    sys.stdout.write("".join(out))


if __name__ == "__main__":
    main()
