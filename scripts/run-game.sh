#!/usr/bin/env bash
# Installs the dependencies, builds the game (optimised) and starts it from its game folder.
# On the first start it opens in a window (the game's own first start would be full screen);
# the options screen or Alt+Enter switch to full screen, and the game remembers the choice.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
cd build/game
if [ ! -e config.ini ]; then
  printf '[LANGUAGE]\nName=ENGLISH\n[OPTIONS]\nbtnFullScreen=0\n' > config.ini
fi
exec ./nookvale "$@"
