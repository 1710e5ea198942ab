#!/bin/bash
# Runs Tikavo_T.exe and the floor program one after the other under Wine, each
# for a while decorating a window of its own, and prints CPU time per tick and
# peak resident memory of each, and their ratios; and from every title the
# window was sent, how the seconds in it keep step with the local clock.
#
#   run-wine-bench.sh BUILD_DIR [SECONDS [OTHER_EXE LABEL]]
# OTHER_EXE, another build of Tikavo_T.exe (LABEL says which), is measured
# beside the first.
set -euo pipefail
build=$(cd "${1:?build dir of the windows preset}" && pwd)
seconds=${2:-60}
other=${3:+$(cd "$(dirname "$3")" && pwd)/$(basename "$3")}
label=${4:-other}
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
            if { tr '\0' '\n' < "/proc/$pid/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$state/prefix"; then
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

# From the front window's lines "HH:MM:SS.mmm title": the seconds shown, the
# seconds skipped, the writes of a second shown already, and the worst and
# median lag (ms) of each new second behind the local clock.
step_keeping() {
    # The clock is the last time in a title: a clock written behind a title
    # that still carries an earlier program's clock comes after it.
    awk '
    function ms(t,   p) { split(t, p, /[:.]/); return ((p[1] * 60 + p[2]) * 60 + p[3]) * 1000 + p[4] }
    {
        text = substr($0, 14); shown = ""
        while (match(text, /[0-9][0-9]:[0-9][0-9]:[0-9][0-9]/)) {
            shown = substr(text, RSTART, 8); text = substr(text, RSTART + 8)
        }
        if (shown == "") next
        second = int(ms(shown ".000") / 1000)
        if (n > 0) {
            d = second - last
            if (d < -43200) d += 86400
            if (d == 0) { twice++; next }
            if (d > 1) skipped += d - 1
        }
        lag = ms($1) - second * 1000
        if (lag < -43200000) lag += 86400000
        lags[++n] = lag; last = second
    }
    END {
        for (i = 2; i <= n; i++)
            for (j = i; j > 1 && lags[j - 1] > lags[j]; j--) { t = lags[j]; lags[j] = lags[j - 1]; lags[j - 1] = t }
        printf "%d %d %d %d %d\n", n, skipped, twice, n ? lags[n] : -1, n ? lags[int((n + 1) / 2)] : -1
    }'
}

measure() {
    local path=$1
    shift
    local exe; exe=$(basename "$path")
    rm -rf "$work"; mkdir -p "$work"
    cp "$path" "$build/jmena.txt" "$work/"
    (cd "$work" && run setsid wine "$exe" "$@" >/dev/null 2>&1 </dev/null &)
    local pid; pid=$(pid_of "$exe")
    sleep 3                                  # start-up is not part of a tick
    local before; before=$(cpu_ns "$pid")
    local first; first=$(wc -l < "$titles")
    sleep "$seconds"
    local after; after=$(cpu_ns "$pid")
    local last; last=$(wc -l < "$titles")
    local hwm; hwm=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    local anon; anon=$(awk '/RssAnon/ {print $2}' "/proc/$pid/status")
    kill "$pid" 2>/dev/null || true
    sleep 1
    # CPU microseconds over the run, peak resident KiB, private KiB; the
    # seconds in the title over the same run.
    echo "$(( (after - before) / 1000 )) $hwm $anon $(sed -n "$((first + 1)),${last}p" "$titles" | step_keeping)"
}

# One window in front for all the programs, writing down the titles it is sent.
front=$build/bench-front
titles=$front/titles.log
rm -rf "$front"; mkdir -p "$front"
cp "$build/frontwindow.exe" "$front/"
(cd "$front" && run setsid wine frontwindow.exe titles.log >/dev/null 2>&1 </dev/null &)
pid_of frontwindow.exe >/dev/null
sleep 1

read -r tikavo_us tikavo_kib tikavo_anon tikavo_steps < <(measure "$build/Tikavo_T.exe")
if [ -n "$other" ]; then
    read -r other_us other_kib other_anon other_steps < <(measure "$other")
fi
read -r floor_us floor_kib floor_anon floor_steps < <(measure "$build/floor.exe")
read -r tray_us tray_kib tray_anon tray_steps < <(measure "$build/floor.exe" /tray)
if [ -z "${tikavo_kib:-}" ] || [ -z "${floor_kib:-}" ] || [ -z "${tray_kib:-}" ]; then
    echo "a program could not be measured" >&2
    exit 1
fi

awk -v s="$seconds" -v tm="$tikavo_us" -v tk="$tikavo_kib" -v ta="$tikavo_anon" \
    -v fm="$floor_us" -v fk="$floor_kib" -v fa="$floor_anon" \
    -v rm="$tray_us" -v rk="$tray_kib" -v ra="$tray_anon" \
    -v ol="$label" -v om="${other_us:-}" -v ok="${other_kib:-}" -v oa="${other_anon:-}" 'BEGIN {
    printf "Under Wine, %d s each, one tick a second:\n", s
    printf "  %-26s CPU %7.1f us/tick   peak RSS %6d KiB   private %6d KiB\n", "Tikavo_T.exe", tm / s, tk, ta
    if (om != "")
        printf "  %-26s CPU %7.1f us/tick   peak RSS %6d KiB   private %6d KiB\n", "Tikavo_T.exe (" ol ")", om / s, ok, oa
    printf "  %-26s CPU %7.1f us/tick   peak RSS %6d KiB   private %6d KiB\n", "floor.exe", fm / s, fk, fa
    printf "  %-26s CPU %7.1f us/tick   peak RSS %6d KiB   private %6d KiB\n", "floor.exe /tray (+window, icon)", rm / s, rk, ra
    printf "  CPU ratio     %.2f x the floor (target <= 1.2)\n", tm / fm
    if (om != "")
        printf "                %.2f x the floor for Tikavo_T.exe (%s)\n", om / fm, ol
    printf "  memory ratio  %.2f x the floor (target <= 1.1); %.2f x the floor with a window and tray icon\n", tk / fk, tk / rk
}'
echo "The seconds in the title against the local clock, from every title written (target: none skipped,"
echo "none twice, worst lag under 50 ms):"
steps() {
    read -r shown skipped twice worst median <<< "$2"
    printf "  %-26s %3d seconds shown, %d skipped, %d twice; lag of a new second worst %d ms, median %d ms\n" \
        "$1" "$shown" "$skipped" "$twice" "$worst" "$median"
}
steps Tikavo_T.exe "$tikavo_steps"
[ -z "$other" ] || steps "Tikavo_T.exe ($label)" "$other_steps"
steps floor.exe "$floor_steps"
steps "floor.exe /tray" "$tray_steps"
