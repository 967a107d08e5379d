#include "UpdateTestSupport.h"

#include <shlobj.h>
#include <wincrypt.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace
{
// The site's folder as Wine sees it: the host's root is drive Z.
std::wstring SiteFolder()
{
    std::wstring path = L"Z:";
    for (const char c : std::string(KAVRIN_TEST_SITE_DIR))
        path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

// The rich edits of the dialogs, as the programs load them at start-up.
const HMODULE richEdit = ::LoadLibraryW(L"Riched20.dll");
} // namespace

MakerSites& TestMakerSites()
{
    static MakerSites sites = TestSite::At(KAVRIN_TEST_HTTPS_ORIGIN);
    return sites;
}

// The test program's own addresses and key, not the build's.
MakerSites DefaultMakerSites() { return TestMakerSites(); }
std::vector<SetupRules::KeyDigest> DefaultPublisherKeys() { return TestSite::PublisherKeys(); }

namespace TestSite
{
bool IsReady()
{
    return ::GetFileAttributesW((SiteFolder() + L"\\ready").c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Publish(const std::wstring& path, const std::string& bytes)
{
    std::ofstream file(std::filesystem::path(SiteFolder() + L"\\docroot\\" + path), std::ios::binary | std::ios::trunc);
    file << bytes;
    ASSERT_TRUE(file.good()) << "cannot publish " << testing::PrintToString(path);
}

bool TrustAuthority()
{
    HCERTSTORE store = ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
    BOOL added = store != nullptr;
    for (const wchar_t* name : {L"ca.der", L"codesign-ca.der"})
    {
        const std::string der = Bytes(name);
        added = added && !der.empty() &&
                ::CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                                   static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    }
    if (store)
        ::CertCloseStore(store, 0);
    return added;
}

std::vector<SetupRules::KeyDigest> PublisherKeys()
{
    const std::string hex = Bytes(L"publisher-key.txt").substr(0, 64);
    return SetupRules::ParsePublisherKeys(hex).value_or(std::vector<SetupRules::KeyDigest>{});
}

std::string Bytes(const std::wstring& path) { return ReadBytes(SiteFolder() + L"\\" + path); }

MakerSites At(const std::wstring& origin) { return {origin, origin, origin, L"support@kavrin.test"}; }
} // namespace TestSite

std::string ReadBytes(const std::wstring& path)
{
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::wstring DownloadsFolder()
{
    wchar_t* path = nullptr;
    const HRESULT hr = ::SHGetKnownFolderPath(FOLDERID_Downloads, KF_FLAG_CREATE | KF_FLAG_DEFAULT_PATH, nullptr, &path);
    const std::wstring folder = SUCCEEDED(hr) ? path : L"";
    ::CoTaskMemFree(path);
    return folder;
}

void CWindowWatcher::Look()
{
    std::erase_if(m_seen, [](HWND hwnd) { return !::IsWindow(hwnd); }); // gone windows may hand their handles on
    const HWND found = FindVisibleWindow([this](HWND hwnd) {
        return ::GetWindowThreadProcessId(hwnd, nullptr) == ::GetCurrentThreadId() &&
               WindowText(hwnd) == m_strCaption && std::ranges::find(m_seen, hwnd) == m_seen.end();
    });
    if (!found)
        return;
    m_seen.push_back(found);
    m_action(found);
}
