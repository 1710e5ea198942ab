#!/bin/bash
# Runs Tikavo_T.exe and the floor program one after the other under Wine, each
# for a while decorating the same kind of window, and prints CPU time per tick
# and peak resident memory of each, and their ratios.
#
#   run-wine-bench.sh BUILD_DIR [SECONDS]
set -euo pipefail
build=$(cd "${1:?build dir of the windows preset}" && pwd)
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
harness=$here/../scripts/wine-harness.sh
state=$build/bench-wine
work=$build/bench-run

bash "$harness" up "$state" >/dev/null 2>&1
trap 'bash "$harness" down "$state" >/dev/null 2>&1' EXIT
run() { bash "$harness" exec "$state" "$@"; }

# Linux pid of the Wine process of this prefix running a given .exe (other
# Wine sessions on the machine may run programs of the same name).
pid_of() {
    local name=$1 pid
    for _ in $(seq 1 100); do
        for pid in $(pgrep -f "(^|[\\/])$name( |$)" || true); do
            if tr '\0' '\n' < "/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$state/prefix"; then
                echo "$pid"
                return
            fi
        done
        sleep 0.1
    done
    echo "no process for $name" >&2
    return 1
}

# CPU time of all the process's threads so far, in nanoseconds.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ns += $1} END {printf "%d", ns}'; }

measure() {
    local exe=$1
    shift
    rm -rf "$work"; mkdir -p "$work"
    cp "$build/$exe" "$build/jmena.txt" "$work/"
    (cd "$work" && run setsid wine "$exe" "$@" >/dev/null 2>&1 </dev/null &)
    local pid; pid=$(pid_of "$exe")
    sleep 3                                  # start-up is not part of a tick
    local before; before=$(cpu_ns "$pid")
    sleep "$seconds"
    local after; after=$(cpu_ns "$pid")
    local hwm; hwm=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    local anon; anon=$(awk '/RssAnon/ {print $2}' "/proc/$pid/status")
    kill "$pid" 2>/dev/null || true
    sleep 1
    # CPU microseconds over the run, peak resident KiB, private KiB.
    echo "$(( (after - before) / 1000 )) $hwm $anon"
}

(cd "$build" && run setsid wine frontwindow.exe >/dev/null 2>&1 </dev/null &)
pid_of frontwindow.exe >/dev/null
sleep 1

read -r tikavo_us tikavo_kib tikavo_anon < <(measure Tikavo_T.exe)
read -r floor_us floor_kib floor_anon < <(measure floor.exe)
read -r tray_us tray_kib tray_anon < <(measure floor.exe /tray)
if [ -z "${tikavo_kib:-}" ] || [ -z "${floor_kib:-}" ] || [ -z "${tray_kib:-}" ]; then
    echo "a program could not be measured" >&2
    exit 1
fi

awk -v s="$seconds" -v tm="$tikavo_us" -v tk="$tikavo_kib" -v ta="$tikavo_anon" \
    -v fm="$floor_us" -v fk="$floor_kib" -v fa="$floor_anon" \
    -v rm="$tray_us" -v rk="$tray_kib" -v ra="$tray_anon" 'BEGIN {
    printf "Under Wine, %d s each, one tick a second:\n", s
    printf "  %-26s CPU %7.1f us/tick   peak RSS %6d KiB   private %6d KiB\n", "Tikavo_T.exe", tm / s, tk, ta
    printf "  %-26s CPU %7.1f us/tick   peak RSS %6d KiB   private %6d KiB\n", "floor.exe", fm / s, fk, fa
    printf "  %-26s CPU %7.1f us/tick   peak RSS %6d KiB   private %6d KiB\n", "floor.exe /tray (+window, icon)", rm / s, rk, ra
    printf "  CPU ratio     %.2f x the floor (target <= 1.2)\n", tm / fm
    printf "  memory ratio  %.2f x the floor (target <= 1.1); %.2f x the floor with a window and tray icon\n", tk / fk, tk / rk
}'
