# Helpers of the end-to-end scenarios: the real program from a copy of the demo folder, the
# virtual mouse, and clicks at the centres of the skin entries' rectangles. Sourced by e2e.sh,
# which runs inside a Wine session (scripts/wine-env) on its virtual display.
set -eEuo pipefail
# A command that fails outside a check would otherwise end the scenario without a word.
trap 'echo "error: line $LINENO: \"$BASH_COMMAND\" exited $?" >&2' ERR

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/desktop_session.sh"
work=$(mktemp -d /tmp/t30-e2e.XXXXXX)
app_pids=()
# Commands a scenario leaves for the clean-up, e.g. ending a program it started.
on_cleanup=()

fail() {
    echo "FAIL: $*" >&2
    if [ -n "${DISPLAY:-}" ]; then
        xwd -root -silent | /usr/bin/convert xwd:- "$work/../t30-e2e-failure.png" 2>/dev/null &&
            echo "screen at failure: $(dirname "$work")/t30-e2e-failure.png" >&2
    fi
    if [ -n "${WINEPREFIX:-}" ]; then
        local d programs=""
        for d in /proc/[0-9]*; do
            in_session "${d#/proc/}" && programs+="$(awk '{ print $2 $3 }' "$d/stat" 2>/dev/null) "
        done
        echo "processes of this Wine session: $programs" >&2
    fi
    exit 1
}

# Whether Linux process $1 belongs to this Wine session (processes started by Windows programs
# carry the prefix too).
in_session() { grep -qzxF "WINEPREFIX=${WINEPREFIX:-}" "/proc/$1/environ" 2>/dev/null; }
# Linux pids of this Wine session's live processes of image $1 (Wine names each process after
# its image, and its tasklist lists nothing). Zombies are left out: they hold nothing.
session_pids() {
    local pid
    for pid in $(pgrep -x "$1" || true); do
        [ "$(awk '{ print $3 }' "/proc/$pid/stat" 2>/dev/null)" != Z ] && in_session "$pid" &&
            echo "$pid"
    done
    return 0
}
no_session_process() { [ -z "$(session_pids "$1")" ]; }

# Ends every process of image $1 in this session, by Wine and, failing that, by signal: a
# program left running answers the next scenario's start in place of the one it starts.
end_session_processes() {
    local image=$1 _
    no_session_process "$image" && return 0
    wine taskkill /F /IM "$image" >/dev/null 2>&1 || true
    for _ in $(seq 50); do no_session_process "$image" && return 0; sleep 0.2; done
    echo "note: $image did not end when Wine was asked; killed: $(session_pids "$image")" >&2
    kill -9 $(session_pids "$image") 2>/dev/null || true
}

# An earlier run that was cut off (a timeout kills a scenario before its clean-up) may have left
# the program or the mouse behind; say so, so that such a run is seen, and start clean.
for image in T30Config.exe vmouse.exe; do
    if ! no_session_process $image; then
        echo "note: a $image of an earlier run was still running: ended" >&2
        end_session_processes $image
    fi
done

cleanup() {
    local rc=$?
    for command in "${on_cleanup[@]}"; do eval "$command" >/dev/null 2>&1 || true; done
    end_session_processes T30Config.exe
    wine vmouse.exe quit >/dev/null 2>&1 || true
    for pid in "${app_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    # A mouse that never answered cannot be told to quit: it is ended, not waited for forever.
    if [ -n "${mouse_pid:-}" ]; then
        for _ in $(seq 25); do kill -0 "$mouse_pid" 2>/dev/null || break; sleep 0.2; done
        kill "$mouse_pid" 2>/dev/null || true
        wait "$mouse_pid" 2>/dev/null || true
    fi
    cd /
    rm -rf "$work"
    exit $rc
}
trap cleanup EXIT

# A fresh product folder of our own, so every scenario starts without settings.
install_demo() {
    local demo=$1
    [ -f "$demo/T30Config.exe" ] || fail "no demo folder at $demo (run scripts/build)"
    copy_demo "$demo" "$work/app"
    cd "$work/app"
}

vm() { wine vmouse.exe "$@"; }

start_mouse() {
    # A cold start on a busy machine is slow.
    start_virtual_mouse 30 || fail "timed out waiting for the virtual mouse"
}

start_app() {
    start_program
    app_pids+=("$program_pid")
    last_app_pid=$program_pid
}

# Visible top-level windows of a given size, e.g. "400x258" (the warnings).
count_windows_of_size() {
    xwininfo -root -children 2>/dev/null | grep -c " $1+" || true
}

