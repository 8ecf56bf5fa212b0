# shellcheck shell=bash disable=SC2034,SC2154,SC2015,SC2016
# Callers read the variables set here and set work; `A && B || fail` fails when either does, and
# eval's single quotes are meant. Drives the real vistrace-sim with xdotool as an operator would,
# for the end-to-end checks, scripts/soak and scripts/screenshot. Under Xvfb no window manager
# places the window, so its position is its X, Y; positions given here are in its client area,
# below the menu bar, and at QT_SCALE_FACTOR the caller sets scale in hundredths first.
px() { echo $(($1 * ${scale:-100} / 100)); }

fail() { echo "FAIL: $*" >&2; exit 1; }

# wait_until SECONDS COMMAND...: polls COMMAND every 0.1 s until it succeeds.
wait_until() {
    local _
    for _ in $(seq $(($1 * 10))); do
        "${@:2}" && return 0
        sleep 0.1
    done
    return 1
}

# screen_digest X Y WIDTH HEIGHT: a digest of the pixels there now.
screen_digest() {
    import -window root -crop "$(px "$3")x$(px "$4")+$((X + $(px "$1")))+$((Y + menu + $(px "$2")))" rgb:- |
        md5sum | cut -d ' ' -f 1
}

# visible_window wide|narrow: sets wid to a visible Vistrace window as wide as the main one, or not.
visible_window() {
    local id kind
    wid=
    for id in $(xdotool search --onlyvisible --name '^Vistrace$' 2>/dev/null); do
        kind=narrow
        (($(xdotool getwindowgeometry --shell "$id" | sed -n 's/^WIDTH=//p') >= $(px 709))) && kind=wide
        [[ $kind == "$1" ]] && wid=$id && return 0
    done
    return 1
}
window_found() { visible_window wide || ! kill -0 "$sim_pid" 2>/dev/null; } # or the program ended

painted() { # the same picture twice running: mapped and painted
    local last=$painted_digest
    painted_digest=$(screen_digest 0 0 709 570)
    [[ $painted_digest == "$last" ]]
}

# start_sim PROGRAM [STDERR_FILE]: starts the program and waits until its window is painted.
# Sets sim_pid, wid, the window's X, Y, WIDTH and HEIGHT, and menu (the menu bar's height).
start_sim() { launch "$@" && await_window; }
launch() { sim_stderr=${2:-$(mktemp)} && { "$1" 2>"$sim_stderr" & } && sim_pid=$!; }
await_window() {
    painted_digest=
    wait_until 10 window_found && [[ -n $wid ]] ||
        fail "the window did not appear; the program's stderr: $(cat "$sim_stderr")"
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    menu=$((HEIGHT - $(px 570)))
    park_pointer
    wait_until 5 painted || fail "the window was never painted"
    run_enabled=$(screen_digest 536 528 73 33)
}

# run_is enabled|disabled: how the Run button looks, against how it looked at the start.
run_is() {
    local now=disabled
    [[ $(screen_digest 536 528 73 33) == "$run_enabled" ]] && now=enabled
    [[ $now == "$1" ]]
}

# Off the controls, so that no hover highlight changes how they look.
park_pointer() { xdotool mousemove $((X + WIDTH + 10)) $((Y + HEIGHT + 10)); }
click() {
    xdotool mousemove --window "$wid" "$(px "$1")" $((menu + $(px "$2"))) click 1
    park_pointer
}
press_run() { click 572 544; }
press_stop() { click 656 544; }
windows() { xdotool search --onlyvisible --name '' 2>/dev/null | wc -l; }

# choose_item X Y WIDTH HEIGHT KEY...: opens the drop-down there by its arrow and picks an
# item with the keys (the list opens on the current item; it is a window of its own).
choose_item() {
    local closed
    closed=$(windows)
    xdotool mousemove --window "$wid" "$(px $(($1 + $3 - 8)))" $((menu + $(px $(($2 + $4 / 2))))) click 1
    wait_until 5 eval '(($(windows) == closed + 1))' || fail "the list at $1, $2 did not open"
    xdotool key "${@:5}"
    wait_until 5 eval '(($(windows) == closed))' || fail "the list at $1, $2 did not close"
    park_pointer
}

# File > Exit. The menu opens only when the program next handles events, which may be after
# a capture in progress; Exit is clicked once the menu covers the client area's corner.
exit_via_menu() {
    local closed
    closed=$(screen_digest 4 4 30 12)
    xdotool mousemove --window "$wid" "$(px 15)" $((menu / 2)) click 1
    wait_until 15 eval '[[ $(screen_digest 4 4 30 12) != "$closed" ]]' || fail "no File menu"
    click 30 14
}

# count_blue FILE [X Y]: the trace's pure blue pixels inside the screen `scope` of a
# screenshot whose client area starts at X, Y (the window's, by default).
count_blue() {
    convert "$1" -crop "$(px 505)x$(px 421)+$((${2:-$X} + $(px 90)))+$((${3:-$((Y + menu))} + $(px 50)))" +repage -fill black \
        +opaque '#0000FF' -fill white -opaque '#0000FF' -format '%[fx:round(mean*w*h)]' info:
}
blue_over() { # needs work, a scratch directory
    import -window root "$work/screen.png"
    (($(count_blue "$work/screen.png") > $1))
}

# wait_end SECONDS: waits for the end and sets sim_status; 1 if still running after that time.
wait_end() {
    wait_until "$1" eval '! kill -0 "$sim_pid" 2>/dev/null' || return 1
    sim_status=0
    wait "$sim_pid" || sim_status=$?
    sim_pid=
}

# expect_end WHAT: the program ends within 10 s, with status 0 and no sanitizer report.
expect_end() {
    wait_end 10 || fail "$1: still running 10 s after the request"
    ! grep -Eq 'Sanitizer|runtime error' "$sim_stderr" || fail "$1: $(cat "$sim_stderr")"
    ((sim_status == 0)) || fail "$1: exit status $sim_status"
    echo "$1: ended with status 0"
}

# never_realtime: for a second, no thread of the program is real-time (1 or 2 in stat field 41).
never_realtime() {
    for _ in $(seq 20); do
        ! cut -d ')' -f 2 /proc/"$sim_pid"/task/*/stat | cut -d ' ' -f 40 | grep -q '^[12]$' ||
            fail "a thread of the program ran under a real-time policy"
        sleep 0.05
    done
}

scratch() { work=$(mktemp -d) && trap 'stop_sim; rm -rf "$work"' EXIT; } # sets work, a temp dir

stop_sim() { # a program left running by a failed check
    [[ -z ${sim_pid:-} ]] || { kill "$sim_pid"; wait "$sim_pid"; } 2>/dev/null || true
    sim_pid=
}
