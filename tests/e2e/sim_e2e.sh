#!/usr/bin/env bash
# Runs the real vistrace-sim on an X display, presses Run and Stop as an operator would,
# and checks screenshots for the blue trace inside the screen: sim_e2e.sh SIM BLUE_PIXELS
set -euo pipefail

sim=$1
blue_pixels=$2
work=$(mktemp -d)
pid=
cleanup() {
    [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$sim" &
pid=$!

wid=
for _ in $(seq 100); do
    wid=$(xdotool search --name '^Vistrace$' 2>/dev/null | head -n 1 || true)
    [[ -n $wid ]] && break
    sleep 0.1
done
[[ -n $wid ]] || fail "the window did not appear"
sleep 0.5

eval "$(xdotool getwindowgeometry --shell "$wid")"
menu=$((HEIGHT - 570)) # the menu bar sits above the 570 px client area
(( menu > 0 )) || fail "unexpected window height $HEIGHT"

click() { xdotool mousemove --window "$wid" "$1" "$2" click 1; }
count_blue() { "$blue_pixels" "$1" $((X + 90)) $((Y + menu + 50)) 505 421; }

import -window root "$work/idle.png"
idle=$(count_blue "$work/idle.png")
(( idle == 0 )) || fail "a trace before Run ($idle blue pixels)"

click $((536 + 36)) $((menu + 528 + 16)) # Run
sleep 1.5
import -window root "$work/running.png"
running=$(count_blue "$work/running.png")

click $((632 + 24)) $((menu + 528 + 16)) # Stop
sleep 0.5
import -window root "$work/stopped.png"
stopped=$(count_blue "$work/stopped.png")

echo "blue pixels on the screen: idle $idle, running $running, stopped $stopped"
(( running > 1000 )) || fail "no trace while running"
(( stopped > 1000 )) || fail "the last sweep did not stay after Stop"
kill -0 "$pid" 2>/dev/null || fail "the program ended by itself"

# File > Exit, from the menu bar's first menu while the instrument is idle.
click 15 $((menu / 2))
sleep 0.5
click 30 $((menu + 14))
for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the program kept running after File > Exit"
status=0
wait "$pid" || status=$?
pid=
(( status == 0 )) || fail "exit status $status after File > Exit"
echo PASS
