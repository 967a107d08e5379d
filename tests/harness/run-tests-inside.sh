#!/usr/bin/env bash
# Runs the test suites with their peers. Called by test-all.sh inside its
# network namespace (only the loopback network, no right to set the clock):
#   1. the native tests (build/native) and the short fuzz runs (build/fuzz);
#   2. the x86_64 Windows tests (build/win64) in a fresh 64-bit Wine session,
#      on every host;
#   3. every picture of docs/ made once more from build/win64 into a scratch
#      folder (tools/make-screenshots.sh, in a namespace of its own);
#   4. the i686 Windows tests (build/win32) in a fresh 32-bit Wine session,
#      where the host can execute i386 code (tests/harness/host-arch.sh; also
#      KAVRIN_WIN64_ONLY=1); otherwise one line says why they are skipped.
# The time servers (tests/harness/test-peers.sh) run once for all suites. A
# Wine session that cannot start stops everything at once with one error.
# KAVRIN_TEST_FILTER, a ctest regular expression, runs only the tests whose
# names match it, in every suite (for example "UpdateDlg" or "^native\.").
# Exits non-zero if any suite failed.
set -uo pipefail
root=${1:?usage: run-tests-inside.sh SOURCE_DIR}
# A mount namespace of its own, so that the tests' hosts file below never
# shows outside.
if [ -z "${KAVRIN_OWN_MOUNTS:-}" ]; then
    KAVRIN_OWN_MOUNTS=1 exec unshare --mount -- bash "$0" "$@"
fi
cd "$root" || exit 1

ip link set lo up || { echo "run-tests-inside: cannot bring the loopback network up" >&2; exit 1; }
run=$(mktemp -d /tmp/kavrin-test.XXXXXX)
# A name with several addresses (tests/harness/TestPeers.h), in this mount
# namespace's own hosts file: the host's file stays as it is.
{ cat /etc/hosts; printf '127.0.0.31 good.kavrin.test\n127.0.0.30 silent-then-good.kavrin.test\n127.0.0.31 silent-then-good.kavrin.test\n'; } >"$run/hosts"
mount --bind "$run/hosts" /etc/hosts || { echo "run-tests-inside: cannot give the tests a hosts file of their own" >&2; exit 1; }
session=

cleanup() {
    [ -n "$session" ] && tests/harness/wine-session.sh stop "$session"
    tests/harness/test-peers.sh stop "$run" >/dev/null 2>&1
    rm -rf "$run"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if reason=$(tests/harness/host-arch.sh); then
    run32=1
else
    run32=0
    echo "32-bit Windows suite skipped: $reason"
fi

tests/harness/test-peers.sh start "$run"
# shellcheck disable=SC1091
source "$run/peers.env"

failed=()
# Every suite's ctest: all its tests, or those that the filter picks.
filter=(--no-tests=error)
[ -z "${KAVRIN_TEST_FILTER:-}" ] || filter=(--no-tests=ignore -R "$KAVRIN_TEST_FILTER")

echo "== Native tests (build/native)"
ctest --test-dir build/native "${filter[@]}" --output-on-failure -j2 || failed+=(native)

echo "== Fuzz targets, a short run over each seed corpus (build/fuzz)"
ctest --test-dir build/fuzz "${filter[@]}" --output-on-failure || failed+=(fuzz)

# windows_suite ARCH BUILD_DIR LABEL
windows_suite() {
    local arch=$1 build=$2 label=$3 started=$SECONDS rc=0
    echo "== $label Windows tests ($build) under Wine, $arch prefix"
    session=$run/$arch
    # Prints one error and fails when the session cannot start: then nothing
    # more runs.
    tests/harness/wine-session.sh start "$session" "$arch" || exit 1
    echo "Wine session ($arch) ready in $((SECONDS - started)) s"
    (
        # shellcheck disable=SC1091
        source "$session/session.env"
        ctest --test-dir "$build" "${filter[@]}" --output-on-failure
    ) || rc=$?
    tests/harness/wine-session.sh stop "$session"
    rm -rf "$session"
    session=
    [ "$rc" = 0 ] || failed+=("$label")
}

windows_suite win64 build/win64 x86_64
echo "== The pictures of docs/ from build/win64 (tools/make-screenshots.sh)"
bash tools/make-screenshots.sh --arch win64 --out "$run/screenshots" || failed+=(screenshots)
[ "$run32" = 1 ] && windows_suite win32 build/win32 i686

if [ "${#failed[@]}" -gt 0 ]; then
    echo "FAILED suites: ${failed[*]}"
    exit 1
fi
exit 0
