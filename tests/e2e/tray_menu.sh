#!/bin/bash
# The tray icon, its menu and the dialogs it opens as a user meets them on
# the X display: the real Tikavo_T.exe beside a document window, driven with
# the mouse and the keyboard (xdotool). The screenshots the README shows are
# taken on the way and saved in BUILD_DIR/e2e-tray/.
#   - the icon appears in Wine's tray window, with its greeting balloon;
#     once the balloon has gone, the tray shows the icon's own image at the
#     display scale's small-icon size, not one stretched (tray-icon-100.png;
#     with SCALE 150, in a session of 150 %, tray-icon-150.png, and the run
#     ends there);
#   - the clock stands behind the document's title (decorated-title.png);
#   - a right-click on the icon opens the menu, whose items are chosen with
#     the keys; "Odpočítávání" opens the countdown dialog
#     (countdown-dialog.png); three seconds set with the keys, the countdown
#     rings in its box (countdown-ring.png), which Enter closes;
#   - "Alarm" opens the alarm dialog (alarm-dialog.png, with the alarm
#     ticked), which Escape closes;
#   - while the menu is open the document has its own title back;
#     "Před název souboru" is chosen (tray-menu.png): once the document is in
#     front again the clock stands in front of its title (which items the
#     menu greys is checked in-process);
#   - "Ukončit program?" ends the program with code 0, the tray window loses
#     the icon (Wine's tray would also drop the icon of a window that is gone;
#     that the program takes it away itself is checked in-process), and the
#     document keeps exactly its own title.
# Runs inside the Wine harness (DISPLAY, WINEPREFIX set):
#   tray_menu.sh BUILD_DIR TITLED_WINDOW_EXE [SCALE]
set -uo pipefail

build=${1:?usage: tray_menu.sh BUILD_DIR TITLED_WINDOW_EXE [SCALE]}
titled_window=${2:?usage: tray_menu.sh BUILD_DIR TITLED_WINDOW_EXE [SCALE]}
scale=${3:-100}
icon_file=$(dirname "$0")/../../res/clock.ico
out=$build/e2e-tray
[ "$scale" = 100 ] || out=$build/e2e-tray-$scale
run=$out/run
rm -rf "$out"
mkdir -p "$run"
cp "$build/Tikavo_T.exe" "$build/jmena.txt" "$run/"

document_title="Zápis.txt – Poznámkový blok"

started=()
cleanup() {
    local pid
    for pid in "${started[@]}"; do
        kill "$pid" 2>/dev/null
    done
    wait 2>/dev/null
}
trap cleanup EXIT
# What a run killed half-way may have left behind goes first.
wine taskkill /f /im Tikavo_T.exe /im titled_window.exe >/dev/null 2>&1 || true

fail() {
    echo "FAIL: $*"
    show_windows
    exit 1
}
show_windows() {
    echo "visible X windows:"
    local w
    for w in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
        echo "  $w [$(xdotool getwindowname "$w" 2>/dev/null)] $(xdotool getwindowgeometry "$w" 2>/dev/null | tr -s '\n ' ' ')"
    done
}

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# wait_for SECONDS WHAT COMMAND...: runs COMMAND every 0.1 s until it
# succeeds; its output is left in $seen. Gives up with what it last saw.
seen=
wait_for() {
    local seconds=$1 what=$2
    shift 2
    wait_for_quietly "$seconds" "$@" || fail "$what: not within ${seconds} s (last seen: ${seen:-nothing})"
}
# The same, but only says whether it came (status 1 when not).
wait_for_quietly() {
    local end=$(( $(now_ms) + $1 * 1000 ))
    shift
    until seen=$("$@" 2>&1); do
        (( $(now_ms) < end )) || return 1
        sleep 0.1
    done
}

