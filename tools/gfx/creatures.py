"""Creature sprites: the hero, the cyclope and the spider.

Each creature has eight 100x100 frames: facing down, right, up and left,
each standing then stepping.  The figure stands on the central 50x50 cell.
The left-facing frames are the right-facing ones mirrored.
"""
from dataclasses import dataclass
from typing import Optional, Tuple

from canvas import Canvas, shade

INK = (28, 20, 24)
FACINGS = ("down", "right", "up", "left")

Color = Tuple[int, int, int]


@dataclass
class Look:
    """What distinguishes one humanoid from another."""
    scale: float
    feet_y: float
    skin: Color
    body: Color
    legs: Color
    boots: Color
    belt: Color
    hair: Optional[Color]
    cape: Optional[Color]
    cyclops: bool


HERO = Look(scale=1.2, feet_y=78, skin=(236, 188, 150), body=(44, 96, 200),
            legs=(120, 82, 50), boots=(72, 44, 30), belt=(110, 70, 36),
            hair=(122, 70, 32), cape=(188, 40, 40), cyclops=False)

CYCLOPE = Look(scale=1.4, feet_y=82, skin=(146, 162, 104), body=(146, 162, 104),
               legs=(146, 162, 104), boots=(112, 126, 78), belt=(120, 84, 48),
               hair=None, cape=None, cyclops=True)


class Pose:
    """Maps body coordinates (x right, y up from the feet) onto the frame."""

    def __init__(self, canvas, look):
        self.canvas, self.look = canvas, look

    def xy(self, dx, dy):
        s = self.look.scale
        return 50 + dx * s, self.look.feet_y - dy * s

    def ellipse(self, dx, dy, rx, ry, color, rim=True):
        x, y = self.xy(dx, dy)
        s = self.look.scale
        self.canvas.ellipse(x, y, rx * s, ry * s, color, rim=shade(color, 0.45) if rim else None)

    def limb(self, a, b, radius, color):
        (x0, y0), (x1, y1) = self.xy(*a), self.xy(*b)
        self.canvas.capsule(x0, y0, x1, y1, radius * self.look.scale, color,
                            rim=shade(color, 0.45))

    def dot(self, dx, dy, size, color):
        x, y = self.xy(dx, dy)
        self.canvas.ellipse(x, y, size, size, color, lit=False)


def humanoid(look, facing, stepping):
    canvas = Canvas(100, 100)
    pose = Pose(canvas, look)
    if facing in ("right", "left"):
        _profile(pose, stepping)
    else:
        _front_or_back(pose, facing == "down", stepping)
    canvas.outline(INK)
    return canvas.mirrored() if facing == "left" else canvas


def _front_or_back(pose, front, stepping):
    look = pose.look
    lift = 5 if stepping else 0
    swing = 4 if stepping else 0
    if look.cape and front:
        pose.ellipse(0, 20, 12, 10, shade(look.cape, 0.8))
    for side, raised in ((-1, lift), (1, 0)):
        pose.limb((side * 4, 14), (side * 4, 3 + raised), 3.2, look.legs)
        pose.ellipse(side * 4.2, 2 + raised, 3.6, 2.6, look.boots)
    for side, rise in ((-1, -swing), (1, swing)):
        pose.limb((side * 10, 27), (side * 12, 16 + rise), 2.6, look.body)
        pose.ellipse(side * 12, 14 + rise, 2.6, 2.6, look.skin)
    if look.cyclops:
        _club(pose, (12, 14 + swing))
    pose.ellipse(0, 21, 10, 10, look.body)
    if look.cyclops:
        pose.ellipse(0, 24, 6, 4, shade(look.skin, 1.12), rim=False)  # bare chest
    pose.limb((-9, 15), (9, 15), 1.7, look.belt)
    if look.cyclops:
        _loincloth(pose, 0)
    if look.cape and not front:
        pose.canvas.polygon([pose.xy(-9, 29), pose.xy(9, 29), pose.xy(12, 11), pose.xy(-12, 11)],
                            look.cape, rim=shade(look.cape, 0.5))
    _head(pose, front)


def _profile(pose, stepping):
    look = pose.look
    reach = 6 if stepping else 1.5
    if look.cape:
        pose.canvas.polygon([pose.xy(-3, 29), pose.xy(-10, 12), pose.xy(-2, 12)],
                            look.cape, rim=shade(look.cape, 0.5))
    for sign, tone in ((-1, 0.75), (1, 1.0)):  # far leg darker, behind the near one
        leg = shade(look.legs, tone)
        pose.limb((0, 14), (sign * reach, 3), 3.2, leg)
        pose.ellipse(sign * reach + 1.5, 2, 3.8, 2.4, shade(look.boots, tone))
    pose.ellipse(0, 21, 7.5, 10, look.body)
    pose.limb((-6, 15), (6, 15), 1.7, look.belt)
    if look.cyclops:
        _loincloth(pose, 2)
    _head(pose, None)
    hand = (2 - reach, 16) if stepping else (1, 15)
    pose.limb((0, 27), hand, 2.6, look.body)
    pose.ellipse(hand[0], hand[1] - 1.5, 2.6, 2.6, look.skin)
    if look.cyclops:
        _club(pose, hand)


