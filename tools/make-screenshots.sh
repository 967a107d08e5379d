#!/usr/bin/env bash
# Makes every picture of docs/ from the current build, under Wine on a
# virtual display, so that none of them shows an older program:
#   make-screenshots.sh [--arch win32|win64] [--out DIR]
# The arch defaults to win32 (build/win32, the deliverables) where the host
# can execute i386 code, else win64 (build/win64, the x86_64 build of the
# same sources). DIR defaults to docs/, which then holds only these pictures;
# any other DIR only receives them. Fails, writing nothing to DIR, when any
# picture could not be made. Build first (README); it builds nothing itself.
#
# Everything runs in a private network namespace that cannot set the clock:
# a fresh Wine prefix (tests/harness/wine-session.sh), the local chronyd and
# responder (tests/harness/test-peers.sh) as the time server and the local
# update site (tests/harness/update-site.py) with a version file newer than
# the build. tools/screenshots/ScreenshotDriver.exe opens, finds and closes
# the windows. KAVRIN_SHOTS_TRACE=1 traces every step.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

arch='' out=docs inside=''
while [ $# -gt 0 ]; do
    case "$1" in
    --arch) arch=${2:?--arch needs win32 or win64}; shift 2 ;;
    --out) out=${2:?--out needs a folder}; shift 2 ;;
    --inside) inside=1; shift ;;
    -h | --help) sed -n '2,16s/^# \{0,1\}//p' "$0"; exit 0 ;;
    *) echo "make-screenshots: unknown argument '$1' (see --help)" >&2; exit 2 ;;
    esac
done

if [ -z "$inside" ]; then
    if [ -z "$arch" ]; then
        arch=win64
        tests/harness/host-arch.sh >/dev/null && arch=win32
    fi
    case "$arch" in
    win32 | win64) ;;
    *) echo "make-screenshots: unknown arch '$arch' (win32 or win64)" >&2; exit 2 ;;
    esac
    for program in Kavrin ResetKavrinStart KavrinLocalSite KavrinSetup ScreenshotDriver; do
        [ -f "build/$arch/bin/$program.exe" ] || { echo "make-screenshots: build/$arch/bin/$program.exe is missing: build first" >&2; exit 1; }
    done
    [ -f "build/$arch/bin/newer-release/KavrinVersion.txt" ] || { echo "make-screenshots: build/$arch/bin/newer-release/KavrinVersion.txt is missing: build first" >&2; exit 1; }
    if ! unshare --net setpriv --bounding-set -sys_time -- true 2>/dev/null; then
        echo "make-screenshots: it needs a private network namespace, which this environment does not permit: run as root (or with CAP_SYS_ADMIN and CAP_SETPCAP) on a kernel with network namespaces." >&2
        exit 1
    fi
    out=$(realpath -m "$out")
    exec unshare --net setpriv --bounding-set -sys_time -- bash ${KAVRIN_SHOTS_TRACE:+-x} "$0" --inside --arch "$arch" --out "$out"
fi

bin=build/$arch/bin
session=$(mktemp -d /tmp/kavrin-shots.XXXXXX)
shots=$session/shots
site=$session/site
mkdir -p "$shots"
cleanup() {
    python3 tests/harness/update-site.py stop "$site" >/dev/null 2>&1 || true
    tests/harness/test-peers.sh stop "$session" >/dev/null 2>&1 || true
    tests/harness/wine-session.sh stop "$session"
    rm -rf "$session"
}
trap cleanup EXIT

ip link set lo up
tests/harness/wine-session.sh start "$session" "$arch"
tests/harness/test-peers.sh start "$session" >/dev/null
python3 tests/harness/update-site.py start "$site" >/dev/null
mkdir -p "$site/docroot/Halvanworks"
cp "$bin/newer-release/KavrinVersion.txt" "$site/docroot/Halvanworks/"
# shellcheck disable=SC1091
source "$session/session.env"

