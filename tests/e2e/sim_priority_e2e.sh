#!/usr/bin/env bash
# vistrace-sim is the demonstration and must leave the machine alone: while it sweeps, none
# of its threads is ever seen under a real-time policy. sim_priority_e2e.sh SIM
set -euo pipefail
# shellcheck source=SCRIPTDIR/lib.sh
source "$(dirname "$0")/lib.sh"
trap stop_sim EXIT

start_sim "$1"
press_run
wait_until 5 run_is disabled || fail "Run did not start the sweeps"
# For two seconds, looks again and again at field 41 of each thread's stat, its policy: 1 or 2
# for the real-time ones. Bash alone reads them, so that each look is quick on a busy machine.
looks=0
end=$((${EPOCHREALTIME/./} + 2000000))
while ((${EPOCHREALTIME/./} < end)); do
    for stat in /proc/"$sim_pid"/task/*/stat; do
        read -r line <"$stat" || continue
        # shellcheck disable=SC2206 # the fields are numbers, split on spaces
        fields=(${line##*) })
        [[ ${fields[38]} == [12] ]] && fail "a thread ran under policy ${fields[38]}"
    done
    looks=$((looks + 1))
done
((looks >= 50)) || fail "only $looks looks at the threads"
echo "$looks looks, none real-time"
echo PASS
