#!/usr/bin/env bash
# Checks that a program carries none of Kavrin's start-up code: neither its
# texts (the elevation refusal, the "runas" verb) nor, where the program
# keeps its symbol table, Kavrin's application or main-window classes.
set -euo pipefail
program=${1:?usage: check-no-startup.sh PROGRAM.exe}
nm=${NM:-i686-w64-mingw32-nm}

status=0
texts=$(strings -a -el "$program")
for text in "User did not allow elevation" "runas"; do
    if grep -qxF "$text" <<<"$texts"; then
        echo "$program holds Kavrin's start-up text \"$text\""
        status=1
    fi
done
symbols=$("$nm" -C "$program" 2>/dev/null || true)
if grep -Eq '\bCKavrin(App|Dlg)::' <<<"$symbols"; then
    echo "$program holds Kavrin's start-up classes ($(grep -Eo '\bCKavrin(App|Dlg)::' <<<"$symbols" | sort -u | tr '\n' ' '))"
    status=1
fi
[ "$status" = 0 ] && echo "$program: none of Kavrin's start-up"
exit $status