warnings_open() { [ "$(count_windows_of_size 400x258)" = "$1" ]; }
# The X windows of the open warnings; another_warning_open IDS: one is open, and not one of IDS.
warning_ids() { xwininfo -root -children 2>/dev/null | awk '/ 400x258\+/ { print $1 }'; }
# Whether OK of a warning at the top-left corner shows its hover look: its left edge turns red.
warn_ok_lit() {
    local left top rgb red green
    read -r left top < <(key_origin skin_warn.ini 1)
    rgb=$(xwd -root -silent | /usr/bin/convert xwd:- -crop "1x1+$left+$((top + 15))" \
        -format '%[fx:int(255*r)] %[fx:int(255*g)]' info:)
    read -r red green <<<"$rgb"
    [ "$red" -gt 150 ] && [ "$green" -lt 100 ]
}
another_warning_open() { warnings_open 1 && ! grep -qxF "$(warning_ids)" <<<"$1"; }
# i32_is FILE OFFSET VALUE
i32_is() { [ "$(read_i32 "$1" "$2")" = "$3" ]; }
reports_sent() { [ -n "$(report_ids)" ]; }
process_ended() { ! kill -0 "$1" 2>/dev/null; }

click_warn() { click_at $(skin_key_centre skin_warn.ini "$1"); }

# The ids of the reports the virtual mouse took, e.g. "04 05 06 08".
report_ids() { vm reports | awk '{ printf "%s%s", sep, $2; sep = " " } END { print "" }'; }
reports_have_button_map() { report_ids | grep -q '08'; }

# i32 at a byte offset of a file.
read_i32() { od -An -t d4 -j "$2" -N 4 "$1" | tr -d ' '; }

settings=config/Config.data
# Offsets of the settings file (a 4-byte current index, then five profile records) and of the
# profile record, as profile_record.h pins them.
PROFILE_SIZE=19892
PROGRAM_PATH=500
DOUBLE_CLICK_INDEX=1500
WHEEL_LINES=1504
POINTER_SPEED=1512
DPI_STAGE=1668
REPORT_RATE=1676
# Button slots of a profile: where they start and the size of each.
SLOT_BUTTONS=1748
SLOT_SIZE=756
# Profile P (0-based) of the settings file, and button slot B of it, as byte offsets.
profile_offset() { echo $((4 + PROFILE_SIZE * $1)); }
slot_offset() { echo $(($(profile_offset "$1") + SLOT_BUTTONS + SLOT_SIZE * $2)); }

