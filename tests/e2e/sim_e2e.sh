#!/usr/bin/env bash
# Runs the real vistrace-sim on an X display, presses Run and Stop as an operator would,
# and checks screenshots for the blue trace inside the screen: sim_e2e.sh SIM BLUE_PIXELS
set -euo pipefail
# shellcheck source=SCRIPTDIR/lib.sh
source "$(dirname "$0")/lib.sh"

sim=$1
blue_pixels=$2
work=$(mktemp -d)
trap 'stop_sim; rm -rf "$work"' EXIT

start_sim "$sim"
blue_over() {
    import -window root "$work/$2.png"
    (($(count_blue "$work/$2.png") > $1))
}

import -window root "$work/idle.png"
idle=$(count_blue "$work/idle.png")
((idle == 0)) || fail "a trace before Run ($idle blue pixels)"

press_run
wait_until 10 blue_over 1000 running || true
running=$(count_blue "$work/running.png")
run_is disabled || fail "Run is enabled while running"
# The demonstration never sweeps under a real-time policy: 1 or 2 in field 41 of a thread's stat.
for _ in $(seq 20); do
    ! cut -d ')' -f 2 /proc/"$sim_pid"/task/*/stat | cut -d ' ' -f 40 | grep -q '^[12]$' ||
        fail "a thread of the program ran under a real-time policy"
done

press_stop
wait_until 5 run_is enabled || fail "Run is not enabled again after Stop"
import -window root "$work/stopped.png"
stopped=$(count_blue "$work/stopped.png")

echo "blue pixels on the screen: idle $idle, running $running, stopped $stopped"
((running > 1000)) || fail "no trace while running"
((stopped > 1000)) || fail "the last sweep did not stay after Stop"
kill -0 "$sim_pid" 2>/dev/null || fail "the program ended by itself"

# File > Exit while the instrument is idle.
exit_via_menu
wait_end 5 || fail "the program kept running after File > Exit"
((sim_status == 0)) || fail "exit status $sim_status after File > Exit"
echo PASS