# The visible X windows of a Windows program (by its executable's name) whose
# title matches a pattern; fails when there is none.
windows_of() {
    local program=$1 pattern=$2 w found=1
    for w in $(xdotool search --onlyvisible --classname "^$program\$" 2>/dev/null); do
        if [[ $(xdotool getwindowname "$w") =~ $pattern ]]; then
            echo "$w"
            found=0
        fi
    done
    return $found
}
# (By its name anywhere in the title: a clock killed half-way may have left it decorated.)
tray_window() { xdotool search --onlyvisible --name 'Wine System Tray' 2>/dev/null | head -1 | grep .; }
# The open popup menu: the program's only visible window, without a title.
menu_window() { windows_of tikavo_t.exe '^$'; }
# The balloon: explorer's untitled window beside its tray window.
balloon_window() { windows_of explorer.exe '^$'; }
not_visible() { ! xdotool search --onlyvisible --name '' 2>/dev/null | grep -qx "$1"; }
tray_state() { local w; w=$(tray_window) && xdotool getwindowgeometry "$w" | tr -s '\n ' ' ' || echo "hidden"; }
tray_state_is_not() { local s; s=$(tray_state); echo "$s"; [ "$s" != "$1" ]; }
tray_state_is() { local s; s=$(tray_state); echo "$s"; [ "$s" = "$1" ]; }

# The document's title, compared with what it should be.
document_title_is() { local t; t=$(xdotool getwindowname "$document"); echo "[$t]"; [ "$t" = "$1" ]; }
clock_behind() {
    local t; t=$(xdotool getwindowname "$document"); echo "[$t]"
    [[ $t == "$document_title  * "*" *" ]]
}
clock_in_front() {
    local t; t=$(xdotool getwindowname "$document"); echo "[$t]"
    [[ $t == "  * "*" * $document_title" ]]
}

# Geometry of a window into X, Y, WIDTH, HEIGHT.
geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; }

# The image of a window as the display shows it now (ROWS rows from row
# FROM when given): its signature and its number of colours.
image_of() {
    geometry "$1"
    local from=${3:-0}
    import -window root -crop "${WIDTH}x${2:-$((HEIGHT - from))}+$X+$((Y + from))" +repage png:- 2>/dev/null |
        identify -format '%# %k' png:-
}
# Painted and still: the same image twice a moment apart, and not of one
# colour (or two, like the empty screen) as a window not yet painted.
painted() {
    local a b
    a=$(image_of "$@") && sleep 0.2 && b=$(image_of "$@") || return 1
    echo "$b"
    [ "$a" = "$b" ] && [ "${b#* }" -gt 2 ]
}
# The image differs from an earlier one:  image_changed EARLIER WINDOW [ROWS [FROM]]
image_changed() { local now; now=$(image_of "${@:2}") || return 1; echo "$now"; [ "$now" != "$1" ]; }

# A screenshot of a window as the X display shows it, with Wine's frame and
# caption; only its top rows when a height is given.
screenshot_window() {
    local file=$1 window=$2
    geometry "$window"
    import -window root -crop "${WIDTH}x${3:-$HEIGHT}+$X+$Y" +repage "$file" || fail "no screenshot $file"
    echo "saved $file"
}

# A screenshot of the tray window with the open menu, cropped to both.
screenshot_menu() {
    local file=$1 tray=$2 menu=$3
    geometry "$tray"; local l=$X t=$Y r=$((X + WIDTH)) b=$((Y + HEIGHT))
    geometry "$menu"
    (( X < l )) && l=$X; (( Y < t )) && t=$Y
    (( X + WIDTH > r )) && r=$((X + WIDTH)); (( Y + HEIGHT > b )) && b=$((Y + HEIGHT))
    l=$((l > 8 ? l - 8 : 0)); t=$((t > 8 ? t - 8 : 0))
    import -window root -crop "$((r + 8 - l))x$((b + 8 - t))+$l+$t" +repage "$file" ||
        fail "no screenshot $file"
    echo "saved $file"
}

# Right-clicks the icon (the first in the tray window) and waits for the menu.
open_menu() {
    local tray=$1
    geometry "$tray"
    xdotool mousemove $((X + 12)) $((Y + HEIGHT - 12)) click 3
    wait_for 10 "the menu opens on a right-click on the icon" menu_window
    menu=$seen
}

