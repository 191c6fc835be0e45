"""End-to-end checks of the switches: quick taps of the pace keys, the switches kept across a
round and a launch, and the page of controls."""
import re
import time
from contextlib import contextmanager
from pathlib import Path

from overlay_checks import BARS, MAPS, shows
from pictures import WHITE, read_text
from session import CheckFailed, GameFolder, poll, quit_by_escape
from worldmap import WorldMap

PACE_TEXT = (488, 98)  # the panel's pace line, two lines of counts above it


class SwitchChecks:
    """Mixed into the checks: uses their folder(), shipped_folder(), start(), wait_avatar(),
    card_after() and font_masks()."""

    def pace_taps(self, screen, root):
        """Three taps of ] 2 ms apart make x8; the panel's rate shows it within 0.5 s."""
        with self.shipped_with_panel(screen, root) as (game, masks):
            time.sleep(1.0)
            screen.xdotool("key", "--delay", "2", *["bracketright"] * 3)
            tapped = time.monotonic()
            fast = poll(lambda: rate(read_text(game.screenshot(), masks, *PACE_TEXT)) >= 150,
                        tapped + 0.5 - time.monotonic(), 0.01)
            line = read_text(game.last_shot, masks, *PACE_TEXT)
        if not fast or not line.startswith("pace x8 "):
            raise CheckFailed(f"0.5 s after the taps the panel reads {line!r}, not x8 at 150/s")
        return f"0.5 s after three quick taps of ] the panel read {line!r}"

    def switches_kept(self, screen, root):
        """H, V, O and x8 survive R and a new launch; a damaged file is reported and ignored."""
        masks = self.font_masks(root)
        keys = ["h", "v", "o"] + ["bracketright"] * 3

        def replayed(game, _):
            screen.xdotool("key", "r")
            return switched(game, masks)

        shown = self.card_after(screen, root, "kept", "vitals.txt", keys, then=replayed)
        folder = GameFolder(Path(root) / "kept", self.data)
        world = WorldMap((folder.path / "orvalle.map").read_text())
        kept = folder.path / ".local" / "share" / "orvalle" / "switches"
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world, least=0.5)
            launched = switched(game, masks)
            quit_by_escape(screen, game)
        kept.write_text("panel 1\nwhatever\n")
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world, least=0.5)
            damaged, error = switched(game, masks, 0.5), game.error_text()
        if [shown, launched, damaged] != [4, 4, 0] or "damaged" not in error:
            raise CheckFailed(f"of 4 switches {shown} after R, {launched} at launch, {damaged} "
                              f"with a damaged file, which made {error!r}")
        return "H, V, O and x8 showed after R and at the next launch; a damaged file was reported"

    def help_page(self, screen, root):
        """H shows the status alone; F1 and ? open and close the page of controls, Escape closes
        it without quitting; a second Escape quits."""
        with self.shipped_with_panel(screen, root) as (game, masks):
            if game.screenshot().at(700, 121) != WHITE:
                raise CheckFailed("the panel's frame does not close under its pace line")
            page = lambda: read_text(game.screenshot(), masks, 158, 48) == "Controls"  # noqa
            for opening, closing in (("F1", "F1"), ("question", "question"), ("F1", "Escape")):
                screen.xdotool("key", opening)
                opened = poll(page, 2.0)
                screen.xdotool("key", closing)
                closed = poll(lambda: game.process.poll() is not None or not page(), 2.0)
                time.sleep(0.3)
                if not opened or not closed or game.process.poll() is not None:
                    raise CheckFailed(f"{opening} and {closing} did not open and close the page")
            quit_by_escape(screen, game)
        return "H showed the status alone; F1, ? and Escape opened and closed the page"

    @contextmanager
    def shipped_with_panel(self, screen, root):
        """The game on the shipped map with the panel shown, and the font to read it with."""
        masks = self.font_masks(root)
        with self.start(screen, self.shipped_folder(root)) as game:
            self.wait_avatar(game, WorldMap((self.data / "orvalle.map").read_text()), least=0.8)
            game.focus()
            screen.xdotool("key", "h")
            if not poll(lambda: read_text(game.screenshot(), masks, *PACE_TEXT)[:7] == "pace x1",
                        2.0):
                raise CheckFailed("H showed no panel at x1")
            yield game, masks


def switched(game, masks, wait=3.0):
    """How many of the panel, the vitals, the overview and x8 show, all four within the wait."""
    deadline = time.monotonic() + wait
    while True:
        shot = game.screenshot()
        pace = read_text(shot, masks, *PACE_TEXT)
        shown = (pace.startswith("pace ") + pace.startswith("pace x8 ") +
                 (shot.at(9, 585) == WHITE) + bool(shows(shot, {"": BARS["the avatar's health"]})))
        if shown == 4 or time.monotonic() >= deadline:
            return shown
        time.sleep(0.1)


def rate(line):
    """The passes per second a pace line prints, 0 when it prints none."""
    return int(re.search(r"(\d+)/s", line)[1]) if re.search(r"\d/s", line) else 0
