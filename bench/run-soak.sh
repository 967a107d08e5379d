#!/usr/bin/env bash
# The full leak test, by hand (not in CI): one Kavrin window synchronises
# CHRONYD times against the local chronyd and FAULTS times against the
# fault responder, every fault in turn (defaults 1000 and 200), after a
# warm-up; the process's handles, private bytes, windows and the GDI and
# USER objects that the wrappers hold must not grow. Prints their counts
# before and after. Builds the x86_64 test program with handle counting in
# build/soak-win64 and runs it under wine64 in its own network namespace.
#   bench/run-soak.sh [CHRONYD [FAULTS]]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
chronyd=${1:-1000}
faults=${2:-200}

if [ -z "${KAVRIN_SOAK_INSIDE:-}" ]; then
    tools/install-deps.sh
    cmake --no-warn-unused-cli -S . -B build/soak-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake \
        -DCMAKE_BUILD_TYPE=Release -DKAVRIN_COUNT_HANDLES=ON >/dev/null
    cmake --build build/soak-win64 -j"$(nproc)" --target kavrin_win_tests >/dev/null
    exec unshare --net setpriv --bounding-set -sys_time -- \
        env KAVRIN_SOAK_INSIDE=1 bash "$root/bench/run-soak.sh" "$chronyd" "$faults"
fi

# shellcheck source=bench/session.sh
source bench/session.sh
bench_session soak win64

echo "soak $(date -u +%Y-%m-%dT%H:%MZ) on $(bench_machine)"
started=$SECONDS
KAVRIN_SOAK_RUNS="$chronyd,$faults" wine build/soak-win64/bin/kavrin_win_tests.exe \
    --gtest_filter=SyncRuns.ManyRunsLeaveNothingBehind 2>&1 | grep -E '^soak:|OK|FAILED|Failure|actual'
echo "in $((SECONDS - started)) s"
