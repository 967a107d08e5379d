#!/usr/bin/env bash
# Makes the release set that the maker uploads, in build/win32/release:
#   KavrinSetup.exe    the setup of the 32-bit programs (NSIS)
#   KavrinVersion.txt  the version file that announces it to the update check
# Arguments go to CMake, for example the maker's real sites:
#   tools/make-release.sh -DKAVRIN_UPDATE_SITE=https://update.example.com ...
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake --no-warn-unused-cli -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake \
    -DCMAKE_BUILD_TYPE=Release -DKAVRIN_WERROR=ON "$@" >/dev/null
cmake --build build/win32 -j"$(nproc)" --target release
