# Sourced, not run: the steps every driver of the real program under Wine shares (tests/e2e,
# scripts/run, scripts/screenshots): a copy of the demo folder, the virtual mouse plugged in, the
# program started and its main window found, and clicks at the centres of skin keys. Expects a
# Wine session (scripts/wine-env, or a prefix and display of the caller's own) and leaves failure
# handling to the caller: the waits return non-zero on timeout.

APP_TITLE='^VANTREL T-30$'

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

main_window_id() { xdotool search --onlyvisible --name "$APP_TITLE" | head -1; }
main_window_found() { [ -n "$(main_window_id 2>/dev/null)" ]; }

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
