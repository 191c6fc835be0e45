"""Still element sprites: fruit tree, campfire, village wall, meat, bones.

All are 100x100 on magenta, the figure centred on the middle 50x50 cell.
"""
import math
import random

from canvas import Canvas, shade
from creatures import INK


def tree(frame):
    canvas = Canvas(100, 100)
    bark = (110, 72, 40)
    for side in (-1, 1):
        canvas.capsule(50, 70, 50 + side * 9, 76, 2.5, bark, rim=shade(bark, 0.45))
    canvas.capsule(50, 74, 50, 46, 5, bark, rim=shade(bark, 0.45))
    sway = 1.5 if frame else 0
    rng = random.Random(7)
    leaves = [(50 + rng.uniform(-15, 15), 38 + rng.uniform(-11, 9), rng.uniform(8, 11))
              for _ in range(11)]
    leaves.sort(key=lambda leaf: leaf[1])  # lower clumps overlap upper ones
    canvas.ellipse(50 + sway, 38, 24, 21, (40, 104, 40), rim=(24, 66, 26))
    for x, y, r in leaves:
        lift = sway * (1 - (y - 27) / 30)  # the crown top sways most
        canvas.ellipse(x + lift, y, r, r * 0.9, (60, 138, 50), rim=(34, 88, 34))
    for _ in range(7):
        x, y = 50 + rng.uniform(-17, 17), 40 + rng.uniform(-10, 12)
        canvas.ellipse(x + sway * 0.5, y, 2.8, 2.8, (214, 40, 34), rim=(110, 20, 20))
    canvas.outline(INK)
    return canvas


def _flame(canvas, x, base_y, width, height, lean, color):
    """A teardrop tongue of fire with its tip bent by lean."""
    points = []
    for i in range(25):
        t = i / 24 * math.pi
        px = -math.cos(t) * width * math.sin(t) ** 0.6
        py = -math.sin(t / 2) ** 2 * height
        points.append((px, py))
    shape = [(x + px + lean * (-py / height) ** 2, base_y + py) for px, py in points]
    shape += [(x + width * 0.6 * math.cos(a), base_y + width * 0.5 * math.sin(a))
              for a in (0.3, 1.0, 1.6, 2.2, 2.8)]
    canvas.polygon(shape, color)


def fire(frame):
    canvas = Canvas(100, 100)
    rng = random.Random(11)
    stone = (132, 128, 122)
    for angle in range(0, 360, 40):  # back half of the stone ring
        a = math.radians(angle)
        if math.sin(a) < 0:
            canvas.ellipse(50 + 19 * math.cos(a), 66 + 8 * math.sin(a), 5, 4, stone, rim=(66, 62, 60))
    log = (104, 64, 36)
    canvas.capsule(36, 70, 64, 62, 3.5, log, rim=(56, 34, 20))
    canvas.capsule(36, 62, 64, 70, 3.5, shade(log, 0.9), rim=(56, 34, 20))
    lean = 3 if frame else -3
    tall = (1.0, 0.82) if frame else (0.85, 1.0)
    _flame(canvas, 50, 68, 15, 40 * tall[0], lean, (214, 50, 22))
    _flame(canvas, 41, 68, 8, 26 * tall[1], -lean, (226, 88, 24))
    _flame(canvas, 59, 68, 8, 28 * tall[0], lean, (226, 88, 24))
    _flame(canvas, 50, 68, 9, 28 * tall[1], -lean * 0.6, (248, 160, 40))
    _flame(canvas, 50, 68, 5, 15 * tall[0], lean * 0.4, (255, 236, 130))
    for _ in range(4):  # sparks
        x, y = 50 + rng.uniform(-12, 12), 30 + rng.uniform(-4, 8) + frame * rng.uniform(-6, 0)
        canvas.ellipse(x, y, 1, 1, (255, 210, 90), lit=False)
    for angle in range(0, 360, 40):  # front half of the ring
        a = math.radians(angle)
        if math.sin(a) >= 0:
            canvas.ellipse(50 + 19 * math.cos(a), 66 + 8 * math.sin(a), 5, 4, stone, rim=(66, 62, 60))
    canvas.outline(INK)
    return canvas


def wall(frame):
    """A block of adobe wall seen from above and the front; frames match."""
    canvas = Canvas(100, 100)
    top, face = (222, 184, 134), (186, 140, 92)
    mortar = shade(face, 0.72)
    canvas.polygon([(25, 20), (75, 20), (75, 36), (25, 36)], top)
    canvas.polygon([(25, 36), (75, 36), (75, 75), (25, 75)], face)
    for row, y in enumerate(range(36, 75, 8)):
        for x in range(25, 75):
            canvas.put(x, y, mortar)
            canvas.put(x, y + 1, shade(face, 1.12))
        offset = 0 if row % 2 else 12
        for x in range(25 + offset, 75, 25):
            for yy in range(y, min(y + 8, 75)):
                canvas.put(x, yy, mortar)
    for x in range(25, 75):
        canvas.put(x, 36, shade(top, 0.6))
    rng = random.Random(5)
    for _ in range(60):  # weathering of the sun-dried bricks
        x, y = rng.randrange(25, 75), rng.randrange(20, 75)
        canvas.put(x, y, shade(canvas.get(x, y), rng.uniform(0.85, 1.1)))
    for y in range(37, 75):  # the foot of the wall lies in its own shade
        for x in range(25, 75):
            canvas.put(x, y, shade(canvas.get(x, y), 1.05 - (y - 37) / 120))
    canvas.outline(INK)
    return canvas


def meat(frame):
    """A hunk of meat on the bone, what a slain creature leaves to eat."""
    canvas = Canvas(100, 100)
    bone = (236, 228, 206)
    canvas.capsule(56, 44, 70, 32, 3.2, bone, rim=(140, 130, 112))
    for dx, dy in ((-2, -3), (3, 2)):
        canvas.ellipse(71 + dx, 31 + dy, 4, 4, bone, rim=(140, 130, 112))
    canvas.ellipse(45, 56, 19, 15, (176, 44, 44), rim=(96, 20, 24))
    canvas.ellipse(42, 53, 13, 9, (214, 92, 88), rim=None)
    for x0, y0, x1, y1 in ((33, 51, 41, 60), (44, 48, 52, 57), (38, 62, 48, 66)):
        canvas.capsule(x0, y0, x1, y1, 1.2, (240, 200, 190))  # fat marbling
    canvas.ellipse(36, 47, 3, 2, (255, 220, 215), lit=False)
    canvas.outline(INK)
    return canvas


def dead(frame):
    """Picked-clean remains: a skull over crossed bones."""
    canvas = Canvas(100, 100)
    bone, rim = (232, 226, 206), (128, 120, 104)
    for (x0, y0, x1, y1) in ((32, 74, 68, 48), (32, 48, 68, 74)):
        canvas.capsule(x0, y0, x1, y1, 3, bone, rim=rim)
        length = math.hypot(x1 - x0, y1 - y0)
        across = ((y0 - y1) / length * 2.5, (x1 - x0) / length * 2.5)
        for x, y in ((x0, y0), (x1, y1)):  # the two knobs at each bone end
            for side in (-1, 1):
                canvas.ellipse(x + side * across[0], y + side * across[1], 3.3, 3.3, bone, rim=rim)
    canvas.ellipse(50, 46, 13, 12, bone, rim=rim)
    canvas.polygon([(42, 52), (58, 52), (56, 63), (44, 63)], bone, rim=rim)
    for side in (-1, 1):
        canvas.ellipse(50 + side * 5, 48, 3.6, 4, (44, 34, 32), lit=False)
    canvas.polygon([(50, 52), (48, 56), (52, 56)], (60, 48, 44))
    for x in (46, 49, 52):
        canvas.put(x, 61, rim)
        canvas.put(x, 62, rim)
    canvas.outline(INK)
    return canvas


STILL = {"tree": (tree, 2), "fire": (fire, 2), "wall": (wall, 2),
         "meat": (meat, 1), "dead": (dead, 1)}
