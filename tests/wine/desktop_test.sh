#!/bin/bash
# The Windows desktop program under Wine on its own Xvfb, driven from the X
# side as a player would: the setup on a fresh program folder, the main
# window and the tray icon, the Options dialog refusing a bad value and
# storing a good one, a stand-in game window switching monitoring on and
# off, a command typed into it answered through hh.cfg without a dump, and
# Exit. With a fourth argument, screenshots of every window land there.
#   desktop_test.sh WINE_RUN HANDLEHOUND_EXE STANDIN_EXE [SCREENSHOT_DIR]
set -u
run=$1 exe=$2 standin=$3 shots=${4:-}
work=$(mktemp -d)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    [ -f "$work/hh.err" ] && grep -v '^ALSA' "$work/hh.err" | tail -5
    [ -n "$shots" ] && cp "$work/hh.err" "$shots/hh.err" && cp -r "$game" "$work/pd" "$shots/"
    shot failed
    exit 1
}
# Waits up to $1 seconds for a window whose whole title is $2; prints its id.
window() {
    local id
    for ((t = 0; t < $1 * 5; t++)); do
        id=$(xdotool search --onlyvisible --name "^$2\$" 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}
count() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }
# Waits up to $1 seconds for hh.cfg to match the pattern $2.
answer() {
    for ((t = 0; t < $1 * 5; t++)); do
        grep -Eq "$2" "$game/baseq3/hh.cfg" 2>/dev/null && return 0
        sleep 0.2
    done
    return 1
}
focus() { xdotool windowactivate --sync "$1" 2>/dev/null; sleep 0.4; }
shot() { [ -n "$shots" ] && import -window root "$shots/$1.png"; }
winpath() { echo "Z:${1//\//\\}"; } # Wine's drive Z: is /

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
exec 3>&-
for ((t = 0; t < 50; t++)); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
openbox >/dev/null 2>&1 &
pids+=($!)
# Wine docks its tray icons in an XEMBED tray; trayer is one.
trayer --edge top --align right --widthtype pixel --width 80 --height 24 --tint 0xdddddd \
    --transparent false >/dev/null 2>&1 &
pids+=($!)

game=$work/game
mkdir -p "$game/baseq3" "$game/osp" "$work/pd"
echo pak >"$game/baseq3/pak0.pk3"
echo pak >"$game/osp/zz_osp.pk3"
ini=$work/pd/handleHound.ini

# A fresh program folder: the setup comes first.
WINEDLLOVERRIDES="mscoree,mshtml=,winealsa.drv=" "$run" "$exe" --quiet \
    --program-dir "$(winpath "$work/pd")" >"$work/hh.out" 2>"$work/hh.err" &
pids+=($!)
setup=$(window 90 "Handlehound Setup") || fail "no setup dialog"
focus "$setup"
xdotool type --delay 15 "$(winpath "$game")"
shot setup
xdotool key Return
main=$(window 20 "Handlehound") || fail "no main window after the setup"
grep -q '^Path=.*osp.handleHound.who' "$ini" || fail "the setup stored no dump path"
window 5 "Handlehound: Q3 Start Detector" >/dev/null || fail "no start detector window"
for ((t = 0; t < 50; t++)); do
    xwininfo -root -tree | grep -q '"explorer.exe"' && break
    sleep 0.2
done
xwininfo -root -tree | grep -q '"explorer.exe"' || fail "no tray icon in the tray"
shot main

# Options through the menu: a bad alias limit is refused, a good one stored.
focus "$main"
xdotool key alt+t
sleep 0.5
xdotool key s
options=$(window 10 "Handle Hound Options") || fail "Tools > Settings opened no Options dialog"
shot options
# From the first control back to the tab strip, then to the next tab.
xdotool key shift+Tab
sleep 0.2
xdotool key Right
sleep 0.3
xdotool key alt+m ctrl+a
xdotool type "abc"
xdotool key Return
for ((t = 0; t < 25 && $(count Handlehound) < 2; t++)); do sleep 0.2; done
[ "$(count Handlehound)" -ge 2 ] || fail "a bad alias limit showed no message"
shot options-refused
xdotool key Return
sleep 0.5
focus "$options"
xdotool key alt+m ctrl+a
xdotool type "25"
xdotool key Return
for ((t = 0; t < 25 && $(count "Handle Hound Options") > 0; t++)); do sleep 0.2; done
grep -q '^MaxNumAliases=25' "$ini" || fail "OK did not store the alias limit"

# A second start on the same program folder shows the running one and ends.
timeout 60 "$run" "$exe" --quiet --program-dir "$(winpath "$work/pd")" >/dev/null 2>&1 ||
    fail "a second start did not end by showing the first"
[ "$(count Handlehound)" -eq 1 ] || fail "a second start opened another main window"

# About box and tray menu, for the pictures.
if [ -n "$shots" ]; then
    focus "$main"
    xdotool key alt+h
    sleep 0.5
    xdotool key a
    about=$(window 10 "Kennel Works - Handlehound") || fail "no about box"
    shot about
    xdotool key Escape
    sleep 0.5
    xdotool mousemove 1010 12 click 3
    sleep 1
    shot tray-menu
    xdotool key Escape
fi

# The stand-in game switches monitoring on, takes a typed command, and
# switches monitoring off when it goes.
"$run" "$standin" >/dev/null 2>&1 &
standin_pid=$!
pids+=($standin_pid)
game_window=$(window 30 "Quake 3: Arena") || fail "no stand-in game window"
answer 10 "ENABLED" || fail "the game window did not switch monitoring on"
focus "$game_window"
sleep 1.5 # the dump watcher hooks the keyboard on its next tick
xdotool type --delay 60 "/hh time"
xdotool key Return
answer 10 '[0-9]+:[0-9]{2}:[0-9]{2}' || fail "a typed /hh time was not answered"
[ ! -s "$game/osp/handleHound.who" ] || fail "the dump was written (nothing plays the game)"
kill "$standin_pid"
answer 10 "DISABLED" || fail "the game window going did not switch monitoring off"

# Exit in the tray menu ends the program and says so to the game.
xdotool mousemove 1010 12 click 3
sleep 1
xdotool key x
answer 15 "Not.{0,3}Running" || fail "Exit did not write the goodbye answer"
echo "desktop under Wine: passed"
