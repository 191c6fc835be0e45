"""End-to-end checks of the death card, what it says killed the avatar, and of the best time kept
across launches."""
import subprocess
import time
from contextlib import ExitStack
from pathlib import Path

from desktop_checks import PAUSED
from pictures import read_text, text_shown
from press_checks import NOTICE
from session import CheckFailed, Skip, poll

MAPS = Path(__file__).resolve().parent / "maps"
CARD_TOP = 100  # the card's first line; its lines are centred, 20 pixels apart
RECORD = Path("orvalle") / "best-time"  # in the data folder, ~/.local/share by default
# The calendar's units: seconds 0 to 60 a minute, minutes 0 to 60 an hour, hours 0 to 24 a day.
MINUTE, HOUR, DAY = 61, 61 * 61, 25 * 61 * 61
NEW_BEST = "New best!"
PACE_TEXT = (488, 98)  # the pace line of the status panel, two lines of counts above it
BLOW, STARVED = "Killed by a cyclope's blow.", "Starved."


class CardChecks:
    """Mixed into the checks: uses their folder(), start(), wait_avatar(), centred_text() and
    font_masks()."""

    def death_card(self, screen, root):
        """Untouched, the avatar on surrounded.txt dies on the very pass the headless runner
        says, and the card says how long that is, with no blow and no bite; facing the tree of
        tree.txt, three taps of Control and three of Alt are three blows and three bites."""
        lived = lifetime(self.death_pass(root, MAPS / "surrounded.txt"))
        card, _ = self.card_after(screen, root, "untouched", "surrounded.txt", [])
        want = ["You died.", BLOW, f"Lived {lived}", "Blows struck: 0", "Bites eaten: 0"]
        if card[:5] != want:
            raise CheckFailed(f"the card reads {card}, not {want}")
        card, _ = self.card_after(screen, root, "tapped", "tree.txt",
                                  ["Control_L"] * 3 + ["Alt_L"] * 3)
        if card[3:5] != ["Blows struck: 3", "Bites eaten: 3"]:
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

    def death_cause(self, screen, root):
        """Four cyclopes' blows kill the avatar of surrounded.txt, and the card says so; alone
        at the fastest pace, the avatar starves, the card says that, and the pace is x1 after."""
        card, _ = self.card_after(screen, root, "blows", "surrounded.txt", [])
        if card[1:2] != [BLOW]:
            raise CheckFailed(f"killed by the cyclopes, the card reads {card}")
        card, game = self.card_after(screen, root, "hunger", "alone.txt", ["bracketright"] * 4,
                                     keep_playing=True)
        with game:
            if card[1:2] != [STARVED]:
                raise CheckFailed(f"starved, the card reads {card}")
            pace = self.pace_after_death(game, root)
        if not pace.startswith("pace x1 "):
            raise CheckFailed(f"after the death at the fastest pace the panel reads {pace!r}")
        return f"the card said {BLOW!r}, then {STARVED!r}, and {pace!r} after"

    def new_best(self, screen, root):
        """A life longer than the record says "New best!" under the best time; a shorter one
        does not."""
        said = {}
        for record in (1, 250000):
            data_home = Path(root) / f"data-{record}"
            (data_home / RECORD).parent.mkdir(parents=True)
            (data_home / RECORD).write_text(f"{record}\n")
            card, _ = self.card_after(screen, root, f"record-{record}", "surrounded.txt", [],
                                      data_home=data_home)
            said[record] = NEW_BEST in card
        if said != {1: True, 250000: False}:
            raise CheckFailed(f"{NEW_BEST!r} shown against a record of 1 and of 250000: {said}")
        return f"{NEW_BEST!r} beat a record of 1 and not one of 250000"

    def card_paused(self, screen, root):
        """P after the avatar's death keeps the card on screen, the pause said under it."""
        card, game = self.card_after(screen, root, "paused", "surrounded.txt", [],
                                     keep_playing=True)
        with game:
            game.focus()
            game.screen.xdotool("key", "p")
            masks = self.font_masks(root)
            paused = poll(lambda: (lines := card_lines(game.screenshot(), masks))[-1:] == [PAUSED]
                          and lines, 2.0)
        if not paused or paused[:-1] != card:
            raise CheckFailed(f"paused after the death the screen reads {paused}, not {card} "
                              f"and {PAUSED!r}")
        return f"paused, the card stayed with {PAUSED!r} under it"

    def card_after(self, screen, root, name, map_name, taps, home=None, data_home=None,
                   keep_playing=False):
        """Plays a map in a folder of that name, tapping the keys a second apart, until the
        avatar dies; the card's lines then, and what the game wrote on standard error."""
        folder, world = self.folder(self.subfolder(root, name), MAPS / map_name)
        masks = self.font_masks(root)
        env = dict(HOME=str(home or folder.path), XDG_DATA_HOME=str(data_home or ""))
        notice, at = self.centred_text(root, NOTICE)
        game = self.start(screen, folder, environment=env)
        with ExitStack() as ending:
            ending.enter_context(game)
            self.wait_avatar(game, world, least=0.5)
            game.focus()
            for key in taps:
                screen.xdotool("key", key)
                time.sleep(1.0)
            if not poll(lambda: text_shown(game.screenshot(), notice, *at), 60.0):
                raise CheckFailed(f"{map_name}: the avatar did not die within 60 s")
            card = card_lines(game.screenshot(), masks)
            if keep_playing:
                ending.pop_all()
                return card, game
            return card, game.error_text()

    def pace_after_death(self, game, root):
        """The pace line of the panel that H shows."""
        masks = self.font_masks(root)
        game.focus()
        game.screen.xdotool("key", "h")
        poll(lambda: read_text(game.screenshot(), masks, *PACE_TEXT).startswith("pace "), 2.0)
        return read_text(game.last_shot, masks, *PACE_TEXT)

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
    for top in range(CARD_TOP, CARD_TOP + 20 * 12, 20):
        line = next((text for n in range(1, 45)
                     if len(text := read_text(shot, masks, 400 - 8 * n, top)) == n), None)
        if line is None:
            break
        lines.append(line)
    return lines

