#!/usr/bin/env bash
# Plays the sample world three times with one seed: the scripted clicks recorded, the same
# again, and the recorded clicks replayed. Every checksum line of the three runs must agree.
set -euo pipefail
host="${1:-build/release/Host/gamehost}"
frames="${2:-5400}"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
common=(play --data data --frames "$frames" --seed 1 --checksum-every 100 --no-save)
play() {
    local run="$1"
    shift
    if ! "$host" "${common[@]}" "$@" >"$out/$run" 2>"$out/$run.err"; then
        cat "$out/$run.err" >&2
        echo "replay test: the $run run failed" >&2
        exit 1
    fi
}
play recorded --record "$out/clicks"
play again
play replayed --input "$out/clicks"
for run in recorded again replayed; do
    grep 'checksum' "$out/$run" >"$out/$run.sums" || true
done
if [ ! -s "$out/recorded.sums" ]; then
    echo "replay test: the run printed no checksum" >&2
    exit 1
fi
status=0
for run in again replayed; do
    if ! diff -u "$out/recorded.sums" "$out/$run.sums"; then
        echo "replay test: the $run run's checksums differ from the recorded run's" >&2
        status=1
    fi
done
if [ "$status" -eq 0 ]; then
    echo "replay test passed: $(wc -l <"$out/recorded.sums") checksums agree over three runs" \
         "($(grep -vc '^#' "$out/clicks") clicks replayed)"
fi
exit "$status"
