#!/usr/bin/env bash
# Installs what is missing, builds Kavrin and starts it under Wine: on your
# display when there is one; otherwise on a virtual display, against a local
# time server, saving a screenshot of the window (KAVRIN_SCREENSHOT, default
# ./kavrin-window.png).
#   run-kavrin.sh [ARGS...]          Kavrin.exe (e.g. /ws shows the window)
#   run-kavrin.sh --reset [ARGS...]  the companion ResetKavrinStart.exe
# It runs the 32-bit deliverable (build/win32) where the host can execute
# i386 code, otherwise the x86_64 build of the same sources (build/win64);
# KAVRIN_WIN64_ONLY=1 takes that path on any host.
set -euo pipefail
cd "$(dirname "$0")/.."

program=Kavrin
case "${1:-}" in
--reset) program=ResetKavrinStart; shift ;;
-h | --help) sed -n '2,10s/^# \{0,1\}//p' "$0"; exit 0 ;;
esac

tools/install-deps.sh

if reason=$(tests/harness/host-arch.sh); then
    arch=win32 toolchain=cmake/toolchain-i686-w64-mingw32.cmake
else
    arch=win64 toolchain=cmake/toolchain-x86_64-w64-mingw32.cmake
    echo "Running the x86_64 build of $program (same sources) instead of the 32-bit one: $reason"
fi
cmake --no-warn-unused-cli -S . -B "build/$arch" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "build/$arch" -j"$(nproc)" --target "$program"
exe=build/$arch/bin/$program.exe

if [ -n "${DISPLAY:-}" ]; then
    # A lasting prefix of the right arch, and wine commands that use its loader.
    home=$HOME/.local/share/kavrin/$arch
    tests/harness/wine-session.sh wrappers "$home" "$arch"
    # shellcheck disable=SC1091
    source "$home/session.env"
    export WINEPREFIX=${KAVRIN_WINEPREFIX:-$WINEPREFIX}
    [ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
    exec "$KAVRIN_WINE" "$exe" "$@"
fi

if ! unshare --net setpriv --bounding-set -sys_time -- true 2>/dev/null; then
    echo "run-kavrin: without a display it needs a private network namespace, which this environment does not permit: run as root (or with CAP_SYS_ADMIN and CAP_SETPCAP) on a kernel with network namespaces, outside an unprivileged container." >&2
    exit 1
fi
KAVRIN_SCREENSHOT=$(realpath -m "${KAVRIN_SCREENSHOT:-kavrin-window.png}")
export KAVRIN_SCREENSHOT
exec unshare --net setpriv --bounding-set -sys_time -- \
    bash tests/harness/screenshot-demo.sh "$PWD" "$arch" "$program" "$@"
