#include "sntp/SntpRun.h"

#include <algorithm>

namespace Sntp
{
namespace
{
constexpr std::uint32_t kResendAfterMs[kMaxRequestsPerAddress] = {0, 1000, 2000};
constexpr double kLeastDelaySeconds = -0.001;
} // namespace

std::optional<std::uint32_t> RequestDueMs(std::size_t sent) noexcept
{
    if (sent >= kMaxRequestsPerAddress)
        return std::nullopt;
    return kResendAfterMs[sent];
}

std::uint32_t JudgeReply(std::span<const std::uint8_t> received, const AddressState& address,
                         CNtpTimestamp& answered) noexcept
{
    // The header is the same 48 bytes both ways.
    if (received.size() < kRequestSize)
        return kErrorTruncatedReply;
    ReplyBuffer reply{};
    std::copy_n(received.begin(), std::min(received.size(), reply.size()), reply.begin());
    if (const std::uint32_t rejected = CheckReply(reply); rejected != 0)
        return rejected;
    SntpResult decoded;
    DecodeReply(reply, decoded);
    const auto sent = std::span(address.requests).first(std::min(address.requestCount, kMaxRequestsPerAddress));
    const auto match = std::ranges::find(sent, decoded.originateStamp);
    if (decoded.originateStamp.Value() == 0 || match == sent.end())
        return kErrorNotThisRequest;
    answered = *match;
    return 0;
}

std::uint32_t CheckFigures(const SntpResult& result, std::uint32_t replyTimeoutMs) noexcept
{
    if (result.receiveStamp.Value() == 0)
        return kErrorNoReceiveTime;
    // Written so that a delay that is not a number is refused as well.
    if (!(result.roundTripDelay >= kLeastDelaySeconds && result.roundTripDelay <= replyTimeoutMs / 1000.0))
        return kErrorImplausibleDelay;
    return 0;
}

std::uint32_t RunError(std::span<const AddressState> addresses) noexcept
{
    const bool anyWaiting = std::ranges::any_of(addresses, [](const AddressState& a) { return !a.dropped; });
    if (anyWaiting || addresses.empty())
        return kErrorTimedOut;
    return addresses.front().error;
}

CNtpTimestamp WithRandomLowBits(CNtpTimestamp time, unsigned unresolvedBits, std::uint32_t random) noexcept
{
    if (unresolvedBits == 0)
        return time;
    const std::uint64_t mask = unresolvedBits >= 32 ? 0xFFFFFFFFull : (std::uint64_t{1} << unresolvedBits) - 1;
    return CNtpTimestamp((time.Value() & ~mask) | (random & mask));
}
} // namespace Sntp
