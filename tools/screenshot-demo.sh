#!/usr/bin/env bash
# Starts Kavrin on a virtual display against the local time server, lets it
# synchronise once and saves a screenshot of its window. Runs inside the
# private network namespace that run-kavrin.sh makes.
set -euo pipefail
root=${1:?usage: screenshot-demo.sh SOURCE_DIR}
cd "$root"
ip link set lo up
session=$(mktemp -d /tmp/kavrin-demo.XXXXXX)
cleanup() {
    tools/test-peers.sh stop "$session" >/dev/null 2>&1 || true
    tools/wine-session.sh stop "$session"
    rm -rf "$session"
}
trap cleanup EXIT

tools/wine-session.sh start "$session"
tools/test-peers.sh start "$session" >/dev/null
# shellcheck disable=SC1091
source "$session/session.env"

key='HKCU\Software\Kavrin'
wine reg add "$key" /v CurrentServer /t REG_SZ /d 127.0.0.1 /f >/dev/null
wine reg add "$key" /v SyncOnStart /t REG_BINARY /d 01000000 /f >/dev/null

wine build/win/bin/Kavrin.exe /ws >/dev/null 2>&1 &
geometry=
for _ in $(seq 100); do
    geometry=$(xwininfo -root -tree | sed -n 's/.*"Kavrin": ("kavrin.exe" "kavrin.exe")  \([0-9x+-]*\).*/\1/p' | head -n 1)
    [ -n "$geometry" ] && break
    sleep 0.2
done
if [ -z "$geometry" ]; then
    echo "Kavrin did not show its window" >&2
    exit 1
fi
sleep 2
# The frame of the window, its caption bar included.
read -r w h x y < <(echo "$geometry" | sed 's/[x+]/ /g')
import -window root -crop "$((w + 8))x$((h + 30))+$((x - 4))+$((y - 26))" +repage "$KAVRIN_SCREENSHOT"
echo "Screenshot of the Kavrin window: $KAVRIN_SCREENSHOT"
