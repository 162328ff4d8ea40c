#!/usr/bin/env bash
# Builds and runs the tests without the sanitizers, so a test that passes only thanks to them
# cannot come back unseen. Given the release build's folder (as CI does), the tests run against
# the optimised libraries that `make run` already built, and no library is compiled twice.
# The fuzzers are left out: only the debug preset (clang) builds them, and its run covers them.
# usage: plain-build-test.sh [BUILD_DIR]   (JOBS sets the build's parallelism)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/plain}"
jobs="${JOBS:-$(nproc)}"
cmake -S . -B "$build" -G Ninja -DGAME_BUILD_TESTS=ON >/dev/null
cmake --build "$build" --target test_programs -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs" -E '_fuzz$'
echo "tests without sanitizers passed"
