#!/usr/bin/env bash
# End-to-end scenarios of the advanced page, driven from outside only:
#   advanced_page.sh SCENARIO DEMO_FOLDER
# They check what the user sees and what the program leaves in config\macro.data.
here=$(cd "$(dirname "$0")" && pwd)
scenario=$1
source "$here/lib.sh"
install_demo "$2"

# Presses and releases a key with pauses of about `pause` seconds around the release.
tap() {
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
    sleep "$2"
}

open_advanced_page() {
    start_mouse
    vm plug 2
    start_app
    wait_for "the main window" 20 main_window_visible
    click_main 2  # the advanced tab
    sleep 0.5
}

case "$scenario" in
record_macro)
    open_advanced_page
    shot advanced_page
    click_advanced 10  # new macro
    xdotool type --delay 60 Combo
    shot new_macro
    xdotool key Return
    sleep 0.5
    click_advanced 19  # record delays
    click_advanced 15  # record
    tap a 0.4
    tap b 0.4
    shot recording
    click_advanced 16  # stop
    wait_for "the recorded macro in macro.data" 5 macro_events_are 0 4
    [ "$(macro_count)" = 1 ] || fail "macro.data holds $(macro_count) macros, expected 1"
    [ "$(macro_name 0)" = Combo ] || fail "the macro is named '$(macro_name 0)'"
    [ "$(macro_i32 0 0)" = 0 ] || fail "the recorded macro is locked"
    expected_keys=("4 1" "4 2" "5 1" "5 2")
    for e in 0 1 2 3; do
        read -r key action delay < <(macro_event 0 $e)
        [ "$key $action" = "${expected_keys[$e]}" ] ||
            fail "event $e is '$key $action', expected '${expected_keys[$e]}'"
        if [ $e -lt 3 ]; then
            [ "$delay" -ge 250 ] && [ "$delay" -le 2000 ] ||
                fail "event $e carries a pause of $delay ms, expected about 400"
        else
            [ "$delay" = 2 ] || fail "the last event carries $delay ms, expected 2"
        fi
    done
    # Typing works normally again once the recording ended.
    click_advanced 10
    xdotool type --delay 60 Second
    xdotool key Return
    sleep 0.5
    click_advanced 15
    tap c 0.1
    click_advanced 16
    wait_for "the second macro in macro.data" 5 macro_events_are 1 2
    [ "$(macro_name 1)" = Second ] || fail "the second macro is named '$(macro_name 1)'"
    ;;
locked_macro)
    # A sealed macro, as an import of an exported file leaves it: A press, pause, A release.
    mkdir -p config
    python3 -c '
import struct, sys
name = "Sealed".encode("utf-16-le").ljust(48, b"\0")
events = struct.pack("<BBH", 4, 1, 100) + struct.pack("<BBH", 4, 2, 0)
sys.stdout.buffer.write(struct.pack("<i", 1) + name + struct.pack("<ii", 3, 2) + events.ljust(160, b"\0"))
' >config/macro.data
    before=$(md5sum <config/macro.data)
    open_advanced_page
    shot locked_macro
    click_advanced 15  # record
    wait_for "the locked-macro warning" 5 warnings_open 1
    sleep 1
    shot locked_warning
    click_warn 1
    wait_for "the warning to close" 5 warnings_open 0
    # The menu's commands are refused the same way.
    click_advanced 14
    read -r page_x page_y < <(key_origin skin_main.ini 9)
    read -r x y < <(key_centre skin_advance_setting.ini 14)
    xdotool mousemove $((page_x + x)) $((page_y + y)) click 3
    sleep 1.5
    shot event_menu
    xdotool key Down Down Down Down Down Down Return  # the last item: delete
    wait_for "the locked-macro warning" 5 warnings_open 1
    click_warn 1
    wait_for "the warning to close" 5 warnings_open 0
    [ "$(md5sum <config/macro.data)" = "$before" ] || fail "the locked macro changed on disk"
    ;;
enter_and_escape)
    open_advanced_page
    xdotool key Return Escape
    sleep 1
    main_window_visible || fail "Enter or Escape on the advanced page closed the main window"
    ;;
*)
    fail "no scenario $scenario"
    ;;
esac
