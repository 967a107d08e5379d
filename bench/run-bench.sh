#!/usr/bin/env bash
# Times one-shot SNTP queries against a local chronyd, by hand (not in CI):
# our probe natively, our probe under Wine and Debian's ntpdig (and sntp when
# installed), N queries each, one after the other. Prints per client the
# median and 95th percentile of the wall time of one query (process start
# included, as a user running the command sees it), the median |offset|, and
# how long our client takes to give up on a server that never answers.
#   bench/run-bench.sh [N]        N defaults to 50
# Builds the probes first (an optimised native build without sanitizers in
# build/bench-native, the Windows one in build/win), then runs in its own
# network namespace that cannot set the clock.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
count=${1:-50}

if [ -z "${KAVRIN_BENCH_INSIDE:-}" ]; then
    tools/install-deps.sh
    command -v ntpdig >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ntpsec-ntpdig
    cmake -S . -B build/bench-native -DCMAKE_BUILD_TYPE=Release -DKAVRIN_SANITIZE=OFF -DKAVRIN_TESTS=OFF >/dev/null
    cmake --build build/bench-native -j"$(nproc)" --target sntp-probe >/dev/null
    cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build/win -j"$(nproc)" --target sntp-probe >/dev/null
    exec unshare --net setpriv --bounding-set -sys_time -- \
        env KAVRIN_BENCH_INSIDE=1 bash "$root/bench/run-bench.sh" "$count"
fi

native_probe=$root/build/bench-native/bin/sntp-probe
win_probe=$root/build/win/bin/sntp-probe.exe
for probe in "$native_probe" "$win_probe"; do
    [ -f "$probe" ] || { echo "run-bench: $probe is not built" >&2; exit 1; }
done

ip link set lo up
work=$(mktemp -d /tmp/kavrin-bench.XXXXXX)
cleanup() {
    tools/test-peers.sh stop "$work" || true
    tools/wine-session.sh stop "$work" || true
    rm -rf "$work"
}
trap cleanup EXIT

tools/wine-session.sh start "$work"
tools/test-peers.sh start "$work" >/dev/null
# shellcheck disable=SC1091
source "$work/session.env"

clients=("probe (native)|$native_probe 127.0.0.1" "probe (Wine)|wine $win_probe 127.0.0.1"
         "ntpdig|ntpdig -t 5 -j 127.0.0.1")
if command -v sntp >/dev/null 2>&1; then
    clients+=("sntp|sntp 127.0.0.1")
fi
silent=("probe (native)|$native_probe 127.0.0.2" "probe (Wine)|wine $win_probe 127.0.0.2")

python3 - "$count" "${clients[@]}" -- "${silent[@]}" <<'PY'
import json, re, shlex, statistics, subprocess, sys, time

count = int(sys.argv[1])
rest = sys.argv[2:]
split = rest.index("--")
clients = [c.split("|", 1) for c in rest[:split]]
silent = [c.split("|", 1) for c in rest[split + 1:]]


def offset_of(output):
    m = re.search(r"offset_s=(-?[0-9.]+)", output)
    if m:
        return float(m.group(1))
    try:
        return float(json.loads(output.strip().splitlines()[-1])["offset"])
    except (ValueError, KeyError, IndexError):
        pass
    m = re.search(r"\s([+-][0-9]+\.[0-9]+)\s", output)  # sntp's plain output
    return float(m.group(1)) if m else None


def run(command):
    start = time.perf_counter()
    done = subprocess.run(shlex.split(command), capture_output=True, text=True)
    return time.perf_counter() - start, done.returncode, done.stdout


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, max(0, round(p / 100 * len(ordered) + 0.5) - 1))]


print(f"{count} queries per client against chronyd on 127.0.0.1 (one process per query)")
print(f"{'client':<16}{'ok':>6}{'median ms':>12}{'p95 ms':>10}{'median |offset| ms':>21}")
for name, command in clients:
    run(command)  # warm-up: caches, Wine's services
    times, offsets, ok = [], [], 0
    for _ in range(count):
        seconds, status, output = run(command)
        offset = offset_of(output) if status == 0 else None
        if offset is not None:
            ok += 1
            times.append(seconds)
            offsets.append(abs(offset))
    if not times:
        print(f"{name:<16}{ok:>6}{'-':>12}{'-':>10}{'-':>21}")
        continue
    print(f"{name:<16}{ok:>6}{statistics.median(times) * 1e3:>12.1f}{percentile(times, 95) * 1e3:>10.1f}"
          f"{statistics.median(offsets) * 1e3:>21.3f}")

print()
print("giving up on a silent server (127.0.0.2)")
for name, command in silent:
    seconds, status, output = run(command)
    print(f"{name:<16}{seconds:>8.3f} s  {output.strip()}")
PY
