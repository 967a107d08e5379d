#!/usr/bin/env bash
# Signs one Windows program in place with osslsigncode (Authenticode,
# SHA-256), with the maker's key and certificate from the environment:
#   KAVRIN_SIGN_KEY        the private key (PEM)
#   KAVRIN_SIGN_CERT       its certificate, and any intermediates (PEM)
#   KAVRIN_SIGN_TIMESTAMP  optional: an RFC 3161 time-stamp server, so that
#                          the signature outlives the certificate
# tools/make-release.sh has the build call it on each program it ships.
set -euo pipefail
file=${1:?usage: sign-file.sh FILE}
: "${KAVRIN_SIGN_KEY:?KAVRIN_SIGN_KEY is not set}" "${KAVRIN_SIGN_CERT:?KAVRIN_SIGN_CERT is not set}"
stamp=()
[ -z "${KAVRIN_SIGN_TIMESTAMP:-}" ] || stamp=(-ts "$KAVRIN_SIGN_TIMESTAMP")
osslsigncode sign -h sha256 -certs "$KAVRIN_SIGN_CERT" -key "$KAVRIN_SIGN_KEY" -n Kavrin "${stamp[@]}" \
    -in "$file" -out "$file.signed" >/dev/null
mv -f "$file.signed" "$file"
