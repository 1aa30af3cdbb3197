#!/usr/bin/env bash
# Installs the dependencies, builds everything with the address and undefined-behaviour
# sanitizers, and runs the whole test suite; then runs every fuzz target once over its seed
# corpus (a second, small build with clang: the targets and the libraries they need). Any
# failure fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup-deps.sh
build=${NOOKVALE_TEST_BUILD:-build-asan}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNOOKVALE_SANITIZE=ON
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 600
./scripts/fuzz.sh --seeds-only --game "$build/game"