driver() {
    "$KAVRIN_WINE" "$bin/ScreenshotDriver.exe" "$@" | tr -d '\r' ||
        { echo "make-screenshots: ScreenshotDriver $* failed" >&2; return 1; }
}
# Kavrin's settings, as numbers (4 little-endian bytes) or texts.
number() {
    local hex
    hex=$(printf '%08x' "$2")
    wine reg add 'HKCU\Software\Kavrin' /v "$1" /t REG_BINARY /d "${hex:6:2}${hex:4:2}${hex:2:2}${hex:0:2}" /f >/dev/null
}
text() {
    wine reg add 'HKCU\Software\Kavrin' /v "$1" /t REG_SZ /d "$2" /f >/dev/null
}
# frame WINDOW: "WIDTH HEIGHT LEFT TOP" of a window once it shows.
frame() {
    local rect
    rect=$(driver rect "$1") || { echo "make-screenshots: no window '$1'" >&2; return 1; }
    echo "$rect"
}
# crop NAME W H X Y: that part of the screen, once painted.
crop() {
    sleep 1
    import -window root -crop "$2x$3+$4+$5" +repage "$shots/$1"
}
# shoot NAME WINDOW [WINDOW...]: the smallest part of the screen that holds
# these windows.
shoot() {
    local name=$1 left=100000 top=100000 right=0 bottom=0 rect w h x y
    shift
    for window in "$@"; do
        rect=$(frame "$window") || return 1
        read -r w h x y <<<"$rect"
        left=$((x < left ? x : left)) top=$((y < top ? y : top))
        right=$((x + w > right ? x + w : right)) bottom=$((y + h > bottom ? y + h : bottom))
    done
    crop "$name" $((right - left)) $((bottom - top)) "$left" "$top"
}
post() { driver post "$@"; }
# Numbers of messages and commands (resources/*Res.h, winuser.h).
WM_COMMAND=0x111 WM_SYSCOMMAND=0x112 WM_KEYDOWN=0x100 VK_ESCAPE=0x1B
IDOK=1 IDCANCEL=2 ID_HELP=57670 ID_APP_EXIT=57665 IDC_STATUS=1006 IDC_COUNTDOWN=1065
IDM_ABOUTBOX=16 IDM_CHECK_NEWER_VERSION=17 IDM_SELECT_POOL_SERVER=21 IDM_SET_EXIT_TIME=112
WM_TRAY_NOTIFY=0x800A IDR_TRAY_MENU=131 WM_RBUTTONUP=0x205

# start PROGRAM [ARGS...]: runs it in the background ($pid).
start() {
    local program=$1
    shift
    "$KAVRIN_WINE" "$bin/$program.exe" "$@" >>"$session/programs.log" 2>&1 &
    pid=$!
}
# Kavrin (or the local-site build) with its window shown, synchronised once.
start_synchronised() {
    start "$1" /ws
    driver wait Kavrin "$IDC_STATUS" "Time Corrected" || { echo "make-screenshots: $1 did not synchronise" >&2; return 1; }
}
# open_dialog NAME TITLE MESSAGE WPARAM: opens a dialog of the main window,
# takes its picture and closes it again.
open_dialog() {
    post Kavrin "$3" "$4"
    shoot "$1" "$2"
    post "$2" "$WM_COMMAND" "$IDCANCEL"
}
finish() {
    post Kavrin "$WM_COMMAND" "$ID_APP_EXIT"
    wait "$pid" || true
}

text CurrentServer 127.0.0.1
number SyncOnStart 1
number ExitAfterSync 0

echo "Kavrin after a synchronisation: its window, the balloon, the tray menu and its dialogs"
start_synchronised Kavrin
shoot kavrin-balloon-x64.png "Wine System Tray" class=tooltips_class32
shoot kavrin-window.png Kavrin
# The menu opens where the pointer is: on the icon.
tray=$(frame "Wine System Tray")
read -r w h x y <<<"$tray"
driver cursor $((x + 12)) $((y + h - 8))
post Kavrin "$WM_TRAY_NOTIFY" "$IDR_TRAY_MENU" "$WM_RBUTTONUP"
shoot kavrin-tray-menu.png "Wine System Tray" class=#32768
post Kavrin "$WM_KEYDOWN" "$VK_ESCAPE"
post Kavrin "$WM_COMMAND" "$ID_HELP"
shoot kavrin-help.png "Kavrin Help"
post "Kavrin Help" "$WM_COMMAND" "$IDOK"
open_dialog kavrin-about.png "About Kavrin" "$WM_SYSCOMMAND" "$IDM_ABOUTBOX"
open_dialog kavrin-chooser.png "NTP Pool Project Regional Servers" "$WM_SYSCOMMAND" "$IDM_SELECT_POOL_SERVER"
open_dialog kavrin-exit-time.png "Set the time of exit after sync" "$WM_SYSCOMMAND" "$IDM_SET_EXIT_TIME"
finish

