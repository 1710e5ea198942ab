#!/bin/bash
# Builds Tikavo_T.exe and starts it under Wine: on the current $DISPLAY, or on
# a private Xvfb when there is none. "scripts/run.sh stop" ends it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
state=$root/build/windows/run

if [ "${1:-}" = stop ]; then
    bash scripts/wine-harness.sh down "$state"
    echo "Tikavo_T stopped."
    exit 0
fi

bash scripts/deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target Tikavo_T

if [ -n "${DISPLAY:-}" ]; then
    TIKAVO_USE_DISPLAY=1 bash scripts/wine-harness.sh up "$state"
else
    bash scripts/wine-harness.sh up "$state"
fi
run() { bash "$root/scripts/wine-harness.sh" exec "$state" "$@"; }
# Starts a Windows program in the background, detached from this terminal.
start() {
    local dir=$1
    shift
    (cd "$dir" && exec bash "$root/scripts/wine-harness.sh" exec "$state" setsid wine "$@") \
        </dev/null >/dev/null 2>&1 &
}

if [ -n "$(run sh -c 'xdotool search --class "tikavo_t.exe" 2>/dev/null' || true)" ]; then
    echo "Tikavo_T already runs here."
else
    start build/windows Tikavo_T.exe
fi

# A window for the clock to decorate, so there is something to see at once.
start . notepad
title=
for _ in $(seq 1 40); do
    sleep 0.25
    title=$(run sh -c 'xdotool search --class notepad getwindowname %@ 2>/dev/null' | grep -F ' * ' | head -1 || true)
    [ -n "$title" ] && break
done

display=$(run sh -c 'echo $DISPLAY')
echo
echo "Tikavo_T runs under Wine on display $display (Wine prefix $state/prefix)."
if [ -n "$title" ]; then
    echo "The notepad window it decorates reads:"
    echo "    $title"
fi
if command -v import >/dev/null && run import -window root "$root/build/windows/run-screen.png" 2>/dev/null; then
    echo "Screenshot of the screen: build/windows/run-screen.png"
fi
echo "Its tray icon offers the menu (right button); \"Ukončit program?\" ends it."
echo "To stop it and its Wine session: scripts/run.sh stop"
