#!/usr/bin/env bash
# The SNTP client beyond run-bench.sh, by hand (not in CI). Prints:
#   - |offset| and wall time of one-shot queries against NTPsec's ntpd, N
#     each: our probe natively, under Wine and ntpdig. ntpd is unpacked from
#     the ntpsec package into build/peers/ntpsec (never installed), serves its
#     own clock in orphan mode at stratum 5 and cannot set it; it binds
#     127.0.0.1 as chronyd does, so it runs in a network namespace of its own.
#     Queries go 1.1 s apart: ntpd turns away a client that asks faster;
#   - RUNS runs of the native probe against a name of four addresses, one
#     silent and three that each drop a tenth of the requests (a hosts file
#     in a mount namespace of its own): how many succeed, how long they take;
#   - how long Kavrin's window takes to answer WM_NULL from another process
#     while the synchronisation of its start waits on a silent server (3 runs;
#     then once against a server that answers at once, for comparison).
#   bench/run-sntp-bench.sh [N [RUNS]]     N defaults to 50, RUNS to 1000
# Measures what bench/run-bench.sh builds: run that first.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
count=${1:-50} runs=${2:-1000}
if tests/harness/host-arch.sh >/dev/null; then arch=win32 windir=build/win; else arch=win64 windir=build/win64-bench; fi
native_probe=$root/build/bench-native/bin/sntp-probe
bin=$root/$windir/bin
ntpd=$root/build/peers/ntpsec/usr/sbin/ntpd
name=loss10.kavrin.test

if [ -z "${KAVRIN_BENCH_STAGE:-}" ]; then
    for program in "$native_probe" "$bin/sntp-probe.exe" "$bin/Kavrin.exe" "$bin/window-latency.exe"; do
        [ -f "$program" ] || { echo "run-sntp-bench: $program is not built (bench/run-bench.sh)" >&2; exit 1; }
    done
    if [ ! -x "$ntpd" ]; then
        # Unpacked only: installing ntpsec would replace the host's time service.
        mkdir -p build/peers/ntpsec/deb
        (cd build/peers/ntpsec/deb && apt-get download -q -o APT::Sandbox::User=root ntpsec >/dev/null)
        dpkg-deb -x build/peers/ntpsec/deb/ntpsec_*.deb build/peers/ntpsec
    fi
    unshare --net setpriv --bounding-set -sys_time -- env KAVRIN_BENCH_STAGE=ntpd bash "$0" "$count" "$runs"
    exec unshare --net --mount setpriv --bounding-set -sys_time -- env KAVRIN_BENCH_STAGE=peers bash "$0" "$count" "$runs"
fi

# Prints the statistics of one-shot queries, one line per client:
#   stats TITLE PAUSE RUNS "name|command"...
stats() {
    python3 - "$@" <<'PY'
import re, shlex, statistics, subprocess, sys, time
title, pause, count, clients = sys.argv[1], float(sys.argv[2]), int(sys.argv[3]), sys.argv[4:]
def pct(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, max(0, round(p / 100 * len(ordered) + 0.5) - 1))]
print(f"\n{title}")
print(f"{'client':<16}{'ok':>6}{'median ms':>11}{'p95 ms':>9}{'max ms':>9}{'median |offset| ms':>20}{'p95 |offset| ms':>17}")
for name, command in (c.split("|", 1) for c in clients):
    times, offsets, servers = [], [], {}
    for _ in range(count + 1):  # the first is a warm-up
        time.sleep(pause)
        started = time.perf_counter()
        done = subprocess.run(shlex.split(command), capture_output=True, text=True)
        wall = time.perf_counter() - started
        m = re.search(r"offset_s=(-?[0-9.]+)", done.stdout) or re.search(r'"offset": *(-?[0-9.]+)', done.stdout)
        q = re.search(r"query_s=([0-9.]+)", done.stdout)
        s = re.search(r"server=(\S+)", done.stdout)
        if s:
            servers[s.group(1)] = servers.get(s.group(1), 0) + 1
        times.append((float(q.group(1)) if q else wall) if done.returncode == 0 and m else None)
        offsets.append(abs(float(m.group(1))) if done.returncode == 0 and m else None)
    times, offsets = times[1:], offsets[1:]
    good = [t for t in times if t is not None]
    offs = [o for o in offsets if o is not None]
    if not good:
        print(f"{name:<16}{0:>6}")
        continue
    print(f"{name:<16}{len(good):>6}{statistics.median(good) * 1e3:>11.1f}{pct(good, 95) * 1e3:>9.1f}"
          f"{max(good) * 1e3:>9.1f}{statistics.median(offs) * 1e3:>20.3f}{pct(offs, 95) * 1e3:>17.3f}")
    if len(servers) > 1:
        print(f"{'':<16}answered by: " + ", ".join(f"{k} {v}" for k, v in sorted(servers.items())))
PY
}

ip link set lo up
source bench/session.sh
if [ "$KAVRIN_BENCH_STAGE" = ntpd ]; then
    work=$(mktemp -d /tmp/kavrin-ntpd.XXXXXX)
    trap 'kill "$(cat "$work/ntpd.pid")" 2>/dev/null; tests/harness/wine-session.sh stop "$work" || true; rm -rf "$work"' EXIT
    tests/harness/wine-session.sh start "$work" "$arch"
    # shellcheck disable=SC1091
    source "$work/session.env"
    echo "Kavrin SNTP benchmark, $(date -u +%Y-%m-%d) on $(bench_machine), $arch Wine $(wine --version 2>/dev/null)"
    printf 'tos orphan 5\ntos orphanwait 1\ndisable ntp\ndisable kernel\ndriftfile %s/drift\n' "$work" >"$work/ntp.conf"
    "$ntpd" -n -c "$work/ntp.conf" -l "$work/ntpd.log" -p "$work/ntpd.run.pid" >/dev/null 2>&1 &
    echo $! >"$work/ntpd.pid"
    # Until it leaves its unsynchronised start (stratum 16) for orphan mode.
    for _ in $(seq 30); do sleep 1.1; "$native_probe" 127.0.0.1 >/dev/null && break; done
    stats "$count queries per client against NTPsec ntpd (orphan, stratum 5) on 127.0.0.1, 1.1 s apart; times: query_s where printed, else the process" \
        1.1 "$count" "probe (native)|$native_probe 127.0.0.1" "probe (Wine)|wine $bin/sntp-probe.exe 127.0.0.1" \
        "ntpdig|ntpdig -t 5 -j 127.0.0.1"
    exit 0
fi

# A name of four addresses: the silent one first, then the three that drop
# a tenth (tests/harness/TestPeers.h), in this mount namespace's hosts file.
bench_session sntp "$arch"
{ cat /etc/hosts; for a in 127.0.0.2 127.0.0.32 127.0.0.33 127.0.0.34; do echo "$a $name"; done; } >"$work/hosts"
mount --bind "$work/hosts" /etc/hosts
stats "$runs runs of the native probe against $name (127.0.0.2 silent; .32, .33, .34 drop a tenth each); times: query_s" \
    0 "$runs" "probe (native)|$native_probe $name"
echo -e "\nKavrin.exe's window answering WM_NULL every 20 ms for 6 s while its start's synchronisation waits on"
echo "127.0.0.2 (silent), 3 runs, then once on 127.0.0.17 (answers at once) for comparison"
for server in 127.0.0.2 127.0.0.2 127.0.0.2 127.0.0.17; do
    echo "  $server: $(wine "$bin/window-latency.exe" "$server" 6 | tr '\r\n' '  ')"
done