echo "Kavrin counting down to its exit"
number ExitAfterSync 1
number TimeToExit 60000
start_synchronised Kavrin
# "Exit in 5x seconds".
driver wait Kavrin "$IDC_COUNTDOWN" "Exit in 5"
shoot kavrin-countdown.png Kavrin
finish

echo "The update offer of the local-site build"
number ExitAfterSync 0
driver trust "$(winepath -w "$site/ca.der")"
start_synchronised KavrinLocalSite
open_dialog kavrin-update.png "Update Options" "$WM_SYSCOMMAND" "$IDM_CHECK_NEWER_VERSION"
finish

echo "ResetKavrinStart with both options to switch off"
number SyncOncePerDay 1
number ExitAfterSync 1
number TimeToExit 5000
start ResetKavrinStart
shoot kavrin-reset.png "Reset Kavrin"
post "Reset Kavrin" "$WM_COMMAND" "$IDCANCEL"
wait "$pid" || true
number SyncOncePerDay 0
number ExitAfterSync 0
number TimeToExit 60000

echo "The setup's pages and the uninstaller's"
start KavrinSetup
shoot kavrin-setup-welcome.png "Kavrin Setup"
post "Kavrin Setup" "$WM_COMMAND" "$IDOK"
# The button reads "Finish" on the last page, once everything is installed.
driver wait "Kavrin Setup" "$IDOK" Finish
shoot kavrin-setup-finish.png "Kavrin Setup"
# Finish would start Kavrin.
kill "$pid"
wait "$pid" || true
folder=$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kavrin' /v InstallLocation |
    tr -d '\r' | sed -n 's/.*REG_SZ *//p')
wine "$folder\Uninstall.exe" >>"$session/programs.log" 2>&1 &
shoot kavrin-uninstall-confirm.png "Kavrin Uninstall"
post "Kavrin Uninstall" "$WM_COMMAND" "$IDOK"
driver wait "Kavrin Uninstall" "$IDOK" Uninstall
shoot kavrin-uninstall-settings.png "Kavrin Uninstall"
post "Kavrin Uninstall" "$WM_COMMAND" "$IDOK"
driver wait "Kavrin Uninstall" "$IDOK" Close
shoot kavrin-uninstall-done.png "Kavrin Uninstall"
post "Kavrin Uninstall" "$WM_COMMAND" "$IDOK"

echo "Kavrin at 144 pixels per inch"
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
wineserver -k
wineserver -w
start_synchronised Kavrin
shoot kavrin-144dpi.png Kavrin
finish

# Every picture, or none: DIR changes only when all of them were made.
pictures=(kavrin-window.png kavrin-balloon-x64.png kavrin-tray-menu.png kavrin-help.png kavrin-about.png
    kavrin-chooser.png kavrin-exit-time.png kavrin-countdown.png kavrin-update.png kavrin-reset.png
    kavrin-setup-welcome.png kavrin-setup-finish.png kavrin-uninstall-confirm.png kavrin-uninstall-settings.png
    kavrin-uninstall-done.png kavrin-144dpi.png)
for picture in "${pictures[@]}"; do
    [ -s "$shots/$picture" ] || { echo "make-screenshots: $picture was not made" >&2; exit 1; }
done
mkdir -p "$out"
if [ "$out" = "$root/docs" ]; then
    rm -f "$out"/*.png
fi
cp "${pictures[@]/#/$shots/}" "$out/"
echo "${#pictures[@]} pictures in $out"
