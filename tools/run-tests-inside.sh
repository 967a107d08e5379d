#!/usr/bin/env bash
# Runs the test suites with their peers: a Wine session, the time servers
# and the update site. Called by test-all.sh inside its network namespace.
set -uo pipefail
root=${1:?usage: run-tests-inside.sh SOURCE_DIR}
cd "$root"

ip link set lo up
session=$(mktemp -d /tmp/kavrin-test.XXXXXX)

cleanup() {
    [ -x tools/test-peers.sh ] && tools/test-peers.sh stop "$session" || true
    tools/wine-session.sh stop "$session"
    rm -rf "$session"
}
trap cleanup EXIT

tools/wine-session.sh start "$session"
[ -x tools/test-peers.sh ] && tools/test-peers.sh start "$session"
# shellcheck disable=SC1091
source "$session/session.env"

status=0
echo "== Native tests"
ctest --test-dir build/native --output-on-failure -j2 || status=1
echo "== Windows tests under Wine"
ctest --test-dir build/win --output-on-failure || status=1
exit $status
