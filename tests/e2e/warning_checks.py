"""End-to-end checks of what warns the player: the short notices of a blow taken and of hunger,
and the sound effects."""
import subprocess
import time
from pathlib import Path

from card_checks import card_lines
from session import CheckFailed, newest_sound, poll

MAPS = Path(__file__).resolve().parent / "maps"
HIT, STARVING = "You are being hit!", "You are starving: eat!"


class WarningChecks:
    """Mixed into the checks: uses their folder(), start(), wait_avatar(), font_masks() and
    the make_save tool they were given."""

    def warnings(self, screen, root):
        """The cyclope's blows on the avatar of vitals.txt bring "You are being hit!" alone in
        the upper third; resumed at health 25 and sped up to x8, the avatar's next point of
        hunger brings "You are starving: eat!"."""
        masks = self.font_masks(root)
        folder, world = self.folder(self.subfolder(root, "hit"), MAPS / "vitals.txt")
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world, least=0.5)
            self.notice_alone(game, masks, HIT, "the cyclope's blows")
        folder, world = self.folder(self.subfolder(root, "hunger"), MAPS / "alone.txt")
        save = folder.path / "hungry.save"
        subprocess.run([str(self.make_save), str(folder.path / "orvalle.map"), str(save), "25"],
                       check=True)
        with self.start(screen, folder, ["--load", str(save)]) as game:
            self.wait_avatar(game, world, least=0.5)
            game.focus()
            screen.xdotool("key", "--delay", "100", *["bracketright"] * 3)
            self.notice_alone(game, masks, STARVING, "hunger below a quarter")
        return f"{HIT!r} under the cyclope's blows, {STARVING!r} at health 24, each alone"

    def effects(self, screen, root):
        """With no tune to play, the sound the game sends out (ALSA's output captured into a
        file) stays silent until the cyclope's blows land on the avatar of vitals.txt, and then
        sounds; after E it stays silent while the blows go on, one every 20 passes."""
        folder, world = self.folder(root, MAPS / "vitals.txt")
        (folder.path / "sounds").symlink_to(self.data / "sounds")
        folder.record_sound()
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world, least=0.5)
            if not poll(lambda: newest_sound(folder.capture) is True, 10.0, 0.02):
                raise CheckFailed(f"no sound within 10 s of the cyclope's blows (captured: "
                                  f"{newest_sound(folder.capture)})")
            game.focus()
            screen.xdotool("key", "e")
            time.sleep(0.5)
            if poll(lambda: newest_sound(folder.capture) is True, 3.0, 0.02):
                raise CheckFailed("after E the blows still sound")
            if "No sound device found" in game.error_text():
                raise CheckFailed(f"the game said: {game.error_text()!r}")
        return "the cyclope's blows sounded; after E 3 s of blows were silent"

    @staticmethod
    def notice_alone(game, masks, notice, cause):
        if not poll(lambda: card_lines(game.screenshot(), masks) == [notice], 15.0, 0.02):
            raise CheckFailed(f"{cause} showed {card_lines(game.last_shot, masks)}, not "
                              f"{notice!r} alone")
