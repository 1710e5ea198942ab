#!/bin/bash
# The Wine harness: a private Wine prefix, an X display and a persistent
# wineserver for one state folder (one per build tree), never ~/.wine. The
# state folder's path may hold spaces and any letters.
#
#   wine-harness.sh up STATE [LOCALE]    prepare the prefix, start Xvfb and the
#                                        wineserver, or use those already up;
#                                        LOCALE (default cs_CZ.UTF-8, ANSI code
#                                        page 1250) is the Unix locale every
#                                        program runs in, e.g. en_US.UTF-8 for
#                                        code page 1252
#   wine-harness.sh fresh STATE [LOCALE] the same, after ending whatever an
#                                        earlier session of STATE left running
#   wine-harness.sh down STATE           end every program in the prefix, its
#                                        wineserver and Xvfb
#   wine-harness.sh exec STATE CMD…      run CMD in the harness's environment
#
# A failed "up" ends everything it started. With TIKAVO_USE_DISPLAY=1, "up"
# uses the current $DISPLAY instead of starting an Xvfb of its own. With
# TIKAVO_LOGPIXELS=N, a new prefix gets the display scale N/96 (144: 150 %).
set -euo pipefail

cmd=${1:?usage: wine-harness.sh up|fresh|down|exec STATE [...]}
state=${2:?usage: wine-harness.sh up|fresh|down|exec STATE [...]}
shift 2
mkdir -p "$state"
state=$(cd "$state" && pwd)
envfile=$state/env
prefix=$state/prefix

log() { echo "wine-harness: $*" >&2; }

write_env() {
    {
        printf 'export DISPLAY=%q\n' "$1"
        printf 'export WINEPREFIX=%q\n' "$prefix"
        printf 'export WINEARCH=win32\n'
        printf 'export WINEDEBUG=-all\n'
        printf 'export LOCPATH=%q\n' "$state/locale"
        printf 'export LC_ALL=%q\n' "$2"
        printf 'export WINEDLLOVERRIDES=%q\n' "mscoree,mshtml=;winealsa.drv,winepulse.drv=d;winemenubuilder.exe=d"
    } > "$envfile.tmp"
    mv "$envfile.tmp" "$envfile"
}

# The processes of this prefix: every Wine program and its wineserver.
prefix_pids() {
    local environ pid
    for environ in /proc/[0-9]*/environ; do
        pid=${environ#/proc/}
        pid=${pid%/environ}
        [ "$pid" = $$ ] && continue
        { tr '\0' '\n' < "$environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$prefix" && echo "$pid"
    done
    return 0
}

# Ends everything this state folder started, whatever state it was left in.
stop_all() {
    if [ -d "$prefix" ]; then
        WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
        WINEPREFIX=$prefix timeout 10 wineserver -w 2>/dev/null || true
    fi
    local pids
    pids=$(prefix_pids)
    [ -z "$pids" ] || kill -9 $pids 2>/dev/null || true
    if [ -f "$state/xvfb.pid" ]; then
        local pid
        pid=$(cat "$state/xvfb.pid")
        if [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ]; then
            kill "$pid" 2>/dev/null || true
            for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
            kill -9 "$pid" 2>/dev/null || true
        fi
        rm -f "$state/xvfb.pid"
    fi
    rm -f "$envfile"
}

# Starts an Xvfb of its own on a display it picks itself (so two harnesses
# starting at once never share one) and prints that display once it answers.
start_xvfb() {
    local numberfile=$state/xvfb.display
    rm -f "$numberfile"
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        3>"$numberfile" >"$state/xvfb.log" 2>&1 </dev/null &
    local pid=$!
    echo "$pid" > "$state/xvfb.pid"
    local i number
    for i in $(seq 1 100); do
        number=$(head -1 "$numberfile" 2>/dev/null)
        if [ -n "$number" ] && DISPLAY=":$number" xdpyinfo >/dev/null 2>&1; then
            echo ":$number"
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    log "no X display could be started (see $state/xvfb.log)"
    return 1
}

case $cmd in
up|fresh)
    locale=${1:-cs_CZ.UTF-8}
    if [ "$cmd" = fresh ]; then
        stop_all
    elif [ -f "$envfile" ] && [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; then
        log "already up"
        exit 0
    fi
    trap 'status=$?; if [ $status -ne 0 ]; then log "up failed: ending what it started"; stop_all; fi' EXIT
    # A locale of our own (Czech by default): Wine takes its ANSI code page
    # from it (1250 for Czech, 1252 for English).
    if [ ! -e "$state/locale/$locale/LC_CTYPE" ]; then
        mkdir -p "$state/locale"
        localedef -i "${locale%%.*}" -f UTF-8 "$state/locale/$locale" 2>/dev/null || \
            [ -e "$state/locale/$locale/LC_CTYPE" ]
    fi
    if [ "${TIKAVO_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
        display=$DISPLAY
        rm -f "$state/xvfb.pid"
    else
        display=$(start_xvfb)
    fi
    write_env "$display" "$locale"
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
        # Read when a session starts: the server is restarted below.
        [ -z "${TIKAVO_LOGPIXELS:-}" ] || wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
            /d "$TIKAVO_LOGPIXELS" /f >/dev/null 2>&1
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
    stop_all
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
