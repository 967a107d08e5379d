#include "UpdateTestSupport.h"

#include "framework/CallbackGuard_win.h"
#include "framework/Handles_win.h"

#include <shlobj.h>
#include <wincrypt.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>

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
    ::GetWindowTextW(hwnd, text, 256);
    if (!::IsWindowVisible(hwnd) || *search.caption != text)
        return TRUE;
    search.found = hwnd;
    return FALSE;
}

std::map<UINT_PTR, CWindowWatcher*>& Watchers()
{
    static std::map<UINT_PTR, CWindowWatcher*> watchers;
    return watchers;
}
} // namespace

MakerSites& TestMakerSites()
{
    static MakerSites sites = TestSite::At(KAVRIN_TEST_HTTPS_ORIGIN);
    return sites;
}

// The test program's own addresses, in place of the build's.
MakerSites DefaultMakerSites()
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
    if (!store || der.empty())
        return false;
    const BOOL added =
        ::CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                           static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    ::CertCloseStore(store, 0);
    return added != FALSE;
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
    if (FAILED(::SHGetKnownFolderPath(FOLDERID_Downloads, KF_FLAG_CREATE | KF_FLAG_DEFAULT_PATH, nullptr, &path)))
        return {};
    const std::wstring folder = path;
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
    Watchers()[m_nTimer] = this;
}

CWindowWatcher::~CWindowWatcher()
{
    ::KillTimer(nullptr, m_nTimer);
    Watchers().erase(m_nTimer);
}

void CALLBACK CWindowWatcher::OnTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    const auto found = Watchers().find(id);
    if (found != Watchers().end())
        found->second->Look();
}

void CWindowWatcher::Look()
{
    // Windows that are gone may hand their handles on.
    std::erase_if(m_seen, [](HWND hwnd) { return !::IsWindow(hwnd); });
    WindowSearch search{&m_strCaption};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindCaption, reinterpret_cast<LPARAM>(&search));
    if (!search.found || std::find(m_seen.begin(), m_seen.end(), search.found) != m_seen.end())
        return;
    m_seen.push_back(search.found);
    ++m_nSeen;
    m_action(search.found);
}

CReportRecorder::CReportRecorder()
{
    SetExceptionReporter([this](const std::wstring& text) { reports.push_back(text); });
}

CReportRecorder::~CReportRecorder()
{
    SetExceptionReporter({});
}
