#!/usr/bin/env bash
# Builds the packet fuzzer with clang in its own folder and runs it for a bounded number of inputs.
# usage: run-fuzz.sh FUZZ_SOURCE_DIR BUILD_DIR CLANGXX [RUNS]
set -euo pipefail
src="$1"; build="$2"; cxx="$3"; runs="${4:-20000}"
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
cmake -S "$src" -B "$build" "${generator[@]}" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j "$(nproc)"
# Leak checks stay on; a fixed seed makes a failure repeatable.
ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" \
    "$build/net_fuzz" -seed=1 -runs="$runs" -max_len=1024 -max_total_time=90 -use_value_profile=1 -print_final_stats=1
