#!/bin/bash
# The Wine harness on a state folder whose path holds spaces and Czech
# letters: a start that fails ends what it started, a program runs in a
# session, and the end of the session leaves nothing of it running.
#   harness_test.sh HARNESS WORK_DIR
set -uo pipefail
harness=${1:?usage: harness_test.sh HARNESS WORK_DIR}
work=${2:?}
state="$work/stav harnessu – ž"
fail() { echo "FAIL: $*"; bash "$harness" down "$state" >/dev/null 2>&1; exit 1; }
# Whether the Xvfb of that process id still runs.
xvfb_runs() { [ "$(cat "/proc/$1/comm" 2>/dev/null)" = Xvfb ]; }
prefix_processes() {
    local environ
    for environ in /proc/[0-9]*/environ; do
        { tr '\0' '\n' < "$environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$state/prefix" && echo "${environ//[^0-9]/}"
    done
}
rm -rf "$work"
mkdir -p "$work"

# The prefix cannot be made: its maker fails once the display is up (and
# says which Xvfb serves it).
mkdir -p "$work/failing"
printf '#!/bin/sh\ncat "$(dirname "$WINEPREFIX")/xvfb.pid" > "%s/xvfb.pid"\nexit 1\n' "$work" > "$work/failing/wineboot"
chmod +x "$work/failing/wineboot"
PATH="$work/failing:$PATH" bash "$harness" fresh "$state" 2>/dev/null && fail "a start whose prefix cannot be made succeeded"
xvfb=$(cat "$work/xvfb.pid" 2>/dev/null) || fail "the failing start never got as far as its display"
! xvfb_runs "$xvfb" || fail "a failed start left its Xvfb ($xvfb) running"
[ -z "$(prefix_processes)" ] || fail "a failed start left processes running: $(prefix_processes)"
echo "ok: a failed start ends what it started"

bash "$harness" fresh "$state" 2>/dev/null || fail "the harness did not come up in \"$state\""
said=$(bash "$harness" exec "$state" wine cmd /c echo hotovo 2>/dev/null | tr -d '\r')
[ "$said" = hotovo ] || fail "a program in the session said \"$said\""
[ -n "$(prefix_processes)" ] || fail "no wineserver runs for the session"
xvfb=$(cat "$state/xvfb.pid")
xvfb_runs "$xvfb" || fail "no Xvfb serves the session"
echo "ok: a program runs in \"$state\""

bash "$harness" down "$state" 2>/dev/null
! xvfb_runs "$xvfb" || fail "Xvfb ($xvfb) still runs after down"
[ -z "$(prefix_processes)" ] || fail "processes still run after down: $(prefix_processes)"
echo "ok: down leaves nothing running"
rm -rf "$work"
