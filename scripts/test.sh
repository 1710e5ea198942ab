#!/bin/bash
# Builds everything and runs every test layer: core (natively under the
# sanitizers with the three-year soak, once more under valgrind's memcheck,
# and again under Wine), fuzz, win and e2e with the release archive.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh || exit 1

# However the run ends (passed, failed or interrupted), nothing of it stays
# running: every Wine session of the build tree is taken down (but the one
# scripts/run.sh started for the user).
end_sessions() {
    local prefix
    while IFS= read -r -d '' prefix; do
        bash scripts/wine-harness.sh down "$(dirname "$prefix")" >/dev/null 2>&1
    done < <(find build/windows -maxdepth 3 -type d -name prefix -not -path build/windows/run/prefix -print0 2>/dev/null)
}
trap end_sessions EXIT
trap 'exit 130' INT TERM

summary=()
status=0
run_tree() {
    local preset=$1
    cmake --preset "$preset" >/dev/null || { status=1; summary+=("$preset: configure failed"); return; }
    cmake --build --preset "$preset" || { status=1; summary+=("$preset: build failed"); return; }
    local log
    log=$(mktemp)
    ctest --preset "$preset" 2>&1 | tee "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
    summary+=("$preset: $(grep -E 'tests passed|tests failed' "$log" | tail -1)")
    local passed total
    total=$(sed -nE 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/p;s/.*tests passed, ([0-9]+) tests failed out of ([0-9]+).*/\2/p' "$log" | tail -1)
    failed=$(sed -nE 's/.*, ([0-9]+) tests failed out of [0-9]+.*/\1/p' "$log" | tail -1)
    all_total=$((all_total + ${total:-0}))
    all_failed=$((all_failed + ${failed:-0}))
    rm -f "$log"
}

all_total=0
all_failed=0
run_tree native
run_tree plain
run_tree windows

echo
echo "== Summary =="
printf '%s\n' "${summary[@]}"
echo "$((all_total - all_failed)) passed, $all_failed failed"
exit $status
