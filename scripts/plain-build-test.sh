#!/usr/bin/env bash
# Builds and runs the tests once without the presets' flags (no sanitizers, default generator and
# linker defaults), so a test that passes only thanks to the presets cannot come back unseen.
# The packet fuzzer is left out: it makes its own clang build whatever the flags here, and the
# preset run already covers it.
# usage: plain-build-test.sh [BUILD_DIR]   (JOBS sets the build's parallelism)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/plain}"
jobs="${JOBS:-$(nproc)}"
# No build type: the quickest compile, and the linker defaults are what matter here.
cmake -S . -B "$build" -G Ninja
cmake --build "$build" --target test_programs -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs" -E '^net_fuzz$'
echo "plain build tests passed"
