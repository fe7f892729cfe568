#!/usr/bin/env bash
# The real program on damaged or hostile installations, under Wine with the virtual mouse:
#   hostile.sh SCENARIO DEMO_FOLDER
# Each scenario breaks its own copy of the demo folder before the program starts, then checks
# only what a user or the mouse can observe: the window, the reports the virtual mouse received,
# the files in config\, and that the program neither crashes nor hangs.
here=$(cd "$(dirname "$0")" && pwd)
scenario=$1
build_dir=$(cd "$(dirname "$2")" && pwd)
source "$here/lib.sh"
install_demo "$2"

# A crash must end the process, not wait in Wine's debugger until the test times out.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-};winedbg.exe=d"

# Undo what the read-only scenario did, so the common clean-up can remove the folder.
on_cleanup+=('chattr -R -i "$work/app/config"')

alive() { kill -0 "$last_app_pid" 2>/dev/null || fail "the program ended $1"; }

# The first apply after a start sends everything, through identity $1 (2 unless given).
apply_sends_everything() {
    local identity=${1:-2}
    vm clear
    click_main 5
    wait_for "a full apply" 15 reports_have_button_map
    wait_for "the end of the apply" 10 reports_quiet
    local ids
    ids=$(report_ids)
    [ "$ids" = "04 05 06 08" ] || fail "the apply sent '$ids', expected 04 05 06 08"
    vm reports | awk -v id="$identity" '$1 != id { exit 1 }' ||
        fail "reports did not all go through identity $identity"
}

# No report for a while: a send pass is over (the worker pauses 400 ms after each report), so
# OK and Apply take clicks again and the mouse is no longer captured.
reports_quiet() {
    local before
    before=$(vm reports | wc -l)
    sleep 1.2
    [ "$(vm reports | wc -l)" = "$before" ]
}

# OK applies and ends the program; it must end by itself.
ok_ends_the_program() {
    wait_for "the mouse to receive nothing more" 20 reports_quiet
    click_main 3
    wait_for "the program to end after OK" 20 process_ended "$last_app_pid"
}

# A settings file as the program itself writes it: one run that makes the defaults, with
# profile $1 (1-based) made current and applied, ended by OK. The mouse stays plugged in.
make_settings_file() {
    start_plugged
    wait_for "the main window" 20 main_window_visible
    click_main $((9 + $1))
    ok_ends_the_program
    [ "$(stat -c %s $settings)" = 99952 ] || fail "the first run left no settings file"
    [ "$(read_i32 $settings 0)" = $(($1 - 1)) ] || fail "the first run did not save profile $1"
    vm clear
}

# A library the program must not take, whatever its name, was taken when its marker exists.
planted_markers() { find . -name '*.planted' -printf '%f ' 2>/dev/null; }

# The second driver library refused for whatever reason: identity 2 has no device, so the
# no-mouse warning opens; identity 1 still works through the first library.
second_library_has_no_device() {
    start_plugged
    wait_for "the no-mouse warning" 15 warnings_open 1
    main_window_hidden || fail "the main window showed with only identity 2 plugged in"
    vm plug 1
    click_warn 1
    wait_for "the warning to close" 10 warnings_open 0
    sleep 1.5  # the arrival waits a second before it opens the device
    start_app  # asks the first instance for its window
    wait_for "the main window" 15 main_window_visible
    apply_sends_everything 1
    ok_ends_the_program
}

case "$scenario" in
no_language_library)
    # Every text is empty: one message with built-in texts names the library and says to
    # reinstall; the program then runs, and still answers a second start.
    rm lan.dll
    start_plugged
    wait_for "the message about the damage" 20 damage_message_open
    shot_window "$(damage_message)" warn_damaged_installation
    close_damage_message
    wait_for "the main window" 20 main_window_visible
    apply_sends_everything
    [ "$(stat -c %s $settings)" = 99952 ] || fail "Config.data is not 99952 bytes"
    click_main 4  # Cancel hides
    wait_for "the window to hide" 10 main_window_hidden
    start_app
    wait_for "the window after a second start" 10 main_window_visible
    damage_message_closed || fail "a second start told the damage again"
    ok_ends_the_program
    ;;
