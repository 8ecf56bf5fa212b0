# shellcheck shell=bash
# shellcheck disable=SC2034,SC2154 # the callers read the variables set here and set blue_pixels
# Steps for driving the real vistrace-sim on an X display with xdotool, as an operator would.
# Sourced by the end-to-end checks, scripts/soak and scripts/screenshot; they run under Xvfb,
# where no window manager places the window, so its position is its X, Y.
#
# Positions given to these functions are in the window's client area, which lies below the
# menu bar (the layout's own coordinates); at QT_SCALE_FACTOR, set scale in hundredths first.
px() { echo $(($1 * ${scale:-100} / 100)); }

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# start_sim PROGRAM [STDERR_FILE]: starts the program and waits until its window is painted.
# Sets sim_pid, wid, the window's X, Y, WIDTH and HEIGHT, and menu (the menu bar's height).
# A program that cannot start (no display, say) fails the check with its own stderr.
start_sim() {
    sim_stderr=${2:-$(mktemp)}
    "$1" 2>"$sim_stderr" &
    sim_pid=$!
    wid=
    local _
    for _ in $(seq 100); do
        wid=$(xdotool search --onlyvisible --name '^Vistrace$' 2>/dev/null | head -n 1 || true)
        [[ -n $wid ]] && break
        kill -0 "$sim_pid" 2>/dev/null || break
        sleep 0.1
    done
    [[ -n $wid ]] || fail_with_stderr "the window did not appear"
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    menu=$((HEIGHT - $(px 570))) # the client area is 570 px high
    ((menu > 0)) || fail "unexpected window height $HEIGHT"
    park_pointer
    wait_painted
    run_enabled=$(screen_digest "${run_button[@]}")
}

# The Run button, and how it looks enabled (as every program starts).
run_button=(536 528 73 33)

# run_is enabled|disabled
run_is() {
    local now
    now=$(screen_digest "${run_button[@]}")
    if [[ $1 == enabled ]]; then [[ $now == "$run_enabled" ]]; else [[ $now != "$run_enabled" ]]; fi
}

fail_with_stderr() {
    echo "--- the program's stderr:" >&2
    cat "$sim_stderr" >&2 2>/dev/null || true
    fail "$1"
}

# Waits until the window's client area shows the same picture twice running: mapped and
# painted, so that clicks reach the controls.
wait_painted() {
    local last= now _
    for _ in $(seq 50); do
        now=$(screen_digest 0 0 709 570)
        [[ $now == "$last" ]] && return 0
        last=$now
        sleep 0.1
    done
    fail_with_stderr "the window was never painted"
}

# visible_windows: how many windows are mapped; a drop-down's open list is one of them.
visible_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | wc -l; }

# wait_windows COUNT: waits until that many windows are mapped.
wait_windows() {
    local _
    for _ in $(seq 50); do
        (($(visible_windows) == $1)) && return 0
        sleep 0.1
    done
    fail "expected $1 mapped windows, found $(visible_windows)"
}

# wait_until SECONDS COMMAND...: polls COMMAND every 0.1 s until it succeeds.
wait_until() {
    local _
    for _ in $(seq $(($1 * 10))); do
        "${@:2}" && return 0
        sleep 0.1
    done
    return 1
}

# Keeps the pointer off the controls, so that no hover highlight changes how they look.
park_pointer() {
    xdotool mousemove $((X + WIDTH + 10)) $((Y + HEIGHT + 10))
}

# click X Y
click() {
    xdotool mousemove --window "$wid" "$(px "$1")" $((menu + $(px "$2"))) click 1
    park_pointer
}

# choose_item X Y WIDTH HEIGHT KEY...: opens the drop-down at that place by its arrow and
# picks an item with the keys (the list opens on the current item).
choose_item() {
    local closed
    closed=$(visible_windows)
    xdotool mousemove --window "$wid" "$(px $(($1 + $3 - 8)))" $((menu + $(px $(($2 + $4 / 2))))) click 1
    wait_windows $((closed + 1))
    xdotool key "${@:5}"
    wait_windows "$closed"
    park_pointer
}

press_run() { click $((536 + 36)) $((528 + 16)); }
press_stop() { click $((632 + 24)) $((528 + 16)); }

# File > Exit. The menu's list opens only when the program next handles events, which may
# be after a capture in progress; Exit is clicked once the list is on the screen.
exit_via_menu() {
    local closed
    closed=$(file_menu_digest)
    xdotool mousemove --window "$wid" "$(px 15)" $((menu / 2)) click 1
    wait_for_file_menu "$closed" 15
    xdotool mousemove --window "$wid" "$(px 30)" $((menu + $(px 14))) click 1
    park_pointer
}

# screen_digest X Y WIDTH HEIGHT: a digest of the pixels now on the screen there.
screen_digest() {
    import -window root -crop "$(px "$3")x$(px "$4")+$((X + $(px "$1")))+$((Y + menu + $(px "$2")))" rgb:- | md5sum | cut -d ' ' -f 1
}

# count_blue FILE: the trace's pure blue pixels inside the screen `scope` on a screenshot,
# counted by the program named in blue_pixels.
count_blue() {
    "$blue_pixels" "$1" $((X + $(px 90))) $((Y + menu + $(px 50))) "$(px 505)" "$(px 421)"
}

# The part of the File menu's list that covers the client area's top-left corner.
file_menu_digest() { screen_digest 4 4 30 12; }

# wait_for_file_menu IDLE_DIGEST SECONDS: waits until the File menu's list is on the screen.
wait_for_file_menu() {
    local _
    for _ in $(seq $(($2 * 5))); do
        [[ $(file_menu_digest) != "$1" ]] && return 0
        sleep 0.2
    done
    fail "the File menu did not open within $2 s"
}

# wait_end SECONDS: waits for the program to end; sets sim_status to its exit status.
# Returns 1 if it is still running after that time.
wait_end() {
    local _
    for _ in $(seq $(($1 * 10))); do
        kill -0 "$sim_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$sim_pid" 2>/dev/null && return 1
    sim_status=0
    wait "$sim_pid" || sim_status=$?
    sim_pid=
}

# Ends a program left running by a failed check.
stop_sim() {
    if [[ -n ${sim_pid:-} ]]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
        sim_pid=
    fi
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }
