#include "update/InternetSession_win.h"

#include "framework/Exceptions_win.h"
#include "framework/WinApp_win.h"

#include <wininet.h>

namespace
{
constexpr DWORD_PTR kContext = 1;

[[noreturn]] void ThrowInternetError()
{
    throw CSystemErrorException(::GetLastError(), L"wininet.dll");
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

DWORD CInternetFile::GetStatusCode() const noexcept
{
    return QueryNumber(m_file.Get(), HTTP_QUERY_STATUS_CODE).value_or(0);
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
        ThrowInternetError();
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

CInternetSession::CInternetSession()
{
    const CWinApp* app = AfxGetApp();
    const wchar_t* agent = app && app->m_pszAppName ? app->m_pszAppName : L"Kavrin";
    m_session.Reset(::InternetOpenW(agent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!m_session)
        ThrowInternetError();
}

CInternetFile CInternetSession::OpenUrl(const std::wstring& url, DWORD flags) const
{
    CUniqueInternet file(
        ::InternetOpenUrlW(m_session.Get(), url.c_str(), nullptr, 0, flags | INTERNET_FLAG_RELOAD, kContext));
    if (!file)
        ThrowInternetError();
    return CInternetFile(std::move(file));
}
