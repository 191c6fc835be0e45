"""End-to-end checks of the death card and of the best time kept across launches."""
import subprocess
import time
from pathlib import Path

from pictures import read_text, text_shown
from press_checks import NOTICE
from session import CheckFailed, Skip, poll

MAPS = Path(__file__).resolve().parent / "maps"
CARD_TOP = 100  # the card's first line; its lines are centred, 20 pixels apart
RECORD = Path("orvalle") / "best-time"  # in the data folder, ~/.local/share by default
# The calendar's units: seconds 0 to 60 a minute, minutes 0 to 60 an hour, hours 0 to 24 a day.
MINUTE, HOUR, DAY = 61, 61 * 61, 25 * 61 * 61


class CardChecks:
    """Mixed into the checks: uses their folder(), start(), wait_avatar(), centred_text() and
    font_masks()."""

    def death_card(self, screen, root):
        """Untouched, the avatar on surrounded.txt dies on the very pass the headless runner
        says, and the card says how long that is, with no blow and no bite; facing the tree of
        tree.txt, three taps of Control and three of Alt are three blows and three bites."""
        lived = lifetime(self.death_pass(root, MAPS / "surrounded.txt"))
        card, _ = self.card_after(screen, root, "untouched", "surrounded.txt", [])
        want = ["You died.", f"Lived {lived}", "Blows struck: 0", "Bites eaten: 0"]
        if card[:4] != want:
            raise CheckFailed(f"the card reads {card}, not {want}")
        card, _ = self.card_after(screen, root, "tapped", "tree.txt",
                                  ["Control_L"] * 3 + ["Alt_L"] * 3)
        if card[2:4] != ["Blows struck: 3", "Bites eaten: 3"]:
            raise CheckFailed(f"after 3 blows and 3 bites the card reads {card}")
        return f"the card said 'Lived {lived}' as the runner counts it, and 3 blows and 3 bites"

    def best_time(self, screen, root):
        """A damaged record is reported and replaced by the first life (in ~/.local/share by
        default); a longer record in $XDG_DATA_HOME is shown and kept."""
        lived = self.death_pass(root, MAPS / "surrounded.txt")
        home = Path(root) / "home"
        damaged = home / ".local" / "share" / RECORD
        damaged.parent.mkdir(parents=True)
        damaged.write_text("seven\n")
        card, error = self.card_after(screen, root, "first", "surrounded.txt", [], home=home)
        if "damaged" not in error or str(damaged) not in error:
            raise CheckFailed(f"a damaged record gave no message naming it: {error!r}")
        if f"Best: {lifetime(lived)}" not in card or damaged.read_text() != f"{lived}\n":
            raise CheckFailed(f"the first life did not become the record: card {card}, file "
                              f"{damaged.read_text()!r}")
        longer = Path(root) / "data" / RECORD
        longer.parent.mkdir(parents=True)
        longer.write_text("250000\n")
        card, _ = self.card_after(screen, root, "second", "surrounded.txt", [], home=home,
                                  data_home=longer.parents[1])
        if f"Best: {lifetime(250000)}" not in card or longer.read_text() != "250000\n":
            raise CheckFailed(f"a longer record was not kept: card {card}, file "
                              f"{longer.read_text()!r}")
        return (f"a damaged record was reported and became {lived} passes; a record of 250000 "
                f"in $XDG_DATA_HOME showed as 'Best: {lifetime(250000)}' and stayed")

    def card_after(self, screen, root, name, map_name, taps, home=None, data_home=None):
        """Plays a map in a folder of that name, tapping the keys a second apart, until the
        avatar dies; the card's lines then, and what the game wrote on standard error."""
        folder, world = self.folder(self.subfolder(root, name), MAPS / map_name)
        masks = self.font_masks(root)
        env = dict(HOME=str(home or folder.path), XDG_DATA_HOME=str(data_home or ""))
        notice, at = self.centred_text(root, NOTICE)
        with self.start(screen, folder, environment=env) as game:
            self.wait_avatar(game, world, least=0.5)
            game.focus()
            for key in taps:
                screen.xdotool("key", key)
                time.sleep(1.0)
            if not poll(lambda: text_shown(game.screenshot(), notice, *at), 60.0):
                raise CheckFailed(f"{map_name}: the avatar did not die within 60 s")
            return card_lines(game.screenshot(), masks), game.error_text()

    def death_pass(self, root, source):
        """The pass of the avatar's death, untouched, as the headless runner plays the map."""
        runner = self.binary.parent / "orvalle-sim"
        if not runner.exists():
            raise Skip(f"no headless runner beside the game at {runner}")
        folder, _ = self.folder(self.subfolder(root, "sim"), source)
        census = subprocess.run([str(runner), str(folder.path / "orvalle.map"), "--passes",
                                 "5000", "--every", "1"], capture_output=True, text=True,
                                check=True).stdout.splitlines()
        dead = census[0].split(",").index("avatars_dead")
        return next(int(row.split(",")[0]) for row in census[1:]
                    if row.split(",")[dead] == "1")


def lifetime(passes):
    """A span of passes as the card says it: "0 days 7 hours 1 min"."""
    def counted(n, unit):
        return f"{n} {unit}" + ("" if n == 1 else "s")
    return (f"{counted(passes // DAY, 'day')} {counted(passes % DAY // HOUR, 'hour')} "
            f"{passes % HOUR // MINUTE} min")


def card_lines(shot, masks):
    """The card's lines, each read where a centred line of its length starts."""
    lines = []
    for top in range(CARD_TOP, CARD_TOP + 20 * 8, 20):
        line = next((text for n in range(1, 45)
                     if len(text := read_text(shot, masks, 400 - 8 * n, top)) == n), None)
        if line is None:
            break
        lines.append(line)
    return lines

