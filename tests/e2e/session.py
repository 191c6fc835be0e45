"""A virtual X screen and the game running on it, driven as a person would drive it."""
import os
import select
import subprocess
import time
from pathlib import Path

from pictures import read_xwd

SCREEN = "800x600x16"
WINDOW_NAME = "^orvalle$"
FREEPATS_CONFIG = Path("/etc/timidity/freepats.cfg")


class CheckFailed(Exception):
    pass


def poll(condition, timeout, interval=0.05):
    """Calls condition until it returns something true or timeout seconds pass."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result or time.monotonic() >= deadline:
            return result
        time.sleep(interval)


class VirtualScreen:
    """An Xvfb server on the first free display number, for the length of a `with` block."""

    def __enter__(self):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN, "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        ready, _, _ = select.select([read_end], [], [], 10)
        number = os.read(read_end, 16).decode().strip() if ready else ""
        os.close(read_end)
        if not number:
            self.server.kill()
            raise CheckFailed("Xvfb did not start within 10 s")
        self.env = dict(os.environ, DISPLAY=f":{number}")
        return self

    def __exit__(self, *_):
        self.server.terminate()
        self.server.wait(10)

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True)

    def windows(self):
        found = self.xdotool("search", "--name", WINDOW_NAME)
        return found.stdout.split()

    def move_pointer(self, x, y):
        self.xdotool("mousemove", str(x), str(y))


class GameFolder:
    """A fresh working folder with what the game reads: orvalle.map, images/, the tune."""

    def __init__(self, root, data):
        self.path = Path(root)
        self.data = Path(data)
        self.capture = self.path / "capture.raw"

    def link_images(self):
        (self.path / "images").symlink_to(self.data / "images")

    def write_map(self, text):
        (self.path / "orvalle.map").write_text(text)

    def add_music(self):
        """Adds the tune and routes the game's sound into capture.raw through ALSA's file plugin."""
        tune = self.data / "clkcwhrv.mid"
        (self.path / "clkcwhrv.mid").symlink_to(tune)
        patches = self.path / "patches.cfg"
        patches.write_text(absolute_patch_list(FREEPATS_CONFIG))
        (self.path / "allegro.cfg").write_text(f"[sound]\npatches = {patches}\n")
        (self.path / "asound.conf").write_text(
            "pcm.!default {\n    type file\n    slave.pcm { type null }\n"
            f'    file "{self.capture}"\n    format "raw"\n}}\n')

    def environment(self, base):
        env = dict(base, ALLEGRO=str(self.path), HOME=str(self.path))
        if (self.path / "asound.conf").exists():
            env["ALSA_CONFIG_PATH"] = str(self.path / "asound.conf")
        return env


def absolute_patch_list(config):
    """Allegro's MIDI synthesiser reads a Timidity patch list but not its `dir` line, so every
    patch path is written out in full."""
    folder = None
    lines = []
    for line in config.read_text().splitlines():
        words = line.split()
        if words[:1] == ["dir"]:
            folder = words[1]
        elif len(words) >= 2 and words[0].isdigit() and folder and not words[1].startswith("/"):
            lines.append(f"{words[0]} {folder}/{' '.join(words[1:])}")
        else:
            lines.append(line)
    return "\n".join(lines) + "\n"


class Game:
    """The orvalle program started in a game folder on a virtual screen."""

    def __init__(self, screen, folder, binary, args=()):
        self.screen = screen
        self.folder = folder
        self.stdout = open(folder.path / "stdout.txt", "w+")
        self.stderr = open(folder.path / "stderr.txt", "w+")
        self.started = time.monotonic()
        self.process = subprocess.Popen([str(binary), *args], cwd=folder.path,
                                        env=folder.environment(screen.env),
                                        stdout=self.stdout, stderr=self.stderr)
        self.window = None

    def __enter__(self):
        return self

    def __exit__(self, *_):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.stdout.close()
        self.stderr.close()

    def elapsed(self):
        return time.monotonic() - self.started

    def wait_window(self, timeout):
        found = poll(lambda: self.screen.windows() or self.process.poll() is not None, timeout)
        if found is True or not found:
            raise CheckFailed(f"no game window within {timeout} s; exit status "
                              f"{self.process.poll()}, stderr: {self.error_text()!r}")
        self.window = found[0]
        return self.window

    def screenshot(self):
        dump = subprocess.run(["xwd", "-silent", "-id", self.window], env=self.screen.env,
                              capture_output=True, check=True)
        return read_xwd(dump.stdout)

    def focus(self):
        self.screen.xdotool("windowfocus", "--sync", self.window)

    def press(self, key, seconds):
        """Holds a key down for a while, as a person does: the game samples keys once a pass."""
        self.screen.xdotool("keydown", key)
        time.sleep(seconds)
        self.screen.xdotool("keyup", key)

    def click(self, x, y, hold=0.2):
        """A left click held long enough for a pass to see the button down."""
        self.screen.xdotool("mousemove", "--window", self.window, str(x), str(y))
        self.screen.xdotool("mousedown", "1")
        time.sleep(hold)
        self.screen.xdotool("mouseup", "1")

    def wait_exit(self, timeout):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def error_text(self):
        self.stderr.flush()
        return (self.folder.path / "stderr.txt").read_text(errors="replace")
