#!/usr/bin/env bash
# Plays the sample world over ENet on loopback: a server and two clients, one seed, a few hundred
# frames in lockstep. Every machine writes its checksum list; all lists must agree, and where
# they part the first differing frame is named (rerun with --state-dump to see which character).
# Then a client and a server that go away mid-game: the machine left behind must say so and stop,
# non-zero, within its time-out.
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

# Plays an endless game of one client, stops the named machine after a second and requires the
# other to give up with a message and a non-zero exit within its time-out.
left_behind() {
    local gone="$1" port=$(( 20000 + RANDOM % 20000 )) start code
    local endless=(--data data --frames 100000000 --timeout-ms 3000)
    timeout 60 "$host" server "${endless[@]}" --port "$port" --clients 1 \
        >"$out/lost-server" 2>"$out/lost-server.err" &
    local srv=$!
    sleep 1
    timeout 60 "$host" client "${endless[@]}" --connect "127.0.0.1:$port" \
        >"$out/lost-client" 2>"$out/lost-client.err" &
    local cli=$!
    sleep 1
    local stay=$srv
    if [ "$gone" = server ]; then kill "$srv"; stay=$cli; else kill "$cli"; fi
    start=$SECONDS
    code=0
    wait "$stay" || code=$?
    wait "$srv" "$cli" 2>/dev/null || true
    local other=client
    [ "$gone" = client ] && other=server
    if [ "$code" -ne 1 ] || [ $(( SECONDS - start )) -gt 20 ] ||
        ! grep -qE "left the game|no word from" "$out/lost-$other.err"; then
        cat "$out/lost-$other.err" >&2
        echo "net replay test: with the $gone gone the $other did not stop with a message" \
             "(exit $code)" >&2
        status=1
    fi
}
left_behind client
left_behind server

if [ "$status" -eq 0 ]; then
    echo "net replay test passed: $(wc -l <"$out/server.sums") checksums over $frames frames" \
         "agree on the server and $clients clients;" \
         "a machine left behind stops with a message"
fi
exit "$status"
