#!/usr/bin/env bash
# The paths a user takes through the real window, each control driven as a user drives it (clicks
# and keys from outside), each checked where the user would look: the reports the virtual mouse
# received, the files in config\, the desktop's registry and the screen.
#   user_paths.sh SCENARIO DEMO_FOLDER
# Checks that share a setup share one program start.
here=$(cd "$(dirname "$0")" && pwd)
scenario=$1
source "$here/lib.sh"
install_demo "$2"

# Clicks item N (1-based) of the newest open pop-up menu; items are 20 pixels high below a
# 3-pixel frame.
click_menu_row() {
    local mx my
    wait_for "a pop-up menu" 5 menu_is_open
    read -r mx my _ < <(menu_windows | head -1)
    xdotool mousemove $((mx + 40)) $((my + 3 + 20 * ($1 - 1) + 10))
    sleep 0.3
    xdotool click 1
}
menu_is_open() { [ -n "$(menu_windows)" ]; }
menu_is_closed() { [ -z "$(menu_windows)" ]; }

# Applies and waits for the reports: exactly the ids given must arrive, in this order.
apply_expecting() {
    vm clear
    click_main 5
    wait_for "the reports $*" 15 reports_are "$*"
    sleep 0.6  # a report more would arrive within the 400 ms pause after the last one
    [ "$(report_ids)" = "$*" ] || fail "apply sent '$(report_ids)', expected '$*'"
}
reports_are() { [ "$(report_ids)" = "$1" ]; }
# The last report with an id without its identity column, e.g. "05 09 04 03 08 FF 00 00 01".
report_of() { last_report "$1" | cut -d' ' -f2-; }
# A report with some bytes replaced: with_bytes "04 22 ..." 18=12 19=34.
with_bytes() {
    local report=$1
    shift
    awk -v changes="$*" '{ n = split(changes, c, " ")
        for (i = 1; i <= n; i++) { split(c[i], kv, "="); $(kv[1] + 1) = kv[2] }
        print }' <<<"$report"
}

# Wine's colour dialog, answered by keyboard: red typed into its box (reached by its Alt key),
# green and blue into the next two boxes (Tab selects each box's text), then Enter for OK.
pick_colour() {
    wait_for "the colour dialog" 10 dialog_open Color
    sleep 0.5
    xdotool key alt+r
    xdotool type --delay 40 "$1"
    xdotool key Tab
    xdotool type --delay 40 "$2"
    xdotool key Tab
    xdotool type --delay 40 "$3"
    xdotool key Return
    wait_for "the colour dialog to close" 10 dialog_closed Color
}

