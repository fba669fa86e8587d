#!/usr/bin/env bash
# Configures and builds TOV into build/ (release build with debug information).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
