#!/usr/bin/env bash
# Makes the release set that the maker uploads, in build/release/release:
#   KavrinSetup.exe    the setup of the 32-bit programs (NSIS)
#   KavrinVersion.txt  the version file that announces it to the update check
# The build folder is the release's own and is configured afresh each time,
# so no setting of an earlier build reaches the set.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
    cat <<'EOF'
usage: tools/make-release.sh [--trial] -DKAVRIN_UPDATE_SITE=https://... -DKAVRIN_DOWNLOAD_SITE=https://...
                             -DKAVRIN_WEB_SITE=https://... -DKAVRIN_SUPPORT_EMAIL=name@domain [-DNAME=VALUE...]
  The maker's three sites must be https origins and no address may be at a
  reserved domain (.example, example.com, .test, .invalid, localhost).
  --trial  makes a set only to try out: any addresses, the reserved defaults
           for those not given, and unsigned when no key is given.
  Other -D settings go to CMake as they are.
Signing (required unless --trial), from the environment:
  KAVRIN_SIGN_KEY, KAVRIN_SIGN_CERT  the maker's code-signing key and its
           certificate (PEM); both programs, the uninstaller and the setup
           are signed (tools/sign-file.sh; KAVRIN_SIGN_TIMESTAMP optional).
  The programs accept updates signed with that key only: its digest becomes
  KAVRIN_PUBLISHER_KEYS unless that is given (for a change of key).
EOF
}

trial=0
settings=(KAVRIN_UPDATE_SITE KAVRIN_DOWNLOAD_SITE KAVRIN_WEB_SITE KAVRIN_SUPPORT_EMAIL)
declare -A given=()
cmake_args=()
for arg in "$@"; do
    case $arg in
    --trial) trial=1 ;;
    -h | --help) usage; exit 0 ;;
    -D?*=*)
        name=${arg#-D}
        name=${name%%=*}
        given[${name%%:*}]=${arg#*=}
        cmake_args+=("$arg")
        ;;
    *) echo "make-release: unknown argument: $arg" >&2; usage >&2; exit 2 ;;
    esac
done

# Names that RFC 2606 and RFC 6761 keep from the Internet.
reserved() {
    case ${1,,} in
    example | *.example | example.com | *.example.com | example.net | *.example.net | example.org | *.example.org | \
        test | *.test | invalid | *.invalid | localhost | *.localhost) return 0 ;;
    esac
    return 1
}

# The one problem with a setting's value, or nothing.
problem() {
    local name=$1 value=$2 host
    if [ "$name" = KAVRIN_SUPPORT_EMAIL ]; then
        host=${value#*@}
        [[ $value == ?*@?* ]] || { echo "$name=$value is not an e-mail address"; return; }
    else
        [[ $value == https://?* ]] || { echo "$name=$value is not an https origin"; return; }
        host=${value#https://}
        host=${host%%[/:?#]*}
    fi
    reserved "$host" && echo "$name=$value is at the reserved domain $host"
    return 0
}

if [ "$trial" = 0 ]; then
    missing=() refusals=()
    for name in "${settings[@]}"; do
        if [ -z "${given[$name]+set}" ]; then
            missing+=("-D$name=...")
        elif reason=$(problem "$name" "${given[$name]}") && [ -n "$reason" ]; then
            refusals+=("$reason")
        fi
    done
    trial_hint="(or --trial for a set only to try out)"
    [ "${#missing[@]}" = 0 ] || echo "make-release: give the maker's addresses: ${missing[*]} $trial_hint" >&2
    for reason in "${refusals[@]}"; do
        echo "make-release: refused: $reason $trial_hint" >&2
    done
    [ "${#missing[@]}" = 0 ] && [ "${#refusals[@]}" = 0 ] || exit 2
fi

# The signing key, and the digest of its public key that the programs pin.
signer="" digest=""
if [ -n "${KAVRIN_SIGN_KEY:-}${KAVRIN_SIGN_CERT:-}" ]; then
    for file in "${KAVRIN_SIGN_KEY:-}" "${KAVRIN_SIGN_CERT:-}"; do
        [ -r "$file" ] || { echo "make-release: give both KAVRIN_SIGN_KEY and KAVRIN_SIGN_CERT, readable PEM files" >&2; exit 2; }
    done
    signer=$(openssl x509 -in "$KAVRIN_SIGN_CERT" -noout -subject -nameopt oneline)
    digest=$(openssl x509 -in "$KAVRIN_SIGN_CERT" -pubkey -noout | openssl pkey -pubin -outform DER | sha256sum | cut -c1-64)
    export KAVRIN_SIGN_KEY KAVRIN_SIGN_CERT
    cmake_args+=("-DKAVRIN_SIGN_COMMAND=$PWD/tools/sign-file.sh")
    if [ -z "${given[KAVRIN_PUBLISHER_KEYS]+set}" ]; then
        cmake_args+=("-DKAVRIN_PUBLISHER_KEYS=$digest")
    elif [[ ,${given[KAVRIN_PUBLISHER_KEYS]}, != *,$digest,* ]]; then
        echo "make-release: note: KAVRIN_PUBLISHER_KEYS does not hold the key this set is signed with" >&2
    fi
elif [ "$trial" = 0 ]; then
    echo "make-release: refused: the set would be unsigned: set KAVRIN_SIGN_KEY and KAVRIN_SIGN_CERT (or --trial for a set only to try out)" >&2
    exit 2
fi

tools/install-deps.sh
build=build/release
rm -rf "$build"
cmake --no-warn-unused-cli -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake \
    -DCMAKE_BUILD_TYPE=Release -DKAVRIN_WERROR=ON -DKAVRIN_TESTS=OFF "${cmake_args[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" --target release

# What was made, with the versions read from the files themselves.
set_dir=$build/release
# The versions that a program's version resource names (its UTF-16 string
# after "FileVersion"; the program's own table of keys has none after it).
file_version() { strings -a -el "$1" | grep -A1 -x FileVersion | grep -xE '[0-9]+(\.[0-9]+){3}' | sort -u | paste -sd ' '; }
version=$(sed -n 's/^#define KAVRIN_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/KavrinVersion.h")
kind="release set,"
[ "$trial" = 0 ] || kind="TRIAL set, not to publish,"
if [ -n "$signer" ]; then
    echo "== Kavrin $version $kind signed by $signer, in $set_dir:"
else
    echo "== Kavrin $version $kind UNSIGNED, in $set_dir:"
fi
status=0
payload=$build/installer/payload
for file in "$set_dir/KavrinSetup.exe" "$set_dir/KavrinVersion.txt" "$payload/Kavrin.exe" "$payload/ResetKavrinStart.exe"; do
    case $file in
    *.txt) found=$(tail -n +2 "$file" | tr -d '\r' | paste -sd .) ;;
    *) found=$(file_version "$file") ;;
    esac
    label=${file##*/}
    [ "$file" = "${file#"$payload"}" ] || label="$label (in the setup)"
    printf '  %-34s %9s bytes  version %s\n' "$label" "$(stat -c %s "$file")" "$found"
    [ "$found" = "$version" ] || { echo "make-release: $label is not version $version" >&2; status=1; }
done
echo "Addresses built in:"
sed -n 's/^#define \(KAVRIN_[A-Z_]*\) L\{0,1\}"\(.*\)"$/  \1 \2/p' "$build/generated/BuildConfig.h"
[ -z "$digest" ] || echo "The signing key's digest, for KAVRIN_PUBLISHER_KEYS: $digest"
exit "$status"
