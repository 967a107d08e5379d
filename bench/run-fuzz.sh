#!/usr/bin/env bash
# The long fuzz campaign, by hand (not in CI): each target of fuzz/ in turn,
# one after another, for RUNS executions (default 10^7) or at most SECONDS
# seconds each (default 6 h), from its seeds and the corpus that earlier
# campaigns left in build/fuzz-corpus, with inputs of up to 1 KiB (more
# than any of these parsers takes: a reply is read into 68 bytes, a
# version file has at most 29). Prints one line per target:
# executions, time, coverage, corpus size, and the verdict (a crash, a leak
# or undefined behaviour stops the target and leaves its input in
# build/fuzz-artifacts). Names after SECONDS pick some targets, for a
# campaign that was interrupted.
#   bench/run-fuzz.sh [RUNS [SECONDS [TARGET...]]]
set -uo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10000000}
seconds=${2:-21600}
shift $(( $# < 2 ? $# : 2 ))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=($(basename -s .cpp fuzz/*Fuzz.cpp))

cmake -S . -B build/fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKAVRIN_FUZZ=ON -DKAVRIN_TESTS=OFF >/dev/null || exit 1
cmake --build build/fuzz -j"$(nproc)" --target kavrin_fuzz >/dev/null || exit 1
mkdir -p build/fuzz-artifacts
# shellcheck source=bench/session.sh
source bench/session.sh

echo "fuzz campaign $(date -u +%Y-%m-%dT%H:%MZ) on $(bench_machine)"
printf '%-22s %12s %9s %7s %8s  %s\n' target executions seconds cov corpus verdict
status=0
for target in "${targets[@]}"; do
    corpus=build/fuzz-corpus/$target
    log=build/fuzz-artifacts/$target.log
    mkdir -p "$corpus"
    started=$SECONDS
    build/fuzz/bin/"$target" -runs="$runs" -max_total_time="$seconds" -max_len=1024 -print_final_stats=1 \
        -artifact_prefix=build/fuzz-artifacts/"$target"- "$corpus" fuzz/corpus/"$target" >"$log" 2>&1
    rc=$?
    executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    coverage=$(grep -Eo 'cov: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
    verdict="no crash, leak or undefined behaviour"
    if [ "$rc" != 0 ]; then
        verdict="FAILED (exit $rc): $(grep -m1 -E 'ERROR|SUMMARY|does not hold|runtime error' "$log")"
        status=1
    fi
    printf '%-22s %12s %9s %7s %8s  %s\n' "$target" "${executed:-?}" "$((SECONDS - started))" "${coverage:-?}" \
        "$(find "$corpus" -type f | wc -l)" "$verdict"
done
exit $status
