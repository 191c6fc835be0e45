"""End-to-end checks of the switches a player sets: the pace keys tapped faster than the passes,
the switches kept across a new round and a new launch, and the page of controls."""
import re
import time
from pathlib import Path

from desktop_checks import PANEL_LABEL, shot_showing
from pictures import doubled, read_text
from session import CheckFailed, poll
from worldmap import WorldMap

PACE_TEXT = (488, 98)  # the pace line of the status panel on the shipped map
FOLLOWS = 0.5  # seconds within which the readout follows a change of pace
FAST = 150  # passes per second that x8 gives at least, and that x1 never reaches


class SwitchChecks:
    """Mixed into the checks: uses their folder(), shipped_folder(), start(), wait_avatar(),
    rendered() and font_masks()."""

    def pace_taps(self, screen, root):
        """Three taps of ] two milliseconds apart step the pace from x1 to x8, and the panel's
        passes per second show the new pace within half a second."""
        folder = self.shipped_folder(root)
        world = WorldMap((self.data / "orvalle.map").read_text())
        masks = self.font_masks(root)
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world, least=0.8)
            self.show_panel(screen, game, root)
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

    def show_panel(self, screen, game, root):
        label = doubled(self.rendered(Path(root) / "label.bmp", PANEL_LABEL[0]))
        game.focus()
        screen.xdotool("key", "h")
        if not poll(lambda: shot_showing(game, label, PANEL_LABEL[1], True), 2.0):
            raise CheckFailed("H showed no panel")


def passes_per_second(line):
    """The passes per second a pace line prints, 0 when it prints none."""
    found = re.search(r"(\d+)/s", line)
    return int(found[1]) if found else 0
