#pragma once
// Who made a setup program: its Authenticode signature, checked by the
// system, and the signer's public key, which must be one of the keys the
// build accepts. A valid signature alone is not enough: a certificate with
// the maker's name can be had by anyone from a less careful authority, and
// some systems accept roots nobody trusts.

#include "update/SetupRules.h"

#include <windows.h>

#include <string>
#include <vector>

enum class SignatureVerdict
{
    Trusted,        // valid, and signed with an accepted key
    Unsigned,       // no signature
    Altered,        // changed after it was signed
    OtherPublisher, // valid, but the signer's key is not accepted
    Refused,        // the system refused the signature (see `status`)
};

struct SignatureCheck
{
    SignatureVerdict verdict = SignatureVerdict::Refused;
    // The signer's name, when the signature could be read.
    std::wstring signer;
    // WinVerifyTrust's answer.
    LONG status = 0;
};

// Checks the file open as `file` (read access), known by `path`, against
// `keys`. No user interface, no network.
SignatureCheck CheckSetupSignature(HANDLE file, const std::wstring& path,
                                   const std::vector<SetupRules::KeyDigest>& keys);
