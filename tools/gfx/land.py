"""Land tiles: 50x50, fully opaque, wrapping seamlessly on every edge.

Every kind is drawn on a wrapping canvas with periodic noise, so a tile's
right edge continues into its left edge.  Frame 1 is the idle-animation
frame: water ripples travel, grass sways, the dry kinds only glint.
"""
import math

from canvas import Canvas, mix, shade

SIZE = 50


class PeriodicNoise:
    """Smooth value noise whose lattice wraps around the tile."""

    def __init__(self, rng, cells):
        self.cells = cells
        self.values = [[rng.random() for _ in range(cells)] for _ in range(cells)]

    def at(self, x, y):
        fx, fy = x * self.cells / SIZE, y * self.cells / SIZE
        ix, iy = int(fx), int(fy)
        tx, ty = _smooth(fx - ix), _smooth(fy - iy)
        v = self.values
        n = self.cells
        top = v[iy % n][ix % n] * (1 - tx) + v[iy % n][(ix + 1) % n] * tx
        bottom = v[(iy + 1) % n][ix % n] * (1 - tx) + v[(iy + 1) % n][(ix + 1) % n] * tx
        return top * (1 - ty) + bottom * ty


def _smooth(t):
    return t * t * (3 - 2 * t)


def fractal(rng, octaves=(5, 10, 25)):
    """Sum of periodic noises, returned as a function of (x, y) in 0..1."""
    layers = [PeriodicNoise(rng, cells) for cells in octaves]
    weights = [0.55, 0.3, 0.15][:len(layers)]
    return lambda x, y: sum(w * n.at(x, y) for w, n in zip(weights, layers))


def textured(dark, light, noise):
    """A tile filled with a colour ramp driven by noise."""
    tile = Canvas(SIZE, SIZE, wrap=True)
    for y in range(SIZE):
        for x in range(SIZE):
            tile.put(x, y, mix(dark, light, noise(x, y)))
    return tile


def speckle(tile, rng, count, colors):
    for _ in range(count):
        tile.put(rng.randrange(SIZE), rng.randrange(SIZE), rng.choice(colors))


def glints(tile, rng, frame, count):
    """Tiny sun glints that appear only on the idle frame."""
    spots = [(rng.randrange(SIZE), rng.randrange(SIZE)) for _ in range(count)]
    if frame == 1:
        for x, y in spots:
            tile.put(x, y, shade(tile.get(x, y), 1.45))


def blades(tile, rng, count, length, palette, sway):
    """Grass blades rising from random roots, tips leaning by `sway` px."""
    for _ in range(count):
        x0, y0 = rng.uniform(0, SIZE), rng.uniform(0, SIZE)
        height = rng.uniform(*length)
        lean = rng.uniform(-1.5, 1.5) + sway * height / length[1]
        base, tip = rng.choice(palette)
        steps = int(height) + 1
        for i in range(steps):
            t = i / steps
            x = x0 + lean * t * t
            tile.put(int(x), int(y0 - height * t), mix(base, tip, t))


def adobe(rng, frame):
    noise = fractal(rng)
    tile = textured((190, 138, 88), (228, 184, 130), noise)
    slab = 25  # four clay slabs per cell, joints on the tile border wrap
    tints = [rng.uniform(0.93, 1.06) for _ in range(4)]
    for y in range(SIZE):
        for x in range(SIZE):
            joint = (x % slab in (0, slab - 1)) or (y % slab in (0, slab - 1))
            color = tile.get(x, y)
            if joint:
                color = shade(color, 0.72 if x % slab == 0 or y % slab == 0 else 0.86)
            else:
                color = shade(color, tints[(y // slab) * 2 + x // slab])
            tile.put(x, y, color)
    _cracks(tile, rng)
    speckle(tile, rng, 40, [(170, 120, 76), (236, 200, 150)])
    glints(tile, rng, frame, 6)
    return tile


def _cracks(tile, rng):
    """Thin hairline cracks of dried clay."""
    for _ in range(3):
        x, y = rng.uniform(0, SIZE), rng.uniform(0, SIZE)
        angle = rng.uniform(0, 2 * math.pi)
        for _ in range(rng.randint(5, 9)):
            tile.put(int(x), int(y), shade(tile.get(int(x), int(y)), 0.75))
            angle += rng.uniform(-0.7, 0.7)
            x, y = x + math.cos(angle), y + math.sin(angle)


def ground(rng, frame):
    noise = fractal(rng)
    tile = textured((112, 78, 48), (160, 118, 74), noise)
    speckle(tile, rng, 90, [(92, 62, 38), (178, 138, 92), (128, 96, 64)])
    for _ in range(7):
        x, y = rng.uniform(0, SIZE), rng.uniform(0, SIZE)
        tile.ellipse(x, y, rng.uniform(1.2, 2.2), rng.uniform(1, 1.6), (150, 134, 116))
    glints(tile, rng, frame, 5)
    return tile


def rocks(rng, frame):
    noise = fractal(rng)
    tile = textured((96, 88, 76), (138, 126, 108), noise)
    speckle(tile, rng, 60, [(80, 72, 62), (150, 140, 124)])
    for _ in range(14):
        x, y = rng.uniform(0, SIZE), rng.uniform(0, SIZE)
        rx, ry = rng.uniform(3, 7), rng.uniform(2.5, 5)
        gray = rng.randint(128, 176)
        stone = (gray, gray - rng.randint(0, 10), gray - rng.randint(6, 20))
        tile.ellipse(x, y + 1, rx, ry, (58, 52, 46), lit=False)  # contact shadow
        tile.ellipse(x, y, rx, ry, stone, rim=shade(stone, 0.55))
    glints(tile, rng, frame, 8)
    return tile


def littlelawn(rng, frame):
    noise = fractal(rng)
    tile = textured((84, 150, 52), (124, 186, 70), noise)
    palette = [((70, 134, 44), (150, 206, 90)), ((86, 150, 50), (170, 214, 100))]
    blades(tile, rng, 260, (2, 4), palette, sway=1 if frame else 0)
    speckle(tile, rng, 5, [(250, 240, 120), (250, 250, 240)])  # daisies
    return tile


def lawn(rng, frame):
    noise = fractal(rng)
    tile = textured((30, 92, 30), (56, 130, 44), noise)
    palette = [((26, 80, 26), (96, 170, 60)), ((34, 96, 32), (120, 190, 70)),
               ((22, 70, 30), (80, 150, 56))]
    blades(tile, rng, 330, (5, 10), palette, sway=2.5 if frame else -1)
    return tile


def water(rng, frame):
    noise = fractal(rng)
    tile = Canvas(SIZE, SIZE, wrap=True)
    phase = frame * 2.1  # ripples shift about a third of a wavelength
    for y in range(SIZE):
        for x in range(SIZE):
            n = noise(x, y)
            wave = math.sin(2 * math.pi * (2 * x + 3 * y) / SIZE + 5 * n + phase)
            cross = math.sin(2 * math.pi * (3 * x - 1 * y) / SIZE + 3 * n - phase)
            color = mix((26, 74, 150), (46, 116, 196), n)
            if wave > 0.86:
                color = mix(color, (170, 214, 246), (wave - 0.86) / 0.14)
            elif wave < -0.8:
                color = shade(color, 0.82)
            if cross > 0.93:
                color = mix(color, (120, 176, 230), 0.6)
            tile.put(x, y, color)
    return tile


KINDS = {"adobe": adobe, "littlelawn": littlelawn, "ground": ground,
         "rocks": rocks, "lawn": lawn, "water": water}
