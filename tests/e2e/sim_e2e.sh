#!/usr/bin/env bash
# shellcheck disable=SC2015 # `A && B || fail` fails when either does
# Runs the real vistrace-sim as an operator would: Run draws, Stop keeps the last sweep, Exit
# ends it with status 0. Then ends it by File > Exit and by closing the window inside its
# loop's two longest stays, a 200mS/Div capture (about 1.8 s without events) and a trigger
# wait that never ends; each must end within seconds, with status 0 and no sanitizer report.
# sim_e2e.sh SIM CLOSE_WINDOW
set -euo pipefail
# shellcheck source=SCRIPTDIR/lib.sh
source "$(dirname "$0")/lib.sh"
sim=$1
close_window=$2
close_request() { "$close_window" "$wid"; }
work=$(mktemp -d)
trap 'stop_sim; rm -rf "$work"' EXIT

expect_end() {
    wait_end 10 || fail "$1: still running 10 s after the request"
    ! grep -Eq 'Sanitizer|runtime error' "$work/stderr" || fail "$1: $(cat "$work/stderr")"
    ((sim_status == 0)) || fail "$1: exit status $sim_status"
    echo "$1: ended with status 0"
}

start_sim "$sim" "$work/stderr"
! blue_over 0 || fail "a trace before Run"
press_run
wait_until 10 blue_over 1000 || fail "no trace while running"
run_is disabled || fail "Run is enabled while running"
# The demonstration never sweeps under a real-time policy: 1 or 2 in field 41 of a thread's stat.
for _ in $(seq 20); do
    ! cut -d ')' -f 2 /proc/"$sim_pid"/task/*/stat | cut -d ' ' -f 40 | grep -q '^[12]$' ||
        fail "a thread of the program ran under a real-time policy"
done

press_stop
wait_until 5 run_is enabled || fail "Run is not enabled again after Stop"
blue_over 1000 || fail "the last sweep did not stay after Stop"
exit_via_menu
expect_end "File > Exit while idle"

for end in exit_via_menu close_request; do
    start_sim "$sim" "$work/stderr"
    choose_item 160 16 105 21 End Return # TimeBase_box: "200mS/Div"
    press_run
    # The default time base would have drawn its first sweep within milliseconds.
    wait_until 5 run_is disabled && ! blue_over 0 || fail "not in a long capture"
    wait_until 10 blue_over 1000 || fail "no sweep drawn 10 s after Run"
    "$end"
    expect_end "$end during a 200mS/Div capture"

    start_sim "$sim" "$work/stderr"
    choose_item 608 232 81 21 Down Return # trigger_mode_box: "Repeat"
    choose_item 608 360 65 21 Home Return # trigger_voltage_box: "3V", beyond the 2 V sine
    press_run
    sleep 1 # no condition marks a wait that goes on: time for a trigger, if one could come
    run_is disabled && ! blue_over 0 || fail "not in an endless wait"
    "$end"
    expect_end "$end during an endless trigger wait"
done
echo PASS
