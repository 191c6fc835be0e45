"""End-to-end checks of the presses too short for one pass to see them held, of the way on
after the avatar's death and of a start from the wrong folder."""
import subprocess
import time
from pathlib import Path

from pictures import BLACK, sprite_match, status_line, text_shown
from session import CheckFailed, poll
from worldmap import CELL, COLUMNS, REPO, ROWS, avatar_corner, cell_centre

MAPS = Path(__file__).resolve().parent / "maps"
TAPS = 20
NOTICE = "You died."
MISSING_MAP = "Error loanding fileorvalle.map"
SILENT = "No sound device found"
PARTLY = 0.8  # share of the avatar's sprite that shows between the cyclopes
# The pointer rests this far into its window cell, its arrow within the cell: a cell's share
# of the land it should show at or above SHOWN, yet below 1.
INTO_CELL, SHOWN = 10, 0.95


class PressChecks:
    """Mixed into the checks: uses their folder(), start(), wait_avatar(), centred_view(),
    centred_text() and status_lines()."""

    def escape_tap(self, screen, root):
        slowest = 0.0
        for run in range(TAPS):
            folder, world = self.folder(self.subfolder(root, run), MAPS / "walk.txt")
            with self.start(screen, folder) as game:
                self.wait_avatar(game, world)
                game.focus()
                tapped = time.monotonic()
                screen.xdotool("key", "Escape")
                status = game.wait_exit(1.0)
                if status != 0:
                    raise CheckFailed(f"tap {run + 1}: the game {still_or_ended(status)} "
                                      f"1 s after an instant Escape tap")
                slowest = max(slowest, time.monotonic() - tapped)
        return f"{TAPS}/{TAPS} instant Escape taps quit with status 0 (slowest {slowest:.2f} s)"

    def arrow_tap(self, screen, root):
        folder, world = self.folder(root, MAPS / "walk.txt")
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world)
            column, row = world.view_origin(*world.avatar())
            game.focus()
            for tap in range(1, TAPS + 1):
                screen.xdotool("key", "Right")
                expected = (column + tap, row)
                candidates = [(column + tap - 1, row), expected]
                if not poll(lambda: self.centred_view(game, world, candidates) == expected, 2.0):
                    raise CheckFailed(f"tap {tap}: the view did not come to {expected}, one "
                                      f"cell on, after an instant Right tap")
                # The rest of the step (6 more passes, about 0.2 s), during which the avatar takes
                # no keys, with room for passes slowed down by a busy machine.
                time.sleep(0.6)
            if self.centred_view(game, world, candidates) != expected:
                raise CheckFailed(f"after {TAPS} taps the view is not at {expected}")
            return f"{TAPS}/{TAPS} instant Right taps walked one cell each"

    def click_tap(self, screen, root):
        folder, world = self.folder(root, MAPS / "pen.txt")
        targets = {kind: cell_centre(world, cell) for kind, cell in
                   (("avatar", world.avatar()),
                    ("cyclope", next(c for c in world.element_cells() if c != world.avatar())))}
        lines = {kind: self.status_lines(root, kind, range(100, 94, -1)) for kind in targets}
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world)
            # Each click on the cyclope comes after one on the avatar, so each changes the line.
            for tap in range(1, TAPS + 1):
                for kind, (x, y) in targets.items():
                    screen.xdotool("mousemove", "--window", game.window, str(x), str(y),
                                   "click", "1")
                    if not poll(lambda: status_line(game.screenshot(), lines[kind]), 2.0):
                        raise CheckFailed(f"click {tap}: an instant click on the {kind} at "
                                          f"{(x, y)} did not show its status line")
            return f"{TAPS}/{TAPS} instant clicks on the cyclope (and the avatar) selected it"

    def death(self, screen, root):
        folder, world = self.folder(root, MAPS / "surrounded.txt")
        notice, at = self.centred_text(root, NOTICE)
        fresh = self.status_lines(root, "avatar", range(100, 79, -1))
        with self.start(screen, folder) as game:
            # The cyclopes around the avatar cover some of its sprite.
            self.wait_avatar(game, world, least=PARTLY)
            shows_notice = lambda: text_shown(game.screenshot(), notice, *at)  # noqa: E731
            if not poll(shows_notice, 60.0):
                raise CheckFailed(f"no {NOTICE!r} at {at} within 60 s of the start")
            died = game.elapsed()
            game.focus()
            screen.xdotool("key", "r")
            self.wait_avatar(game, world, deadline=game.elapsed() + 2.0, least=PARTLY)
            if shows_notice():
                raise CheckFailed("the notice stays after R brought the avatar back")
            game.click(*cell_centre(world, world.avatar()), hold=0)
            health = poll(lambda: status_line(game.screenshot(), fresh), 2.0)
            if health is None:
                raise CheckFailed("after R the avatar's status line shows no live avatar with "
                                  "health 80 or more")
            if not poll(shows_notice, 60.0):
                raise CheckFailed("the avatar brought back did not die again within 60 s")
            screen.xdotool("key", "Escape")
            status = game.wait_exit(1.0)
            if status != 0:
                raise CheckFailed(f"Escape after death: the game {still_or_ended(status)}")
            return (f"the notice showed {died:.1f} s after the start; R brought the avatar back "
                    f"at {avatar_corner(world)} with health {health}; after its second death "
                    f"Escape quit with 0")

    def pointer(self, screen, root):
        """The pointer resting over the valley while the view moves a cell beneath it: around
        its arrow the cell shows its new land, never the land that was there when the pointer
        came to rest."""
        folder, world = self.folder(root, MAPS / "walk.txt")
        column, row = world.view_origin(*world.avatar())
        name = lambda i, k: world.land_name(column + i, row + k)  # noqa: E731
        # A cell of the lower half whose land differs from the land one cell right of it.
        i, k = next((i, k) for k in range(ROWS - 2, ROWS // 2, -1) for i in range(1, 6)
                    if name(i, k) != name(i + 1, k))
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world)
            screen.xdotool("mousemove", "--window", game.window, str(i * CELL + INTO_CELL),
                           str(k * CELL + INTO_CELL))
            game.focus()
            screen.xdotool("key", "Right")
            moved = (column + 1, row)
            if not poll(lambda: self.centred_view(game, world, [moved]) == moved, 2.0):
                raise CheckFailed(f"a tap of Right did not bring the view to {moved}")
            share = max(sprite_match(game.last_shot, self.sprite(f"{name(i + 1, k)}{frame}"),
                                     i * CELL, k * CELL, background=BLACK)[0] for frame in (0, 1))
        if not SHOWN <= share < 1:
            raise CheckFailed(f"under the pointer cell {(i, k)} shows {share:.1%} of its new "
                              f"land, {name(i + 1, k)}: the arrow there, the land about it")
        return f"under the resting pointer cell {(i, k)} showed {share:.1%} of its new land"

    def wrong_folder(self, screen, root):
        """Started from the project root as `build/orvalle`, with the machine's own sound
        settings: the map reader's message, the hint, and nothing from the libraries."""
        run = subprocess.run([str(self.binary)], cwd=REPO, capture_output=True, text=True,
                             env=dict(screen.env, HOME=str(root)), timeout=10)
        lines = run.stderr.splitlines()
        if lines and lines[0].startswith(SILENT):
            lines = lines[1:]
        hint = lines[1] if len(lines) == 2 else ""
        named = all(word in hint for word in ("orvalle.map", "images/", "clkcwhrv.mid",
                                              "scripts/play.sh"))
        if run.returncode != 1 or lines[:1] != [MISSING_MAP] or not named:
            raise CheckFailed(f"expected status 1, {MISSING_MAP!r} and a hint naming the data "
                              f"folder and scripts/play.sh; got {run.returncode} and "
                              f"{run.stderr!r}")
        return f"status 1, then the hint {hint!r}"

    @staticmethod
    def subfolder(root, name):
        path = Path(root) / str(name)
        path.mkdir()
        return path


def still_or_ended(status):
    return "still runs" if status is None else f"ended with status {status}"
