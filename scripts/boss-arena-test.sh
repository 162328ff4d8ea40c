#!/usr/bin/env bash
# Plays each boss arena over ENet on loopback, a server and one client, and requires both
# machines to keep the same checksums and the fight to end in a death (the boss's or the
# player's) on both.
set -euo pipefail
host="${1:-build/release/Host/gamehost}"
out=$(mktemp -d)
pids=()
trap 'for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$out"' EXIT
status=0
# level frames
arenas=("BandariArena 1800" "TelkineArena 2000" "SpiritArena 1200")
for arena in "${arenas[@]}"; do
    read -r level frames <<<"$arena"
    dir="$out/$level" port=$(( 20000 + RANDOM % 20000 ))
    mkdir -p "$dir"
    common=(--data data --level "$level" --frames "$frames" --seed 3 --checksum-every 10
            --timeout-ms 20000)
    timeout 300 "$host" server "${common[@]}" --port "$port" --clients 1 \
        --save "$dir/server.chr" --checksums "$dir/server.sums" >"$dir/server" 2>&1 &
    server=$!
    timeout 300 "$host" client "${common[@]}" --connect "127.0.0.1:$port" \
        --save "$dir/client.chr" --checksums "$dir/client.sums" >"$dir/client" 2>&1 &
    client=$!
    pids=("$server" "$client")
    failed=0
    wait "$server" || failed=1
    wait "$client" || failed=1
    if [ "$failed" -ne 0 ] || [ ! -s "$dir/server.sums" ]; then
        tail -n 5 "$dir/server" "$dir/client" >&2
        echo "boss arena test ($level): a machine failed" >&2
        status=1
        continue
    fi
    if ! cmp -s "$dir/server.sums" "$dir/client.sums"; then
        first=$(paste -d' ' "$dir/server.sums" "$dir/client.sums" |
            awk '$1 != $3 || $2 != $4 { print $1; exit }')
        echo "boss arena test ($level): the client's checksums part from the server's at" \
             "frame ${first:-(the lists differ in length)}" >&2
        status=1
    fi
    for machine in server client; do
        if ! grep -Eq "killed|died" "$dir/$machine"; then
            echo "boss arena test ($level): nobody died on the $machine" >&2
            status=1
        fi
    done
    echo "boss arena test ($level): $(grep -Ec 'killed|died' "$dir/server") deaths," \
         "$(wc -l <"$dir/server.sums") checksums alike"
done
exit "$status"
