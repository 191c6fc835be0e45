"""End-to-end checks of what warns the player: the notice of a blow taken, and the sound
effects."""
import time
from pathlib import Path

from card_checks import card_lines
from session import CheckFailed, newest_sound, poll

VITALS = Path(__file__).resolve().parent / "maps" / "vitals.txt"
HIT = "You are being hit!"


class WarningChecks:
    """Mixed into the checks: uses their folder(), start(), wait_avatar() and font_masks()."""

    def warnings(self, screen, root):
        """The cyclope's blows on the avatar of vitals.txt bring HIT alone in the upper third."""
        masks = self.font_masks(root)
        folder, world = self.folder(root, VITALS)
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world, least=0.5)
            if not poll(lambda: card_lines(game.screenshot(), masks) == [HIT], 15.0, 0.02):
                raise CheckFailed(f"the blows showed {card_lines(game.last_shot, masks)}")
        return f"{HIT!r} alone under the cyclope's blows"

    def effects(self, screen, root):
        """With no tune, the sound sent out (ALSA's output in a file) stays silent until the
        cyclope's blows land on the avatar, then sounds; after E the blows are silent."""
        folder, world = self.folder(root, VITALS)
        (folder.path / "sounds").symlink_to(self.data / "sounds")
        folder.record_sound()
        with self.start(screen, folder) as game:
            self.wait_avatar(game, world, least=0.5)
            sounded = poll(lambda: newest_sound(folder.capture) is True, 10.0, 0.02)
            game.focus()
            screen.xdotool("key", "e")
            time.sleep(0.5)
            if not sounded or poll(lambda: newest_sound(folder.capture) is True, 3.0, 0.02):
                raise CheckFailed(f"the blows sounded: {sounded}; after E too")
        return "the cyclope's blows sounded; after E 3 s of blows were silent"