# Keys go to the window with the X input focus. Without a window manager it
# stays with the window that had it, where Windows gives it to the menu or
# box that opens: the test gives it.
has_focus() { local f; f=$(xdotool getwindowfocus 2>/dev/null); echo "focus on $f"; [ "$f" = "$1" ]; }
take_focus() {
    xdotool windowfocus "$1" 2>/dev/null
    wait_for 5 "$2: the keyboard focus" has_focus "$1"
}

# Chooses the item of the open menu with the given text with the keys, taking
# a screenshot of it highlighted when a file is given.
choose() {
    local menu=$1 item shot=${3:-} before
    item=$(wine "$(dirname "$titled_window")/menu_item.exe" "$(winepath -w "$run/Tikavo_T.exe")" "$2" | tr -d '\r') &&
        [ -n "$item" ] ||
        fail "no item \"$2\" in the menu"
    take_focus "$menu" "the menu"
    if [ -n "$shot" ]; then
        wait_for 5 "the menu has painted" painted "$menu"
        before=$seen
    fi
    for (( ; item > 0; item-- )); do xdotool key Down; done
    if [ -n "$shot" ]; then
        wait_for 10 "the menu highlights the item" image_changed "$before" "$menu"
        wait_for 5 "the highlighted item has painted" painted "$menu"
        screenshot_menu "$shot" "$tray" "$menu"
    fi
    xdotool key Return
    wait_for 10 "the menu closes once an item is chosen" not_visible "$menu"
}

# --- A document window in front --------------------------------------------
wine "$titled_window" 300 400 "$document_title" 800 >/dev/null 2>&1 &
started+=($!)
wait_for 20 "the document window appears" windows_of titled_window.exe "^$document_title\$"
document=$seen
tray_before=$(tray_state)
echo "document window $document; tray before the program: $tray_before"

# --- The program starts: its icon and the greeting balloon ------------------
cd "$run" || fail "no folder $run"
wine Tikavo_T.exe >/dev/null 2>&1 &
program=$!
started+=($program)

wait_for 20 "the icon appears in Wine's tray window" tray_state_is_not "$tray_before"
wait_for 5 "the tray window shows" tray_window
tray=$seen
echo "tray window $tray: $(tray_state)"

wait_for 15 "the greeting balloon appears" balloon_window
balloon=$seen
wait_for 5 "the balloon has painted" painted "$balloon"
geometry "$balloon"
import -window root -crop "$((X + WIDTH + 8))x$((Y + HEIGHT + 8))+0+0" +repage "$out/tray-balloon.png"
# It lies over the icon for its ten seconds; the menu comes after it.
wait_for 30 "the balloon goes after its time-out" not_visible "$balloon"

# The icon's image of the small-icon size for the scale (16 or 24 pixels),
# over the tray's white, found in the tray exactly.
size=$((16 * scale / 100))
layer=$(identify -format '%p %w\n' "$icon_file" | awk -v size="$size" '$2 == size { print $1; exit }')
convert "$icon_file[$layer]" -background white -flatten "$run/icon.png" || fail "no ${size}-pixel image in $icon_file"
icon_shown() {
    geometry "$tray"
    import -window root -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$out/tray-icon-$scale.png" &&
        compare -metric AE -fuzz 3% -subimage-search "$out/tray-icon-$scale.png" "$run/icon.png" null: 2>&1 | grep '^0 @'
}
wait_for 10 "the tray shows the icon's ${size}-pixel image" icon_shown
echo "saved $out/tray-icon-$scale.png: the ${size}-pixel image at $seen"
if [ "$scale" != 100 ]; then
    echo "ok"
    exit 0
fi

