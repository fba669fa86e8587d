#!/usr/bin/env bash
# Runs cartridges for 100000 frames each with the headless runner in the
# sanitizer build, and checks that the resident memory after the last 10000
# frames is no larger than after the first 10000. Any sanitizer report ends
# the run with an error.
#
# Usage: tools/soak.sh [FRAMES]   (default 100000)
set -euo pipefail
cd "$(dirname "$0")/.."

frames=${1:-100000}
build=build-sanitize
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOV_SANITIZE=ON > /dev/null
cmake --build "$build" --target tov-headless tov_demo

cartridges=("$build/apps/tov/demo.gb")
public=../shared/roms/blargg/cpu_instrs/cpu_instrs.gb
if [ -f "$public" ]; then
    cartridges=("$public" "${cartridges[@]}")
else
    echo "soak: $public not found; soaking the demo cartridge only"
fi

status=0
for cartridge in "${cartridges[@]}"; do
    report=$("$build/apps/tov-headless/tov-headless" "$cartridge" --frames "$frames" \
        --rss-every 10000)
    first=$(echo "$report" | grep '^frame=10000 ' | sed 's/.*rss_kib=//')
    last=$(echo "$report" | tail -1 | sed 's/.*rss_kib=//')
    echo "soak: $(basename "$cartridge"): $frames frames, resident $first KiB after 10000," \
        "$last KiB at the end"
    if [ "$last" -gt "$first" ]; then
        echo "soak: memory grew by $((last - first)) KiB"
        status=1
    fi
done
exit $status
