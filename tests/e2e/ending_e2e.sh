#!/usr/bin/env bash
# Ends the real vistrace-sim from inside its Run loop, by File > Exit and by closing the
# window, at the loop's two longest stays: a 200mS/Div capture (about 1.8 s, during which no
# event is handled) and a trigger wait that never ends. Each must end the program within a
# few seconds, with exit status 0 and no sanitizer report on stderr.
# ending_e2e.sh SIM BLUE_PIXELS CLOSE_WINDOW
set -euo pipefail
# shellcheck source=SCRIPTDIR/lib.sh
source "$(dirname "$0")/lib.sh"

sim=$1
blue_pixels=$2
close_window=$3
work=$(mktemp -d)
trap 'stop_sim; rm -rf "$work"' EXIT

blue_on_screen() {
    import -window root "$work/screen.png"
    count_blue "$work/screen.png"
}

start() { start_sim "$sim" "$work/stderr"; }

blue_over() { (($(blue_on_screen) > $1)); }

expect_running() {
    run_is disabled || fail "$1: Run is not disabled"
    kill -0 "$sim_pid" 2>/dev/null || fail "$1: the program ended by itself"
}

# Leaves the program inside a 200mS/Div capture, its first sweep drawn.
start_long_capture() {
    start
    choose_item 160 16 105 21 End Return # TimeBase_box, the last item: "200mS/Div"
    press_run
    wait_until 5 run_is disabled || fail "$1: Run is not disabled"
    # The default time base draws its first sweep within a few milliseconds.
    local blue
    blue=$(blue_on_screen)
    ((blue == 0)) || fail "$1: a sweep already drawn 0.3 s after Run; the time base did not change"
    expect_running "$1"
    wait_until 10 blue_over 1000 || fail "$1: no sweep drawn 10 s after Run"
    expect_running "$1"
}

# Leaves the program in a trigger wait: "Repeat", rising through "3V", which the 2 V sine
# never reaches.
start_endless_wait() {
    start
    choose_item 608 232 81 21 Down Return # trigger_mode_box: "None" to "Repeat"
    choose_item 608 360 65 21 Home Return # trigger_voltage_box: the first item, "3V"
    press_run
    wait_until 5 run_is disabled || fail "$1: Run is not disabled"
    # No condition marks a wait that goes on: give the sine time to have triggered if it could.
    sleep 1
    local blue
    blue=$(blue_on_screen)
    ((blue == 0)) || fail "$1: a sweep was drawn ($blue blue pixels); the wait ended"
    expect_running "$1"
}

# expect_clean_end CASE MS_AT_REQUEST
expect_clean_end() {
    wait_end 10 || fail "$1: still running 10 s after the request"
    local took=$(($(now_ms) - $2))
    if grep -Eq 'Sanitizer|runtime error' "$work/stderr"; then
        cat "$work/stderr" >&2
        fail "$1: a sanitizer report on stderr"
    fi
    ((sim_status == 0)) || fail "$1: exit status $sim_status"
    printf '%s: ended %d.%01d s after the request, exit status 0\n' "$1" $((took / 1000)) $((took % 1000 / 100))
}

close_request() {
    "$close_window" "$wid" || fail "cannot send the close request"
}

case="File > Exit during a 200mS/Div capture"
start_long_capture "$case"
exit_via_menu
expect_clean_end "$case" "$(now_ms)"

case="closing the window during a 200mS/Div capture"
start_long_capture "$case"
asked=$(now_ms)
close_request
expect_clean_end "$case" "$asked"

case="File > Exit during an endless trigger wait"
start_endless_wait "$case"
exit_via_menu
expect_clean_end "$case" "$(now_ms)"

case="closing the window during an endless trigger wait"
start_endless_wait "$case"
asked=$(now_ms)
close_request
expect_clean_end "$case" "$asked"

echo PASS
