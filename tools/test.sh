#!/usr/bin/env bash
# Installs what is missing, builds TOV with its tests and runs every test:
# once in the normal build, once more with AddressSanitizer and
# UndefinedBehaviorSanitizer (any report fails), after a short run of each
# fuzz target. Between the two it checks the installed files and the Debian
# package (tools/check_install.sh). Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
bash tools/build.sh
ctest --test-dir build --output-on-failure -j "$(nproc)"
bash tools/check_install.sh

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOV_SANITIZE=ON
cmake --build build-sanitize
bash tools/fuzz.sh 5
QT_QPA_PLATFORM=offscreen ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)"
