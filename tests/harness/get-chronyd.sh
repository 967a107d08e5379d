#!/usr/bin/env bash
# The chronyd program the tests use as a local time server, WITHOUT the chrony
# package: on Debian 12 installing chrony removes systemd-timesyncd, the
# host's time service. The package is only downloaded and unpacked into the
# build tree (build/peers/chrony); nothing of it is installed or started as a
# service, and the tests run it with -x (never touches the clock).
#   get-chronyd.sh path    prints the chronyd to use: the unpacked one, else
#                          one already on PATH; fails when there is none
#   get-chronyd.sh fetch   downloads and unpacks it when it is missing (root);
#                          installs missing shared libraries it links against
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
dest=$root/build/peers/chrony
local_chronyd=$dest/usr/sbin/chronyd

works() {
    "$1" -v >/dev/null 2>&1
}

path() {
    if [ -x "$local_chronyd" ] && works "$local_chronyd"; then
        echo "$local_chronyd"
        return 0
    fi
    local other
    if other=$(command -v chronyd 2>/dev/null) && works "$other"; then
        echo "$other"
        return 0
    fi
    echo "get-chronyd: no chronyd: run tools/install-deps.sh as root" >&2
    return 1
}

download() {
    # As root into a root-owned folder apt cannot drop to its _apt user;
    # say so instead of having it warn about an unsandboxed download.
    (cd "$dest/deb" && apt-get download -q -o APT::Sandbox::User=root chrony)
}

fetch() {
    [ -x "$local_chronyd" ] && works "$local_chronyd" && return 0
    if [ "$(id -u)" != 0 ]; then
        echo "get-chronyd: run as root to fetch chronyd" >&2
        return 1
    fi
    rm -rf "$dest"
    mkdir -p "$dest/deb"
    if ! download >/dev/null 2>"$dest/deb/download.log"; then
        apt-get update -qq
        download >/dev/null
    fi
    local deb
    deb=$(ls "$dest"/deb/chrony_*.deb)
    dpkg-deb -x "$deb" "$dest"

    # Its shared libraries are ordinary ones (libcap2, libgnutls30,
    # libnettle8, libseccomp2...); install only those that are missing.
    local libs=() lib
    for lib in $(dpkg-deb -f "$deb" Depends | tr ',|' '\n' | sed -n 's/^ *\(lib[^ ]*\).*/\1/p' | sort -u); do
        dpkg -s "$lib" >/dev/null 2>&1 || libs+=("$lib")
    done
    if [ "${#libs[@]}" -gt 0 ]; then
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${libs[@]}" >/dev/null
    fi
    if ldd "$local_chronyd" | grep -q 'not found'; then
        echo "get-chronyd: $local_chronyd lacks libraries: $(ldd "$local_chronyd" | sed -n 's/^[[:space:]]*\([^ ]*\) => not found.*/\1/p' | tr '\n' ' ')" >&2
        return 1
    fi
    works "$local_chronyd" || { echo "get-chronyd: $local_chronyd does not run" >&2; return 1; }
}

case "${1:-path}" in
path) path ;;
fetch) fetch ;;
*) echo "usage: get-chronyd.sh path|fetch" >&2; exit 2 ;;
esac
