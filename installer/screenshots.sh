#!/usr/bin/env bash
# Takes the pictures of the installer's and the uninstaller's pages for docs/installing.md, each
# cropped to its window, by going through them from the keyboard as a user would.
#   installer/screenshots.sh [OUT_FOLDER]      (default docs/images; run scripts/build first)
# Runs itself inside a Wine session of its own (scripts/wine-env).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/images}")

if [ "${T30_WINE_SESSION:-0}" != 1 ]; then
    exec "$root/scripts/wine-env" "$0" "$out"
fi

setup=$root/build/win/T30Setup.exe
[ -f "$setup" ] || { echo "screenshots: no $setup (run scripts/build)" >&2; exit 1; }
mkdir -p "$out"
trap 'wine taskkill /F /IM T30Config.exe >/dev/null 2>&1 || true' EXIT

window_of() { xdotool search --onlyvisible --name "^VANTREL T-30 $1" 2>/dev/null | head -1; }
wait_window() {
    local deadline=$((SECONDS + 30))
    until [ -n "$(window_of "$1")" ]; do
        [ $SECONDS -lt $deadline ] || { echo "screenshots: no $1 window" >&2; exit 1; }
        sleep 0.2
    done
}
# shot NAME WINDOW: the window as it looks once its page has settled.
shot() {
    sleep 0.7
    xwd -silent -id "$(window_of "$2")" | /usr/bin/convert xwd:- "$out/$1.png"
    echo "$out/$1.png"
}
next() { xdotool key Return; }

wine "$setup" >/dev/null 2>&1 &
wait_window Setup
shot installer_welcome Setup
next
shot installer_components Setup
next
shot installer_folder Setup
next  # Install
sleep 3
shot installer_finish Setup
xdotool key space  # not now: the program would only warn that no mouse is connected here
next
sleep 1

wine "C:\\Program Files\\VANTREL T-30\\Uninstall.exe" >/dev/null 2>&1 &
wait_window Uninstall
shot uninstaller_confirm Uninstall
next
shot uninstaller_settings Uninstall
next
sleep 2
shot uninstaller_done Uninstall
next
