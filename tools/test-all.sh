#!/usr/bin/env bash
# Installs what is missing, builds both configurations and runs every test
# inside a private network namespace that cannot set the clock.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

tools/install-deps.sh

werror=-DKAVRIN_WERROR=ON
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug $werror >/dev/null
cmake --build build/native -j"$(nproc)"
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake \
    -DCMAKE_BUILD_TYPE=Release $werror >/dev/null
cmake --build build/win -j"$(nproc)"

# Only the loopback network exists in there, and no process can gain the
# right to set the clock.
exec unshare --net setpriv --bounding-set -sys_time -- bash "$root/tools/run-tests-inside.sh" "$root"
