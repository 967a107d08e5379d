#!/usr/bin/env bash
# tools/make-release.sh with a code-signing key: the set's setup and both
# programs in it carry its signature, the programs pin its digest, and the
# signature check that Kavrin runs on a download accepts each file under
# that digest and refuses it under any other key.
#   check-release-signing.sh VERIFYSETUP_EXE    (inside a Wine session)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
verifier=${1:?usage: check-release-signing.sh VERIFYSETUP_EXE}
keys=$(mktemp -d)
trap 'rm -rf "$keys"' EXIT
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Kavrin Release Check" \
    -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
    -keyout "$keys/key.pem" -out "$keys/cert.pem" 2>/dev/null

if ! output=$(KAVRIN_SIGN_KEY=$keys/key.pem KAVRIN_SIGN_CERT=$keys/cert.pem bash "$root/tools/make-release.sh" --trial 2>&1); then
    printf 'make-release failed:\n%s\n' "$output"
    exit 1
fi
digest=$(sed -n "s/^The signing key's digest, for KAVRIN_PUBLISHER_KEYS: \([0-9a-f]\{64\}\)$/\1/p" <<<"$output")
[ -n "$digest" ] || { printf 'make-release printed no digest:\n%s\n' "$output"; exit 1; }
build=$root/build/release
grep -q "KAVRIN_PUBLISHER_KEYS \"$digest\"" "$build/generated/BuildConfig.h" || { echo "the programs do not pin $digest"; exit 1; }

failed=0
other=$(openssl rand -hex 32)
for file in release/KavrinSetup.exe installer/payload/Kavrin.exe installer/payload/ResetKavrinStart.exe; do
    path="Z:$build/$file"
    sh "$root/cmake/wine-run.sh" "$verifier" "$path" "$digest" >/dev/null || { echo "$file refused under its own key"; failed=1; }
    if sh "$root/cmake/wine-run.sh" "$verifier" "$path" "$other" >/dev/null; then
        echo "$file accepted under another key"
        failed=1
    fi
done
exit "$failed"