# Two macros: "Jump" (Space pressed, 10 ms, Space released; repeated twice) and "Walk" (A).
write_two_macros() {
    mkdir -p config
    python3 - <<'PY'
import struct
def record(name, events, repeat):
    body = b"".join(struct.pack("<BBH", *e) for e in events)
    return (struct.pack("<i", 0) + name.encode("utf-16-le").ljust(48, b"\0") +
            struct.pack("<ii", repeat, len(events)) + body.ljust(160, b"\0"))
open("config/macro.data", "wb").write(record("Jump", [(0x2C, 1, 10), (0x2C, 2, 0)], 2) +
                                       record("Walk", [(4, 1, 0), (4, 2, 0)], 1))
PY
}
# Every event of macro N as "key action delay" joined by commas.
macro_events() {
    local e out=()
    for ((e = 0; e < $(macro_i32 "$1" 56); e++)); do out+=("$(macro_event "$1" $e)"); done
    (IFS=,; echo "${out[*]}")
}
macro_events_now() { [ "$(macro_events "$1")" = "$2" ]; }
macro_named() { [ "$(macro_name "$1")" = "$2" ]; }
# Double-clicks row R of list key N of the advanced page.
double_click_row() {
    xdotool mousemove $(advanced_row_centre "$1" "$2")
    sleep 0.2
    xdotool click --repeat 2 --delay 80 1
    sleep 0.5
}
# Selects row R of the event list, opens its menu with the right button, and chooses by keys.
event_menu() {
    click_at $(advanced_row_centre 14 "$1")
    shift
    xdotool click 3
    wait_for "the event menu" 5 menu_is_open
    sleep 0.3
    xdotool key --delay 60 "$@"
}
# Top-left corner of the main window on the screen, as "x y".
main_origin() {
    xwininfo -root -children 2>/dev/null | awk '!found && /"VANTREL T-30": \("t30config.exe"/ {
        split($(NF - 1), g, /[x+]/); print g[3], g[4]; found = 1 }'
}
main_at() { near "$(main_origin)" "$1"; }
main_size_is() { [ "$(main_size)" = "$1" ]; }
main_minimised() { local h; h=$(main_size); h=${h#*x}; [ -n "$h" ] && [ "$h" -lt 50 ]; }
main_size() {
    xwininfo -root -children 2>/dev/null | awk '!found && /"VANTREL T-30": \("t30config.exe"/ {
        split($(NF - 1), g, /[x+]/); print g[1] "x" g[2]; found = 1 }'
}
origin_of_size_is() { near "$(window_origin "$1")" "$2"; }
# Drags with the left button from X1 Y1 to X2 Y2, as a hand does: a first nudge of one pixel
# and a pause while Wine's move loop starts (moves made before it runs are lost to it, so the
# window may end up a pixel short), then a few steps; it lets go once COMMAND... holds.
drag() {
    local x1=$1 y1=$2 x2=$3 y2=$4 what=$5 k
    shift 5
    xdotool mousemove "$x1" "$y1"
    sleep 0.2
    xdotool mousedown 1
    xdotool mousemove $((x1 + 1)) "$y1"
    sleep 0.5
    for k in 1 2 3 4 5; do
        xdotool mousemove $((x1 + (x2 - x1) * k / 5)) $((y1 + (y2 - y1) * k / 5))
        sleep 0.1
    done
    local deadline=$((SECONDS + 5))
    until "$@" >/dev/null 2>&1; do
        if [ $SECONDS -ge $deadline ]; then
            xdotool mouseup 1
            fail "timed out waiting for $what"
        fi
        sleep 0.2
    done
    xdotool mouseup 1
    sleep 0.3
    "$@" || fail "$what: it moved again when let go"
}
# "X Y" within a pixel of "X2 Y2".
near() {
    local ax ay bx by
    read -r ax ay <<<"$1"
    read -r bx by <<<"$2"
    [ -n "$ax" ] && [ $((ax - bx)) -le 1 ] && [ $((bx - ax)) -le 1 ] &&
        [ $((ay - by)) -le 1 ] && [ $((by - ay)) -le 1 ]
}
# Drags the dialog of a size (e.g. 400x258) by a point of its body and checks that it followed.
drag_dialog() {
    local size=$1 dx dy
    wait_for "the $size dialog" 10 window_of_size_open "$size"
    read -r dx dy < <(window_origin "$size")
    drag $((dx + 200)) $((dy + 8)) $((dx + 260)) $((dy + 48)) \
        "the $size dialog to follow the drag from $dx $dy" \
        origin_of_size_is "$size" "$((dx + 60)) $((dy + 40))"
}
program_path() { read_text "$settings" $((4 + 500)) 1000; }
program_path_is() { [ "$(program_path)" = "$1" ]; }

# The three outermost pixels of the open pop-up menu's left edge, half-way down, as
# "r,g,b r,g,b r,g,b": the program frames its menus red outside, then two lines of 30,30,30.
menu_edge_colours() {
    local id h
    id=$(popup_menu)
    h=$(xwininfo -id "$id" | awk '/Height:/ { print $NF }')
    xwd -id "$id" -silent | /usr/bin/convert xwd:- -crop "3x1+0+$((h / 2))" -depth 8 txt:- |
        sed -n 's/^[0-9]*,[0-9]*: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | paste -sd' '
}
PRODUCT_MENU_EDGE="255,0,0 30,30,30 30,30,30"
# Opens the notification icon's menu with the right button.
open_tray_menu() {
    click_tray_icon 3
    wait_for "the icon's menu" 10 menu_open
    sleep 0.5
}

# Width of a BMP picture of the skin.
bmp_width() { od -An -t d4 -j 18 -N 4 "skins/$1" | tr -d ' '; }

case "$scenario" in
button_page_controls)
    # Every control on the right of the button page, then the restore button: each Apply sends
    # only the report of what changed, carrying the new value.
    start_mouse
    vm plug 2
    start_app
    wait_for "the main window" 20 main_window_visible
    click_main 5
    wait_for "the first apply" 15 reports_have_button_map
    sleep 1
    dpi=$(report_of 04)
    light=$(report_of 05)
    map=$(report_of 08)
    # Report rate: each of the four buttons gives its code.
    codes=(08 04 02 01)
    for j in 3 0 2 1; do
        click_page $((68 + j))
        apply_expecting 06
        [ "$(report_of 06)" = "06 08 ${codes[j]} 00 00 00 00 00" ] ||
            fail "rate button $j sent '$(report_of 06)'"
    done
    # Lighting effect by its menu, opened and chosen by clicks: the first item, steady (mode 1).
    click_page 87
    click_menu_row 1
    wait_for "the effect menu to close" 5 menu_is_closed
    apply_expecting 05
    light=$(with_bytes "$light" 2=01 4=08)
    [ "$(report_of 05)" = "$light" ] || fail "steady sent '$(report_of 05)', expected '$light'"
    # Level: the second brightness.
    click_page 88
    click_menu_row 2
    wait_for "the level menu to close" 5 menu_is_closed
    apply_expecting 05
    light=$(with_bytes "$light" 4=05)
    [ "$(report_of 05)" = "$light" ] || fail "level 2 sent '$(report_of 05)', expected '$light'"
    # The lighting colour, enabled in steady mode, through the colour dialog.
    click_page 90
    pick_colour 18 52 86
    apply_expecting 05
    light=$(with_bytes "$light" 5=12 6=34 7=56)
    [ "$(report_of 05)" = "$light" ] || fail "the colour sent '$(report_of 05)', expected '$light'"
    # The third stage's colour swatch.
    click_page 32
    pick_colour 171 205 239
    apply_expecting 04
    dpi=$(with_bytes "$dpi" 24=AB 25=CD 26=EF)
    [ "$(report_of 04)" = "$dpi" ] || fail "the stage colour sent '$(report_of 04)', expected '$dpi'"
    # The first stage's slider knob dragged past the right end of its track: value 126, sent
    # halved with the stage's range bit set.
    read -r ox oy < <(page_origin)
    read -r wx wy < <(key_origin skin_button_page.ini 72)
    knob=$(bmp_width scroll_arrow_down.bmp)
    value=$((16#$(cut -d' ' -f8 <<<"$dpi")))
    knob_x=$((ox + wx + 35 + ((265 - knob) * (value - 1) + 62) / 125 + knob / 2))
    knob_y=$((oy + wy + 22))
    xdotool mousemove "$knob_x" "$knob_y"
    sleep 0.2
    xdotool mousedown 1
    for dx in 20 60 120 200 280 320; do
        xdotool mousemove $((knob_x + dx)) "$knob_y"
        sleep 0.1
    done
    xdotool mouseup 1
    sleep 0.3
    apply_expecting 04
    mask=$(printf '%02X' $((16#$(cut -d' ' -f6 <<<"$dpi") | 1)))
    dpi=$(with_bytes "$dpi" 5="$mask" 6="$mask" 7=3F 12=3F)
    [ "$(report_of 04)" = "$dpi" ] || fail "the dragged slider sent '$(report_of 04)', expected '$dpi'"
    # Restore: button 3 given the copy shortcut, then the restore button gives back the defaults.
    click_page 4
    open_function_menu_item 20 4
    apply_expecting 08
    [ "$(report_of 08)" != "$map" ] || fail "the copy shortcut changed nothing in 0x08"
    click_page 67
    apply_expecting 08
    [ "$(report_of 08)" = "$map" ] || fail "after restore 0x08 is '$(report_of 08)', expected '$map'"
    ;;
macro_editor)
    # The macro editor in the real window: a rename by double click and two refused renames, the
    # repeat count typed, a pause edited twice, deleted and inserted again, the five mouse
    # buttons' steps from the submenu, recordings before and after a step, a key step deleted.
    # macro.data follows each step; a button given the macro sends it in 0x09.
    write_two_macros
    start_with_mouse
    click_main 2  # the advanced tab
    sleep 0.5
    double_click_row 13 0
    xdotool type --delay 60 Hop
    xdotool key Return
    wait_for "the rename in macro.data" 5 macro_named 0 Hop
    for taken in Walk walk; do
        double_click_row 13 0
        xdotool type --delay 60 "$taken"
        xdotool key Return
        sleep 1
        [ "$(macro_name 0)" = Hop ] || fail "the rename to '$taken' was taken: '$(macro_name 0)'"
    done
    [ "$(macro_name 1)" = Walk ] || fail "the second macro is now '$(macro_name 1)'"
    # Repeat count: 300 is held to 255, then 7; kept with the next change of the macro.
    click_advanced 17
    xdotool key End shift+Home
    xdotool type --delay 80 300
    xdotool key End shift+Home
    xdotool type --delay 80 7
    # Lines: Space, 10 ms, Space. The pause by double click, then by the menu's Edit Pause.
    double_click_row 14 1
    xdotool type --delay 60 250
    xdotool key Return
    wait_for "the pause of 250 ms" 5 macro_events_now 0 "44 1 250,44 2 0"
    [ "$(macro_i32 0 52)" = 7 ] || fail "the repeat count is $(macro_i32 0 52), expected 7"
    event_menu 1 Down Down Down Down Down Return
    sleep 0.5
    xdotool type --delay 60 70000
    xdotool key Return
    wait_for "the pause held to 65535 ms" 5 macro_events_now 0 "44 1 65535,44 2 0"
    event_menu 1 Down Down Down Down Down Down Return  # delete the pause line
    wait_for "the pause deleted" 5 macro_events_now 0 "44 1 0,44 2 0"
    event_menu 1 Down Down Down Return  # insert a pause before the second Space
    wait_for "the inserted pause" 5 macro_events_now 0 "44 1 1,44 2 0"
    # The mouse buttons' steps, each inserted before the last line's event (the release of
    # Space): the submenus in order, press and release, press, release, press and release, press.
    lines=3
    for step in "1 3" "2 1" "3 2" "4 3" "5 1"; do
        read -r button item <<<"$step"
        keys=(Down Down Down Down Right)
        for ((k = 1; k < button; k++)); do keys+=(Down); done
        keys+=(Right)
        for ((k = 1; k < item; k++)); do keys+=(Down); done
        event_menu $((lines - 1)) "${keys[@]}" Return
        lines=$((lines + (item == 3 ? 2 : 1)))
        sleep 0.5
    done
    steps="44 1 1,241 1 0,241 2 0,242 1 0,243 2 0,245 1 0,245 2 0,244 1 0,44 2 0"
    wait_for "the mouse button steps" 5 macro_events_now 0 "$steps"
    # Record before the first step (C), then after the last (D).
    event_menu 0 Down Return
    sleep 0.5
    xdotool key c
    sleep 0.3
    click_advanced 16  # stop
    wait_for "C recorded before the first step" 5 macro_events_now 0 "6 1 0,6 2 0,$steps"
    event_menu 11 Down Down Return
    sleep 0.5
    xdotool key d
    sleep 0.3
    click_advanced 16
    wait_for "D recorded after the last step" 5 macro_events_now 0 "6 1 0,6 2 0,$steps,7 1 0,7 2 0"
    # Lines: C, C, Space, 1 ms, then the steps from line 4: the press of the middle button
    # (242) is line 6; deleting its key line removes the step.
    event_menu 6 Down Down Down Down Down Down Return
    steps=${steps/242 1 0,/}
    wait_for "the key line deleted" 5 macro_events_now 0 "6 1 0,6 2 0,$steps,7 1 0,7 2 0"
    [ "$(macro_i32 0 52)" = 7 ] || fail "the repeat count is $(macro_i32 0 52), expected 7"
    [ "$(macro_count)" = 2 ] || fail "macro.data holds $(macro_count) macros"
    # Button 3 gets the macro; Apply sends it.
    give_button3_first_macro
    apply_expecting 09 08
    expected=$(expected_macro_report 0 3 1)
    [ "$(report_of 09)" = "$expected" ] || fail "0x09 is
$(report_of 09)
expected
$expected"
    ;;
advanced_checks)
    # The two checks of the advanced page, clicked and applied: the desktop's registry follows,
    # the mouse hears nothing.
    keep_desktop_settings
    start_with_mouse
    precision() { echo "$(desktop_value Mouse MouseSpeed) $(desktop_value Mouse MouseThreshold1)" \
        "$(desktop_value Mouse MouseThreshold2)"; }
    precision_is() { [ "$(precision)" = "$1" ]; }
    # Windows keeps page scrolling as -1, Wine spells it unsigned.
    page_scroll_in_registry() {
        case "$(desktop_value Desktop WheelScrollLines)" in -1 | 4294967295) ;; *) return 1 ;; esac
    }
    lines=$(desktop_value Desktop WheelScrollLines)
    before=$(precision)
    case "$before" in
    "0 0 0") toggled="1 6 10" ;;
    "1 6 10") toggled="0 0 0" ;;
    *) fail "the desktop starts with precision '$before'" ;;
    esac
    [ "$lines" != -1 ] || fail "the desktop starts with page scrolling"
    click_main 2  # the advanced tab
    sleep 0.5
    click_advanced 2  # enhance precision
    click_main 5
    wait_for "precision '$toggled' in the registry" 10 precision_is "$toggled"
    desktop_value_is Desktop WheelScrollLines "$lines" || fail "precision changed the wheel lines"
    click_advanced 5  # page scrolling
    click_main 5
    wait_for "page scrolling in WheelScrollLines" 10 page_scroll_in_registry
    precision_is "$toggled" || fail "page scrolling changed precision to '$(precision)'"
    click_advanced 2
    click_advanced 5
    click_main 5
    wait_for "precision '$before' again (now '$(precision)')" 10 precision_is "$before"
    wait_for "WheelScrollLines $lines again" 10 desktop_value_is Desktop WheelScrollLines "$lines"
    sleep 1
    [ -z "$(report_ids)" ] || fail "the pointer checks sent '$(report_ids)' to the mouse"
    ;;
