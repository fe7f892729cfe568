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

# Screen point of the top-left corner of key N of "skin_button_page.ini".
page_key_origin() {
    local ox oy
    read -r ox oy < <(page_origin)
    tr -d '\r' <skins/skin_button_page.ini | awk -F'[=,]' -v k="$1" -v ox="$ox" -v oy="$oy" '
        /^\[/ { in_pos = ($0 ~ /^\[BUTTONPOS\]/) }
        in_pos && $1 == k { print ox + $3, oy + $4; exit }'
}
report_sent() { report_ids | grep -q "$1"; }
case "$scenario" in
screenshots)
    # Not a test: pictures of the page, its menus and dialogs for a person to look at.
    out=${T30_SHOT_DIR:-/tmp}
    write_macro_library
    start_with_mouse
    read -r bx by < <(page_key_centre 4)
    xdotool mousemove "$bx" "$by"
    sleep 0.5
    layered_shot "$out/page_hover.png"
    click_page 4
    sleep 0.5
    xdotool key --delay 60 Down Down Down Down Down Down Down Down Down Down Down Down Down Down Down Down Down Down Down Down Right
    sleep 0.5
    layered_shot "$out/function_menu.png"
    xdotool key Escape Escape
    sleep 0.5
    click_page 87
    sleep 0.5
    layered_shot "$out/mode_menu.png"
    xdotool key Down Return  # steady: the colour applies
    sleep 0.5
    click_page 88
    sleep 0.5
    layered_shot "$out/level_menu.png"
    xdotool key Escape
    sleep 0.5
    click_page 4
    open_function_menu_item 12
    sleep 1
    xdotool key a
    sleep 0.3
    layered_shot "$out/shortcut_dialog.png"
    read -r dx dy < <(window_origin 400x216)
    click_at $(dialog_key_centre skin_key.ini 5 "$dx" "$dy")  # key alone
    layered_shot "$out/shortcut_dialog_alone.png"
    click_at $(dialog_key_centre skin_key.ini 2 "$dx" "$dy")
    click_page 4
    open_function_menu_item 13
    sleep 1
    read -r dx dy < <(window_origin 400x350)
    read -r lx ly < <(skin_key_centre skin_select_macro.ini 4)
    click_at $((dx + lx)) $((dy + ly - 103 + 10))
    layered_shot "$out/macro_dialog.png"
    click_at $(dialog_key_centre skin_select_macro.ini 2 "$dx" "$dy")
    click_page 1
    open_function_menu_item 2  # right click for the only primary button: refused
    sleep 1
    layered_shot "$out/click_warning.png"
    click_warn 1
    click_page 90
    sleep 1.5
    layered_shot "$out/colour_dialog.png"
    xdotool key Escape
    sleep 0.5
    layered_shot "$out/page_after.png"
    ;;
copy_shortcut)
    # Button index 3 (key 4) gets the copy shortcut from the fourth submenu, by keyboard.
    start_with_mouse
    click_page 4
    open_function_menu_item 20 4
    click_main 5
    wait_for "the button map" 15 reports_have_button_map
    entry=$(button_map_entry 3)
    [ "$entry" = "11 01 06" ] || fail "button 3 went out as '$entry', expected 11 01 06"
    [ "$(report_ids)" = "08" ] || fail "apply sent '$(report_ids)', expected only 08"
    ;;
copy_shortcut_mouse)
    # The same with the mouse: the fourth submenu's title, then its fourth item.
    start_with_mouse
    click_page 4
    sleep 0.5
    read -r mx my mw mh < <(menu_windows | head -1)
    [ -n "$mx" ] || fail "no function menu"
    xdotool mousemove $((mx + 40)) $((my + 3 + 19 * 20 + 10))
    sleep 1
    [ "$(menu_windows | wc -l)" = 2 ] || fail "the submenu did not open"
    read -r sx sy sw sh < <(menu_windows | head -1)
    xdotool mousemove $((sx + 40)) $((sy + 3 + 3 * 20 + 10))
    sleep 0.3
    xdotool click 1
    sleep 0.5
    [ "$(menu_windows | wc -l)" = 0 ] || fail "the menu stayed open"
    click_main 5
    wait_for "the button map" 15 reports_have_button_map
    entry=$(button_map_entry 3)
    [ "$entry" = "11 01 06" ] || fail "button 3 went out as '$entry', expected 11 01 06"
    ;;
