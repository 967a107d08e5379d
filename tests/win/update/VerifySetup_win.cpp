// Checks a program's signature as Kavrin checks a downloaded setup, for the release check:
//   VerifySetup FILE KEYS    prints the verdict; exits 0 only when FILE is signed with one of KEYS.

#include "update/SetupSignature_win.h"

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3)
        return 2;
    const std::wstring wideKeys = argv[2];
    const auto keys = SetupRules::ParsePublisherKeys(std::string(wideKeys.begin(), wideKeys.end()));
    const HANDLE file = ::CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (!keys || file == INVALID_HANDLE_VALUE)
        return 2;
    const SignatureCheck check = CheckSetupSignature(file, argv[1], *keys);
    ::CloseHandle(file);
    std::printf("verdict %d, signer \"%ls\", status 0x%08lx\n", static_cast<int>(check.verdict), check.signer.c_str(),
                static_cast<unsigned long>(check.status));
    return check.verdict == SignatureVerdict::Trusted ? 0 : 1;
}
