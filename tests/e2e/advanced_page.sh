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
    read -r x y < <(skin_key_centre skin_advance_setting.ini 14)
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
record_assign_apply)
    # A macro recorded with its pauses, given to button 3 on the button page and applied: the
    # mouse's report 0x09 carries the recorded keys and pauses.
    start_with_mouse
    click_main 2  # the advanced tab
    sleep 0.5
    click_advanced 10  # new macro
    xdotool type --delay 60 Dash
    xdotool key Return
    sleep 0.5
    click_advanced 19  # record delays
    click_advanced 15  # record
    tap a 0.1
    xdotool keydown b
    sleep 0.5
    xdotool keyup b
    sleep 0.2
    click_advanced 16  # stop
    wait_for "the recorded macro in macro.data" 5 macro_events_are 0 4
    events=()
    for e in 0 1 2 3; do events+=("$(macro_event 0 $e)"); done
    read -r _ _ short < <(echo "${events[0]}")
    read -r _ _ long < <(echo "${events[2]}")
    [ "$short" -ge 60 ] && [ "$short" -le 1500 ] ||
        fail "a tap of about 100 ms was recorded as $short ms"
    [ "$long" -ge 400 ] && [ "$long" -le 2500 ] ||
        fail "a hold of about 500 ms was recorded as $long ms"
    give_button3_first_macro
    click_main 5  # apply
    wait_for "the button map" 15 reports_have_button_map
    [ "$(report_ids)" = "09 08" ] || fail "apply sent '$(report_ids)', expected 09 08"
    [ "$(button_map_entry 3 | cut -d' ' -f1)" = "12" ] || fail "button 3 is not a macro"
    # The report decoded back into events must give the recorded keys and pauses (pauses go in
    # 2 ms units, so an odd pause loses its last millisecond).
    problem=$(last_report 09 | python3 -c '
import sys
fields = sys.stdin.read().split()[1:]
report = [int(b, 16) for b in fields]
events = [tuple(map(int, e.split())) for e in sys.argv[2:]]
repeat = int(sys.argv[1])
def check():
    if len(report) != 130:
        return "the report is %d bytes long" % len(report)
    head = report[:5]
    if head != [0x09, 0x82, 4, 1, max(repeat & 0xFF, 1)]:
        return "the report starts %s" % " ".join("%02X" % b for b in head)
    if any(report[5:29]):
        return "bytes 5..28 are not zero"
    n = report[29]
    if 30 + 2 * n > 130 or any(report[30 + 2 * n:]):
        return "%d pairs do not end the report cleanly" % n
    decoded, pause, trailing = [], 0, 0
    for k in range(n):
        value, code = report[30 + 2 * k], report[31 + 2 * k]
        if code == 3:
            pause += 200 * value
        elif code == 0:
            trailing = 2 * value
        else:
            decoded.append((code, 2 if value & 0x80 else 1, pause + 2 * (value & 0x7F)))
            pause = 0
    expected = [(key, action, 0 if i == 0 else events[i - 1][2] & ~1)
                 for i, (key, action, _) in enumerate(events)]
    if decoded != expected:
        return "the report holds %s, the recording %s" % (decoded, expected)
    # Pause pairs after the last event carry its own pause.
    if pause + trailing != events[-1][2] & ~1:
        return "the trailing pause is %d ms, recorded %d" % (pause + trailing, events[-1][2])
    return ""
print(check())
' "$(macro_i32 0 52)" "${events[@]}")
    echo "recorded ${events[*]}; sent $(last_report 09 | cut -d' ' -f2-6,31-42)"
    [ -z "$problem" ] || fail "$problem"
    [ "$(echo "${events[*]}" | awk '{ print $1, $2, $4, $5, $7, $8, $10, $11 }')" = \
        "4 1 4 2 5 1 5 2" ] || fail "recorded events '${events[*]}', expected A then B"
    ;;
exit_while_recording)
    # The program told to end in the middle of a recording keeps what was recorded so far.
    open_advanced_page
    click_advanced 10  # new macro
    xdotool type --delay 60 Kept
    xdotool key Return
    sleep 0.5
    click_advanced 15  # record
    tap a 0.2
    wine taskkill /IM T30Config.exe >/dev/null 2>&1  # a polite close, not /F
    wait_for "the program to end" 20 process_ended "$last_app_pid"
    [ "$(macro_name 0)" = Kept ] || fail "the macro is named '$(macro_name 0)'"
    macro_events_are 0 2 || fail "macro.data keeps $(macro_i32 0 56) events, expected 2"
    [ "$(macro_event 0 0 | cut -d' ' -f1-2) $(macro_event 0 1 | cut -d' ' -f1-2)" = "4 1 4 2" ] ||
        fail "the kept events are '$(macro_event 0 0)' and '$(macro_event 0 1)'"
    ;;
*)
    fail "no scenario $scenario"
    ;;
esac