shortcut_capture)
    # Key combination for button 3: B pressed in the shortcut dialog, Ctrl ticked, OK.
    start_with_mouse
    click_page 4
    open_function_menu_item 12
    wait_for "the shortcut dialog" 10 window_of_size_open 400x216
    read -r dx dy < <(window_origin 400x216)
    sleep 0.5  # the keyboard hook is installed during initialisation
    xdotool key Return  # captured like any key: the dialog stays open
    sleep 0.3
    window_of_size_open 400x216 || fail "Enter closed the shortcut dialog"
    xdotool key b
    sleep 0.3
    click_at $(dialog_key_centre skin_key.ini 7 "$dx" "$dy")  # check button 2: Ctrl
    click_at $(dialog_key_centre skin_key.ini 1 "$dx" "$dy")  # OK
    wait_for "the dialog to close" 5 no_window_of_size 400x216
    click_main 5
    wait_for "the button map" 15 reports_have_button_map
    entry=$(button_map_entry 3)
    [ "$entry" = "11 04 05" ] || fail "button 3 went out as '$entry', expected 11 04 05 (Ctrl+B)"
    ;;
macro_select)
    # A library macro for button 3 through the macro selection dialog; Apply sends its 0x09.
    write_macro_library
    start_with_mouse
    click_page 4
    open_function_menu_item 13
    wait_for "the macro dialog" 10 window_of_size_open 400x350
    read -r dx dy < <(window_origin 400x350)
    xdotool key Escape Return space
    sleep 0.3
    window_of_size_open 400x350 || fail "the keyboard closed the macro dialog"
    read -r lx ly < <(skin_key_centre skin_select_macro.ini 4)
    click_at $((dx + lx)) $((dy + ly - 103 + 10))  # the list's first line
    click_at $(dialog_key_centre skin_select_macro.ini 6 "$dx" "$dy")  # run mode 1
    click_at $(dialog_key_centre skin_select_macro.ini 1 "$dx" "$dy")  # OK
    wait_for "the dialog to close" 5 no_window_of_size 400x350
    click_main 5
    wait_for "the button map" 15 reports_have_button_map
    slot=$(slot_offset 0 3)
    [ "$(report_ids)" = "09 08" ] || fail "apply sent '$(report_ids)', expected 09 08" \
        "(slot 3: type $(od -An -t u1 -j $((slot + 1)) -N 1 $settings)," \
        "index $(read_i32 $settings $((slot + 56))), run mode $(read_i32 $settings $((slot + 232))))"
    macro=$(last_report 09 | cut -d" " -f2-6)
    [ "$macro" = "09 82 04 01 02" ] || fail "macro report starts '$macro'"
    [ "$(button_map_entry 3 | cut -d' ' -f1)" = "12" ] || fail "button 3 is not a macro"
    ;;
click_rule)
    # Button 1 holds the only primary click: giving it the right click is refused.
    start_with_mouse
    click_page 1
    open_function_menu_item 2
    wait_for "the click warning" 5 warnings_open 1
    click_warn 1
    wait_for "the warning to close" 5 warnings_open 0
    click_main 5
    sleep 2
    [ -z "$(report_ids)" ] || fail "a refused assignment sent '$(report_ids)'"
    ;;
dpi_stage)
    # The selector of the fourth stage makes it current; Apply writes it to the settings file.
    start_with_mouse
    read -r left top < <(page_key_origin 75)
    click_at $((left + 22)) $((top + 20))
    click_main 5
    wait_for "the settings report" 15 report_sent 04
    [ "$(read_i32 $settings $((4 + 1668)))" = 3 ] || fail "dpiStage is not 3 after the selector"
    ;;
*)
    fail "unknown scenario $scenario"
    ;;
esac
