#!/usr/bin/env bash
# Acceptance scenarios: whole roads a user takes through the real program under Wine, driven from
# outside only (clicks and keys through xdotool, the virtual mouse's commands):
#   acceptance.sh SCENARIO DEMO_FOLDER
# Each checks only what a user or the mouse can observe: the reports the virtual mouse received
# (with their bytes), the files in config\ and what is on the screen.
here=$(cd "$(dirname "$0")" && pwd)
scenario=$1
source "$here/lib.sh"
install_demo "$2"

# Index, type, event count, first event's key and action byte of the slot at a byte offset.
slot_bytes() {
    echo "$(od -An -t u1 -j "$1" -N 2 "$settings" | awk '{ print $1, $2 }')" \
        "$(od -An -t u2 -j $(($1 + 60)) -N 2 "$settings" | tr -d ' ')" \
        "$(od -An -t u1 -j $(($1 + 62)) -N 2 "$settings" | awk '{ print $1, $2 }')"
}
slot_is() { [ "$(slot_bytes "$1")" = "$2" ]; }

# The lines of the reports with one id, e.g. "2 04 22 08 ..." (identity first).
report_lines() { vm reports | awk -v id="$1" '$2 == id'; }
# The reports without the identity column, so two identities' passes can be compared.
report_bytes() { vm reports | cut -d' ' -f2-; }
# Byte N (0-based) of the last report with an id, as two hex digits.
report_byte() { report_lines "$1" | tail -1 | awk -v n="$2" '{ print $(n + 2) }'; }
identities_are() { vm reports | awk -v want="$1" '$1 != want { bad = 1 } END { exit bad }'; }

# Profile P of the settings file, byte for byte.
profile_image() { dd if="$settings" bs=1 skip="$(profile_offset "$1")" count=$PROFILE_SIZE 2>/dev/null; }
program_bound() {
    [ "$(read_text "$settings" $(($(profile_offset "$1") + PROGRAM_PATH)) 1000)" = "$2" ]
}
current_profile_is() { i32_is "$settings" 0 "$1"; }
file_has_size() { [ -f "$1" ] && [ "$(stat -c %s "$1")" = "$2" ]; }

# Record N of the macro library in hexadecimal, and the number of records.
macro_record() {
    dd if=config/macro.data bs=1 skip=$(($1 * 220)) count=220 2>/dev/null | od -An -v -t x1 | tr -d ' \n'
}
macro_count_is() { [ "$(macro_count)" = "$1" ]; }
# Clicks the up arrow (the upper half) of spin key N of "skin_advance_setting.ini".
click_advanced_spin_up() {
    local page_x page_y x y
    read -r page_x page_y < <(key_origin skin_main.ini 9)
    read -r x y < <(key_origin skin_advance_setting.ini "$1")
    click_at $((page_x + x + 11)) $((page_y + y + 10))
}
# write_i32 FILE OFFSET VALUE: a little-endian 32-bit value over the bytes at OFFSET.
write_i32() {
    printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($3 & 255)) $(($3 >> 8 & 255)) \
        $(($3 >> 16 & 255)) $(($3 >> 24 & 255)))" | dd of="$1" bs=1 seek="$2" conv=notrunc 2>/dev/null
}

first_full_apply() {
    click_main 5
    wait_for "the first apply" 15 reports_have_button_map
    sleep 0.5
}

# Whether the page shows stage N (0-based) as current: its selector's dot is red.
stage_shown() {
    local ox oy x y rgb
    read -r ox oy < <(page_origin)
    read -r x y < <(skin_key_centre skin_button_page.ini $((72 + $1)))
    x=$((ox + x - 355 / 2 + 22))
    y=$((oy + y - 30 / 2 + 20))
    rgb=$(xwd -root -silent | /usr/bin/convert xwd:- -crop "1x1+$x+$y" -depth 8 txt:- |
        sed -n '2s/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1 \2 \3/p')
    read -r r g b <<<"$rgb"
    [ "${r:-0}" -gt 150 ] && [ "${g:-255}" -lt 90 ] && [ "${b:-255}" -lt 90 ]
}

