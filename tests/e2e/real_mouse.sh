#!/usr/bin/env bash
# The product folder, with its real driver libraries, against a virtual T-30 that Wine's own HID
# stack serves (tests/vhid):
#   real_mouse.sh SCENARIO PRODUCT_FOLDER VHID_FOLDER
# The virtual mouse records every feature report it receives; each is checked byte for byte
# against what a full apply of the settings file sends, zero-padded to the vendor collection's
# feature length.
here=$(cd "$(dirname "$0")" && pwd)
scenario=$1
vhid_folder=$3
source "$here/lib.sh"
install_demo "$2"

# The vendor collection's feature reports: id + 129 bytes.
FEATURE_LENGTH=130

vhid() { wine "$vhid_folder/t30vhid.exe" "$@"; }
# Devices installed in a prefix outlive the session's programs: none before, none after.
vhid reset >/dev/null 2>&1 || true
on_cleanup+=("vhid reset")

# "IDENTITY COLLECTION ID" of each report received, e.g. "2 vendor 04".
received() { vhid reports | awk '$3 == "F" { print $1, $2, $4 }'; }
received_ids() { vhid reports | awk '$3 == "F" { printf "%s%s", s, $4; s = " " } END { print "" }'; }
received_has() { received_ids | grep -qw "$1"; }

# check_full_apply IDENTITY COLLECTION: the last apply sent every report of the settings, in
# order, padded, to that one collection and nothing anywhere else.
check_full_apply() {
    local expected actual
    expected=$(vhid expect "$(winepath -w "$PWD")" $FEATURE_LENGTH | tr -d '\r')
    actual=$(vhid reports | tr -d '\r' | awk '$3 == "F"' | cut -d' ' -f4-)
    [ -n "$expected" ] || fail "no expected reports from the settings file"
    if [ "$actual" != "$expected" ]; then
        echo "expected:" >&2; cut -c1-60 <<<"$expected" >&2
        echo "received:" >&2; vhid reports | cut -c1-80 >&2
        fail "the apply did not deliver the settings byte for byte"
    fi
    received | awk -v who="$1 $2" '($1 " " $2) != who { exit 1 }' ||
        fail "reports went elsewhere than identity $1's $2 collection: $(received | sort -u)"
    ! vhid reports | grep -q ' O ' || fail "an output report was sent: $(vhid reports | grep ' O ')"
}

# apply_and_wait IDS: Apply, then wait for the whole pass ("04 05 06 08").
apply_and_wait() {
    vhid clear
    click_main 5
    local deadline=$((SECONDS + 20))
    until received_has 08; do  # what did arrive tells where it went wrong
        [ $SECONDS -lt $deadline ] || fail "the apply delivered '$(received_ids)', expected '$1'"
        sleep 0.2
    done
    sleep 0.5  # anything after 0x08 would be a fault
    [ "$(received_ids)" = "$1" ] || fail "the apply sent '$(received_ids)', expected '$1'"
}

# Two macro slots of profile 1: each goes out as a report 0x09.
assign_macros() {
    python3 - "$settings" "$(slot_offset 0 4)" "$(slot_offset 0 6)" <<'PY'
import struct, sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
for at in map(int, sys.argv[2:]):
    data[at + 1] = 18                                     # macro
    struct.pack_into("<i", data, at + 52, 1)              # repeat once
    struct.pack_into("<H", data, at + 60, 2)              # two events
    struct.pack_into("<BBHBBH", data, at + 62, 0x2C, 1, 10, 0x2C, 2, 0)
open(path, "wb").write(bytes(data))
PY
}

start_product() {
    start_app
    wait_for "the main window" 30 main_window_visible
}

quit_product() {
    wine taskkill /F /IM T30Config.exe >/dev/null 2>&1 || true
    wait "$last_app_pid" 2>/dev/null || true
}

# Pulled out and put back; a second start asks the running program for its window.
replug_and_show() {
    vhid unplug 2
    wait_for "the window to hide" 10 main_window_hidden
    vhid plug 2 windows
    wait_for "the icon to come back" 10 tray_icons 1
    start_app
    wait_for "the window" 10 main_window_visible
}

