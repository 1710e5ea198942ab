#!/bin/bash
# Measures what one tick costs: the rules natively against a bare open and
# close of the list (Google Benchmark), then Tikavo_T.exe against the floor
# program under Wine (CPU per tick and peak memory), and how the seconds in
# the title keep step with the local clock. Prints the figures and their
# ratios.
#   scripts/bench.sh [SECONDS_UNDER_WINE [REVISION]]   (default 60)
# With a revision (say, the commit before a change), Tikavo_T.exe built from
# it is measured under Wine beside the current one.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh libbenchmark-dev
cmake --preset plain >/dev/null
cmake --build --preset plain --target tick_bench >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target Tikavo_T floor frontwindow >/dev/null

other=()
if [ -n "${2:-}" ]; then
    rev=$(git rev-parse --short "$2^{commit}")
    src=build/bench-revision/$rev
    if [ ! -f "$src/build/windows/Tikavo_T.exe" ]; then
        rm -rf "$src"
        mkdir -p "$src"
        git archive "$rev" | tar -x -C "$src"
        (cd "$src" && cmake --preset windows >/dev/null && cmake --build --preset windows --target Tikavo_T >/dev/null)
    fi
    other=("$src/build/windows/Tikavo_T.exe" "$rev")
fi

echo "== One ordinary tick of the rules, natively =="
build/plain/bench/tick_bench --benchmark_color=false
echo
echo "== Tikavo_T.exe against the floor, under Wine =="
bash bench/run-wine-bench.sh build/windows "${1:-60}" "${other[@]}"
