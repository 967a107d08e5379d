#!/usr/bin/env bash
# The benchmark, by hand (not in CI). One run prints one table:
#   - one-shot SNTP queries against a local chronyd, N each (process start
#     included, as a user running the command sees it): our probe natively,
#     our probe under Wine and Debian's ntpdig (and sntp when installed);
#     median and 95th percentile of the wall time and of |offset|;
#   - Kavrin.exe from its start to its window under a warm Wine (median of
#     20; it synchronises on start against the local chronyd);
#   - how long our client takes to give up on a server that never answers;
#   - the sizes of both programs (as built and as the setup packs them,
#     stripped) and of the setup program.
#   bench/run-bench.sh [N]        N defaults to 50
# Builds what it measures first (an optimised native build without
# sanitizers in build/bench-native, the Windows programs in build/win, or
# build/win64-bench where the host runs no i386 code), then runs in its own
# network namespace that cannot set the clock.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
count=${1:-50}
if tests/harness/host-arch.sh >/dev/null; then
    arch=win32 windir=build/win toolchain=cmake/toolchain-i686-w64-mingw32.cmake
else
    arch=win64 windir=build/win64-bench toolchain=cmake/toolchain-x86_64-w64-mingw32.cmake
fi

if [ -z "${KAVRIN_BENCH_INSIDE:-}" ]; then
    tools/install-deps.sh
    if ! command -v ntpdig >/dev/null; then
        # ntpdig alone: never a package that replaces the host's time service.
        if apt-get -s install ntpsec-ntpdig | grep -Eq '^Remv '; then
            echo "run-bench: installing ntpsec-ntpdig would remove packages; not installing it" >&2
        else
            DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ntpsec-ntpdig
        fi
    fi
    cmake -S . -B build/bench-native -DCMAKE_BUILD_TYPE=Release -DKAVRIN_SANITIZE=OFF -DKAVRIN_TESTS=OFF >/dev/null
    cmake --build build/bench-native -j"$(nproc)" --target sntp-probe >/dev/null
    cmake --no-warn-unused-cli -S . -B "$windir" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DKAVRIN_TESTS=OFF >/dev/null
    cmake --build "$windir" -j"$(nproc)" >/dev/null
    exec unshare --net setpriv --bounding-set -sys_time -- \
        env KAVRIN_BENCH_INSIDE=1 bash "$root/bench/run-bench.sh" "$count"
fi

native_probe=$root/build/bench-native/bin/sntp-probe
bin=$root/$windir/bin
for program in "$native_probe" "$bin/sntp-probe.exe" "$bin/Kavrin.exe" "$bin/start-to-window.exe"; do
    [ -f "$program" ] || { echo "run-bench: $program is not built" >&2; exit 1; }
done

# shellcheck source=bench/session.sh
source bench/session.sh
bench_session bench "$arch"

clients=("probe (native)|$native_probe 127.0.0.1" "probe (Wine)|wine $bin/sntp-probe.exe 127.0.0.1"
         "ntpdig|ntpdig -t 5 -j 127.0.0.1")
if command -v sntp >/dev/null 2>&1; then
    clients+=("sntp|sntp 127.0.0.1")
fi
silent=("probe (native)|$native_probe 127.0.0.2" "probe (Wine)|wine $bin/sntp-probe.exe 127.0.0.2")
sizes=("Kavrin.exe|$bin/Kavrin.exe" "Kavrin.exe (in setup)|$root/$windir/installer/payload/Kavrin.exe"
       "ResetKavrinStart.exe|$bin/ResetKavrinStart.exe"
       "ResetKavrinStart.exe (in setup)|$root/$windir/installer/payload/ResetKavrinStart.exe"
       "KavrinSetup.exe|$bin/KavrinSetup.exe")

echo "Kavrin benchmark, $(date -u +%Y-%m-%d) on $(bench_machine), $arch Wine $(wine --version 2>/dev/null)"
python3 - "$count" "${clients[@]}" -- "${silent[@]}" -- "${sizes[@]}" -- \
    "wine $bin/start-to-window.exe 20 127.0.0.1" <<'PY'
import json, os, re, shlex, statistics, subprocess, sys, time

count = int(sys.argv[1])
groups, current = [], []
for arg in sys.argv[2:]:
    if arg == "--":
        groups.append(current)
        current = []
    else:
        current.append(arg)
groups.append(current)
clients, silent, sizes, start = [[c.split("|", 1) for c in g] for g in groups[:3]] + [groups[3][0]]


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
    started = time.perf_counter()
    done = subprocess.run(shlex.split(command), capture_output=True, text=True)
    return time.perf_counter() - started, done.returncode, done.stdout


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, max(0, round(p / 100 * len(ordered) + 0.5) - 1))]


print(f"\n{count} queries per client against chronyd on 127.0.0.1 (one process per query)")
print(f"{'client':<16}{'ok':>5}{'median ms':>11}{'p95 ms':>9}{'median |offset| ms':>20}{'p95 |offset| ms':>17}")
for name, command in clients:
    run(command)  # warm-up: caches, Wine's services
    times, offsets = [], []
    for _ in range(count):
        seconds, status, output = run(command)
        offset = offset_of(output) if status == 0 else None
        if offset is not None:
            times.append(seconds)
            offsets.append(abs(offset))
    if not times:
        print(f"{name:<16}{0:>5}{'-':>11}{'-':>9}{'-':>20}{'-':>17}")
        continue
    print(f"{name:<16}{len(times):>5}{statistics.median(times) * 1e3:>11.1f}{percentile(times, 95) * 1e3:>9.1f}"
          f"{statistics.median(offsets) * 1e3:>20.3f}{percentile(offsets, 95) * 1e3:>17.3f}")

print("\nKavrin.exe from its start to its window, warm Wine, 20 starts")
seconds, status, output = run(start)
print("  " + (output.strip().replace("\n", "\n  ") if status == 0 else f"failed ({status}): {output.strip()}"))

print("\ngiving up on a silent server (127.0.0.2): the process's wall time; query_s: the query's own")
for name, command in silent:
    seconds, status, output = run(command)
    print(f"  {name:<16}{seconds:>8.3f} s  {output.strip()}")

print("\nsizes")
for name, path in sizes:
    size = f"{os.path.getsize(path):>9} bytes  {os.path.getsize(path) / 1048576:.2f} MiB" if os.path.exists(path) \
        else "not built (no setup program in this tree)"
    print(f"  {name:<32}{size}")
PY
