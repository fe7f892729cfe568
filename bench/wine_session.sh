# The Windows half of scripts/bench, run inside a Wine session of its own (scripts/wine-env):
#   bash bench/wine_session.sh paint OUT RUNS  first paints of the program, the baseline and
#                                              the floor, in turn, and the cost of one switching
#                                              check
#   bash bench/wine_session.sh idle OUT WHICH SECONDS [CYCLES]
#                                              WHICH (program, baseline or floor) idle for
#                                              SECONDS: CPU time used, private memory before and
#                                              after. The program is first measured shown, then
#                                              hidden with its Cancel button for the idle time,
#                                              then hidden and shown again CYCLES times (default
#                                              20), each showing timed
# Figures are appended to OUT as "name=value" lines. Needs BENCH_DEMO (the demo folder),
# BENCH_WIN (build/win) and BENCH_NATIVE (build/bench) in the environment, and the session's
# notification area (scripts/wine-env's tray).
set -euo pipefail

mode=$1 out=$2
# APP_TITLE, the virtual mouse, the clicks on the main window and on the notification icon.
source "$(dirname "$0")/../scripts/desktop_session.sh"
BASE_TITLE='T30 baseline'
FLOOR_TITLE='T30 floor'
work=$(mktemp -d /tmp/t30-bench.XXXXXX)
mouse_pid=""

cleanup() {
    local rc=$?
    [ -n "$mouse_pid" ] && { wine vmouse.exe quit >/dev/null 2>&1 || true; wait "$mouse_pid" 2>/dev/null || true; }
    cd /
    rm -rf "$work"
    exit $rc
}
trap cleanup EXIT

# A copy of the demo folder, so every session starts from no settings and the demo stays as built.
copy_demo "$BENCH_DEMO" "$work/app"
cp "$BENCH_WIN/bench/t30_baseline.exe" "$BENCH_WIN/bench/t30_floor.exe" \
    "$BENCH_WIN/bench/bench_probe.exe" "$work/app/"
cd "$work/app"

probe() { wine bench_probe.exe "$@" 2>&1 | tr -d '\r'; }
fail() { echo "bench: $*" >&2; exit 1; }

plug_mouse() {
    start_virtual_mouse 10 || fail "the virtual mouse did not answer"
    wine vmouse.exe plug 2 >/dev/null
}

# first_paint TITLE COMMAND [ARGS...]: runs COMMAND, prints first_paint's lines (pid= among
# them) once the window TITLE shows painted.
first_paint() {
    "$BENCH_NATIVE/bench/first_paint" -s 1500 "$@"
}

# Ends a program started by first_paint: WM_CLOSE to its window, then waits for the process.
end_program() {
    local title=$1 pid=$2
    probe close "$title" >/dev/null || true
    for _ in $(seq 100); do
        [ -e "/proc/$pid" ] || return 0
        sleep 0.1
    done
    echo "bench: $title did not end; stopping process $pid" >&2
    kill "$pid" 2>/dev/null || true
    sleep 1
}

value() { sed -n "s/^$1=//p"; }

# Hides the program's main window with its Cancel button, as a user does: only the notification
# icon stays.
hide_program() {
    click_main 4
    wait_for "the main window to hide" 10 main_window_hidden
}

# One timed showing of the hidden main window, by $1: "tray", a click on the notification icon
# (the pointer already rests on it, so the time runs from the click), or "second_start", the
# program started again, which asks the running one to show its window and ends. The pointer
# rests on the icon either way, off the window and its hover looks.
timed_reopen() {
    local how=$1 lines x y
    read -r x y < <(tray_icon_centre)
    xdotool mousemove "$x" "$y"
    sleep 0.2
    if [ "$how" = tray ]; then
        lines=$(first_paint "$APP_TITLE" xdotool click 1) ||
            fail "a click on the notification icon showed no window"
    else
        lines=$(first_paint "$APP_TITLE" wine T30Config.exe) || fail "a second start showed no window"
    fi
    echo "program_reopen_${how}_first_paint_ms=$(value first_paint_ms <<<"$lines")" >>"$out"
    echo "program_reopen_${how}_mapped_ms=$(value mapped_ms <<<"$lines")" >>"$out"
}

# One timed start of EXE; appends "<name>_first_paint_ms=..." to OUT unless it is the warm-up.
# Leaves the program running; its pid is in $last_pid.
timed_start() {
    local name=$1 title=$2 exe=$3 record=$4 lines
    local args=("$exe")
    [ "$name" = floor ] && args+=(skins)
    lines=$(first_paint "$title" wine "${args[@]}") || fail "$exe showed no window"
    last_pid=$(value pid <<<"$lines")
    if [ "$record" = 1 ]; then
        echo "${name}_first_paint_ms=$(value first_paint_ms <<<"$lines")" >>"$out"
        echo "${name}_mapped_ms=$(value mapped_ms <<<"$lines")" >>"$out"
    fi
}

