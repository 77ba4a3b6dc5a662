#!/usr/bin/env bash
# Builds the program and starts it against the demonstration shop on this machine
# (http://127.0.0.1:8047, started here unless something already answers there). The
# program's files (Tables, Vendrix.ini, ...) live beside it in build/bin; the shop keeps its
# data in build/bin/demo-shop-data.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRADER_BUILD_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"

shop_pid=""
if ! (exec 3<>/dev/tcp/127.0.0.1/8047) 2>/dev/null; then
  mkdir -p build/bin/demo-shop-data
  build/bin/demo-shop --port 8047 --data build/bin/demo-shop-data >build/demo-shop.log 2>&1 &
  shop_pid=$!
  trap 'kill "$shop_pid" 2>/dev/null || true' EXIT
  for _ in $(seq 1 600); do
    grep -q "listening on" build/demo-shop.log 2>/dev/null && break
    kill -0 "$shop_pid" 2>/dev/null || { cat build/demo-shop.log; exit 1; }
    sleep 0.1
  done
fi
build/bin/dunvik-trader "$@"
