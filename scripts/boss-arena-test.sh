#!/usr/bin/env bash
# Plays each boss arena over ENet on loopback, a server and one client, in lockstep: the two
# machines' checksum lists must agree frame by frame, and the boss fight must end in a death on
# the server (for the Cyclops and Megalesios the boss's or one it dealt; in the other arenas any
# death of the encounter: a warrior, a statue, the boss or the player).
set -euo pipefail
host="${1:-build/release/Host/gamehost}"
out=$(mktemp -d)
pids=()
trap 'for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$out"' EXIT
status=0
# level, frames, seed, what a death line must name
arenas=("Cyclops 1200 1 Cyclops [0-9]*" "Megalesios 1200 1 Megalesios [0-9]*"
        "BandariArena 1800 3 [A-Za-z]+ [0-9]+" "TelkineArena 2000 3 [A-Za-z]+ [0-9]+"
        "SpiritArena 1800 3 [A-Za-z]+ [0-9]+" "TyphonArena 2400 1 Typhon [0-9]*")
for arena in "${arenas[@]}"; do
    read -r level frames seed who <<<"$arena"
    port=$(( 20000 + RANDOM % 20000 ))
    common=(--data data --level "$level" --frames "$frames" --seed "$seed" --checksum-every 10
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
    if [ -n "$first" ] || [ ! -s "$out/$level-server.sums" ] ||
        [ "$(wc -l <"$out/$level-server.sums")" -ne "$(wc -l <"$out/$level-client.sums")" ]; then
        echo "boss arena test ($level): the client's checksums part from the server's at frame" \
             "${first:-(none written, or the lists differ in length)}" >&2
        status=1
    fi
    if ! grep -Eq "killed $who|died, killed by $who|killed by $who" "$out/$level-server"; then
        echo "boss arena test ($level): the fight ended in no death" >&2
        status=1
    fi
    # The final arena ends the game: Typhon dies and both machines close it.
    if [ "$level" = TyphonArena ]; then
        for machine in server client; do
            if ! grep -Eq "killed Typhon [0-9]+" "$out/$level-$machine" ||
                ! grep -q "^gamehost: ui: the game is over" "$out/$level-$machine"; then
                echo "boss arena test ($level): the $machine saw no end of the game" >&2
                status=1
            fi
        done
    fi
done
[ "$status" -eq 0 ] && echo "boss arena test passed: the Cyclops, Megalesios, Bandari, Telkine" \
    "spirit and Typhon arenas play alike on a server and a client, each fight to a death"
exit "$status"
