#pragma once
// One SNTP query: a single request to one server and at most one reply.

#include "sntp/SntpPacket.h"

#include <cstdint>
#include <string>

class CSNTPClient
{
public:
    explicit CSNTPClient(std::uint32_t replyTimeoutMs = 5000) noexcept : m_replyTimeoutMs(replyTimeoutMs) {}

    // Asks host (a name or a dotted IPv4 address) for the time and fills
    // response. On false the thread's last error holds the cause: 10060 when
    // no reply came in time, one of Sntp::kError... when the server marked its
    // reply unusable, otherwise the error of the failing socket call. The
    // socket layer must have been initialised.
    bool QueryServer(const std::wstring& host, SntpResult& response);

    // The name of the server actually connected to; empty until a connection.
    const std::wstring& GetServerName() const noexcept { return m_serverName; }
    std::uint32_t GetReplyTimeoutMs() const noexcept { return m_replyTimeoutMs; }

private:
    std::uint32_t m_replyTimeoutMs;
    std::wstring m_serverName;
};
