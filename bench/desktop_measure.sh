#!/usr/bin/env bash
# The desktop program's start-up time (exec -> tray icon embedded in the tray)
# and its idle cost while monitoring (CPU and resident memory over N seconds,
# from /proc), under Xvfb with openbox and trayer. "off" measures it with
# monitoring off: the start detector waiting for the game instead.
#   bench/desktop_measure.sh build/handlehound [IDLE_SECONDS] [on|off]
set -euo pipefail
hh=$(realpath "${1:-build/handlehound}")
idle=${2:-60}
monitoring=(--always-on)
[ "${3:-on}" = on ] || monitoring=()
work=$(mktemp -d /tmp/hh-desktop.XXXXXX)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT
mkdir -p "$work/game/osp" "$work/game/baseq3" "$work/program" "$work/runtime"
chmod 700 "$work/runtime"
"$hh" --setup --game-dir "$work/game" --mod osp --engine quake3 --program-dir "$work/program" >/dev/null

exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
read -r -t 10 display <&"$fd"
export DISPLAY=":$display" XDG_RUNTIME_DIR="$work/runtime" HOME="$work"
openbox >/dev/null 2>&1 &
pids+=($!)
trayer --edge top --align right --widthtype pixel --width 40 --height 24 >/dev/null 2>&1 &
pids+=($!)
sleep 1
# Windows under trayer's own: an embedded icon adds to them.
children() {
  local n=0 w
  for w in $(xdotool search --class trayer); do
    n=$((n + $(xwininfo -id "$w" -tree 2>/dev/null | grep -c 0x || true)))
  done
  echo "$n"
}
before=$(children)

start=$(date +%s%N)
"$hh" "${monitoring[@]}" --quiet --program-dir "$work/program" >/dev/null 2>&1 &
app=$!
pids+=($app)
while [ "$(children)" -le "$before" ]; do
  sleep 0.005
  [ $(( ($(date +%s%N) - start) / 1000000 )) -lt 15000 ] || { echo "no tray icon"; exit 1; }
done
echo "start-up to tray icon: $(( ($(date +%s%N) - start) / 1000000 )) ms"

# CPU time of all the program's threads in nanoseconds: /proc/PID/stat
# counts 10 ms ticks, too coarse for hundredths of a per cent.
cpu() { cat /proc/"$app"/task/*/schedstat | awk '{ s += $1 } END { printf "%d", s }'; }
sleep 2
a=$(cpu)
sleep "$idle"
b=$(cpu)
rss=$(awk '/VmRSS/ {print $2}' "/proc/$app/status")
awk -v a="$a" -v b="$b" -v s="$idle" -v r="$rss" \
  'BEGIN { printf "idle %d s: cpu %.3f%% of a core, resident %d kB\n", s, 100 * (b - a) / 1e9 / s, r }'