case "$scenario" in
edit_road)
    # One edit the whole way: the copy shortcut on button 3 from the function menu, Apply; the
    # mouse gets only 0x08 with the new entry and the settings file holds the new slot.
    start_with_mouse
    slot=$(($(profile_offset 0) + SLOT_BUTTONS + 3 * SLOT_SIZE))
    read -r index type _ < <(slot_bytes "$slot")
    [ "$index $type" != "3 67" ] || fail "button 3 already holds the copy shortcut"
    click_page 4
    open_function_menu_item 20 4  # Editing, then Ctrl+C
    click_main 5
    wait_for "the button map" 15 reports_have_button_map
    sleep 1
    [ "$(report_ids)" = 08 ] || fail "apply sent '$(report_ids)', expected only 08"
    entry=$(button_map_entry 3)
    [ "$entry" = "11 01 06" ] || fail "button 3 went out as '$entry', expected 11 01 06"
    # The copy shortcut is a function of its own (67): it carries no events of the slot.
    wait_for "the new slot in Config.data" 5 slot_is "$slot" "3 67 0 0 0"
    ;;
macro_export_import)
    # A library macro exported through the save dialog, deleted after the confirmation, and
    # imported back through the open dialog: the library file holds it again with its events,
    # sealed as every imported copy is.
    write_macro_library
    record=$(macro_record 0)
    start_mouse
    vm plug 2
    start_app
    wait_for "the main window" 20 main_window_visible
    click_main 2  # the advanced tab
    sleep 0.5
    click_advanced 21  # export the current macro
    answer_file_dialog 'Save As' jump
    wait_for "config\\jump.macro" 10 test -s config/jump.macro
    click_advanced 11  # delete
    wait_for "the delete confirmation" 5 warnings_open 1
    read -r dx dy < <(window_origin 400x258)
    click_at $(dialog_key_centre skin_warn.ini 1 "$dx" "$dy")  # OK
    wait_for "the confirmation to close" 5 warnings_open 0
    wait_for "the macro to leave macro.data" 5 macro_count_is 0
    click_advanced 20  # import
    answer_file_dialog Open jump.macro
    wait_for "the macro back in macro.data" 5 macro_count_is 1
    [ "$(macro_name 0)" = Jump ] || fail "the imported macro is named '$(macro_name 0)'"
    [ "$(macro_i32 0 0)" = 1 ] || fail "the imported macro is not sealed"
    [ "$(macro_record 0 | cut -c9-)" = "$(cut -c9- <<<"$record")" ] ||
        fail "the imported macro differs: $(macro_record 0) expected $record (but its seal)"
    ;;
pointer_settings_page)
    # The pointer speed, wheel lines and double-click speed moved on the advanced page with the
    # up arrows of their spins, then Apply: the profile and the desktop take the new values.
    keep_desktop_settings
    start_with_mouse
    profile=$(profile_offset 0)
    speed=$(read_i32 $settings $((profile + POINTER_SPEED)))
    lines=$(read_i32 $settings $((profile + WHEEL_LINES)))
    double=$(read_i32 $settings $((profile + DOUBLE_CLICK_INDEX)))
    [ "$speed" -le 9 ] && [ "$lines" -le 9 ] && [ "$double" -le 8 ] ||
        fail "no room to move up from speed $speed, lines $lines, double-click $double"
    # System pointer speed of each slider position, 1 to 11.
    speeds=(0 1 2 4 6 8 10 12 14 16 18 20)
    for setting in "Mouse MouseSensitivity ${speeds[speed + 2]}" "Desktop WheelScrollLines $((lines + 2))" \
        "Mouse DoubleClickSpeed $((900 - 70 * (double + 2)))"; do
        # shellcheck disable=SC2086
        ! desktop_value_is $setting || fail "the desktop already has $setting"
    done
    click_main 2  # the advanced tab
    sleep 0.5
    for key in 3 3 6 6 8 8; do click_advanced_spin_up $key; done
    click_main 5
    wait_for "pointerSpeed $((speed + 2)) in Config.data" 10 \
        i32_is $settings $((profile + POINTER_SPEED)) $((speed + 2))
    i32_is $settings $((profile + WHEEL_LINES)) $((lines + 2)) ||
        fail "wheelLines is $(read_i32 $settings $((profile + WHEEL_LINES))), expected $((lines + 2))"
    i32_is $settings $((profile + DOUBLE_CLICK_INDEX)) $((double + 2)) ||
        fail "doubleClickIndex is $(read_i32 $settings $((profile + DOUBLE_CLICK_INDEX)))," \
            "expected $((double + 2))"
    wait_for "MouseSensitivity ${speeds[speed + 2]}" 5 \
        desktop_value_is Mouse MouseSensitivity "${speeds[speed + 2]}"
    wait_for "WheelScrollLines $((lines + 2))" 5 desktop_value_is Desktop WheelScrollLines $((lines + 2))
    wait_for "DoubleClickSpeed $((900 - 70 * (double + 2)))" 5 \
        desktop_value_is Mouse DoubleClickSpeed $((900 - 70 * (double + 2)))
    [ -z "$(report_ids)" ] || fail "pointer settings sent '$(report_ids)' to the mouse"
    ;;
