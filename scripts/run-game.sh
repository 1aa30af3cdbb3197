#!/usr/bin/env bash
# Installs the dependencies, builds the game (optimised) and starts it from its game folder.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
cd build/game
exec ./nookvale "$@"
