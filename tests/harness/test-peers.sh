#!/usr/bin/env bash
# The time servers the tests query, inside the test network namespace:
# chronyd on 127.0.0.1 (serving its own clock, never adjusting it) and the
# fault-injecting responder on the other addresses of TestPeers.h (beside
# this script). The chronyd is the one get-chronyd.sh unpacked into the build
# tree (the chrony package is never installed), else one already on PATH.
#   test-peers.sh start DIR   starts both, waits until they answer, and adds
#                             their variables to DIR/session.env (and
#                             DIR/peers.env)
#   test-peers.sh stop DIR    stops both by their pids
set -uo pipefail

action=${1:?usage: test-peers.sh start|stop DIR}
dir=$(realpath -m "${2:?usage: test-peers.sh start|stop DIR}")
here=$(cd "$(dirname "$0")" && pwd)
peers=$dir/peers

publish() {
    {
        echo "export KAVRIN_TEST_PEERS=$1"
        echo "export KAVRIN_SNTP_CAPTURE=\"$peers/capture.hex\""
    } >"$dir/peers.env"
    [ -f "$dir/session.env" ] && cat "$dir/peers.env" >>"$dir/session.env"
    return 0
}

answers() {
    local _
    for _ in $(seq 50); do
        python3 "$here/sntp-responder.py" --check "$1" && return 0
        sleep 0.2
    done
    return 1
}

start() {
    mkdir -p "$peers"
    cat >"$peers/chrony.conf" <<CONF
# A local time server only: no sources, no control of the system clock (-x).
local stratum 8
port 123
bindaddress 127.0.0.1
allow 127.0.0.0/8
cmdport 0
bindcmdaddress /
pidfile $peers/chronyd.pid
driftfile $peers/chrony.drift
user root
CONF
    local chronyd
    if ! chronyd=$("$here/get-chronyd.sh" path); then
        publish failed
        return 1
    fi
    "$chronyd" -x -n -f "$peers/chrony.conf" -l "$peers/chronyd.log" &
    echo $! >"$peers/chronyd.run.pid"
    python3 "$here/sntp-responder.py" --capture-file "$peers/capture.hex" \
        >"$peers/responder.log" 2>&1 &
    echo $! >"$peers/responder.pid"

    if answers 127.0.0.1 && answers 127.0.0.17 && answers ::1; then
        publish 1
        return 0
    fi
    echo "test-peers: the time servers do not answer (see $peers/*.log)" >&2
    publish failed
    return 1
}

stop_pid() {
    local file=$1 pid
    [ -f "$file" ] || return 0
    pid=$(cat "$file")
    if kill "$pid" 2>/dev/null; then
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    fi
    rm -f "$file"
}

stop() {
    stop_pid "$peers/responder.pid"
    stop_pid "$peers/chronyd.run.pid"
}

case "$action" in
start) start ;;
stop) stop ;;
*) echo "usage: test-peers.sh start|stop DIR" >&2; exit 2 ;;
esac
