#!/usr/bin/env bash
# A private, headless Wine session: a fresh 32-bit prefix under DIR, its own
# Xvfb display, fonts and window-manager settings for fast, stable tests.
#   wine-session.sh start DIR   prints nothing; writes DIR/session.env
#   wine-session.sh stop DIR    ends this session's wineserver and display
# Source DIR/session.env to run programs in the session.
set -euo pipefail

action=${1:?usage: wine-session.sh start|stop DIR}
dir=$(realpath -m "${2:?usage: wine-session.sh start|stop DIR}")

free_display() {
    local n
    for n in $(seq 90 250); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { echo "$n"; return; }
    done
    echo "wine-session: no free display" >&2
    exit 1
}

start() {
    mkdir -p "$dir/tmp"
    local display
    display=$(free_display)
    Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 &
    echo $! >"$dir/xvfb.pid"
    cat >"$dir/session.env" <<ENV
export DISPLAY=:$display
export WINEPREFIX="$dir/prefix"
export WINEARCH=win32
export TMPDIR="$dir/tmp"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
ENV
    # shellcheck disable=SC1091
    source "$dir/session.env"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done

    wineboot -i >/dev/null 2>&1
    wineserver -w
    configure_prefix
    # Keep the server and Wine's services running so that each test starts fast.
    wineserver -p >/dev/null 2>&1
    wine cmd /c exit >/dev/null 2>&1
}

configure_prefix() {
    # Debian's Wine does not find its own fonts; give the prefix copies and
    # map the common faces to Liberation.
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    local lib=/usr/share/fonts/truetype/liberation
    cp "$lib"/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    cat >"$dir/settings.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="Y"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"
"Times New Roman"="Liberation Serif"
"Courier New"="Liberation Mono"
"MS Shell Dlg"="Liberation Sans"
"MS Shell Dlg 2"="Liberation Sans"
"Tahoma"="Liberation Sans"
"Segoe UI"="Liberation Sans"
REG
    wine regedit /S "$(winepath -w "$dir/settings.reg")" >/dev/null 2>&1
    wineserver -k || true
    wineserver -w
}

stop() {
    if [ -f "$dir/session.env" ]; then
        # shellcheck disable=SC1091
        source "$dir/session.env"
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
    fi
    if [ -f "$dir/xvfb.pid" ]; then
        kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
        rm -f "$dir/xvfb.pid"
    fi
}

case "$action" in
start) start ;;
stop) stop ;;
*) echo "usage: wine-session.sh start|stop DIR" >&2; exit 2 ;;
esac
