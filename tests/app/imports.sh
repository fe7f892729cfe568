#!/usr/bin/env bash
# The libraries an executable imports are loaded by the system before any of its code runs, so
# its own limit on the library search cannot cover them. Windows takes the "known" system
# libraries from the system folder whatever lies beside the program, and the common controls
# come from the side-by-side store named in the manifest; anything else would be looked for in
# the application folder first. This fails on any import outside that set, and on any of the
# libraries the program loads on first use (cmake/DelayImports.cmake), which a plain link would
# put back among those loaded at every start:
#   imports.sh OBJDUMP EXECUTABLE
set -euo pipefail
objdump=$1
exe=$2
# Windows 10 and 11: HKLM\System\CurrentControlSet\Control\Session Manager\KnownDLLs.
known=" advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32
        msctf msvcrt normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32
        shlwapi user32 wldap32 ws2_32 comctl32 "
known=" $(echo $known) "
imports=$("$objdump" -p "$exe" | awk '/DLL Name:/ { print tolower($3) }')
[ -n "$imports" ] || { echo "FAIL: no imports read from $exe" >&2; exit 1; }
deferred=" comctl32 comdlg32 gdiplus ole32 oleaut32 shell32 "
bad="" early=""
for dll in $imports; do
    case "$known" in *" ${dll%.dll} "*) ;; *) bad+=" $dll" ;; esac
    case "$deferred" in *" ${dll%.dll} "*) early+=" $dll" ;; esac
done
if [ -n "$bad" ]; then
    echo "FAIL: $(basename "$exe") imports libraries Windows may take from its folder:$bad" >&2
    exit 1
fi
if [ -n "$early" ]; then
    echo "FAIL: $(basename "$exe") loads at start what it should load on first use:$early" >&2
    exit 1
fi
echo "ok: $(basename "$exe") imports only system libraries:" $imports
