#!/bin/sh
# Checks that the game's music really sounds: plays data/clkcwhrv.mid through
# Allegro (DIGMID + freepats, see setup-sound.sh) from inside data/, the way
# the game runs, with ALSA's default output redirected into a file, then
# tests that the captured audio is not silence.
# Needs: gcc, liballegro4-dev, xvfb (allegro_init wants an X display), freepats.
# Usage: tools/check-sound.sh [MIDI_FILE] [MILLISECONDS]
# Prints "sound: non-silent ..." and exits 0, or explains and exits 1.
set -eu
tools=$(cd "$(dirname "$0")" && pwd)
data="$tools/../data"
midi=${1:-clkcwhrv.mid}
millis=${2:-3000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$tools/setup-sound.sh" >/dev/null
# allegro-config prints the linker flags as one line: they must split into words.
# shellcheck disable=SC2046
gcc -o "$work/play-music" "$tools/sound/play-music.c" $(allegro-config --libs)

# The game hands Allegro the patch index itself; this stand-in gets it through a configuration.
printf '[sound]\npatches = %s/orvalle-patches.cfg\n' "$data" > "$work/allegro.cfg"

# Any sound card is replaced by a file sink; no device is needed.
cat > "$work/asound.conf" <<CONF
pcm.!default { type file; slave.pcm { type null }; file "$work/capture.raw"; format "raw" }
CONF

(cd "$data" && ALLEGRO="$work" \
    ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$work/asound.conf" \
    xvfb-run -a -s "-screen 0 800x600x16" "$work/play-music" "$midi" "$millis" 2>/dev/null)

python3 - "$work/capture.raw" <<'PY'
import array, math, sys
try:
    raw = open(sys.argv[1], "rb").read()
except OSError:
    sys.exit("sound: nothing was captured (no ALSA output opened)")
samples = array.array("H", raw[: len(raw) // 2 * 2])  # Allegro mixes unsigned 16-bit
if not samples:
    sys.exit("sound: the capture is empty")
mean = sum(samples) / len(samples)
rms = math.sqrt(sum((s - mean) ** 2 for s in samples) / len(samples))
if rms < 30:
    sys.exit(f"sound: silent ({len(samples)} samples, rms {rms:.1f})")
print(f"sound: non-silent ({len(samples)} samples, rms {rms:.0f})")
PY
