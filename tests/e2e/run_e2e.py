#!/usr/bin/env python3
"""End-to-end checks of Orvalle as a person plays it: a real X window on Xvfb, real key
presses and mouse clicks through xdotool, the real sound through ALSA, real exit codes.

Usage:
  run_e2e.py [--game BIN] [--render-text BIN] [--close-window BIN] [--data DIR] [CHECK ...]
                                                                     (no CHECK: all)
  run_e2e.py --screenshot docs/screenshot.png   (the real map at start, vitals and overview shown)
  run_e2e.py --launcher /usr/games/orvalle installed installed-music   (the installed game)

Each check exits 0 when it holds, 1 when it fails and 77 when it cannot run here.
"""
import argparse
import math
import subprocess
import sys
import tempfile
import time
import traceback
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from rle_images import rle_images  # noqa: E402
from pictures import (BLACK, MASK, WHITE, Picture, pack565, read_bmp,  # noqa: E402
                      sprite_match, status_line, write_png)
from desktop_checks import DesktopChecks  # noqa: E402
from press_checks import SILENT, PressChecks  # noqa: E402
from overlay_checks import OverlayChecks  # noqa: E402
from card_checks import CardChecks  # noqa: E402
from big_map_checks import BigMapChecks  # noqa: E402
from switch_checks import SwitchChecks  # noqa: E402
from warning_checks import WarningChecks  # noqa: E402
from session import (POINTER_REST, CheckFailed, Game, GameFolder, Skip,  # noqa: E402
                     VirtualScreen, free_display_numbers, newest_sound, poll,
                     prepare_patch_index, quit_by_escape, sound_spread)
from worldmap import (CELL, COLUMNS, ROWS, REPO, WorldMap, avatar_corner,  # noqa: E402
                      build_map, cell_centre)

MAPS = Path(__file__).resolve().parent / "maps"
SKIPPED = 77
START_TIME = 2.0  # seconds from launch until the world must show
STEP_PASSES = 7  # passes the avatar takes for one cell
SHOWN = 0.95  # share of a sprite's pixels that must match for it to count as shown


