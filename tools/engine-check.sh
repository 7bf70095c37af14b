#!/usr/bin/env bash
# By hand: the whole loop with a real Quake III engine (Debian's openarena
# package, ioquake3) under Xvfb. The game-side script is installed by
# `handlehound --setup`, the game runs it, a typed "/hh help" is dumped with
# the Command key, the headless program answers, and the Status key shows the
# answer in the game console.
#   apt-get install openarena xvfb xdotool libgl1-mesa-dri libglx-mesa0
#   tools/engine-check.sh build/handlehound
set -euo pipefail
hh=$(realpath "${1:-build/handlehound}")
work=$(mktemp -d /tmp/hh-engine.XXXXXX)
home="$work/home" prog="$work/program"
mkdir -p "$home/baseq3" "$prog"
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT

"$hh" --setup --game-dir "$home" --mod baseq3 --engine ioquake3 --program-dir "$prog"
# The engine runs autoexec.cfg at start; the program adds the exec line when
# the game window is up, so a first start gets it here.
printf 'exec handleHound.cfg\r\n' > "$home/baseq3/autoexec.cfg"

exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
read -r -t 10 display <&"$fd"
export DISPLAY=":$display"

"$hh" --headless --always-on --quiet --program-dir "$prog" > "$work/handlehound.out" 2>&1 &
pids+=($!)
LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy /usr/lib/ioquake3/ioquake3 \
  +set com_basegame baseoa +set fs_basegame baseq3 +set fs_basepath /usr/lib/openarena \
  +set fs_homepath "$home" +set r_mode -1 +set r_customwidth 640 +set r_customheight 480 \
  +set r_fullscreen 0 +set in_nograb 1 +set s_initsound 0 +set net_enabled 0 \
  +set com_introplayed 1 +set sv_pure 0 +map oa_dm1 > "$work/game.out" 2>&1 &
pids+=($!)
sleep 8
win=$(xdotool search --name '^ioquake3$' | head -n 1)
xdotool windowfocus --sync "$win" 2>/dev/null || true
xdotool key grave; sleep 0.5
xdotool type --delay 40 '/hh help'; xdotool key Return; sleep 0.3
xdotool key grave; sleep 0.5
xdotool key Tab; sleep 3        # Command key: pb_plist, wait, condump
xdotool key F5; sleep 1         # Status key: exec hh.cfg
grep -q "Handlehound script loaded." "$work/game.out" && echo "script ran at start: yes"
# pb_plist is unknown without PunkBuster (OpenArena has none); a fresh home has
# no q3config.cfg yet. Anything else the engine complains about is printed.
grep -n -i -E "unknown command|couldn't exec|error" "$work/game.out" | grep -v -E "^[0-9]+:GL_|pb_plist|q3config.cfg" || echo "no engine errors"
ls -l "$home/baseq3/handleHound.txt" 2>/dev/null && echo "dump written by condump: yes"
grep -q "recognizes" "$work/game.out" && echo "answer shown in the game console: yes" || {
  echo "answer not seen in the game console"; tail -20 "$work/game.out"; exit 1; }
