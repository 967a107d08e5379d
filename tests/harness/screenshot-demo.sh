#!/usr/bin/env bash
# Starts Kavrin (or its companion) on a virtual display against the local time
# server, lets it synchronise once and saves a screenshot of its window to
# KAVRIN_SCREENSHOT. Runs inside the private network namespace that
# run-kavrin.sh makes.
#   screenshot-demo.sh SOURCE_DIR [win32|win64] [Kavrin|ResetKavrinStart] [ARGS...]
# win32 runs build/win32/bin (the deliverables) in a 32-bit prefix, win64 the
# x86_64 build of the same sources in a 64-bit prefix.
set -euo pipefail
root=${1:?usage: screenshot-demo.sh SOURCE_DIR [win32|win64] [PROGRAM] [ARGS...]}
arch=${2:-win32}
program=${3:-Kavrin}
shift $(($# < 3 ? $# : 3))
cd "$root"
: "${KAVRIN_SCREENSHOT:=$root/kavrin-window.png}"
exe=build/$arch/bin/$program.exe
case "$arch" in
win32) build="$exe, the 32-bit build" ;;
win64) build="$exe, the x86_64 build" ;;
*) echo "screenshot-demo: unknown arch '$arch'" >&2; exit 2 ;;
esac
[ -f "$exe" ] || { echo "screenshot-demo: $exe is missing: build it first" >&2; exit 1; }

ip link set lo up
session=$(mktemp -d /tmp/kavrin-demo.XXXXXX)
cleanup() {
    tests/harness/test-peers.sh stop "$session" >/dev/null 2>&1 || true
    tests/harness/wine-session.sh stop "$session"
    rm -rf "$session"
}
trap cleanup EXIT

tests/harness/wine-session.sh start "$session" "$arch"
tests/harness/test-peers.sh start "$session" >/dev/null
# shellcheck disable=SC1091
source "$session/session.env"

key='HKCU\Software\Kavrin'
wine reg add "$key" /v CurrentServer /t REG_SZ /d 127.0.0.1 /f >/dev/null
wine reg add "$key" /v SyncOnStart /t REG_BINARY /d 01000000 /f >/dev/null

if [ "$program" = Kavrin ]; then
    set -- /ws "$@"
fi
"$KAVRIN_WINE" "$exe" "$@" >"$session/program.log" 2>&1 &
pid=$!

# Its first top-level window of a real size ("Kavrin" for the main program).
class=$(tr '[:upper:]' '[:lower:]' <<<"$program.exe")
find_window() {
    xwininfo -root -tree | sed -n "s/.*\"\([^\"]*\)\": (\"$class\" \"[^\"]*\")  \([0-9]*x[0-9]*[+-][0-9-]*[+-][0-9-]*\).*/\1|\2/p" |
        while IFS='|' read -r name geometry; do
            [ "$program" = Kavrin ] && [ "$name" != Kavrin ] && continue
            read -r w h _ < <(sed 's/[x+]/ /g' <<<"$geometry")
            [ "$w" -gt 50 ] && [ "$h" -gt 30 ] && { echo "$geometry"; break; }
        done
}
geometry=
for _ in $(seq 100); do
    geometry=$(find_window)
    [ -n "$geometry" ] && break
    if ! kill -0 "$pid" 2>/dev/null; then
        rc=0
        wait "$pid" || rc=$?
        echo "$program ($build) exited with code $rc without showing a window; no screenshot"
        exit "$rc"
    fi
    sleep 0.2
done
if [ -z "$geometry" ]; then
    echo "$program ($build) did not show its window" >&2
    exit 1
fi
sleep 2
# The frame of the window, its caption bar included.
read -r w h x y < <(sed 's/[x+]/ /g' <<<"$geometry")
import -window root -crop "$((w + 8))x$((h + 30))+$((x - 4))+$((y - 26))" +repage "$KAVRIN_SCREENSHOT"
echo "Screenshot of the $program window ($build): $KAVRIN_SCREENSHOT"
