#!/usr/bin/env bash
# Tells whether this host can run the 32-bit (i686) Windows programs, by
# running Wine's 32-bit loader: some hosts boot with IA-32 emulation off,
# and there every i386 program fails with "Exec format error".
#   host-arch.sh     prints "win32" and exits 0 when 32-bit code runs;
#                    otherwise prints why not (one phrase) and exits 1
# KAVRIN_WIN64_ONLY=1 forces the 64-bit-only path (to try it on any host).
# KAVRIN_WINE32_LOADER names another 32-bit loader (for trying the checks).
set -uo pipefail

if [ "${KAVRIN_WIN64_ONLY:-0}" != 0 ] && [ -n "${KAVRIN_WIN64_ONLY:-}" ]; then
    echo "KAVRIN_WIN64_ONLY=$KAVRIN_WIN64_ONLY forces the 64-bit-only path"
    exit 1
fi

loader=${KAVRIN_WINE32_LOADER:-/usr/lib/wine/wine}
if [ ! -e "$loader" ]; then
    echo "this host has no 32-bit Wine ($loader is missing; install wine32:i386)"
    exit 1
fi
output=$("$loader" --version 2>&1)
rc=$?
if [ "$rc" = 0 ]; then
    echo win32
    exit 0
fi
if [ "$rc" = 126 ] || grep -qi 'exec format error' <<<"$output"; then
    echo "this host cannot execute i386 code (wine32 fails with Exec format error)"
else
    echo "this host cannot run the 32-bit Wine ($loader --version exits $rc: $(head -n 1 <<<"$output"))"
fi
exit 1
