#!/usr/bin/env python3
"""Write the game's sound effects as WAV files: a blow, a bite and a death.

Usage: make_effects.py OUT_FOLDER   (writes OUT_FOLDER/blow.wav, bite.wav, death.wav)

Each is a few tenths of a second of 16-bit mono sound at 22050 Hz, made of decaying tones and
noise drawn from a fixed seed, so the files are the same byte for byte on every run.
"""
import math
import random
import struct
import sys
import wave
from pathlib import Path

RATE = 22050
PEAK = 20000  # of 32767: room for the music they play over


def blow(rng):
    """A thump: a low tone and a burst of noise, both dying away in 0.18 s."""
    return [(0.6 * math.sin(2 * math.pi * 110 * t) + 0.4 * rng.uniform(-1, 1)) *
            math.exp(-t * 30) for t in times(0.18)]


def bite(rng):
    """Two crunches: short bursts of noise 0.08 s apart."""
    return [rng.uniform(-1, 1) * math.exp(-(t % 0.08) * 70) for t in times(0.16)]


def death(_rng):
    """A falling tone, from 440 Hz to 110 Hz over 0.8 s, fading out."""
    phase, samples = 0.0, []
    for t in times(0.8):
        phase += 2 * math.pi * 440 * 4 ** (-t / 0.8) / RATE
        samples.append(math.sin(phase) * (1 - t / 0.8))
    return samples


def times(seconds):
    return [n / RATE for n in range(int(seconds * RATE))]


def write(path, samples):
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", round(PEAK * max(-1.0, min(1.0, s))))
                                 for s in samples))


def main(folder):
    folder = Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    for name, make in (("blow", blow), ("bite", bite), ("death", death)):
        write(folder / f"{name}.wav", make(random.Random(name)))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[2])
    main(sys.argv[1])