# Left and top of key N of a skin description file, as "x y".
key_origin() {
    tr -d '\r' <"skins/$1" | awk -F'[=,]' -v k="$2" '
        /^\[/ { in_pos = ($0 ~ /^\[BUTTONPOS\]/) }
        in_pos && $1 == k { printf "%d %d\n", $3, $4; exit }'
}

# Clicks key N of "skin_advance_setting.ini": the advanced page sits at key 9 of the main window.
click_advanced() {
    local page_x page_y x y
    read -r page_x page_y < <(key_origin skin_main.ini 9)
    read -r x y < <(skin_key_centre skin_advance_setting.ini "$1")
    click_at $((page_x + x)) $((page_y + y))
}

# layered_shot FILE: a picture of the screen. Wine's newer pop-up windows (menus, dialogs) come out black in a
# picture of the root window, so each window of the program is laid over it from its own.
layered_shot() {
    local out=$1 layers=() n=0 id geometry
    xwd -root -silent | /usr/bin/convert xwd:- "$work/shot-root.png"
    while read -r id geometry; do
        xwd -id "$id" -silent | /usr/bin/convert xwd:- "$work/shot-$n.png" || continue
        layers+=("$work/shot-$n.png" -geometry "+${geometry#*+}" -composite)
        n=$((n + 1))
    done < <(xwininfo -root -children 2>/dev/null | tac | awk '
        /\("t30config.exe"/ && $0 !~ / 1x1\+/ { print $1, $(NF - 1) }')
    /usr/bin/convert "$work/shot-root.png" "${layers[@]}" "$out"
}

# shot NAME: a picture of the screen in $T30_SHOTS (when set) as NAME.png, for looking at.
shot() {
    [ -n "${T30_SHOTS:-}" ] || return 0
    mkdir -p "$T30_SHOTS"
    xwd -root -silent | /usr/bin/convert xwd:- "$T30_SHOTS/$1.png"
}

# Fields of record N of "config\macro.data" (220 bytes each).
macro_count() { echo $(($(stat -c %s config/macro.data 2>/dev/null || echo 0) / 220)); }
macro_name() { dd if=config/macro.data bs=1 skip=$(($1 * 220 + 4)) count=48 2>/dev/null |
    iconv -f UTF-16LE -t UTF-8 | tr -d '\0'; }
macro_i32() { read_i32 config/macro.data $(($1 * 220 + $2)); }
# Event E of record N as "key action delay" in decimal.
macro_event() {
    od -An -t u1 -j $(($1 * 220 + 60 + 4 * $2)) -N 4 config/macro.data |
        awk '{ print $1, $2, $3 + 256 * $4 }'
}

# One macro, "Jump": Space pressed for 10 ms, repeated twice.
write_macro_library() {
    python3 - <<'PY'
import struct
name = "Jump".encode("utf-16-le").ljust(48, b"\0")
events = struct.pack("<BBH", 0x2C, 1, 10) + struct.pack("<BBH", 0x2C, 2, 0)
record = struct.pack("<i", 0) + name + struct.pack("<ii", 2, 2) + events.ljust(160, b"\0")
assert len(record) == 220
open("config/macro.data", "wb").write(record)
PY
}

macro_events_are() { [ "$(macro_i32 "$1" 56)" = "$2" ]; }

# Shared by the scenarios of the button page and of the advanced page.
# Screen point of key N of "skin_button_page.ini" (the page lies at key 9 of the main skin).
page_origin() {
    tr -d '\r' <skins/skin_main.ini | awk -F'[=,]' '/^9=/ { print $3, $4; exit }'
}
page_key_centre() {
    local ox oy x y
    read -r ox oy < <(page_origin)
    read -r x y < <(skin_key_centre skin_button_page.ini "$1")
    echo "$((ox + x)) $((oy + y))"
}
click_page() { click_at $(page_key_centre "$1"); }
# Centre of key N of another dialog's skin, for a dialog whose top-left corner is at X Y.
dialog_key_centre() {
    local file=$1 key=$2 left=$3 top=$4 x y
    read -r x y < <(skin_key_centre "$file" "$key")
    echo "$((left + x)) $((top + y))"
}
# Top-left corner of the visible top-level window of a given size ("400x216").
window_origin() {
    xwininfo -root -children 2>/dev/null | awk -v size="$1" '
        { at = index($0, " " size "+") }
        at > 0 && !found { split(substr($0, at + length(size) + 2), b, /[+ ]/); print b[1], b[2]
                           found = 1 }'
}
window_of_size_open() { [ -n "$(window_origin "$1")" ]; }
# The bytes of the last report with a given id, e.g. last_report 08.
last_report() { vm reports | awk -v id="$1" '$2 == id { line = $0 } END { print line }'; }
no_window_of_size() { ! window_of_size_open "$1"; }
# In the open function menu: the main list's item N (1-based, submenus after the 16 items),
# then, for a submenu, its item M; chosen with the keyboard.
open_function_menu_item() {
    local n=$1 m=${2:-0} keys=()
    sleep 0.5
    for ((k = 0; k < n; k++)); do keys+=(Down); done
    if [ "$m" -gt 0 ]; then
        keys+=(Right)
        for ((k = 1; k < m; k++)); do keys+=(Down); done
    fi
    xdotool key --delay 60 "${keys[@]}" Return
    sleep 0.5
}
# The virtual mouse with identity 2 plugged in, and the program started.
start_plugged() {
    start_mouse
    vm plug 2
    start_app
}
# The same, once the main window shows and a first full apply is done, so later applies send
# only what changed.
start_with_mouse() {
    start_plugged
    wait_for "the main window" 20 main_window_visible
    click_main 5  # a first full apply, so later ones send only what changed
    wait_for "the first apply" 15 reports_have_button_map
    sleep 1
    vm clear
}
# The three bytes of button N in the last report 0x08.
button_map_entry() {
    last_report 08 | awk -v n="$1" '{ i = 2 + 2 + 3 * n; print $(i), $(i + 1), $(i + 2) }'
}

# Open pop-up menus of the program, newest first, as "x y width height": its windows without a
# title other than the 1 x 1 helpers.
menu_windows() {
    xwininfo -root -children 2>/dev/null | awk '
        /\(has no name\): \("t30config.exe"/ && $0 !~ / 1x1\+/ {
            split($(NF - 1), g, /[x+]/); print g[3], g[4], g[1], g[2] }'
}
# A visible window of the session with exactly this title, e.g. Wine's "Open" or "Color".
dialog_open() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
dialog_closed() { ! dialog_open "$1"; }
# The report 0x09 that button slot SLOT with run mode MODE must carry for record N of
# "config\macro.data", in hexadecimal like the virtual mouse lists it.
expected_macro_report() {
    python3 - "$1" "$2" "$3" <<'PY'
import struct, sys
n, slot, mode = map(int, sys.argv[1:])
record = open("config/macro.data", "rb").read()[n * 220:(n + 1) * 220]
repeat, count = struct.unpack_from("<ii", record, 52)
events = [struct.unpack_from("<BBH", record, 60 + 4 * k) for k in range(count)]
pairs, long_pauses = [], 0
def long_part(d):
    global long_pauses
    if d > 254:
        if long_pauses < 10:
            pairs.append((d // 200 & 0xFF, 3))
            long_pauses += 1
        d %= 200
    return d
for k, (key, action, after) in enumerate(events):
    d = long_part(0 if k == 0 else events[k - 1][2])
    pairs.append((d // 2 | (0x80 if action != 1 else 0), key))
    if k == count - 1:
        d = long_part(after)
        if d // 2 and long_pauses < 10:
            pairs.append((d // 2, 0))
            long_pauses += 1
report = [0x09, 0x82, slot + 1, mode & 0xFF, (repeat & 0xFF) or 1] + [0] * 24 + [len(pairs)]
for value, code in pairs:
    report += [value, code]
report += [0] * (130 - len(report))
print(" ".join("%02X" % b for b in report))
PY
}

# On the basic tab: button 3 gets the macro dialog's first macro with run mode 1.
give_button3_first_macro() {
    local dx dy lx ly
    click_main 1  # the basic tab
    sleep 0.5
    click_page 4  # button 3
    open_function_menu_item 13
    wait_for "the macro dialog" 10 window_of_size_open 400x350
    read -r dx dy < <(window_origin 400x350)
    read -r lx ly < <(skin_key_centre skin_select_macro.ini 4)
    click_at $((dx + lx)) $((dy + ly - 103 + 10))  # the list's first line
    click_at $(dialog_key_centre skin_select_macro.ini 6 "$dx" "$dy")  # run mode 1
    click_at $(dialog_key_centre skin_select_macro.ini 1 "$dx" "$dy")  # OK
    wait_for "the dialog to close" 5 no_window_of_size 400x350
}

# Centre of row R (0-based, 20 pixels each) of list key N of "skin_advance_setting.ini", on the
# screen.
advanced_row_centre() {
    local page_x page_y x y
    read -r page_x page_y < <(key_origin skin_main.ini 9)
    read -r x y < <(key_origin skin_advance_setting.ini "$1")
    echo "$((page_x + x + 40)) $((page_y + y + 1 + 20 * $2 + 10))"
}

# A desktop pointer setting as the registry of the prefix holds it.
desktop_value() {
    wine reg query "HKCU\\Control Panel\\$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v v="$2" '$1 == v { print $NF }'
}
desktop_value_is() { [ "$(desktop_value "$1" "$2")" = "$3" ]; }
# The session's later tests (and their double clicks) must find the desktop as it was: the
# settings a scenario makes the program change are put back at clean-up.
keep_desktop_settings() {
    local key name value
    for setting in 'Mouse MouseSensitivity' 'Desktop WheelScrollLines' 'Mouse DoubleClickSpeed' \
        'Mouse MouseSpeed' 'Mouse MouseThreshold1' 'Mouse MouseThreshold2'; do
        read -r key name <<<"$setting"
        value=$(desktop_value "$key" "$name")
        if [ -n "$value" ]; then
            on_cleanup+=("wine reg add 'HKCU\\Control Panel\\$key' /v $name /d '$value' /f")
        else
            on_cleanup+=("wine reg delete 'HKCU\\Control Panel\\$key' /v $name /f")
        fi
    done
}

# Shared by the acceptance scenarios and the failure scenarios.
# The pop-up menu: the one visible top-level window with no name.
popup_menu() {
    xwininfo -root -children 2>/dev/null | awk '/\(has no name\)/ && /t30config/ { print $1 }' |
        while read -r id; do
            xwininfo -id "$id" 2>/dev/null | grep -q IsViewable && echo "$id"
        done | sed -n 1p  # reads to the end: a loop cut short by SIGPIPE fails under pipefail
}
menu_open() { [ -n "$(popup_menu)" ]; }
# Clicks the first or the last item of the open menu.
click_menu_item() {
    local id x y w h
    id=$(popup_menu)
    read -r x y w h <<<"$(xwininfo -id "$id" | awk '/Absolute upper-left X/ { x = $NF }
        /Absolute upper-left Y/ { y = $NF } /Width:/ { w = $NF } /Height:/ { h = $NF }
        END { print x, y, w, h }')"
    if [ "$1" = first ]; then
        click_at $((x + w / 2)) $((y + 10))
    else
        click_at $((x + w / 2)) $((y + h - 10))
    fi
}

# The common file dialogs of Wine ("Open", "Save As"): the file name box has the focus, so the
# name is typed over the proposed one and Enter confirms.
answer_file_dialog() {
    local title=$1 name=$2
    wait_for "the $title dialog" 15 dialog_open "$title"
    sleep 0.5
    xdotool key ctrl+a
    xdotool type --delay 30 "$name"
    xdotool key Return
    wait_for "the $title dialog to close" 10 dialog_closed "$title"
}

# The message about a damaged installation (a system message box, not a skinned warning).
damage_message() { xdotool search --onlyvisible --name 'installation damaged$' 2>/dev/null | sed -n 1p; }
damage_message_open() { [ -n "$(damage_message)" ]; }
damage_message_closed() { ! damage_message_open; }
close_damage_message() {
    local id
    id=$(damage_message)
    xdotool windowactivate --sync "$id" >/dev/null 2>&1 || true
    # A message box just mapped may not have the keyboard yet, and X cannot tell (Wine keeps the
    # X focus on a window of its own): Return again while it stays open.
    local _ tick
    for _ in 1 2 3 4 5; do
        xdotool key Return
        for tick in $(seq 10); do damage_message_closed && return 0; sleep 0.2; done
    done
    fail "timed out waiting for the message to close"
}
# The open warning (400x258) as NAME.png in $T30_SHOTS, taken from its own window: without a
# window manager X may stack it below its owner although Wine draws it on top.
shot_warning() { shot_window "$(window_id_of_size 400x258)" "$1"; }
shot_window() {
    [ -n "${T30_SHOTS:-}" ] || return 0
    mkdir -p "$T30_SHOTS"
    # The pointer rests on the window's top edge, so no button shows hovering.
    local x y w
    read -r x y w < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF }
        /Absolute upper-left Y/ { y = $NF } /Width:/ { w = $NF } END { print x, y, w }')
    xdotool mousemove $((x + w / 2)) $((y + 4))
    sleep 0.5  # painted
    xwd -id "$1" -silent |
        /usr/bin/convert xwd:- +repage -strip -define png:exclude-chunks=date,time "$T30_SHOTS/$2.png"
}
window_id_of_size() {
    xwininfo -root -children 2>/dev/null | awk -v size="$1" \
        '!found && index($0, " " size "+") { print $1; found = 1 }'
}
# OK of the open warning, wherever it is.
answer_warning() {
    local x y
    read -r x y < <(window_origin 400x258)
    click_at $(dialog_key_centre skin_warn.ini 1 "$x" "$y")
    wait_for "the warning to close" 10 warnings_open 0
}

# What a skin entry of the main window looks like on the screen now, as a checksum of its pixels.
# The pointer rests on the window's top edge first, where no control is, so no hover look gets in
# the way. (Off Wine's windows altogether Wine hears no more moves, and a hovered button would
# stay drawn so.)
key_rect() {
    tr -d '\r' <"skins/skin_main.ini" | awk -F'[=,]' -v k="$1" '
        /^\[/ { in_pos = ($0 ~ /^\[BUTTONPOS\]/) }
        in_pos && $1 == k { printf "%dx%d+%d+%d\n", $5, $6, $3, $4; exit }'
}
key_look() { look_of "$(key_rect "$1")"; }
# The same for the whole main window.
window_look() {
    local id
    id=$(main_window_id)
    look_of "$(xwininfo -id "$id" | awk '/Absolute upper-left X/ { x = $NF }
        /Absolute upper-left Y/ { y = $NF } /Width:/ { w = $NF } /Height:/ { h = $NF }
        END { printf "%dx%d+%d+%d\n", w, h, x, y }')"
}
look_of() {
    xdotool mousemove 470 6
    sleep 0.5
    xwd -root -silent | /usr/bin/convert xwd:- -crop "$1" rgb:- | md5sum | cut -c1-32
}

# The UTF-16 text at a byte offset of a file, up to its NUL.
read_text() {
    dd if="$1" bs=1 skip="$2" count="$3" 2>/dev/null | iconv -f UTF-16LE -t UTF-8 | tr -d '\0'
}
