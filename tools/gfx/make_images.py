"""Write every image the game loads into <out>/images/<name><frame>.bmp."""
import os
import random
import sys
import zlib

import creatures
import land
import things


def land_frames(name):
    # The same seed for both frames keeps them identical apart from animation.
    seed = zlib.crc32(name.encode())
    return [land.KINDS[name](random.Random(seed), frame) for frame in (0, 1)]


def all_images():
    for name in land.KINDS:
        yield name, land_frames(name)
    for name in creatures.DRAW:
        yield name, creatures.frames(name)
    for name, (draw, count) in things.STILL.items():
        yield name, [draw(frame) for frame in range(count)]


def main(out_dir):
    folder = os.path.join(out_dir, "images")
    os.makedirs(folder, exist_ok=True)
    for name, images in all_images():
        for frame, image in enumerate(images):
            image.save_bmp(os.path.join(folder, f"{name}{frame}.bmp"))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "data")
