#!/bin/bash
# Measures what one tick costs: the rules natively against a bare open and
# close of the list (Google Benchmark), then Tikavo_T.exe against the floor
# program under Wine (CPU per tick and peak memory). Prints the figures and
# their ratios.
#   scripts/bench.sh [SECONDS_UNDER_WINE]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake --preset plain >/dev/null
cmake --build --preset plain --target tick_bench >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target Tikavo_T floor frontwindow >/dev/null

echo "== One ordinary tick of the rules, natively =="
build/plain/bench/tick_bench --benchmark_color=false
echo
echo "== Tikavo_T.exe against the floor, under Wine =="
bash bench/run-wine-bench.sh build/windows "${1:-60}"
