#include "UpdateTestSupport.h"

#include <shlobj.h>
#include <wincrypt.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

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

struct WindowSearch
{
    const std::wstring* caption;
    HWND found = nullptr;
};

BOOL CALLBACK FindCaption(HWND hwnd, LPARAM lp)
{
    auto& search = *reinterpret_cast<WindowSearch*>(lp);
    wchar_t text[256] = {};
    if (::IsWindowVisible(hwnd) && ::GetWindowTextW(hwnd, text, 256) >= 0 && *search.caption == text)
        search.found = hwnd;
    return !search.found;
}

std::map<UINT_PTR, CWindowWatcher*> watchers;
} // namespace

MakerSites& TestMakerSites()
{
    static MakerSites sites = TestSite::At(KAVRIN_TEST_HTTPS_ORIGIN);
    return sites;
}

MakerSites DefaultMakerSites() // the test program's own addresses, in place of the build's
{
    return TestMakerSites();
}

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
    const std::string der = ReadBytes(SiteFolder() + L"\\ca.der");
    HCERTSTORE store = ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
    const BOOL added = store && !der.empty() &&
                       ::CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                                          static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    if (store)
        ::CertCloseStore(store, 0);
    return added;
}

MakerSites At(const std::wstring& origin)
{
    return {origin, origin, origin, L"support@kavrin.test"};
}
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

std::wstring ItemText(HWND dialog, int id)
{
    wchar_t text[1024] = {};
    ::GetDlgItemTextW(dialog, id, text, static_cast<int>(std::size(text)));
    return text;
}

CWindowWatcher::CWindowWatcher(std::wstring caption, std::function<void(HWND)> action)
    : m_strCaption(std::move(caption)), m_action(std::move(action)), m_nTimer(::SetTimer(nullptr, 0, 50, OnTimer))
{
    watchers[m_nTimer] = this;
}

CWindowWatcher::~CWindowWatcher()
{
    ::KillTimer(nullptr, m_nTimer);
    watchers.erase(m_nTimer);
}

void CALLBACK CWindowWatcher::OnTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    if (const auto found = watchers.find(id); found != watchers.end())
        found->second->Look();
}

void CWindowWatcher::Look()
{
    std::erase_if(m_seen, [](HWND hwnd) { return !::IsWindow(hwnd); }); // gone windows may hand their handles on
    WindowSearch search{&m_strCaption};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindCaption, reinterpret_cast<LPARAM>(&search));
    if (!search.found || std::ranges::find(m_seen, search.found) != m_seen.end())
        return;
    m_seen.push_back(search.found);
    ++m_nSeen;
    m_action(search.found);
}
