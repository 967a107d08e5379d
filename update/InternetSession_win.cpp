#include "update/InternetSession_win.h"

#include "framework/Exceptions_win.h"
#include "framework/WinApp_win.h"
#include "update/SetupRules.h"

#include <wininet.h>

#include <atomic>
#include <memory>
#include <thread>

namespace
{
constexpr DWORD_PTR kContext = 1;
// More than any site of the maker needs.
constexpr int kMaxRedirects = 5;

bool IsRedirect(DWORD status)
{
    return status == HTTP_STATUS_MOVED || status == HTTP_STATUS_REDIRECT || status == HTTP_STATUS_REDIRECT_METHOD ||
           status == HTTP_STATUS_REDIRECT_KEEP_VERB || status == 308;
}

[[noreturn]] void ThrowInternetError(DWORD error)
{
    throw CSystemErrorException(error, L"wininet.dll");
}

// InternetOpenUrlW on a thread of its own. Whoever of the two comes second
// (the opener with its file, or a caller that gave up waiting) owns what is
// left: a late file is closed, and the state freed, by the opener itself.
struct CPendingOpen
{
    std::wstring url;
    std::atomic<bool> settled{false};
    HINTERNET file = nullptr;
    DWORD error = 0;
    CUniqueKernelHandle done{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

CUniqueInternet OpenWithin(HINTERNET session, const std::wstring& url, DWORD flags, DWORD timeoutMs)
{
    auto pending = std::make_unique<CPendingOpen>();
    pending->url = url;
    if (!pending->done)
        ThrowInternetError(::GetLastError());
    std::thread([state = pending.get(), session, flags] {
        const HINTERNET file = ::InternetOpenUrlW(session, state->url.c_str(), nullptr, 0, flags, kContext);
        const DWORD error = ::GetLastError();
        if (state->settled.exchange(true))
        {
            const std::unique_ptr<CPendingOpen> abandoned(state);
            if (file)
                ::InternetCloseHandle(file);
            return;
        }
        state->file = file;
        state->error = error;
        ::SetEvent(state->done.Get()); // the caller owns the state from here
    }).detach();
    if (::WaitForSingleObject(pending->done.Get(), timeoutMs) == WAIT_TIMEOUT && !pending->settled.exchange(true))
    {
        pending.release(); // now the opener's
        ThrowInternetError(ERROR_INTERNET_TIMEOUT);
    }
    // The opener settled first: its answer is on the way.
    ::WaitForSingleObject(pending->done.Get(), INFINITE);
    if (!pending->file)
        ThrowInternetError(pending->error);
    return CUniqueInternet(pending->file);
}

std::optional<DWORD> QueryNumber(HINTERNET file, DWORD info) noexcept
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!::HttpQueryInfoW(file, info | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr))
        return std::nullopt;
    return value;
}
} // namespace

CInternetFile CInternetFile::RedirectedAway(std::wstring target)
{
    CInternetFile file{CUniqueInternet()};
    file.m_strRefusedRedirect = std::move(target);
    return file;
}

DWORD CInternetFile::GetStatusCode() const noexcept
{
    return m_file ? QueryNumber(m_file.Get(), HTTP_QUERY_STATUS_CODE).value_or(0) : 0;
}

std::optional<std::uint64_t> CInternetFile::GetLength() const noexcept
{
    const auto length = QueryNumber(m_file.Get(), HTTP_QUERY_CONTENT_LENGTH);
    return length ? std::optional<std::uint64_t>(*length) : std::nullopt;
}

DWORD CInternetFile::Read(void* buffer, DWORD size) const
{
    DWORD read = 0;
    if (!::InternetReadFile(m_file.Get(), buffer, size, &read))
        ThrowInternetError(::GetLastError());
    return read;
}

std::string CInternetFile::ReadAtMost(std::size_t limit) const
{
    std::string body(limit, '\0');
    std::size_t filled = 0;
    while (filled < limit)
    {
        const DWORD read = Read(body.data() + filled, static_cast<DWORD>(limit - filled));
        if (read == 0)
            break;
        filled += read;
    }
    body.resize(filled);
    return body;
}

std::wstring CInternetFile::GetLocation() const
{
    wchar_t location[2048] = {};
    DWORD size = sizeof location;
    if (!::HttpQueryInfoW(m_file.Get(), HTTP_QUERY_LOCATION, location, &size, nullptr))
        return {};
    return location;
}

CInternetSession::CInternetSession()
{
    const CWinApp* app = AfxGetApp();
    const wchar_t* agent = app && app->m_pszAppName ? app->m_pszAppName : L"Kavrin";
    m_session.Reset(::InternetOpenW(agent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!m_session)
        ThrowInternetError(::GetLastError());
    for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                               INTERNET_OPTION_RECEIVE_TIMEOUT})
    {
        DWORD timeout = kTimeoutMs;
        ::InternetSetOptionW(m_session.Get(), option, &timeout, sizeof timeout);
    }
}

CInternetFile CInternetSession::OpenUrl(const std::wstring& url, DWORD flags) const
{
    std::wstring current = url;
    for (int redirects = 0;; ++redirects)
    {
        CInternetFile file = OpenOnce(current, flags);
        if (!IsRedirect(file.GetStatusCode()) || redirects == kMaxRedirects)
            return file;
        const std::wstring location = file.GetLocation();
        const std::optional<std::wstring> next = SetupRules::SameOriginTarget(current, location);
        if (!next)
            return CInternetFile::RedirectedAway(location);
        current = *next;
    }
}

CInternetFile CInternetSession::OpenOnce(const std::wstring& url, DWORD flags) const
{
    return CInternetFile(OpenWithin(m_session.Get(), url, flags | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_AUTO_REDIRECT,
                                    kTimeoutMs));
}

std::wstring RefusedRedirectText(const std::wstring& url, const std::wstring& target)
{
    return L"The site of " + url + L" sent the request on to " + target +
           L", which is not on the same site. It was not followed.";
}
