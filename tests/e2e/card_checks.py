"""End-to-end checks of the death card, what it says killed the avatar, and of the best time kept
across launches."""
import subprocess
import time
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
        """The cyclopes' blows and, at the fastest pace, hunger: the card names each cause, and
        after the death the pace is x1."""
        card, _ = self.card_after(screen, root, "blows", "surrounded.txt", [])
        starved, pace = self.card_after(screen, root, "hunger", "walk.txt", ["bracketright"] * 4,
                                        then=lambda game, card: (card, self.pace_line(game)))
        if card[1:2] != [BLOW] or starved[1:2] != [STARVED] or not pace.startswith("pace x1 "):
            raise CheckFailed(f"the cards read {card} and {starved}, the pace after {pace!r}")
        return f"the cards said {BLOW!r} and {STARVED!r}; after the death {pace!r}"

    def new_best(self, screen, root):
        """"New best!" when the life beats the record of 1 pass, not that of 250000."""
        said = []
        for record in (1, 250000):
            (Path(root) / f"{record}" / RECORD).parent.mkdir(parents=True)
            (Path(root) / f"{record}" / RECORD).write_text(f"{record}\n")
            said.append(NEW_BEST in self.card_after(screen, root, f"life-{record}",
                                                    "surrounded.txt", [],
                                                    data_home=Path(root) / f"{record}")[0])
        if said != [True, False]:
            raise CheckFailed(f"{NEW_BEST!r} against records of 1 and of 250000: {said}")
        return f"{NEW_BEST!r} beat a record of 1 and not one of 250000"

    def card_paused(self, screen, root):
        """P after the death keeps the card on screen, the pause said under it."""
        def paused(game, card):
            game.screen.xdotool("key", "p")
            shown = poll(lambda: card_lines(game.screenshot(), self.masks)[-1:] == [PAUSED], 2.0)
            return card, card_lines(game.last_shot, self.masks) if shown else []

        card, shown = self.card_after(screen, root, "paused", "surrounded.txt", [], then=paused)
        if shown != card + [PAUSED]:
            raise CheckFailed(f"paused after the death the screen reads {shown}, not {card}")
        return f"paused, the card stayed with {PAUSED!r} under it"

    def card_after(self, screen, root, name, map_name, taps, home=None, data_home=None,
                   then=None):
        """Plays a map in a folder of that name, tapping the keys a second apart, until the
        avatar dies; the card's lines then, and what the game wrote on standard error (or what
        then(game, card) gives, the game still running)."""
        folder, world = self.folder(self.subfolder(root, name), MAPS / map_name)
        self.masks = self.font_masks(root)
        env = dict(HOME=str(home or folder.path), XDG_DATA_HOME=str(data_home or ""))
        notice, at = self.centred_text(root, NOTICE)
        beside = (at[0] - 160, at[1])  # the panel's left edge halves the room
        with self.start(screen, folder, environment=env) as game:
            self.wait_avatar(game, world, least=0.5)
            game.focus()
            for key in taps:
                screen.xdotool("key", key)
                time.sleep(1.0)
            if not poll(lambda: shown_at_any(game.screenshot(), notice, (at, beside)), 60.0):
                raise CheckFailed(f"{map_name}: the avatar did not die within 60 s")
            card = card_lines(game.screenshot(), self.masks)
            return then(game, card) if then else (card, game.error_text())

    def pace_line(self, game):
        """The pace line of the panel that H shows."""
        game.screen.xdotool("key", "h")
        poll(lambda: read_text(game.screenshot(), self.masks, *PACE_TEXT).startswith("pace "), 2.0)
        return read_text(game.last_shot, self.masks, *PACE_TEXT)

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


def shown_at_any(shot, picture, places):
    return any(text_shown(shot, picture, *place) for place in places)


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