main_window)
    # The main window's own keys and its body: dragged by the body of the window, of a page and
    # of each modal dialog; the minimise key and the way back from the notification icon; a
    # program bound and cleared with its key.
    start_with_mouse
    main_at "0 0" || fail "the main window starts at $(main_origin)"
    drag 470 20 570 80 "the window to follow its body" main_at "100 60"
    drag 570 80 470 20 "the window back at the corner" main_at "0 0"
    read -r ox oy < <(page_origin)
    drag $((ox + 370)) $((oy + 440)) $((ox + 400)) $((oy + 460)) \
        "the window to follow the page's body" main_at "30 20"
    drag $((ox + 400)) $((oy + 460)) $((ox + 370)) $((oy + 440)) \
        "the window back at the corner" main_at "0 0"
    # The dialogs: the restore confirmation, the shortcut dialog and the macro selection.
    click_main 15
    drag_dialog 400x258
    read -r dx dy < <(window_origin 400x258)
    click_at $(dialog_key_centre skin_warn.ini 2 "$dx" "$dy")  # Cancel
    wait_for "the confirmation to close" 5 no_window_of_size 400x258
    click_page 4
    open_function_menu_item 12
    drag_dialog 400x216
    read -r dx dy < <(window_origin 400x216)
    click_at $(dialog_key_centre skin_key.ini 2 "$dx" "$dy")  # Cancel
    wait_for "the shortcut dialog to close" 5 no_window_of_size 400x216
    click_page 4
    open_function_menu_item 13
    drag_dialog 400x350
    read -r dx dy < <(window_origin 400x350)
    click_at $(dialog_key_centre skin_select_macro.ini 2 "$dx" "$dy")  # Cancel
    wait_for "the macro dialog to close" 5 no_window_of_size 400x350
    sleep 1
    [ -z "$(report_ids)" ] || fail "dragging and cancelling sent '$(report_ids)'"
    # The minimise key; a click on the notification icon brings the window back.
    # (Wine, with no window manager, shows a minimised window as a small bar at the bottom.)
    size=$(main_size)
    click_main 6
    wait_for "the window to minimise (now $(main_size))" 10 main_minimised
    click_tray_icon
    wait_for "the window back from the icon" 10 main_size_is "$size"
    wait_for "the window back at the corner" 5 main_at "0 0"
    # A program bound through the browse key, then cleared with the clear key.
    no_program=$(key_look 18)
    click_main 19
    answer_file_dialog Open 'C:\windows\notepad.exe'
    [ "$(key_look 18)" != "$no_program" ] || fail "the program label did not change"
    click_main 5
    wait_for "the binding in Config.data" 10 program_path_is 'C:\windows\notepad.exe'
    click_main 20
    [ "$(key_look 18)" = "$no_program" ] || fail "the clear key left the program label"
    click_main 5
    wait_for "the binding cleared in Config.data" 10 program_path_is ''
    ;;
