#!/usr/bin/env bash
# Runs every benchmark once, briefly, so a broken benchmark fails CI (timings here mean nothing).
set -euo pipefail
dir="${1:-build/release/bench}"
for b in "$dir"/*; do
    [ -x "$b" ] && [ -f "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" --benchmark_min_time=0.01 >/dev/null
done
echo "benchmarks ran"