device_event_road)
    # The mouse's own DPI button changes the stage: saved at once, nothing sent; the next apply
    # (here OK) resends 0x04 carrying the new stage, and the stage outlives a restart.
    start_mouse
    vm plug 2
    start_app
    wait_for "the main window" 20 main_window_visible
    first_full_apply
    before=$(report_lines 04)
    [ "$(report_byte 04 17)" = 02 ] || fail "fresh profile sent stage $(report_byte 04 17)"
    vm clear
    offset=$(($(profile_offset 0) + DPI_STAGE))
    stage_shown 1 || fail "the page does not show the fresh stage 2 as current"
    vm event 2 0x1000 3
    wait_for "dpiStage 2 in Config.data" 5 i32_is $settings $offset 2
    wait_for "the page to show stage 3" 5 stage_shown 2
    stage_shown 1 && fail "the page still shows stage 2 as current"
    sleep 1.5
    [ -z "$(report_ids)" ] || fail "the device event sent '$(report_ids)'"
    app=$last_app_pid
    click_main 3  # OK: apply, then the program ends
    wait_for "the program to end" 20 process_ended $app
    [ "$(report_ids)" = 04 ] || fail "OK after the event sent '$(report_ids)', expected 04"
    expected=$(awk '{ $19 = "03"; print }' <<<"$before")
    [ "$(report_lines 04)" = "$expected" ] ||
        fail "0x04 after the event: '$(report_lines 04)', expected '$expected'"
    vm clear
    start_app
    wait_for "the main window after the restart" 20 main_window_visible
    first_full_apply
    [ "$(report_ids)" = "04 05 06 08" ] || fail "first apply after restart sent '$(report_ids)'"
    [ "$(report_byte 04 17)" = 03 ] || fail "stage $(report_byte 04 17) sent after restart"
    [ "$(read_i32 $settings $offset)" = 2 ] || fail "dpiStage lost over the restart"
    ;;
