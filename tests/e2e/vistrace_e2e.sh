#!/usr/bin/env bash
# shellcheck disable=SC2015 # `A && B || fail` fails if either does
# vistrace_e2e.sh VISTRACE: with no parallel port its warning comes before the main window; Run in
# Repeat waits on the flat line without a real-time thread; File > Exit ends it with status 0.
set -euo pipefail
# shellcheck source=SCRIPTDIR/lib.sh
source "$(dirname "$0")/lib.sh"
! compgen -G '/proc/sys/dev/parport/parport*' >/dev/null ||
    { echo "SKIP: this machine has parallel ports; the check needs one without" && exit 77; }
scratch

launch "$1" "$work/stderr"
wait_until 10 visible_window narrow || fail "no warning box; stderr: $(cat "$work/stderr")"
! visible_window wide || fail "the main window opened before the warning was answered"
visible_window narrow && xdotool windowfocus --sync "$wid" key Return
await_window
choose_item 608 232 81 21 Down Return # trigger_mode_box: "Repeat"
press_run
never_realtime # no sweep comes on a flat line, and the trigger wait is never raised
run_is disabled && ! blue_over 0 || fail "Run did not wait for a trigger on the flat line"
exit_via_menu
expect_end "File > Exit in a trigger wait"
echo PASS
