#pragma once
// Fetching a file from a web site through WinINet. A session and each file
// it opens are handles that close themselves; failures of the Internet
// session (no connection, name not resolved, certificate refused, lost
// connection) are thrown as CSystemErrorException with WinINet's own text,
// for the callback boundary to report. Certificate checks stay on.

#include "framework/Handles_win.h"

#include <wininet.h>

#include <cstdint>
#include <optional>
#include <string>

struct InternetHandleTraits
{
    using Type = HINTERNET;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::InternetCloseHandle(h); }
};
using CUniqueInternet = CUniqueHandle<InternetHandleTraits>;

class CInternetFile
{
public:
    explicit CInternetFile(CUniqueInternet file) noexcept : m_file(std::move(file)) {}

    // The HTTP status; 0 for other schemes.
    DWORD GetStatusCode() const noexcept;
    // The site answered with an error page (status 400 or above).
    bool IsErrorAnswer() const noexcept { return GetStatusCode() >= 400; }
    // The announced size of the body ("Content-Length"), when there is one.
    std::optional<std::uint64_t> GetLength() const noexcept;
    // Up to `size` bytes; 0 at the end of the file.
    DWORD Read(void* buffer, DWORD size) const;
    // The body up to `limit` bytes.
    std::string ReadAtMost(std::size_t limit) const;

private:
    CUniqueInternet m_file;
};

class CInternetSession
{
public:
    // The program's name as agent, the system's proxy settings.
    CInternetSession();

    // Opens `url` with INTERNET_FLAG_* `flags`, always from the server.
    CInternetFile OpenUrl(const std::wstring& url, DWORD flags) const;

private:
    CUniqueInternet m_session;
};
