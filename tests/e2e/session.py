"""A virtual X screen and the game running on it, driven as a person would drive it."""
import array
import os
import random
import re
import select
import subprocess
import tempfile
import time
from pathlib import Path

from pictures import read_xwd

SCREEN = "800x600x16"
WINDOW_NAME = "^Orvalle "  # the title goes on: " - F1: controls, H: status, ..."
ROOT = "root"
# Allegro's mouse starts in the middle of the screen and then follows the X pointer's moves,
# not its place: with the X pointer there too at start, both agree and clicks land where aimed.
POINTER_START = (400, 300)
POINTER_REST = (799, 599)  # out of the way of everything the checks compare
PATCH_INDEX = "orvalle-patches.cfg"
SETUP_SOUND = Path(__file__).resolve().parents[2] / "tools" / "setup-sound.sh"


class CheckFailed(Exception):
    pass


class Skip(Exception):
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
    """An Xvfb server on a free display number, for the length of a `with` block.

    Other programs may start X servers at the same time, some in other file systems whose
    lock files cannot be seen but whose abstract sockets clients would reach first. So a number
    is taken only when no socket of it is listed, Xvfb gets its lock and a client then gets in.
    Without -noreset the server resets whenever its last client leaves (each xdotool call) and
    drops whoever connects meanwhile, such as the game starting.
    """

    def __enter__(self):
        for number in free_display_numbers():
            if self._start(number):
                return self
        raise CheckFailed("no Xvfb display could be started")

    def _start(self, number):
        self.log = tempfile.TemporaryFile("w+")
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", f":{number}", "-displayfd", str(write_end), "-screen", "0", SCREEN,
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=self.log)
        os.close(write_end)
        announced = read_line(read_end, 10)
        os.close(read_end)
        self.env = dict(os.environ, DISPLAY=f":{number}")
        if announced == str(number) and poll(self._answers, 3):
            return True
        self.__exit__()
        return False

    def _answers(self):
        return self.xdotool("getmouselocation").returncode == 0

    def state(self):
        """What to know of the X server when a check fails."""
        self.log.seek(0)
        alive = "running" if self.server.poll() is None else f"ended ({self.server.returncode})"
        return f"Xvfb {self.env['DISPLAY']} {alive}; its log: {self.log.read()[-600:]!r}"

    def __exit__(self, *_):
        self.log.close()
        self.server.terminate()
        try:
            self.server.wait(10)
        except subprocess.TimeoutExpired:
            self.server.kill()
            self.server.wait()

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True)

    def windows(self):
        found = self.xdotool("search", "--onlyvisible", "--name", WINDOW_NAME)
        return found.stdout.split()

    def move_pointer(self, x, y):
        self.xdotool("mousemove", str(x), str(y))


def read_line(fd, timeout):
    """Reads up to a newline. Xvfb writes its display number and the newline separately and
    dies if the pipe is closed in between."""
    deadline = time.monotonic() + timeout
    text = b""
    while not text.endswith(b"\n"):
        ready, _, _ = select.select([fd], [], [], max(0.0, deadline - time.monotonic()))
        chunk = os.read(fd, 16) if ready else b""
        if not chunk:
            break
        text += chunk
    return text.decode().strip()


def free_display_numbers(count=30):
    """Display numbers no X server seems to use, from a random start to spread parallel runs."""
    first = random.randrange(100, 900)
    in_use = displays_in_use()
    return [n for n in range(first, first + count) if n not in in_use]


def displays_in_use():
    """X display numbers with a socket, in the file system or the abstract namespace."""
    with open("/proc/net/unix") as sockets:
        found = re.findall(r"/tmp/\.X11-unix/X(\d+)", sockets.read())
    locks = re.findall(r"\.X(\d+)-lock", " ".join(os.listdir("/tmp")))
    return {int(n) for n in found + locks}


