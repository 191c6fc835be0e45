"""Write the desktop icon, <out>/orvalle.png: the avatar facing the player, 64 x 64 pixels,
transparent around it, cut from the same drawing as its sprite."""
import os
import sys

import creatures
from canvas import png

SIZE = 64
# The avatar's sprite is 100 x 100 with the figure in columns 31-68, rows 18-79.
LEFT, TOP = 18, 17


def main(out_dir):
    sprite = creatures.frames("avatar")[0]
    rows = [sprite.pixels[y][LEFT:LEFT + SIZE] for y in range(TOP, TOP + SIZE)]
    os.makedirs(out_dir, exist_ok=True)
    with open(os.path.join(out_dir, "orvalle.png"), "wb") as out:
        out.write(png(rows))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "packaging")
