#!/usr/bin/env bash
# Times the headless runner of the current tree against a baseline commit on
# the project's benchmark cartridges, in turn (A B A B ...), and checks that
# both builds end every run with the same picture and the same machine state
# (the save state holds the CPU, the memories and the I/O page). The current
# tree's accurate machine runs in the same turns; its column shows its frames
# per second and their ratio to TOV's own machine.
#
# Usage: tools/bench.sh [BASELINE] [ROUNDS] [FRAMES]
#   BASELINE  a commit (default: the last change to the rules of TOV's own
#             machine, the mend of SBC's half carry)
#   ROUNDS    runs of each build per cartridge (default 5)
#   FRAMES    emulated frames per run (default 10000)
set -euo pipefail
cd "$(dirname "$0")/.."

baseline=${1:-5a2d3b6}
rounds=${2:-5}
frames=${3:-10000}
work=build-bench

configure_and_build() {
    local source=$1 build=$2
    cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTOV_BUILD_TESTS=OFF > /dev/null
    cmake --build "$build" --target tov-headless tov-asm > /dev/null
}

mkdir -p "$work"
rm -rf "$work/baseline-src"
git worktree prune
git worktree add --detach "$work/baseline-src" "$baseline" > /dev/null 2>&1
trap 'git worktree remove --force "$work/baseline-src" > /dev/null 2>&1 || true' EXIT
echo "building the current tree and $baseline ..."
configure_and_build . "$work/current"
configure_and_build "$work/baseline-src" "$work/baseline"

carts=$work/cartridges
mkdir -p "$carts"
asm=$work/current/tools/tov-asm
"$asm" apps/tov/demo/demo.asm -o "$carts/demo.gb"
for scene in mono_scroll colour_scroll; do
    cat "tests/cartridges/bench/$scene.asm" tests/cartridges/bench/scene.asm > "$carts/$scene.asm"
    "$asm" "$carts/$scene.asm" -o "$carts/$scene.gb"
done
cartridges=("$carts/demo.gb" "$carts/mono_scroll.gb" "$carts/colour_scroll.gb")
cpu_instrs=../shared/roms/blargg/cpu_instrs/cpu_instrs.gb
if [ -f "$cpu_instrs" ]; then
    cartridges+=("$cpu_instrs")
else
    echo "($cpu_instrs not found: left out)"
fi

# One timed run: prints its frames per second; the last picture and state
# go to OUT.png and OUT.gst.
run() {
    local runner=$1 rom=$2 out=$3
    shift 3
    "$runner/apps/tov-headless/tov-headless" "$rom" --frames "$frames" --bench \
        --screenshot "$out.png" --save-state "$out.gst" "$@" | sed -n 's/.*fps=\([0-9]*\).*/\1/p'
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

status=0
printf '%-16s %12s %12s %8s %13s %10s %10s\n' cartridge "baseline fps" "current fps" ratio \
    "accurate fps" "acc/own" "peak KiB"
for rom in "${cartridges[@]}"; do
    name=$(basename "$rom" .gb)
    a_fps=()
    b_fps=()
    c_fps=()
    for _ in $(seq "$rounds"); do
        a_fps+=("$(run "$work/current" "$rom" "$work/current-$name")")
        b_fps+=("$(run "$work/baseline" "$rom" "$work/baseline-$name")")
        c_fps+=("$(run "$work/current" "$rom" "$work/accurate-$name" --machine accurate)")
        if ! cmp -s "$work/current-$name.png" "$work/baseline-$name.png"; then
            echo "$name: the two builds end with different pictures"
            status=1
        fi
        if ! cmp -s "$work/current-$name.gst" "$work/baseline-$name.gst"; then
            echo "$name: the two builds end with different machine states"
            status=1
        fi
    done
    a=$(printf '%s\n' "${a_fps[@]}" | median)
    b=$(printf '%s\n' "${b_fps[@]}" | median)
    c=$(printf '%s\n' "${c_fps[@]}" | median)
    peak=$("$work/current/apps/tov-headless/tov-headless" "$rom" --frames "$frames" --bench \
        --rss-every "$frames" | sed -n 's/^frame=[1-9][0-9]* rss_kib=//p')
    ratio=$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.2f", a / b }')
    accurate_ratio=$(awk -v c="$c" -v a="$a" 'BEGIN { printf "%.2f", c / a }')
    printf '%-16s %12s %12s %8s %13s %10s %10s\n' "$name" "$b" "$a" "$ratio" "$c" \
        "$accurate_ratio" "$peak"
done
exit $status
