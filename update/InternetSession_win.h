#pragma once
// Fetching a file from a web site through WinINet. A session and each file
// it opens are handles that close themselves; failures of the Internet
// session (no connection, name not resolved, certificate refused, lost
// connection, no answer in time) are thrown as CSystemErrorException with
// WinINet's own text, for the callback boundary to report. Certificate
// checks stay on. A redirect is followed only on the site it came from.
//
// Every connection, request and answer is given 15 seconds. WinINet's own
// time-outs do not cover every wait (on some systems a TLS handshake that
// is never answered hangs for good), so opening a file runs on a thread of
// its own, and a caller that has waited 15 seconds for it gives up and
// leaves that thread to end, or hang, alone.

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

class CInternetSession;

class CInternetFile
{
public:
    explicit CInternetFile(CUniqueInternet file) noexcept : m_file(std::move(file)) {}
    // A redirect to another site, which was not followed.
    static CInternetFile RedirectedAway(std::wstring target);

    // Where the site wanted to send the request instead; empty when it
    // did not.
    const std::wstring& GetRefusedRedirect() const noexcept { return m_strRefusedRedirect; }
    // The HTTP status; 0 for other schemes and a refused redirect.
    DWORD GetStatusCode() const noexcept;
    // Anything but "200 OK".
    bool IsErrorAnswer() const noexcept { return GetStatusCode() != HTTP_STATUS_OK; }
    // The announced size of the body ("Content-Length"), when there is one.
    std::optional<std::uint64_t> GetLength() const noexcept;
    // Up to `size` bytes; 0 at the end of the file.
    DWORD Read(void* buffer, DWORD size) const;
    // The body up to `limit` bytes.
    std::string ReadAtMost(std::size_t limit) const;
    // The "Location" of a redirect.
    std::wstring GetLocation() const;

private:
    CUniqueInternet m_file;
    std::wstring m_strRefusedRedirect;
};

class CInternetSession
{
public:
    static constexpr DWORD kTimeoutMs = 15000;

    // The program's name as agent, the system's proxy settings.
    CInternetSession();

    // Opens `url` with INTERNET_FLAG_* `flags`, always from the server,
    // following redirects that stay on its scheme, host and port.
    CInternetFile OpenUrl(const std::wstring& url, DWORD flags) const;

private:
    CInternetFile OpenOnce(const std::wstring& url, DWORD flags) const;

    CUniqueInternet m_session;
};

// The message for a redirect from `url` to `target` that was not followed.
std::wstring RefusedRedirectText(const std::wstring& url, const std::wstring& target);
