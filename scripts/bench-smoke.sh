#!/usr/bin/env bash
# Runs every benchmark. Plain: once, briefly, so a broken benchmark fails CI (timings here mean
# nothing; GAME_BENCH_SMOKE shrinks the whole-frame worlds to a tenth). With --summary (make
# bench): at full length, then one table of every "GOAL |" line the benchmarks printed, each
# goal's ratio against the issue's target.
set -euo pipefail
summary=0
if [ "${1:-}" = "--summary" ]; then
    summary=1
    shift
fi
dir="${1:-build/release/bench}"
min_time=0.01
[ "$summary" = 1 ] && min_time=0.05
colour=false
[ -t 1 ] && colour=true
goals="$(mktemp)"
trap 'rm -f "$goals"' EXIT
for b in "$dir"/*; do
    [ -x "$b" ] && [ -f "$b" ] || continue
    echo "== $(basename "$b")"
    if [ "$summary" = 1 ] && [ "$colour" = true ]; then
        "$b" --benchmark_min_time="$min_time" --benchmark_color=true | tee -a "$goals"
    elif [ "$summary" = 1 ]; then
        # Off a terminal no colour codes, whatever a benchmark prints by itself.
        "$b" --benchmark_min_time="$min_time" --benchmark_color=false 2>&1 |
            sed 's/\x1b\[[0-9;]*m//g' | tee -a "$goals"
    else
        GAME_BENCH_SMOKE=1 "$b" --benchmark_min_time="$min_time" --benchmark_color=false >/dev/null
    fi
done
if [ "$summary" = 0 ]; then
    echo "benchmarks ran"
    exit 0
fi
echo
echo "== Summary (goals of the hot-path issue, measured in this run)"
grep '^GOAL |' "$goals" | sed 's/^GOAL | //' |
    awk -F' [|] ' -v colour="$colour" '
        BEGIN { printf "%-48s %-56s %-20s %s\n", "path", "measured", "goal", "result" }
        {
            result = $4
            if (colour == "true")
                result = ($4 == "met" ? "\033[32m" : "\033[31m") $4 "\033[0m"
            printf "%-48s %-56s %-20s %s\n", $1, $2, $3, result
            missed += ($4 != "met")
        }
        END { printf "%d goal(s) missed\n", missed }'