# CPU time of a Linux process in milliseconds, all its threads: the scheduler's nanosecond
# accounts summed over the threads (the user and system tick counts of /proc/PID/stat count in
# 10 ms steps, too coarse for an idle minute).
cpu_ms() {
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ ns += $1 } END { printf "%.1f", ns / 1e6 }'
}
# Threads that ended in between are missing from the sums above; the tick counts keep them.
tick_ms() {
    local stat
    stat=$(cat "/proc/$1/stat")
    stat=${stat##*) }  # the name may hold spaces; fields from the state on
    awk -v t="$(getconf CLK_TCK)" '{ printf "%.0f", ($12 + $13) * 1000 / t }' <<<"$stat"
}

# The wineserver of this session (wineserver64 on 64-bit Wine).
wineserver_pid() {
    local p
    for p in /proc/[0-9]*; do
        case "$(cat "$p/comm" 2>/dev/null)" in wineserver*) ;; *) continue ;; esac
        tr '\0' '\n' <"$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" &&
            { echo "${p#/proc/}"; return; }
    done
}

# Private memory of the process. Wine gives its own process's private bytes as the Linux
# process's anonymous resident memory plus its swapped-out part (RssAnon + VmSwap), and gives
# nothing for other processes, so the figure is read here the same way from /proc. The working
# set (VmRSS) is printed beside it.
memory() {
    local name=$1 pid=$2 tag=$3
    awk -v n="$name" -v t="$tag" '
        /^RssAnon:/ { anon = $2 } /^VmSwap:/ { swap = $2 } /^VmRSS:/ { rss = $2 }
        END { printf "%s_private_bytes_%s=%d\n%s_working_set_%s=%d\n", n, t, (anon + swap) * 1024,
                     n, t, rss * 1024 }' "/proc/$pid/status" >>"$out"
}

case "$mode" in
paint)
    runs=$3
    plug_mouse
    timed_start program "$APP_TITLE" T30Config.exe 0
    end_program "$APP_TITLE" "$last_pid"
    timed_start floor "$FLOOR_TITLE" t30_floor.exe 0
    end_program "$FLOOR_TITLE" "$last_pid"
    timed_start baseline "$BASE_TITLE" t30_baseline.exe 0
    # A foreign program's window in the foreground: the lookup the switching check does for it.
    probe switch-check 2000 | grep -E '_us=|foreground=' >>"$out"
    end_program "$BASE_TITLE" "$last_pid"
    for i in $(seq "$runs"); do
        # Rotating the order evens out any drift between them.
        case $((i % 3)) in
        1) order="program baseline floor" ;;
        2) order="baseline floor program" ;;
        *) order="floor program baseline" ;;
        esac
        for which in $order; do
            case $which in
            program) timed_start program "$APP_TITLE" T30Config.exe 1
                end_program "$APP_TITLE" "$last_pid" ;;
            baseline) timed_start baseline "$BASE_TITLE" t30_baseline.exe 1
                end_program "$BASE_TITLE" "$last_pid" ;;
            floor) timed_start floor "$FLOOR_TITLE" t30_floor.exe 1
                end_program "$FLOOR_TITLE" "$last_pid" ;;
            esac
        done
    done
    ;;
idle)
    which=$3 seconds=$4 cycles=${5:-20}
    if [ "$which" = program ]; then
        plug_mouse
        timed_start program "$APP_TITLE" T30Config.exe 0
        sleep 5  # past the work that follows the first paint (the advanced page)
        memory program "$last_pid" shown
        wait_for "the notification icon" 10 tray_icons 1
        hide_program
        title=$APP_TITLE
    elif [ "$which" = floor ]; then
        timed_start floor "$FLOOR_TITLE" t30_floor.exe 0
        title=$FLOOR_TITLE
    else
        timed_start baseline "$BASE_TITLE" t30_baseline.exe 0
        title=$BASE_TITLE
    fi
    pid=$last_pid
    sleep 5  # past start-up work
    memory "$which" "$pid" start
    server=$(wineserver_pid)
    cpu0=$(cpu_ms "$pid") tick0=$(tick_ms "$pid")
    server0=$([ -n "$server" ] && cpu_ms "$server" || echo 0)
    sleep "$seconds"
    cpu1=$(cpu_ms "$pid") tick1=$(tick_ms "$pid")
    server1=$([ -n "$server" ] && cpu_ms "$server" || echo 0)
    memory "$which" "$pid" end
    echo "${which}_idle_seconds=$seconds" >>"$out"
    echo "${which}_idle_cpu_ms=$(awk -v a="$cpu0" -v b="$cpu1" 'BEGIN { printf "%.1f", b - a }')" >>"$out"
    echo "${which}_idle_cpu_ticks_ms=$((tick1 - tick0))" >>"$out"
    echo "${which}_idle_wineserver_cpu_ms=$(awk -v a="$server0" -v b="$server1" 'BEGIN { printf "%.1f", b - a }')" >>"$out"
    if [ "$which" = program ]; then
        # Shown and hidden again; the showings alternate between the icon and a second start,
        # so each way is timed in half the cycles.
        echo "program_hide_show_cycles=$cycles" >>"$out"
        for i in $(seq "$cycles"); do
            if [ $((i % 2)) = 1 ]; then timed_reopen tray; else timed_reopen second_start; fi
            hide_program
            sleep 1  # whatever the program lets go of once hidden
            if [ "$i" = 1 ]; then memory program "$pid" cycle_first; fi
            if [ "$i" = "$cycles" ]; then memory program "$pid" cycle_last; fi
        done
    fi
    end_program "$title" "$pid"
    ;;
*)
    echo "usage: wine_session.sh paint OUT RUNS | idle OUT program|baseline|floor SECONDS [CYCLES]" >&2
    exit 2
    ;;
esac
