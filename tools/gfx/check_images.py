"""Checks the game's rules for images: sizes, opaque land, no near-magenta, and an image for
every kind of the game's kinds table (tools/map/kinds.tsv).

The game draws in 16-bit colour, where anything RGB565 rounds to magenta
(R>=248, G<=3, B>=248) turns transparent, so only the exact mask colour
may come close to it.
Usage: check_images.py IMAGES_DIR
"""
import os
import sys

from canvas import read_bmp

TOOLS = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(TOOLS, "map"))
import kinds  # noqa: E402

LAND_KINDS = kinds.codes("land")


def read_pixels(path):
    rows = read_bmp(path)
    return len(rows[0]), len(rows), [pixel for row in rows for pixel in row]


def problems(name, width, height, pixels):
    is_land = name.rstrip("0123456789") in LAND_KINDS
    size = 50 if is_land else 100
    if (width, height) != (size, size):
        yield f"is {width}x{height}, expected {size}x{size}"
    masked = sum(p == (255, 0, 255) for p in pixels)
    if is_land and masked:
        yield f"has {masked} transparent pixels but land must be opaque"
    near = sum(p != (255, 0, 255) and p[0] >= 248 and p[1] <= 3 and p[2] >= 248
               for p in pixels)
    if near:
        yield f"has {near} pixels that turn transparent in 16-bit colour"


def main(folder):
    failures = 0
    for kind in kinds.KINDS:
        if not os.path.exists(os.path.join(folder, f"{kind.name}0.bmp")):
            print(f"check-images: the kind {kind.name} has no image {kind.name}0.bmp: tools/gfx "
                  "draws none for it")
            failures += 1
    for file in sorted(os.listdir(folder)):
        for problem in problems(file[:-4], *read_pixels(os.path.join(folder, file))):
            print(f"check-images: {file} {problem}")
            failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
