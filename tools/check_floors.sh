#!/usr/bin/env bash
# Checks that the code's includes only look down: every quoted include in
# src/ and apps/ must name a file of the including file's own folder or of a
# folder that the table below allows for it. The table lists the folders from
# the ground floor up; a folder may use the ones before it that it names.
# Prints each include that runs back up and exits non-zero when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A allowed=(
    [host]=""
    [machine]=""
    [apu]="machine"
    [timer]="machine apu"
    [sound]="host machine"
    [stream]="apu"
    [audio]="host sound stream"
    [memory]="host machine apu timer sound"
    [cpu]="machine timer memory"
    [video]="host machine memory"
    [run]="host machine timer sound memory cpu video"
    [persist]="host machine timer memory"
    [cheats]="machine memory"
    [inspect]="host machine memory cpu video run"
    [session]="host machine apu sound memory video run persist"
    [controller]="host session"
    [debugger]="host session inspect"
    [shell]="host session cheats debugger controller"
    [apps/tov]="host audio stream shell"
    [apps/tov-headless]="host audio stream inspect session"
)

folder_of() {
    case $1 in
        src/*) local rest=${1#src/}; echo "${rest%%/*}" ;;
        apps/*) local rest=${1#apps/}; echo "apps/${rest%%/*}" ;;
    esac
}

status=0
while IFS= read -r file; do
    folder=$(folder_of "$file")
    if [[ ! -v allowed[$folder] ]]; then
        echo "$file: the folder $folder has no floor in tools/check_floors.sh"
        status=1
        continue
    fi
    while IFS= read -r included; do
        [[ $included == */* ]] || continue  # a file of the same folder
        target=${included%%/*}
        if [[ $target != "$folder" && " ${allowed[$folder]} " != *" $target "* ]]; then
            echo "$file: includes $included, a floor that $folder may not use"
            status=1
        fi
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(git ls-files --cached --others --exclude-standard 'src/*.cpp' 'src/*.h' 'apps/*.cpp' 'apps/*.h')

if [ $status -eq 0 ]; then
    echo "every include looks down"
fi
exit $status
