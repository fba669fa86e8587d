#!/usr/bin/env bash
# Installs what is missing, builds TOV and runs it. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
bash tools/build.sh
exec build/apps/tov/tov "$@"
