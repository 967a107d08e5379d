#!/usr/bin/env bash
# A private, headless Wine session: a fresh prefix under DIR, its own Xvfb
# display, fonts and window-manager settings for fast, stable tests.
#   wine-session.sh start DIR [win32|win64]
#       boots a 32-bit (default) or 64-bit prefix; prints nothing unless it
#       fails, then one clear error and a non-zero exit; writes
#       DIR/session.env
#   wine-session.sh stop DIR
#       ends this session's wineserver and display
#   wine-session.sh wrappers DIR [win32|win64]
#       only writes the command wrappers (DIR/bin) and DIR/session.env
# The arch may also come from KAVRIN_WINEARCH.
#
# Source DIR/session.env to run programs in the session: it puts wrappers
# named wine, wine64, wineboot, winepath, regedit, winecfg, msiexec and
# wineserver first on PATH that use the loader of the session's arch, and
# exports KAVRIN_WINE (the wine command cmake/wine-run.sh uses). This matters
# in a 64-bit session: Debian's /usr/bin/wine always takes the 32-bit loader
# when wine32 is installed, even where the host cannot run it.
set -euo pipefail

action=${1:?usage: wine-session.sh start|stop|wrappers DIR [win32|win64]}
dir=$(realpath -m "${2:?usage: wine-session.sh start|stop|wrappers DIR [win32|win64]}")
arch=${3:-${KAVRIN_WINEARCH:-win32}}
case "$arch" in
win32 | win64) ;;
*) echo "wine-session: unknown arch '$arch' (win32 or win64)" >&2; exit 2 ;;
esac

fail() {
    echo "wine-session: cannot start the $arch Wine session: $*" >&2
    exit 1
}

free_display() {
    local n
    for n in $(seq 90 250); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { echo "$n"; return; }
    done
    fail "no free X display number"
}

write_wrappers() {
    local loader server
    if [ "$arch" = win64 ]; then
        loader=${KAVRIN_WINE64_LOADER:-/usr/lib/wine/wine64}
    else
        loader=${KAVRIN_WINE32_LOADER:-/usr/lib/wine/wine}
    fi
    # Debian's own wineserver script also prefers the 64-bit server, which
    # serves 32-bit prefixes too.
    server=/usr/lib/wine/wineserver64
    [ -x "$server" ] || server=/usr/lib/wine/wineserver32
    [ -e "$loader" ] || fail "$loader is missing (run tools/install-deps.sh)"

    mkdir -p "$dir/bin"
    local name
    for name in wine wine64 wine-stable; do
        cat >"$dir/bin/$name" <<WRAP
#!/bin/sh
export WINELOADER="$loader" WINESERVER="$server"
exec "$loader" "\$@"
WRAP
    done
    for name in wineboot winepath regedit winecfg msiexec; do
        cat >"$dir/bin/$name" <<WRAP
#!/bin/sh
exec "$dir/bin/wine" $name.exe "\$@"
WRAP
    done
    cat >"$dir/bin/wineserver" <<WRAP
#!/bin/sh
exec "$server" "\$@"
WRAP
    chmod +x "$dir/bin"/*
    {
        echo "export WINEARCH=$arch"
        echo "export WINEPREFIX=\"$dir/prefix\""
        echo "export WINELOADER=\"$loader\""
        echo "export WINESERVER=\"$server\""
        echo "export KAVRIN_WINE=\"$dir/bin/wine\""
        echo "export PATH=\"$dir/bin:\$PATH\""
        echo "export WINEDEBUG=-all"
        echo "export WINEDLLOVERRIDES=\"mscoree,mshtml=\""
    } >"$dir/session.env"
}

start() {
    mkdir -p "$dir/tmp"
    write_wrappers
    local display
    display=$(free_display)
    Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 &
    echo $! >"$dir/xvfb.pid"
    {
        echo "export DISPLAY=:$display"
        echo "export TMPDIR=\"$dir/tmp\""
    } >>"$dir/session.env"
    # shellcheck disable=SC1091
    source "$dir/session.env"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
    [ -e "/tmp/.X11-unix/X$display" ] || fail "Xvfb :$display did not start ($(tail -n 1 "$dir/xvfb.log"))"

    # A 64-bit prefix on a host without i386 code reports that
    # syswow64\rundll32.exe is missing: harmless for 64-bit programs.
    local rc=0
    wineboot -i >"$dir/wineboot.log" 2>&1 || rc=$?
    if [ "$rc" = 126 ] || [ "$rc" = 127 ]; then
        fail "wineboot exited with $rc: $(grep -v '^$' "$dir/wineboot.log" | tail -n 1)"
    fi
    wineserver -w
    [ -f "$WINEPREFIX/system.reg" ] || fail "wineboot exited with $rc and made no prefix: $(tail -n 1 "$dir/wineboot.log")"
    configure_prefix
    # Keep the server and Wine's services running so that each test starts fast.
    wineserver -p >/dev/null 2>&1
    rc=0
    wine cmd /c exit >"$dir/prewarm.log" 2>&1 || rc=$?
    [ "$rc" = 0 ] || fail "'wine cmd /c exit' exited with $rc: $(tail -n 1 "$dir/prewarm.log")"
}

configure_prefix() {
    # Wine links the user's Documents, Downloads, Desktop... to the host's
    # home folder: make them real folders of the prefix, so that nothing a
    # test writes there reaches the machine.
    local link
    for link in "$WINEPREFIX"/drive_c/users/*/*; do
        if [ -L "$link" ]; then
            rm -f "$link"
            mkdir -p "$link"
        fi
    done
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
    wine regedit /S "$(winepath -w "$dir/settings.reg")" >/dev/null 2>&1 ||
        fail "regedit could not import the session settings"
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
        local pid
        pid=$(cat "$dir/xvfb.pid")
        if kill "$pid" 2>/dev/null; then
            for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        fi
        rm -f "$dir/xvfb.pid"
    fi
}

case "$action" in
start) start ;;
stop) stop ;;
wrappers) write_wrappers ;;
*) echo "usage: wine-session.sh start|stop|wrappers DIR [win32|win64]" >&2; exit 2 ;;
esac
