#include "update/SetupSignature_win.h"

#include <wincrypt.h>
// wintrust.h before softpub.h, which needs its types.
#include <wintrust.h>
#include <softpub.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace
{
struct LocalFreeDeleter
{
    void operator()(void* p) const noexcept { ::LocalFree(p); }
};

// WinVerifyTrust's state, released when the check ends.
class CTrustState
{
public:
    CTrustState(HANDLE file, const std::wstring& path)
    {
        m_file.cbStruct = sizeof m_file;
        m_file.pcwszFilePath = path.c_str();
        m_file.hFile = file;
        m_data.cbStruct = sizeof m_data;
        m_data.dwUIChoice = WTD_UI_NONE;
        m_data.fdwRevocationChecks = WTD_REVOKE_NONE;
        m_data.dwUnionChoice = WTD_CHOICE_FILE;
        m_data.pFile = &m_file;
        m_data.dwStateAction = WTD_STATEACTION_VERIFY;
        m_data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
    }
    ~CTrustState()
    {
        m_data.dwStateAction = WTD_STATEACTION_CLOSE;
        Call();
    }
    CTrustState(const CTrustState&) = delete;
    CTrustState& operator=(const CTrustState&) = delete;

    LONG Verify() { return Call(); }

    // The certificate that signed the file, after a successful Verify.
    PCCERT_CONTEXT Signer() const
    {
        CRYPT_PROVIDER_DATA* provider = ::WTHelperProvDataFromStateData(m_data.hWVTStateData);
        CRYPT_PROVIDER_SGNR* signer = provider ? ::WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0) : nullptr;
        CRYPT_PROVIDER_CERT* cert = signer ? ::WTHelperGetProvCertFromChain(signer, 0) : nullptr;
        return cert ? cert->pCert : nullptr;
    }

private:
    LONG Call()
    {
        GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
        return ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &m_data);
    }

    WINTRUST_FILE_INFO m_file{};
    WINTRUST_DATA m_data{};
};

std::wstring SignerName(PCCERT_CONTEXT cert)
{
    wchar_t name[256] = {};
    ::CertGetNameStringW(cert, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name, ARRAYSIZE(name));
    return name;
}

// SHA-256 of the DER encoding of the certificate's SubjectPublicKeyInfo.
std::optional<SetupRules::KeyDigest> KeyDigestOf(PCCERT_CONTEXT cert)
{
    BYTE* encoded = nullptr;
    DWORD size = 0;
    if (!::CryptEncodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, &cert->pCertInfo->SubjectPublicKeyInfo,
                               CRYPT_ENCODE_ALLOC_FLAG, nullptr, &encoded, &size))
        return std::nullopt;
    const std::unique_ptr<BYTE, LocalFreeDeleter> owned(encoded);
    SetupRules::KeyDigest digest{};
    DWORD digestSize = static_cast<DWORD>(digest.size());
    if (!::CryptHashCertificate2(BCRYPT_SHA256_ALGORITHM, 0, nullptr, encoded, size, digest.data(), &digestSize) ||
        digestSize != digest.size())
        return std::nullopt;
    return digest;
}

SignatureVerdict VerdictOfFailure(LONG status)
{
    switch (status)
    {
    case TRUST_E_NOSIGNATURE:
    case TRUST_E_SUBJECT_FORM_UNKNOWN:
        return SignatureVerdict::Unsigned;
    case TRUST_E_BAD_DIGEST:
        return SignatureVerdict::Altered;
    default:
        return SignatureVerdict::Refused;
    }
}
} // namespace

SignatureCheck CheckSetupSignature(HANDLE file, const std::wstring& path,
                                   const std::vector<SetupRules::KeyDigest>& keys)
{
    CTrustState state(file, path);
    SignatureCheck check;
    check.status = state.Verify();
    if (check.status != ERROR_SUCCESS)
    {
        check.verdict = VerdictOfFailure(check.status);
        return check;
    }
    const PCCERT_CONTEXT signer = state.Signer();
    if (!signer)
    {
        check.status = TRUST_E_NO_SIGNER_CERT;
        return check;
    }
    check.signer = SignerName(signer);
    const std::optional<SetupRules::KeyDigest> digest = KeyDigestOf(signer);
    check.verdict = digest && std::ranges::find(keys, *digest) != keys.end() ? SignatureVerdict::Trusted
                                                                              : SignatureVerdict::OtherPublisher;
    return check;
}
