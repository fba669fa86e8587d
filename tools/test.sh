#!/usr/bin/env bash
# Installs what is missing, builds TOV with its tests and runs every test.
# Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
bash tools/build.sh
ctest --test-dir build --output-on-failure -j "$(nproc)"
