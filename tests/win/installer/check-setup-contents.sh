#!/usr/bin/env bash
# Checks, through 7-Zip's view of its archive, that the setup program holds
# both programs and the uninstaller.
set -euo pipefail
setup=${1:?usage: check-setup-contents.sh KavrinSetup.exe}
listing=$(7z l "$setup") || { echo "7z cannot list $setup"; exit 1; }
status=0
for file in Kavrin.exe ResetKavrinStart.exe Uninstall.exe; do
    grep -Eq "[[:space:]]$file\$" <<<"$listing" || { echo "$setup does not hold $file"; status=1; }
done
[ "$status" = 0 ] && echo "$setup holds Kavrin.exe, ResetKavrinStart.exe and Uninstall.exe"
exit $status
