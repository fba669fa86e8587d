#!/usr/bin/env bash
# Checks that the code's includes only look down. Every folder of src/ and
# apps/ stands on a numbered floor (the table below, from the ground up); a
# file may include, with "..." or <...>, a file of its own folder, of any
# folder on a lower floor, or of a folder on its own floor that its row
# names. Qt and SDL headers are kept to the rooms that use them. The
# README's "How the code is laid out" lists the same floors, one numbered
# item each naming its folders; the check fails when the two differ.
# Prints each problem and exits non-zero when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

# folder  floor  the folders of the same floor it may use
table="
host                1
machine             1
core                1  host
accurate/clock      1  machine
apu                 2
classic/timer       2  apu
sound               2
stream              2  apu
audio               2  apu sound stream
accurate/timer      2  apu
cartridge           2
memory              3
accurate/memory     3  memory
classic/memory      3  memory
cpu                 4
video               4
classic/cpu         4  cpu
classic/video       4  video
accurate/dma        4
accurate/video      4  video
accurate/bus        5
accurate/cpu        6
run                 7
accurate/run        7  run
classic/run         7  run
persist             8
cheats              8
inspect             8
classic/state       8  persist
accurate/state      8  persist
classic/machine     8  persist classic/state
accurate/machine    8  persist accurate/state
session             9
controller          10
debugger            10
shell               10 debugger controller
apps/tov            11
apps/tov-headless   11
"

# The folders whose files may include these libraries' headers.
qt_rooms=" shell debugger apps/tov "
sdl_rooms=" host controller apps/tov "

declare -A floor_of same_floor
while read -r folder floor allowed; do
    [[ -n $folder ]] || continue
    floor_of[$folder]=$floor
    same_floor[$folder]=" $allowed "
done <<< "$table"

# The folder a path lies in: src/accurate/cpu/sm83.cpp is accurate/cpu, and
# so for the classic machine's rooms.
folder_of() {
    local path=${1#src/}
    local first=${path%%/*}
    if [[ $1 == apps/* || $first == accurate || $first == classic ]]; then
        local rest=${path#*/}
        echo "$first/${rest%%/*}"
    else
        echo "$first"
    fi
}

status=0
problem() {
    echo "$1"
    status=1
}

check_include() {
    local file=$1 folder=$2 included=$3
    case $included in
        Q*) [[ $qt_rooms == *" $folder "* ]] || problem "$file: includes Qt's <$included> below the shell"
            return ;;
        SDL*) [[ $sdl_rooms == *" $folder "* ]] || problem "$file: includes SDL's <$included> outside the host, controller and program rooms"
            return ;;
    esac
    [[ $included == */* ]] || return 0  # a file of the same folder, or a library's
    local target
    target=$(folder_of "src/$included")
    [[ -v floor_of[$target] ]] || return 0  # a library's header, such as <gtest/gtest.h>
    [[ $target == "$folder" ]] && return 0
    local here=${floor_of[$folder]} there=${floor_of[$target]}
    if ((there > here)); then
        problem "$file: includes $included from floor $there, above its own floor $here"
    elif ((there == here)) && [[ ${same_floor[$folder]} != *" $target "* ]]; then
        problem "$file: includes $included, a folder of its own floor $here that its row does not name"
    fi
}

while IFS= read -r file; do
    folder=$(folder_of "$file")
    if [[ ! -v floor_of[$folder] ]]; then
        problem "$file: the folder $folder has no floor in tools/check_floors.sh"
        continue
    fi
    while IFS= read -r included; do
        check_include "$file" "$folder" "$included"
    done < <(sed -n 's/^#include ["<]\([^">]*\)[">].*/\1/p' "$file")
done < <(git ls-files --cached --others --exclude-standard 'src/*.cpp' 'src/*.h' 'apps/*.cpp' 'apps/*.h')

# The README's floors: each numbered item of its layout section names, in
# backticks, the folders of that floor.
declare -A readme_floor
item=0
while IFS= read -r line; do
    if [[ $line =~ ^([0-9]+)\.\  ]]; then
        item=${BASH_REMATCH[1]}
    elif [[ -z $line ]]; then
        item=0
    fi
    ((item > 0)) || continue
    while [[ $line =~ \`([a-z/-]+)/\` ]]; do
        readme_floor[${BASH_REMATCH[1]}]=$item
        line=${line/"${BASH_REMATCH[0]}"/}
    done
done < <(sed -n '/^## How the code is laid out/,/^Code is formatted/p' README.md)

for folder in "${!floor_of[@]}"; do
    if [[ ${readme_floor[$folder]:-} != "${floor_of[$folder]}" ]]; then
        problem "README.md: the layout puts $folder/ on floor ${readme_floor[$folder]:-none}, the check on ${floor_of[$folder]}"
    fi
done
for folder in "${!readme_floor[@]}"; do
    [[ -v floor_of[$folder] ]] || problem "README.md: the layout names $folder/, which has no floor in the check"
done

if [ $status -eq 0 ]; then
    echo "every include looks down, and the README's floors are the check's"
fi
exit $status
