#!/usr/bin/env bash
# shellcheck disable=SC2015,SC2016,SC2034 # `A && B || fail` fails if either does; eval reads drawn
# vistrace-sim_e2e.sh SIM: Run draws sweep after sweep, Stop keeps the last, and File > Exit ends
# the program with status 0 and no sanitizer report, also in its longest stay without events (a
# 2 s 200mS/Div capture). Closing the window and leaving trigger waits are the window tests'.
set -euo pipefail
# shellcheck source=SCRIPTDIR/lib.sh
source "$(dirname "$0")/lib.sh"
sim=$1
scratch

start_sim "$sim" "$work/stderr"
! blue_over 0 || fail "a trace before Run"
press_run
wait_until 10 blue_over 1000 || fail "no trace while running"
drawn=$(screen_digest 90 50 505 421)
wait_until 5 eval '[[ $(screen_digest 90 50 505 421) != "$drawn" ]]' || fail "no new sweep"
run_is disabled || fail "Run is enabled while running"
never_realtime # the demonstration never sweeps under a real-time policy

press_stop
wait_until 5 run_is enabled || fail "Run is not enabled again after Stop"
blue_over 1000 || fail "the last sweep did not stay after Stop"
exit_via_menu
expect_end "File > Exit while idle"

start_sim "$sim" "$work/stderr"
choose_item 160 16 105 21 End Return # TimeBase_box: "200mS/Div"
pressed=$(date +%s%N)
press_run
# The first sweep ends a capture of 2 s; Run's pressed look may not be painted on a busy machine.
wait_until 10 blue_over 1000 || fail "no sweep drawn 10 s after Run"
(($(date +%s%N) - pressed > 1500000000)) || fail "not in a long capture"
exit_via_menu
expect_end "File > Exit during a 200mS/Div capture"
echo PASS
