"""Convert a text score into a Standard MIDI File (type 1).

Score syntax (one statement per line, ';' starts a comment):
    tempo BPM
    pattern NAME ... end              reusable bars, on one line or many
    track NAME channel C program P volume V pan P ... end
Inside patterns and tracks, whitespace-separated tokens:
    d5:4        note D5 lasting 4 sixteenths (length sticks until changed)
    bb4 c#5     flats and sharps; c4 is middle C
    d3+f3+a3:16 notes struck together
    kick snare  drum names (see DRUMS), for the percussion channel 10
    r:2         rest
    v90         velocity of the following notes
    |           bar line: checked to fall on a whole 4/4 bar
    NAME        the contents of a pattern
Usage: score2mid.py SCORE.txt OUT.mid
"""
import re
import struct
import sys

TICKS_PER_QUARTER = 480
TICKS_PER_STEP = TICKS_PER_QUARTER // 4  # lengths are counted in sixteenths
STEPS_PER_BAR = 16
DRUMS = {"kick": 36, "rim": 37, "snare": 38, "clap": 39, "hat": 42, "toml": 45,
         "ohat": 46, "tomm": 47, "tomh": 50, "crash": 49, "ride": 51, "tamb": 54}
NOTE = re.compile(r"^([a-g])(#|b)?(-?\d)$")
SEMITONE = {"c": 0, "d": 2, "e": 4, "f": 5, "g": 7, "a": 9, "b": 11}


def pitch(name):
    if name in DRUMS:
        return DRUMS[name]
    match = NOTE.match(name)
    if not match:
        raise ValueError(f"not a note: {name}")
    letter, accidental, octave = match.groups()
    shift = {"#": 1, "b": -1}.get(accidental, 0)
    return 12 * (int(octave) + 1) + SEMITONE[letter] + shift


class Score:
    def __init__(self):
        self.tempo = 120
        self.patterns = {}
        self.tracks = []  # (header fields, tokens)


def parse(text):
    score, block = Score(), None
    for number, raw in enumerate(text.splitlines(), 1):
        words = raw.split(";")[0].split()
        if not words:
            continue
        if block is not None:
            if words == ["end"]:
                block = None
            else:
                block.extend(words)
        elif words[0] == "tempo":
            score.tempo = int(words[1])
        elif words[0] == "pattern":
            block = score.patterns.setdefault(words[1], [])
            if words[-1] == "end":  # one-line form: pattern NAME ... end
                block.extend(words[2:-1])
                block = None
            else:
                block.extend(words[2:])
        elif words[0] == "track":
            fields = dict(zip(words[2::2], map(int, words[3::2])))
            fields["name"] = words[1]
            block = []
            score.tracks.append((fields, block))
        else:
            raise SyntaxError(f"line {number}: unexpected '{raw.strip()}'")
    return score


class Voice:
    """Turns a token stream into timed note events for one channel."""

    def __init__(self, score, channel):
        self.score, self.channel = score, channel
        self.step, self.length, self.velocity = 0, 4, 90
        self.events = []  # (tick, sort order, message bytes)

    def play(self, tokens):
        for token in tokens:
            if token in self.score.patterns:
                self.play(self.score.patterns[token])
            elif token == "|":
                if self.step % STEPS_PER_BAR:
                    raise ValueError(f"bar line at step {self.step} is not on a bar")
            elif re.fullmatch(r"v\d+", token):
                self.velocity = int(token[1:])
            else:
                self.sound(token)

    def sound(self, token):
        names, _, length = token.partition(":")
        if length:
            self.length = int(length)
        start, end = self.step * TICKS_PER_STEP, (self.step + self.length) * TICKS_PER_STEP
        if names != "r":
            for name in names.split("+"):
                key = pitch(name)
                self.events.append((start, 1, bytes((0x90 | self.channel, key, self.velocity))))
                self.events.append((end, 0, bytes((0x80 | self.channel, key, 0))))
        self.step += self.length


def track_chunk(events, end_tick):
    """Encode events (tick, order, bytes) as an MTrk chunk ending at end_tick."""
    body, now = bytearray(), 0
    for tick, _, message in sorted(events, key=lambda e: (e[0], e[1])):
        body += variable_length(tick - now) + message
        now = tick
    body += variable_length(end_tick - now) + b"\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(body)) + bytes(body)


def variable_length(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def meta(kind, data):
    return (0, 0, bytes((0xFF, kind, len(data))) + data)


def render(score):
    voices = []
    for fields, tokens in score.tracks:
        channel = fields["channel"] - 1
        voice = Voice(score, channel)
        voice.events.append(meta(0x03, fields["name"].encode()))
        if "program" in fields:
            voice.events.append((0, 0, bytes((0xC0 | channel, fields["program"]))))
        voice.events.append((0, 0, bytes((0xB0 | channel, 7, fields.get("volume", 100)))))
        voice.events.append((0, 0, bytes((0xB0 | channel, 10, fields.get("pan", 64)))))
        voice.play(tokens)
        voices.append(voice)
    lengths = {voice.step for voice in voices}
    if len(lengths) != 1:
        raise ValueError(f"tracks differ in length (sixteenths): {sorted(lengths)}")
    end_tick = lengths.pop() * TICKS_PER_STEP
    microseconds = 60_000_000 // score.tempo
    conductor = [meta(0x51, microseconds.to_bytes(3, "big")),
                 meta(0x58, bytes((4, 2, 24, 8)))]
    chunks = [track_chunk(conductor, end_tick)]
    chunks += [track_chunk(voice.events, end_tick) for voice in voices]
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(chunks), TICKS_PER_QUARTER)
    return header + b"".join(chunks)


def main(source, output):
    with open(source) as text:
        data = render(parse(text.read()))
    with open(output, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
