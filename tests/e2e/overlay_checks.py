"""End-to-end checks of what the game shows over the valley: the notices and the panel in the
big font, clear of the avatar, the page's list of every control, the vitals, the pace and the
overview."""
import re
import subprocess
import sys
import time
from pathlib import Path

from desktop_checks import PANEL_LABEL, PAUSED, select_avatar, shot_showing
from pictures import (BLACK, MASK, PRINTABLE, WHITE, close, doubled, glyph_masks, pack565,
                      quantise, read_text, status_line, text_shown, unpack565)
from press_checks import NOTICE
from session import CheckFailed, GameFolder, poll
from worldmap import ELEMENT_NAMES, LAND_NAMES, REPO, WorldMap, avatar_corner

MAPS = Path(__file__).resolve().parent / "maps"
SHOWN = 0.95  # share of the avatar's sprite that must show
MASK_565 = pack565(MASK)
PANEL_TEXT = (488, 18, 20)  # left of the panel's text, top of its first line, line pitch
PANEL_LINES = 5
PAGE = (158, 48, 20)  # left of the page of controls' text, top of its title, line pitch
PAGE_LINES = 26
CALENDAR_LINE, PACE_LINE = 1, 4  # on the shipped map, with two lines of counts between them
MEASURE = 3.0  # seconds over which the calendar's pace is measured
# The overview of tests/e2e/maps/small.txt: 14 x 10 cells of 14 pixels from (10, 450).
OVERVIEW, OVERVIEW_CELL = (10, 450), 14
# The overview of a 1024 x 1024 map: 147 x 147 pixels of 7 x 7 cells each, from (10, 443).
DENSE = (10, 443)
RANDOM_MAP = REPO / "tools" / "map" / "random_map.py"
CREATURE_DOTS = {"avatar": quantise(255, 255, 255), "cyclope": quantise(255, 0, 0)}
# On tests/e2e/maps/vitals.txt, with the view at (0, 0): the cyclope, the avatar and the tree in
# cells (7, 6), (8, 6) and (9, 6). Where V draws what, and in which colour.
BARS = {"the cyclope's health": ((356, 290), quantise(0, 200, 0)),
        "the avatar's health": ((406, 290), quantise(0, 200, 0)),
        "the tree's fruit": ((493, 290), quantise(255, 150, 0))}
FLASH = ((400, 325), quantise(255, 0, 0))  # the red frame around the avatar's cell
BITE = ((444, 306), quantise(255, 230, 0))  # the yellow mark in its top right corner


