#!/usr/bin/env bash
# Checks that tools/make-release.sh without the maker's sites stops before
# it builds anything, with one line that names the setting to give.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
stubs=$(mktemp -d)
trap 'rm -rf "$stubs"' EXIT
# A cmake that only leaves a mark: the release must not get that far.
printf '#!/bin/sh\ntouch "%s/cmake-ran"\nexit 1\n' "$stubs" >"$stubs/cmake"
chmod +x "$stubs/cmake"

output=$(PATH="$stubs:$PATH" bash "$root/tools/make-release.sh" 2>&1)
status=$?
failed=0
[ "$status" != 0 ] || { echo "make-release without sites exited 0"; failed=1; }
[ ! -e "$stubs/cmake-ran" ] || { echo "make-release without sites ran cmake"; failed=1; }
[ "$(wc -l <<<"$output")" = 1 ] || { echo "make-release without sites said more than one line"; failed=1; }
grep -q -- '-DKAVRIN_UPDATE_SITE=' <<<"$output" || { echo "make-release without sites did not name KAVRIN_UPDATE_SITE"; failed=1; }
[ "$failed" = 0 ] || printf 'Its output:\n%s\n' "$output"
exit "$failed"
