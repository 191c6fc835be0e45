"""End-to-end checks of the game on a map far bigger than the view: the dense 2048 x 2048 map of
tools/map/random_map.py (seed 1), about 3.5% of its cells holding a creature."""
import subprocess
import sys
import time

from session import CheckFailed, poll, quit_by_escape
from worldmap import REPO

BIG_SIDE = 2048
LOADED = 60.0  # seconds within which the game must show the world, map written
FASTEST_TAPS = 4  # ] from x1 to the fastest pace


class BigMapChecks:
    """Mixed into the checks: uses their folder() and start()."""

    def escape_dense(self, screen, root):
        """At the fastest pace on the dense 2048 x 2048 map, Escape ends the game (as the
        escape check asks of any map) and says how long it took."""
        folder, _ = self.folder(root)
        with open(folder.path / "orvalle.map", "w") as map_file:
            subprocess.run([sys.executable, str(REPO / "tools/map/random_map.py"),
                            str(BIG_SIDE), str(BIG_SIDE), "1"], stdout=map_file, check=True)
        with self.start(screen, folder) as game:
            game.wait_window(LOADED)
            if not poll(lambda: any(game.screenshot().pixels), LOADED - game.elapsed()):
                raise CheckFailed(f"the world did not show within {LOADED} s")
            game.focus()
            for _ in range(FASTEST_TAPS):
                game.press("bracketright", 0.1)
                time.sleep(0.2)
            took = quit_by_escape(screen, game)
            return f"at the fastest pace Escape ended the game in {took:.2f} s"
