#include "sntp/SntpClient.h"

#include "sntp/SntpExchange.h"
#include "sntp/SntpSocket.h"

#include <memory>

namespace
{
// The exchange's platform: the real socket layer and system clock.
struct CSocketLayerPlatform
{
    std::unique_ptr<CSntpSocket> MakeSocket() const { return std::make_unique<CSntpSocket>(); }
    std::string ToResolverText(const std::wstring& text) const { return CSntpSocket::ToResolverText(text); }
    bool ParseDottedAddress(const std::string& host, std::uint32_t& address) const noexcept
    {
        return CSntpSocket::ParseDottedAddress(host, address);
    }
    bool ResolveHost(const std::string& host, std::uint32_t& address) const noexcept
    {
        return CSntpSocket::ResolveHost(host, address);
    }
    CNtpTimestamp Now() const noexcept { return CNtpTimestamp::Now(); }
    std::uint32_t GetLastError() const noexcept { return CSntpSocket::GetLastError(); }
    void SetLastError(std::uint32_t error) const noexcept { CSntpSocket::SetLastError(error); }
};
} // namespace

bool CSNTPClient::QueryServer(const std::wstring& host, SntpResult& response)
{
    CSocketLayerPlatform platform;
    return Sntp::RunExchange(platform, host, m_replyTimeoutMs, response, m_serverName);
}
