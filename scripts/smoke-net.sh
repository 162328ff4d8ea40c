#!/usr/bin/env bash
# Starts a server and a client on loopback and checks that both finish cleanly.
set -euo pipefail
host="${1:-build/release/Host/gamehost}"
if ! "$host" --help 2>/dev/null | grep -qE "^ +server "; then
    echo "network modes not built; skipping"
    exit 0
fi
port=$(( 20000 + RANDOM % 20000 ))
timeout 60 "$host" server --data data --port "$port" --clients 1 &
srv=$!
# A failing client must not leave the server behind.
trap 'kill "$srv" 2>/dev/null || true' EXIT
sleep 1
timeout 50 "$host" client --data data --connect "127.0.0.1:$port"
wait "$srv"
trap - EXIT
echo "network smoke test passed"
