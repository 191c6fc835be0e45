"""Write the desktop icon, <out>/orvalle.png: the avatar facing the player, 64 x 64 pixels,
transparent around it, cut from the same drawing as its sprite."""
import os
import struct
import sys
import zlib

import creatures

SIZE = 64
# The avatar's sprite is 100 x 100 with the figure in columns 31-68, rows 18-79.
LEFT, TOP = 18, 17


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png(rows):
    """An 8-bit RGBA PNG of rows of (r, g, b) or None for transparent."""
    raw = b"".join(b"\0" + b"".join(bytes((*c, 255)) if c else b"\0\0\0\0" for c in row)
                   for row in rows)
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main(out_dir):
    sprite = creatures.frames("avatar")[0]
    rows = [sprite.pixels[y][LEFT:LEFT + SIZE] for y in range(TOP, TOP + SIZE)]
    os.makedirs(out_dir, exist_ok=True)
    with open(os.path.join(out_dir, "orvalle.png"), "wb") as out:
        out.write(png(rows))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "packaging")
