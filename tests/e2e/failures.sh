#!/usr/bin/env bash
# Failures the user must be told about, and a recording the program switch must not cut short,
# under Wine with the virtual mouse:
#   failures.sh SCENARIO DEMO_FOLDER
# Each checks the files before and after, what the mouse received, and that the warning is on the
# screen as a window of the program. With T30_SHOTS set, each warning is kept as a picture.
here=$(cd "$(dirname "$0")" && pwd)
scenario=$1
source "$here/lib.sh"
install_demo "$2"

# A folder made unwritable must be writable again for the common clean-up.
on_cleanup+=('chattr -R -i "$work/app/config"')

# Makes a folder that takes no new file; false when this machine cannot do it.
refusing_folder() {
    mkdir -p "$1"
    chattr +i "$1" 2>/dev/null || fail "blocked: cannot make $1 unwritable here"
    ! touch "$1/probe" 2>/dev/null || fail "blocked: $1 is still writable"
}
settings_md5() { md5sum <"$settings"; }
# The first character of profile 2's program path is not the terminator.
profile_2_bound() { [ "$(od -An -t u2 -j $((4 + PROFILE_SIZE + 500)) -N 2 "$settings" | tr -d ' ')" != 0 ]; }

case "$scenario" in
file_failures)
    # One session: a profile file that is not a profile, a profile export and a macro export into
    # a folder that refuses them, and a macro file that is not one. Each is told, and nothing
    # else changes: not the profile, not the mouse, not the settings file.
    write_macro_library
    python3 -c 'import random, sys
random.seed(21)
open(sys.argv[1], "wb").write(bytes(random.getrandbits(8) for _ in range(1000)))' config/noise.gmp
    printf 'not a macro\r\n' >config/wrong.macro
    start_with_mouse
    before=$(settings_md5)

    click_main 16  # import a profile
    answer_file_dialog Open noise.gmp
    wait_for "the warning about noise.gmp" 10 warnings_open 1
    shot_warning warn_not_a_profile
    answer_warning
    click_main 5  # apply: nothing changed, so nothing may go out
    sleep 2
    [ -z "$(report_ids)" ] || fail "after a refused import the mouse got '$(report_ids)'"
    [ "$(settings_md5)" = "$before" ] || fail "a refused import changed Config.data"

    refusing_folder config/locked
    click_main 17  # export the profile
    answer_file_dialog 'Save As' 'locked\backup.gmp'
    wait_for "the warning about backup.gmp" 10 warnings_open 1
    shot_warning warn_export_failed
    answer_warning
    [ -z "$(ls -A config/locked)" ] || fail "the refused export left $(ls -A config/locked)"

    click_main 2  # the advanced page
    sleep 0.5
    macros_before=$(md5sum <config/macro.data)
    click_advanced 20  # import a macro
    answer_file_dialog Open wrong.macro
    wait_for "the warning about wrong.macro" 10 warnings_open 1
    shot_warning warn_not_a_macro
    answer_warning
    [ "$(cat config/wrong.macro)" = "$(printf 'not a macro\r')" ] || fail "wrong.macro changed"
    click_advanced 21  # export the current macro
    answer_file_dialog 'Save As' 'locked\jump'
    wait_for "the warning about jump.macro" 10 warnings_open 1
    answer_warning
    [ -z "$(ls -A config/locked)" ] || fail "the refused export left $(ls -A config/locked)"
    [ "$(md5sum <config/macro.data)" = "$macros_before" ] || fail "macro.data changed"
    [ -z "$(report_ids)" ] || fail "the mouse got '$(report_ids)'"
    [ "$(settings_md5)" = "$before" ] || fail "Config.data changed"
    ;;
damaged_settings)
    # Profiles 2 and 4 of the settings file are out of range: they get their defaults, the others
    # are kept, the file as it was stays beside it, and one warning names the two.
    python3 - "$here" <<'PY'
import struct, sys
sys.path.insert(0, sys.argv[1])
import records
profiles = []
for n in range(1, 6):
    p = records.profile(n)
    struct.pack_into("<i", p, 1564, 30 + n)  # each its own first DPI value
    if n == 2:
        struct.pack_into("<i", p, 1676, 9)  # report rate index 9
    if n == 4:
        p[records.BUTTONS_AT + records.SLOT_SIZE * 3 + 1] = 250  # a function code nobody knows
    profiles.append(p)
block = records.block(profiles, current=2)
open("config/Config.data", "wb").write(block)
PY
    original=$(settings_md5)
    start_mouse
    vm plug 2
    start_app
    wait_for "the warning about profiles 2 and 4" 20 warnings_open 1
    shot_warning warn_profiles_reset
    [ "$(md5sum <config/Config.data.damaged)" = "$original" ] ||
        fail "the settings file as it was is not kept as Config.data.damaged"
    for p in 0 1 2 3 4; do
        stage=$(read_i32 $settings $(($(profile_offset $p) + 1564)))
        case $p in 1 | 3) want=26 ;; *) want=$((31 + p)) ;; esac
        [ "$stage" = "$want" ] || fail "profile $((p + 1)) has DPI value $stage, expected $want"
    done
    answer_warning
    wait_for "the main window" 10 main_window_visible
    vm clear
    click_main 5
    wait_for "a full apply" 15 reports_have_button_map
    ids=$(report_ids)
    [ "$ids" = "04 05 06 08" ] || fail "the apply sent '$ids', expected 04 05 06 08"
    ;;
record_holds_switch)
    # Profile 2 follows Notepad. Notepad comes to the front while a macro is being recorded: the
    # profile stays and the recording goes on; once it has ended, the next check switches.
    start_with_mouse
    click_main 11  # profile 2
    click_main 19  # its program
    answer_file_dialog Open 'C:\windows\notepad.exe'
    click_main 10  # profile 1 stays current
    click_main 5
    wait_for "the binding in Config.data" 10 profile_2_bound
    click_main 2  # the advanced page
    sleep 0.5
    click_advanced 10  # new macro
    xdotool type --delay 60 Combo
    xdotool key Return
    sleep 0.5
    vm clear
    click_advanced 15  # record
    wine notepad.exe >/dev/null 2>&1 &
    notepad=$!
    on_cleanup+=("kill $notepad")
    wait_for "Notepad" 15 xdotool search --onlyvisible --name 'Notepad'
    for key in a b; do
        xdotool keydown $key
        sleep 0.3
        xdotool keyup $key
        sleep 0.3
    done
    sleep 4.5  # two switch checks with Notepad in front
    i32_is $settings 0 0 || fail "the switch changed the profile during the recording"
    [ -z "$(report_ids)" ] || fail "the mouse got '$(report_ids)' during the recording"
    click_advanced 16  # stop
    wait_for "the recorded macro in macro.data" 5 macro_events_are 0 4
    click_main 4  # Cancel hides the window: Notepad is in front again
    wait_for "profile 2 to become current" 10 i32_is $settings 0 1
    wait_for "the switch's apply" 15 reports_have_button_map
    ;;
*)
    fail "unknown scenario $scenario"
    ;;
esac
echo "ok: $scenario"