program_binding)
    # Profile 2 is bound to Notepad through the browse button and its file dialog; bringing
    # Notepad to the front makes profile 2 current and sends the whole profile.
    start_mouse
    vm plug 2
    start_app
    wait_for "the main window" 20 main_window_visible
    first_full_apply
    click_main 11  # profile 2
    checked=$(key_look 11)
    no_program=$(key_look 18)
    click_main 19  # browse for the program
    answer_file_dialog Open 'C:\windows\notepad.exe'
    bound_label=$(key_look 18)
    [ "$bound_label" != "$no_program" ] || fail "the program label did not change"
    click_main 10  # back to profile 1, which stays current
    [ "$(key_look 11)" != "$checked" ] || fail "profile 2's button looks the same unchecked"
    [ "$(key_look 18)" = "$no_program" ] || fail "profile 1 shows profile 2's program"
    vm clear
    click_main 5
    wait_for "the binding in Config.data" 10 program_bound 1 'C:\windows\notepad.exe'
    sleep 1
    [ -z "$(report_ids)" ] || fail "binding a program sent '$(report_ids)'"
    current_profile_is 0 || fail "binding a program changed the current profile"
    wine notepad.exe >/dev/null 2>&1 &
    notepad=$!
    on_cleanup+=("kill $notepad")
    wait_for "Notepad" 15 xdotool search --onlyvisible --name 'Notepad'
    wait_for "profile 2 to become current" 10 current_profile_is 1
    wait_for "the switch's apply" 15 reports_have_button_map
    ids=$(report_ids)
    [ "$ids" = "04 05 06 08" ] || fail "the switch sent '$ids', expected the whole profile"
    sleep 4.5  # two more switch checks with Notepad still in front
    [ "$(report_ids)" = "$ids" ] || fail "the switch repeated: '$(report_ids)'"
    start_app  # the user asks for the window again: it comes to the front
    sleep 2
    [ "$(key_look 11)" = "$checked" ] || fail "profile 2's button is not shown as current"
    [ "$(key_look 18)" = "$bound_label" ] || fail "the program label does not show Notepad"
    ;;
profile_export_import)
    # Export profile 1, change it on the mouse, import the file back, apply: the mouse gets the
    # very reports of the first apply, and the settings file holds the exported profile again.
    start_mouse
    vm plug 2
    start_app
    wait_for "the main window" 20 main_window_visible
    first_full_apply
    first=$(report_bytes)
    vm clear
    click_main 17  # export
    answer_file_dialog 'Save As' exported
    wait_for "config\\exported.gmp" 10 file_has_size config/exported.gmp $PROFILE_SIZE
    cmp -s <(profile_image 0) config/exported.gmp || fail "the exported profile differs"
    vm event 2 0x1000 5
    vm event 2 0x2000 1
    wait_for "reportRate 0 in Config.data" 5 \
        i32_is $settings $(($(profile_offset 0) + REPORT_RATE)) 0
    i32_is $settings $(($(profile_offset 0) + DPI_STAGE)) 4 || fail "dpiStage 4 not saved"
    click_main 16  # import
    answer_file_dialog Open exported.gmp
    sleep 1.5
    [ -z "$(report_ids)" ] || fail "importing sent '$(report_ids)'"
    i32_is $settings $(($(profile_offset 0) + DPI_STAGE)) 4 || fail "importing saved"
    click_main 5
    wait_for "the apply after the import" 15 reports_have_button_map
    [ "$(report_bytes)" = "$first" ] ||
        fail "after the import the mouse got:
$(report_bytes)
expected:
$first"
    cmp -s <(profile_image 0) config/exported.gmp || fail "Config.data does not hold the import"
    ;;
pointer_settings)
    # A profile file carrying other pointer settings (made on another computer, say) is imported
    # and applied: the desktop takes its double-click speed, pointer speed and wheel lines.
    keep_desktop_settings
    start_mouse
    vm plug 2
    start_app
    wait_for "the main window" 20 main_window_visible
    first_full_apply
    click_main 17
    answer_file_dialog 'Save As' other
    wait_for "config\\other.gmp" 10 file_has_size config/other.gmp $PROFILE_SIZE
    for setting in 'Mouse DoubleClickSpeed 760' 'Mouse MouseSensitivity 16' \
        'Desktop WheelScrollLines 7'; do
        # shellcheck disable=SC2086
        ! desktop_value_is $setting || fail "the desktop already has $setting"
    done
    write_i32 config/other.gmp $DOUBLE_CLICK_INDEX 2  # 900 - 2 * 70 ms
    write_i32 config/other.gmp $POINTER_SPEED 9       # the ninth position: speed 16
    write_i32 config/other.gmp $WHEEL_LINES 7
    vm clear
    click_main 16
    answer_file_dialog Open other.gmp
    click_main 5
    wait_for "the apply after the import" 15 reports_have_button_map
    wait_for "DoubleClickSpeed 760" 5 desktop_value_is Mouse DoubleClickSpeed 760
    wait_for "MouseSensitivity 16" 5 desktop_value_is Mouse MouseSensitivity 16
    wait_for "WheelScrollLines 7" 5 desktop_value_is Desktop WheelScrollLines 7
    i32_is $settings $(($(profile_offset 0) + POINTER_SPEED)) 9 || fail "pointerSpeed not saved"
    ;;