class Checks(PressChecks, DesktopChecks, OverlayChecks, CardChecks, SwitchChecks,
             WarningChecks, BigMapChecks):
    def __init__(self, game, render_text, close_window, data, launcher=None):
        self.binary = Path(game).resolve()
        self.render_text = Path(render_text).resolve()
        self.close_window = Path(close_window).resolve()
        self.data = Path(data).resolve()
        self.launcher = launcher
        self.sprites = {}
        self.game = None

    # --- what the data says the window must show -------------------------------------------

    def sprite(self, name):
        if name not in self.sprites:
            self.sprites[name] = read_bmp(self.data / "images" / f"{name}.bmp")
        return self.sprites[name]

    def avatar_share(self, shot, frame, corner):
        return sprite_match(shot, self.sprite(f"avatar{frame}"), *corner)[0]

    def land_share(self, shot, world, origin, cells, step=1):
        """The share of the given window cells whose land tile (either frame) is shown."""
        shown = 0
        for i, k in cells:
            name = world.land_name(origin[0] + i, origin[1] + k)
            shown += any(sprite_match(shot, self.sprite(f"{name}{frame}"), i * CELL, k * CELL,
                                      background=BLACK, step=step)[0] >= SHOWN
                         for frame in (0, 1))
        return shown / len(cells)

    def view_origin_in(self, shot, world, candidates, cells):
        """The candidate view origin whose land the shot shows, or None."""
        scores = [(self.land_share(shot, world, origin, cells, step=7), origin)
                  for origin in candidates]
        best, origin = max(scores)
        if best >= 0.9 and self.land_share(shot, world, origin, cells) >= 0.9:
            return origin
        return None

    # --- running the game -------------------------------------------------------------------

    def folder(self, root, map_source=None, map_text=None, images=True):
        folder = GameFolder(root, self.data)
        world = None
        if map_source is not None:
            world = build_map(map_source, folder.path / "orvalle.map")
        elif map_text is not None:
            folder.write_map(map_text)
            world = WorldMap(map_text)
        if images:
            folder.link_images()
        return folder, world

    def start(self, screen, folder, args=(), display=None, executable=None, environment=None):
        self.game = Game(screen, folder, executable or self.binary, args, display, environment)
        return self.game

    def wait_avatar(self, game, world, frame=0, deadline=START_TIME, least=SHOWN):
        """Waits until the avatar's sprite shows where the map puts it; returns the screenshot."""
        corner = avatar_corner(world)
        if game.window is None:
            game.wait_window(deadline - game.elapsed())
        best = [0.0]

        def shown():
            taken_at = game.elapsed()
            shot = game.screenshot()
            share = self.avatar_share(shot, frame, corner)
            best[0] = max(best[0], share)
            return (taken_at, shot) if share >= least else None

        found = poll(shown, max(0.0, deadline - game.elapsed()))
        if not found:
            raise CheckFailed(f"the avatar (frame {frame}) did not show at {corner} within "
                              f"{deadline} s; best match {best[0]:.0%}")
        return found

    # --- the checks -------------------------------------------------------------------------

    def start_up(self, screen, root):
        folder, world = self.folder(root, MAPS / "walk.txt")
        with self.start(screen, folder) as game:
            taken_at, shot = self.wait_avatar(game, world)
            origin = world.view_origin(*world.avatar())
            cells = free_cells(world, origin)
            share = self.land_share(shot, world, origin, cells)
            if share < 1.0:
                raise CheckFailed(f"only {share:.0%} of {len(cells)} land cells show their tile")
            return (f"the world showed {taken_at:.2f} s after launch: avatar at "
                    f"{avatar_corner(world)}, {len(cells)} land cells match")

    def walk(self, screen, root):
        folder, world = self.folder(root, MAPS / "walk.txt")
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world)
            before = world.view_origin(*world.avatar())
            game.focus()
            held = game.press("Right", 1.0)
            candidates = [(before[0] + n, before[1]) for n in range(0, 16)]
            seen = []

            def settled_twice():
                seen.append(self.centred_view(game, world, candidates))
                time.sleep(0.4)  # longer than one step, so a walking avatar would show it
                seen.append(self.centred_view(game, world, candidates))
                return seen[-1] if seen[-1] is not None and seen[-1] == seen[-2] else None

            after = poll(settled_twice, 4.0)
            if after is None:
                raise CheckFailed(f"after holding Right the view never settled on whole cells "
                                  f"with the avatar facing right at the centre; seen {seen}")
            walked = after[0] - before[0]
            if walked < 1:
                raise CheckFailed("holding Right for a second did not move the avatar")
            # A step takes STEP_PASSES passes, each resting at least 30 ms; the first starts on
            # the key press, and a pass or two of slack covers when the key events are seen.
            fastest = math.floor((held + 2 * 0.030) / (STEP_PASSES * 0.030)) + 1
            if walked > fastest:
                raise CheckFailed(f"{walked} cells in {held:.2f} s: faster than one cell per "
                                  f"{STEP_PASSES} passes (at most {fastest})")
            return (f"holding Right for {held:.2f} s walked {walked} cells (at most {fastest}); "
                    f"view origin {before} -> {after}")

    def centred_view(self, game, world, candidates):
        """The candidate view origin a screenshot shows on whole cells with the avatar facing
        right at the centre of the window (where it stays while the view scrolls), or None."""
        shot = game.screenshot()
        if self.avatar_share(shot, 2, avatar_corner(world)) < SHOWN:
            return None
        middle = (COLUMNS // 2, ROWS // 2)
        cells = [c for c in all_cells() if c != pointer_cell() and
                 max(abs(c[0] - middle[0]), abs(c[1] - middle[1])) > 1]
        return self.view_origin_in(shot, world, candidates, cells)

    def turn_at_edge(self, screen, root):
        folder, world = self.folder(root, MAPS / "top-edge.txt")
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world)
            corner = avatar_corner(world)
            origin = world.view_origin(*world.avatar())
            game.focus()
            game.press("Up", 0.5)

            def facing_up():
                shot = game.screenshot()
                return shot if self.avatar_share(shot, 4, corner) >= SHOWN else None

            shot = poll(facing_up, 2.0)
            if shot is None:
                raise CheckFailed(f"after Up at the top edge the avatar's frame 4 is not at "
                                  f"{corner}")
            if self.avatar_share(shot, 0, corner) >= SHOWN:
                raise CheckFailed("frames 0 and 4 look alike: the turn cannot be seen")
            cells = free_cells(world, origin)
            if self.land_share(shot, world, origin, cells) < 1.0:
                raise CheckFailed(f"the view moved: the land of origin {origin} is gone")
            return f"Up at the top edge turned the avatar in place at {corner}, view {origin}"

    def select(self, screen, root):
        folder, world = self.folder(root, MAPS / "pen.txt")
        lines = self.status_lines(root, "cyclope", range(100, 94, -1))
        cyclope = next(c for c in world.element_cells() if c != world.avatar())
        target = cell_centre(world, cyclope)
        with self.start(screen, folder) as game:
            _, shot = self.wait_avatar(game, world)
            if status_line(shot, lines) is not None:
                raise CheckFailed("a status line shows before anything was clicked")
            game.click(*target)
            health = poll(lambda: status_line(game.screenshot(), lines), 2.0)
            if health is None:
                raise CheckFailed(f"clicking the cyclope at {target} showed none of "
                                  f"{[status_text('cyclope', h) for h in lines]} at (10, 10)")
            screen.xdotool("click", "3")
            if not poll(lambda: status_line(game.screenshot(), lines) is None, 2.0):
                raise CheckFailed("an instant right click left the status line in place")
            return (f"clicking {target} showed {status_text('cyclope', health)!r} at (10, 10); "
                    f"a right click took it away")

    def rendered(self, path, text):
        subprocess.run([str(self.render_text), str(path), text], check=True)
        return read_bmp(path)

    def status_lines(self, root, kind, healths):
        """The status lines of a living creature of a kind at each health, as the game draws
        them, keyed by health."""
        return {health: self.rendered(Path(root) / f"{kind}-{health}.bmp",
                                      status_text(kind, health)) for health in healths}

    def music(self, screen, root):
        if not (self.data / "clkcwhrv.mid").exists():
            raise Skip(f"no tune at {self.data / 'clkcwhrv.mid'}")
        prepare_patch_index(self.data)
        folder, world = self.folder(root, MAPS / "pen.txt")
        folder.add_music()
        with self.start(screen, folder) as game:
            game.wait_window(START_TIME)
            if not poll(lambda: newest_sound(folder.capture) is True, 3.0 - game.elapsed()):
                raise CheckFailed(f"no sound within 3 s of launch (captured: "
                                  f"{newest_sound(folder.capture)})")
            sounding_at = game.elapsed()
            if "No sound device found" in game.error_text():
                raise CheckFailed(f"the music sounds, yet the game said: {game.error_text()!r}")
            game.focus()
            game.press("n", 0.3)
            if not poll(lambda: newest_sound(folder.capture) is False, 2.0):
                raise CheckFailed("the music still sounds 2 s after N")
            time.sleep(1.0)
            if newest_sound(folder.capture) is not False:
                raise CheckFailed("the music came back by itself after N")
            game.press("m", 0.3)
            if not poll(lambda: newest_sound(folder.capture) is True, 3.0):
                raise CheckFailed("no music within 3 s of M")
            # At half the digital volume the tune's opening spans less than half the scale, at
            # full volume nearly all of it: five eighths tells one from the other.
            spread = sound_spread(folder.capture)
            if spread > 40960:
                raise CheckFailed(f"the music spans {spread} of 65535: louder than half volume")
            return (f"music sounded {sounding_at:.2f} s after launch, spanning {spread} of "
                    f"65535; N silenced it and M brought it back")

    def escape(self, screen, root):
        folder, world = self.folder(root, MAPS / "walk.txt")
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world)
            took = quit_by_escape(screen, game)
            return f"Escape quit with status 0 in {took:.2f} s, no window left"

    def silent(self, screen, root):
        """Sound settings that name no device: the game says once that it plays silently."""
        folder, world = self.folder(root, MAPS / "walk.txt")
        (folder.path / ".allegrorc").write_text("[sound]\ndigi_card = 0\nmidi_card = 0\n")
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world)
            quit_by_escape(screen, game)
            lines = game.error_text().splitlines()
            if len(lines) != 1 or not lines[0].startswith(SILENT):
                raise CheckFailed(f"expected one line, {SILENT!r}...; got {game.error_text()!r}")
            return f"the world showed; stderr said only {lines[0]!r}"

    def full(self, screen, root):
        """Full screen may be refused by the X server; then the game must say so and stop."""
        folder, world = self.folder(root, MAPS / "walk.txt")
        corner = avatar_corner(world)
        with self.start(screen, folder, ["full"]) as game:
            game.watch_whole_screen()
            poll(lambda: game.process.poll() is not None or
                 self.avatar_share(game.screenshot(), 0, corner) >= SHOWN, START_TIME)
            status = game.process.poll()
            if status is not None:
                error = game.error_text()
                refusal = [line for line in error.splitlines()
                           if line.startswith("Cannot set the 800x600 16-bit graphics mode: ")]
                if status == 1 and refusal:
                    return f"full screen refused, as reported: {refusal[0]!r}"
                raise CheckFailed(f"\"full\" ended with status {status}: {error!r}")
            self.wait_avatar(game, world, deadline=game.elapsed() + 0.1)
            screen.xdotool("keydown", "Escape")
            status = game.wait_exit(1.0)
            screen.xdotool("keyup", "Escape")
            if status != 0:
                raise CheckFailed(f"full screen game did not quit with 0 on Escape: {status}")
            return "full screen runs on the 800x600 Xvfb screen, shows the world, quits with 0"

    def missing_map(self, screen, root):
        folder, _ = self.folder(root)
        return self.refused(screen, folder, "Error loanding fileorvalle.map")

    def invalid_map(self, screen, root):
        # Two rows of land declared, one value missing from the second.
        text = ("<world>\n{[2][2]}\n<land>\n{\n[101][101]\n[101]\n}\n"
                "<element>\n{\n[1][0]\n[0][0]\n}\n")
        folder, _ = self.folder(root, map_text=text)
        return self.refused(screen, folder, "Invalid world file: orvalle.map")

    def no_display(self, screen, root):
        """Without an X server to reach the game must say so and stop, not crash."""
        folder, _ = self.folder(root, MAPS / "pen.txt")
        nowhere = f":{free_display_numbers()[0]}"
        return self.refused(screen, folder, "Cannot start Allegro", display=nowhere)

    def refused(self, screen, folder, message, display=None, args=()):
        with self.start(screen, folder, args, display) as game:
            status = game.wait_exit(10.0)
            error = game.error_text()
            if status != 1 or message not in error:
                raise CheckFailed(f"expected status 1 and {message!r}; got status {status} "
                                  f"and {error!r}")
            return f"status 1, stderr {message!r}"

    def missing_images(self, screen, root):
        folder, world = self.folder(root, MAPS / "walk.txt", images=False)
        lines, background = placeholder_on_black()
        origin = world.view_origin(*world.avatar())
        cells = free_cells(world, origin)
        with self.start(screen, folder) as game:
            game.wait_window(START_TIME)

            def crosses():
                shot = game.screenshot()
                return all(sprite_match(shot, part, i * CELL, k * CELL)[0] >= SHOWN
                           for i, k in cells for part in (lines, background))

            if not poll(crosses, 3.0):
                raise CheckFailed("without images/ the land cells do not show white crosses "
                                  "on black")
            return f"without images/ the game runs and {len(cells)} land cells show crosses"

    def screenshot(self, screen, root, target):
        """The README's picture: the real map at start, with the vitals and the overview."""
        folder = self.shipped_folder(root)
        world = WorldMap((self.data / "orvalle.map").read_text())
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world, least=0.8)
            game.focus()
            screen.xdotool("key", "v", "key", "o")
            # The overview's white border, beside the bottom left corner.
            if not poll(lambda: game.screenshot().at(9, 580) == WHITE, 2.0):
                raise CheckFailed("V and O showed no overview")
            time.sleep(0.5)  # a few passes, so the picture shows the pointer moved aside
            write_png(game.screenshot(), target)
        return f"saved {target}"

    def shipped_folder(self, root):
        """A game folder with the real map and images of the data folder."""
        folder = GameFolder(root, self.data)
        (folder.path / "orvalle.map").symlink_to(self.data / "orvalle.map")
        folder.link_images()
        return folder

    # --- the installed game -----------------------------------------------------------------

    def installed(self, screen, root):
        """The installed launcher, started from a folder that holds nothing of the game, shows
        the start-up frame the game shows in the source tree's data folder: the avatar and every
        uncovered land tile where the source map puts them. Escape ends it with status 0."""
        launcher = self.installed_launcher()
        world = WorldMap((self.data / "orvalle.map").read_text())
        source = Path(root) / "source"
        source.mkdir()
        with self.start(screen, self.shipped_folder(source)) as game:
            self.start_up_frame(game, world, "the game in the source tree")
        elsewhere = Path(root) / "elsewhere"
        elsewhere.mkdir()
        folder = GameFolder(elsewhere, self.data)
        with self.start(screen, folder, executable=launcher) as game:
            cells = self.start_up_frame(game, world, f"{launcher} started in {elsewhere}")
            took = quit_by_escape(screen, game)
        own = build_map(MAPS / "walk.txt", elsewhere / "own.map")
        with self.start(screen, folder, ["own.map"], executable=launcher) as game:
            self.start_up_frame(game, own, f"{launcher} own.map started in {elsewhere}")
            quit_by_escape(screen, game)
        return (f"{launcher} started in an unrelated folder shows the source tree's start-up "
                f"frame ({cells} land cells and the avatar); Escape quit with 0 in {took:.2f} s; "
                f"a relative own.map there showed that map")

    def installed_music(self, screen, root):
        """The installed game sounds its tune from any folder, with the patch index it ships."""
        launcher = self.installed_launcher()
        folder = GameFolder(root, self.data)
        folder.record_sound()
        with self.start(screen, folder, executable=launcher) as game:
            game.wait_window(START_TIME)
            if not poll(lambda: newest_sound(folder.capture) is True, 3.0 - game.elapsed()):
                raise CheckFailed(f"no sound within 3 s of launch (captured: "
                                  f"{newest_sound(folder.capture)})")
            return f"{launcher} sounded the tune {game.elapsed():.2f} s after launch"

    def installed_launcher(self):
        if self.launcher is None:
            raise Skip("no --launcher given")
        return Path(self.launcher)

    def start_up_frame(self, game, world, who):
        """Waits for the start-up frame of the real map; fails unless it shows every uncovered
        land tile. Returns how many land cells were compared."""
        _, shot = self.wait_avatar(game, world, least=0.8)
        origin = world.view_origin(*world.avatar())
        cells = free_cells(world, origin)
        share = self.land_share(shot, world, origin, cells)
        if share < 1.0:
            raise CheckFailed(f"{who}: only {share:.0%} of {len(cells)} land cells show their "
                              f"tile at start")
        return len(cells)


