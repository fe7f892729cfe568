#!/usr/bin/env bash
# End-to-end scenarios of the real program under Wine, driven from outside only:
#   e2e.sh SCENARIO DEMO_FOLDER
# Each checks only what a user or the mouse can observe: the screen, the reports the virtual
# mouse received, and the files in config\.
here=$(cd "$(dirname "$0")" && pwd)
scenario=$1
source "$here/lib.sh"
install_demo "$2"


case "$scenario" in
start_and_apply)
    start_mouse
    vm plug 2
    start_app
    wait_for "the main window" 20 main_window_visible
    xdotool key Return Escape
    sleep 1
    main_window_visible || fail "Enter or Escape closed the main window"
    [ -z "$(report_ids)" ] || fail "Enter or Escape applied"
    click_main 5  # Apply
    wait_for "a full apply" 15 reports_have_button_map
    ids=$(report_ids)
    [ "$ids" = "04 05 06 08" ] || fail "first apply sent '$ids', expected 04 05 06 08"
    vm reports | awk '$1 != 2 { exit 1 }' || fail "reports did not go through identity 2"
    [ "$(stat -c %s $settings)" = 99952 ] || fail "Config.data is not 99952 bytes"
    vm clear
    sleep 1  # the buttons come back after the worker's pass
    click_main 5
    sleep 2.5
    [ -z "$(report_ids)" ] || fail "second apply sent '$(report_ids)'"
    ;;
unplug_and_replug)
    start_mouse
    vm plug 2
    start_app
    wait_for "the main window" 20 main_window_visible
    click_main 5
    wait_for "the first apply" 15 reports_have_button_map
    tray_icons 1 || fail "no notification icon while the mouse is plugged in"
    vm unplug 2
    wait_for "the window to hide" 10 main_window_hidden
    wait_for "the icon to go" 10 tray_icons 0
    vm plug 2
    wait_for "the icon to come back" 10 tray_icons 1
    main_window_hidden || fail "plugging in showed the window"
    vm clear
    start_app  # a second start asks the first to show itself
    wait_for "the window after the second start" 10 main_window_visible
    click_main 5
    wait_for "the apply after replugging" 15 reports_have_button_map
    ids=$(report_ids)
    [ "$ids" = "04 05 06 08" ] || fail "apply after replugging sent '$ids', expected everything"
    ;;
device_event)
    start_mouse
    vm plug 2
    start_app
    wait_for "the main window" 20 main_window_visible
    click_main 5
    wait_for "the first apply" 15 reports_have_button_map
    sleep 0.5
    vm clear
    offset=$(($(profile_offset 0) + DPI_STAGE))
    [ "$(read_i32 $settings $offset)" = 1 ] || fail "fresh dpiStage is not 1"
    vm event 2 0x1000 3
    wait_for "dpiStage 2 in Config.data" 5 i32_is $settings $offset 2
    vm event 2 0x2000 4
    wait_for "reportRate 3 in Config.data" 5 \
        i32_is $settings $(($(profile_offset 0) + REPORT_RATE)) 3
    vm event 2 0x1000 7
    sleep 1
    [ "$(read_i32 $settings $offset)" = 2 ] || fail "stage value 7 changed dpiStage"
    [ -z "$(report_ids)" ] || fail "device events sent '$(report_ids)'"
    click_main 5
    wait_for "the resend" 10 reports_sent
    sleep 2
    ids=$(report_ids)
    [ "$ids" = "04 06" ] || fail "apply after the events sent '$ids', expected 04 06"
    ;;
second_start)
    start_mouse
    vm plug 2
    start_app
    first=$last_app_pid
    wait_for "the main window" 20 main_window_visible
    click_main 4  # Cancel hides
    wait_for "the window to hide" 10 main_window_hidden
    start_app
    second=$last_app_pid
    wait_for "the second process to end" 10 process_ended $second
    wait_for "the first window to come back" 10 main_window_visible
    kill -0 "$first" || fail "the first instance ended"
    ;;
no_mouse)
    # A damaged settings file is told first, then the no-mouse warning follows: one at a time,
    # each drawn and answerable.
    python3 -c 'open("config/Config.data", "wb").write(bytes(99952))'
    start_mouse  # running, but nothing plugged
    start_app
    app=$last_app_pid
    wait_for "the warning about reset profiles" 10 warnings_open 1
    [ -f config/Config.data.damaged ] || fail "no reset: the settings file was not kept aside"
    first=$(warning_ids)
    # A warning just mapped may not take a click yet: the pointer rests on OK until OK shows its
    # hover look, then clicks.
    xdotool mousemove $(skin_key_centre skin_warn.ini 1)
    wait_for "OK to light up under the pointer" 10 warn_ok_lit
    xdotool click 1
    wait_for "the no-mouse warning after it" 10 another_warning_open "$first"
    main_window_hidden || fail "the main window showed without a mouse"
    start_app  # asks for the window again while the warning is open
    sleep 3
    [ "$(count_windows_of_size 400x258)" = 1 ] || fail "a second warning opened"
    main_window_hidden || fail "the main window showed without a mouse"
    xdotool key Return Escape
    sleep 1
    warnings_open 1 || fail "Enter or Escape closed the warning"
    click_warn 1
    wait_for "the warning to close" 10 warnings_open 0
    # Asked to end while the warning is open (as an installer or a log-off asks), it ends.
    start_app
    wait_for "the no-mouse warning again" 10 warnings_open 1
    wine taskkill /IM T30Config.exe >/dev/null 2>&1
    wait_for "the program to end" 10 process_ended "$app"
    ;;
ok_waits_for_reports)
    start_mouse
    vm plug 2
    start_app
    app=$last_app_pid
    wait_for "the main window" 20 main_window_visible
    click_main 3  # OK: apply, then the program ends
    wait_for "the program to end" 20 process_ended $app
    ids=$(report_ids)
    [ "$ids" = "04 05 06 08" ] || fail "OK ended the program after sending '$ids'"
    ;;
restore_defaults)
    start_mouse
    vm plug 2
    start_app
    wait_for "the main window" 20 main_window_visible
    click_main 13  # profile 4 becomes current
    click_main 5
    wait_for "the apply" 15 reports_have_button_map
    [ "$(read_i32 $settings 0)" = 3 ] || fail "profile 4 was not saved as current"
    sleep 0.5
    vm clear
    click_main 15  # restore defaults: confirmation first
    wait_for "the confirmation" 10 warnings_open 1
    click_warn 2  # Cancel changes nothing
    wait_for "the confirmation to close" 10 warnings_open 0
    sleep 1
    [ -z "$(report_ids)" ] || fail "declining sent '$(report_ids)'"
    [ "$(read_i32 $settings 0)" = 3 ] || fail "declining changed the current profile"
    click_main 15
    wait_for "the confirmation" 10 warnings_open 1
    click_warn 1
    wait_for "the full apply" 15 reports_have_button_map
    ids=$(report_ids)
    [ "$ids" = "04 05 06 08" ] || fail "restore sent '$ids'"
    [ "$(read_i32 $settings 0)" = 0 ] || fail "restore left profile $(read_i32 $settings 0) current"
    ;;
*)
    fail "unknown scenario $scenario"
    ;;
esac
echo "ok: $scenario"
