#include "sntp/SntpClient.h"

#include "sntp/SntpExchange.h"
#include "sntp/SntpSocket.h"

#include <memory>
#include <random>

namespace
{
// The run's platform: the real socket layer and system clock.
struct CSocketLayerPlatform
{
    using Address = SntpAddress;
    using Socket = CSntpSocket;
    static constexpr int kWaitTimedOut = CSntpSocket::kWaitTimedOut;

    std::unique_ptr<CSntpSocket> MakeSocket() const { return std::make_unique<CSntpSocket>(); }
    bool Resolve(const std::wstring& host, std::vector<SntpAddress>& addresses) const
    {
        return CSntpSocket::ResolveAll(CSntpSocket::ToResolverText(host), Sntp::kMaxAddresses, addresses);
    }
    int WaitAny(std::span<CSntpSocket* const> sockets, std::uint32_t timeoutMs) const noexcept
    {
        return CSntpSocket::WaitAnyReadable(sockets, timeoutMs);
    }
    CNtpTimestamp TransmitTime()
    {
        return Sntp::WithRandomLowBits(CNtpTimestamp::Now(), UnresolvedClockBits(), m_random());
    }
    CNtpTimestamp Now() const noexcept { return CNtpTimestamp::Now(); }
    std::uint64_t TickMs() const noexcept { return SteadyMilliseconds(); }
    std::uint32_t GetLastError() const noexcept { return CSntpSocket::GetLastError(); }
    void SetLastError(std::uint32_t error) const noexcept { CSntpSocket::SetLastError(error); }

    std::random_device m_random;
};
} // namespace

bool CSNTPClient::QueryServer(const std::wstring& host, SntpResult& response)
{
    m_serverName.clear();
    CSocketLayerPlatform platform;
    return Sntp::RunExchange(platform, host, m_replyTimeoutMs, response, m_serverName);
}
