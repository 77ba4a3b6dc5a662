#!/usr/bin/env bash
# Builds the program and starts it; its files (Tables, Vendrix.ini, ...) live beside it in
# build/bin.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRADER_BUILD_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"
exec build/bin/dunvik-trader "$@"
