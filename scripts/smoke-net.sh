#!/usr/bin/env bash
# Starts a server and three clients on loopback and checks that all finish cleanly, that each
# client was welcomed by its own host id and that every machine saved its own player.
set -euo pipefail
host="${1:-build/release/Host/gamehost}"
clients=3
if ! grep -qE "^ +server " <<<"$("$host" --help 2>/dev/null || true)"; then
    echo "network modes not built; skipping"
    exit 0
fi
port=$(( 20000 + RANDOM % 20000 ))
out=$(mktemp -d)
timeout 60 "$host" server --data data --port "$port" --clients "$clients" \
    --save "$out/server.chr" &
srv=$!
# A failing client must not leave the server behind.
trap 'kill "$srv" 2>/dev/null || true; rm -rf "$out"' EXIT
sleep 1
pids=()
for i in $(seq "$clients"); do
    timeout 50 "$host" client --data data --connect "127.0.0.1:$port" \
        --save "$out/client$i.chr" >"$out/client$i" &
    pids+=($!)
done
for pid in "${pids[@]}"; do
    wait "$pid"
done
wait "$srv"
ids=()
for i in $(seq "$clients"); do
    cat "$out/client$i"
    id=$(sed -n 's/^gamehost: connected to .* as host \([0-9]*\)$/\1/p' "$out/client$i")
    if [ -z "$id" ] || ! grep -q "server says \"welcome, host $id\"" "$out/client$i"; then
        echo "client $i was not welcomed by its own host id" >&2
        exit 1
    fi
    ids+=("$id")
done
for machine in server $(seq -f "client%g" "$clients"); do
    if [ ! -s "$out/$machine.chr" ]; then
        echo "the $machine saved no character" >&2
        exit 1
    fi
done
if [ "$(printf '%s\n' "${ids[@]}" | sort -u | wc -l)" -ne "$clients" ]; then
    echo "two clients were given the same host id: ${ids[*]}" >&2
    exit 1
fi
echo "network smoke test passed"
