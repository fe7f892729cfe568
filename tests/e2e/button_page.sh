#!/usr/bin/env bash
# End-to-end scenarios of the button assignment page and its dialogs, under Wine with the
# virtual mouse:
#   button_page.sh SCENARIO DEMO_FOLDER
# The page sits at the main window's "page" rectangle; its controls are found through the
# page's own skin file.
here=$(cd "$(dirname "$0")" && pwd)
scenario=$1
source "$here/lib.sh"
install_demo "$2"

# Screen point of key N of "skin_button_page.ini" (the page lies at key 9 of the main skin).
page_origin() {
    tr -d '\r' <skins/skin_main.ini | awk -F'[=,]' '/^9=/ { print $3, $4; exit }'
}
page_key_centre() {
    local ox oy x y
    read -r ox oy < <(page_origin)
    read -r x y < <(key_centre skin_button_page.ini "$1")
    echo "$((ox + x)) $((oy + y))"
}
click_page() { click_at $(page_key_centre "$1"); }
# Centre of key N of another dialog's skin, for a dialog whose top-left corner is at X Y.
dialog_key_centre() {
    local file=$1 key=$2 left=$3 top=$4 x y
    read -r x y < <(key_centre "$file" "$key")
    echo "$((left + x)) $((top + y))"
}
# Top-left corner of the visible top-level window of a given size ("400x216").
window_origin() {
    xwininfo -root -children 2>/dev/null | awk -v size="$1" '
        $0 ~ " " size "\\+" { split($0, a, size "+"); split(a[2], b, /[+ ]/); print b[1], b[2]; exit }'
}
window_of_size_open() { [ -n "$(window_origin "$1")" ]; }
shot() { xwd -root -silent | /usr/bin/convert xwd:- "$1"; }

# The bytes of the last report with a given id, e.g. last_report 08.
last_report() { vm reports | awk -v id="$1" '$2 == id { line = $0 } END { print line }'; }

start_with_mouse() {
    start_mouse
    vm plug 2
    start_app
    wait_for "the main window" 20 main_window_visible
    click_main 5  # a first full apply, so later ones send only what changed
    wait_for "the first apply" 15 reports_have_button_map
    sleep 1
    vm clear
}

case "$scenario" in
screenshots)
    # Not a test: pictures of the page and its dialogs for a person to look at.
    out=${T30_SHOT_DIR:-/tmp}
    start_with_mouse
    shot "$out/page.png"
    click_page 4
    sleep 0.5
    shot "$out/function_menu.png"
    xdotool key Escape
    sleep 0.5
    xdotool key Escape
    sleep 0.5
    click_page 87
    sleep 0.5
    shot "$out/mode_menu.png"
    xdotool key Escape
    sleep 0.5
    ;;
*)
    fail "unknown scenario $scenario"
    ;;
esac