case "$scenario" in
real_mouse_windows_shape)
    # One interface per collection, pointer first, as Windows lists a mouse.
    vhid plug 2 windows
    start_product
    apply_and_wait "04 05 06 08"
    check_full_apply 2 vendor
    quit_product
    assign_macros
    start_product
    apply_and_wait "04 05 06 09 09 08"
    check_full_apply 2 vendor
    # Pulled out and put back.
    vhid unplug 2
    wait_for "the window to hide" 10 main_window_hidden
    wait_for "the icon to go" 10 tray_icons 0
    vhid plug 2 windows
    wait_for "the icon to come back" 10 tray_icons 1
    main_window_hidden || fail "plugging in showed the window"
    start_app  # asks the running program for its window
    wait_for "the window" 10 main_window_visible
    apply_and_wait "04 05 06 09 09 08"
    check_full_apply 2 vendor
    ;;
real_mouse_other_shapes)
    # The vendor collection enumerated first, then one interface for everything.
    vhid plug 2 reversed
    start_product
    apply_and_wait "04 05 06 08"
    check_full_apply 2 vendor
    vhid unplug 2
    wait_for "the window to hide" 10 main_window_hidden
    vhid plug 2 merged
    wait_for "the icon to come back" 10 tray_icons 1
    start_app
    wait_for "the window" 10 main_window_visible
    apply_and_wait "04 05 06 08"
    check_full_apply 2 all
    ;;
real_mouse_identities)
    vhid plug 1 windows
    start_product
    apply_and_wait "04 05 06 08"
    check_full_apply 1 vendor
    # With both present the second identity is the one configured.
    vhid plug 2 windows
    vhid clear
    sleep 1
    [ -z "$(received_ids)" ] || fail "plugging in the second identity sent '$(received_ids)'"
    apply_and_wait "04 05 06 08"
    check_full_apply 2 vendor
    ;;
real_mouse_unplug_mid_apply)
    vhid plug 2 windows
    start_product
    apply_and_wait "04 05 06 08"
    # Pulled out and put back, so the next Apply is a full one. The counts are taken after one
    # such round: Wine keeps a handle of its own from the first one on.
    replug_and_show
    apply_and_wait "04 05 06 08"
    sleep 1
    read -r threads_before handles_before < <(vhid counts T30Config.exe | tr -d '\r')
    [ "${handles_before:-0}" -gt 0 ] || fail "the program's handles cannot be counted"
    # Pulled out again in the middle of a full apply.
    replug_and_show
    vhid clear
    click_main 5
    wait_for "the first report" 10 received_has 04
    vhid unplug 2  # lands in one of the 400 ms pauses
    wait_for "the window to hide" 10 main_window_hidden
    wait_for "the icon to go" 10 tray_icons 0
    partial=$(received_ids)
    [ "$partial" != "04 05 06 08" ] || fail "the removal came after the whole pass; nothing proven"
    sleep 1.5
    [ "$(received_ids)" = "$partial" ] || fail "reports after the removal: '$(received_ids)'"
    kill -0 "${app_pids[0]}" || fail "the program ended"
    # Responsive: a second start still brings the window, once the mouse is back.
    vhid plug 2 windows
    wait_for "the icon to come back" 10 tray_icons 1
    start_app
    wait_for "the window" 10 main_window_visible
    apply_and_wait "04 05 06 08"
    check_full_apply 2 vendor
    sleep 1
    read -r threads_after handles_after < <(vhid counts T30Config.exe | tr -d '\r')
    echo "threads $threads_before -> $threads_after, handles $handles_before -> $handles_after"
    [ "$threads_after" = "$threads_before" ] || fail "threads $threads_before -> $threads_after"
    [ "$handles_after" = "$handles_before" ] || fail "handles $handles_before -> $handles_after"
    ;;
*)
    fail "unknown scenario $scenario"
    ;;
esac
echo "ok: $scenario"
