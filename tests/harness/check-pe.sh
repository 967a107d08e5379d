#!/usr/bin/env bash
# Checks that a program is a 32-bit Windows GUI program that imports only
# DLLs every Windows system has.
set -euo pipefail
program=${1:?usage: check-pe.sh PROGRAM.exe}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
headers=$("$objdump" -p "$program")

grep -q 'file format pei-i386' <<<"$headers" || { echo "$program: not a 32-bit PE program"; exit 1; }
grep -Eq '^Subsystem[[:space:]]+0+2[[:space:]]' <<<"$headers" || { echo "$program: not a GUI program"; exit 1; }

system='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|ole32|oleaut32|ws2_32|wininet|version|uxtheme|msvcrt|shlwapi)\.dll$'
status=0
while read -r dll; do
    if ! grep -Eiq "$system" <<<"$dll"; then
        echo "$program imports $dll, which is not a system DLL"
        status=1
    fi
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
[ "$status" = 0 ] && echo "$program: 32-bit GUI program importing only system DLLs"
exit $status