skin_without_pictures)
    # No picture at all: one message says so; the main window, which would have no size, is
    # never shown, but the program runs, follows the mouse, and its notification icon's menu
    # ends it.
    find skins -type f ! -iname '*.ini' -delete
    start_plugged
    wait_for "the message about the damage" 20 damage_message_open
    wait_for "the settings file" 20 test -s $settings
    close_damage_message
    alive "without its pictures"
    main_window_hidden || fail "the main window showed without its picture"
    [ "$(count_windows_of_size 0x0)" = 0 ] || fail "a window of size zero is on the screen"
    offset=$((4 + 1668))  # dpiStage of profile 1
    vm event 2 0x1000 3
    wait_for "dpiStage 2 in Config.data" 5 i32_is $settings $offset 2
    wait_for "the notification icon" 10 tray_icons 1
    click_tray_icon 3
    wait_for "the icon's menu" 10 menu_open
    click_menu_item last  # Exit
    wait_for "the program to end from the icon's menu" 20 process_ended "$last_app_pid"
    ;;
skin_file_missing)
    # The macro selection dialog's skin file is gone: the start says so once, and everything
    # that does not need it works on.
    rm skins/skin_select_macro.ini
    start_plugged
    wait_for "the message about the damage" 20 damage_message_open
    close_damage_message
    wait_for "the main window" 20 main_window_visible
    apply_sends_everything
    ok_ends_the_program
    ;;
skin_without_entries)
    # The Apply entry is gone, the advanced tab's is garbage and one state picture is not
    # named; the warnings have no OK. Apply is invisible and clicking its place does nothing, a
    # confirmation can still be declined, and OK still applies and ends the program.
    apply_at=$(skin_key_centre skin_main.ini 5)
    advanced_at=$(skin_key_centre skin_main.ini 2)
    sed -i -e '/^5=/d' -e 's/^2=.*/2=advanced,abc,-99999999999,,,zz/' -e '/^Over=/d' \
        skins/skin_main.ini
    sed -i '/^1=/d' skins/skin_warn.ini  # the warnings' OK
    start_plugged
    wait_for "the main window" 20 main_window_visible
    click_at $apply_at
    click_at $advanced_at
    click_main 15  # restore defaults asks first; only Cancel and close are left to answer
    wait_for "the confirmation" 10 warnings_open 1
    click_warn 2
    wait_for "the confirmation to close" 10 warnings_open 0
    sleep 2
    [ -z "$(report_ids)" ] || fail "clicking where Apply was sent '$(report_ids)'"
    alive "after clicks on damaged controls"
    ok_ends_the_program
    ids=$(report_ids)
    [ "$ids" = "04 05 06 08" ] || fail "OK sent '$ids', expected 04 05 06 08"
    ;;
driver_library_missing)
    rm hiddriver_2.dll
    second_library_has_no_device
    ;;
driver_library_incomplete)
    # The same library file with one export renamed (GetFeature, looked up but never called).
    python3 - hiddriver_2.dll <<'EOF' || fail "could not rename the export"
import sys
path = sys.argv[1]
data = open(path, "rb").read()
if data.count(b"\0GetFeature\0") < 1:
    sys.exit(1)
open(path, "wb").write(data.replace(b"\0GetFeature\0", b"\0GetFeaturX\0"))
EOF
    second_library_has_no_device
    ;;
config_folder_missing)
    # The folder is made again at the first save, and everything is kept there; nothing to tell.
    rm -rf config
    start_plugged
    wait_for "the main window" 20 main_window_visible
    wait_for "the settings file" 10 test -s $settings
    apply_sends_everything
    vm event 2 0x1000 3
    wait_for "dpiStage 2 in Config.data" 5 i32_is $settings $((4 + 1668)) 2
    warnings_open 0 || fail "a warning opened though the settings could be saved"
    ok_ends_the_program
    [ "$(stat -c %s $settings)" = 99952 ] || fail "Config.data is not 99952 bytes"
    ;;
