"""End-to-end checks of the switches a player sets: the pace keys tapped faster than the passes,
the switches kept across a new round and a new launch, and the page of controls."""
import re
import time
from contextlib import contextmanager
from pathlib import Path

from desktop_checks import PANEL_LABEL, shot_showing
from overlay_checks import BARS, MAPS, shows
from pictures import WHITE, doubled, read_text
from press_checks import NOTICE
from session import CheckFailed, poll, quit_by_escape
from worldmap import WorldMap

PACE_TEXT = (488, 98)  # the pace line of the status panel on the shipped map
FOLLOWS = 0.5  # seconds within which the readout follows a change of pace
FAST = 150  # passes per second that x8 gives at least, and that x1 never reaches
OVERVIEW_BORDER = (9, 585)  # a pixel of the overview's white border, bottom left
PAGE_TITLE = (158, 48)  # where the page of controls says "Controls"
PANEL_CLOSED = (700, 121)  # the panel's white frame under its pace line, on the shipped map
KEPT = "panel 1\nvitals 1\noverview 1\neffects 1\npace x8\n"


class SwitchChecks:
    """Mixed into the checks: uses their folder(), shipped_folder(), start(), wait_avatar(),
    rendered() and font_masks()."""

    def pace_taps(self, screen, root):
        """Three taps of ] two milliseconds apart step the pace from x1 to x8, and the panel's
        passes per second show the new pace within half a second."""
        with self.shipped_with_panel(screen, root) as (game, masks):
            pace_line = lambda: read_text(game.screenshot(), masks, *PACE_TEXT)  # noqa: E731
            if not poll(lambda: pace_line().startswith("pace x1 "), 2.0):
                raise CheckFailed(f"the panel does not start at x1: {pace_line()!r}")
            time.sleep(1.0)
            screen.xdotool("key", "--delay", "2", *["bracketright"] * 3)
            tapped = time.monotonic()
            line = poll(lambda: (text := pace_line()).startswith("pace x8 ") and text, 1.0)
            if not line:
                raise CheckFailed(f"three quick taps of ] made {pace_line()!r}, not x8")
            fast = poll(lambda: passes_per_second(pace_line()) >= FAST,
                        tapped + FOLLOWS - time.monotonic(), 0.01)
            if not fast:
                raise CheckFailed(f"{FOLLOWS} s after the taps the panel reads "
                                  f"{pace_line()!r}: not yet {FAST}/s or more")
            return (f"three taps 2 ms apart made x8; within {FOLLOWS} s the panel read "
                    f"{pace_line()!r}")

    def switches_kept(self, screen, root):
        """H, V, O and x8 survive R after the avatar's death and a new launch, kept in the
        player's data folder; a damaged file of switches is reported and the game starts with
        none of them."""
        folder, world = self.folder(root, MAPS / "vitals.txt")
        masks = self.font_masks(root)
        kept = folder.path / ".local" / "share" / "orvalle" / "switches"
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world, least=0.5)
            self.show_panel(screen, game, root)
            screen.xdotool("key", "--delay", "100", "v", "o", *["bracketright"] * 3)
            self.all_switched(game, masks, "after H, V, O and three ]")
            notice = doubled(self.rendered(Path(root) / "notice.bmp", NOTICE))
            if not poll(lambda: shot_showing(game, notice, ((480 - notice.width) // 2, 100),
                                             True), 60.0):
                raise CheckFailed("the avatar did not die within 60 s")
            screen.xdotool("key", "r")
            self.all_switched(game, masks, "after R")
            quit_by_escape(screen, game)
        if not kept.exists() or kept.read_text() != KEPT:
            raise CheckFailed(f"{kept} holds {kept.exists() and kept.read_text()!r}, not {KEPT!r}")
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world, least=0.5)
            self.all_switched(game, masks, "at the next launch")
            quit_by_escape(screen, game)
        kept.write_text("panel 1\nwhatever\n")
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world, least=0.5)
            time.sleep(0.5)
            if switched(game.screenshot(), masks):
                raise CheckFailed(f"with a damaged file {switched(game.last_shot, masks)} show")
            if "damaged" not in game.error_text() or str(kept) not in game.error_text():
                raise CheckFailed(f"a damaged file was not reported: {game.error_text()!r}")
        return "H, V, O and x8 showed after R and at the next launch; a damaged file was reported"

    def help_page(self, screen, root):
        """H shows the status alone, its frame closing under the pace line; F1 opens the page
        of controls and closes it, so does ?, and Escape closes it without quitting the game,
        which a second Escape then quits."""
        with self.shipped_with_panel(screen, root) as (game, masks):
            if game.screenshot().at(*PANEL_CLOSED) != WHITE:
                raise CheckFailed(f"the panel goes on below its pace line, at {PANEL_CLOSED}")
            page = lambda: read_text(game.screenshot(), masks, *PAGE_TITLE) == "Controls"  # noqa
            for opening, closing in (("F1", "F1"), ("question", "question"), ("F1", "Escape")):
                screen.xdotool("key", opening)
                if not poll(page, 2.0):
                    raise CheckFailed(f"{opening} showed no page of controls")
                screen.xdotool("key", closing)
                time.sleep(0.3)
                if game.process.poll() is not None:
                    raise CheckFailed(f"{closing} on the page of controls quit the game")
                if not poll(lambda: not page(), 2.0):
                    raise CheckFailed(f"{closing} left the page of controls open")
            quit_by_escape(screen, game)
        return "H showed the status alone; F1, ? and Escape opened and closed the page; " \
               "a second Escape quit"

    def all_switched(self, game, masks, when):
        if not poll(lambda: len(switched(game.screenshot(), masks)) == 4, 3.0):
            raise CheckFailed(f"{when} only {switched(game.last_shot, masks)} show")

    @contextmanager
    def shipped_with_panel(self, screen, root):
        """The game on the shipped map, the panel shown; with the font's glyphs to read it."""
        world = WorldMap((self.data / "orvalle.map").read_text())
        masks = self.font_masks(root)
        with self.start(screen, self.shipped_folder(root)) as game:
            self.wait_avatar(game, world, least=0.8)
            self.show_panel(screen, game, root)
            yield game, masks

    def show_panel(self, screen, game, root):
        label = doubled(self.rendered(Path(root) / "label.bmp", PANEL_LABEL[0]))
        game.focus()
        screen.xdotool("key", "h")
        if not poll(lambda: shot_showing(game, label, PANEL_LABEL[1], True), 2.0):
            raise CheckFailed("H showed no panel")


def switched(shot, masks):
    """Which of the panel, the vitals, the overview and the pace x8 show."""
    shown = ["vitals"] if shows(shot, {"bar": BARS["the avatar's health"]}) else []
    shown += ["overview"] if shot.at(*OVERVIEW_BORDER) == WHITE else []
    pace = read_text(shot, masks, *PACE_TEXT)
    shown += ["panel"] if pace.startswith("pace ") else []
    return shown + (["x8"] if pace.startswith("pace x8 ") else [])


def passes_per_second(line):
    """The passes per second a pace line prints, 0 when it prints none."""
    found = re.search(r"(\d+)/s", line)
    return int(found[1]) if found else 0
