#!/bin/sh
# Runs a Windows program under the test session's Wine prefix (see
# tests/harness/wine-session.sh). ctest uses it as the cross-compiling
# emulator of both toolchains: KAVRIN_WINE, from the session's session.env, is the wine
# command whose loader matches the session's arch (the 64-bit loader in a
# 64-bit session, where Debian's /usr/bin/wine would pick the 32-bit one).
: "${WINEPREFIX:?no Wine session: run the tests through tools/test-all.sh}"
export WINEDEBUG="${WINEDEBUG:--all}"
exec "${KAVRIN_WINE:-wine}" "$@"
