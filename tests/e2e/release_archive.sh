#!/bin/bash
# The release archive as a Windows user meets it: unzipped into the
# Downloads of a user "Jiří Novák" among a file already there, it adds one
# folder Tikavo_T, and the program started from there shows today's name
# from the list beside it in the front window's title, whatever the
# system's code page.
# Runs inside the Wine harness (DISPLAY, WINEPREFIX set):
#   release_archive.sh ARCHIVE TITLED_WINDOW_EXE WORK_DIR
set -uo pipefail
archive=${1:?usage: release_archive.sh ARCHIVE TITLED_WINDOW_EXE WORK_DIR}
titled_window=${2:?}
work=${3:?}

downloads="$work/Users/Jiří Novák/Downloads"
folder="$downloads/Tikavo_T"
rm -rf "$work"
mkdir -p "$downloads"
touch "$downloads/faktura.pdf"

started=()
cleanup() {
    local pid
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
# What a run killed half-way may have left behind goes first.
wine taskkill /f /im Tikavo_T.exe /im titled_window.exe >/dev/null 2>&1 || true
fail() { echo "FAIL: $*"; exit 1; }

unzip -q "$archive" -d "$downloads" || fail "the archive does not unzip"
added=$(cd "$downloads" && ls -A | grep -vxF faktura.pdf | tr '\n' ' ')
[ "$added" = "Tikavo_T " ] || fail "the archive adds \"$added\" to Downloads, not one folder Tikavo_T"
for f in Tikavo_T.exe jmena.txt CTIMNE.txt; do
    [ -f "$folder/$f" ] || fail "$f is missing from the archive's folder"
done
echo "ok: unzipped into $folder"

name_for() {   # the list's name for a date given as DD.MM.
    sed '1s/^\xEF\xBB\xBF//' "$folder/jmena.txt" | tr -d '\r' | grep -m1 "^$1;" | cut -d';' -f2
}

wine "$titled_window" 60 60 "Dopis.txt" >/dev/null 2>&1 &
started+=($!)
(cd "$folder" && exec wine ./Tikavo_T.exe >/dev/null 2>&1) &
started+=($!)

seen=
for _ in $(seq 1 80); do
    sleep 0.1
    seen=$(xdotool search --name '^Dopis\.txt' getwindowname %@ 2>/dev/null | head -1)
    for day in "$(date +%d.%m.)" "$(date -d '-5 sec' +%d.%m.)"; do
        name=$(name_for "$day")
        [ -n "$name" ] || fail "the list has no name for $day"
        if [[ $seen == "Dopis.txt  * "*" * $name *" ]]; then
            echo "ok: the title reads \"$seen\""
            exit 0
        fi
    done
done
fail "no title with today's name within 8 s; last seen \"$seen\""
