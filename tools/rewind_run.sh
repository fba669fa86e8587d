#!/usr/bin/env bash
# Plays the colour benchmark scene (tests/cartridges/bench) in the window for
# 18 seconds, then holds Backspace for 3 seconds, taking F12 screenshots
# before and while it rewinds, and reports: which frame of the scene each
# screenshot shows (the scene repeats every 256 frames; each of them is drawn
# by the headless runner), how far back the rewind went, and the window's
# resident memory at the start and at the end. It runs under Xvfb when there is no
# display, and fails unless the rewound picture is an earlier frame of the
# game than the last one shown. Needs xvfb, xdotool and python3.
#
# Usage: tools/rewind_run.sh [MACHINE]   MACHINE classic (default) or accurate
# KEEP=1 keeps the work folder (its screenshots) and prints its name.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/window_run.sh

machine=${1:-classic}
accurate_machine=$(accurate_machine_setting "$machine" rewind_run.sh)
bash tools/build.sh > /dev/null
work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] && echo "kept $work" || rm -rf "$work"' EXIT
cat tests/cartridges/bench/colour_scroll.asm tests/cartridges/bench/scene.asm > "$work/scene.asm"
build/tools/tov-asm "$work/scene.asm" -o "$work/scene.gb"
mkdir -p "$work/config/tov" "$work/home" "$work/phases"
printf '[emulation]\naccurate_machine=%s\nrewind_seconds=60\n' "$accurate_machine" \
    > "$work/config/tov/tov.conf"

# The scene's 256 pictures, as the headless runner draws them.
for frame in $(seq 600 855); do
    build/apps/tov-headless/tov-headless "$work/scene.gb" --machine "$machine" \
        --frames "$frame" --screenshot "$work/phases/$frame.png"
done

cat > "$work/play.sh" <<'PLAY'
#!/usr/bin/env bash
set -euo pipefail
work=$1
build/apps/tov/tov "$work/scene.gb" &
tov=$!
sleep 2
window=$(xdotool search --sync --onlyvisible --pid "$tov" --name TOV | head -1)
xdotool windowfocus --sync "$window"
rss() { awk '/VmRSS/ { print $2 }' "/proc/$tov/status"; }
echo "rss_start_kib=$(rss)" > "$work/memory"
sleep 16
for shot in 1 2 3 4; do xdotool key F12; sleep 0.5; done
xdotool keydown BackSpace
sleep 3
xdotool key F12
sleep 0.5
xdotool keyup BackSpace
sleep 1
echo "rss_end_kib=$(rss)" >> "$work/memory"
kill -INT "$tov"
wait "$tov" || true
PLAY
run=(bash "$work/play.sh" "$work")
if [ -z "${DISPLAY:-}" ]; then
    run=(xvfb-run -a -s "-screen 0 1024x768x24" "${run[@]}")
fi
XDG_CONFIG_HOME="$work/config" TOV_HOME="$work/home" SDL_AUDIODRIVER=dummy "${run[@]}"

python3 - "$work" <<'PYTHON'
import glob, os, subprocess, sys, zlib

work = sys.argv[1]

def pixels(path, step):
    """The picture's RGB rows, every `step`-th pixel (the window's shots are at X 2)."""
    data = open(path, "rb").read()
    chunks, at = [], 8
    while at < len(data):
        length = int.from_bytes(data[at:at + 4], "big")
        kind = data[at + 4:at + 8]
        chunks.append((kind, data[at + 8:at + 8 + length]))
        at += 12 + length
    header = dict(chunks)[b"IHDR"]
    width, height = int.from_bytes(header[0:4], "big"), int.from_bytes(header[4:8], "big")
    channels = {2: 3, 6: 4}[header[9]]
    raw = zlib.decompress(b"".join(body for kind, body in chunks if kind == b"IDAT"))
    stride, rows, previous = width * channels, [], bytearray(width * channels)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            left = line[x - channels] if x >= channels else 0
            up, corner = previous[x], previous[x - channels] if x >= channels else 0
            if kind == 1: line[x] = (line[x] + left) & 255
            elif kind == 2: line[x] = (line[x] + up) & 255
            elif kind == 3: line[x] = (line[x] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[x] = (line[x] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        previous = line
        if y % step == 0:
            rows.append(bytes(line[c] for x in range(0, width, step) for c in range(x * channels, x * channels + 3)))
    return b"".join(rows)

phases = {pixels(path, 1): int(os.path.basename(path)[:-4]) % 256
          for path in glob.glob(f"{work}/phases/*.png")}
shots = sorted(glob.glob(f"{work}/home/SCREENSHOTS/*.png"), key=os.path.getmtime)
seen = [phases.get(pixels(path, 2)) for path in shots]
print("rewind run: screenshots show scene frames (mod 256):", seen)
print("rewind run:", open(f"{work}/memory").read().replace("\n", " "))
if len(seen) != 5 or None in seen:
    sys.exit("rewind run: a screenshot is not a frame of the scene")
back = (seen[3] - seen[4]) % 256
print(f"rewind run: after 3 s of Backspace the picture is {back} frames (mod 256) before "
      "the last one shown before it")
sys.exit(0 if back != 0 else 1)
PYTHON
