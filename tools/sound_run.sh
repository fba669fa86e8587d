#!/usr/bin/env bash
# Plays the melody cartridge (tests/cartridges/sound/melody.asm, all four
# channels) with the accurate sound in the window for SECONDS seconds, on
# TOV's own machine or on the accurate machine (MACHINE), with
# SDL's disk audio driver standing in for the sound card, and reports what
# the card received: stretches of silence inside the music (underruns), the
# sound buffer's fill second by second, and the latency. It runs under Xvfb
# when there is no display, and fails on an underrun after the start.
#
# Usage: tools/sound_run.sh [SECONDS] [MACHINE]
#   SECONDS  default 60; MACHINE classic (default) or accurate; needs xvfb and python3
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/window_run.sh

seconds=${1:-60}
machine=${2:-classic}
accurate_machine=$(accurate_machine_setting "$machine" sound_run.sh)
bash tools/build.sh > /dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat tests/cartridges/sound/hardware.asm tests/cartridges/sound/melody.asm > "$work/melody.asm"
build/tools/tov-asm "$work/melody.asm" -o "$work/melody.gb"
mkdir -p "$work/config/tov" "$work/home"
printf '[sound]\naccurate=true\n[emulation]\naccurate_machine=%s\n' "$accurate_machine" \
    > "$work/config/tov/tov.conf"

run=(build/apps/tov/tov "$work/melody.gb")
if [ -z "${DISPLAY:-}" ]; then
    run=(xvfb-run -a -s "-screen 0 1024x768x24" "${run[@]}")
fi
XDG_CONFIG_HOME="$work/config" TOV_HOME="$work/home" SDL_AUDIODRIVER=disk \
    SDL_DISKAUDIOFILE="$work/card.raw" TOV_SOUND_STATS=1 \
    timeout -s INT "$seconds" "${run[@]}" 2> "$work/stats.log" || true

python3 - "$work/card.raw" "$work/stats.log" <<'PYTHON'
import array, re, sys

rate = 48000
card = array.array("h")
card.frombytes(open(sys.argv[1], "rb").read())
left = card[0::2]
# Exact zeros only come from an empty buffer: the music never rests and
# the output has no DC. The start waits for the buffer to fill once.
gaps, start = [], None
for i, sample in enumerate(left):
    if sample == 0:
        start = i if start is None else start
    elif start is not None:
        if i - start >= 24 and start > 0:
            gaps.append((start / rate, (i - start) * 1000 / rate))
        start = None
fills, lows, highs = [], [], []
for line in open(sys.argv[2]):
    found = re.search(r"buffer ([\d.]+) ms \(lowest ([\d.]+), highest ([\d.]+)", line)
    if found:
        fills.append(float(found.group(1)))
        lows.append(float(found.group(2)))
        highs.append(float(found.group(3)))
settled = slice(3, None)  # the first seconds learn the two clocks' difference
device_ms = 512 * 1000 / rate
print(f"sound run: {len(left) / rate:.1f} s reached the card, {len(gaps)} underruns {gaps}")
print(f"sound run: buffer {min(lows[settled]):.1f}-{max(highs[settled]):.1f} ms after 3 s, "
      f"mean {sum(fills[settled]) / len(fills[settled]):.1f} ms; latency about "
      f"{sum(fills[settled]) / len(fills[settled]) + device_ms:.0f} ms with the card's "
      f"{device_ms:.1f} ms block")
sys.exit(1 if gaps else 0)
PYTHON
