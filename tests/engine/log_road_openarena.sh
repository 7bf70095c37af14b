#!/usr/bin/env bash
# The console log road with a real engine: Debian's OpenArena (ioquake3)
# under Xvfb, the headless program with no display of its own (so no key
# watching), and the program folder's own alias database, which the program
# starts beside itself.
#   1. "/hh time" + Enter in the game console is answered in hh.cfg, without
#      the Command key.
#   2. After /name Alpha, /name ^1Bra^7vo, /name Charlie, "/hh charlie" and
#      the Command key answer with Bravo in its colours, then Alpha.
# Usage: log_road_openarena.sh HANDLEHOUND
set -euo pipefail
hh=$(realpath "$1")
started=$SECONDS
work=$(mktemp -d /tmp/hh-logroad.XXXXXX)
home="$work/home" prog="$work/program"
mkdir -p "$home/baseq3" "$prog"
pids=()
cleanup() {
  # Newest first, each given 5 s: the game's GL shutdown can hang for good
  # when the X server goes at the same moment.
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || continue
    for _ in $(seq 50); do kill -0 "${pids[i]}" 2>/dev/null || break; sleep 0.1; done
    kill -9 "${pids[i]}" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  [ "${keep:-0}" = 1 ] || rm -rf "$work"
}
trap cleanup EXIT
fail() {
  keep=1
  echo "FAILED: $*"
  echo "--- hh.cfg:"; cat "$home/baseq3/hh.cfg" 2>/dev/null || true
  echo "--- program:"; tail -20 "$work/handlehound.out" || true
  echo "--- console log:"; tail -20 "$home/baseq3/qconsole.log" 2>/dev/null || true
  echo "(kept in $work)"
  exit 1
}
# until SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds.
until_ok() {
  local limit=$1; shift
  for _ in $(seq 1 $((limit * 10))); do "$@" && return 0; sleep 0.1; done
  return 1
}
logged() { grep -qF -- "$1" "$home/baseq3/qconsole.log" 2>/dev/null; }
answer_has() { grep -qF -- "$1" "$home/baseq3/hh.cfg" 2>/dev/null; }

"$hh" --setup --game-dir "$home" --mod baseq3 --engine ioquake3 --program-dir "$prog" >/dev/null
printf 'exec handleHound.cfg\r\n' > "$home/baseq3/autoexec.cfg"
# OpenArena refuses a second rename within 10 s unless a local game allows it.
printf 'set g_minNameChangePeriod 0\r\n' >> "$home/baseq3/autoexec.cfg"

exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
read -r -t 10 display <&"$fd" || fail "Xvfb did not start"

env -u DISPLAY -u WAYLAND_DISPLAY "$hh" --headless --always-on --quiet --program-dir "$prog" \
  > "$work/handlehound.out" 2>&1 &
pids+=($!)
DISPLAY=":$display" LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy /usr/lib/ioquake3/ioquake3 \
  +set com_basegame baseoa +set fs_basegame baseq3 +set fs_basepath /usr/lib/openarena \
  +set fs_homepath "$home" +set r_mode -1 +set r_customwidth 640 +set r_customheight 480 \
  +set r_fullscreen 0 +set in_nograb 1 +set s_initsound 0 +set net_enabled 0 \
  +set com_introplayed 1 +set sv_pure 0 +map oa_dm1 > "$work/game.out" 2>&1 &
pids+=($!)
export DISPLAY=":$display"
window() { win=$(xdotool search --name '^ioquake3$' 2>/dev/null | head -n 1); [ -n "$win" ]; }
until_ok 20 window || fail "no game window"
# Renames count only once the player is in the game.
until_ok 30 logged "entered the game" || fail "the game did not start (is the log written?)"
xdotool windowfocus --sync "$win" 2>/dev/null || true
type_line() { xdotool type --delay 15 -- "$1"; xdotool key Return; }

xdotool key grave; sleep 0.3
rm -f "$home/baseq3/hh.cfg"
type_line '/hh time'
until_ok 5 answer_has ":" || fail "/hh time + Enter was not answered"
! logged "Dumped console text" || fail "the console was dumped: the answer did not come from the log"
echo "ok: /hh time + Enter answered without the Command key: $(grep -o '\^3[0-9].*' "$home/baseq3/hh.cfg")"

for name in Alpha '^1Bra^7vo' Charlie; do
  type_line "/name $name"
  until_ok 5 logged "renamed to $name" || fail "the game did not rename to $name"
done
type_line '/hh charlie'
xdotool key grave; sleep 0.3
xdotool key Tab
until_ok 10 answer_has "Alpha" || fail "/hh charlie + Command key did not name Alpha"
answer=$(head -n 1 "$home/baseq3/hh.cfg")
case "$answer" in
  *"^1Bra^7vo"*"Alpha"*) ;;
  *) fail "Bravo (in its colours) does not come before Alpha: $answer" ;;
esac
echo "ok: /hh charlie + Command key: $answer"
echo "ran in $((SECONDS - started)) s"
