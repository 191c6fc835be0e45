"""End-to-end checks of what makes the game a desktop program: the window's close button and
title, the pause, the status panel, a map of the player's own, the music switch after death and
the licence."""
import os
import socket
import struct
import subprocess
import time
import zlib
from pathlib import Path

from pictures import doubled, status_line, text_shown
from press_checks import NOTICE, still_or_ended
from session import (CheckFailed, Skip, free_display_numbers, newest_sound, poll,
                     prepare_patch_index, quit_by_escape)
from worldmap import REPO, avatar_corner, build_map, cell_centre

MAPS = Path(__file__).resolve().parent / "maps"
TITLE = "Orvalle - F1: controls, H: status, P: pause, Esc: quit"
PAUSED = "Paused. P plays on."
PANEL_LABEL = ("health", (488, 18))  # the panel's first word and where it stands
NOTICE_TOP = 100  # the notices stand in the upper third, clear of the avatar at the centre
PAUSE_TEST = 1.5  # seconds between the two screenshots of a paused game
MIT = ("MIT License", "Copyright (c) 2026 The Orvalle developers",
       "Permission is hereby granted, free of charge, to any person obtaining a copy",
       'THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND')


class DesktopChecks:
    """Mixed into the checks: uses their folder(), start(), wait_avatar(), rendered(),
    status_lines() and refused(), and the close_window and data they were given."""

    def close_button(self, screen, root):
        folder, world = self.folder(root, MAPS / "walk.txt")
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world)
            sent = time.monotonic()
            subprocess.run([str(self.close_window), game.window], env=screen.env, check=True)
            status = game.wait_exit(1.0)
            took = time.monotonic() - sent
            if status != 0:
                raise CheckFailed(f"1 s after the close message the game "
                                  f"{still_or_ended(status)}")
            if not poll(lambda: not screen.windows(), 1.0):
                raise CheckFailed("a game window is left after the close button")
            return f"the close message ended the game with status 0 in {took:.2f} s"

    def pause(self, screen, root):
        folder, world = self.folder(root, MAPS / "walk.txt")
        notice = self.centred_text(root, PAUSED)
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world)
            game.focus()
            screen.xdotool("key", "p")
            first = poll(lambda: shot_showing(game, *notice, True), 2.0)
            if first is None:
                raise CheckFailed(f"no {PAUSED!r} at the centre within 2 s of P")
            time.sleep(PAUSE_TEST)
            if game.screenshot().pixels != first.pixels:
                raise CheckFailed(f"the paused frame changed within {PAUSE_TEST} s")
            screen.xdotool("key", "p")
            resumed = poll(lambda: shot_showing(game, *notice, False), 2.0)
            if resumed is None or not poll(lambda: game.screenshot().pixels != resumed.pixels,
                                           3.0):
                raise CheckFailed("after a second P the world did not move again")
            screen.xdotool("key", "p")
            if poll(lambda: shot_showing(game, *notice, True), 2.0) is None:
                raise CheckFailed("a third P did not pause")
            took = quit_by_escape(screen, game)
            return (f"P froze the frame for {PAUSE_TEST} s, a second P let the world move, "
                    f"Escape quit the paused game with 0 in {took:.2f} s")

    def save_resume(self, screen, root):
        """F5 on a paused game writes the save into $XDG_DATA_HOME/orvalle; the game started with
        --load on it comes back paused on the same frame, pixel for pixel."""
        folder, world = self.folder(root, MAPS / "walk.txt")
        notice = self.centred_text(root, PAUSED)
        save = Path(root) / "data" / "orvalle" / "orvalle.save"
        env = dict(XDG_DATA_HOME=str(save.parents[1]))
        with self.start(screen, folder, environment=env) as game:
            self.wait_avatar(game, world)
            game.focus()
            time.sleep(1.0)  # a little of the valley's life first
            screen.xdotool("key", "p")
            paused = poll(lambda: shot_showing(game, *notice, True), 2.0)
            if paused is None:
                raise CheckFailed(f"no {PAUSED!r} within 2 s of P")
            screen.xdotool("key", "F5")
            if not poll(save.exists, 5.0):
                raise CheckFailed(f"F5 wrote no {save} within 5 s")
            quit_by_escape(screen, game)
        with self.start(screen, folder, args=("--load", str(save)), environment=env) as game:
            game.wait_window(5.0)
            if not poll(lambda: game.screenshot().pixels == paused.pixels, 5.0):
                raise CheckFailed("the game started with --load does not show the paused frame "
                                  "of the save")
            took = quit_by_escape(screen, game)
        # Whole by its checksum, but with a byte too many for the world it holds.
        data = save.read_bytes()
        world_bytes = data[24:] + b"\0"
        crafted = Path(root) / "crafted.save"
        crafted.write_bytes(data[:12] + struct.pack("<QI", len(world_bytes),
                                                    zlib.crc32(world_bytes)) + world_bytes)
        with self.start(screen, folder, args=("--load", str(crafted)), environment=env) as game:
            status = game.wait_exit(5.0)
            if status != 1 or "1 bytes too many" not in game.error_text():
                raise CheckFailed(f"a save damaged behind its checksum {still_or_ended(status)}: "
                                  f"{game.error_text()!r}")
        return (f"F5 wrote {save.stat().st_size} bytes; --load showed the saved frame, paused, "
                f"pixel for pixel; Escape quit in {took:.2f} s; a save damaged behind its "
                f"checksum ended with status 1 and the reason")

    def panel(self, screen, root):
        folder, world = self.folder(root, MAPS / "pen.txt")
        label = doubled(self.rendered(Path(root) / "label.bmp", PANEL_LABEL[0]))
        lines = self.status_lines(root, "avatar", range(100, 94, -1))
        notice = self.centred_text(root, PAUSED)
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world)
            title = screen.xdotool("getwindowname", game.window).stdout.rstrip("\n")
            if title != TITLE:
                raise CheckFailed(f"the window title is {title!r}, not {TITLE!r}")
            game.focus()
            select_avatar(screen, game, world)
            if not poll(lambda: status_line(game.screenshot(), lines), 2.0):
                raise CheckFailed("clicking the avatar showed no status line")
            screen.xdotool("key", "p")
            paused = poll(lambda: shot_showing(game, *notice, True), 2.0)
            screen.xdotool("key", "h")
            with_panel = poll(lambda: shot_showing(game, label, PANEL_LABEL[1], True), 2.0)
            if paused is None or with_panel is None:
                raise CheckFailed("P then H did not show the panel over the paused game")
            if status_line(with_panel, lines) is None:
                raise CheckFailed("the panel hides the status line")
            screen.xdotool("key", "h")
            if not poll(lambda: game.screenshot().pixels == paused.pixels, 2.0):
                raise CheckFailed("a second H did not restore the paused frame pixel for pixel")
            return (f"title {title!r}; H showed the panel beside the status line, a second H "
                    f"restored the frame pixel for pixel")

    def own_map(self, screen, root):
        """A map given on the command line, far from the data folder, is the one played; the
        data folder's own orvalle.map puts its avatar elsewhere."""
        folder, _ = self.folder(root, MAPS / "pen.txt")
        elsewhere = Path(root) / "some" / "where"
        elsewhere.mkdir(parents=True)
        world = build_map(MAPS / "walk.txt", elsewhere / "own.map")
        with self.start(screen, folder, [str(elsewhere / "own.map")]) as game:
            self.start_up_frame(game, world, f"orvalle {elsewhere / 'own.map'}")
            took = quit_by_escape(screen, game)
        return (f"orvalle {elsewhere / 'own.map'} showed that map at "
                f"{avatar_corner(world)}; Escape quit with 0 in {took:.2f} s")

    def own_map_refused(self, screen, root):
        """A MAP that is missing, a folder, a device or a pipe gets the loader's message."""
        folder, _ = self.folder(root, MAPS / "pen.txt")
        pipe = Path(root) / "pipe.map"
        os.mkfifo(pipe)
        names = [Path(root) / "nowhere" / "own.map", Path(root), Path("/dev/zero"), pipe]
        for name in names:
            self.refused(screen, folder, f"Error loanding file{name}", args=[str(name)])
        return f"status 1 and 'Error loanding file<MAP>' for {', '.join(map(str, names))}"

    def refused_before_window(self, screen, root):
        """A missing map and an invalid one are refused before the game reaches for the X
        display or the sound: it never connects to a display that only listens, and says nothing
        but the map reader's line."""
        folder, _ = self.folder(root, MAPS / "pen.txt")
        (folder.path / "invalid.map").write_text("<world>\n{[2][2]}\n")
        cases = {"nothere.map": "Error loanding filenothere.map",
                 "invalid.map": "Invalid world file: invalid.map"}
        for name, message in cases.items():
            with ListeningDisplay() as display:
                try:
                    run = subprocess.run([str(self.binary), name], cwd=folder.path,
                                         env=dict(os.environ, DISPLAY=display.name, HOME=root),
                                         capture_output=True, text=True, timeout=5)
                    status, error = run.returncode, run.stderr
                except subprocess.TimeoutExpired as waited:
                    status, error = "still waiting after 5 s", waited.stderr
                reached = display.was_reached()
            if status != 1 or error != message + "\n" or reached:
                raise CheckFailed(f"orvalle {name}: expected status 1, only {message!r} and no "
                                  f"call on the display; got {status}, {error!r}, display "
                                  f"reached: {reached}")
        return f"status 1 and the reader's line alone, no display reached, for {list(cases)}"

    def music_after_death(self, screen, root):
        if not (self.data / "clkcwhrv.mid").exists():
            raise Skip(f"no tune at {self.data / 'clkcwhrv.mid'}")
        prepare_patch_index(self.data)
        folder, world = self.folder(root, MAPS / "surrounded.txt")
        folder.add_music()
        notice = self.centred_text(root, NOTICE)
        sound = lambda: newest_sound(folder.capture)  # noqa: E731
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world, least=0.8)
            if not poll(lambda: shot_showing(game, *notice, True), 60.0):
                raise CheckFailed(f"no {NOTICE!r} within 60 s")
            if not poll(lambda: sound() is True, 3.0):
                raise CheckFailed("no music when the avatar died")
            game.focus()
            screen.xdotool("key", "n")
            if not poll(lambda: sound() is False, 2.0):
                raise CheckFailed("N after the avatar's death did not silence the music")
            screen.xdotool("key", "m")
            if not poll(lambda: sound() is True, 3.0):
                raise CheckFailed("M after the avatar's death did not bring the music back")
            return "after the avatar's death N silenced the music and M brought it back"

    def licence(self, screen, root):
        text = " ".join((REPO / "LICENSE").read_text().split())
        missing = [phrase for phrase in MIT if phrase not in text]
        if missing:
            raise CheckFailed(f"LICENSE lacks {missing}")
        return "LICENSE holds the MIT text for The Orvalle developers"

    def centred_text(self, root, text, line=0):
        """A line of a notice as the game draws it, in the big font, with where it stands:
        centred, the given line of the notice from its top in the upper third."""
        picture = doubled(self.rendered(Path(root) / f"{len(text)}-{text[:5]}.bmp", text))
        return picture, ((800 - picture.width) // 2, NOTICE_TOP + 20 * line)


class ListeningDisplay:
    """An X display socket that takes calls and never answers: whoever tries to open a window
    on it is seen, and a program that waits for the answer never gets further."""

    def __enter__(self):
        number = free_display_numbers()[0]
        self.name = f":{number}"
        self.path = f"/tmp/.X11-unix/X{number}"
        os.makedirs("/tmp/.X11-unix", exist_ok=True)
        self.socket = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.socket.bind(self.path)
        self.socket.listen(4)
        self.socket.setblocking(False)
        return self

    def was_reached(self):
        try:
            self.socket.accept()[0].close()
            return True
        except BlockingIOError:
            return False

    def __exit__(self, *_):
        self.socket.close()
        os.unlink(self.path)


def shot_showing(game, picture, where, shown):
    """A screenshot if the picture shows at where (or, asked so, does not); otherwise None."""
    shot = game.screenshot()
    return shot if text_shown(shot, picture, *where) == shown else None


def select_avatar(screen, game, world):
    """An instant click on the avatar, the pointer moved away at once: the click selects where
    the button went down."""
    x, y = cell_centre(world, world.avatar())
    screen.xdotool("mousemove", "--window", game.window, str(x), str(y), "click", "1",
                   "mousemove", "799", "599")
