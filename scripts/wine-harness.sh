#!/bin/bash
# The Wine harness: a private Wine prefix, an X display and a persistent
# wineserver for one state folder (one per build tree), never ~/.wine.
#
#   wine-harness.sh up STATE         prepare the prefix, start Xvfb and the wineserver
#   wine-harness.sh down STATE       end the wineserver (and every program in the
#                                    prefix) and Xvfb, by pid
#   wine-harness.sh exec STATE CMD…  run CMD in the harness's environment
#
# With TIKAVO_USE_DISPLAY=1, "up" uses the current $DISPLAY instead of starting
# an Xvfb of its own.
set -euo pipefail

cmd=${1:?usage: wine-harness.sh up|down|exec STATE [CMD...]}
state=${2:?usage: wine-harness.sh up|down|exec STATE [CMD...]}
shift 2
mkdir -p "$state"
state=$(cd "$state" && pwd)
envfile=$state/env

log() { echo "wine-harness: $*" >&2; }

write_env() {
    cat > "$envfile.tmp" <<ENV
export DISPLAY=$1
export WINEPREFIX=$state/prefix
export WINEARCH=win32
export WINEDEBUG=-all
export LOCPATH=$state/locale
export LC_ALL=cs_CZ.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv=d;winemenubuilder.exe=d"
ENV
    mv "$envfile.tmp" "$envfile"
}

start_xvfb() {
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset \
            >"$state/xvfb.log" 2>&1 </dev/null &
        local pid=$!
        local i
        for i in $(seq 1 100); do
            if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
                echo "$pid" > "$state/xvfb.pid"
                echo ":$n"
                return 0
            fi
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$pid" 2>/dev/null || true
    done
    log "no free X display could be started"
    return 1
}

case $cmd in
up)
    # A Czech locale of our own: Wine then runs with the ANSI code page 1250.
    if [ ! -e "$state/locale/cs_CZ.UTF-8/LC_CTYPE" ]; then
        mkdir -p "$state/locale"
        localedef -i cs_CZ -f UTF-8 "$state/locale/cs_CZ.UTF-8" 2>/dev/null || \
            [ -e "$state/locale/cs_CZ.UTF-8/LC_CTYPE" ]
    fi
    if [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; then
        log "already up"
        exit 0
    fi
    if [ "${TIKAVO_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
        display=$DISPLAY
        rm -f "$state/xvfb.pid"
    else
        display=$(start_xvfb)
    fi
    write_env "$display"
    # shellcheck disable=SC1090
    . "$envfile" 2>/dev/null
    if [ ! -f "$WINEPREFIX/.tikavo-ready" ]; then
        log "creating the Wine prefix $WINEPREFIX"
        rm -rf "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        # Without a window manager, Wine would otherwise hold every hide or
        # close of a managed window for two seconds.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        # A crash ends the process (exit code 5) instead of waiting in a dialog.
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        wineserver -k || true
        wineserver -w || true
        touch "$WINEPREFIX/.tikavo-ready"
    fi
    # Wine's own fonts (Marlett draws the caption buttons, Tahoma the
    # dialogs): Debian's Wine 8 looks for them under its data folder by a
    # path it cannot resolve ("\usr\share\wine\../fonts"), so without this
    # copy the buttons show as the letters "0 1 r". Prefixes made before are
    # given them here too.
    if [ ! -e "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ] && [ -d /usr/share/wine/fonts ]; then
        mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
        cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
    (wineserver -p >/dev/null 2>&1 </dev/null &)
    # Wait until the persistent server answers.
    wine cmd /c exit 0 >/dev/null 2>&1 </dev/null || true
    log "up: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"
    ;;
down)
    if [ -f "$envfile" ]; then
        # shellcheck disable=SC1090
        . "$envfile" 2>/dev/null
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
    fi
    if [ -f "$state/xvfb.pid" ]; then
        pid=$(cat "$state/xvfb.pid")
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
        rm -f "$state/xvfb.pid"
    fi
    rm -f "$envfile"
    log "down"
    ;;
exec)
    if [ ! -f "$envfile" ]; then
        log "not up: run '$0 up $state' first"
        exit 125
    fi
    # shellcheck disable=SC1090
    . "$envfile" 2>/dev/null
    exec "$@"
    ;;
*)
    log "unknown command $cmd"
    exit 2
    ;;
esac
