# Sourced by the bench scripts once they run in their own network namespace:
# brings the loopback network up, starts the local time servers and a fresh
# Wine session in a work folder ($work) that goes when the script ends.
#   bench_session NAME ARCH      ARCH: win32 or win64
bench_session() {
    ip link set lo up
    work=$(mktemp -d "/tmp/kavrin-$1.XXXXXX")
    trap 'tests/harness/test-peers.sh stop "$work" || true; tests/harness/wine-session.sh stop "$work" || true; rm -rf "$work"' EXIT
    tests/harness/wine-session.sh start "$work" "$2"
    tests/harness/test-peers.sh start "$work" >/dev/null
    # shellcheck disable=SC1091
    source "$work/session.env"
}

# The machine, for the first line of a report.
bench_machine() {
    echo "$(uname -n): $(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p')"
}
