# The program's main window, its notification icon and clicks on the session's display, for
# scripts that drive the real program in a Wine session of scripts/wine-env (its trayer panel at
# the bottom right): sourced by lib.sh (the end-to-end scenarios) and by bench/wine_session.sh.
# Skin files are read from "skins/" of the current folder, a copy of the demo folder. The
# sourcing script defines fail MESSAGE, which wait_for calls when time runs out.

APP_TITLE='VANTREL T-30'

# wait_for WHAT SECONDS COMMAND...: polls COMMAND until it succeeds. COMMAND is run anew each
# time, so it must not carry $(...) results: use the predicates below.
wait_for() {
    local what=$1 seconds=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || fail "timed out waiting for $what"
        sleep 0.2
    done
}

main_window_visible() { xdotool search --onlyvisible --name "^$APP_TITLE\$" >/dev/null 2>&1; }
main_window_hidden() { ! main_window_visible; }

# Notification icons docked in the session's XEmbed tray (Wine's explorer draws each one).
# trayer's panel window. awk reads to the end: leaving early could end xwininfo with SIGPIPE,
# which pipefail turns into a failure of the whole line.
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

# Centre of the first docked icon on the screen, as "x y": in "20x22+0+0  +1259+777" the
# icon's size and place in the panel come first, then its place on the screen.
tray_icon_centre() {
    xwininfo -tree -id "$(tray_panel)" | awk '/explorer.exe/ && !done {
        split($(NF - 1), size, /[x+]/); split($NF, at, /\+/)
        print at[2] + int(size[1] / 2), at[3] + int(size[2] / 2); done = 1 }'
}
# Clicks on the notification icon with button $1 (default 1, the left one).
click_tray_icon() {
    # shellcheck disable=SC2046
    click_at_button "${1:-1}" $(tray_icon_centre)
}

# Centre of key N of a skin description file, as "x y" in window coordinates.
key_centre() {
    local file=$1 key=$2
    tr -d '\r' <"skins/$file" | awk -F'[=,]' -v k="$key" '
        /^\[/ { in_pos = ($0 ~ /^\[BUTTONPOS\]/) }
        in_pos && $1 == k { printf "%d %d\n", $3 + $5 / 2, $4 + $6 / 2; exit }'
}

# Clicks key N of "skin_main.ini" (the main window sits at the screen's top-left corner).
click_main() { click_at $(key_centre skin_main.ini "$1"); }
click_at() { click_at_button 1 "$1" "$2"; }
click_at_button() {
    xdotool mousemove "$2" "$3"
    sleep 0.2
    xdotool click "$1"
    sleep 0.3
}