def status_text(kind, health):
    return f"{kind}: live 1 strong 10 helth {health} food 100"


def all_cells():
    return [(i, k) for i in range(COLUMNS) for k in range(ROWS)]


def pointer_cell():
    return POINTER_REST[0] // CELL, POINTER_REST[1] // CELL


def free_cells(world, origin):
    """Window cells whose land no element sprite (they spill half a cell around) covers."""
    taken = [(x - origin[0], y - origin[1]) for x, y in world.element_cells()]
    return [c for c in all_cells() if c != pointer_cell() and
            all(max(abs(c[0] - t[0]), abs(c[1] - t[1])) > 1 for t in taken)]


def placeholder_on_black():
    """The stand-in image, a white cross on magenta, as drawn over nothing: its lines and its
    black rest as two pictures, each masked where the other is, so each is checked in full."""
    def part(on_line, elsewhere):
        return Picture(CELL, CELL, [pack565(on_line if x == y or x + y == CELL else elsewhere)
                                    for y in range(CELL) for x in range(CELL)])

    return part(WHITE, MASK), part(MASK, BLACK)


CHECKS = {
    "start-up": Checks.start_up, "walk": Checks.walk, "turn-at-edge": Checks.turn_at_edge,
    "select": Checks.select, "music": Checks.music, "escape": Checks.escape,
    "silent": Checks.silent, "full": Checks.full,
    "missing-map": Checks.missing_map, "invalid-map": Checks.invalid_map,
    "missing-images": Checks.missing_images, "no-display": Checks.no_display,
    "rle-images": lambda checks, screen, root: rle_images(checks, screen, root, MAPS, free_cells),
    "installed": Checks.installed, "installed-music": Checks.installed_music,
    "escape-tap": Checks.escape_tap, "arrow-tap": Checks.arrow_tap, "pointer": Checks.pointer,
    "click-tap": Checks.click_tap, "death": Checks.death, "wrong-folder": Checks.wrong_folder,
    "close-button": Checks.close_button, "pause": Checks.pause, "panel": Checks.panel,
    "own-map": Checks.own_map, "own-map-refused": Checks.own_map_refused,
    "music-after-death": Checks.music_after_death, "licence": Checks.licence,
    "refused-before-window": Checks.refused_before_window, "big-text": Checks.big_text,
    "keys-listed": Checks.keys_listed, "vitals": Checks.vitals,
    "death-card": Checks.death_card, "best-time": Checks.best_time, "speed": Checks.speed,
    "overview": Checks.overview, "save-resume": Checks.save_resume,
    "pace-taps": Checks.pace_taps, "switches-kept": Checks.switches_kept,
    "help-page": Checks.help_page, "death-cause": Checks.death_cause,
    "new-best": Checks.new_best, "card-paused": Checks.card_paused,
    "warnings": Checks.warnings, "overview-dense": Checks.overview_dense,
    "effects": Checks.effects, "escape-dense": Checks.escape_dense,
}


