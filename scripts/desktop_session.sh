# Sourced, not run: the steps every driver of the real program under Wine shares (tests/e2e,
# scripts/run, scripts/screenshots, bench/wine_session.sh): a copy of the demo folder, the virtual
# mouse plugged in, the program started and its main window found, its notification icon (in the
# trayer panel scripts/wine-env docks at the bottom right), and clicks at the centres of skin
# keys. Expects a Wine session (scripts/wine-env, or a prefix and display of the caller's own).
# poll returns non-zero on timeout; wait_for calls the caller's fail MESSAGE instead.

APP_TITLE='VANTREL T-30'

# copy_demo DEMO DEST: a fresh product folder, so a run starts without settings and the built
# demo stays as it is.
copy_demo() { cp -r "$1" "$2"; }

# poll SECONDS COMMAND...: runs COMMAND until it succeeds; non-zero once SECONDS have passed.
poll() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.2
    done
}

# start_virtual_mouse SECONDS [--window]: serves the virtual mouse from the current folder (pid
# in $mouse_pid) and waits until it answers.
start_virtual_mouse() {
    local seconds=$1
    shift
    wine vmouse.exe serve "$@" >/dev/null 2>&1 &
    mouse_pid=$!
    poll "$seconds" wine vmouse.exe reports
}

# start_program: the utility from the current folder, in the background (pid in $program_pid).
start_program() {
    wine T30Config.exe >/dev/null 2>&1 &
    program_pid=$!
}

# wait_for WHAT SECONDS COMMAND...: polls COMMAND until it succeeds. COMMAND is run anew each
# time, so it must not carry $(...) results: use the predicates here and in the caller.
wait_for() {
    local what=$1
    shift
    poll "$@" || fail "timed out waiting for $what"
}

# The first visible main window; sed reads to the end (an early exit could end xdotool with
# SIGPIPE, which pipefail turns into a failure).
main_window_id() { xdotool search --onlyvisible --name "^$APP_TITLE\$" | sed -n 1p; }
main_window_found() { [ -n "$(main_window_id 2>/dev/null)" ]; }
main_window_visible() { main_window_found; }
main_window_hidden() { ! main_window_found; }

# Notification icons docked in the session's XEmbed tray (Wine's explorer draws each one).
# trayer's panel window. awk reads to the end, for the same reason.
tray_panel() {
    xwininfo -root -tree | awk '/"panel": \("panel" "trayer"\)/ && !p { p = $1 } END { print p }'
}
tray_icon_count() {
    local panel
    panel=$(tray_panel)
    [ -n "$panel" ] || { echo 0; return; }
    xwininfo -tree -id "$panel" | grep -c 'explorer.exe' || true
}
tray_icons() { [ "$(tray_icon_count)" = "$1" ]; }
# Centre of the first docked icon on the screen, as "x y": in "20x22+0+0  +1259+777" the icon's
# size and place in the panel come first, then its place on the screen.
tray_icon_centre() {
    xwininfo -tree -id "$(tray_panel)" | awk '/explorer.exe/ && !done {
        split($(NF - 1), size, /[x+]/); split($NF, at, /\+/)
        print at[2] + int(size[1] / 2), at[3] + int(size[2] / 2); done = 1 }'
}
# click_tray_icon [BUTTON]: the left button unless given.
click_tray_icon() {
    local x y
    read -r x y < <(tray_icon_centre)
    click_at "$x" "$y" "${1:-1}"
}

# skin_key_centre FILE N: centre of key N of skins/FILE, as "x y" in window coordinates.
skin_key_centre() {
    tr -d '\r' <"skins/$1" | awk -F'[=,]' -v k="$2" '
        /^\[/ { in_pos = ($0 ~ /^\[BUTTONPOS\]/) }
        in_pos && $1 == k { printf "%d %d\n", $3 + $5 / 2, $4 + $6 / 2; exit }'
}

# click_at X Y [BUTTON]: a click at screen coordinates; waits $click_settle seconds (0.3 unless
# set) for the program to answer.
click_at() {
    xdotool mousemove "$1" "$2"
    sleep 0.2
    xdotool click "${3:-1}"
    sleep "${click_settle:-0.3}"
}

# click_main N: key N of the main window, which sits at the screen's top-left corner.
click_main() { click_at $(skin_key_centre skin_main.ini "$1"); }