def _loincloth(pose, shift):
    fur = (118, 80, 44)
    pose.canvas.polygon([pose.xy(-9 + shift, 15), pose.xy(9 + shift, 15), pose.xy(6 + shift, 8),
                         pose.xy(-6 + shift, 8)], fur, rim=shade(fur, 0.5))


def _club(pose, hand):
    """A knobbly club held out at arm's length."""
    wood = (128, 86, 48)
    tip = (hand[0] + 9, hand[1] + 4)
    pose.limb(hand, tip, 1.6, wood)
    pose.ellipse(tip[0] + 1, tip[1] + 1, 3.2, 3.6, wood)


def _head(pose, front):
    """front: True = face, False = back of the head, None = profile right."""
    look = pose.look
    size = 10 if look.cyclops else 9
    hair = look.hair or shade(look.skin, 0.92)
    if look.cyclops and front is not None:
        for side in (-1, 1):
            pose.ellipse(side * (size + 0.5), 38, 2, 3, look.skin)  # ears
    if front is None:
        pose.ellipse(0, 38, size, size, hair if look.hair else look.skin)
        if look.hair:
            pose.ellipse(2.5, 36.5, size - 2.5, size - 2.5, look.skin, rim=False)
        pose.ellipse(size - 1, 37, 2, 2, look.skin)  # nose
        if look.cyclops:
            _big_eye(pose, 4.5, 40, 3.2)
        else:
            pose.dot(5, 39, 1.3, INK)
    elif front:
        if look.hair:
            pose.ellipse(0, 39.5, size + 0.5, size + 0.5, hair)
            pose.ellipse(0, 36.5, size - 1.5, size - 2.5, look.skin, rim=False)
        else:
            pose.ellipse(0, 38, size, size, look.skin)
        if look.cyclops:
            _big_eye(pose, 0, 40, 4.4)
            pose.limb((-3, 32), (3, 32), 0.9, (90, 40, 40))  # grim mouth
        else:
            for side in (-1, 1):
                pose.dot(side * 3.2, 38, 1.3, INK)
            pose.limb((-1.5, 33), (1.5, 33), 0.6, (170, 90, 80))
    else:
        pose.ellipse(0, 38, size, size, hair)


def _big_eye(pose, dx, dy, radius):
    pose.ellipse(dx, dy, radius, radius * 0.85, (250, 250, 240))
    pose.dot(dx + radius * 0.15, dy - 0.3, radius * 0.7, (196, 40, 30))
    pose.dot(dx + radius * 0.15, dy - 0.3, radius * 0.35, INK)
    pose.dot(dx - radius * 0.2, dy + radius * 0.3, 1, (255, 255, 255))
    pose.limb((dx - radius, dy + radius + 0.8), (dx + radius, dy + radius + 1.8), 0.9, INK)


# The spider is seen from straight above, so each facing is a rotation of a
# body drawn pointing down (local +y is the direction it walks).
ROTATIONS = {"down": lambda x, y: (x, y), "right": lambda x, y: (y, -x),
             "up": lambda x, y: (-x, -y), "left": lambda x, y: (-y, x)}


def spider(facing, stepping):
    canvas = Canvas(100, 100)
    turn = ROTATIONS[facing]
    sideways = facing in ("right", "left")

    def at(x, y):
        tx, ty = turn(x, y)
        return 50 + tx, 50 + ty

    def blob(x, y, rx, ry, color, rim=True):
        cx, cy = at(x, y)
        if sideways:
            rx, ry = ry, rx
        canvas.ellipse(cx, cy, rx, ry, color, rim=shade(color, 0.4) if rim else None)

    def segment(a, b, radius, color):
        (x0, y0), (x1, y1) = at(*a), at(*b)
        canvas.capsule(x0, y0, x1, y1, radius, color, rim=shade(color, 0.4))

    leg = (70, 52, 46)
    for index, root_y in enumerate((12, 9, 6, 3)):
        for side in (-1, 1):
            stride = 3 if (index + (side > 0)) % 2 == 0 else -3
            stride *= 1 if stepping else 0
            knee = (side * 17, root_y + 8 - index * 7 + stride)
            foot = (side * 27, root_y + 14 - index * 11 + stride * 1.5)
            segment((side * 5, root_y), knee, 2.2, leg)
            segment(knee, foot, 1.8, leg)
    blob(0, -11, 14, 16, (88, 56, 50))
    for stripe_y in (-4, -11, -18):  # banded markings on the abdomen
        blob(0, stripe_y, 7 - abs(stripe_y + 11) * 0.5, 1.6, (214, 120, 40), rim=False)
    blob(0, 8, 9.5, 8.5, (102, 70, 60))
    blob(0, 15, 6, 4.5, (80, 52, 46))
    for side in (-1, 1):
        segment((side * 2, 18), (side * 1.5, 22), 1.3, (40, 28, 26))  # fangs
        blob(side * 2.3, 15.5, 1.6, 1.6, (230, 40, 30), rim=False)
        blob(side * 4.3, 14, 1.0, 1.0, (230, 40, 30), rim=False)
    canvas.outline(INK)
    return canvas


# How each creature kind is drawn, by its name in the game's kinds table.
DRAW = {"avatar": lambda f, s: humanoid(HERO, f, s),
        "cyclope": lambda f, s: humanoid(CYCLOPE, f, s),
        "spider": spider}


def frames(kind):
    """The eight frames of a creature in the game's order."""
    return [DRAW[kind](facing, stepping) for facing in FACINGS for stepping in (False, True)]