tray_menu)
    # The notification icon's menu: opened by the right button, framed like the program's own
    # menus; Exit, chosen while an apply is still sending, ends the program once every report
    # is out.
    start_with_mouse
    app=$last_app_pid
    open_tray_menu
    [ "$(menu_edge_colours)" = "$PRODUCT_MENU_EDGE" ] ||
        fail "the icon's menu has the edge '$(menu_edge_colours)', not the program's frame"
    shot tray_menu
    xdotool key Escape
    wait_for "the icon's menu to close" 5 menu_is_closed
    # Four changes: an apply of four reports, 400 ms after each; Exit chosen at once.
    read -r ox oy < <(page_origin)
    read -r sx sy < <(key_origin skin_button_page.ini 75)
    click_at $((ox + sx + 22)) $((oy + sy + 20))  # the fourth stage's selector
    click_page 68
    click_page 87
    click_menu_row 1
    wait_for "the effect menu to close" 5 menu_is_closed
    click_page 4
    open_function_menu_item 20 4
    xdotool mousemove $(skin_key_centre skin_main.ini 5) click 1
    click_tray_icon 3
    wait_for "the icon's menu" 10 menu_open
    sent_at_menu=$(report_ids)
    xdotool key Up Return  # Exit, the last item
    sent_at_exit=$(report_ids)
    wait_for "the program to end" 20 process_ended "$app"
    [ "$(report_ids)" = "04 05 06 08" ] ||
        fail "the program ended after sending '$(report_ids)', expected 04 05 06 08"
    echo "the mouse had '$sent_at_menu' when the menu opened, '$sent_at_exit' after Exit"
    ;;
