#!/usr/bin/env bash
# Runs a fuzzer for a bounded number of inputs; the debug preset builds it (`make debug`, or
# `make test`, which builds it before the tests).
# usage: run-fuzz.sh FUZZ_BINARY [RUNS] [SECONDS] [SEED_CORPUS]
# The seed corpus is read, never written: new inputs go to a scratch folder removed afterwards.
set -euo pipefail
binary="$1"; runs="${2:-20000}"; seconds="${3:-90}"; seeds="${4:-}"
if [ ! -x "$binary" ]; then
    echo "$binary is not built: the debug preset (clang) builds the fuzzers ('make debug')"
    exit 77
fi
corpus=()
if [ -n "$seeds" ]; then
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    corpus=("$scratch" "$seeds")
fi
# Leak checks stay on; a fixed seed makes a failure repeatable. What the fuzzer finds must fail
# the test: its own exit code for a finding is 77, ctest's "skipped".
ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" \
    "$binary" -seed=1 -runs="$runs" -max_len=1024 -max_total_time="$seconds" -use_value_profile=1 -print_final_stats=1 -error_exitcode=1 "${corpus[@]}"