class OverlayChecks:
    """Mixed into the checks: uses their folder(), start(), wait_avatar(), avatar_share(),
    rendered(), centred_text() and status_lines()."""

    def big_text(self, screen, root):
        """Paused, the notice shows in the big font in the upper third and the whole avatar
        shows beneath it; with the panel, the notice moves beside it. The status line keeps its
        small font at (10, 10) throughout."""
        folder, world = self.folder(root, MAPS / "pen.txt")
        lines = self.status_lines(root, "avatar", range(100, 94, -1))
        notice, at = self.centred_text(root, PAUSED)
        beside = ((480 - notice.width) // 2, at[1])
        label = doubled(self.rendered(Path(root) / "label.bmp", PANEL_LABEL[0]))
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world)
            game.focus()
            select_avatar(screen, game, world)
            screen.xdotool("key", "p")
            for where, key in ((at, None), (beside, "h")):
                if key:
                    screen.xdotool("key", key)
                shot = poll(lambda w=where: shot_showing(game, notice, w, True), 2.0)
                if shot is None:
                    raise CheckFailed(f"no {PAUSED!r} in the big font at {where}")
                self.holds_avatar_and_status(shot, world, lines, f"with the notice at {where}")
            if not shot_showing(game, label, PANEL_LABEL[1], True):
                raise CheckFailed(f"no {PANEL_LABEL[0]!r} in the big font at {PANEL_LABEL[1]}")
            return (f"{PAUSED!r} in the big font at {at}, beside the panel at {beside}; the "
                    f"avatar and the small status line showed in full")

    def holds_avatar_and_status(self, shot, world, lines, when):
        share = self.avatar_share(shot, 0, avatar_corner(world))
        if share < SHOWN:
            raise CheckFailed(f"{when}, only {share:.0%} of the avatar shows")
        if status_line(shot, lines) is None:
            raise CheckFailed(f"{when}, the status line does not show at (10, 10)")

    def keys_listed(self, screen, root):
        """F1 shows every key of the README's table of controls (which the unit tests hold to
        the game's control table), read off the page of controls glyph by glyph."""
        folder, world = self.folder(root, MAPS / "pen.txt")
        masks = self.font_masks(root)
        title = doubled(self.rendered(Path(root) / "title.bmp", "Controls"))
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world)
            game.focus()
            screen.xdotool("key", "F1")
            shot = poll(lambda: shot_showing(game, title, PAGE[:2], True), 2.0)
            if shot is None:
                raise CheckFailed("F1 showed no page of controls")
            text = " ".join(read_text(shot, masks, PAGE[0], PAGE[1] + 40 + PAGE[2] * n)
                            for n in range(PAGE_LINES))
            missing = [keys for keys in readme_keys() if keys not in " ".join(text.split())]
            if missing:
                raise CheckFailed(f"the page lacks {missing}; it reads {text!r}")
            return f"the page lists all {len(readme_keys())} controls of the README"

    def font_masks(self, root):
        return glyph_masks(self.rendered(Path(root) / "font.bmp", PRINTABLE))

    @staticmethod
    def panel_lines(shot, masks):
        left, top, pitch = PANEL_TEXT
        return [read_text(shot, masks, left, top + pitch * n) for n in range(PANEL_LINES)]


    def vitals(self, screen, root):
        """V shows the bars over both creatures and the tree; the blows of the cyclope flash
        around the avatar; the avatar turned to the tree and eating shows the mark; a second V
        takes it all away."""
        folder, world = self.folder(root, MAPS / "vitals.txt")
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world, least=0.5)
            if shows(game.screenshot(), BARS):
                raise CheckFailed(f"{shows(game.last_shot, BARS)} show before V")
            game.focus()
            screen.xdotool("key", "v")
            if not poll(lambda: len(shows(game.screenshot(), BARS)) == len(BARS), 2.0):
                raise CheckFailed(f"after V only {shows(game.last_shot, BARS)} show")
            if not poll(lambda: shows(game.screenshot(), {"flash": FLASH}), 10.0, 0.02):
                raise CheckFailed(f"no red frame at {FLASH[0]} within 10 s of the cyclope's blows")
            screen.xdotool("key", "Right")
            screen.xdotool("keydown", "Alt_L")
            bitten = poll(lambda: shows(game.screenshot(), {"mark": BITE}), 5.0, 0.02)
            screen.xdotool("keyup", "Alt_L")
            if not bitten:
                raise CheckFailed(f"no bite mark at {BITE[0]} while the avatar eats the tree")
            screen.xdotool("key", "v")
            if not poll(lambda: not shows(game.screenshot(), BARS), 2.0):
                raise CheckFailed(f"after a second V {shows(game.last_shot, BARS)} still show")
            return (f"V showed {', '.join(BARS)}, the flash of a blow and the mark of a bite; a "
                    f"second V took them away")


    def speed(self, screen, root):
        """On the shipped map the calendar, read off the panel, runs at least four times as fast
        at x8 as at x1, and at each of them as fast as the passes per second the panel prints
        (within a quarter); the panel names each pace as ] reaches it, up to the fastest (where
        the avatar soon starves, and its death brings the pace back to x1)."""
        folder = self.shipped_folder(root)
        world = WorldMap((self.data / "orvalle.map").read_text())
        masks = self.font_masks(root)
        label = doubled(self.rendered(Path(root) / "label.bmp", PANEL_LABEL[0]))
        died = doubled(self.rendered(Path(root) / "died.bmp", NOTICE))
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world, least=0.8)
            game.focus()
            screen.xdotool("key", "h")
            if not poll(lambda: shot_showing(game, label, PANEL_LABEL[1], True), 2.0):
                raise CheckFailed("H showed no panel")
            rates, shown = {}, {}
            starved = lambda: text_shown(game.last_shot, died, 240 - died.width // 2, 100)  # noqa
            pace_line = lambda: self.panel_lines(game.screenshot(), masks)[PACE_LINE]  # noqa
            for pace in ("x1", "x2", "x4", "x8", "max"):
                if pace != "x1":
                    screen.xdotool("key", "bracketright")
                if not poll(lambda p=pace: pace_line().startswith(f"pace {p} ") or
                            p == "max" and starved(), 2.0):
                    raise CheckFailed(f"the panel does not show pace {pace}: {pace_line()!r}")
                if pace in ("x1", "x8"):
                    time.sleep(2.0)  # the panel's measure has settled at this pace
                    rates[pace] = self.calendar_rate(game, masks)
                else:
                    time.sleep(1.5)
                shown[pace] = pace_line()
                printed = re.search(r"(\d+)/s", shown[pace])
                ratio = rates.get(pace, 1) / int(printed[1]) if printed else 0
                if pace in rates and not 0.75 <= ratio <= 4 / 3:
                    raise CheckFailed(f"at {pace} the calendar runs {rates[pace]:.0f} seconds a "
                                      f"second, the panel prints {shown[pace]!r}")
            if rates["x8"] < 4 * rates["x1"]:
                raise CheckFailed(f"passes per second {rates}: x8 is not 4 times x1")
            # At the fastest the calendar runs through its days too fast to be read this way.
            return (f"passes per second by the calendar: x1 {rates['x1']:.0f}, x8 "
                    f"{rates['x8']:.0f}; the panel: {shown['x1']!r}, {shown['x8']!r}, "
                    f"{shown['max']!r}")

    def calendar_rate(self, game, masks):
        """The calendar's seconds, one a pass, per second of the clock, over MEASURE seconds."""
        def reading():
            before = time.monotonic()
            line = self.panel_lines(game.screenshot(), masks)[CALENDAR_LINE]
            day, hour, minute, second = map(int, re.findall(r"\d+", line))
            return (before + time.monotonic()) / 2, second + 61 * (minute + 61 * (hour + 25 * day))
        (start, first), _ = reading(), time.sleep(MEASURE)
        end, last = reading()
        return (last - first) / (end - start)

    def overview(self, screen, root):
        """O shows the 14 x 10 valley of small.txt cell by cell in the bottom left corner: each
        cell in the average colour of its land's picture (or of what stands on it), the avatar
        and the cyclope as dots of their colours, the view's rectangle around it all; a second O
        takes it away."""
        folder, world = self.folder(root, MAPS / "small.txt")
        expected = {}
        for column in range(world.width):
            for row in range(world.height):
                name = ELEMENT_NAMES.get(world.elements[row][column])
                if name in CREATURE_DOTS:
                    expected[f"the {name}'s dot"] = (overview_pixel(column, row, 7),
                                                     [CREATURE_DOTS[name]])
                    name = None
                name = name or world.land_name(column, row)
                expected[f"{name} at {column, row}"] = (overview_pixel(column, row, 1),
                                                        self.average_colours(name))
        view = {"the view": ((OVERVIEW[0], OVERVIEW[1] + 70), [quantise(255, 255, 0)])}
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world, least=0.8)
            if not missing_from(game.screenshot(), view):
                raise CheckFailed("the view's rectangle shows before O")
            game.focus()
            screen.xdotool("key", "o")
            if poll(lambda: not missing_from(game.screenshot(), view), 2.0) is None:
                raise CheckFailed("O showed no overview")
            missing = missing_from(game.last_shot, {**expected, **view})
            if missing:
                raise CheckFailed(f"the overview lacks {missing}")
            screen.xdotool("key", "o")
            if not poll(lambda: missing_from(game.screenshot(), view), 2.0):
                raise CheckFailed("a second O left the overview")
            return (f"O showed the {len(expected)} cells and dots of the 14 x 10 valley and the "
                    f"view; a second O took it away")

    def overview_dense(self, screen, root):
        """On the 1024 x 1024 map of random_map.py (seed 1), 7 x 7 cells a pixel: under a third
        of O's picture reads red, every land kind's colour shows on 1% of it or more, the view's
        outline has 16 pixels (5 a side) or more, and the avatar is ringed at its cell."""
        folder = GameFolder(root, self.data)
        folder.link_images()
        with open(folder.path / "orvalle.map", "w") as out:
            subprocess.run([sys.executable, str(RANDOM_MAP), "1024", "1024", "1"], stdout=out,
                           check=True)
        world = WorldMap((folder.path / "orvalle.map").read_text())
        mark = tuple(corner + cell // 7 for corner, cell in zip(DENSE, world.avatar()))
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world, deadline=10.0, least=0.5)
            game.focus()
            screen.xdotool("key", "o")
            poll(lambda: ringed(game.screenshot(), *mark), 2.0)
        pixels = [game.last_shot.at(DENSE[0] + n % 147, DENSE[1] + n // 147)
                  for n in range(147 ** 2)]
        red = sum(p[0] > 18 and p[0] > p[1] and p[0] > 2 * p[2] for p in pixels) / len(pixels)
        colours = {name: self.average_colours(name) for name in set(LAND_NAMES.values())}
        lands = {name: sum(any(close(p, c, 2) for c in each) for p in pixels) / len(pixels)
                 for name, each in colours.items()}
        yellow = sum(close(p, quantise(255, 255, 0)) for p in pixels)
        ring = ringed(game.last_shot, *mark)
        if red >= 1 / 3 or min(lands.values()) < 0.01 or yellow < 16 or not ring:
            raise CheckFailed(f"red {red:.0%}, lands {lands}, {yellow} yellow pixels, avatar "
                              f"ringed at {mark}: {ring}")
        return f"red {red:.0%}, every land kind on 1% or more, the avatar ringed at {mark}"

    def average_colours(self, name):
        """The average colour of the opaque pixels of each frame of a kind's pictures."""
        colours = []
        for frame in (0, 1):
            if (self.data / "images" / f"{name}{frame}.bmp").exists():
                opaque = [p for p in self.sprite(f"{name}{frame}").pixels if p != MASK_565]
                channels = zip(*(unpack565(p) for p in opaque))
                colours.append(tuple(sum(c) // len(opaque) for c in channels))
        return colours

def readme_keys():
    """The key column of the README's table of controls."""
    text = (REPO / "README.md").read_text()
    table = text[text.index("| Key | Action |"):].split("\n\n")[0]
    return [re.match(r"\| (.*?) \|", row).group(1) for row in table.splitlines()[2:]]



def ringed(shot, x, y):
    """Whether (x, y) is the middle of a white 3 x 3 mark in a black ring of 5 x 5."""
    return all(shot.at(x + dx, y + dy) == (WHITE if max(abs(dx), abs(dy)) < 2 else BLACK)
               for dx in range(-2, 3) for dy in range(-2, 3))


def shows(shot, marks):
    """The names of the marks whose pixel shows their colour."""
    return [name for name, (where, colour) in marks.items() if close(shot.at(*where), colour)]


def overview_pixel(column, row, inset):
    return (OVERVIEW[0] + OVERVIEW_CELL * column + inset,
            OVERVIEW[1] + OVERVIEW_CELL * row + inset)


def missing_from(shot, expected):
    """The names of what does not show one of its colours at its pixel."""
    return [name for name, (where, colours) in expected.items()
            if not any(close(shot.at(*where), colour, 2) for colour in colours)]