tray_icon)
    # The window goes to the notification area and comes back from it, looking as it did (it
    # lets go of its pictures while hidden and draws them again); the icon's menu opens the
    # window and ends the program, which sends nothing by itself.
    start_mouse
    vm plug 2
    start_app
    app=$last_app_pid
    wait_for "the main window" 20 main_window_visible
    basic_look=$(window_look)
    click_main 4  # Cancel
    wait_for "the window to hide" 10 main_window_hidden
    click_tray_icon
    wait_for "the window after a click on the icon" 10 main_window_visible
    [ "$(window_look)" = "$basic_look" ] || fail "the button page looked different when it came back"
    click_main 2  # the advanced page
    advanced_look=$(window_look)
    [ "$advanced_look" != "$basic_look" ] || fail "the advanced tab showed no other page"
    click_main 7  # close
    wait_for "the window to hide" 10 main_window_hidden
    click_tray_icon 3
    wait_for "the icon's menu" 10 menu_open
    click_menu_item first  # Open Settings
    wait_for "the window from the menu" 10 main_window_visible
    [ "$(window_look)" = "$advanced_look" ] ||
        fail "the advanced page looked different when it came back"
    click_main 1  # back to the button page, drawn again after the other page was seen
    [ "$(window_look)" = "$basic_look" ] || fail "the button page looked different after the tabs"
    vm event 2 0x1000 4
    wait_for "dpiStage 3 in Config.data" 5 i32_is $settings $(($(profile_offset 0) + DPI_STAGE)) 3
    click_tray_icon 3
    wait_for "the icon's menu" 10 menu_open
    click_menu_item last  # Exit
    wait_for "the program to end" 15 process_ended $app
    wait_for "the icon to go" 10 tray_icons 0
    [ -z "$(report_ids)" ] || fail "Exit sent '$(report_ids)'"
    i32_is $settings $(($(profile_offset 0) + DPI_STAGE)) 3 || fail "Exit lost the saved stage"
    ;;
two_identities)
    # The mouse on the first identity, then the second plugged in too: reports go to the second
    # while both are connected, and back to the first once the second is unplugged.
    start_mouse
    vm plug 1
    start_app
    wait_for "the main window" 20 main_window_visible
    first_full_apply
    identities_are 1 || fail "reports did not go through identity 1"
    first=$(report_bytes)
    vm clear
    vm plug 2
    sleep 2  # the program waits a second before it opens a newly arrived mouse
    main_window_visible || fail "the window hid when the second identity arrived"
    click_main 5
    wait_for "the apply after the arrival" 15 reports_have_button_map
    identities_are 2 || fail "with both connected, reports went to: $(vm reports | cut -c1 | sort -u)"
    [ "$(report_bytes)" = "$first" ] || fail "the arrival's full apply sent other bytes"
    vm clear
    vm unplug 2
    sleep 1.5
    main_window_visible || fail "unplugging one of two identities hid the window"
    tray_icons 1 || fail "unplugging one of two identities removed the icon"
    vm event 1 0x1000 4
    wait_for "dpiStage 3 in Config.data" 5 i32_is $settings $(($(profile_offset 0) + DPI_STAGE)) 3
    click_main 5
    wait_for "the apply through identity 1" 10 reports_sent
    sleep 1
    [ "$(report_ids)" = 04 ] || fail "the stage change sent '$(report_ids)'"
    identities_are 1 || fail "after unplugging the second, reports did not go through identity 1"
    [ "$(report_byte 04 17)" = 04 ] || fail "stage $(report_byte 04 17) sent, expected 04"
    ;;
*)
    fail "unknown scenario $scenario"
    ;;
esac
echo "ok: $scenario"
