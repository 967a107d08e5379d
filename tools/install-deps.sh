#!/usr/bin/env bash
# Installs what building and testing Kavrin needs on Debian 12 (run as root).
# Does nothing when everything is already there.
set -euo pipefail

commands=(cmake g++ i686-w64-mingw32-g++-posix wine Xvfb chronyd import xwininfo unshare setpriv ip python3)
missing=0
for c in "${commands[@]}"; do
    command -v "$c" >/dev/null 2>&1 || missing=1
done
[ -d /usr/src/googletest ] || missing=1
dpkg -s wine32:i386 >/dev/null 2>&1 || missing=1
[ -f /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf ] || missing=1
[ "$missing" = 0 ] && exit 0

if [ "$(id -u)" != 0 ]; then
    echo "install-deps: run as root to install the missing packages" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
dpkg --add-architecture i386
apt-get update -qq
apt-get install -y -qq cmake g++ make googletest libgtest-dev python3 util-linux iproute2 \
    g++-mingw-w64-i686 wine wine32:i386 wine64 xvfb xauth x11-utils x11-apps fonts-liberation chrony
apt-get install -y -qq --no-install-recommends imagemagick
