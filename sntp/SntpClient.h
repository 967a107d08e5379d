#pragma once
// One SNTP query: every address of a server is asked, the first usable
// reply is taken.

#include "sntp/SntpPacket.h"

#include <cstdint>
#include <string>

class CSNTPClient
{
public:
    explicit CSNTPClient(std::uint32_t replyTimeoutMs = 5000) noexcept : m_replyTimeoutMs(replyTimeoutMs) {}

    // Asks host (a name, an IPv4 or an IPv6 address) for the time and fills
    // response. On false the thread's last error holds the cause: 10060 when
    // no reply came in time, one of Sntp::kError... when the server marked its
    // reply unusable, otherwise the error of the failing socket call. The
    // socket layer must have been initialised. Blocks for up to the time-out:
    // call it away from a window's thread.
    bool QueryServer(const std::wstring& host, SntpResult& response);

    // The name (or address) of the server that answered; after a run without
    // an answer, of the first address asked; empty until a name resolved.
    const std::wstring& GetServerName() const noexcept { return m_serverName; }
    std::uint32_t GetReplyTimeoutMs() const noexcept { return m_replyTimeoutMs; }

private:
    std::uint32_t m_replyTimeoutMs;
    std::wstring m_serverName;
};