def run_check(checks, name, action):
    started = time.monotonic()
    try:
        with tempfile.TemporaryDirectory(prefix=f"orvalle-e2e-{name}-") as root, \
                VirtualScreen() as screen:
            detail = action(screen, root)
        print(f"PASS {name} ({time.monotonic() - started:.1f} s): {detail}", flush=True)
        return 0
    except Skip as reason:
        print(f"SKIP {name}: {reason}", flush=True)
        return SKIPPED
    except CheckFailed as fault:
        print(f"FAIL {name} ({time.monotonic() - started:.1f} s): {fault}", flush=True)
        keep_last_screenshot(checks, name)
        return 1
    except Exception:  # a broken tool or file fails this check, not the others
        print(f"FAIL {name}:\n{traceback.format_exc()}", flush=True)
        return 1


def keep_last_screenshot(checks, name):
    """Saves what the failed check saw last, to look at."""
    if checks.game is not None and checks.game.last_shot is not None:
        path = Path(tempfile.gettempdir()) / f"orvalle-e2e-{name}-last.png"
        write_png(checks.game.last_shot, path)
        print(f"     its last screenshot: {path}", flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--game", default=REPO / "build" / "orvalle")
    parser.add_argument("--render-text", default=REPO / "build" / "tests" / "e2e" /
                        "e2e-render-text")
    parser.add_argument("--close-window", default=REPO / "build" / "tests" / "e2e" /
                        "e2e-close-window")
    parser.add_argument("--data", default=REPO / "data")
    parser.add_argument("--screenshot", metavar="PNG", help="save the game at start and stop")
    parser.add_argument("--launcher", help="the installed game's launcher, for the installed "
                        "checks")
    parser.add_argument("checks", nargs="*", metavar="CHECK", help=", ".join(CHECKS))
    options = parser.parse_args()
    unknown = set(options.checks) - CHECKS.keys()
    if unknown:
        parser.error(f"unknown checks: {', '.join(sorted(unknown))}")
    checks = Checks(options.game, options.render_text, options.close_window, options.data,
                    options.launcher)
    if options.screenshot:
        target = Path(options.screenshot).resolve()
        return run_check(checks, "screenshot",
                         lambda screen, root: checks.screenshot(screen, root, target))
    names = options.checks or list(CHECKS)
    results = [run_check(checks, name, lambda s, r, n=name: CHECKS[n](checks, s, r))
               for name in names]
    if len(names) == 1:
        return results[0]
    passed = results.count(0)
    failed = results.count(1)
    print(f"{passed} passed, {failed} failed, {results.count(SKIPPED)} skipped")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