class GameFolder:
    """A fresh working folder with what the game reads: orvalle.map, images/, the tune."""

    def __init__(self, root, data):
        self.path = Path(root)
        self.data = Path(data)
        self.capture = self.path / "capture.raw"
        self._route_sound("type null")

    def link_images(self):
        (self.path / "images").symlink_to(self.data / "images")

    def write_map(self, text):
        (self.path / "orvalle.map").write_text(text)

    def add_music(self):
        """Adds the tune with the patch index shipped beside it, and records what plays."""
        for name in ("clkcwhrv.mid", PATCH_INDEX):
            (self.path / name).symlink_to(self.data / name)
        self.record_sound()

    def record_sound(self):
        """Records what the game plays into the capture file."""
        self._route_sound(f'type file; slave.pcm {{ type null }}; file "{self.capture}"; '
                          'format "raw"')

    def _route_sound(self, device):
        """Points ALSA's default output at a file or at nothing: no sound card is needed."""
        (self.path / "asound.conf").write_text(f"pcm.!default {{ {device} }}\n")

    def environment(self, base):
        # HOME keeps the user's own ~/.allegrorc out of the run, and with XDG_DATA_HOME empty
        # the best time too.
        return dict(base, HOME=str(self.path), ALSA_CONFIG_PATH=str(self.path / "asound.conf"),
                    XDG_DATA_HOME="")


def prepare_patch_index(data):
    """The MIDI patch index is made per machine by tools/setup-sound.sh, as scripts/play.sh does."""
    if not (Path(data) / PATCH_INDEX).exists():
        subprocess.run([str(SETUP_SOUND)], check=True, stdout=subprocess.DEVNULL)


class Game:
    """The orvalle program started in a game folder on a virtual screen."""

    def __init__(self, screen, folder, binary, args=(), display=None, environment=None):
        self.screen = screen
        self.folder = folder
        self.stdout = open(folder.path / "stdout.txt", "w+")
        self.stderr = open(folder.path / "stderr.txt", "w+")
        screen.move_pointer(*POINTER_START)
        self.started = time.monotonic()
        env = folder.environment(screen.env)
        if display is not None:
            env["DISPLAY"] = display
        env.update(environment or {})
        self.process = subprocess.Popen([str(binary), *args], cwd=folder.path, env=env,
                                        stdout=self.stdout, stderr=self.stderr)
        self.window = None
        self.last_shot = None

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
                              f"{self.process.poll()}, stderr: {self.error_text()!r}; "
                              f"{self.screen.state()}")
        self.window = found[0]
        self.screen.move_pointer(*POINTER_REST)
        return self.window

    def watch_whole_screen(self):
        """Full screen, the game draws over the whole root window; screenshots take all of it."""
        self.window = ROOT
        self.screen.move_pointer(*POINTER_REST)

    def screenshot(self):
        target = ["-root"] if self.window == ROOT else ["-id", self.window]
        dump = subprocess.run(["xwd", "-silent", *target], env=self.screen.env,
                              capture_output=True, check=True)
        self.last_shot = read_xwd(dump.stdout)
        return self.last_shot

    def focus(self):
        if self.window != ROOT:
            self.screen.xdotool("windowfocus", "--sync", self.window)

    def press(self, key, seconds):
        """Holds a key down for a while, as a person does: the game samples keys once a pass.
        Returns how long the key was down at most."""
        pressed = time.monotonic()
        self.screen.xdotool("keydown", key)
        time.sleep(seconds)
        self.screen.xdotool("keyup", key)
        return time.monotonic() - pressed

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


def quit_by_escape(screen, game):
    """Holds Escape until the game ends; fails unless it ends with status 0 within 1 s and
    leaves no window. Returns how long it took."""
    game.focus()
    screen.xdotool("keydown", "Escape")
    pressed = time.monotonic()
    status = game.wait_exit(1.0)
    took = time.monotonic() - pressed
    screen.xdotool("keyup", "Escape")
    if status is None:
        raise CheckFailed("the game still runs 1 s after Escape")
    if status != 0:
        raise CheckFailed(f"Escape ended the game with status {status}")
    if not poll(lambda: not screen.windows(), 1.0):
        raise CheckFailed("a game window is left after exit")
    return took


def newest_sound(capture, window=16384):
    """True when the newest captured samples vary, False when flat, None before any arrive.

    Silence is one constant sample value (0 or the unsigned midpoint), so the spread of the
    16-bit words tells sound from silence whatever the sample format.
    """
    try:
        with open(capture, "rb") as source:
            source.seek(0, 2)
            size = source.tell()
            if size < window:
                return None
            source.seek(size - window)
            words = array.array("H", source.read(window))
    except FileNotFoundError:
        return None
    return max(words) - min(words) > 64


def sound_spread(capture):
    """The spread of all the captured 16-bit words, read as unsigned samples: 65535 at full
    scale."""
    data = Path(capture).read_bytes()
    words = array.array("H", data[:len(data) // 2 * 2])
    return max(words) - min(words) if words else 0
