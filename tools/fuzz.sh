#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (sanitizers on) and runs each for a
# bounded time, starting from seed corpora made of the project's own test
# cartridges and files. Findings are left in build-fuzz/findings/.
#
# Usage: tools/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]   (default: 600, all)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
shift || true
all_targets=(fuzz_archive fuzz_cartridge fuzz_state fuzz_accurate_state fuzz_load_state
    fuzz_load_accurate_state fuzz_battery fuzz_config fuzz_key_names fuzz_cheat_texts)
targets=("${@:-${all_targets[@]}}")
build=build-fuzz

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTOV_FUZZ=ON -DTOV_SANITIZE=ON -DTOV_BUILD_TESTS=OFF > /dev/null
cmake --build "$build" --target tov-asm tov-headless "${targets[@]}"

# Assembles the sources joined in order into CORPUS/NAME.gb.
assemble_joined() {
    local corpus=$1 name=$2
    shift 2
    cat "$@" > "$build/joined.asm"
    "$build/tools/tov-asm" "$build/joined.asm" -o "$corpus/$name.gb"
}

seed() {
    local target=$1 corpus=$build/corpus/$1
    mkdir -p "$corpus"
    case $target in
        fuzz_cartridge)
            for source in tests/cartridges/*.asm apps/tov/demo/demo.asm; do
                "$build/tools/tov-asm" "$source" -o "$corpus/$(basename "$source" .asm).gb"
            done
            # A picture cartridge is the shared set-up followed by its own file.
            for source in tests/cartridges/pictures/*.asm; do
                case $source in */setup.asm) continue ;; esac
                assemble_joined "$corpus" "$(basename "$source" .asm)" \
                    tests/cartridges/pictures/setup.asm "$source"
            done
            # A benchmark scene is followed by the code the scenes share.
            for source in tests/cartridges/bench/*_scroll.asm; do
                assemble_joined "$corpus" "$(basename "$source" .asm)" \
                    "$source" tests/cartridges/bench/scene.asm
            done
            # A cartridge that shows hex digits is followed by their routine.
            for source in tests/cartridges/digits/*.asm; do
                case $source in */hex_digit.asm) continue ;; esac
                assemble_joined "$corpus" "$(basename "$source" .asm)" \
                    "$source" tests/cartridges/digits/hex_digit.asm
            done ;;
        fuzz_archive)
            # The joypad cartridge and a text file in a deflated and a stored
            # zip, the cartridge alone in a 7z and a gzip file, and an empty zip.
            "$build/tools/tov-asm" tests/cartridges/joypad.asm -o "$build/joypad.gb"
            printf 'notes\n' > "$build/notes.txt"
            bsdtar -C "$build" --format zip -cf "$corpus/deflated.zip" joypad.gb notes.txt
            bsdtar -C "$build" --format zip --options zip:compression=store \
                -cf "$corpus/stored.zip" notes.txt joypad.gb
            bsdtar -C "$build" --format 7zip -cf "$corpus/joypad.7z" joypad.gb
            gzip -c "$build/joypad.gb" > "$corpus/joypad.gb.gz"
            bsdtar --format zip -cf "$corpus/empty.zip" -T /dev/null ;;
        fuzz_config)
            printf 'UP     = &\nDOWN   = (\nLEFT   = %%\nRIGHT  = '"'"'\nA      = A\nB      = S\nSTART  = D\nSELECT = F\n\n' \
                > "$corpus/default.cfg" ;;
        fuzz_state | fuzz_load_state)
            # States of the demo cartridge, written by the headless runner.
            "$build/tools/tov-asm" apps/tov/demo/demo.asm -o "$build/demo.gb"
            "$build/apps/tov-headless/tov-headless" "$build/demo.gb" --frames 30 \
                --press right@5+20 --save-state "$corpus/demo.gst" > /dev/null
            "$build/apps/tov-headless/tov-headless" "$build/demo.gb" --frames 1 \
                --save-state "$corpus/power-on.gst" > /dev/null ;;
        fuzz_accurate_state | fuzz_load_accurate_state)
            # The accurate machine's states of the demo cartridge.
            "$build/tools/tov-asm" apps/tov/demo/demo.asm -o "$build/demo.gb"
            "$build/apps/tov-headless/tov-headless" "$build/demo.gb" --machine accurate \
                --frames 30 --press right@5+20 --save-state "$corpus/demo.gst" > /dev/null
            "$build/apps/tov-headless/tov-headless" "$build/demo.gb" --machine accurate \
                --frames 1 --save-state "$corpus/power-on.gst" > /dev/null ;;
        fuzz_battery)
            head -c 77966 /dev/zero > "$corpus/empty.sav"
            head -c 8192 /dev/zero | tr '\0' '\125' > "$corpus/cartridge-ram-only.sav" ;;
        fuzz_cheat_texts)
            printf 'C0A5\x003\x00unnamed\x005' > "$corpus/typical"
            printf 'FFFF\x00FF\x00lives\x00FF' > "$corpus/defaults" ;;
        fuzz_key_names)
            for name in KEY_UP KEY_DOWN KEY_LEFT KEY_RIGHT NUMPAD_0 NUMPAD_9 A Z 0 9 q Up Backspace; do
                printf '%s' "$name" > "$corpus/$name"
            done ;;
    esac
}

mkdir -p "$build/findings"
status=0
for target in "${targets[@]}"; do
    seed "$target"
    log=$build/$target.log
    max_len=65536
    case $target in
        # A state of TOV's own machine is 94842 bytes, an accurate machine's
        # about 182 KiB (128 KiB of it cartridge RAM): a seed cut to a
        # shorter limit is refused before anything is loaded.
        *state) max_len=262144 ;;
    esac
    if ! "$build/tests/fuzz/$target" "$build/corpus/$target" -max_total_time="$seconds" \
        -max_len="$max_len" -timeout=20 -rss_limit_mb=4096 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target-" > "$log" 2>&1; then
        status=1
        echo "$target: FINDING (see $log and $build/findings/)"
    fi
    executions=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
    coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$' || echo 0)
    echo "$target: executions=$executions cov=$coverage seconds=$seconds"
done
exit $status
