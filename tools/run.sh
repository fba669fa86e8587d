#!/usr/bin/env bash
# Installs what is missing, builds TOV and runs it on the given cartridge, or
# on the bundled demo cartridge when none is given.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
bash tools/build.sh
if [ $# -eq 0 ]; then
    set -- build/apps/tov/demo.gb
fi
exec build/apps/tov/tov "$@"