german_road)
    # The German library in place of the English one: its texts on the screen, and one road
    # through it: an edit applied, a macro recorded.
    german=$(dirname "$2")/lang/lan_de.dll
    [ -f "$german" ] || fail "no German library at $german"
    start_mouse
    vm plug 2
    start_app
    wait_for "the main window" 20 main_window_visible
    english=()
    for key in 1 2 4 5 10 15; do english+=("$(key_look $key)"); done
    wine taskkill /F /IM T30Config.exe >/dev/null 2>&1
    wait_for "the English program to end" 20 process_ended "$last_app_pid"
    cp "$german" lan.dll
    start_app
    wait_for "the main window in German" 20 main_window_visible
    n=0
    for key in 1 2 4 5 10 15; do
        [ "$(key_look $key)" != "${english[n]}" ] || fail "key $key looks as in English"
        n=$((n + 1))
    done
    shot german_buttons
    click_main 5
    wait_for "the first apply" 15 reports_have_button_map
    sleep 1
    vm clear
    click_page 4
    open_function_menu_item 20 4
    click_main 5
    wait_for "the button map" 15 reports_have_button_map
    [ "$(button_map_entry 3)" = "11 01 06" ] || fail "button 3 went out as '$(button_map_entry 3)'"
    click_main 2
    sleep 0.5
    click_advanced 10  # new macro
    xdotool type --delay 60 Sprung
    xdotool key Return
    sleep 0.5
    click_advanced 15  # record
    xdotool key a
    click_advanced 16  # stop
    wait_for "the recorded macro" 5 macro_events_are 0 2
    [ "$(macro_name 0)" = Sprung ] || fail "the macro is named '$(macro_name 0)'"
    shot german_advanced
    click_advanced 11  # delete: the German confirmation
    wait_for "the confirmation" 5 warnings_open 1
    shot german_warning
    read -r dx dy < <(window_origin 400x258)
    click_at $(dialog_key_centre skin_warn.ini 2 "$dx" "$dy")  # Cancel
    wait_for "the confirmation to close" 5 warnings_open 0
    [ "$(macro_count)" = 1 ] || fail "cancelling the German confirmation deleted the macro"
    ;;
*)
    fail "unknown scenario $scenario"
    ;;
esac
echo "ok: $scenario"