config_folder_read_only)
    # The settings and macro files of an earlier run in a folder nobody may change: the first
    # failed save is told once, later ones are not; nothing is lost, no temporary file is left.
    make_settings_file 3
    head -c 440 /dev/zero >config/macro.data
    chattr +i config config/* 2>/dev/null || fail "blocked: cannot make config read-only here"
    if touch config/probe 2>/dev/null || { : >>$settings; } 2>/dev/null; then
        fail "blocked: config is still writable"
    fi
    before=$(cd config && ls -la --time-style=+ . && md5sum *)
    start_app
    wait_for "the main window" 20 main_window_visible
    click_main 14  # profile 5
    apply_sends_everything
    wait_for "the warning that settings cannot be kept" 10 warnings_open 1
    shot_warning warn_settings_not_kept
    answer_warning
    vm event 2 0x2000 1
    sleep 1.5
    warnings_open 0 || fail "a second failed save was told again"
    alive "after saves that failed"
    ok_ends_the_program
    after=$(cd config && ls -la --time-style=+ . && md5sum *)
    [ "$before" = "$after" ] || fail "config changed: before
$before
after
$after"
    ;;
settings_index_7 | settings_index_negative)
    # A current profile index outside 0..4 in the settings file: the program runs on the first
    # profile and saves a sound index once the user picks a profile.
    index=7
    [ "$scenario" = settings_index_negative ] && index=-1
    make_settings_file 2
    python3 -c 'import struct, sys
f = open(sys.argv[1], "r+b"); f.write(struct.pack("<i", int(sys.argv[2])))' $settings $index
    [ "$(read_i32 $settings 0)" = $index ] || fail "could not write index $index"
    start_app
    wait_for "the main window" 20 main_window_visible
    apply_sends_everything
    click_main 11  # profile 2
    click_main 5
    wait_for "profile 2 saved as current" 15 i32_is $settings 0 1
    ok_ends_the_program
    ;;
macro_data_random)
    # 1000 bytes of noise as the macro library: four records of garbage and a broken tail.
    seed=${T30_SEED:-30}
    python3 -c 'import random, sys
random.seed(int(sys.argv[2]))
open(sys.argv[1], "wb").write(bytes(random.getrandbits(8) for _ in range(1000)))' \
        config/macro.data $seed
    before=$(md5sum config/macro.data)
    start_plugged
    wait_for "the main window" 20 main_window_visible
    click_main 2  # the advanced page lists the macros
    sleep 1
    click_main 1
    apply_sends_everything
    alive "with a macro library of noise (seed $seed)"
    ok_ends_the_program
    [ "$(md5sum config/macro.data)" = "$before" ] || fail "macro.data changed without a save"
    ;;
planted_system_libraries)
    # Libraries with system names in the program's folder. Windows looks for a library in the
    # application folder before the system folder unless the program limits the search; the
    # product's driver library needs hid.dll and setupapi.dll, and msimg32.dll is a system
    # library of the controls. Wine prefers its own libraries, so for these names it is told to
    # prefer files, as Windows does (Wine's own libraries that it loads before the program runs,
    # such as uxtheme.dll and version.dll, are left out: no program can limit those).
    planted="$build_dir/tests/e2e/planted_library.dll"
    [ -f "$planted" ] || fail "no planted library at $planted"
    [ -f "$build_dir/dist/hiddriver_1.dll" ] || fail "no product driver library in $build_dir/dist"
    cp "$build_dir/dist/hiddriver_1.dll" hiddriver_1.dll  # the real one; the mouse is on identity 2
    names="hid setupapi msimg32"
    for name in $names; do cp "$planted" "$name.dll"; done
    start_mouse
    vm plug 2
    WINEDLLOVERRIDES="$WINEDLLOVERRIDES;${names// /,}=n,b" start_app
    wait_for "the main window" 20 main_window_visible
    [ -z "$(planted_markers)" ] || fail "the program loaded planted libraries: $(planted_markers)"
    apply_sends_everything
    ok_ends_the_program
    [ -z "$(planted_markers)" ] || fail "the program loaded planted libraries: $(planted_markers)"
    ;;
*)
    fail "unknown scenario $scenario"
    ;;
esac
echo "ok: $scenario"
