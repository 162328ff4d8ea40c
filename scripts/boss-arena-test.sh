#!/usr/bin/env bash
# Plays each boss arena over ENet on loopback, a server and one client, in lockstep: the two
# machines' checksum lists must agree frame by frame, and the boss fight must end in a death (the
# boss's or a player's) on the server.
set -euo pipefail
host="${1:-build/release/Host/gamehost}"
frames="${2:-1200}"
out=$(mktemp -d)
pids=()
trap 'for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$out"' EXIT
status=0
for level in Cyclops Megalesios; do
    port=$(( 20000 + RANDOM % 20000 ))
    common=(--data data --level "$level" --frames "$frames" --seed 1 --checksum-every 10
            --timeout-ms 20000)
    timeout 300 "$host" server "${common[@]}" --port "$port" --clients 1 \
        --save "$out/$level-server.chr" --checksums "$out/$level-server.sums" \
        >"$out/$level-server" 2>"$out/$level-server.err" &
    server=$!
    timeout 300 "$host" client "${common[@]}" --connect "127.0.0.1:$port" \
        --save "$out/$level-client.chr" --checksums "$out/$level-client.sums" \
        >"$out/$level-client" 2>"$out/$level-client.err" &
    client=$!
    pids=("$server" "$client")
    if ! wait "$server" || ! wait "$client"; then
        tail -n 5 "$out/$level-server.err" "$out/$level-client.err" >&2
        echo "boss arena test ($level): a machine failed" >&2
        status=1
        continue
    fi
    first=$(paste -d' ' "$out/$level-server.sums" "$out/$level-client.sums" |
        awk '$1 != $3 || $2 != $4 { print $1; exit }')
    if [ -n "$first" ] || [ ! -s "$out/$level-server.sums" ]; then
        echo "boss arena test ($level): the client's checksums part from the server's at frame" \
             "${first:-(none written)}" >&2
        status=1
    fi
    boss="$level [0-9]*"
    if ! grep -Eq "killed $boss|died, killed by $boss|killed by $boss" "$out/$level-server"; then
        echo "boss arena test ($level): the fight ended in no death" >&2
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "boss arena test passed: the Cyclops and Megalesios arenas play" \
    "alike on a server and a client, each fight to a death"
exit "$status"
