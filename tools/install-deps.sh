#!/usr/bin/env bash
# Installs what building and testing Kavrin needs on Debian 12 (run as root).
# Does nothing when everything is already there.
#
# It never installs the chrony package: on Debian 12 that removes
# systemd-timesyncd, the host's time service. The tests' local time server is
# the chronyd program alone, unpacked into the build tree
# (tests/harness/get-chronyd.sh).
set -euo pipefail
harness=$(cd "$(dirname "$0")/../tests/harness" && pwd)

# What must be there -> the package that brings it.
checks=(
    "cmd:cmake cmake"
    "cmd:g++ g++"
    # The fuzz targets: clang with libFuzzer's runtime. Clang also builds the
    # Windows programs once more (build/clang) with mingw-w64's headers and
    # libraries, which the mingw-w64 g++ packages below bring.
    "cmd:clang++ clang"
    "file:/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a libclang-rt-14-dev"
    "cmd:make make"
    "cmd:ninja ninja-build"
    "file:/usr/src/googletest/CMakeLists.txt googletest"
    "file:/usr/include/gtest/gtest.h libgtest-dev"
    "cmd:python3 python3"
    "cmd:unshare util-linux"
    "cmd:setpriv util-linux"
    "cmd:ip iproute2"
    "cmd:i686-w64-mingw32-g++-posix g++-mingw-w64-i686"
    "cmd:x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64"
    "cmd:wine wine"
    "file:/usr/lib/wine/wine64 wine64"
    "file:/usr/lib/wine/wineserver64 wine64"
    # Unpacked is enough: where the host cannot run i386 code its postinst
    # fails, and only the 64-bit Wine is used there.
    "file:/usr/lib/wine/wine wine32:i386"
    "cmd:Xvfb xvfb"
    "cmd:xauth xauth"
    "cmd:xwininfo x11-utils"
    "cmd:xwd x11-apps"
    "file:/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf fonts-liberation"
    "cmd:makensis nsis"
    "cmd:7z p7zip-full"
    "cmd:openssl openssl"
    "cmd:osslsigncode osslsigncode"
)
# Installed without its recommends (they are many and not needed).
norecommends_checks=("cmd:import imagemagick")

present() {
    local what=${1%% *}
    case "$what" in
    cmd:*) command -v "${what#cmd:}" >/dev/null 2>&1 ;;
    file:*) [ -e "${what#file:}" ] ;;
    esac
}

missing_packages() {
    local entry
    for entry in "$@"; do
        present "$entry" || echo "${entry#* }"
    done | sort -u
}

mapfile -t packages < <(missing_packages "${checks[@]}")
mapfile -t plain < <(missing_packages "${norecommends_checks[@]}")
chronyd_missing=0
"$harness/get-chronyd.sh" path >/dev/null 2>&1 || chronyd_missing=1

if [ "${#packages[@]}" = 0 ] && [ "${#plain[@]}" = 0 ] && [ "$chronyd_missing" = 0 ]; then
    exit 0
fi

if [ "$(id -u)" != 0 ]; then
    echo "install-deps: run as root to install what is missing: ${packages[*]} ${plain[*]}$([ "$chronyd_missing" = 1 ] && echo ' chronyd')" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive

# Refuses any plan that would touch a time service of the host.
guard() {
    local plan
    plan=$(apt-get install -s "$@" 2>/dev/null | grep -E '^(Inst|Remv) ' || true)
    if grep -Eq '^Inst chrony |^Remv (systemd-timesyncd|chrony|ntp|ntpsec|openntpd) ' <<<"$plan"; then
        echo "install-deps: refusing: installing $* would change the host's time service:" >&2
        grep -E '^Inst chrony |^Remv ' <<<"$plan" >&2
        exit 1
    fi
}

if [ "${#packages[@]}" -gt 0 ] || [ "${#plain[@]}" -gt 0 ]; then
    echo "install-deps: installing ${packages[*]} ${plain[*]}"
fi
if printf '%s\n' "${packages[@]}" | grep -q ':i386$'; then
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
fi
apt-get update -qq

if [ "${#packages[@]}" -gt 0 ]; then
    guard "${packages[@]}"
    # Where the host cannot execute i386 code, wine32's configuration step
    # fails with "Exec format error"; finish what can be finished and judge
    # by what is actually there afterwards.
    if ! apt-get install -y -qq "${packages[@]}"; then
        echo "install-deps: apt-get reported an error; completing package configuration" >&2
        dpkg --configure -a || true
    fi
fi
if [ "${#plain[@]}" -gt 0 ]; then
    guard --no-install-recommends "${plain[@]}"
    apt-get install -y -qq --no-install-recommends "${plain[@]}" || dpkg --configure -a || true
fi
if [ "$chronyd_missing" = 1 ]; then
    echo "install-deps: unpacking chronyd (not the chrony package) into build/peers/chrony"
    "$harness/get-chronyd.sh" fetch
fi

mapfile -t still < <(missing_packages "${checks[@]}" "${norecommends_checks[@]}")
"$harness/get-chronyd.sh" path >/dev/null || still+=("chronyd")
if [ "${#still[@]}" -gt 0 ]; then
    echo "install-deps: still missing after installing: ${still[*]}" >&2
    exit 1
fi
