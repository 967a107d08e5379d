#!/usr/bin/env bash
# Installs what is missing, builds every configuration with warnings as
# errors and runs every test inside a private network namespace that cannot
# set the clock (tests/harness/run-tests-inside.sh):
#   build/native  Debug, sanitizers: the platform-free code on Linux
#   build/fuzz    the fuzz targets (clang, libFuzzer, sanitizers)
#   build/win64   x86_64 Windows build: its tests run on every host (wine64);
#                 it counts the GDI and USER objects its wrappers hold
#   build/win32   the 32-bit deliverables: always built; their tests run
#                 where the host can execute i386 code
#   build/clang   both programs for x86_64 Windows once more, compiled and
#                 linked by clang instead of GCC, configured and built as
#                 the README's Windows build commands do: built, never run
# KAVRIN_WIN64_ONLY=1 takes the path of a host that cannot run i386 code.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

tools/install-deps.sh

# Only the loopback network exists in there, and no process can gain the
# right to set the clock. Checked first, so that nothing is built in vain.
if ! unshare --net --mount setpriv --bounding-set -sys_time -- true 2>/dev/null; then
    echo "test-all: the tests need a private network namespace, which this environment does not permit: run as root (or with CAP_SYS_ADMIN and CAP_SETPCAP) on a kernel with network namespaces, outside an unprivileged container." >&2
    exit 1
fi

jobs=-j"$(nproc)"
werror=-DKAVRIN_WERROR=ON
started=$SECONDS
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug $werror >/dev/null
cmake --build build/native "$jobs"
# The fuzz targets: native, with clang and libFuzzer (fuzz/).
cmake -S . -B build/fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKAVRIN_FUZZ=ON -DKAVRIN_TESTS=OFF $werror >/dev/null
cmake --build build/fuzz "$jobs" --target kavrin_fuzz
for arch in win64 win32; do
    case $arch in
    # The x86_64 build, never shipped, counts the handles its wrappers hold
    # for the leak test (framework/Handles_win.h).
    win64) toolchain=cmake/toolchain-x86_64-w64-mingw32.cmake counting=ON ;;
    win32) toolchain=cmake/toolchain-i686-w64-mingw32.cmake counting=OFF ;;
    esac
    # An existing build folder already knows its toolchain: no warning then.
    cmake --no-warn-unused-cli -S . -B "build/$arch" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DKAVRIN_COUNT_HANDLES=$counting $werror >/dev/null
    cmake --build "build/$arch" "$jobs"
done
# The same sources for the same target through a second compiler: they must
# not lean on GCC's extensions, and clang's own warnings hold as errors too.
# Unoptimised (NDEBUG as shipped) to keep it short. As on a Windows machine
# (README, Build on Windows): no GoogleTest, so the tests turn themselves
# off, and the default target makes both programs and the setup.
clang_configure=$(cmake --no-warn-unused-cli -S . -B build/clang \
    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-clang-x86_64-w64-mingw32.cmake \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE=-DNDEBUG -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG \
    -DKAVRIN_TESTS=ON -DKAVRIN_GTEST_SOURCE_DIR="$root/build/no-googletest" $werror)
grep -q '^-- Tests off: no GoogleTest' <<<"$clang_configure" || { echo "test-all: build/clang without GoogleTest did not turn the tests off" >&2; exit 1; }
cmake --build build/clang "$jobs"
for program in Kavrin ResetKavrinStart KavrinSetup; do
    [ -f "build/clang/bin/$program.exe" ] || { echo "test-all: the default target of build/clang made no $program.exe" >&2; exit 1; }
done
echo "== Built native, fuzz, win64, win32 and clang in $((SECONDS - started)) s"

exec unshare --net setpriv --bounding-set -sys_time -- bash "$root/tests/harness/run-tests-inside.sh" "$root"