wait_for 10 "the clock stands behind the document's title" clock_behind
echo "the document's title: $seen"
# The caption buttons are drawn with Wine's Marlett font; without it they
# would show as letters.
[ -e "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ] ||
    fail "the Wine prefix has no Marlett font: the caption buttons would show as \"0 1 r\""
# A new title painted in the caption (the clock's next second will do).
caption=$(image_of "$document" 24)
wait_for 10 "the caption paints the clock" image_changed "$caption" "$document" 24
wait_for 5 "the caption has painted" painted "$document" 24
screenshot_window "$out/decorated-title.png" "$document" 24

# --- The dialogs: "Odpočítávání" and "Alarm" ---------------------------------
# Waits for the program's dialog or box whose caption holds a text (the
# clock may have been written beside it), until it has the keyboard focus
# and has painted; leaves it in $dialog.
#   wait_for_dialog SECONDS CAPTION_TEXT WHAT
wait_for_dialog() {
    wait_for "$1" "$3" windows_of tikavo_t.exe "$2"
    dialog=$seen
    wait_for_quietly 2 has_focus "$dialog" || take_focus "$dialog" "$3"
    wait_for 5 "$3: painted" painted "$dialog"
}

open_menu "$tray"
choose "$menu" "Odpočítávání"
wait_for_dialog 10 "Timerset" "the countdown dialog opens from \"Odpočítávání\""
screenshot_window "$out/countdown-dialog.png" "$dialog"
# From OK past CANCEL to the picker; 00:01:00 -> 00:00:03: the hours, the
# minutes one down, the seconds three up; Enter is OK.
xdotool key Tab Tab Right Right Down Right Up Up Up Return
wait_for 10 "the countdown dialog closes on Enter" not_visible "$dialog"
wait_for_dialog 30 "Alaram Tikavo_T" "the countdown of three seconds rings"
screenshot_window "$out/countdown-ring.png" "$dialog"
xdotool key Return
wait_for 10 "the ring box closes on Enter" not_visible "$dialog"

open_menu "$tray"
choose "$menu" "Alarm"
wait_for_dialog 10 "AlarmSet" "the alarm dialog opens from \"Alarm\""
# From OK past CANCEL to the check box: ticked, it enables the picker (the
# dialog below its caption changes).
xdotool key Tab Tab
wait_for 5 "the focus on the check box painted" painted "$dialog" "" 30
client=$seen
xdotool key space
wait_for 10 "the alarm ticked" image_changed "$client" "$dialog" "" 30
wait_for 5 "the alarm dialog has painted" painted "$dialog"
screenshot_window "$out/alarm-dialog.png" "$dialog"
xdotool key Escape
wait_for 10 "the alarm dialog closes on Escape" not_visible "$dialog"
kill -0 "$program" 2>/dev/null || fail "the program ended after the dialogs"

# --- The menu: "Před název souboru" ------------------------------------------
open_menu "$tray"
echo "menu window $menu: $(xdotool getwindowgeometry "$menu" | tr -s '\n ' ' ')"
# The menu has made the hidden main window the foreground window: from the
# next tick on the document has its own title back.
wait_for 10 "the document has its own title back while the menu is open" document_title_is "$document_title"
choose "$menu" "Před název souboru" "$out/tray-menu.png"
kill -0 "$program" 2>/dev/null || fail "the program ended after choosing \"Před název souboru\""

# The menu made the hidden main window the foreground window; a click on the
# document's caption brings the document back to the front.
geometry "$document"
xdotool mousemove $((X + WIDTH / 2)) $((Y + 10)) click 1
wait_for 10 "the clock stands in front of the document's title" clock_in_front
echo "the document's title: $seen"

# --- The menu again: "Ukončit program?" --------------------------------------
open_menu "$tray"
choose "$menu" "Ukončit program?"
program_ended() { ! kill -0 "$program" 2>/dev/null; }
wait_for 10 "the program ends after \"Ukončit program?\"" program_ended
wait "$program"
code=$?
[ "$code" -eq 0 ] || fail "the program ended with code $code instead of 0"
echo "the program ended with code 0"

wait_for 10 "the tray window loses the icon" tray_state_is "$tray_before"
echo "tray after the program: $(tray_state)"
document_title_is "$document_title" >/dev/null ||
    fail "the document's title is [$(xdotool getwindowname "$document")] instead of [$document_title]"
echo "ok"
