#!/usr/bin/env bash
# Plays the sample world over ENet on loopback: a server and two clients, one seed, a few hundred
# frames in lockstep. Every machine writes its checksum list; all lists must agree, and where
# they part the first differing frame is named (rerun with --state-dump to see which character).
set -euo pipefail
host="${1:-build/release/Host/gamehost}"
frames="${2:-300}"
clients=2
out=$(mktemp -d)
pids=()
# A failing machine must not leave the others behind.
trap 'for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$out"' EXIT
port=$(( 20000 + RANDOM % 20000 ))
common=(--data data --frames "$frames" --seed 1 --checksum-every 10 --timeout-ms 20000)
timeout 300 "$host" server "${common[@]}" --port "$port" --clients "$clients" \
    --checksums "$out/server.sums" >"$out/server" 2>"$out/server.err" &
pids+=($!)
sleep 1
for i in $(seq "$clients"); do
    timeout 300 "$host" client "${common[@]}" --connect "127.0.0.1:$port" \
        --checksums "$out/client$i.sums" >"$out/client$i" 2>"$out/client$i.err" &
    pids+=($!)
done
status=0
machines=(server $(seq -f "client%g" "$clients"))
for i in "${!pids[@]}"; do
    if ! wait "${pids[$i]}"; then
        tail -n 5 "$out/${machines[$i]}.err" >&2
        echo "net replay test: the ${machines[$i]} failed" >&2
        status=1
    fi
done
[ "$status" -eq 0 ] || exit 1
if [ ! -s "$out/server.sums" ]; then
    echo "net replay test: the server wrote no checksum" >&2
    exit 1
fi
for machine in "${machines[@]:1}"; do
    first=$(paste -d' ' "$out/server.sums" "$out/$machine.sums" |
        awk '$1 != $3 || $2 != $4 { print $1; exit }')
    if [ -n "$first" ] || [ "$(wc -l <"$out/server.sums")" -ne "$(wc -l <"$out/$machine.sums")" ]; then
        echo "net replay test: the $machine's checksums part from the server's at frame" \
             "${first:-(the lists differ in length)}" >&2
        status=1
    fi
done
if [ "$status" -eq 0 ]; then
    echo "net replay test passed: $(wc -l <"$out/server.sums") checksums over $frames frames" \
         "agree on the server and $clients clients"
fi
exit "$status"
