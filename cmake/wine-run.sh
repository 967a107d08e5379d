#!/bin/sh
# Runs a Windows program under the test session's Wine prefix (see
# tools/wine-session.sh). ctest uses it as the cross-compiling emulator.
: "${WINEPREFIX:?no Wine session: run the tests through tools/test-all.sh}"
export WINEDEBUG="${WINEDEBUG:--all}"
exec wine "$@"
